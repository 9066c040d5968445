// Test access to one table of an ESE database: its records by index and the
// value position of a column by name, with libesedb's long-value source.
#pragma once

#include <filesystem>
#include <string>

#include "store/esedb_handles.h"
#include "store/long_value_source.h"

namespace edbtest {

class TableUnderTest {
 public:
  // Opens `table` of `file` read-only; throws std::runtime_error when either
  // cannot be opened.
  TableUnderTest(const std::filesystem::path& file, const std::string& table);

  int record_count() const { return record_count_; }

  // Record `index`; throws when libesedb cannot read it.
  edb::EsedbRecord Record(int index);

  // Value position of the column named `name`; throws when there is none.
  int Column(const std::string& name);

  edb::LongValueSource* long_values() { return &long_values_; }

 private:
  edb::EsedbFile file_;
  edb::EsedbTable table_;
  int record_count_ = 0;
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
