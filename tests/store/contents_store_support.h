// Test stores for the record handlers: databases written table by table with
// the ESE writer (rows built by column name), scanned and opened with the
// store's own handlers into a window that keeps what it is shown.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ese/database_writer.h"
#include "output/folder_opener.h"
#include "scan_recorders.h"
#include "store/private_temp_folder.h"
#include "store/scan_database.h"
#include "store/store_record_handlers.h"
#include "storegen/row_encoder.h"
#include "storegen/store_schema.h"
#include "test_support.h"

namespace contentstest {

// One table of a test database and its records, built row by row by name.
class TableRows {
 public:
  explicit TableRows(esewriter::TableSpec spec);
  // The row being built; Add() appends it and starts the next.
  storegen::RowEncoder& row() { return encoder_; }
  TableRows& Add();

  const esewriter::TableSpec& spec() const { return layout_->spec(); }
  const std::vector<esewriter::Record>& records() const { return records_; }

 private:
  std::unique_ptr<storegen::TableLayout> layout_;
  storegen::RowEncoder encoder_;
  std::vector<esewriter::Record> records_;
};

// Writes the tables, in order, to `path`.
void WriteDatabase(const std::filesystem::path& path, const std::vector<const TableRows*>& tables);

// A window that also keeps the message list as a table.
class ListWindow : public edbtest::RecordingWindow {
 public:
  void SetListColumns(std::span<const edb::ListColumn> columns) override;
  void ClearList() override;
  int AppendListRow(int image) override;
  void SetListCell(int row, int column, std::u16string_view text) override;

  std::vector<std::string> headings;
  std::vector<std::vector<std::string>> rows;  // UTF-8 cells as set
};

// A database scanned with StoreRecordHandlers, ready to open its folders.
class ScannedStore {
 public:
  explicit ScannedStore(const std::filesystem::path& path);

  // Opens the first listed folder named `name` as a click on it does;
  // fails the test when there is none.
  edb::FolderHeaders Open(const std::string& name, edb::FolderBodyPass* body_pass = nullptr);
  const edb::FolderEntry* FolderNamed(const std::string& name) const;

  edbtest::RecordingCorruption corruption;
  edb::StoreSession session;
  ListWindow window;
  edbtest::ScratchDir scratch;
  edb::PrivateTempFolder temp_folder{scratch.path()};
  edb::StoreRecordHandlers handlers{session, corruption, &temp_folder};
  edb::ExportContext context{session, window, handlers, corruption};
  edb::ScanOutcome outcome;
};

// A store of one mailbox ("Mailbox - Test") whose folders are added with the
// rows of their contents tables.
class FolderStore {
 public:
  FolderStore();

  // A folder (identifiers 0x0100000000009101 upwards unless `id` is given)
  // with the contents layout `layout`; returns its contents table for rows
  // to be added. The reference stays valid until Scan.
  TableRows& AddFolder(const std::string& name, const std::string& container_class, storegen::ContentsLayout layout,
                       std::optional<uint64_t> id = std::nullopt);
  // A folder whose contents table has the columns `columns`.
  TableRows& AddFolder(const std::string& name, const std::string& container_class,
                       std::vector<esewriter::ColumnSpec> columns);

  // Writes the store into `dir` and scans it.
  std::unique_ptr<ScannedStore> Scan(const edbtest::ScratchDir& dir);

 private:
  TableRows mailboxes_;
  TableRows folders_;
  std::vector<std::unique_ptr<TableRows>> tables_;
};

// The files of `folder` (names only), sorted.
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

}  // namespace contentstest
