// The table directory and its construction from libesedb's catalog.
#include "store/table_directory.h"

#include <string>

#include "base/corruption_reporter.h"
#include "ese/esedb_handles.h"
#include "store/store_session.h"

namespace edb {

void TableDirectory::Append(int32_t index, std::u16string name) {
  entries_.push_back(TableDirectoryEntry{index, std::move(name)});
}

const TableDirectoryEntry* TableDirectory::Find(std::u16string_view name) const {
  for (const TableDirectoryEntry& entry : entries_) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

void TableDirectory::Clear() { entries_.clear(); }

namespace {

// Reads the name of table `index`; false with `reason` set on failure.
bool ReadTableName(libesedb_file_t* file, int index, std::u16string* name, std::string* reason) {
  EsedbError error;
  EsedbTable table;
  if (!TableByIndex(file, index, &table, &error) || !TableName(table.get(), name, &error)) {
    *reason = error.has_error() ? error.Message() : "the table has no name";
    return false;
  }
  return true;
}

}  // namespace

int BuildTableDirectory(StoreSession& session, CorruptionReporter& corruption) {
  libesedb_file_t* file = session.database.get();
  if (file == nullptr) return 1;
  EsedbError error;
  int count = 0;
  if (libesedb_file_get_number_of_tables(file, &count, error.slot()) != 1) return 1;
  int result = 1;
  for (int index = 0; index < count; ++index) {
    std::u16string name;
    std::string reason;
    if (!ReadTableName(file, index, &name, &reason)) {
      corruption.Corruption("table " + std::to_string(index) + " of the catalog", reason);
      result = -1;
      continue;
    }
    session.tables.Append(index, std::move(name));
  }
  return result;
}

}  // namespace edb
