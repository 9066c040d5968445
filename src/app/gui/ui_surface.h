// What the window does for a worker, called on the window's own (UI)
// thread only: the WindowBridge carries every worker request over to it.
// List rows arrive in batches, so a folder of many items is inserted in a
// few model updates instead of one per cell.
#pragma once

#include <string>
#include <vector>

#include "app/ui/tree_item.h"
#include "app/ui/window_port.h"

namespace edbgui {

using ListRow = std::vector<std::u16string>;

class UiSurface {
 public:
  virtual ~UiSurface() = default;
  virtual void SetStatusText(const std::u16string& text) = 0;
  virtual void SetProgress(int position) = 0;
  virtual void ClearTree() = 0;
  // `item` was chosen by the bridge; it is unique for the process.
  virtual void InsertTreeItem(edb::TreeItem item, edb::TreeItem parent, const std::u16string& label, int image) = 0;
  virtual void ExpandTreeItem(edb::TreeItem item) = 0;
  virtual void EnableTree(bool enabled) = 0;
  virtual void ClearList() = 0;
  virtual void SetListColumns(const std::vector<edb::ListColumn>& columns) = 0;
  // Appends rows at the end of the list; each row holds its cells from
  // column 0 (missing cells are empty).
  virtual void AppendListRows(std::vector<ListRow> rows) = 0;
  virtual void SetListCell(int row, int column, const std::u16string& text) = 0;
  virtual void EnableList(bool enabled) = 0;
  virtual void ShowStatusPage(const std::u16string& html) = 0;
  // Returns once the box is dismissed.
  virtual void ShowMessage(edb::MessageKind kind, const std::u16string& text, const std::u16string& caption) = 0;
};

}  // namespace edbgui
