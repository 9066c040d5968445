// Opening a folder of the tree as a click on its item does: the message list
// gets the columns for the clicked item's text, the folder's rows are read
// (and listed through WindowEvents), the body pass loads its items, and the
// tree, the list, the status line and the status pages follow along.
//
//   OpenFolder(context, clicked_item, clicked_item_text, &body_pass);
//
// Runs on the folder worker. Running out of memory ends the process with its
// error box (out_of_memory.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/body_pass.h"
#include "store/folder_entry.h"
#include "store/table_walk.h"
#include "app/ui/tree_item.h"
#include "app/ui/window_context.h"

namespace edb {

// Status page while a folder's rows and items load.
inline constexpr std::u16string_view kFolderWaitPage =
    u"<div align=\"center\"><p><p><img src=\"wait.gif\" /></p></div>";
// Status page once a folder is open (or a mailbox or the root was clicked).
inline constexpr std::u16string_view kFolderDonePage =
    u"<div align=\"center\"><p><img src=\"done.gif\" width=\"100\" height=\"100\" /></p>"
    u"<h1 >Click on above recovered items to see the preview!</h1></div>";

struct FolderRows {
  // The folder of the clicked item; none when the root or a mailbox was
  // clicked (nothing was read then, and the window was left enabled).
  std::optional<FolderEntry> folder;
  // How reading the folder's rows ended (ReadFolderRows).
  WalkOutcome walk_outcome = WalkOutcome::kComplete;
};

// The row pass of a click on `clicked`, whose display text is `item_text`:
//  1. empties the open folder's rows (ResetOpenFolder) and records
//     `clicked` as the open folder's item;
//  2. replaces the list's columns by those for `item_text` and removes every
//     row;
//  3. finds the folder whose tree item is `clicked`; none: returns;
//  4. disables the tree and the list;
//  5. sets the status line (and the open folder's status text) to
//     "Status: Getting <item_text> Header Informations" and shows the wait
//     page;
//  6. reads the folder's rows (ReadFolderRows), each listed row becoming a
//     line of the list.
// The tree and list stay disabled for the body pass; FinishFolderOpen
// enables them again.
FolderRows ListFolderRows(WindowContext& context, TreeItem clicked, std::u16string_view item_text);

// Steps 4 to 6 of the row pass for `folder`, whose display text is
// `item_text`.
FolderRows ReadRowsOf(WindowContext& context, const FolderEntry& folder, std::u16string_view item_text);

// Runs `body_pass` (when given) for the folder the row pass found, with the
// status line saying so; then enables the list and the tree. For a click on
// the root or a mailbox it does nothing.
void RunFolderBodyPass(WindowContext& context, const FolderRows& rows, std::u16string_view item_text,
                       FolderBodyPass* body_pass);

// Ends a folder click: shows the done page and sets the status line to " ".
void FinishFolderOpen(WindowContext& context);

// The whole click: ListFolderRows, RunFolderBodyPass, FinishFolderOpen.
// `body_pass` may be null (rows only).
FolderRows OpenFolder(WindowContext& context, TreeItem clicked, std::u16string_view item_text,
                      FolderBodyPass* body_pass = nullptr);

// The whole click for a folder named by its entry rather than a tree item
// (what a save opens): as OpenFolder on an item labelled with the folder's
// display name.
FolderRows OpenFolderEntry(WindowContext& context, const FolderEntry& folder, FolderBodyPass* body_pass);

// Sets the status line and remembers it as the open folder's status text.
void SetFolderStatus(WindowContext& context, std::u16string status);

}  // namespace edb
