// The state of the store reader: the database being read, its table
// directory, the tree items the scan keeps, and the entry lists the record
// handlers fill. One session serves a scan and every folder load and save
// that follows it; a scan empties and rebuilds it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/attachment_entry.h"
#include "store/contact_entry.h"
#include "ese/esedb_handles.h"
#include "store/folder_entry.h"
#include "ese/long_value_source.h"
#include "store/mailbox_entry.h"
#include "store/message_entry.h"
#include "store/msg_index_entry.h"
#include "store/open_folder_state.h"
#include "store/table_directory.h"
#include "store/tree_item.h"

namespace edb {

class CorruptionReporter;

// Makes the long-value provider for a database just opened at `path`;
// damage the provider meets goes to `corruption`.
using LongValueProviderFactory =
    std::function<std::unique_ptr<LongValueProvider>(const std::string& path, CorruptionReporter& corruption)>;

// A table of the open database, opened for reading, with the long-value
// source its records are read through.
struct OpenedTable {
  EsedbTable handle;
  std::u16string name;
  std::unique_ptr<LongValueSource> long_values;
};

enum class TableLookup {
  kOpened,  // found in the directory and opened
  kAbsent,  // no table of that name
  kFailed,  // in the directory, but libesedb cannot open or name it
};

struct StoreSession {
  // Serves long values through the store reader's own long-value reader
  // (which falls back to libesedb's functions where it must).
  StoreSession();

  // Opens `database_path` read-only (closing any database open before) and
  // makes its long-value provider, which reports damage to `corruption`
  // until the database is closed (so `corruption` must live that long).
  // False, with `error` set, when the file cannot be opened as an ESE
  // database; the session then has no database.
  bool OpenDatabase(CorruptionReporter& corruption, EsedbError* error);
  // Closes the open database (if any) and drops its long-value provider.
  void CloseDatabase();
  // Empties the table directory and every entry list.
  void ClearLists();

  // Opens the table named `name` (exact match in the directory) into
  // `table`, with its long-value source. The table must be dropped before
  // the database is closed.
  TableLookup OpenTable(std::u16string_view name, OpenedTable* table, EsedbError* error) const;

  // The open database's long-value provider (code pages of columns, long
  // values by table); null when no database is open.
  LongValueProvider* long_value_provider() const { return long_values_.get(); }

  // Replaces how long-value providers are made (takes effect at the next
  // OpenDatabase).
  void set_long_value_factory(LongValueProviderFactory factory) { long_value_factory_ = std::move(factory); }

  // The database file (native path, UTF-8 on Linux).
  std::string database_path;
  // The database opened by the last scan, or null.
  EsedbFile database;
  TableDirectory tables;

  TreeItem root_item;
  // Where mailbox items are inserted (the root item after a scan).
  TreeItem mailbox_parent_item;
  // The item most recently inserted by the scan or a record handler.
  TreeItem last_inserted_item;

  std::vector<MailboxEntry> mailboxes;
  std::vector<FolderEntry> folders;
  std::vector<MsgIndexEntry> message_index;
  std::vector<AttachmentEntry> attachments;
  // The mail headers and contacts of the folder that is open.
  std::vector<MessageEntry> headers;
  std::vector<ContactEntry> contacts;
  // The folder that is open: row number, class, save mode, status text.
  OpenFolderState open_folder;

 private:
  LongValueProviderFactory long_value_factory_;
  std::unique_ptr<LongValueProvider> long_values_;
};

}  // namespace edb
