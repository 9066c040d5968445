// Fuzzes compressed RTF decoding: any input decodes within its bounds, and
// whatever it decodes to survives a round trip through our compressor.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "body/rtf_decompressor.h"
#include "storegen/rtf_compressor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  edb::DecompressedRtf result = edb::DecompressRtf(std::span(data, size));
  // Every 17 input bytes give at most 136 output bytes.
  if (result.rtf.size() > size / 17 * 136 + 136 && result.rtf.size() > size) std::abort();
  // The round trip takes a prefix: long outputs of repetitive references
  // would make the compressor dominate the fuzzer's time.
  std::string_view prefix = std::string_view(result.rtf).substr(0, 8192);
  edb::DecompressedRtf again = edb::DecompressRtf(storegen::CompressRtf(prefix));
  if (!again.intact() || again.rtf != prefix) std::abort();
  return 0;
}
