// Header rows of a folder's contents table.
#include "store/contents_row_handler.h"

#include "store/column_kind.h"
#include "store/list_row.h"
#include "store/item_family.h"
#include "store/located_values.h"
#include "store/long_value_file.h"
#include "store/value_text.h"

namespace edb {
namespace {

// The name and type of the column of value `value`; false when the table's
// column list does not name it or the name would not fit kMaxColumnNameUnits
// with its terminator.
bool ReadColumn(const RecordRef& record, int value, std::u16string* name, uint32_t* type) {
  if (record.columns == nullptr || value < 0 || static_cast<size_t>(value) >= record.columns->size()) return false;
  const ese::ColumnInfo& column = (*record.columns)[static_cast<size_t>(value)];
  if (column.name.size() + 1 > kMaxColumnNameUnits) return false;
  *name = column.name;
  *type = column.type;
  return true;
}

// Writes the value at position 39 to a file named by the name found at 42; reports a
// failure and goes on.
void WriteFileValue(ContentsRowContext& context, const RecordRef& record,
                         const std::optional<std::u16string>& own_text, StoreEvents& events) {
  std::optional<std::u16string> name = ValueText(record, kContentsFileNamePosition, own_text);
  if (!name || name->empty() || context.temp_folder == nullptr) return;
  const Status written = WriteLongValueFile(record, kContentsFileValuePosition, *name, *context.temp_folder, events);
  if (!written.ok()) {
    context.corruption.Corruption(
        "value 39 of header row " + std::to_string(context.session.open_folder.row_number), written.reason());
  }
}

// Reads every value of the row; false when a column cannot be named or typed.
bool ReadListRowTexts(ContentsRowContext& context, const RecordRef& record, int count, StoreEvents& events,
                     ListRowTexts* texts) {
  ByteOrder order = ByteOrder::kLittleEndian;
  std::u16string name;
  for (int value = 0; value < count; ++value) {
    uint32_t type = 0;
    if (!ReadColumn(record, value, &name, &type)) return false;
    const ColumnReading reading = ChooseColumnReading(type, name);
    if (reading.switches_to_big_endian) order = ByteOrder::kBigEndian;
    const bool to_file = value == kContentsFileValuePosition;
    if (!to_file && !IsListColumn(name)) continue;  // its text would be dropped
    std::optional<std::u16string> text = RenderByKind(record, value, reading.kind, order);
    if (to_file) WriteFileValue(context, record, text, events);
    if (name == u"N67b0" && reading.kind != ColumnKind::kIdentifier) text.reset();
    CaptureListRowText(texts, name, std::move(text));
  }
  return true;
}

// Whether a row of `family` belongs in the folder's list. Mail rows of a
// class the list does not show are read and dropped; in save mode only
// journal rows are still listed.
bool IsListed(ItemFamily family, const ListRow& row, bool save_mode) {
  switch (family) {
    case ItemFamily::kMail: return !save_mode && IsListedMailClass(row.message_class);
    case ItemFamily::kJournal: return true;
    case ItemFamily::kContact:
    case ItemFamily::kAppointment:
    case ItemFamily::kNote:
    case ItemFamily::kActivity:
    case ItemFamily::kTask: return !save_mode;
    case ItemFamily::kNone: return false;
  }
  return false;
}

// Keeps the entry the item loader joins with the Msg records: mail rows of
// a listed class and every contact row.
void KeepEntry(StoreSession& session, ItemFamily family, const ListRow& row) {
  if (family == ItemFamily::kMail && IsListedMailClass(row.message_class)) {
    session.mail_rows.push_back(MessageEntryOf(row));
  } else if (family == ItemFamily::kContact) {
    session.contacts.push_back(ContactEntryOf(row));
  }
}

void TakeRow(StoreSession& session, const ListRow& row, StoreEvents& events) {
  const OpenFolderState& state = session.open_folder;
  const ItemFamily family = FamilyOfFolderClass(state.folder_class);
  if (family == ItemFamily::kNone) return;
  events.RowRead(family, row, IsListed(family, row, state.save_mode));
  KeepEntry(session, family, row);
}

}  // namespace

RecordOutcome HandleContentsRow(ContentsRowContext& context, const RecordRef& record, StoreEvents& events) {
  StoreSession& session = context.session;
  const int32_t number = ++session.open_folder.row_number;
  const int count = NumberOfValues(record);
  if (count == 0) return RecordOutcome::kUnreadable;
  ListRowTexts texts;
  if (!ReadListRowTexts(context, record, count, events, &texts)) return RecordOutcome::kUnreadable;
  session.open_folder.folder_class = OpenFolderClass(session.open_folder.folder_class);
  TakeRow(session, ListRow(std::move(texts), number), events);
  return RecordOutcome::kHandled;
}

}  // namespace edb
