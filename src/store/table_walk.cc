// Table walk, dispatch by table name, and the single-record read.
#include "store/table_walk.h"

#include <new>
#include <optional>
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

RecordOutcome HandleRecord(ReadContext& context, RecordHandlerKind kind, const RecordRef& record,
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
  return RecordOutcome::kUnreadable;
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
  if (HandleRecord(context, kind, ref, columns, index) != RecordOutcome::kHandled) {
    context.corruption.Corruption(RecordWhere(table.name, index), "its handler could not read it");
    return false;
  }
  return true;
}

// The table's number of records; none, reported, when the database cannot
// count them (its record tree is damaged).
std::optional<int64_t> CountRecords(ReadContext& context, const OpenedTable& table) {
  Result<int64_t> count = table.handle->RecordCount();
  if (!count.ok()) {
    context.corruption.Corruption("records of table " + Utf16ToUtf8(table.name), count.status().reason());
    return std::nullopt;
  }
  return *count;
}

WalkOutcome WalkRecords(ReadContext& context, const OpenedTable& table) {
  RecordHandlerKind kind = HandlerForTable(table.name);
  ColumnSet set = ColumnSetForTable(table.name);
  ColumnPositions columns = InitialColumnPositions(set);
  WalkOutcome outcome = WalkOutcome::kComplete;
  if (set != ColumnSet::kNone && LocateColumns(table.handle->columns(), set, &columns) != ColumnNaming::kAllNamed) {
    outcome = WalkOutcome::kRecordsSkipped;
  }
  const std::optional<int64_t> count = CountRecords(context, table);
  if (!count) return WalkOutcome::kTableUnreadable;
  if (*count == 0) return outcome;
  ProgressSweep progress;
  for (int32_t index = 0; index < *count; ++index) {
    if (context.gate != nullptr && !context.gate->Pass()) return WalkOutcome::kCancelled;
    progress.Step(context.events);
    if (kind == RecordHandlerKind::kNone) return WalkOutcome::kRecordsSkipped;
    if (!ReadAndHandleRecord(context, table, kind, columns, index)) outcome = WalkOutcome::kRecordsSkipped;
  }
  return outcome;
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

WalkOutcome WalkTableByName(ReadContext& context, std::u16string_view name) {
  OpenedTable table;
  Status error;
  switch (context.session.OpenTable(name, &table, &error)) {
    case TableLookup::kAbsent: return WalkOutcome::kComplete;
    case TableLookup::kFailed:
      context.corruption.Corruption("table " + Utf16ToUtf8(name), error.reason());
      return WalkOutcome::kTableUnreadable;
    case TableLookup::kOpened: break;
  }
  return WalkTable(context, table);
}

WalkOutcome WalkTable(ReadContext& context, const OpenedTable& table) {
  if (!table.handle || table.name.empty()) return WalkOutcome::kTableUnreadable;
  try {
    return WalkRecords(context, table);
  } catch (const MemoryExhausted&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw MemoryExhausted(MemoryUse::kEntryLists);
  }
}

RecordOutcome ReadMsgRecord(ReadContext& context, const OpenedTable& table, int32_t index) {
  if (!table.handle) return RecordOutcome::kHandled;
  Result<std::unique_ptr<ese::Record>> record = table.handle->ReadRecord(index);
  if (!record.ok()) {
    ReportUnreadRecord(context, table, index, record.status());
    return RecordOutcome::kUnreadable;
  }
  if (table.name != u"Msg") return RecordOutcome::kHandled;
  try {
    RecordRef ref{record->get(), &table.handle->columns()};
    if (context.handlers.ItemContent(ref, context.events) != RecordOutcome::kHandled) {
      context.corruption.Corruption(RecordWhere(table.name, index), "the item's content could not be read");
      return RecordOutcome::kUnreadable;
    }
  } catch (const MemoryExhausted&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw MemoryExhausted(MemoryUse::kItemContent);
  }
  return RecordOutcome::kHandled;
}

}  // namespace edb
