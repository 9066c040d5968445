// The state of the store reader: the database being read, its table
// directory, and the entry lists the record handlers fill (the store
// model: mailboxes, folders, message index, attachments, and the rows of the
// folder that is open). One session serves a scan and every folder load and save
// that follows it; a scan empties and rebuilds it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/attachment_entry.h"
#include "store/contact_entry.h"
#include "store/folder_entry.h"
#include "base/status.h"
#include "ese/database.h"
#include "store/mailbox_entry.h"
#include "store/message_entry.h"
#include "store/msg_index_entry.h"
#include "store/open_folder_state.h"
#include "store/table_directory.h"

namespace edb {

class CorruptionReporter;

// A table of the open database, opened for reading through the database
// seam (its long values included).
struct OpenedTable {
  std::unique_ptr<ese::Table> handle;
  std::u16string name;
};

enum class TableLookup {
  kOpened,  // found in the directory and opened
  kAbsent,  // no table of that name
  kFailed,  // in the directory, but the database cannot open it
};

struct StoreSession {
  // Opens `database_path` read-only (closing any database open before)
  // with `reader_choice`; damage met while reading goes to `corruption` until the
  // database is closed (so `corruption` must live that long). On failure
  // (the file cannot be opened as an ESE database; the reason is the
  // reader's own) the session has no database.
  Status OpenDatabase(CorruptionReporter& corruption);
  // Closes the open database (if any) and drops its long-value provider.
  void CloseDatabase();
  // Empties the table directory and every entry list.
  void ClearLists();

  // Opens the table named `name` (exact match in the directory) into
  // `table`; on kFailed `error` holds why. The table must be dropped before
  // the database is closed.
  TableLookup OpenTable(std::u16string_view name, OpenedTable* table, Status* error) const;

  // The database file (native path, UTF-8 on Linux).
  std::string database_path;
  // Which reader OpenDatabase opens it with: our own (files it does not
  // know go to libesedb) or libesedb only.
  ese::ReaderChoice reader_choice = ese::ReaderChoice::kNative;
  // The database opened by the last scan, or null.
  std::unique_ptr<ese::Database> database;
  TableDirectory tables;

  std::vector<MailboxEntry> mailboxes;
  std::vector<FolderEntry> folders;
  std::vector<MsgIndexEntry> message_index;
  std::vector<AttachmentEntry> attachments;
  // The mail rows and contacts of the folder that is open (its listed rows).
  std::vector<MessageEntry> mail_rows;
  std::vector<ContactEntry> contacts;
  // The folder that is open: row number, class, save mode.
  OpenFolderState open_folder;

};

}  // namespace edb
