// Opening tables of the test databases.
#include "render_db_support.h"

#include <stdexcept>

namespace edbtest {

TableUnderTest::TableUnderTest(const std::filesystem::path& file, const std::string& table) {
  edb::EsedbError error;
  file_ = edb::OpenEsedbFile(file.string(), &error);
  libesedb_table_t* raw = nullptr;
  if (file_ == nullptr || libesedb_file_get_table_by_utf8_name(file_.get(), reinterpret_cast<const uint8_t*>(
                                                                   table.data()), table.size(), &raw, nullptr) != 1) {
    throw std::runtime_error("cannot open table " + table + " of " + file.string());
  }
  table_.reset(raw);
}

edb::EsedbRecord TableUnderTest::Record(int index) {
  edb::EsedbRecord record;
  edb::EsedbError error;
  if (!edb::RecordByIndex(table_.get(), index, &record, &error)) throw std::runtime_error(error.Message());
  return record;
}

int TableUnderTest::Column(const std::string& name) {
  edb::EsedbError error;
  edb::EsedbColumn column;
  std::u16string column_name;
  for (int i = 0; edb::ColumnByIndex(table_.get(), i, &column, &error); ++i) {
    if (edb::ColumnName(column.get(), &column_name, &error) && column_name == std::u16string(name.begin(), name.end())) {
      return i;
    }
  }
  throw std::runtime_error("no column " + name);
}

}  // namespace edbtest
