// Carrying worker requests over to the UI thread.
#include "app/gui/window_bridge.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <memory>

namespace edbgui {
namespace {

// How long one slice of queued steps may hold the UI thread.
constexpr qint64 kSliceMilliseconds = 15;
// How long gathered rows may wait for more before they are handed over.
constexpr int kRowWaitMilliseconds = 30;
// Fewer rows than this wait for more (or for the time above).
constexpr size_t kMinRowHandover = 64;

}  // namespace

WindowBridge::WindowBridge(UiSurface* surface, QObject* parent) : QObject(parent), surface_(surface) {}

WindowBridge::~WindowBridge() { Interrupt(); }

void WindowBridge::SetStatusText(std::u16string_view text) {
  Enqueue([this, text = std::u16string(text)] { surface_->SetStatusText(text); });
}

void WindowBridge::SetProgress(int position) {
  std::lock_guard lock(mutex_);
  if (interrupted_) return;
  // The bar moves once per record, far more often than the screen can
  // follow: only the newest position is kept until the next other request
  // (or the next slice) shows it. Rows being gathered stay gathered.
  pending_progress_ = position;
  ScheduleLocked();
}

void WindowBridge::ClearTree() {
  Enqueue([this] { surface_->ClearTree(); });
}

edb::TreeItem WindowBridge::InsertTreeItem(edb::TreeItem parent, std::u16string_view label, int image) {
  const edb::TreeItem item{next_tree_item_++};
  Enqueue([this, item, parent, label = std::u16string(label), image] {
    surface_->InsertTreeItem(item, parent, label, image);
  });
  return item;
}

void WindowBridge::ExpandTreeItem(edb::TreeItem item) {
  Enqueue([this, item] { surface_->ExpandTreeItem(item); });
}

void WindowBridge::EnableTree(bool enabled) {
  Enqueue([this, enabled] { surface_->EnableTree(enabled); });
}

void WindowBridge::ClearList() {
  std::lock_guard lock(mutex_);
  if (interrupted_) return;
  FlushProgressLocked();
  pending_rows_.clear();
  row_count_ = 0;
  first_pending_row_ = 0;
  steps_.push_back([this] { surface_->ClearList(); });
  ScheduleLocked();
}

void WindowBridge::SetListColumns(std::span<const edb::ListColumn> columns) {
  Enqueue([this, columns = std::vector<edb::ListColumn>(columns.begin(), columns.end())] {
    surface_->SetListColumns(columns);
  });
}

int WindowBridge::AppendListRow(int) {
  std::lock_guard lock(mutex_);
  if (pending_rows_.empty()) {
    first_pending_row_ = row_count_;
    pending_since_.start();
  }
  pending_rows_.emplace_back();
  if (pending_rows_.size() >= kRowBatch) {
    // The row just begun still gets its cells: they go as separate steps.
    FlushRowsLocked();
  }
  ScheduleLocked();
  return row_count_++;
}

void WindowBridge::SetListCell(int row, int column, std::u16string_view text) {
  if (column < 0) return;
  std::lock_guard lock(mutex_);
  if (interrupted_) return;
  if (!pending_rows_.empty() && row >= first_pending_row_ &&
      row < first_pending_row_ + static_cast<int>(pending_rows_.size())) {
    ListRow& cells = pending_rows_[row - first_pending_row_];
    if (cells.size() <= static_cast<size_t>(column)) cells.resize(column + 1);
    cells[column] = std::u16string(text);
    return;
  }
  steps_.push_back([this, row, column, text = std::u16string(text)] { surface_->SetListCell(row, column, text); });
  ScheduleLocked();
}

void WindowBridge::EnableList(bool enabled) {
  Enqueue([this, enabled] { surface_->EnableList(enabled); });
}

void WindowBridge::ShowStatusPage(std::u16string_view html) {
  Enqueue([this, html = std::u16string(html)] { surface_->ShowStatusPage(html); });
}

void WindowBridge::ShowMessage(edb::MessageKind kind, std::u16string_view text, std::u16string_view caption) {
  if (QThread::currentThread() == thread()) {
    RunPending();
    surface_->ShowMessage(kind, std::u16string(text), std::u16string(caption));
    return;
  }
  auto done = std::make_shared<bool>(false);
  {
    std::lock_guard lock(mutex_);
    if (interrupted_) return;
    FlushRowsLocked();
      steps_.push_back([this, done, kind, text = std::u16string(text), caption = std::u16string(caption)] {
      surface_->ShowMessage(kind, text, caption);
      std::lock_guard lock(mutex_);
      *done = true;
      message_done_.notify_all();
    });
    ScheduleLocked();
  }
  std::unique_lock lock(mutex_);
  message_done_.wait(lock, [&] { return *done || interrupted_; });
}

void WindowBridge::Post(std::function<void()> step) {
  std::lock_guard lock(mutex_);
  FlushRowsLocked();
  steps_.push_back(std::move(step));
  ScheduleLocked();
}

void WindowBridge::Interrupt() {
  std::lock_guard lock(mutex_);
  interrupted_ = true;
  message_done_.notify_all();
}

void WindowBridge::Reopen() {
  std::lock_guard lock(mutex_);
  interrupted_ = false;
}

void WindowBridge::Enqueue(std::function<void()> step) {
  std::lock_guard lock(mutex_);
  if (interrupted_) return;
  FlushRowsLocked();
  steps_.push_back(std::move(step));
  ScheduleLocked();
}

void WindowBridge::FlushProgressLocked() {
  if (!pending_progress_) return;
  steps_.push_back([this, position = *pending_progress_] { surface_->SetProgress(position); });
  pending_progress_.reset();
}

void WindowBridge::FlushRowsLocked() {
  FlushProgressLocked();
  if (pending_rows_.empty()) return;
  steps_.push_back([this, rows = std::move(pending_rows_)]() mutable { surface_->AppendListRows(std::move(rows)); });
  pending_rows_.clear();
}

void WindowBridge::ScheduleLocked() {
  if (scheduled_) return;
  scheduled_ = true;
  QMetaObject::invokeMethod(this, &WindowBridge::RunSlice, Qt::QueuedConnection);
}

void WindowBridge::RunSlice() {
  QElapsedTimer slice;
  slice.start();
  for (;;) {
    std::function<void()> step;
    {
      std::lock_guard lock(mutex_);
      if (steps_.empty()) {
        // Rows still being gathered go once there are enough of them or
        // they have waited a while; handing over every row alone would
        // cost a model insertion each.
        if (pending_rows_.size() >= kMinRowHandover || pending_since_.elapsed() >= kRowWaitMilliseconds) {
          FlushRowsLocked();
        } else {
          FlushProgressLocked();
        }
        if (steps_.empty()) {
          if (pending_rows_.empty()) {
            scheduled_ = false;
          } else {
            QTimer::singleShot(kRowWaitMilliseconds, this, &WindowBridge::RunSlice);
          }
          return;
        }
      }
      if (slice.elapsed() >= kSliceMilliseconds) {
        QMetaObject::invokeMethod(this, &WindowBridge::RunSlice, Qt::QueuedConnection);
        return;
      }
      step = std::move(steps_.front());
      steps_.pop_front();
    }
    // One step at a time: a message box's own event loop may run later
    // slices, which then go on with the next step in order.
    step();
  }
}

void WindowBridge::RunPending() {
  for (;;) {
    std::function<void()> step;
    {
      std::lock_guard lock(mutex_);
      FlushRowsLocked();
      if (steps_.empty()) return;
      step = std::move(steps_.front());
      steps_.pop_front();
    }
    step();
  }
}

}  // namespace edbgui
