// Builds compressed RTF streams, the way Exchange stores an item's RTF body,
// for the test stores: a real LZFu compressor (dictionary references, the
// end-of-stream reference and the checksum) and the uncompressed MELA form.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace storegen {

// `rtf` compressed as an LZFu stream: 16-byte header (compressed size, raw
// size, "LZFu", checksum), then control bytes and tokens ending with the
// end-of-stream reference. Any standard decoder gives `rtf` back exactly.
std::vector<uint8_t> CompressRtf(std::string_view rtf);

// `rtf` in the uncompressed form: 16-byte header with type "MELA" and a zero
// checksum, then the bytes unchanged.
std::vector<uint8_t> UncompressedRtfStream(std::string_view rtf);

}  // namespace storegen
