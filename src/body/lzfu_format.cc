// Header reading/writing and the checksum of compressed RTF streams.
#include "body/lzfu_format.h"

#include <array>

#include "base/bytes.h"

namespace edb {
namespace {

// Eight tables for slicing-by-8: the checksum of long streams then costs
// about one table lookup per byte instead of one dependent chain per byte.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables MakeCrcTables() {
  CrcTables tables{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    tables[0][i] = c;
  }
  for (uint32_t i = 0; i < 256; ++i) {
    for (int t = 1; t < 8; ++t) tables[t][i] = (tables[t - 1][i] >> 8) ^ tables[0][tables[t - 1][i] & 0xFF];
  }
  return tables;
}

constexpr CrcTables kCrcTables = MakeCrcTables();

}  // namespace

bool ReadLzfuHeader(std::span<const uint8_t> stream, LzfuHeader* header) {
  if (stream.size() < kLzfuHeaderSize) return false;
  const uint8_t* p = stream.data();
  header->compressed_size = LoadLe32(p);
  header->raw_size = LoadLe32(p + 4);
  header->type = LoadLe32(p + 8);
  header->crc = LoadLe32(p + 12);
  return true;
}

void WriteLzfuHeader(const LzfuHeader& header, uint8_t* out) {
  StoreLe32(out, header.compressed_size);
  StoreLe32(out + 4, header.raw_size);
  StoreLe32(out + 8, header.type);
  StoreLe32(out + 12, header.crc);
}

uint32_t LzfuCrc(std::span<const uint8_t> data) {
  uint32_t crc = 0;
  const uint8_t* p = data.data();
  size_t n = data.size();
  while (n >= 8) {
    uint32_t low = crc ^ LoadLe32(p);
    uint32_t high = LoadLe32(p + 4);
    crc = kCrcTables[7][low & 0xFF] ^ kCrcTables[6][(low >> 8) & 0xFF] ^ kCrcTables[5][(low >> 16) & 0xFF] ^
          kCrcTables[4][low >> 24] ^ kCrcTables[3][high & 0xFF] ^ kCrcTables[2][(high >> 8) & 0xFF] ^
          kCrcTables[1][(high >> 16) & 0xFF] ^ kCrcTables[0][high >> 24];
    p += 8;
    n -= 8;
  }
  while (n-- > 0) crc = kCrcTables[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
  return crc;
}

}  // namespace edb
