// Fuzzes the RTF reader: any input is read without fault, and a reader that
// read another document first gives the same result (no state carries over).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "body/rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view document(reinterpret_cast<const char*>(data), size);
  edb::RtfReader reader;
  edb::RtfText first;
  edb::RtfResult first_result = reader.Parse(document, &first);
  if (first.char_count != first.text.size()) std::abort();
  edb::RtfText other;
  reader.Parse(document.substr(size / 2), &other);
  edb::RtfText second;
  edb::RtfResult second_result = reader.Parse(document, &second);
  if (first_result != second_result || first.text != second.text || first.html != second.html) std::abort();
  return 0;
}
