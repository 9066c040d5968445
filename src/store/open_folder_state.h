// What the store reader keeps about the folder that is open: the tree item
// clicked last, the running row number of its header rows, its container
// class as the row handler reads it, whether its rows are being saved
// rather than listed, and the status text the row handler extends in save
// mode. Opening a folder resets it; the row handler moves it along.
#pragma once

#include <cstdint>
#include <string>

#include "store/tree_item.h"

namespace edb {

struct OpenFolderState {
  // The tree item whose folder was opened last.
  TreeItem tree_item;
  // Number of the last header row handled; 0 before the first row, so the
  // first row of a folder is number 1.
  int32_t row_number = 0;
  // The open folder's container class; "IPF.Note" becomes "Folder" at the
  // folder's first row.
  std::u16string folder_class;
  // Set while the open folder's items are saved: rows then only update the
  // status line instead of being listed (journal rows are still listed).
  bool save_mode = false;
  // The status text the caller set last; save mode shows each header after it.
  std::u16string status_text;
};

}  // namespace edb
