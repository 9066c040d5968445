// 8-bit text in Windows code pages and in charsets named by HTML, decoded to
// UTF-16. Windows-1252, UTF-8 and UTF-16 are decoded here directly; other
// code pages (Cyrillic, Greek, the East Asian double-byte pages, ...) go
// through glibc's iconv.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace edb {

constexpr uint32_t kCodePageWindows1252 = 1252;
constexpr uint32_t kCodePageUtf16Le = 1200;
constexpr uint32_t kCodePageUtf8 = 65001;

// Converts text of one or more code pages, keeping each iconv converter open
// for the next call. One object per thread; not shareable.
class CodePageDecoder {
 public:
  CodePageDecoder();
  ~CodePageDecoder();
  CodePageDecoder(const CodePageDecoder&) = delete;
  CodePageDecoder& operator=(const CodePageDecoder&) = delete;

  // Appends `bytes`, text in `code_page`, to `out`. Code page 0 or one that
  // neither this code nor iconv knows is read as Windows-1252. Byte
  // sequences invalid in the code page become U+FFFD, one per bad byte.
  void Append(uint32_t code_page, std::string_view bytes, std::u16string* out);

  // Like Append, for a charset label as HTML declares it ("iso-8859-2",
  // "shift_jis", "windows-1251"). False, with nothing appended, when the label
  // names no charset iconv knows.
  bool AppendCharset(std::string_view label, std::string_view bytes, std::u16string* out);

 private:
  struct Converter;
  Converter* Find(const std::string& iconv_name);
  void Convert(Converter* converter, std::string_view bytes, std::u16string* out);

  std::vector<std::unique_ptr<Converter>> converters_;
};

// `bytes` in `code_page` as UTF-16 (a CodePageDecoder for one call).
std::u16string DecodeCodePage(uint32_t code_page, std::string_view bytes);

// The code page of an RTF font's \fcharsetN; 0 for the document's own code
// page (ANSI, default and symbol charsets).
uint32_t CodePageOfFontCharset(int charset);

}  // namespace edb
