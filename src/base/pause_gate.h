// Lets another thread suspend, resume or cancel a running worker. The worker
// passes the gate before each unit of work (every record of a table export);
// Stop pauses it, asks the user, then resumes or cancels it. A cancelled
// worker is woken and returns early instead of staying suspended.
#pragma once

#include <condition_variable>
#include <mutex>

namespace edb {

class PauseGate {
 public:
  // Called by the worker. Waits while the gate is paused; returns true to
  // go on, false once the gate is cancelled (also when cancelled while
  // waiting).
  bool Pass();

  // Called by any other thread. Pause makes the next Pass wait; Resume lets
  // waiting and later passes go on; Cancel makes every pass return false from
  // now on and wakes a waiting worker. Pause and Resume after Cancel change
  // nothing.
  void Pause();
  void Resume();
  void Cancel();

  // Reopens the gate for a new run: not paused, not cancelled.
  void Reset();

  bool paused() const;
  bool cancelled() const;
  // How many workers are waiting in Pass right now.
  int waiting() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool paused_ = false;
  bool cancelled_ = false;
  int waiting_ = 0;
};

}  // namespace edb
