// Recorders for the scan and table-export tests.
#include "scan_recorders.h"

#include "store/text_encoding.h"

namespace edbtest {

using edb::Utf16ToUtf8;

void RecordingWindow::SetStatusText(std::u16string_view text) { calls.push_back("status " + Utf16ToUtf8(text)); }
void RecordingWindow::SetProgress(int position) { calls.push_back("progress " + std::to_string(position)); }
void RecordingWindow::ClearTree() { calls.push_back("tree clear"); }

edb::TreeItem RecordingWindow::InsertTreeItem(edb::TreeItem parent, std::u16string_view label, int image) {
  edb::TreeItem item{next_item_++};
  calls.push_back("insert " + std::to_string(parent.id) + " " + Utf16ToUtf8(label) + " " + std::to_string(image) +
                  " -> " + std::to_string(item.id));
  return item;
}

void RecordingWindow::ExpandTreeItem(edb::TreeItem item) { calls.push_back("expand " + std::to_string(item.id)); }
void RecordingWindow::EnableTree(bool enabled) { calls.push_back(enabled ? "tree on" : "tree off"); }
void RecordingWindow::ClearList() { calls.push_back("list clear"); }

void RecordingWindow::SetListColumns(std::span<const edb::ListColumn> columns) {
  std::string line = "columns";
  for (const edb::ListColumn& column : columns) line += " " + Utf16ToUtf8(column.heading);
  calls.push_back(line);
}

int RecordingWindow::AppendListRow(int image) {
  calls.push_back("row " + std::to_string(image));
  return rows_++;
}

void RecordingWindow::SetListCell(int row, int column, std::u16string_view text) {
  calls.push_back("cell " + std::to_string(row) + " " + std::to_string(column) + " " + Utf16ToUtf8(text));
}

void RecordingWindow::EnableList(bool enabled) { calls.push_back(enabled ? "list on" : "list off"); }
void RecordingWindow::ShowStatusPage(std::u16string_view html) { calls.push_back("page " + Utf16ToUtf8(html)); }

void RecordingWindow::ShowMessage(edb::MessageKind kind, std::u16string_view text, std::u16string_view caption) {
  calls.push_back(std::string("message ") + (kind == edb::MessageKind::kError ? "error " : "info ") +
                  Utf16ToUtf8(text) + " | " + Utf16ToUtf8(caption));
}

std::vector<std::string> RecordingWindow::Calls(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls) {
    if (call.starts_with(prefix + " ")) found.push_back(call.substr(prefix.size() + 1));
  }
  return found;
}

std::vector<int> RecordingWindow::ProgressPositions() const {
  std::vector<int> positions;
  for (const std::string& call : Calls("progress")) positions.push_back(std::stoi(call));
  return positions;
}

int RecordingHandlers::Keep(edb::RecordHandlerKind kind, const edb::RecordRef&,
                            const edb::ColumnPositions& columns, int32_t index) {
  HandledRecord handled{kind, index, columns};
  records.push_back(handled);
  if (on_record) on_record(handled);
  return result ? result(handled) : 1;
}

int RecordingHandlers::Mailbox(const edb::RecordRef& record, const edb::ColumnPositions& columns, edb::WindowPort&) {
  return Keep(edb::RecordHandlerKind::kMailbox, record, columns, -1);
}
int RecordingHandlers::Folder(const edb::RecordRef& record, const edb::ColumnPositions& columns, edb::WindowPort&) {
  return Keep(edb::RecordHandlerKind::kFolder, record, columns, -1);
}
int RecordingHandlers::MessageIndex(const edb::RecordRef& record, const edb::ColumnPositions& columns, int32_t index,
                                    edb::WindowPort&) {
  return Keep(edb::RecordHandlerKind::kMessageIndex, record, columns, index);
}
int RecordingHandlers::Attachment(const edb::RecordRef& record, const edb::ColumnPositions& columns, int32_t index,
                                  edb::WindowPort&) {
  return Keep(edb::RecordHandlerKind::kAttachment, record, columns, index);
}
int RecordingHandlers::ContentsRow(const edb::RecordRef& record, const edb::ColumnPositions& columns, int32_t index,
                                   edb::WindowPort&) {
  return Keep(edb::RecordHandlerKind::kContentsRow, record, columns, index);
}
int RecordingHandlers::ItemContent(const edb::RecordRef& record, edb::WindowPort&) {
  return Keep(edb::RecordHandlerKind::kNone, record, edb::ColumnPositions{}, -1);
}

std::vector<int32_t> RecordingHandlers::Indexes(edb::RecordHandlerKind kind) const {
  std::vector<int32_t> indexes;
  for (const HandledRecord& record : records) {
    if (record.kind == kind) indexes.push_back(record.index);
  }
  return indexes;
}

void RecordingCorruption::Corruption(std::string_view where, std::string_view reason) {
  reports.push_back(std::string(where) + ": " + std::string(reason));
}

}  // namespace edbtest
