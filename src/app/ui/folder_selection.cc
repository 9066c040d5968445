// Recording the ticked mailboxes and their folders.
#include "app/ui/folder_selection.h"

namespace edb {
namespace {

std::u16string OrUnknown(const std::u16string& text) { return text.empty() ? u"Unknown" : text; }

TreeItem ItemAt(const std::vector<TreeItem>& items, size_t index) {
  return index < items.size() ? items[index] : TreeItem{};
}

}  // namespace

FolderSelection RebuildSelection(const std::vector<MailboxEntry>& mailboxes, const std::vector<FolderEntry>& folders,
                                 const WindowTree& tree, const FolderChecks& checks) {
  FolderSelection selection;
  for (size_t m = 0; m < mailboxes.size(); ++m) {
    const MailboxEntry& mailbox = mailboxes[m];
    const TreeItem mailbox_item = ItemAt(tree.mailbox_items, m);
    if (!checks.checked(mailbox_item)) continue;
    selection.mailboxes.push_back(SelectedMailbox{mailbox.key, mailbox.display_name, mailbox_item});
    for (size_t f = 0; f < folders.size(); ++f) {
      const FolderEntry& folder = folders[f];
      if (folder.mailbox_key != mailbox.key) continue;
      selection.folders.push_back(SelectedFolder{OrUnknown(mailbox.key), OrUnknown(mailbox.display_name),
                                                 mailbox_item, OrUnknown(folder.mailbox_key),
                                                 OrUnknown(folder.display_name),
                                                 OrUnknown(folder.contents_table_name.value_or(u"")),
                                                 OrUnknown(folder.container_class), ItemAt(tree.folder_items, f)});
    }
  }
  return selection;
}

}  // namespace edb
