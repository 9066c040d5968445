// Builds one record of a store table by column name, encoding each value as
// the store keeps it: identifiers as 8 big-endian bytes, times and 4-byte
// numbers in the byte order readers apply at the column's position, text in
// the column's code page.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "ese/database_writer.h"
#include "storegen/file_time.h"
#include "storegen/store_schema.h"

namespace storegen {

class RowEncoder {
 public:
  // `layout` must outlive the encoder. Every column starts NULL.
  explicit RowEncoder(const TableLayout& layout);

  // Each setter throws std::invalid_argument naming table and column when
  // the table lacks the column or the value does not fit it.
  void SetId(std::string_view column, uint64_t id);
  void SetTime(std::string_view column, FileTime time);
  void SetNumber32(std::string_view column, uint32_t value);
  void SetBit(std::string_view column, bool value);
  // UTF-8 text, stored in the column's code page (Windows-1252 loses what it
  // cannot represent: "?").
  void SetText(std::string_view column, std::string_view utf8);
  void SetBytes(std::string_view column, std::vector<uint8_t> bytes);
  void SetBytes(std::string_view column, std::string_view bytes);

  // The record, one value per column in table order. The encoder is empty
  // (all NULL) afterwards.
  esewriter::Record Take();

 private:
  size_t Checked(std::string_view column, esewriter::ColumnType expected);
  void SetOrdered(std::string_view column, uint64_t value, int width);
  [[noreturn]] void Fail(std::string_view column, std::string_view why) const;

  const TableLayout& layout_;
  esewriter::Record record_;
};

}  // namespace storegen
