// Inserting mailbox and folder items into the tree: the item's image comes
// from its label and container class, it goes after the last child of its
// parent (so siblings keep the order of the records), the root item is
// expanded afterwards, and the new item becomes the session's last inserted
// item.
#pragma once

#include <optional>
#include <string>

#include "store/store_session.h"
#include "store/window_port.h"

namespace edb {

// Inserts `label` under `parent` with image FolderImage(label,
// container_class) and returns the new item.
TreeItem InsertStoreTreeItem(StoreSession& session, WindowPort& window, TreeItem parent, const std::u16string& label,
                             const std::optional<std::u16string>& container_class);

}  // namespace edb
