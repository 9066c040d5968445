// The window as the save worker drives it. The save runs the same folder
// loads as a click in the tree, and those loads would re-enable the tree and
// the list after each folder and move the progress bar per record; during a
// save the window keeps every control but Stop disabled and shows the
// progress of the whole save instead. So this port (a SaveWorkerPort)
// passes on the status line, status pages and messages, drops tree, list and
// per-record progress requests, and, as the save's observer, sets the bar to the items done out
// of those expected (or, when the number of items is not known, to the
// folders begun out of the folders to save).
//
// Toolkit-free. Lives on the save worker's stack for the length of one
// save; called on that worker only. `window` (the bridge) must outlive it.
#pragma once

#include <cstdint>

#include "app/ui/save_flow.h"
#include "app/ui/save_worker_port.h"

namespace edbgui {

// The bar's position, 0 to 100: items done of `expected_items` when that is
// known (> 0), else the folders finished of `folder_count` (a folder counts
// as finished when the next one begins).
int SaveProgressPosition(int64_t items_done, int64_t expected_items, int folders_begun, int folder_count);

class SaveWorkerWindow : public edb::SaveWorkerPort, public edb::SaveObserver {
 public:
  SaveWorkerWindow(edb::WindowPort& window, int folder_count) : SaveWorkerPort(window), folder_count_(folder_count) {}

  void FolderStarted(const edb::SaveFolder& folder) override;
  void ItemDone(const edb::SaveSummary& so_far, int64_t expected_items) override;

 private:
  void ShowPosition(int position);

  int folder_count_;
  int folders_begun_ = 0;
  int64_t items_done_ = 0;
  int64_t expected_items_ = 0;
  int shown_ = -1;
};

}  // namespace edbgui
