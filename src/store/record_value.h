// One value of a libesedb record as the renderers see it: its column type,
// its value flags and its bytes, plus the reading the flags select. Long
// values are read through the record's LongValueSource, never through
// libesedb's long-value functions directly.
#pragma once

#include <libesedb.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "ese/long_value_source.h"

namespace edb {

// ESE column types, numbered as libesedb reports them.
namespace ese_type {
inline constexpr uint32_t kBit = 1;
inline constexpr uint32_t kUnsignedByte = 2;
inline constexpr uint32_t kShort = 3;
inline constexpr uint32_t kLong = 4;
inline constexpr uint32_t kCurrency = 5;
inline constexpr uint32_t kIeeeSingle = 6;
inline constexpr uint32_t kIeeeDouble = 7;
inline constexpr uint32_t kDateTime = 8;
inline constexpr uint32_t kBinary = 9;
inline constexpr uint32_t kText = 10;
inline constexpr uint32_t kLongBinary = 11;
inline constexpr uint32_t kLongText = 12;
inline constexpr uint32_t kUnsignedLong = 14;
inline constexpr uint32_t kLongLong = 15;
inline constexpr uint32_t kGuid = 16;
inline constexpr uint32_t kUnsignedShort = 17;
}  // namespace ese_type

// Value flags as libesedb reports them.
namespace value_flag {
inline constexpr uint8_t kVariableSize = 0x01;
inline constexpr uint8_t kCompressed = 0x02;
inline constexpr uint8_t kLongValue = 0x04;
inline constexpr uint8_t kMultiValue = 0x08;
inline constexpr uint8_t kMultiValueSizes = 0x10;  // member sizes instead of offsets
}  // namespace value_flag

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

struct RecordValue {
  uint32_t column_type = 0;
  uint8_t flags = 0;
  std::vector<uint8_t> data;  // as libesedb reports it; empty for NULL
};

// Reads column type, flags and data of value `column` of `record`. False when
// libesedb fails on any of them.
bool ReadRecordValue(libesedb_record_t* record, int column, RecordValue* value);

// The source long values of `ref` are opened through: its own, or libesedb's
// when the reference carries none.
LongValueSource& LongValuesOf(const RecordRef& ref);

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
