// The window's side of the store reader's events: progress moves the
// progress bar; each mailbox and folder the scan adds becomes a tree item
// (image by name and class, after the last child of its parent, the root
// kept expanded); the scan's tables set the status line; each listed row of
// the open folder becomes a line of the message list, and in save mode each
// mail or contact row shows its sender or subject on the status line.
//
// Lives for one piece of work on the worker that does it; the context must
// outlive it.
#pragma once

#include <string_view>

#include "store/store_events.h"
#include "app/ui/window_context.h"

namespace edb {

// The status line while the scan reads each store table.
std::u16string_view ScanTableStatus(StoreTable table);

class WindowEvents : public StoreEvents {
 public:
  explicit WindowEvents(WindowContext& context) : context_(context) {}

  void Progress(int position) override;
  void TableStarted(StoreTable table) override;
  void MailboxAdded(size_t index) override;
  void FolderAdded(size_t index) override;
  void RowRead(ItemFamily family, const ListRow& row, bool listed) override;

 private:
  TreeItem InsertTreeItem(TreeItem parent, const std::u16string& label,
                          const std::optional<std::u16string>& container_class);
  void ShowSaveStatus(const std::u16string& text);

  WindowContext& context_;
};

}  // namespace edb
