// Reads databases back through libesedb for the writer's tests: tables,
// columns and every value of a record with its flags, long-value data and
// multi-value members, as plain structs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ese/esedb_handles.h"

namespace esetest {

struct ColumnInfo {
  std::string name;
  uint32_t id = 0;
  uint32_t type = 0;
};

struct ValueInfo {
  uint32_t column_type = 0;
  uint8_t flags = 0;
  std::vector<uint8_t> data;  // as stored in the record (a long value's id for separated values)
  bool long_value_read = false;
  std::vector<uint8_t> long_value;  // the separated value's bytes
  int segments = 0;
  bool multi_value_read = false;
  std::vector<std::vector<uint8_t>> members;
};

// A database opened read-only with libesedb; construction fails the test
// (std::runtime_error) when libesedb refuses the file.
class EsedbDatabase {
 public:
  explicit EsedbDatabase(const std::filesystem::path& path);

  std::vector<std::string> TableNames();
  std::vector<ColumnInfo> Columns(const std::string& table);
  int RecordCount(const std::string& table);
  uint32_t TableObjid(const std::string& table);
  // Every value of record `index`; unless `shallow`, separated long values
  // and multi-values are read in full. Throws std::runtime_error when
  // libesedb fails.
  std::vector<ValueInfo> Record(const std::string& table, int index, bool shallow = false);
  std::vector<ValueInfo> RecordShallow(const std::string& table, int index) { return Record(table, index, true); }
  // The UTF-8 text libesedb makes of a text value.
  std::string Utf8Text(const std::string& table, int index, int value);

  libesedb_file_t* file() { return file_.get(); }

 private:
  libesedb_table_t* Table(const std::string& name);
  edb::EsedbRecord OpenRecord(const std::string& table, int index);
  void ReadLongValue(libesedb_record_t* record, int value, ValueInfo* out);
  void ReadMultiValue(libesedb_record_t* record, int value, ValueInfo* out);

  edb::EsedbFile file_;
  std::vector<std::pair<std::string, edb::EsedbTable>> tables_;
};

std::vector<uint8_t> Bytes(const std::string& text);

}  // namespace esetest
