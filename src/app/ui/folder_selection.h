// The selection lists recorded at every tree click: the ticked mailboxes, in
// mailbox list order, and for each of them every folder of its key, ticked
// or not, in folder list order. Only a mailbox whose own box is ticked
// contributes. Texts are copies; a missing text becomes "Unknown".
#pragma once

#include <string>
#include <vector>

#include "app/ui/folder_checks.h"
#include "store/folder_entry.h"
#include "store/mailbox_entry.h"
#include "app/ui/window_tree.h"

namespace edb {

struct SelectedMailbox {
  std::u16string key;
  std::u16string display_name;
  TreeItem tree_item;
};

struct SelectedFolder {
  std::u16string mailbox_key;
  std::u16string mailbox_name;
  TreeItem mailbox_tree_item;
  std::u16string folder_mailbox_key;
  std::u16string folder_name;
  std::u16string contents_table;
  std::u16string container_class;
  TreeItem folder_tree_item;
};

struct FolderSelection {
  std::vector<SelectedMailbox> mailboxes;
  std::vector<SelectedFolder> folders;
};

// Builds both lists from the current check states; `tree` holds the items
// of `mailboxes` and `folders`.
FolderSelection RebuildSelection(const std::vector<MailboxEntry>& mailboxes, const std::vector<FolderEntry>& folders,
                                 const WindowTree& tree, const FolderChecks& checks);

}  // namespace edb
