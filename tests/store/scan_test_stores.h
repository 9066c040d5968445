// Small stores written with our ESE writer for the scan and export tests:
// tables of given names, columns and record counts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ese/database_writer.h"

namespace edbtest {

// A table whose columns are all UTF-16 text; record r holds, in every
// column c, the text "<column name>@<r>".
struct TextTable {
  std::string name;
  std::vector<std::string> columns;
  int records = 0;
};

// Writes the tables, in order, into a database at `path`.
void WriteTextTables(const std::string& path, const std::vector<TextTable>& tables);

// The text stored in column `column` of record `record` by WriteTextTables.
std::u16string CellText(const std::string& column, int record);

// Column names "C0", "C1", ... "C<count-1>".
std::vector<std::string> NumberedColumns(int count);

}  // namespace edbtest
