// The window seam: everything the store reader and its workers do to the main
// window goes through this interface, so nothing here depends on a GUI
// toolkit. The desktop window implements it with its controls, the command
// line prints what matters, and tests record every call in order.
//
// Implementations are called from worker threads and must carry the request
// over to their own thread if they need to. Calls return when the request has
// been carried out (a message box returns once it has been dismissed).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/ui/tree_item.h"

namespace edb {

// Caption of the application's message boxes.
inline constexpr std::u16string_view kMessageCaption = u"Zendrask Systems Exchange Recovery";

enum class MessageKind {
  kInformation,  // information icon, OK
  kError,        // error icon, OK, system-modal
};

// One column of the message list: its heading and width in pixels.
struct ListColumn {
  std::u16string heading;
  int width = 0;
};

class WindowPort {
 public:
  virtual ~WindowPort() = default;

  // The status line (control 1025).
  virtual void SetStatusText(std::u16string_view text) = 0;
  // The progress bar (control 1009); `position` is 0 to 100.
  virtual void SetProgress(int position) = 0;

  // Removes every item of the folder tree.
  virtual void ClearTree() = 0;
  // Appends an item after the last child of `parent` (kTreeTop: at the top
  // level, where the item becomes the tree's root item) with the given image
  // index as image and selected image. Returns the new item's handle.
  virtual TreeItem InsertTreeItem(TreeItem parent, std::u16string_view label, int image) = 0;
  // Expands `item` so its children show.
  virtual void ExpandTreeItem(TreeItem item) = 0;
  virtual void EnableTree(bool enabled) = 0;

  // Removes every row of the message list.
  virtual void ClearList() = 0;
  // Replaces the message list's columns.
  virtual void SetListColumns(std::span<const ListColumn> columns) = 0;
  // Appends a row with empty text and the given image; returns its index.
  virtual int AppendListRow(int image) = 0;
  // Sets the text of column `column` of row `row`.
  virtual void SetListCell(int row, int column, std::u16string_view text) = 0;
  virtual void EnableList(bool enabled) = 0;

  // Shows an HTML fragment as the status page of the preview.
  virtual void ShowStatusPage(std::u16string_view html) = 0;
  // Shows a message box with an OK button.
  virtual void ShowMessage(MessageKind kind, std::u16string_view text, std::u16string_view caption) = 0;
};

}  // namespace edb
