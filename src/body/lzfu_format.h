// The layout of compressed RTF streams (LZFu, and the uncompressed MELA
// form): header fields, the dictionary every stream starts from, and the
// stream's checksum. Shared by the decoder and the test-store compressor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace edb {

// Stream types, as the little-endian word at offset 8 reads.
constexpr uint32_t kLzfuCompressed = 0x75465A4C;    // "LZFu"
constexpr uint32_t kLzfuUncompressed = 0x414C454D;  // "MELA"

constexpr size_t kLzfuHeaderSize = 16;
constexpr size_t kLzfuDictionarySize = 4096;
constexpr size_t kLzfuMaxReferenceLength = 17;

// The 207 bytes the dictionary holds at positions 0..206 before the first
// token; decoding writes from position 207 on.
constexpr std::string_view kLzfuInitialDictionary =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss \\fmodern \\fscript "
    "\\fdecor MS Sans SerifSymbolArialTimes New RomanCourier{\\colortbl\\red0\\green0\\blue0\r\n"
    "\\par \\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";
static_assert(kLzfuInitialDictionary.size() == 207);

// The 16-byte header, all fields little-endian.
struct LzfuHeader {
  uint32_t compressed_size = 0;  // bytes after this field: stream size - 4
  uint32_t raw_size = 0;         // size of the RTF the stream holds
  uint32_t type = 0;             // kLzfuCompressed or kLzfuUncompressed
  uint32_t crc = 0;              // LzfuCrc of the bytes after the header (0 for MELA)
};

// Reads the header of `stream`; false when it is shorter than 16 bytes.
bool ReadLzfuHeader(std::span<const uint8_t> stream, LzfuHeader* header);

// Writes `header` in its 16-byte form to `out[0..15]`.
void WriteLzfuHeader(const LzfuHeader& header, uint8_t* out);

// The stream checksum: CRC-32 with the reflected polynomial 0xEDB88320, but
// started from 0 and without the final inversion, over `data`.
uint32_t LzfuCrc(std::span<const uint8_t> data);

}  // namespace edb
