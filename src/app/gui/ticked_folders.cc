// From the tree's ticks to the folders of a save.
#include "app/gui/ticked_folders.h"

#include <set>
#include <string>

namespace edbgui {

std::vector<edb::SaveFolder> TickedFolders(const edb::StoreSession& session, const edb::WindowTree& tree,
                                           const edb::FolderChecks& checks) {
  std::vector<edb::SaveFolder> chosen;
  std::set<std::u16string> mailboxes_seen;
  for (const edb::MailboxEntry& mailbox : session.mailboxes) {
    if (!mailboxes_seen.insert(mailbox.key).second) continue;
    for (size_t i = 0; i < session.folders.size(); ++i) {
      const edb::FolderEntry& folder = session.folders[i];
      if (folder.mailbox_key != mailbox.key || !folder.contents_table_name) continue;
      const edb::TreeItem item = i < tree.folder_items.size() ? tree.folder_items[i] : edb::TreeItem{};
      if (checks.checked(item)) chosen.push_back(edb::SaveFolder{mailbox.display_name, folder});
    }
  }
  return chosen;
}

}  // namespace edbgui
