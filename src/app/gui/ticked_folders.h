// The folders the window's Save command writes, read from the tree's check
// boxes when Save is pressed: every folder whose own box is ticked and that
// has a contents table. A ticked mailbox has all its folders ticked, so it
// brings them all; a folder ticked on its own in an unticked mailbox is
// saved too, and a folder unticked under a ticked mailbox is not. Mailboxes
// come in scan order (two mailbox entries with one key count once), folders
// in folder-list order; each folder is saved under its mailbox's display
// name.
//
// Toolkit-free; reads the session, the tree items and the checks, keeps
// nothing.
#pragma once

#include <vector>

#include "app/ui/folder_checks.h"
#include "app/ui/save_flow.h"
#include "app/ui/window_tree.h"
#include "store/store_session.h"

namespace edbgui {

// `tree` holds the items of the session's mailboxes and folders.
std::vector<edb::SaveFolder> TickedFolders(const edb::StoreSession& session, const edb::WindowTree& tree,
                                           const edb::FolderChecks& checks);

}  // namespace edbgui
