// RTF writing for test bodies.
#include "storegen/rtf_authoring.h"

#include <cctype>
#include <cstdio>

#include "storegen/rtf_compressor.h"
#include "storegen/text_codec.h"

namespace storegen {
namespace {

constexpr std::string_view kPlainHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n"
    "\\viewkind4\\uc1\\pard\\f0\\fs20 ";

constexpr std::string_view kHtmlHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl\n"
    "{\\f0\\fswiss\\fcharset0 Arial;}\n"
    "{\\f1\\fmodern Courier New;}}\n"
    "\\uc1\\pard\\plain\\deftab360 \\f0\\fs24 ";

void AppendUnicodeEscape(char16_t unit, std::string* out) {
  *out += "\\u" + std::to_string(static_cast<int16_t>(unit)) + "?";
}

void AppendEscaped(char32_t cp, std::string* out) {
  if (cp == '\\' || cp == '{' || cp == '}') {
    out->push_back('\\');
    out->push_back(static_cast<char>(cp));
  } else if (cp == '\n') {
    *out += "\\par\n";
  } else if (cp == '\r') {
    // Line breaks are written once, as \par for the line feed.
  } else if (cp == '\t') {
    *out += "\\tab ";
  } else if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (int byte = Windows1252Byte(cp); byte >= 0) {
    char hex[12];
    std::snprintf(hex, sizeof hex, "\\'%02x", byte);
    *out += hex;
  } else if (cp < 0x10000) {
    AppendUnicodeEscape(static_cast<char16_t>(cp), out);
  } else {
    const char32_t v = cp - 0x10000;
    AppendUnicodeEscape(static_cast<char16_t>(0xD800 + (v >> 10)), out);
    AppendUnicodeEscape(static_cast<char16_t>(0xDC00 + (v & 0x3FF)), out);
  }
}

// The tag name of "<p class=x>" or "</p>", lower-case, without "/".
std::string TagName(std::string_view tag) {
  size_t i = 1;
  if (i < tag.size() && tag[i] == '/') ++i;
  std::string name;
  while (i < tag.size() && std::isalnum(static_cast<unsigned char>(tag[i]))) {
    name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(tag[i]))));
    ++i;
  }
  return name;
}

// Text that RTF readers show for a tag but HTML readers must not see.
std::string_view RtfOnlyTextAfterTag(std::string_view tag) {
  const std::string name = TagName(tag);
  const bool closing = tag.size() > 1 && tag[1] == '/';
  if ((closing && (name == "p" || name == "div" || name == "tr" || name == "h1" || name == "h2" || name == "li")) ||
      name == "br") {
    return "\\htmlrtf \\par\n\\htmlrtf0 ";
  }
  return {};
}

// Decodes the few entities HTML bodies use; others stay as written.
std::string DecodeEntity(std::string_view entity) {
  if (entity == "&amp;") return "&";
  if (entity == "&lt;") return "<";
  if (entity == "&gt;") return ">";
  if (entity == "&quot;") return "\"";
  if (entity == "&nbsp;") return "\xC2\xA0";
  return std::string(entity);
}

}  // namespace

std::string RtfEscape(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + utf8.size() / 8);
  for (char32_t cp : DecodeUtf8(utf8)) AppendEscaped(cp, &out);
  return out;
}

std::string PlainTextToRtf(std::string_view utf8) {
  std::string out(kPlainHeader);
  out += RtfEscape(utf8);
  out += "\\par\n}\n";
  return out;
}

std::string HtmlToEncapsulatedRtf(std::string_view html) {
  std::string out(kHtmlHeader);
  bool in_head = false;  // text of <head> (title, style) is HTML only
  size_t i = 0;
  while (i < html.size()) {
    if (html[i] == '<') {
      const size_t end = html.find('>', i);
      const std::string_view tag = html.substr(i, end == std::string_view::npos ? end : end - i + 1);
      out += "{\\*\\htmltag64 ";
      out += RtfEscape(tag);
      out += "}";
      out += RtfOnlyTextAfterTag(tag);
      const std::string name = TagName(tag);
      if (name == "head") in_head = tag.size() > 1 && tag[1] != '/';
      i += tag.size();
    } else if (html[i] == '&') {
      const size_t end = html.find(';', i);
      if (end != std::string_view::npos && end - i <= 8) {
        const std::string_view entity = html.substr(i, end - i + 1);
        out += "{\\*\\htmltag0 " + RtfEscape(entity) + "}\\htmlrtf ";
        out += RtfEscape(DecodeEntity(entity));
        out += "\\htmlrtf0 ";
        i = end + 1;
      } else {
        out.push_back('&');
        ++i;
      }
    } else {
      const size_t next = html.find_first_of("<&", i);
      std::string_view text = html.substr(i, next == std::string_view::npos ? html.size() - i : next - i);
      if (in_head) {
        out += "{\\*\\htmltag0 " + RtfEscape(text) + "}";
        i += text.size();
        continue;
      }
      // Line breaks of the HTML source are not text; keep them for HTML only.
      for (size_t start = 0; start < text.size();) {
        const size_t nl = text.find('\n', start);
        const std::string_view piece = text.substr(start, nl == std::string_view::npos ? nl : nl - start);
        out += RtfEscape(piece);
        if (nl == std::string_view::npos) break;
        out += "{\\*\\htmltag0 \\par }";
        start = nl + 1;
      }
      i += text.size();
    }
  }
  out += "}\n";
  return out;
}

std::string RtfOf(const Body& body) {
  switch (body.rtf_kind) {
    case RtfKind::kNone:
      return {};
    case RtfKind::kFromText:
      return PlainTextToRtf(body.rtf_source);
    case RtfKind::kFromHtml:
      return HtmlToEncapsulatedRtf(body.rtf_source);
    case RtfKind::kRaw:
      return body.rtf_source;
  }
  return {};
}

std::vector<uint8_t> RtfColumnBytes(const Body& body) {
  if (body.rtf_kind == RtfKind::kNone) return {};
  const std::string rtf = RtfOf(body);
  return body.rtf_compressed ? CompressRtf(rtf) : UncompressedRtfStream(rtf);
}

}  // namespace storegen
