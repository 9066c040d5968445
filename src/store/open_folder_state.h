// What the store reader keeps about the folder that is open: the running
// row number of its rows, its container class as the row handler reads it,
// and whether its rows are being saved rather than listed. Opening a folder
// resets it; the row handler moves it along.
#pragma once

#include <cstdint>
#include <string>


namespace edb {

struct OpenFolderState {
  // Number of the last row handled; 0 before the first row, so the
  // first row of a folder is number 1.
  int32_t row_number = 0;
  // The open folder's container class; "IPF.Note" becomes "Folder" at the
  // folder's first row.
  std::u16string folder_class;
  // Set while the open folder's items are saved: rows are then read but not
  // listed (journal rows are still listed).
  bool save_mode = false;
};

}  // namespace edb
