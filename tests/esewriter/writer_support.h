// Shorthands for the writer's tests: writing a small database in one call
// and making test values.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ese/database_writer.h"

namespace esetest {

struct TableContent {
  esewriter::TableSpec spec;
  std::vector<esewriter::Record> records;
};

inline void WriteDatabase(const std::filesystem::path& path, uint32_t page_size,
                          const std::vector<TableContent>& tables) {
  esewriter::DatabaseWriter db({.page_size = page_size});
  for (const TableContent& table : tables) {
    esewriter::TableWriter& writer = db.AddTable(table.spec);
    for (const esewriter::Record& record : table.records) writer.Append(record);
  }
  db.Finish(path.string());
}

// `size` bytes that differ from value to value (`seed`) and along the value.
inline std::vector<uint8_t> Pattern(size_t size, uint32_t seed) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>((i * 7 + seed * 13 + (i >> 8)) & 0xff);
  return bytes;
}

// The text of a 7-bit packed value: its header byte's low 3 bits give the
// bits used in the last byte, less one.
inline std::string Unpack7BitAscii(const std::vector<uint8_t>& packed) {
  if (packed.size() < 2) return "";
  const size_t bits = (packed.size() - 2) * 8 + (packed[0] & 7) + 1;
  std::string text;
  for (size_t bit = 0; bit + 7 <= bits; bit += 7) {
    unsigned value = 0;
    for (size_t i = 0; i < 7; ++i) {
      const size_t at = bit + i;
      value |= ((packed[1 + at / 8] >> (at % 8)) & 1u) << i;
    }
    text.push_back(static_cast<char>(value));
  }
  return text;
}

inline std::vector<uint8_t> Le32(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 24)};
}

}  // namespace esetest
