// The save worker's view of the window: pass-through and the save's bar.
#include "app/gui/save_worker_window.h"

#include <algorithm>

namespace edbgui {

int SaveProgressPosition(int64_t items_done, int64_t expected_items, int folders_begun, int folder_count) {
  int64_t position = 0;
  if (expected_items > 0) {
    position = items_done * 100 / expected_items;
  } else if (folder_count > 0) {
    position = static_cast<int64_t>(std::max(folders_begun - 1, 0)) * 100 / folder_count;
  }
  return static_cast<int>(std::clamp<int64_t>(position, 0, 100));
}

void SaveWorkerWindow::FolderStarted(const edb::SaveFolder&) {
  ++folders_begun_;
  ShowPosition(SaveProgressPosition(items_done_, expected_items_, folders_begun_, folder_count_));
}

void SaveWorkerWindow::ItemDone(const edb::SaveSummary& so_far, int64_t expected_items) {
  items_done_ = so_far.items_done;
  expected_items_ = expected_items;
  ShowPosition(SaveProgressPosition(items_done_, expected_items_, folders_begun_, folder_count_));
}

void SaveWorkerWindow::ShowPosition(int position) {
  // The bridge keeps only the newest position anyway; this spares it the
  // calls that would not move the bar.
  if (position == shown_) return;
  shown_ = position;
  window().SetProgress(position);
}

}  // namespace edbgui
