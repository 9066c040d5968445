// Test access to one table of an ESE database through the database seam
// (libesedb's reader, long values included): its records by index and the
// value position of a column by name.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "base/corruption_reporter.h"
#include "ese/database.h"
#include "store/record_value.h"

namespace edbtest {

// Throws std::runtime_error when the file, the table, a record or a column
// cannot be found.
class TableUnderTest {
 public:
  TableUnderTest(const std::filesystem::path& file, const std::string& table);
  std::unique_ptr<edb::ese::Record> Record(int index);
  int Column(const std::string& name);
  const std::vector<edb::ese::ColumnInfo>& columns() const { return table_->columns(); }

 private:
  edb::NullCorruptionReporter reporter_;
  std::unique_ptr<edb::ese::Database> database_;
  std::unique_ptr<edb::ese::Table> table_;
};

// A record of a table under test together with its table's columns.
struct RecordUnderTest {
  RecordUnderTest(TableUnderTest& table, int index) : record(table.Record(index)), columns(&table.columns()) {}
  edb::RecordRef ref() const { return {record.get(), columns}; }

  std::unique_ptr<edb::ese::Record> record;
  const std::vector<edb::ese::ColumnInfo>* columns;
};

}  // namespace edbtest
