// Shared by the loader and preview tests: a store database written from a
// description, scanned with the store's record handlers into a window that
// keeps the progress bar's positions and the list rows, ready to open
// folders with the body pass.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "output/body_pass.h"
#include "output/preview_pages.h"
#include "storegen/store_description.h"
#include "store/corruption_reporter.h"
#include "store/export_table.h"
#include "store/folder_contents.h"
#include "store/store_record_handlers.h"
#include "store/store_session.h"
#include "store/window_port.h"
#include "test_support.h"

namespace edbtest {

// Keeps the progress bar's positions and the message list; ignores the rest.
class LoaderWindow : public edb::WindowPort {
 public:
  void SetStatusText(std::u16string_view) override {}
  void SetProgress(int position) override { progress.push_back(position); }
  void ClearTree() override {}
  edb::TreeItem InsertTreeItem(edb::TreeItem, std::u16string_view, int) override { return {next_item_++}; }
  void ExpandTreeItem(edb::TreeItem) override {}
  void EnableTree(bool) override {}
  void ClearList() override { rows.clear(); }
  void SetListColumns(std::span<const edb::ListColumn>) override {}
  int AppendListRow(int) override {
    rows.emplace_back();
    return static_cast<int>(rows.size()) - 1;
  }
  void SetListCell(int row, int column, std::u16string_view text) override;
  void EnableList(bool) override {}
  void ShowStatusPage(std::u16string_view) override {}
  void ShowMessage(edb::MessageKind, std::u16string_view, std::u16string_view) override {}

  std::vector<int> progress;
  std::vector<std::vector<std::u16string>> rows;

 private:
  int64_t next_item_ = 1;
};

class KeptCorruption : public edb::CorruptionReporter {
 public:
  void Corruption(std::string_view where, std::string_view reason) override {
    reports.push_back(std::string(where) + ": " + std::string(reason));
  }
  std::vector<std::string> reports;
};

// A store written from `store` into a scratch folder and scanned.
class ScannedTestStore {
 public:
  explicit ScannedTestStore(const storegen::StoreDescription& store);
  // Scans an existing database (the bundled sample store).
  explicit ScannedTestStore(const std::string& path);

  // The folder whose display name is `name` in the mailbox named `mailbox`.
  const edb::FolderEntry& Folder(const std::string& mailbox, const std::string& name) const;

  // Lists the folder's headers only (no body pass).
  void ListHeaders(const edb::FolderEntry& folder);
  // Opens the folder as a click does, body pass included, into contents().
  void Open(const edb::FolderEntry& folder, edb::ItemWriter* writer = nullptr);

  // Columns 0 to 7 of the first list row whose key is `key`.
  edb::RowTexts Row(const std::string& key) const;

  edb::StoreSession& session() { return session_; }
  edb::ExportContext& context() { return context_; }
  LoaderWindow& window() { return window_; }
  KeptCorruption& corruption() { return corruption_; }
  edb::FolderContents& contents() { return contents_; }
  int last_result() const { return last_result_; }

 private:
  void Scan(const std::string& path);

  ScratchDir scratch_;
  KeptCorruption corruption_;
  edb::StoreSession session_;
  LoaderWindow window_;
  edb::StoreRecordHandlers handlers_;
  edb::ExportContext context_;
  edb::FolderContents contents_;
  int last_result_ = 0;
};

// A mail item of `folder` with key `key`, subject `subject` and a plain body.
storegen::Item PlainMail(storegen::Id key, const std::string& subject, const std::string& body);

// One user mailbox "Mailbox - Test" with the given folders.
storegen::StoreDescription OneMailboxStore(std::vector<storegen::Folder> folders);

storegen::Folder MakeFolder(storegen::Id id, const std::string& name, const std::string& container_class,
                            std::vector<storegen::Item> items);

std::string KeyText(storegen::Id key);

}  // namespace edbtest
