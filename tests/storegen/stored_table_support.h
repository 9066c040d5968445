// Reads the tables of a written store back through libesedb, independently
// of the store builder, so tests can compare them with their description.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace storegentest {

struct StoredValue {
  bool null = true;
  uint8_t flags = 0;  // libesedb value flags; 0x04: separated long value
  int segments = 0;   // long values: number of segments
  std::vector<uint8_t> bytes;
  bool separated() const { return (flags & 0x04) != 0; }
  std::string text8() const { return std::string(bytes.begin(), bytes.end()); }
};

struct StoredTable {
  std::string name;
  std::vector<std::string> columns;
  std::vector<uint32_t> types;
  std::vector<std::vector<StoredValue>> rows;

  // Position of `column`, or -1.
  int Column(std::string_view column) const;
  // The value of `column` in `row`; a NULL value when the table lacks it.
  const StoredValue& At(size_t row, std::string_view column) const;
};

// Table names in catalog order, and whole tables. Throw std::runtime_error
// when the file or table cannot be read.
std::vector<std::string> StoredTableNames(const std::string& path);
StoredTable ReadStoredTable(const std::string& path, const std::string& table);

// The 8 bytes as a big-endian number; nullopt unless there are 8 bytes.
std::optional<uint64_t> BigEndian64(const std::vector<uint8_t>& bytes);

// The time or number at `column` of `row` read as the store's readers do:
// little-endian, unless a binary key column ("Q…", "N67b0") comes before it
// in the row, then big-endian.
std::optional<uint64_t> ReadOrdered(const StoredTable& table, size_t row, std::string_view column);

// The store reader's hex decoding of binary address values (HexDecodeText),
// as UTF-8: 0 becomes a blank, bytes 32..122 stay, bytes above 127 are
// Windows-1252 characters, controls and "{" to DEL vanish.
std::string HexDecoded(const std::vector<uint8_t>& bytes);

// Little-endian UTF-16 bytes as UTF-8.
std::string Utf16BytesToUtf8(const std::vector<uint8_t>& bytes);

}  // namespace storegentest
