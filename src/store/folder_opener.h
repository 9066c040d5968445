// Opening a folder of the tree as a click on its item does, without any GUI:
// the message list gets the columns for the clicked item's text, the folder's
// contents table is exported through the row handler (its header pass), and
// the tree, the list, the status line and the status pages follow along.
//
// The body pass, which loads the content of every listed item, is not part of
// this file: it plugs in through FolderBodyPass and runs right after the
// header pass, while the tree and list are still disabled.
//
//   OpenFolder(context, clicked_item, clicked_item_text, &body_pass);
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/export_table.h"
#include "store/folder_entry.h"
#include "store/tree_item.h"

namespace edb {

// Status page while a folder's headers and items load.
inline constexpr std::u16string_view kFolderWaitPage =
    u"<div align=\"center\"><p><p><img src=\"wait.gif\" /></p></div>";
// Status page once a folder is open (or a mailbox or the root was clicked).
inline constexpr std::u16string_view kFolderDonePage =
    u"<div align=\"center\"><p><img src=\"done.gif\" width=\"100\" height=\"100\" /></p>"
    u"<h1 >Click on above recovered items to see the preview!</h1></div>";

// The pass that loads the items of a folder whose headers were just listed
// (the session's `headers` or `contacts`). It runs on the folder worker with
// the tree and list disabled, after the status line was set to
// "Status: Getting <text> Body & Attachment Informations".
class FolderBodyPass {
 public:
  virtual ~FolderBodyPass() = default;
  virtual void Run(ExportContext& context, const FolderEntry& folder) = 0;
};

struct FolderHeaders {
  // The folder of the clicked item; none when the root or a mailbox was
  // clicked (nothing was exported then, and the window was left enabled).
  std::optional<FolderEntry> folder;
  // What exporting the folder's contents table returned: 1 when every row
  // was handled (or there was nothing to export), -1 when some row could not
  // be read or handled (it was reported and skipped).
  int export_result = 1;
};

// The header pass of a click on `clicked`, whose display text is
// `item_text`:
//  1. empties the open folder's header and contact lists, resets its row
//     number to 0 and records `clicked` as the open folder's item;
//  2. replaces the list's columns by those for `item_text` and removes every
//     row;
//  3. (the ticked mailboxes and folders are not recorded here);
//  4. finds the FolderEntry whose tree item is `clicked`; none: returns;
//  5. sets the open folder class to its container class and disables the
//     tree and the list;
//  6. sets the status line (and the open folder's status text) to
//     "Status: Getting <item_text> Header Informations" and shows the wait
//     page;
//  7. exports the folder's contents table by name, so each row is listed by
//     the context's handlers. A folder without a contents table name, or one
//     whose name is that of the attachment table ("1-23"), exports nothing.
// The tree and list stay disabled for the body pass; FinishFolderOpen
// enables them again.
FolderHeaders ListFolderHeaders(ExportContext& context, TreeItem clicked, std::u16string_view item_text);

// Runs `body_pass` (when given) for the folder the header pass found, with
// the status line saying so; then enables the list and the tree. For a click
// on the root or a mailbox it does nothing.
void RunFolderBodyPass(ExportContext& context, const FolderHeaders& headers, std::u16string_view item_text,
                       FolderBodyPass* body_pass);

// Ends a folder click: shows the done page and sets the status line to " ".
void FinishFolderOpen(ExportContext& context);

// The whole click: ListFolderHeaders, RunFolderBodyPass, FinishFolderOpen.
// `body_pass` may be null (headers only).
FolderHeaders OpenFolder(ExportContext& context, TreeItem clicked, std::u16string_view item_text,
                         FolderBodyPass* body_pass = nullptr);

}  // namespace edb
