// From the tree's ticks to the folders of a save.
#include "app/gui/ticked_folders.h"

#include <set>
#include <string>

namespace edbgui {

std::vector<edb::SaveFolder> TickedFolders(const edb::StoreSession& session, const edb::FolderChecks& checks) {
  std::vector<edb::SaveFolder> chosen;
  std::set<std::u16string> mailboxes_seen;
  for (const edb::MailboxEntry& mailbox : session.mailboxes) {
    if (!mailboxes_seen.insert(mailbox.key).second) continue;
    for (const edb::FolderEntry& folder : session.folders) {
      if (folder.mailbox_key != mailbox.key || !folder.contents_table_name) continue;
      if (checks.checked(folder.tree_item)) chosen.push_back(edb::SaveFolder{mailbox.display_name, folder});
    }
  }
  return chosen;
}

}  // namespace edbgui
