// Code page decoding: table-driven for Windows-1252, own decoders for UTF-8
// and UTF-16, iconv for everything else.
#include "body/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "base/text_encoding.h"

namespace edb {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

std::string Lowercase(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return out;
}

// The iconv name of a Windows code page; "" for the ones decoded here.
std::string IconvNameOfCodePage(uint32_t code_page) {
  switch (code_page) {
    case 0:
    case kCodePageWindows1252:
    case 20127:  // US-ASCII: a subset
    case 28591:  // ISO-8859-1: Windows reads it as 1252
    case kCodePageUtf8:
    case kCodePageUtf16Le:
      return "";
    case 1201: return "UTF-16BE";
    case 10000: return "MACINTOSH";
    case 10007: return "MAC-CYRILLIC";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 50220:
    case 50221:
    case 50222: return "ISO-2022-JP";
    case 51932: return "EUC-JP";
    case 51936: return "EUC-CN";
    case 51949: return "EUC-KR";
    case 52936: return "HZ";
    case 54936: return "GB18030";
    case 65000: return "UTF-7";
    default:
      break;
  }
  if (code_page >= 28592 && code_page <= 28606) return "ISO-8859-" + std::to_string(code_page - 28590);
  return "CP" + std::to_string(code_page);
}

void AppendUtf16Le(std::string_view bytes, std::u16string* out) {
  out->append(Utf16LeBytesToText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  if (bytes.size() % 2 != 0) out->push_back(kReplacement);
}

}  // namespace

struct CodePageDecoder::Converter {
  std::string name;
  iconv_t handle = reinterpret_cast<iconv_t>(-1);
  bool usable() const { return handle != reinterpret_cast<iconv_t>(-1); }
};

CodePageDecoder::CodePageDecoder() = default;

CodePageDecoder::~CodePageDecoder() {
  for (auto& c : converters_) {
    if (c->usable()) iconv_close(c->handle);
  }
}

CodePageDecoder::Converter* CodePageDecoder::Find(const std::string& iconv_name) {
  for (auto& c : converters_) {
    if (c->name == iconv_name) return c.get();
  }
  auto converter = std::make_unique<Converter>();
  converter->name = iconv_name;
  converter->handle = iconv_open("UTF-16LE", iconv_name.c_str());
  converters_.push_back(std::move(converter));
  return converters_.back().get();
}

void CodePageDecoder::Convert(Converter* converter, std::string_view bytes, std::u16string* out) {
  iconv(converter->handle, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  char buffer[4096];
  while (in_left > 0) {
    char* to = buffer;
    size_t to_left = sizeof buffer;
    size_t rc = iconv(converter->handle, &in, &in_left, &to, &to_left);
    int error = rc == static_cast<size_t>(-1) ? errno : 0;
    size_t produced = sizeof buffer - to_left;
    for (size_t i = 0; i + 1 < produced; i += 2) {
      out->push_back(static_cast<char16_t>(static_cast<uint8_t>(buffer[i]) | static_cast<uint8_t>(buffer[i + 1]) << 8));
    }
    if (error == EILSEQ || error == EINVAL) {
      // A byte the code page does not allow, or a sequence cut off at the
      // end: one replacement character, then on with the next byte.
      out->push_back(kReplacement);
      ++in;
      --in_left;
      iconv(converter->handle, nullptr, nullptr, nullptr, nullptr);
    } else if (error != 0 && error != E2BIG) {
      out->push_back(kReplacement);
      return;
    }
  }
  // Flush a stateful encoding's closing sequence.
  char* to = buffer;
  size_t to_left = sizeof buffer;
  iconv(converter->handle, nullptr, nullptr, &to, &to_left);
  size_t produced = sizeof buffer - to_left;
  for (size_t i = 0; i + 1 < produced; i += 2) {
    out->push_back(static_cast<char16_t>(static_cast<uint8_t>(buffer[i]) | static_cast<uint8_t>(buffer[i + 1]) << 8));
  }
}

void CodePageDecoder::Append(uint32_t code_page, std::string_view bytes, std::u16string* out) {
  if (code_page == kCodePageUtf8) {
    out->append(Utf8ToUtf16(bytes));
    return;
  }
  if (code_page == kCodePageUtf16Le) {
    AppendUtf16Le(bytes, out);
    return;
  }
  std::string name = IconvNameOfCodePage(code_page);
  if (!name.empty()) {
    Converter* converter = Find(name);
    if (converter->usable()) {
      Convert(converter, bytes, out);
      return;
    }
  }
  for (char c : bytes) out->push_back(Windows1252ToUnit(static_cast<uint8_t>(c)));
}

bool CodePageDecoder::AppendCharset(std::string_view label, std::string_view bytes, std::u16string* out) {
  std::string name = Lowercase(label);
  // Labels that browsers read as Windows-1252, and the Unicode forms decoded
  // here.
  static constexpr std::string_view kWindows1252[] = {"windows-1252", "cp1252",     "x-cp1252", "iso-8859-1",
                                                      "iso8859-1",    "iso_8859-1", "latin1",   "l1",
                                                      "us-ascii",     "ascii",      "ansi_x3.4-1968"};
  if (std::find(std::begin(kWindows1252), std::end(kWindows1252), name) != std::end(kWindows1252)) {
    Append(kCodePageWindows1252, bytes, out);
    return true;
  }
  if (name == "utf-8" || name == "utf8" || name == "unicode-1-1-utf-8") {
    Append(kCodePageUtf8, bytes, out);
    return true;
  }
  if (name == "utf-16" || name == "utf-16le" || name == "unicode") {
    Append(kCodePageUtf16Le, bytes, out);
    return true;
  }
  if (name.empty() || name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-_.:") != std::string::npos)
    return false;
  // Labels whose Windows meaning is a superset of what iconv's same-named
  // charset covers.
  if (name == "ks_c_5601-1987" || name == "ks_c_5601" || name == "euc-kr") name = "cp949";
  if (name == "gb2312" || name == "x-gbk") name = "gbk";
  if (name == "shift_jis" || name == "x-sjis" || name == "ms_kanji" || name == "sjis") name = "cp932";
  if (name == "big5") name = "cp950";
  Converter* converter = Find(name);
  if (!converter->usable()) return false;
  Convert(converter, bytes, out);
  return true;
}

std::u16string DecodeCodePage(uint32_t code_page, std::string_view bytes) {
  CodePageDecoder decoder;
  std::u16string out;
  decoder.Append(code_page, bytes, &out);
  return out;
}

uint32_t CodePageOfFontCharset(int charset) {
  switch (charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
  }
}

}  // namespace edb
