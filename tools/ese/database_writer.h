// Writes ESE database files (the format of Exchange 2003/2007 stores) that
// libesedb 20240420 reads back exactly, laid out the way Windows' own engine
// lays them out. Used by tests, benchmarks and edbgen; never by the product.
//
// Usage:
//   esewriter::DatabaseWriter db({.page_size = 8192});
//   auto& t = db.AddTable({"Msg", {{"N67b0", ColumnType::kBinary}, ...}});
//   t.Append({Value::Bytes(...), Value::Null(), ...});
//   db.Finish("out.edb");
//
// Pages are streamed to a scratch file as they fill (tables may be filled in
// any interleaving), so memory use stays small whatever the database size;
// Finish writes the catalog and moves the file into place.
//
// What readers see:
// - libesedb lists a table's columns by column id: fixed columns first, then
//   variable, then tagged, each group in the order the TableSpec lists them.
// - Records enumerate in append order.
// - Long values (LongBinary, LongText) of up to 1,023 bytes stay in the
//   record (value flags 0x01); from 1,024 bytes on, or when the record would
//   not fit its page, they are separated into the table's long-value tree
//   (flags 0x05, in chunks of page size - 82 bytes).
// - A multi-valued column with no values is NULL, with one value a plain
//   value; two values of a short type are stored in the engine's compact
//   two-value form (flags 0x18, which libesedb does not read as a
//   multi-value).
// - Fixed columns: a NULL before the last set fixed column reads as the
//   engine's '*' fill, NULLs after it read as empty; shorter values are
//   padded (Binary with zeros, Text with blanks of its code page).
// - libesedb 20240420 reads at most 16,385 leaf pages of one table (about
//   12 records per page for 200,000 records) and cannot read any record of
//   a table with a SuperLongValue (13) column; the writer still writes both.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ese/database.h"

namespace esewriter {

// ESE column types, numbered as the format numbers them (ese/database.h).
enum class ColumnType : uint32_t {
  kBit = edb::ese::column_type::kBit,
  kUnsignedByte = edb::ese::column_type::kUnsignedByte,
  kShort = edb::ese::column_type::kShort,
  kLong = edb::ese::column_type::kLong,
  kCurrency = edb::ese::column_type::kCurrency,
  kIeeeSingle = edb::ese::column_type::kIeeeSingle,
  kIeeeDouble = edb::ese::column_type::kIeeeDouble,
  kDateTime = edb::ese::column_type::kDateTime,
  kBinary = edb::ese::column_type::kBinary,
  kText = edb::ese::column_type::kText,
  kLongBinary = edb::ese::column_type::kLongBinary,
  kLongText = edb::ese::column_type::kLongText,
  kSuperLongValue = edb::ese::column_type::kSuperLong,
  kUnsignedLong = edb::ese::column_type::kUnsignedLong,
  kLongLong = edb::ese::column_type::kLongLong,
  kGuid = edb::ese::column_type::kGuid,
  kUnsignedShort = edb::ese::column_type::kUnsignedShort,
};

// Where a column's values are kept in the record.
enum class Placement {
  kAutomatic,  // fixed-size types: fixed; kText/kBinary: variable; the rest and multi-valued: tagged
  kFixed,
  kVariable,
  kTagged,
};

// A column; its placement decides its id (fixed from 1, variable from 128,
// tagged from 256, in spec order). Binary and Text hold at most 255 bytes
// (max_size, default 255); long types have no limit unless max_size is set.
struct ColumnSpec {
  std::string name;
  ColumnType type = ColumnType::kBinary;
  uint32_t codepage = 0;  // text columns: 1252 or 1200 (0 means 1252)
  bool multi_valued = false;
  Placement placement = Placement::kAutomatic;
  uint32_t max_size = 0;  // 0: the type's default
};

// One cell of a record: NULL, one value, or the values of a multi-valued
// column. Bytes are stored exactly as given (text already encoded in the
// column's code page; integers little-endian).
class Value {
 public:
  static Value Null() { return Value(); }
  static Value Bytes(std::vector<uint8_t> bytes);
  static Value Bytes(std::string_view bytes);
  static Value Multi(std::vector<std::vector<uint8_t>> values);
  // Typed helpers, encoded as the engine stores each type.
  static Value Bool(bool v);
  static Value U8(uint8_t v);
  static Value I16(int16_t v);
  static Value U16(uint16_t v);
  static Value I32(int32_t v);
  static Value U32(uint32_t v);
  static Value I64(int64_t v);
  static Value F32(float v);
  static Value F64(double v);
  static Value Text1252(std::string_view windows1252_bytes);
  static Value Text1200(std::u16string_view utf16);
  // A long text kept with the engine's 7-bit compression (value flags 0x03)
  // when that makes it shorter, as the engine does; the text must be 7-bit
  // ASCII (else std::invalid_argument) and the column LongText or
  // LongBinary. Values of 1,024 bytes or more are separated uncompressed.
  static Value Compressed7Bit(std::string_view ascii);

  bool is_null() const { return kind_ == Kind::kNull; }
  bool is_multi() const { return kind_ == Kind::kMulti; }
  bool is_compressed() const { return compressed_; }
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  const std::vector<std::vector<uint8_t>>& multi() const { return multi_; }

 private:
  enum class Kind { kNull, kSingle, kMulti };
  Kind kind_ = Kind::kNull;
  bool compressed_ = false;
  std::vector<uint8_t> bytes_;
  std::vector<std::vector<uint8_t>> multi_;
};

// One Value per column, in the table's column order.
using Record = std::vector<Value>;

struct TableSpec {
  std::string name;
  std::vector<ColumnSpec> columns;
};

struct Options {
  // 4096: Exchange 2003 (format 0x620, revision 0x0b); 8192: Exchange 2007
  // (format 0x620, revision 0x0c).
  uint32_t page_size = 8192;
  // Folder for the file being written until Finish moves it to its name;
  // empty: the system temporary folder. Best on the target's file system.
  std::string scratch_directory = {};
};

class TableWriter {
 public:
  virtual ~TableWriter() = default;
  // Appends a record; libesedb enumerates records in append order.
  // Throws std::invalid_argument when the record does not fit the columns
  // (the record is then not written), std::logic_error after Finish and
  // std::runtime_error on I/O failure.
  virtual void Append(const Record& record) = 0;
};

class DatabaseWriter {
 public:
  // Throws std::invalid_argument for an unsupported page size and
  // std::runtime_error when the scratch file cannot be created.
  explicit DatabaseWriter(Options options = {});
  ~DatabaseWriter();
  DatabaseWriter(const DatabaseWriter&) = delete;
  DatabaseWriter& operator=(const DatabaseWriter&) = delete;

  // Tables appear in the catalog (and in libesedb's enumeration) after the
  // two catalog tables, in the order they are added. The reference stays
  // valid as long as the writer. Throws std::invalid_argument for a bad or
  // repeated name or a column spec that cannot be laid out, std::logic_error
  // after Finish.
  TableWriter& AddTable(TableSpec spec);

  // Completes the database and moves it to `path`, replacing any file
  // there. Throws std::runtime_error on I/O failure, std::logic_error when
  // called twice. The writer cannot be used afterwards.
  void Finish(const std::string& path);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace esewriter
