// Store events to tree items, list lines, the status line and progress bar.
#include "app/ui/window_events.h"

#include "app/ui/folder_image.h"

namespace edb {
namespace {

constexpr int kListRowImage = 1;

}  // namespace

std::u16string_view ScanTableStatus(StoreTable table) {
  switch (table) {
    case StoreTable::kMailboxes: return u"Status: Getting MailBox List";
    case StoreTable::kFolders: return u"Status: Getting Mailbox Folder List";
    case StoreTable::kMessageIndex: return u"Status: Getting Message Informations";
    case StoreTable::kAttachments: return u"Status: Getting Attachment Informations";
  }
  return u"";
}

void WindowEvents::Progress(int position) { context_.window.SetProgress(position); }

void WindowEvents::TableStarted(StoreTable table) { context_.window.SetStatusText(ScanTableStatus(table)); }

TreeItem WindowEvents::InsertTreeItem(TreeItem parent, const std::u16string& label,
                                      const std::optional<std::u16string>& container_class) {
  WindowTree& tree = context_.tree;
  const TreeItem item = context_.window.InsertTreeItem(parent, label, FolderImage(label, container_class));
  context_.window.ExpandTreeItem(tree.root);
  tree.last_inserted = item;
  return item;
}

void WindowEvents::MailboxAdded(size_t index) {
  const MailboxEntry& mailbox = context_.session.mailboxes[index];
  const TreeItem item = InsertTreeItem(context_.tree.root, mailbox.display_name, std::nullopt);
  context_.tree.mailbox_items.resize(index + 1);
  context_.tree.mailbox_items[index] = item;
}

void WindowEvents::FolderAdded(size_t index) {
  const FolderEntry& folder = context_.session.folders[index];
  WindowTree& tree = context_.tree;
  const TreeItem parent =
      folder.mailbox_index < tree.mailbox_items.size() ? tree.mailbox_items[folder.mailbox_index] : tree.root;
  const TreeItem item = InsertTreeItem(parent, folder.display_name, folder.container_class);
  tree.folder_items.resize(index + 1);
  tree.folder_items[index] = item;
}

void WindowEvents::ShowSaveStatus(const std::u16string& text) {
  context_.window.SetStatusText(context_.tree.open_folder_status + u"\\ " + text + u"]");
}

void WindowEvents::RowRead(ItemFamily family, const ListRow& row, bool listed) {
  if (context_.session.open_folder.save_mode) {
    if (family == ItemFamily::kMail) ShowSaveStatus(row.from);
    if (family == ItemFamily::kContact) ShowSaveStatus(row.subject);
  }
  if (!listed) return;
  WindowPort& window = context_.window;
  const std::vector<std::u16string> cells = ListRowCells(family, row);
  const int line = window.AppendListRow(kListRowImage);
  for (size_t column = 0; column < cells.size(); ++column) {
    window.SetListCell(line, static_cast<int>(column), cells[column]);
  }
}

}  // namespace edb
