// Small stores for the scan and export tests.
#include "scan_test_stores.h"

#include "store/text_encoding.h"

namespace edbtest {

std::u16string CellText(const std::string& column, int record) {
  return edb::Utf8ToUtf16(column + "@" + std::to_string(record));
}

std::vector<std::string> NumberedColumns(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back("C" + std::to_string(i));
  return names;
}

void WriteTextTables(const std::string& path, const std::vector<TextTable>& tables) {
  esewriter::DatabaseWriter db;
  for (const TextTable& table : tables) {
    esewriter::TableSpec layout{table.name, {}};
    for (const std::string& column : table.columns) {
      layout.columns.push_back({.name = column, .type = esewriter::ColumnType::kText, .codepage = 1200});
    }
    esewriter::TableWriter& writer = db.AddTable(layout);
    for (int r = 0; r < table.records; ++r) {
      esewriter::Record record;
      for (const std::string& column : table.columns) record.push_back(esewriter::Value::Text1200(CellText(column, r)));
      writer.Append(record);
    }
  }
  db.Finish(path);
}

}  // namespace edbtest
