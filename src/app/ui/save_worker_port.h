// The base of the windows a save worker drives. A save runs the same folder
// loads as a click in the tree; those loads would re-enable the tree and the
// list after each folder and move the progress bar per record, which a save
// shows its own way. This port drops those tree, list and progress requests
// and passes on tree insertions and message boxes; the status line and the
// status pages pass on too unless a subclass drops them.
//
// Lives as long as one save; `window` must outlive it. Called on the save
// worker only.
#pragma once

#include "app/ui/window_port.h"

namespace edb {

class SaveWorkerPort : public WindowPort {
 public:
  explicit SaveWorkerPort(WindowPort& window) : window_(window) {}

  void SetStatusText(std::u16string_view text) override { window_.SetStatusText(text); }
  void SetProgress(int) override {}
  void ClearTree() override {}
  TreeItem InsertTreeItem(TreeItem parent, std::u16string_view label, int image) override {
    return window_.InsertTreeItem(parent, label, image);
  }
  void ExpandTreeItem(TreeItem) override {}
  void EnableTree(bool) override {}
  void ClearList() override {}
  void SetListColumns(std::span<const ListColumn>) override {}
  int AppendListRow(int) override { return 0; }
  void SetListCell(int, int, std::u16string_view) override {}
  void EnableList(bool) override {}
  void ShowStatusPage(std::u16string_view html) override { window_.ShowStatusPage(html); }
  void ShowMessage(MessageKind kind, std::u16string_view text, std::u16string_view caption) override {
    window_.ShowMessage(kind, text, caption);
  }

 protected:
  WindowPort& window() { return window_; }

 private:
  WindowPort& window_;
};

}  // namespace edb
