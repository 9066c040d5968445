// Opening, closing and emptying the store reader's session.
#include "store/store_session.h"

#include "base/corruption_reporter.h"
#include "ese/fast_long_value_source.h"

namespace edb {

StoreSession::StoreSession()
    : long_value_factory_([](const std::string& path, CorruptionReporter& corruption) {
        return std::make_unique<FastLongValueProvider>(path, &corruption, FastLongValueProvider::Notice());
      }) {}

bool StoreSession::OpenDatabase(CorruptionReporter& corruption, EsedbError* error) {
  CloseDatabase();
  database = OpenEsedbFile(database_path, error);
  if (!database) return false;
  long_values_ = long_value_factory_(database_path, corruption);
  return true;
}

void StoreSession::CloseDatabase() {
  long_values_.reset();
  database.reset();
}

void StoreSession::ClearLists() {
  tables.Clear();
  mailboxes.clear();
  folders.clear();
  message_index.clear();
  attachments.clear();
  headers.clear();
  contacts.clear();
}

TableLookup StoreSession::OpenTable(std::u16string_view name, OpenedTable* table, EsedbError* error) const {
  const TableDirectoryEntry* entry = tables.Find(name);
  if (entry == nullptr || !database) return TableLookup::kAbsent;
  if (!TableByIndex(database.get(), entry->index, &table->handle, error) ||
      !TableName(table->handle.get(), &table->name, error)) {
    return TableLookup::kFailed;
  }
  table->long_values = long_values_ ? long_values_->ForTable(table->name) : nullptr;
  if (!table->long_values) table->long_values = std::make_unique<EsedbLongValueSource>();
  return TableLookup::kOpened;
}

}  // namespace edb
