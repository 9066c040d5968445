// Fuzzes compressed RTF decoding: any input decodes within its bounds, and
// whatever it decodes to survives a round trip through our compressor.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "body/rtf_decompressor.h"
#include "storegen/rtf_compressor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  edb::DecompressedRtf result = edb::DecompressRtf(std::span(data, size));
  // Every 17 input bytes give at most 136 output bytes.
  if (result.rtf.size() > size / 17 * 136 + 136 && result.rtf.size() > size) std::abort();
  edb::DecompressedRtf again = edb::DecompressRtf(storegen::CompressRtf(result.rtf));
  if (!again.intact() || again.rtf != result.rtf) std::abort();
  return 0;
}
