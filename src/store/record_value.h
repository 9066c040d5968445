// One value of a record as the renderers see it: its column type, its value
// flags and its bytes (ese::Value), plus the reading the flags select. Every
// value of the store is read through here and the database seam; long
// values through the record that holds them.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ese/database.h"

namespace edb {

// A record together with the columns of its table (one per value, in value
// order): what every renderer and record handler reads values through.
// Borrowed: the record and its table outlive the reference.
struct RecordRef {
  const ese::Record* record = nullptr;
  const std::vector<ese::ColumnInfo>* columns = nullptr;
};

using RecordValue = ese::Value;

// How a value's flags make the renderers read it. libesedb 20240420 reports
// separated long values as 0x05, compressed values as 0x03, multi-values as
// 0x08 / 0x09, multi-values with a compressed member as 0x0b, and size-listed
// multi-values as 0x18.
enum class ValueReading {
  kPlain,       // flags 0 or 0x01
  kCompressed,  // 0x02 set, neither long value nor multi-value
  kLongValue,   // 0x04 set, not a multi-value: the data is the long value's key
  kMultiValue,  // 0x08 set without 0x10: read member by member
  kOther,       // anything else (0x08 with 0x10 included): raw bytes only
};

ValueReading ReadingOfFlags(uint8_t flags);

// Reads column type, flags and data of value `column` of `ref`. False when
// the value cannot be read (or `ref` holds no record).
bool ReadRecordValue(const RecordRef& ref, int column, RecordValue* value);

// The number of values of the record (0 when it holds none or is absent).
int NumberOfValues(const RecordRef& ref);

// The name of the column of value `column`; empty when unknown.
std::u16string_view ColumnNameOf(const RecordRef& ref, int column);

// Opens the long value of `column` and reads every segment; false when it
// cannot be opened or a segment cannot be read.
bool ReadThroughLongValue(const RecordRef& ref, int column);

// The whole content of the long value of `column`, segments joined; nullopt
// when it cannot be opened or a segment cannot be read.
std::optional<std::vector<uint8_t>> LongValueBytes(const RecordRef& ref, int column);

// The bytes a renderer converts as "the value's bytes": the content of a long
// value (value flag 0x04 outside a multi-value), otherwise `value.data`
// unchanged. Nullopt when a long value cannot be read.
std::optional<std::vector<uint8_t>> ContentBytes(const RecordRef& ref, int column, RecordValue value);

}  // namespace edb
