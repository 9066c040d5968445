// Shared by the loader and preview tests: a store (written from a
// description, or the bundled sample) scanned with the store's record
// handlers into a window that keeps the progress positions and list rows.
#pragma once

#include <string>
#include <vector>

#include "output/body_pass.h"
#include "output/preview_pages.h"
#include "store/corruption_reporter.h"
#include "store/store_record_handlers.h"
#include "storegen/store_description.h"
#include "test_support.h"

namespace edbtest {

class LoaderWindow : public edb::WindowPort {
 public:
  void SetStatusText(std::u16string_view) override {}
  void SetProgress(int position) override { progress.push_back(position); }
  void ClearTree() override {}
  edb::TreeItem InsertTreeItem(edb::TreeItem, std::u16string_view, int) override { return {++items_}; }
  void ExpandTreeItem(edb::TreeItem) override {}
  void EnableTree(bool) override {}
  void ClearList() override { rows.clear(); }
  void SetListColumns(std::span<const edb::ListColumn>) override {}
  int AppendListRow(int) override;
  void SetListCell(int row, int column, std::u16string_view text) override;
  void EnableList(bool) override {}
  void ShowStatusPage(std::u16string_view) override {}
  void ShowMessage(edb::MessageKind, std::u16string_view, std::u16string_view) override {}

  std::vector<int> progress;
  std::vector<edb::RowTexts> rows;

 private:
  int64_t items_ = 0;
};

class ScannedTestStore {
 public:
  // Writes `store` into a scratch folder and scans it.
  explicit ScannedTestStore(const storegen::StoreDescription& store);
  // Scans the database at `path`.
  explicit ScannedTestStore(const std::string& path);

  // Folder `name` of mailbox `mailbox`; throws when there is none.
  const edb::FolderEntry& Folder(const std::string& mailbox, const std::string& name) const;
  // Lists the folder's headers (no body pass).
  void ListHeaders(const edb::FolderEntry& folder);
  // Opens the folder as a click does, body pass included, into contents.
  int Open(const edb::FolderEntry& folder);
  // Columns 0 to 7 of the list row whose key is `key`.
  edb::RowTexts Row(const std::string& key) const;

  edb::NullCorruptionReporter corruption;
  edb::StoreSession session;
  LoaderWindow window;
  edb::FolderContents contents;

 private:
  void Scan(const std::string& path);

  ScratchDir scratch_;
  edb::StoreRecordHandlers handlers_{session, corruption, nullptr};

 public:
  edb::ExportContext context{session, window, handlers_, corruption, nullptr};
};

// A mail item with a plain-text body.
storegen::Item PlainMail(storegen::Id key, const std::string& subject, const std::string& body);

// One user mailbox "Mailbox - Test" holding `folders` (id, name, class, items).
storegen::StoreDescription OneMailboxStore(std::vector<storegen::Folder> folders);

}  // namespace edbtest
