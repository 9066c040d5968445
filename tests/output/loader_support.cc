// Scanned test stores for the loader and preview tests.
#include "loader_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "output/folder_opener.h"
#include "store/scan_database.h"
#include "store/text_encoding.h"
#include "storegen/identifiers.h"
#include "storegen/store_builder.h"

namespace edbtest {

void LoaderWindow::SetListCell(int row, int column, std::u16string_view text) {
  std::vector<std::u16string>& cells = rows.at(static_cast<size_t>(row));
  if (cells.size() <= static_cast<size_t>(column)) cells.resize(static_cast<size_t>(column) + 1);
  cells[static_cast<size_t>(column)] = std::u16string(text);
}

ScannedTestStore::ScannedTestStore(const storegen::StoreDescription& store)
    : handlers_(session_, corruption_, nullptr), context_{session_, window_, handlers_, corruption_, nullptr} {
  const std::string path = (scratch_ / "store.edb").string();
  storegen::BuildStore(store, 8192, path);
  Scan(path);
}

ScannedTestStore::ScannedTestStore(const std::string& path)
    : handlers_(session_, corruption_, nullptr), context_{session_, window_, handlers_, corruption_, nullptr} {
  Scan(path);
}

void ScannedTestStore::Scan(const std::string& path) {
  session_.database_path = path;
  if (edb::ScanDatabase(context_) != edb::ScanOutcome::kCompleted) throw std::runtime_error("scan failed: " + path);
}

const edb::FolderEntry& ScannedTestStore::Folder(const std::string& mailbox, const std::string& name) const {
  for (const edb::MailboxEntry& box : session_.mailboxes) {
    if (box.display_name != edb::Utf8ToUtf16(mailbox)) continue;
    for (const edb::FolderEntry& folder : session_.folders) {
      if (folder.mailbox_key == box.key && folder.display_name == edb::Utf8ToUtf16(name)) return folder;
    }
  }
  throw std::runtime_error("no folder " + mailbox + "/" + name);
}

void ScannedTestStore::ListHeaders(const edb::FolderEntry& folder) {
  edb::ListFolderHeaders(context_, folder.tree_item, folder.display_name);
}

void ScannedTestStore::Open(const edb::FolderEntry& folder, edb::ItemWriter* writer) {
  edb::ItemBodyPass body_pass(&contents_, writer);
  edb::OpenFolder(context_, folder.tree_item, folder.display_name, &body_pass);
  last_result_ = body_pass.result();
}

edb::RowTexts ScannedTestStore::Row(const std::string& key) const {
  for (const std::vector<std::u16string>& cells : window_.rows) {
    if (cells.empty() || cells[0] != edb::Utf8ToUtf16(key)) continue;
    edb::RowTexts row;
    for (size_t c = 0; c < row.size() && c < cells.size(); ++c) row[c] = cells[c];
    return row;
  }
  throw std::runtime_error("no row " + key);
}

storegen::Item PlainMail(storegen::Id key, const std::string& subject, const std::string& body) {
  storegen::Item item;
  item.key = key;
  item.message_class = "IPM.Note";
  item.subject = subject;
  item.sender_name = "Ann";
  item.submit_time = storegen::MakeFileTime(2004, 1, 5, 13, 7, 9);
  item.body.plain = body;
  return item;
}

storegen::Folder MakeFolder(storegen::Id id, const std::string& name, const std::string& container_class,
                            std::vector<storegen::Item> items) {
  storegen::Folder folder;
  folder.id = id;
  folder.parent_id = 0x0100000000000100;
  folder.display_name = name;
  folder.container_class = container_class;
  folder.items = std::move(items);
  return folder;
}

storegen::StoreDescription OneMailboxStore(std::vector<storegen::Folder> folders) {
  storegen::Mailbox mailbox;
  mailbox.key = 0x0100000000001000;
  mailbox.display_name = "Mailbox - Test";
  storegen::Folder top;
  top.id = 0x0100000000000100;
  top.display_name = "Top of Information Store";
  mailbox.folders.push_back(std::move(top));
  for (storegen::Folder& folder : folders) mailbox.folders.push_back(std::move(folder));
  storegen::StoreDescription store;
  store.mailboxes.push_back(std::move(mailbox));
  return store;
}

std::string KeyText(storegen::Id key) { return storegen::IdText(key); }

}  // namespace edbtest
