// The pause/cancel gate between a worker and the thread that stops it, alone
// and inside a table export.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "scan_recorders.h"
#include "store/table_walk.h"
#include "base/pause_gate.h"
#include "store/table_directory.h"
#include "test_support.h"

namespace {

void WaitUntilWaiting(const edb::PauseGate& gate) {
  while (gate.waiting() == 0) std::this_thread::yield();
}

TEST(PauseGateTest, PausedGateHoldsTheWorkerUntilResumed) {
  edb::PauseGate gate;
  EXPECT_TRUE(gate.Pass());
  gate.Pause();
  std::atomic<int> result{-1};
  std::thread worker([&] { result = gate.Pass() ? 1 : 0; });
  WaitUntilWaiting(gate);
  EXPECT_EQ(result, -1);
  gate.Resume();
  worker.join();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(gate.waiting(), 0);
}

TEST(PauseGateTest, CancelWakesAPausedWorkerAndStaysUntilReset) {
  edb::PauseGate gate;
  gate.Pause();
  std::atomic<int> result{-1};
  std::thread worker([&] { result = gate.Pass() ? 1 : 0; });
  WaitUntilWaiting(gate);
  gate.Cancel();
  worker.join();
  EXPECT_EQ(result, 0);
  gate.Pause();  // no effect once cancelled: a pass does not wait
  EXPECT_FALSE(gate.paused());
  gate.Resume();
  EXPECT_FALSE(gate.Pass());
  EXPECT_TRUE(gate.cancelled());
  gate.Reset();
  EXPECT_TRUE(gate.Pass());
}

TEST(PauseGateTest, ExportPausedMidTableResumesWhereItStopped) {
  edbtest::RecordingCorruption corruption;
  edb::StoreSession session;
  session.database_path = edbtest::RealDatabase("SRUDB.dat").string();
  ASSERT_TRUE(session.OpenDatabase(corruption).ok());
  edbtest::RecordingEvents window;
  edbtest::RecordingHandlers handlers;
  ASSERT_EQ(edb::BuildTableDirectory(session, corruption), edb::DirectoryOutcome::kEveryTableListed);
  edb::PauseGate gate;
  edb::ReadContext context{session, window, handlers, corruption, &gate};
  handlers.on_record = [&](const edbtest::HandledRecord& record) {
    if (record.index == 2) gate.Pause();
  };
  edb::WalkOutcome result = edb::WalkOutcome::kTableUnreadable;
  std::thread worker([&] { result = edb::WalkTableByName(context, u"SruDbIdMapTable"); });
  WaitUntilWaiting(gate);
  EXPECT_EQ(handlers.records.size(), 3u);
  gate.Resume();
  worker.join();
  EXPECT_EQ(result, edb::WalkOutcome::kComplete);
  EXPECT_EQ(handlers.records.size(), 106u);
}

}  // namespace
