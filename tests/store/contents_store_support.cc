// Test stores for the record handlers.
#include "contents_store_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "store/text_encoding.h"
#include "storegen/identifiers.h"

namespace contentstest {

TableRows::TableRows(esewriter::TableSpec spec)
    : layout_(std::make_unique<storegen::TableLayout>(std::move(spec))), encoder_(*layout_) {}

TableRows& TableRows::Add() {
  records_.push_back(encoder_.Take());
  return *this;
}

void WriteDatabase(const std::filesystem::path& path, const std::vector<const TableRows*>& tables) {
  esewriter::DatabaseWriter writer({.page_size = 8192, .scratch_directory = path.parent_path().string()});
  for (const TableRows* table : tables) {
    esewriter::TableWriter& out = writer.AddTable(table->spec());
    for (const esewriter::Record& record : table->records()) out.Append(record);
  }
  writer.Finish(path.string());
}

void ListWindow::SetListColumns(std::span<const edb::ListColumn> columns) {
  RecordingWindow::SetListColumns(columns);
  headings.clear();
  for (const edb::ListColumn& column : columns) headings.push_back(edb::Utf16ToUtf8(column.heading));
}

void ListWindow::ClearList() {
  RecordingWindow::ClearList();
  rows.clear();
}

int ListWindow::AppendListRow(int image) {
  RecordingWindow::AppendListRow(image);
  rows.emplace_back();
  return static_cast<int>(rows.size()) - 1;
}

void ListWindow::SetListCell(int row, int column, std::u16string_view text) {
  RecordingWindow::SetListCell(row, column, text);
  std::vector<std::string>& cells = rows.at(row);
  if (cells.size() <= static_cast<size_t>(column)) cells.resize(column + 1);
  cells[column] = edb::Utf16ToUtf8(text);
}

ScannedStore::ScannedStore(const std::filesystem::path& path) {
  session.database_path = path.string();
  outcome = edb::ScanDatabase(context);
}

const edb::FolderEntry* ScannedStore::FolderNamed(const std::string& name) const {
  for (const edb::FolderEntry& folder : session.folders) {
    if (edb::Utf16ToUtf8(folder.display_name) == name) return &folder;
  }
  return nullptr;
}

edb::FolderHeaders ScannedStore::Open(const std::string& name, edb::FolderBodyPass* body_pass) {
  const edb::FolderEntry* folder = FolderNamed(name);
  EXPECT_NE(folder, nullptr) << "no folder " << name;
  if (folder == nullptr) return {};
  const edb::FolderEntry clicked = *folder;
  return edb::OpenFolder(context, clicked.tree_item, clicked.display_name, body_pass);
}

namespace {
constexpr uint64_t kMailboxKey = 0x0100000000000e21;
}  // namespace

FolderStore::FolderStore() : mailboxes_(storegen::MailboxTableSpec()), folders_(storegen::FoldersTableSpec()) {
  mailboxes_.row().SetId("Q6764", kMailboxKey);
  mailboxes_.row().SetText("S3001", "Mailbox - Test");
  mailboxes_.Add();
}

TableRows& FolderStore::AddFolder(const std::string& name, const std::string& container_class,
                                  storegen::ContentsLayout layout, std::optional<uint64_t> id) {
  const uint64_t folder_id = id.value_or(0x0100000000009100 + tables_.size() + 1);
  folders_.row().SetId("Q6748", folder_id);
  folders_.row().SetId("Q6764", kMailboxKey);
  folders_.row().SetText("S3001", name);
  folders_.row().SetText("S3613", container_class);
  folders_.Add();
  const std::string table = storegen::ContentsTableName(storegen::IdText(folder_id));
  tables_.push_back(std::make_unique<TableRows>(storegen::ContentsTableSpec(table, layout)));
  return *tables_.back();
}

TableRows& FolderStore::AddFolder(const std::string& name, const std::string& container_class,
                                  std::vector<esewriter::ColumnSpec> columns) {
  const std::string table = AddFolder(name, container_class, storegen::ContentsLayout::kKeyFirst).spec().name;
  tables_.back() = std::make_unique<TableRows>(esewriter::TableSpec{table, std::move(columns)});
  return *tables_.back();
}

std::unique_ptr<ScannedStore> FolderStore::Scan(const edbtest::ScratchDir& dir) {
  std::vector<const TableRows*> tables = {&mailboxes_, &folders_};
  for (const auto& table : tables_) tables.push_back(table.get());
  WriteDatabase(dir / "store.edb", tables);
  auto store = std::make_unique<ScannedStore>(dir / "store.edb");
  EXPECT_EQ(store->outcome, edb::ScanOutcome::kCompleted);
  return store;
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace contentstest
