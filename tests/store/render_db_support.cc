// Opening tables of the test databases.
#include "render_db_support.h"

#include <stdexcept>

namespace edbtest {

TableUnderTest::TableUnderTest(const std::filesystem::path& file, const std::string& table) {
  edb::EsedbError error;
  file_ = edb::OpenEsedbFile(file.string(), &error);
  if (file_ == nullptr) throw std::runtime_error("cannot open " + file.string() + ": " + error.Message());
  int tables = 0;
  libesedb_file_get_number_of_tables(file_.get(), &tables, nullptr);
  for (int i = 0; i < tables; ++i) {
    edb::EsedbTable candidate;
    std::u16string name;
    if (!edb::TableByIndex(file_.get(), i, &candidate, &error) || !edb::TableName(candidate.get(), &name, &error)) {
      continue;
    }
    if (name == std::u16string(table.begin(), table.end())) {
      table_ = std::move(candidate);
      break;
    }
  }
  if (table_ == nullptr) throw std::runtime_error("no table " + table + " in " + file.string());
  libesedb_table_get_number_of_records(table_.get(), &record_count_, nullptr);
}

edb::EsedbRecord TableUnderTest::Record(int index) {
  edb::EsedbRecord record;
  edb::EsedbError error;
  if (!edb::RecordByIndex(table_.get(), index, &record, &error)) {
    throw std::runtime_error("cannot read record: " + error.Message());
  }
  return record;
}

int TableUnderTest::Column(const std::string& name) {
  int columns = 0;
  libesedb_table_get_number_of_columns(table_.get(), &columns, 0, nullptr);
  edb::EsedbError error;
  for (int i = 0; i < columns; ++i) {
    edb::EsedbColumn column;
    std::u16string column_name;
    if (edb::ColumnByIndex(table_.get(), i, &column, &error) && edb::ColumnName(column.get(), &column_name, &error) &&
        column_name == std::u16string(name.begin(), name.end())) {
      return i;
    }
  }
  throw std::runtime_error("no column " + name);
}

}  // namespace edbtest
