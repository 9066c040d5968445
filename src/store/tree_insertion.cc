// Tree insertion of mailbox and folder items.
#include "store/tree_insertion.h"

#include "store/folder_image.h"

namespace edb {

TreeItem InsertStoreTreeItem(StoreSession& session, WindowPort& window, TreeItem parent, const std::u16string& label,
                             const std::optional<std::u16string>& container_class) {
  TreeItem item = window.InsertTreeItem(parent, label, FolderImage(label, container_class));
  window.ExpandTreeItem(session.root_item);
  session.last_inserted_item = item;
  return item;
}

}  // namespace edb
