// Fuzzes compressed RTF decoding: any input decodes within its bounds, and
// whatever it decodes to survives a round trip through our compressor.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "body/rtf_decompressor.h"
#include "storegen/rtf_compressor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  edb::DecompressedRtf result = edb::DecompressRtf(std::span(data, size));
  // Every 17 input bytes give at most 136 output bytes.
  if (result.rtf.size() > size / 17 * 136 + 136 && result.rtf.size() > size) std::abort();
  // The round trip takes a prefix: long outputs of repetitive references
  // would make the compressor dominate the fuzzer's time.
  std::string_view prefix = std::string_view(result.rtf).substr(0, 8192);
  // The compressed stream in a buffer of exactly its size, so that a read
  // past its end is caught.
  const std::vector<uint8_t> compressed = storegen::CompressRtf(prefix);
  std::unique_ptr<uint8_t[]> exact(new uint8_t[compressed.size()]);
  std::copy(compressed.begin(), compressed.end(), exact.get());
  edb::DecompressedRtf again = edb::DecompressRtf(std::span<const uint8_t>(exact.get(), compressed.size()));
  if (!again.intact() || again.rtf != prefix) std::abort();
  return 0;
}
