// The scan of a store: the entry point that turns a database file into the
// store model. Opening empties the session and opens its database; reading
// the store tables fills the session's mailboxes, folders, message index and
// attachments, announcing each table, mailbox and folder through the
// context's events.
//
//   StoreSession session;  session.database_path = path;
//   if (Status opened = OpenStore(session, reporter); !opened.ok()) ...;
//   ReadContext context{session, events, handlers, reporter, &gate};
//   ScanResult result = ReadStoreTables(context);
//
// Runs on the caller's thread; events come on it.
#pragma once

#include <array>
#include <string_view>

#include "base/corruption_reporter.h"
#include "base/status.h"
#include "store/store_session.h"
#include "store/table_walk.h"

namespace edb {

inline constexpr std::array<StoreTable, 4> kStoreTablesInOrder = {
    StoreTable::kMailboxes, StoreTable::kFolders, StoreTable::kMessageIndex, StoreTable::kAttachments};

// The table's name in the database: "Mailbox", "Folders", "Msg", "1-23".
std::u16string_view StoreTableName(StoreTable table);

// Closes the session's database, empties its table directory and lists,
// then opens `session.database_path` read-only with the session's reader
// choice and reads its table directory. On failure (the file is not a
// readable ESE database; the reason is the reader's own) the session has no
// database. Damage met later goes to `corruption`, which must outlive the
// open database.
Status OpenStore(StoreSession& session, CorruptionReporter& corruption);

enum class ScanResult {
  kCompleted,  // every store table was attempted (an absent one is skipped)
  kCancelled,  // the gate was cancelled; reading stopped between records
};

// Reads "Mailbox", "Folders", "Msg" and "1-23" in that order into the
// context's session: each table is announced (events.TableStarted) and then
// walked, whatever happened to the one before; a damaged record or table is
// reported and costs only itself. A cancelled gate ends the reading before
// the next table or record, leaving what was added.
ScanResult ReadStoreTables(ReadContext& context);

}  // namespace edb
