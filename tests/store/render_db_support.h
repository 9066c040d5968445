// Test access to one table of an ESE database: its records by index and the
// value position of a column by name, with libesedb's long-value source.
#pragma once

#include <filesystem>
#include <string>

#include "ese/esedb_handles.h"
#include "ese/long_value_source.h"

namespace edbtest {

// Throws std::runtime_error when the file, the table, a record or a column
// cannot be found.
class TableUnderTest {
 public:
  TableUnderTest(const std::filesystem::path& file, const std::string& table);
  edb::EsedbRecord Record(int index);
  int Column(const std::string& name);
  edb::LongValueSource* long_values() { return &long_values_; }

 private:
  edb::EsedbFile file_;
  edb::EsedbTable table_;
  edb::EsedbLongValueSource long_values_;
};

// A record of a table under test together with its long-value source.
struct RecordUnderTest {
  RecordUnderTest(TableUnderTest& table, int index) : record(table.Record(index)), source(table.long_values()) {}
  edb::RecordRef ref() const { return {record.get(), source}; }

  edb::EsedbRecord record;
  edb::LongValueSource* source;
};

}  // namespace edbtest
