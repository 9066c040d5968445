// Table walk, dispatch by table name, and the single-record read.
#include "store/table_walk.h"

#include <new>
#include <string>

#include "store/column_positions.h"
#include "store/memory_exhausted.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

// The lengths of the names of the store's own tables that hold no folder
// rows: "Msg" 3, "Global" 6, "Folders" and "Mailbox" 7, "SmTblSection" and
// "SmTblVersion" 12, "SystemIndex_0A" 14, "SystemIndex_Gthr" 16. Any other
// table of such a length is passed over too (the selection goes by length,
// not by name); every table of another length is a folder's contents table.
constexpr size_t kSystemTableNameLengths[] = {3, 6, 7, 12, 14, 16};

bool IsSystemTableNameLength(size_t length) {
  for (size_t system_length : kSystemTableNameLengths) {
    if (length == system_length) return true;
  }
  return false;
}

std::string RecordWhere(std::u16string_view table_name, int32_t index) {
  return "table " + Utf16ToUtf8(table_name) + ", record " + std::to_string(index);
}

// A record the database could not give: reported here unless the database
// reported it already.
void ReportUnreadRecord(ReadContext& context, const OpenedTable& table, int32_t index, const Status& status) {
  if (!status.reported_as().empty()) return;
  context.corruption.Corruption(RecordWhere(table.name, index), status.reason());
}

int HandleRecord(ReadContext& context, RecordHandlerKind kind, const RecordRef& record,
                 const ColumnPositions& columns, int32_t index) {
  RecordHandlers& handlers = context.handlers;
  StoreEvents& events = context.events;
  switch (kind) {
    case RecordHandlerKind::kMailbox: return handlers.Mailbox(record, columns, events);
    case RecordHandlerKind::kFolder: return handlers.Folder(record, columns, events);
    case RecordHandlerKind::kMessageIndex: return handlers.MessageIndex(record, columns, index, events);
    case RecordHandlerKind::kAttachment: return handlers.Attachment(record, columns, index, events);
    case RecordHandlerKind::kContentsRow: return handlers.ContentsRow(record, columns, index, events);
    case RecordHandlerKind::kNone: break;
  }
  return -1;
}

// Fetches record `index` and hands it to the handler; reports and returns
// false when either fails.
bool ReadAndHandleRecord(ReadContext& context, const OpenedTable& table, RecordHandlerKind kind,
                  const ColumnPositions& columns, int32_t index) {
  Result<std::unique_ptr<ese::Record>> record = table.handle->ReadRecord(index);
  if (!record.ok()) {
    ReportUnreadRecord(context, table, index, record.status());
    return false;
  }
  RecordRef ref{record->get(), &table.handle->columns()};
  if (HandleRecord(context, kind, ref, columns, index) != 1) {
    context.corruption.Corruption(RecordWhere(table.name, index), "its handler could not read it");
    return false;
  }
  return true;
}

// The table's number of records; -1, reported, when the database cannot
// count them (its record tree is damaged).
int64_t CountRecords(ReadContext& context, const OpenedTable& table) {
  Result<int64_t> count = table.handle->RecordCount();
  if (!count.ok()) {
    context.corruption.Corruption("records of table " + Utf16ToUtf8(table.name), count.status().reason());
    return -1;
  }
  return *count;
}

int WalkRecords(ReadContext& context, const OpenedTable& table) {
  RecordHandlerKind kind = HandlerForTable(table.name);
  ColumnSet set = ColumnSetForTable(table.name);
  ColumnPositions columns = InitialColumnPositions(set);
  int result = 1;
  if (set != ColumnSet::kNone && LocateColumns(table.handle->columns(), set, &columns) != 1) result = -1;
  const int64_t count = CountRecords(context, table);
  if (count < 0) return -1;
  if (count == 0) return result;
  ProgressSweep progress;
  for (int32_t index = 0; index < count; ++index) {
    if (context.gate != nullptr && !context.gate->Pass()) return -1;
    progress.Step(context.events);
    if (kind == RecordHandlerKind::kNone) return -1;
    if (!ReadAndHandleRecord(context, table, kind, columns, index)) result = -1;
  }
  return result;
}

}  // namespace

RecordHandlerKind HandlerForTable(std::u16string_view name) {
  if (name.starts_with(u"1-")) {
    return name == u"1-23" ? RecordHandlerKind::kAttachment : RecordHandlerKind::kContentsRow;
  }
  if (name == u"Msg") return RecordHandlerKind::kMessageIndex;
  if (name == u"Folders") return RecordHandlerKind::kFolder;
  if (name == u"Mailbox") return RecordHandlerKind::kMailbox;
  if (!IsSystemTableNameLength(name.size())) return RecordHandlerKind::kContentsRow;
  return RecordHandlerKind::kNone;
}

int WalkTableByName(ReadContext& context, std::u16string_view name) {
  OpenedTable table;
  Status error;
  switch (context.session.OpenTable(name, &table, &error)) {
    case TableLookup::kAbsent: return 1;
    case TableLookup::kFailed:
      context.corruption.Corruption("table " + Utf16ToUtf8(name), error.reason());
      return -1;
    case TableLookup::kOpened: break;
  }
  return WalkTable(context, table) == 1 ? 1 : -1;
}

int WalkTable(ReadContext& context, const OpenedTable& table) {
  if (!table.handle || table.name.empty()) return -1;
  try {
    return WalkRecords(context, table);
  } catch (const MemoryExhausted&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw MemoryExhausted(MemoryUse::kEntryLists);
  }
}

int ReadMsgRecord(ReadContext& context, const OpenedTable& table, int32_t index) {
  if (!table.handle) return 1;
  Result<std::unique_ptr<ese::Record>> record = table.handle->ReadRecord(index);
  if (!record.ok()) {
    ReportUnreadRecord(context, table, index, record.status());
    return 1;
  }
  if (table.name != u"Msg") return 1;
  try {
    RecordRef ref{record->get(), &table.handle->columns()};
    if (context.handlers.ItemContent(ref, context.events) != 1) {
      context.corruption.Corruption(RecordWhere(table.name, index), "the item's content could not be read");
    }
  } catch (const MemoryExhausted&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw MemoryExhausted(MemoryUse::kItemContent);
  }
  return 1;
}

}  // namespace edb
