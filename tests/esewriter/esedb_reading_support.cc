// libesedb reading for the writer's tests.
#include "esedb_reading_support.h"

#include <stdexcept>

namespace esetest {
namespace {

[[noreturn]] void Fail(const std::string& what, const edb::EsedbError& error) {
  throw std::runtime_error(what + ": " + error.Message());
}

std::string Utf8TableName(libesedb_table_t* table) {
  size_t size = 0;
  if (libesedb_table_get_utf8_name_size(table, &size, nullptr) != 1 || size == 0) return "";
  std::string name(size, '\0');
  libesedb_table_get_utf8_name(table, reinterpret_cast<uint8_t*>(name.data()), size, nullptr);
  name.resize(size - 1);
  return name;
}

}  // namespace

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

EsedbDatabase::EsedbDatabase(const std::filesystem::path& path) {
  edb::EsedbError error;
  file_ = edb::OpenEsedbFile(path.string(), &error);
  if (!file_) Fail("libesedb cannot open " + path.string(), error);
  int count = 0;
  if (libesedb_file_get_number_of_tables(file_.get(), &count, error.slot()) != 1) Fail("table count", error);
  for (int i = 0; i < count; ++i) {
    edb::EsedbTable table;
    if (!edb::TableByIndex(file_.get(), i, &table, &error)) Fail("table " + std::to_string(i), error);
    std::string name = Utf8TableName(table.get());
    tables_.emplace_back(std::move(name), std::move(table));
  }
}

std::vector<std::string> EsedbDatabase::TableNames() {
  std::vector<std::string> names;
  for (const auto& [name, table] : tables_) names.push_back(name);
  return names;
}

libesedb_table_t* EsedbDatabase::Table(const std::string& name) {
  for (auto& [table_name, table] : tables_) {
    if (table_name == name) return table.get();
  }
  throw std::runtime_error("no table " + name);
}

std::vector<ColumnInfo> EsedbDatabase::Columns(const std::string& table) {
  edb::EsedbError error;
  int count = 0;
  if (libesedb_table_get_number_of_columns(Table(table), &count, 0, error.slot()) != 1) Fail("column count", error);
  std::vector<ColumnInfo> columns;
  for (int i = 0; i < count; ++i) {
    edb::EsedbColumn column;
    if (!edb::ColumnByIndex(Table(table), i, &column, &error)) Fail("column", error);
    ColumnInfo info;
    libesedb_column_get_identifier(column.get(), &info.id, nullptr);
    libesedb_column_get_type(column.get(), &info.type, nullptr);
    size_t size = 0;
    libesedb_column_get_utf8_name_size(column.get(), &size, nullptr);
    info.name.assign(size, '\0');
    libesedb_column_get_utf8_name(column.get(), reinterpret_cast<uint8_t*>(info.name.data()), size, nullptr);
    if (!info.name.empty()) info.name.pop_back();
    columns.push_back(info);
  }
  return columns;
}

int EsedbDatabase::RecordCount(const std::string& table) {
  edb::EsedbError error;
  int count = 0;
  if (libesedb_table_get_number_of_records(Table(table), &count, error.slot()) != 1) Fail("record count", error);
  return count;
}

uint32_t EsedbDatabase::TableObjid(const std::string& table) {
  uint32_t objid = 0;
  edb::EsedbError error;
  if (libesedb_table_get_identifier(Table(table), &objid, error.slot()) != 1) Fail("table identifier", error);
  return objid;
}

edb::EsedbRecord EsedbDatabase::OpenRecord(const std::string& table, int index) {
  edb::EsedbError error;
  edb::EsedbRecord record;
  if (!edb::RecordByIndex(Table(table), index, &record, &error)) Fail("record " + std::to_string(index), error);
  return record;
}

std::vector<ValueInfo> EsedbDatabase::Record(const std::string& table, int index, bool shallow) {
  edb::EsedbRecord record = OpenRecord(table, index);
  edb::EsedbError error;
  int count = 0;
  if (libesedb_record_get_number_of_values(record.get(), &count, error.slot()) != 1) Fail("value count", error);
  std::vector<ValueInfo> values(static_cast<size_t>(count));
  for (int v = 0; v < count; ++v) {
    ValueInfo& value = values[static_cast<size_t>(v)];
    size_t size = 0;
    libesedb_record_get_column_type(record.get(), v, &value.column_type, nullptr);
    if (libesedb_record_get_value_data_flags(record.get(), v, &value.flags, error.slot()) != 1 ||
        libesedb_record_get_value_data_size(record.get(), v, &size, error.slot()) != 1) {
      Fail("value " + std::to_string(v), error);
    }
    value.data.resize(size);
    if (size > 0 && libesedb_record_get_value_data(record.get(), v, value.data.data(), size, error.slot()) != 1) {
      Fail("data", error);
    }
    if (shallow) continue;
    if ((value.flags & LIBESEDB_VALUE_FLAG_LONG_VALUE) != 0) ReadLongValue(record.get(), v, &value);
    if ((value.flags & 0x18) == LIBESEDB_VALUE_FLAG_MULTI_VALUE) ReadMultiValue(record.get(), v, &value);
  }
  return values;
}

void EsedbDatabase::ReadLongValue(libesedb_record_t* record, int value, ValueInfo* out) {
  edb::EsedbError error;
  libesedb_long_value_t* raw = nullptr;
  if (libesedb_record_get_long_value(record, value, &raw, error.slot()) != 1) Fail("long value", error);
  edb::EsedbLongValue long_value(raw);
  size64_t total = 0;
  libesedb_long_value_get_data_size(long_value.get(), &total, nullptr);
  out->long_value.resize(static_cast<size_t>(total));
  if (total > 0 && libesedb_long_value_get_data(long_value.get(), out->long_value.data(), out->long_value.size(),
                                                error.slot()) != 1) {
    Fail("long value data", error);
  }
  libesedb_long_value_get_number_of_data_segments(long_value.get(), &out->segments, nullptr);
  out->long_value_read = true;
}

void EsedbDatabase::ReadMultiValue(libesedb_record_t* record, int value, ValueInfo* out) {
  edb::EsedbError error;
  libesedb_multi_value_t* raw = nullptr;
  if (libesedb_record_get_multi_value(record, value, &raw, error.slot()) != 1) Fail("multi-value", error);
  edb::EsedbMultiValue multi(raw);
  int members = 0;
  libesedb_multi_value_get_number_of_values(multi.get(), &members, nullptr);
  for (int m = 0; m < members; ++m) {
    size_t size = 0;
    libesedb_multi_value_get_value_data_size(multi.get(), m, &size, nullptr);
    std::vector<uint8_t> member(size);
    if (size > 0) libesedb_multi_value_get_value_data(multi.get(), m, member.data(), size, nullptr);
    out->members.push_back(std::move(member));
  }
  out->multi_value_read = true;
}

std::string EsedbDatabase::Utf8Text(const std::string& table, int index, int value) {
  edb::EsedbRecord record = OpenRecord(table, index);
  edb::EsedbError error;
  size_t size = 0;
  if (libesedb_record_get_value_utf8_string_size(record.get(), value, &size, error.slot()) != 1)
    Fail("text size", error);
  std::string text(size, '\0');
  if (libesedb_record_get_value_utf8_string(record.get(), value, reinterpret_cast<uint8_t*>(text.data()), size,
                                            error.slot()) != 1) {
    Fail("text", error);
  }
  if (!text.empty()) text.pop_back();
  return text;
}

}  // namespace esetest
