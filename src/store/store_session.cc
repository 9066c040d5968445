// Opening, closing and emptying the store reader's session.
#include "store/store_session.h"

#include "base/corruption_reporter.h"

namespace edb {

Status StoreSession::OpenDatabase(CorruptionReporter& corruption) {
  CloseDatabase();
  Result<std::unique_ptr<ese::Database>> opened = ese::OpenDatabase(database_path, reader_choice, corruption);
  if (!opened.ok()) return opened.status();
  database = std::move(opened).value();
  return Status::Ok();
}

void StoreSession::CloseDatabase() { database.reset(); }

void StoreSession::ClearLists() {
  tables.Clear();
  mailboxes.clear();
  folders.clear();
  message_index.clear();
  attachments.clear();
  mail_rows.clear();
  contacts.clear();
}

TableLookup StoreSession::OpenTable(std::u16string_view name, OpenedTable* table, Status* error) const {
  const TableDirectoryEntry* entry = tables.Find(name);
  if (entry == nullptr || !database) return TableLookup::kAbsent;
  Result<std::unique_ptr<ese::Table>> opened = database->OpenTable(entry->index);
  if (!opened.ok()) {
    *error = opened.status();
    return TableLookup::kFailed;
  }
  table->handle = std::move(opened).value();
  table->name = table->handle->name();
  return TableLookup::kOpened;
}

}  // namespace edb
