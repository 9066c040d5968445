// The database seam: everything above the ESE layer reads a database through
// these interfaces and nothing else. Two readers implement them: our own
// (pages, trees, catalog, records, long values) and libesedb, kept as the
// fallback for files ours does not know and as an independent check.
//
// Shapes follow what the record handlers need and what libesedb has always
// handed up: a table's records by position (0-based, in the data tree's key
// order), a record's values by position (one per column of the table,
// template columns included, in column order), each value as its column
// type, value flags and stored bytes.
//
// Ownership and lifetime: OpenDatabase returns the owner of the open file.
// Tables, records, multi-values and long values borrow from the database and
// must be destroyed before it. Each object is used by one thread at a time;
// two threads may read two tables (or two records) of one database at once.
//
// Errors: every operation that can fail returns Status or Result. Damage
// found while reading is also reported, once, to the CorruptionReporter the
// database was opened with, by the layer that finds it; callers that skip the
// object need not report it again.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace edb {
class CorruptionReporter;
}

namespace edb::ese {

// Column types, numbered as the format (and libesedb) numbers them.
namespace column_type {
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
inline constexpr uint32_t kSuperLong = 13;
inline constexpr uint32_t kUnsignedLong = 14;
inline constexpr uint32_t kLongLong = 15;
inline constexpr uint32_t kGuid = 16;
inline constexpr uint32_t kUnsignedShort = 17;
}  // namespace column_type

// Value flags, as libesedb reports them: separated long values come as 0x05,
// 7-bit compressed values as 0x03, multi-values as 0x08 / 0x09, multi-values
// with a compressed member as 0x0b, size-listed multi-values as 0x18.
namespace value_flag {
inline constexpr uint8_t kVariableSize = 0x01;
inline constexpr uint8_t kCompressed = 0x02;
inline constexpr uint8_t kLongValue = 0x04;
inline constexpr uint8_t kMultiValue = 0x08;
inline constexpr uint8_t kMultiValueSizes = 0x10;  // member sizes instead of offsets
}  // namespace value_flag

struct ColumnInfo {
  uint32_t id = 0;
  std::u16string name;
  uint32_t type = 0;
  // 1200 for UTF-16, 1252 for Windows-1252; 0 when the catalog does not say.
  uint32_t code_page = 0;
};

// One value of a record: empty data with flags 0 is NULL.
struct Value {
  uint32_t column_type = 0;
  uint8_t flags = 0;
  std::vector<uint8_t> data;  // as stored; for flag 0x04 the long value's key
};

// The segments of one long value, in order.
class LongValue {
 public:
  virtual ~LongValue() = default;
  virtual int segment_count() const = 0;
  virtual Status ReadSegment(int index, std::vector<uint8_t>* data) = 0;
};

// The members of a multi-value (flag 0x08 without 0x10).
class MultiValue {
 public:
  virtual ~MultiValue() = default;
  virtual int count() const = 0;
  // The member's bytes as stored; for a member kept in the long-value tree,
  // its key (see MemberIsLongValue).
  virtual Status Member(int index, std::vector<uint8_t>* data) const = 0;
  // The member as text in the column's code page (compressed members
  // expanded), without a terminator.
  virtual Result<std::u16string> MemberText(int index) const = 0;
  virtual bool MemberIsLongValue(int index) const = 0;
};

class Record {
 public:
  virtual ~Record() = default;
  // One value per column of the table.
  virtual int value_count() const = 0;
  virtual Status ReadValue(int value, Value* out) const = 0;
  // The value as text in its column's code page, 7-bit compressed text
  // expanded, without a terminator; NotFound for NULL.
  virtual Result<std::u16string> ValueText(int value) const = 0;
  // A value of a fixed-size column (bit, byte, short, long, currency, single,
  // double, date-time, long long and their unsigned kinds) as its stored
  // little-endian bits widened to 64; nullopt for NULL. Corruption when the
  // stored size does not fit the type. This default decodes ReadValue's
  // bytes.
  virtual Result<std::optional<uint64_t>> ReadFixed(int value) const;
  virtual Result<std::unique_ptr<MultiValue>> OpenMultiValue(int value) const = 0;
  // The long value behind a value with flag 0x04.
  virtual Result<std::unique_ptr<LongValue>> OpenLongValue(int value) const = 0;
};

class Table {
 public:
  virtual ~Table() = default;
  virtual const std::u16string& name() const = 0;
  // Every column, the template table's first, in the order of a record's values.
  virtual const std::vector<ColumnInfo>& columns() const = 0;
  virtual Result<int64_t> RecordCount() = 0;
  // The record at `position` (0 <= position < RecordCount()).
  virtual Result<std::unique_ptr<Record>> ReadRecord(int64_t position) = 0;
  // The long value whose key (the 4 stored bytes of a 0x04 value or of a
  // multi-value member kept apart) is `key`.
  virtual Result<std::unique_ptr<LongValue>> OpenLongValue(std::span<const uint8_t> key) = 0;
};

class Database {
 public:
  virtual ~Database() = default;
  // "native" or "libesedb".
  virtual std::string_view reader_name() const = 0;
  // Tables in catalog order.
  virtual int table_count() const = 0;
  virtual Result<std::u16string> TableName(int index) = 0;
  virtual Result<std::unique_ptr<Table>> OpenTable(int index) = 0;
};

enum class ReaderChoice {
  kNative,    // our own reader; a file it does not know falls back to libesedb
  kLibesedb,  // libesedb only
};

// Opens `path` read-only. Damage met while reading goes to `corruption`,
// which must outlive the database.
Result<std::unique_ptr<Database>> OpenDatabase(const std::string& path, ReaderChoice choice,
                                               CorruptionReporter& corruption);

}  // namespace edb::ese
