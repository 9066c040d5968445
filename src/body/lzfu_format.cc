// Header reading/writing and the checksum of compressed RTF streams.
#include "body/lzfu_format.h"

#include <array>

namespace edb {
namespace {

uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

void WriteLe32(uint32_t value, uint8_t* p) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

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
  header->compressed_size = ReadLe32(p);
  header->raw_size = ReadLe32(p + 4);
  header->type = ReadLe32(p + 8);
  header->crc = ReadLe32(p + 12);
  return true;
}

void WriteLzfuHeader(const LzfuHeader& header, uint8_t* out) {
  WriteLe32(header.compressed_size, out);
  WriteLe32(header.raw_size, out + 4);
  WriteLe32(header.type, out + 8);
  WriteLe32(header.crc, out + 12);
}

uint32_t LzfuCrc(std::span<const uint8_t> data) {
  uint32_t crc = 0;
  const uint8_t* p = data.data();
  size_t n = data.size();
  while (n >= 8) {
    uint32_t low = crc ^ ReadLe32(p);
    uint32_t high = ReadLe32(p + 4);
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
