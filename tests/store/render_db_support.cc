// Opening tables of the test databases.
#include "render_db_support.h"

#include <stdexcept>

namespace edbtest {

TableUnderTest::TableUnderTest(const std::filesystem::path& file, const std::string& table) {
  auto database = edb::ese::OpenDatabase(file.string(), edb::ese::ReaderChoice::kLibesedb, reporter_);
  if (!database.ok()) throw std::runtime_error("cannot open " + file.string() + ": " + database.status().reason());
  database_ = std::move(database).value();
  const std::u16string wanted(table.begin(), table.end());
  for (int i = 0; i < database_->table_count(); ++i) {
    auto name = database_->TableName(i);
    if (!name.ok() || *name != wanted) continue;
    auto opened = database_->OpenTable(i);
    if (!opened.ok()) break;
    table_ = std::move(opened).value();
    return;
  }
  throw std::runtime_error("cannot open table " + table + " of " + file.string());
}

std::unique_ptr<edb::ese::Record> TableUnderTest::Record(int index) {
  auto record = table_->ReadRecord(index);
  if (!record.ok()) throw std::runtime_error(record.status().reason());
  return std::move(record).value();
}

int TableUnderTest::Column(const std::string& name) {
  const std::u16string wanted(name.begin(), name.end());
  const auto& columns = table_->columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name == wanted) return static_cast<int>(i);
  }
  throw std::runtime_error("no column " + name);
}

}  // namespace edbtest
