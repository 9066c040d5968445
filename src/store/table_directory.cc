// The table directory and its construction from the database's catalog.
#include "store/table_directory.h"

#include <string>

#include "base/corruption_reporter.h"
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

DirectoryOutcome BuildTableDirectory(StoreSession& session, CorruptionReporter& corruption) {
  ese::Database* database = session.database.get();
  if (database == nullptr) return DirectoryOutcome::kEveryTableListed;
  DirectoryOutcome outcome = DirectoryOutcome::kEveryTableListed;
  for (int index = 0; index < database->table_count(); ++index) {
    Result<std::u16string> name = database->TableName(index);
    if (!name.ok()) {
      corruption.Corruption("table " + std::to_string(index) + " of the catalog", name.status().reason());
      outcome = DirectoryOutcome::kSomeTablesLeftOut;
      continue;
    }
    session.tables.Append(index, *std::move(name));
  }
  return outcome;
}

}  // namespace edb
