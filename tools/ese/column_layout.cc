// Column placement and numbering.
#include "ese/column_layout.h"

#include <set>
#include <stdexcept>

#include "ese/engine_format.h"

namespace esewriter {
namespace {

[[noreturn]] void Reject(const std::string& table, const std::string& column, const std::string& why) {
  throw std::invalid_argument("table \"" + table + "\", column \"" + column + "\": " + why);
}

Storage DefaultStorage(const ColumnSpec& column) {
  if (column.multi_valued) return Storage::kTagged;
  if (FixedTypeSize(column.type) > 0) return Storage::kFixed;
  if (column.type == ColumnType::kBinary || column.type == ColumnType::kText) return Storage::kVariable;
  return Storage::kTagged;
}

Storage ChooseStorage(const std::string& table, const ColumnSpec& column) {
  const bool short_variable = column.type == ColumnType::kBinary || column.type == ColumnType::kText;
  switch (column.placement) {
    case Placement::kAutomatic:
      return DefaultStorage(column);
    case Placement::kFixed:
      if (column.multi_valued) Reject(table, column.name, "a multi-valued column must be tagged");
      if (FixedTypeSize(column.type) == 0 && !short_variable) Reject(table, column.name, "this type cannot be fixed");
      return Storage::kFixed;
    case Placement::kVariable:
      if (column.multi_valued) Reject(table, column.name, "a multi-valued column must be tagged");
      if (!short_variable) Reject(table, column.name, "only Binary and Text columns can be variable");
      return Storage::kVariable;
    case Placement::kTagged:
      return Storage::kTagged;
  }
  Reject(table, column.name, "unknown placement");
}

uint32_t ChooseSize(const std::string& table, const ColumnSpec& column) {
  const uint32_t fixed = FixedTypeSize(column.type);
  if (fixed > 0) {
    if (column.max_size != 0 && column.max_size != fixed)
      Reject(table, column.name, "a fixed-size type has its own size");
    return fixed;
  }
  if (column.type == ColumnType::kBinary || column.type == ColumnType::kText) {
    if (column.max_size > kLargestShortValue) Reject(table, column.name, "Binary and Text hold at most 255 bytes");
    return column.max_size == 0 ? kLargestShortValue : column.max_size;
  }
  return column.max_size;  // long types: 0 means no limit
}

uint32_t ChooseCodepage(const std::string& table, const ColumnSpec& column) {
  if (!IsTextType(column.type)) return 0;
  if (column.codepage == 0 || column.codepage == 1252) return 1252;
  if (column.codepage == 1200) return 1200;
  Reject(table, column.name, "text code page must be 1252 or 1200");
}

}  // namespace

uint32_t FixedTypeSize(ColumnType type) {
  switch (type) {
    case ColumnType::kBit:
    case ColumnType::kUnsignedByte:
      return 1;
    case ColumnType::kShort:
    case ColumnType::kUnsignedShort:
      return 2;
    case ColumnType::kLong:
    case ColumnType::kIeeeSingle:
    case ColumnType::kUnsignedLong:
      return 4;
    case ColumnType::kCurrency:
    case ColumnType::kIeeeDouble:
    case ColumnType::kDateTime:
    case ColumnType::kLongLong:
      return 8;
    case ColumnType::kGuid:
      return 16;
    default:
      return 0;
  }
}

bool IsLongValueType(ColumnType type) { return type == ColumnType::kLongBinary || type == ColumnType::kLongText; }

bool IsTextType(ColumnType type) { return type == ColumnType::kText || type == ColumnType::kLongText; }

TableLayout LayOutColumns(const TableSpec& spec, uint32_t page_size) {
  TableLayout layout;
  std::set<std::string> names;
  uint16_t next_fixed = kFirstFixedId;
  uint32_t next_variable = kFirstVariableId;
  uint32_t next_tagged = kFirstTaggedId;
  size_t record_offset = kRecordHeaderSize;
  for (const ColumnSpec& column : spec.columns) {
    if (column.name.empty() || column.name.size() > kLongestName) Reject(spec.name, column.name, "bad column name");
    if (!names.insert(column.name).second) Reject(spec.name, column.name, "column name used twice");
    const uint32_t type = static_cast<uint32_t>(column.type);
    if (type < 1 || type > 17) Reject(spec.name, column.name, "unknown column type");

    ColumnLayout out;
    out.name = column.name;
    out.type = column.type;
    out.storage = ChooseStorage(spec.name, column);
    out.size = ChooseSize(spec.name, column);
    out.codepage = ChooseCodepage(spec.name, column);
    out.multi_valued = column.multi_valued;
    switch (out.storage) {
      case Storage::kFixed:
        if (next_fixed > kLastFixedId) Reject(spec.name, column.name, "more than 127 fixed columns");
        out.id = next_fixed++;
        out.record_offset = static_cast<uint16_t>(record_offset);
        record_offset += out.size;
        layout.fixed.push_back(layout.columns.size());
        break;
      case Storage::kVariable:
        if (next_variable > kLastVariableId) Reject(spec.name, column.name, "more than 128 variable columns");
        out.id = static_cast<uint16_t>(next_variable++);
        layout.variable.push_back(layout.columns.size());
        break;
      case Storage::kTagged:
        if (next_tagged > 0xffff) Reject(spec.name, column.name, "too many tagged columns");
        out.id = static_cast<uint16_t>(next_tagged++);
        layout.tagged.push_back(layout.columns.size());
        break;
    }
    layout.columns.push_back(std::move(out));
  }
  // Every fixed column with its NULL bit must fit a record.
  const size_t fixed_record = record_offset + (layout.fixed.size() + 7) / 8;
  if (fixed_record > LargestRecordSize(page_size)) {
    throw std::invalid_argument("table \"" + spec.name + "\": fixed columns do not fit a page");
  }
  return layout;
}

}  // namespace esewriter
