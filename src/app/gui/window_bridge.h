// The one bridge between worker threads and the window. Workers call the
// WindowPort methods; each call becomes a step queued for the UI thread,
// which runs the steps in order against a UiSurface, a few milliseconds at a
// time so the window stays responsive. Nothing the worker calls waits for
// the UI thread, except a message box, and that wait ends when the bridge
// is interrupted (Stop's cancel, window close), so the UI thread can always
// cancel a worker and join it without a deadlock.
//
// List rows are gathered on the worker side and handed over in batches;
// of progress positions only the newest waits to be shown.
// Tree items get their handles from the bridge, so InsertTreeItem returns at
// once.
//
// Threads: the bridge is created on, and the surface lives on, the UI
// thread. The WindowPort methods may be called from any one worker at a
// time; Interrupt, Reopen, RunPending and Post from the UI thread (Post from
// any thread).
#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <mutex>
#include <vector>

#include "app/gui/ui_surface.h"
#include "app/ui/window_port.h"

namespace edbgui {

class WindowBridge : public QObject, public edb::WindowPort {
  Q_OBJECT

 public:
  // `surface` must outlive the bridge.
  explicit WindowBridge(UiSurface* surface, QObject* parent = nullptr);
  ~WindowBridge() override;

  void SetStatusText(std::u16string_view text) override;
  void SetProgress(int position) override;
  void ClearTree() override;
  edb::TreeItem InsertTreeItem(edb::TreeItem parent, std::u16string_view label, int image) override;
  void ExpandTreeItem(edb::TreeItem item) override;
  void EnableTree(bool enabled) override;
  void ClearList() override;
  void SetListColumns(std::span<const edb::ListColumn> columns) override;
  int AppendListRow(int image) override;
  void SetListCell(int row, int column, std::u16string_view text) override;
  void EnableList(bool enabled) override;
  void ShowStatusPage(std::u16string_view html) override;
  // Waits until the box is dismissed or the bridge is interrupted.
  void ShowMessage(edb::MessageKind kind, std::u16string_view text, std::u16string_view caption) override;

  // Queues `step` for the UI thread after everything queued before it.
  void Post(std::function<void()> step);
  // Ends any wait of a worker in ShowMessage, and drops every later request
  // until Reopen.
  void Interrupt();
  // Accepts requests again (before a new worker starts).
  void Reopen();
  // Runs every queued step now (UI thread).
  void RunPending();

  // How many rows a worker gathers before handing them over.
  static constexpr size_t kRowBatch = 512;

 private:
  void Enqueue(std::function<void()> step);
  void FlushProgressLocked();
  // Queues the gathered rows (and the pending progress before them).
  void FlushRowsLocked();
  void ScheduleLocked();
  void RunSlice();

  UiSurface* surface_;
  std::mutex mutex_;
  std::condition_variable message_done_;
  std::deque<std::function<void()>> steps_;
  std::vector<ListRow> pending_rows_;
  int first_pending_row_ = 0;
  QElapsedTimer pending_since_;  // started when the first pending row came
  int row_count_ = 0;
  // The newest progress position not yet queued.
  std::optional<int> pending_progress_;
  bool scheduled_ = false;
  bool interrupted_ = false;
  std::atomic<int64_t> next_tree_item_{1};
};

}  // namespace edbgui
