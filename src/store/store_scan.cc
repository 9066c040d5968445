// Opening a store and reading its store tables into the model.
#include "store/store_scan.h"

#include "store/table_directory.h"

namespace edb {
namespace {

bool Cancelled(const ReadContext& context) { return context.gate != nullptr && context.gate->cancelled(); }

}  // namespace

std::u16string_view StoreTableName(StoreTable table) {
  switch (table) {
    case StoreTable::kMailboxes: return u"Mailbox";
    case StoreTable::kFolders: return u"Folders";
    case StoreTable::kMessageIndex: return u"Msg";
    case StoreTable::kAttachments: return u"1-23";
  }
  return u"";
}

Status OpenStore(StoreSession& session, CorruptionReporter& corruption) {
  session.CloseDatabase();
  session.ClearLists();
  if (Status opened = session.OpenDatabase(corruption); !opened.ok()) return opened;
  BuildTableDirectory(session, corruption);
  return Status::Ok();
}

ScanResult ReadStoreTables(ReadContext& context) {
  for (StoreTable table : kStoreTablesInOrder) {
    if (Cancelled(context)) return ScanResult::kCancelled;
    context.events.TableStarted(table);
    WalkTableByName(context, StoreTableName(table));
  }
  return Cancelled(context) ? ScanResult::kCancelled : ScanResult::kCompleted;
}

}  // namespace edb
