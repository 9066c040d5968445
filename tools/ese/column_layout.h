// Where each column of a table lives in the record: fixed columns (ids from
// 1, at a fixed offset), variable columns (ids from 128) and tagged columns
// (ids from 256), numbered in the order the table lists them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ese/database_writer.h"

namespace esewriter {

enum class Storage { kFixed, kVariable, kTagged };

struct ColumnLayout {
  std::string name;
  ColumnType type = ColumnType::kBinary;
  Storage storage = Storage::kTagged;
  uint16_t id = 0;
  uint32_t size = 0;      // fixed: the stored size; otherwise the largest value, 0 for no limit
  uint32_t codepage = 0;  // text columns: 1252 or 1200; 0 otherwise
  bool multi_valued = false;
  uint16_t record_offset = 0;  // fixed columns: offset of the value in the record
};

struct TableLayout {
  std::vector<ColumnLayout> columns;  // in the order of the table's spec
  std::vector<size_t> fixed;          // indexes into columns, by ascending id
  std::vector<size_t> variable;
  std::vector<size_t> tagged;
};

constexpr uint16_t kFirstFixedId = 1;
constexpr uint16_t kLastFixedId = 127;
constexpr uint16_t kFirstVariableId = 128;
constexpr uint16_t kLastVariableId = 255;
constexpr uint16_t kFirstTaggedId = 256;
constexpr size_t kRecordHeaderSize = 4;
constexpr size_t kLargestShortValue = 255;  // Binary and Text columns
constexpr size_t kLongestName = 64;

// Stored size of a fixed-size type (Bit ... UnsignedShort, GUID); 0 for
// Binary, Text and the long types.
uint32_t FixedTypeSize(ColumnType type);
bool IsLongValueType(ColumnType type);  // LongBinary and LongText
bool IsTextType(ColumnType type);       // Text and LongText

// Lays out the columns of `spec`. Throws std::invalid_argument for a name
// that is empty, too long or repeated, an unknown type or code page, a
// placement the type cannot take, a multi-valued column that is not tagged,
// a size out of range, too many columns of one kind, or fixed columns that
// cannot fit a page of `page_size`.
TableLayout LayOutColumns(const TableSpec& spec, uint32_t page_size);

}  // namespace esewriter
