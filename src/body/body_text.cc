// Decoding of plain-text and HTML body bytes.
#include "body/body_text.h"

#include <algorithm>

#include "base/text_encoding.h"

namespace edb {
namespace {

// How far into an HTML body a charset declaration is looked for.
constexpr size_t kCharsetScanLimit = 64 * 1024;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// Position of `word` (lower-case) in `text` from `from`, ignoring case.
size_t FindNoCase(std::string_view text, std::string_view word, size_t from) {
  if (word.size() > text.size()) return std::string_view::npos;
  for (size_t i = from; i + word.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < word.size() && Lower(text[i + k]) == word[k]) ++k;
    if (k == word.size()) return i;
  }
  return std::string_view::npos;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

bool IsLabelCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.' || c == ':';
}

// The charset label inside one meta tag, or "".
std::string CharsetInTag(std::string_view tag) {
  size_t at = 0;
  while ((at = FindNoCase(tag, "charset", at)) != std::string_view::npos) {
    size_t i = at + 7;
    at = i;
    while (i < tag.size() && IsSpace(tag[i])) ++i;
    if (i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && (IsSpace(tag[i]) || tag[i] == '"' || tag[i] == '\'')) ++i;
    size_t start = i;
    while (i < tag.size() && IsLabelCharacter(tag[i])) ++i;
    if (i > start) {
      std::string label(tag.substr(start, i - start));
      std::transform(label.begin(), label.end(), label.begin(), Lower);
      return label;
    }
  }
  return "";
}

// Sets `label` to what the first meta tag with a charset declares; false
// when none does.
bool FindDeclaredCharset(std::string_view html, std::string* label) {
  html = html.substr(0, std::min(html.size(), kCharsetScanLimit));
  size_t at = 0;
  while ((at = FindNoCase(html, "<meta", at)) != std::string_view::npos) {
    size_t end = html.find('>', at);
    std::string_view tag = html.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    *label = CharsetInTag(tag);
    if (!label->empty()) {
      if (label->starts_with("utf-16") || *label == "unicode") *label = "utf-8";
      return true;
    }
    at += 5;
  }
  return false;
}

void DropNul(std::u16string* text) { text->erase(std::remove(text->begin(), text->end(), u'\0'), text->end()); }

}  // namespace

bool LooksLikeUtf16Le(std::string_view bytes) {
  size_t units = bytes.size() / 2;
  if (units == 0) return false;
  size_t ascii = 0;
  bool expect_low_surrogate = false;
  for (size_t i = 0; i < units; ++i) {
    uint8_t low = static_cast<uint8_t>(bytes[2 * i]);
    uint8_t high = static_cast<uint8_t>(bytes[2 * i + 1]);
    char16_t unit = static_cast<char16_t>(low | high << 8);
    if (unit == 0 && i + 1 != units) return false;
    bool is_low_surrogate = unit >= 0xDC00 && unit <= 0xDFFF;
    if (expect_low_surrogate != is_low_surrogate) return false;
    expect_low_surrogate = unit >= 0xD800 && unit <= 0xDBFF;
    if (high == 0 && low != 0) ++ascii;
  }
  return !expect_low_surrogate && ascii * 3 >= units;
}

std::u16string DecodePlainBody(std::string_view bytes, uint32_t code_page, CodePageDecoder* decoder) {
  if (code_page == 0) code_page = LooksLikeUtf16Le(bytes) ? kCodePageUtf16Le : kCodePageWindows1252;
  std::u16string text;
  decoder->Append(code_page, bytes, &text);
  DropNul(&text);
  return text;
}

std::string DetectHtmlCharset(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return "utf-8";
  if (bytes.starts_with("\xFF\xFE")) return "utf-16le";
  if (bytes.starts_with("\xFE\xFF")) return "utf-16be";
  if (LooksLikeUtf16Le(bytes)) return "utf-16le";
  std::string declared;
  if (FindDeclaredCharset(bytes, &declared)) return declared;
  return IsValidUtf8(bytes) ? "utf-8" : "windows-1252";
}

std::u16string DecodeHtmlBody(std::string_view bytes, CodePageDecoder* decoder) {
  std::string charset = DetectHtmlCharset(bytes);
  std::u16string text;
  if (charset == "utf-8") {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    decoder->Append(kCodePageUtf8, bytes, &text);
  } else if (charset == "utf-16le") {
    if (bytes.starts_with("\xFF\xFE")) bytes.remove_prefix(2);
    decoder->Append(kCodePageUtf16Le, bytes, &text);
  } else if (charset == "utf-16be") {
    decoder->Append(1201, bytes.substr(2), &text);
  } else if (!decoder->AppendCharset(charset, bytes, &text)) {
    decoder->Append(IsValidUtf8(bytes) ? kCodePageUtf8 : kCodePageWindows1252, bytes, &text);
  }
  DropNul(&text);
  return text;
}

}  // namespace edb
