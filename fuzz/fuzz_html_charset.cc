// Fuzzes charset detection and body text decoding with every code page path
// (built-in, iconv single- and double-byte, stateful, unknown).
#include <cstdint>
#include <string_view>

#include "body/body_text.h"
#include "body/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const uint32_t kCodePages[] = {0, 1200, 1252, 65001, 1251, 932, 936, 949, 950, 50220, 1201, 12345};
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  edb::CodePageDecoder decoder;
  edb::DetectHtmlCharset(bytes);
  edb::DecodeHtmlBody(bytes, &decoder);
  uint32_t code_page = size > 0 ? kCodePages[data[0] % std::size(kCodePages)] : 0;
  edb::DecodePlainBody(bytes, code_page, &decoder);
  return 0;
}
