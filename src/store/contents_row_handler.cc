// Header rows of a folder's contents table.
#include "store/contents_row_handler.h"

#include <libesedb.h>

#include "store/column_kind.h"
#include "ese/esedb_handles.h"
#include "store/header_row.h"
#include "store/item_family.h"
#include "store/located_values.h"
#include "store/long_value_export.h"
#include "store/value_text.h"

namespace edb {
namespace {

constexpr int kListRowImage = 1;

bool ReadColumn(const RecordRef& record, int value, std::u16string* name, uint32_t* type) {
  EsedbError error;
  size_t units = 0;
  if (libesedb_record_get_utf16_column_name_size(record.record, value, &units, error.slot()) != 1 ||
      units > kMaxColumnNameUnits) {
    return false;
  }
  if (!RecordColumnName(record.record, value, name, &error)) return false;
  return libesedb_record_get_column_type(record.record, value, type, error.slot()) == 1;
}

// Exports the value at position 39 under the name found at 42; reports a
// failure and goes on.
void ExportPositionValue(ContentsRowContext& context, const RecordRef& record,
                         const std::optional<std::u16string>& own_text, WindowPort& window) {
  std::optional<std::u16string> name = ValueText(record, kContentsExportNamePosition, own_text);
  if (!name || name->empty() || context.temp_folder == nullptr) return;
  std::string error;
  if (ExportLongValue(record, kContentsExportPosition, *name, *context.temp_folder, window, &error) != 1) {
    context.corruption.Corruption(
        "value 39 of header row " + std::to_string(context.session.open_folder.row_number), error);
  }
}

// Reads every value of the row; false when a column cannot be named or typed.
bool ReadHeaderTexts(ContentsRowContext& context, const RecordRef& record, int count, WindowPort& window,
                     HeaderTexts* texts) {
  ByteOrder order = ByteOrder::kLittleEndian;
  std::u16string name;
  for (int value = 0; value < count; ++value) {
    uint32_t type = 0;
    if (!ReadColumn(record, value, &name, &type)) return false;
    const ColumnReading reading = ChooseColumnReading(type, name);
    if (reading.switches_to_big_endian) order = ByteOrder::kBigEndian;
    const bool exported = value == kContentsExportPosition;
    if (!exported && !IsHeaderColumn(name)) continue;  // its text would be dropped
    std::optional<std::u16string> text = RenderByKind(record, value, reading.kind, order);
    if (exported) ExportPositionValue(context, record, text, window);
    if (name == u"N67b0" && reading.kind != ColumnKind::kIdentifier) text.reset();
    CaptureHeaderText(texts, name, std::move(text));
  }
  return true;
}

void AddListRow(WindowPort& window, ItemFamily family, const HeaderRow& row) {
  const std::vector<std::u16string> cells = HeaderRowCells(family, row);
  const int line = window.AppendListRow(kListRowImage);
  for (size_t column = 0; column < cells.size(); ++column) {
    window.SetListCell(line, static_cast<int>(column), cells[column]);
  }
}

void ShowSaveStatus(WindowPort& window, const OpenFolderState& state, const std::u16string& text) {
  window.SetStatusText(state.status_text + u"\\ " + text + u"]");
}

void ListRow(StoreSession& session, const HeaderRow& row, WindowPort& window) {
  const OpenFolderState& state = session.open_folder;
  const ItemFamily family = FamilyOfFolderClass(state.folder_class);
  switch (family) {
    case ItemFamily::kMail: {
      if (state.save_mode) ShowSaveStatus(window, state, row.from);
      if (!IsListedMailClass(row.message_class)) return;
      if (!state.save_mode) AddListRow(window, family, row);
      session.headers.push_back(MessageEntryOf(row));
      return;
    }
    case ItemFamily::kContact:
      if (state.save_mode) {
        ShowSaveStatus(window, state, row.subject);
      } else {
        AddListRow(window, family, row);
      }
      session.contacts.push_back(ContactEntryOf(row));
      return;
    case ItemFamily::kJournal:
      AddListRow(window, family, row);
      return;
    case ItemFamily::kAppointment:
    case ItemFamily::kNote:
    case ItemFamily::kActivity:
    case ItemFamily::kTask:
      if (!state.save_mode) AddListRow(window, family, row);
      return;
    case ItemFamily::kNone:
      return;
  }
}

}  // namespace

int HandleContentsRow(ContentsRowContext& context, const RecordRef& record, WindowPort& window) {
  StoreSession& session = context.session;
  const int32_t number = ++session.open_folder.row_number;
  const int count = NumberOfValues(record);
  if (count == 0) return -1;
  HeaderTexts texts;
  if (!ReadHeaderTexts(context, record, count, window, &texts)) return -1;
  session.open_folder.folder_class = OpenFolderClass(session.open_folder.folder_class);
  ListRow(session, HeaderRow(std::move(texts), number), window);
  return 1;
}

}  // namespace edb
