// Opening a folder of the model: its rows are read from its contents table
// into the session (mail rows and contacts kept for the item loader), each
// announced through the context's events.
//
//   ResetOpenFolder(session);
//   WalkOutcome walked = ReadFolderRows(context, folder);   // then the body pass
#pragma once

#include "store/folder_entry.h"
#include "store/store_session.h"
#include "store/table_walk.h"

namespace edb {

// Empties the open folder's mail rows and contacts and sets its row number
// back to 0.
void ResetOpenFolder(StoreSession& session);

// Sets the open folder's class to `folder`'s container class and walks the
// folder's contents table, so each row goes to the context's handlers. A
// folder without a contents table name, or one whose name is that of the
// attachment table ("1-23"), reads nothing and gives kComplete; otherwise
// the walk's outcome (table_walk.h): kRecordsSkipped when some row could not
// be read or handled (it was reported and skipped), kCancelled when the gate
// cancelled.
WalkOutcome ReadFolderRows(ReadContext& context, const FolderEntry& folder);

}  // namespace edb
