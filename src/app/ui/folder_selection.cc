// Recording the ticked mailboxes and their folders.
#include "app/ui/folder_selection.h"

namespace edb {
namespace {

std::u16string OrUnknown(const std::u16string& text) { return text.empty() ? u"Unknown" : text; }

}  // namespace

FolderSelection RebuildSelection(const std::vector<MailboxEntry>& mailboxes, const std::vector<FolderEntry>& folders,
                                 const FolderChecks& checks) {
  FolderSelection selection;
  for (const MailboxEntry& mailbox : mailboxes) {
    if (!checks.checked(mailbox.tree_item)) continue;
    selection.mailboxes.push_back(SelectedMailbox{mailbox.key, mailbox.display_name, mailbox.tree_item});
    for (const FolderEntry& folder : folders) {
      if (folder.mailbox_key != mailbox.key) continue;
      selection.folders.push_back(SelectedFolder{OrUnknown(mailbox.key), OrUnknown(mailbox.display_name),
                                                 mailbox.tree_item, OrUnknown(folder.mailbox_key),
                                                 OrUnknown(folder.display_name),
                                                 OrUnknown(folder.contents_table_name.value_or(u"")),
                                                 OrUnknown(folder.container_class), folder.tree_item});
    }
  }
  return selection;
}

}  // namespace edb
