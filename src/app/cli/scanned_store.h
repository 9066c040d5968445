// What the commands share: a store scanned with the store's record handlers
// (status and progress on the console), its model in tree order (mailboxes
// in table order, each with the folders under it), and one folder read into
// its list rows.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console_corruption_reporter.h"
#include "console_window.h"
#include "app/ui/list_columns.h"
#include "app/ui/window_context.h"
#include "base/private_temp_folder.h"
#include "store/body_pass.h"
#include "store/store_record_handlers.h"
#include "store/store_session.h"

namespace edbcli {

// Everything a scan works with. The temporary folder (for values the
// handlers export) is made only when asked for, and removed with the store.
class ScannedStore {
 public:
  // Throws std::runtime_error when `with_temp_folder` and the folder cannot
  // be created.
  explicit ScannedStore(bool with_temp_folder);

  // Scans `path`. False, after the reason was printed on standard error,
  // when the file cannot be opened as a database.
  bool Scan(const std::string& path);

  edb::StoreSession& session() { return session_; }
  ConsoleWindow& window() { return window_; }
  edb::WindowContext& context() { return context_; }

 private:
  ConsoleCorruptionReporter corruption_;  // outlives the session's provider
  edb::StoreSession session_;
  ConsoleWindow window_{false};
  std::unique_ptr<edb::PrivateTempFolder> temp_folder_;
  edb::StoreRecordHandlers handlers_;
  edb::WindowContext context_;
};

struct TreeFolder {
  const edb::FolderEntry* entry = nullptr;
  int image = 0;
};

struct TreeMailbox {
  const edb::MailboxEntry* entry = nullptr;
  int image = 0;
  std::vector<TreeFolder> folders;
};

// The mailboxes and folders of the scanned store in tree order, with the
// images the window's tree gives them. Valid until the store is scanned
// again.
std::vector<TreeMailbox> StoreTree(const edb::StoreSession& session);

// One folder as its list shows it: the columns its display name gives, and
// the cells of every listed row in order.
struct FolderListing {
  std::vector<edb::ListColumn> columns;
  std::vector<std::vector<std::u16string>> rows;
};

// Reads the rows of `folder` from its contents table (progress on the
// console) and, when `body_pass` is given, loads its items. A damaged row is
// reported and skipped.
FolderListing ReadFolder(ScannedStore& store, const edb::FolderEntry& folder, edb::FolderBodyPass* body_pass);

// The folder that `spec` names, the first in tree order: a contents table
// name ("1-91C1"), or "mailbox name/folder name" where the mailbox name is
// the longest prefix before a "/" that names a mailbox. Null when none.
const TreeFolder* FindTreeFolder(const std::vector<TreeMailbox>& tree, const std::string& spec);

// Scans `file` into `store` and returns a copy of the folder `spec` names
// (a copy: the lists change while the folder opens). Nullopt, after the
// reason was printed on standard error, when the file cannot be scanned or
// names no such folder.
std::optional<edb::FolderEntry> ScanAndFindFolder(ScannedStore& store, const std::string& file,
                                                  const std::string& spec);

}  // namespace edbcli
