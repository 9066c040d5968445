// The bridge between workers and the window: order, batching, the UI
// thread doing all the work, and interruption of a waiting worker.
#include "app/gui/window_bridge.h"

#include <QApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "gui_test_support.h"

namespace edbgui {
namespace {

// Records every request with the thread it ran on.
class RecordingSurface : public UiSurface {
 public:
  void SetStatusText(const std::u16string& text) override { Log(u"status " + text); }
  void SetProgress(int position) override { Log(u"progress " + Number(position)); }
  void ClearTree() override { Log(u"clear tree"); }
  void InsertTreeItem(edb::TreeItem item, edb::TreeItem parent, const std::u16string& label, int) override {
    Log(u"insert " + Number(int(item.id)) + u" under " + Number(int(parent.id)) + u" " + label);
  }
  void ExpandTreeItem(edb::TreeItem) override {}
  void EnableTree(bool enabled) override { Log(enabled ? u"tree on" : u"tree off"); }
  void ClearList() override { Log(u"clear list"); }
  void SetListColumns(const std::vector<edb::ListColumn>& columns) override {
    Log(u"columns " + Number(int(columns.size())));
  }
  void AppendListRows(std::vector<ListRow> new_rows) override {
    ++batches;
    for (ListRow& row : new_rows) rows.push_back(std::move(row));
  }
  void SetListCell(int row, int column, const std::u16string& text) override {
    if (rows[row].size() <= size_t(column)) rows[row].resize(column + 1);
    rows[row][column] = text;
  }
  void EnableList(bool) override {}
  void ShowStatusPage(const std::u16string& html) override { Log(u"page " + html); }
  void ShowMessage(edb::MessageKind, const std::u16string& text, const std::u16string&) override {
    Log(u"message " + text);
  }

  static std::u16string Number(int n) {
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
  }
  void Log(std::u16string entry) {
    if (QThread::currentThread() != qApp->thread()) ++off_thread;
    log.push_back(std::move(entry));
  }

  std::vector<std::u16string> log;
  std::vector<ListRow> rows;
  int batches = 0;
  int off_thread = 0;
};

TEST(WindowBridgeTest, WorkerRequestsRunInOrderOnTheUiThread) {
  RecordingSurface surface;
  WindowBridge bridge(&surface);
  std::atomic<bool> done = false;
  std::thread worker([&] {
    bridge.ClearTree();
    const edb::TreeItem root = bridge.InsertTreeItem(edb::kTreeTop, u"root", 0);
    const edb::TreeItem child = bridge.InsertTreeItem(root, u"child", 0);
    EXPECT_NE(root, child);
    bridge.SetStatusText(u"working");
    bridge.ShowMessage(edb::MessageKind::kInformation, u"done", u"caption");
    bridge.SetProgress(0);
    done = true;
  });
  ASSERT_TRUE(testing::RunUntil([&] { return done.load(); }, 10));
  worker.join();
  bridge.RunPending();
  EXPECT_EQ(surface.off_thread, 0);
  ASSERT_EQ(surface.log.size(), 6u);
  EXPECT_EQ(surface.log[0], u"clear tree");
  EXPECT_EQ(surface.log[1].substr(0, 9), u"insert 1 ");
  EXPECT_EQ(surface.log[2], u"insert 2 under 1 child");
  EXPECT_EQ(surface.log[4], u"message done");
  EXPECT_EQ(surface.log[5], u"progress 0");
}

TEST(WindowBridgeTest, RowsArriveInBatchesWithTheirCells) {
  RecordingSurface surface;
  WindowBridge bridge(&surface);
  std::atomic<bool> done = false;
  constexpr int kRows = 3000;
  std::thread worker([&] {
    bridge.ClearList();
    for (int i = 0; i < kRows; ++i) {
      const int row = bridge.AppendListRow(0);
      EXPECT_EQ(row, i);
      bridge.SetListCell(row, 0, RecordingSurface::Number(i));
      bridge.SetListCell(row, 2, u"x");
    }
    bridge.SetStatusText(u"listed");
    done = true;
  });
  ASSERT_TRUE(testing::RunUntil([&] { return done.load(); }, 20));
  worker.join();
  bridge.RunPending();
  ASSERT_EQ(surface.rows.size(), size_t(kRows));
  for (int i = 0; i < kRows; ++i) {
    ASSERT_EQ(surface.rows[i][0], RecordingSurface::Number(i)) << i;
    ASSERT_EQ(surface.rows[i][2], u"x") << i;
  }
  EXPECT_LT(surface.batches, kRows / 10) << "rows are handed over in batches";
  EXPECT_EQ(surface.log.back(), u"status listed");
}

TEST(WindowBridgeTest, ProgressNotYetShownIsReplacedButKeepsItsPlace) {
  RecordingSurface surface;
  WindowBridge bridge(&surface);
  std::thread worker([&] {
    bridge.SetStatusText(u"one");
    for (int i = 0; i <= 100; ++i) bridge.SetProgress(i);
    bridge.SetStatusText(u"two");
    bridge.SetProgress(7);
    bridge.SetProgress(0);
  });
  worker.join();
  bridge.RunPending();
  EXPECT_EQ(surface.log, (std::vector<std::u16string>{u"status one", u"progress 100", u"status two", u"progress 0"}));
}

TEST(WindowBridgeTest, InterruptEndsAWorkerWaitingForAMessageBox) {
  RecordingSurface surface;
  WindowBridge bridge(&surface);
  std::atomic<bool> returned = false;
  // The UI thread never runs the queued box here: only Interrupt frees the
  // worker.
  std::thread worker([&] {
    bridge.ShowMessage(edb::MessageKind::kInformation, u"never shown", u"caption");
    bridge.SetStatusText(u"dropped");
    returned = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned.load());
  bridge.Interrupt();
  worker.join();
  EXPECT_TRUE(returned.load());
}

}  // namespace
}  // namespace edbgui
