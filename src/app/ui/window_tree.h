// What the window keeps beside the store model: the tree items it made for
// the scanned store's mailboxes and folders (in the order of the session's
// lists), and the state of the folder the user opened last.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/ui/tree_item.h"

namespace edb {

struct WindowTree {
  // The root item, labelled with the database path.
  TreeItem root;
  // Item of session.mailboxes[i] and of session.folders[i].
  std::vector<TreeItem> mailbox_items;
  std::vector<TreeItem> folder_items;
  // The item most recently inserted.
  TreeItem last_inserted;

  // The tree item whose folder was opened last.
  TreeItem open_folder_item;
  // The status text the folder flow set last; a save shows each row's
  // sender or subject after it.
  std::u16string open_folder_status;

  // Forgets every item (the tree was cleared).
  void Clear() { *this = WindowTree{}; }

  // The position in session.folders of the folder whose item is `item`.
  std::optional<size_t> FolderOf(TreeItem item) const {
    if (!item.valid()) return std::nullopt;
    for (size_t i = 0; i < folder_items.size(); ++i) {
      if (folder_items[i] == item) return i;
    }
    return std::nullopt;
  }
  // The position in session.mailboxes of the mailbox whose item is `item`.
  std::optional<size_t> MailboxOf(TreeItem item) const {
    if (!item.valid()) return std::nullopt;
    for (size_t i = 0; i < mailbox_items.size(); ++i) {
      if (mailbox_items[i] == item) return i;
    }
    return std::nullopt;
  }
};

}  // namespace edb
