// The save flow the window's Save command runs, on the sample store: what
// it writes, what the window sees (status line and progress, never the
// message list), Stop through the pause gate and resuming afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/ui/save_flow.h"
#include "export_readback.h"
#include "scan_recorders.h"
#include "base/corruption_reporter.h"
#include "app/ui/scan_flow.h"
#include "store/store_record_handlers.h"
#include "base/text_encoding.h"
#include "test_support.h"

namespace edb {
namespace {

// The calls a save made to the message list (it lists nothing).
size_t ListCalls(const edbtest::RecordingWindow& window) {
  size_t calls = 0;
  for (const char* kind : {"list", "columns", "row", "cell"}) calls += window.Calls(kind).size();
  return calls;
}

// Cancels the gate once `after` items are done, as Stop answered Yes does.
class StopAfter : public SaveObserver {
 public:
  StopAfter(PauseGate& gate, int64_t after) : gate_(gate), after_(after) {}
  void ItemDone(const SaveSummary& so_far, int64_t) override {
    if (so_far.items_done >= after_) gate_.Cancel();
  }
  void FolderStarted(const SaveFolder&) override { ++folders; }
  int folders = 0;

 private:
  PauseGate& gate_;
  int64_t after_;
};

class SaveFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    session_.database_path = edbtest::SampleStore().string();
    ASSERT_EQ(ScanDatabase(context_), ScanOutcome::kCompleted);
    window_.calls.clear();
  }

  SaveRequest Request(std::vector<std::u16string> mailboxes = {}) {
    SaveRequest request;
    request.target = scratch_ / "store";
    request.folders = FoldersToSave(session_, mailboxes, {});
    return request;
  }

  NullCorruptionReporter corruption_;
  StoreSession session_;
  edbtest::RecordingWindow window_;
  StoreRecordHandlers handlers_{session_, corruption_, nullptr};
  PauseGate gate_;
  WindowContext context_{session_, window_, handlers_, corruption_, &gate_};
  edbtest::ScratchDir scratch_;
};

TEST_F(SaveFlow, SavesEveryFolderWithStatusAndProgressButNoListRows) {
  const SaveSummary summary = RunSave(context_, Request(), nullptr);
  EXPECT_TRUE(summary.failure.ok()) << summary.failure.reason();
  EXPECT_FALSE(summary.stopped);
  EXPECT_EQ(summary.ExitCode(), 0);
  EXPECT_EQ(summary.counts.messages, 28);
  EXPECT_EQ(summary.counts.contacts, 4);
  EXPECT_EQ(summary.counts.calendar_items, 9);
  EXPECT_EQ(summary.counts.attachments, 9);
  EXPECT_EQ(ListCalls(window_), 0u);
  const std::vector<int> positions = window_.ProgressPositions();
  EXPECT_GT(*std::max_element(positions.begin(), positions.end()), 0);
  const std::vector<std::string> statuses = window_.Calls("status");
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Status: Getting Inbox Body & Attachment Informations"),
            statuses.end());
  EXPECT_FALSE(session_.open_folder.save_mode);
  EXPECT_EQ(SaveSummaryText(summary, "/t"),
            "Saved 28 messages, 4 contacts, 9 calendar items and 9 attachments to /t; 0 items skipped.");
}

TEST_F(SaveFlow, StopEndsTheSaveAndARerunWritesTheRest) {
  StopAfter stop(gate_, 5);
  const SaveSummary stopped = RunSave(context_, Request(), &stop);
  EXPECT_TRUE(stopped.stopped);
  const int64_t first = stopped.counts.messages + stopped.counts.contacts + stopped.counts.calendar_items;
  EXPECT_GE(first, 5);
  EXPECT_LT(first, 41);
  EXPECT_NE(SaveSummaryText(stopped, "/t").find("Saving stopped."), std::string::npos);

  gate_.Reset();
  const SaveSummary rest = RunSave(context_, Request(), nullptr);
  EXPECT_FALSE(rest.stopped);
  EXPECT_EQ(rest.counts.messages + rest.counts.contacts + rest.counts.calendar_items, 41 - first);
  EXPECT_EQ(rest.counts.already_there, first);
  const nlohmann::json read = edbtest::ReadTargetStore(scratch_ / "store", "maildir");
  EXPECT_EQ(read["messages"].size(), 28u);
  EXPECT_EQ(read["cards"].size(), 4u);
}

TEST_F(SaveFlow, OnlyTheChosenMailboxesAndFoldersAreSaved) {
  const std::vector<SaveFolder> renee = FoldersToSave(session_, {u"Mailbox - Renée Lefèvre"}, {});
  ASSERT_FALSE(renee.empty());
  for (const SaveFolder& folder : renee) EXPECT_EQ(folder.mailbox_name, u"Mailbox - Renée Lefèvre");
  const std::vector<SaveFolder> one = FoldersToSave(session_, {}, {u"Mailbox - John Doe/Contacts"});
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].folder.display_name, u"Contacts");
  EXPECT_EQ(FoldersToSave(session_, {}, {}).size(), 26u);

  const SaveSummary summary = RunSave(context_, Request({u"Mailbox - Renée Lefèvre"}), nullptr);
  EXPECT_FALSE(std::filesystem::exists(scratch_ / "store" / "Mailbox - John Doe"));
  EXPECT_GT(summary.counts.messages, 0);
}

TEST_F(SaveFlow, AnUnwritableTargetFailsBeforeAnythingIsRead) {
  { std::ofstream(scratch_ / "store") << "x"; }
  const SaveSummary summary = RunSave(context_, Request(), nullptr);
  EXPECT_FALSE(summary.failure.ok());
  EXPECT_EQ(summary.ExitCode(), 1);
  EXPECT_TRUE(window_.Calls("status").empty());
  EXPECT_NE(SaveSummaryText(summary, scratch_ / "store").find((scratch_ / "store").string()), std::string::npos);
}

}  // namespace
}  // namespace edb
