// The pause/cancel gate between a worker and the thread that stops it.
#include "base/pause_gate.h"

namespace edb {

bool PauseGate::Pass() {
  std::unique_lock lock(mutex_);
  ++waiting_;
  changed_.wait(lock, [this] { return !paused_ || cancelled_; });
  --waiting_;
  return !cancelled_;
}

void PauseGate::Pause() {
  std::lock_guard lock(mutex_);
  if (!cancelled_) paused_ = true;
}

void PauseGate::Resume() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
  }
  changed_.notify_all();
}

void PauseGate::Cancel() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    paused_ = false;
  }
  changed_.notify_all();
}

void PauseGate::Reset() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = false;
    paused_ = false;
  }
  changed_.notify_all();
}

bool PauseGate::paused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

bool PauseGate::cancelled() const {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

int PauseGate::waiting() const {
  std::lock_guard lock(mutex_);
  return waiting_;
}

}  // namespace edb
