// Table export, dispatch by table name, and the single-record export.
#include "store/export_table.h"

#include <new>
#include <string>

#include "store/column_positions.h"
#include "ese/esedb_handles.h"
#include "store/out_of_memory.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

bool IsUnexportedLength(size_t length) {
  switch (length) {
    case 3: case 6: case 7: case 12: case 14: case 16: return true;
    default: return false;
  }
}

std::string RecordWhere(std::u16string_view table_name, int32_t index) {
  return "table " + Utf16ToUtf8(table_name) + ", record " + std::to_string(index);
}

int HandleRecord(ExportContext& context, RecordHandlerKind kind, const RecordRef& record,
                 const ColumnPositions& columns, int32_t index) {
  RecordHandlers& handlers = context.handlers;
  WindowPort& window = context.window;
  switch (kind) {
    case RecordHandlerKind::kMailbox: return handlers.Mailbox(record, columns, window);
    case RecordHandlerKind::kFolder: return handlers.Folder(record, columns, window);
    case RecordHandlerKind::kMessageIndex: return handlers.MessageIndex(record, columns, index, window);
    case RecordHandlerKind::kAttachment: return handlers.Attachment(record, columns, index, window);
    case RecordHandlerKind::kContentsRow: return handlers.ContentsRow(record, columns, index, window);
    case RecordHandlerKind::kNone: break;
  }
  return -1;
}

// Fetches record `index` and hands it to the handler; reports and returns
// false when either fails.
bool ExportRecord(ExportContext& context, const OpenedTable& table, RecordHandlerKind kind,
                  const ColumnPositions& columns, int32_t index) {
  EsedbError error;
  EsedbRecord record;
  if (!RecordByIndex(table.handle.get(), index, &record, &error)) {
    context.corruption.Corruption(RecordWhere(table.name, index), error.Message());
    return false;
  }
  RecordRef ref{record.get(), table.long_values.get()};
  if (HandleRecord(context, kind, ref, columns, index) != 1) {
    context.corruption.Corruption(RecordWhere(table.name, index), "its handler could not read it");
    return false;
  }
  return true;
}

// The table's number of records; -1, reported, when libesedb cannot count
// them (its record tree is damaged).
int CountRecords(ExportContext& context, const OpenedTable& table) {
  EsedbError error;
  int count = 0;
  if (libesedb_table_get_number_of_records(table.handle.get(), &count, error.slot()) != 1) {
    context.corruption.Corruption("records of table " + Utf16ToUtf8(table.name), error.Message());
    return -1;
  }
  return count;
}

int ExportRecords(ExportContext& context, const OpenedTable& table) {
  RecordHandlerKind kind = HandlerForTable(table.name);
  ColumnSet set = ColumnSetForTable(table.name);
  ColumnPositions columns = InitialColumnPositions(set);
  int result = 1;
  if (set != ColumnSet::kNone &&
      LocateColumns(table.handle.get(), table.name, set, &columns, context.corruption) != 1) {
    result = -1;
  }
  int count = CountRecords(context, table);
  if (count < 0) return -1;
  if (count == 0) return result;
  ProgressSweep progress;
  for (int32_t index = 0; index < count; ++index) {
    if (context.gate != nullptr && !context.gate->Pass()) return -1;
    progress.Step(context.window);
    if (kind == RecordHandlerKind::kNone) return -1;
    if (!ExportRecord(context, table, kind, columns, index)) result = -1;
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
  if (!IsUnexportedLength(name.size())) return RecordHandlerKind::kContentsRow;
  return RecordHandlerKind::kNone;
}

int ExportTableByName(ExportContext& context, std::u16string_view name) {
  OpenedTable table;
  EsedbError error;
  switch (context.session.OpenTable(name, &table, &error)) {
    case TableLookup::kAbsent: return 1;
    case TableLookup::kFailed:
      context.corruption.Corruption("table " + Utf16ToUtf8(name), error.Message());
      return -1;
    case TableLookup::kOpened: break;
  }
  return ExportTable(context, table) == 1 ? 1 : -1;
}

int ExportTable(ExportContext& context, const OpenedTable& table) {
  if (!table.handle || table.name.empty() || !table.long_values) return -1;
  try {
    return ExportRecords(context, table);
  } catch (const std::bad_alloc&) {
    EndProcessOutOfMemory(context.window, kOutOfMemoryMessage);
  }
}

int ExportMsgRecord(ExportContext& context, const OpenedTable& table, int32_t index) {
  if (!table.handle || !table.long_values) return 1;
  EsedbError error;
  EsedbRecord record;
  if (!RecordByIndex(table.handle.get(), index, &record, &error)) {
    context.corruption.Corruption(RecordWhere(table.name, index), error.Message());
    return 1;
  }
  if (table.name != u"Msg") return 1;
  try {
    RecordRef ref{record.get(), table.long_values.get()};
    if (context.handlers.ItemContent(ref, context.window) != 1) {
      context.corruption.Corruption(RecordWhere(table.name, index), "the item's content could not be read");
    }
  } catch (const std::bad_alloc&) {
    EndProcessOutOfMemory(context.window, kNotEnoughMemoryMessage);
  }
  return 1;
}

}  // namespace edb
