// Scanned test stores for the loader and preview tests.
#include "loader_support.h"

#include <stdexcept>

#include "output/folder_opener.h"
#include "store/scan_database.h"
#include "store/text_encoding.h"
#include "storegen/store_builder.h"

namespace edbtest {

int LoaderWindow::AppendListRow(int) {
  rows.emplace_back();
  return static_cast<int>(rows.size()) - 1;
}

void LoaderWindow::SetListCell(int row, int column, std::u16string_view text) {
  if (column < 8) rows.at(static_cast<size_t>(row))[static_cast<size_t>(column)] = text;
}

ScannedTestStore::ScannedTestStore(const storegen::StoreDescription& store) {
  const std::string path = (scratch_ / "store.edb").string();
  storegen::BuildStore(store, 8192, path);
  Scan(path);
}

ScannedTestStore::ScannedTestStore(const std::string& path) { Scan(path); }

void ScannedTestStore::Scan(const std::string& path) {
  session.database_path = path;
  if (edb::ScanDatabase(context) != edb::ScanOutcome::kCompleted) throw std::runtime_error("cannot scan " + path);
}

const edb::FolderEntry& ScannedTestStore::Folder(const std::string& mailbox, const std::string& name) const {
  for (const edb::MailboxEntry& box : session.mailboxes) {
    for (const edb::FolderEntry& folder : session.folders) {
      if (box.display_name == edb::Utf8ToUtf16(mailbox) && folder.mailbox_key == box.key &&
          folder.display_name == edb::Utf8ToUtf16(name)) {
        return folder;
      }
    }
  }
  throw std::runtime_error("no folder " + mailbox + "/" + name);
}

void ScannedTestStore::ListHeaders(const edb::FolderEntry& folder) {
  edb::ListFolderHeaders(context, folder.tree_item, folder.display_name);
}

int ScannedTestStore::Open(const edb::FolderEntry& folder) {
  edb::ItemBodyPass body_pass(&contents);
  edb::OpenFolder(context, folder.tree_item, folder.display_name, &body_pass);
  return body_pass.result();
}

edb::RowTexts ScannedTestStore::Row(const std::string& key) const {
  for (const edb::RowTexts& row : window.rows) {
    if (row[0] == edb::Utf8ToUtf16(key)) return row;
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

storegen::StoreDescription OneMailboxStore(std::vector<storegen::Folder> folders) {
  storegen::Mailbox mailbox;
  mailbox.key = 0x0100000000001000;
  mailbox.display_name = "Mailbox - Test";
  storegen::Folder top;
  top.id = 0x0100000000000100;
  top.display_name = "Top of Information Store";
  mailbox.folders.push_back(top);
  for (storegen::Folder& folder : folders) {
    folder.parent_id = top.id;
    mailbox.folders.push_back(std::move(folder));
  }
  storegen::StoreDescription store;
  store.mailboxes.push_back(std::move(mailbox));
  return store;
}

}  // namespace edbtest
