// The store's entry point: a file opened and its store tables read into the
// model, with the events that announce it, and no window anywhere.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/pause_gate.h"
#include "scan_recorders.h"
#include "store/store_record_handlers.h"
#include "store/store_scan.h"
#include "test_support.h"

namespace {

class StoreModelScan : public ::testing::Test {
 protected:
  edb::ScanResult Scan(const std::string& path) {
    session_.database_path = path;
    const edb::Status opened = edb::OpenStore(session_, corruption_);
    EXPECT_TRUE(opened.ok()) << opened.reason();
    return edb::ReadStoreTables(context_);
  }

  edbtest::RecordingCorruption corruption_;
  edb::StoreSession session_;
  edbtest::RecordingEvents events_;
  edb::StoreRecordHandlers handlers_{session_, corruption_, nullptr};
  edb::PauseGate gate_;
  edb::ReadContext context_{session_, events_, handlers_, corruption_, &gate_};
};

TEST_F(StoreModelScan, EveryMailboxAndFolderOfTheModelIsAnnouncedOnceInTableOrder) {
  ASSERT_EQ(Scan(edbtest::SampleStore().string()), edb::ScanResult::kCompleted);
  EXPECT_TRUE(corruption_.reports.empty());
  ASSERT_FALSE(session_.mailboxes.empty());
  ASSERT_FALSE(session_.folders.empty());
  EXPECT_FALSE(session_.message_index.empty());

  std::vector<std::string> expected = {"table Mailbox"};
  for (size_t i = 0; i < session_.mailboxes.size(); ++i) expected.push_back("mailbox " + std::to_string(i));
  expected.push_back("table Folders");
  for (size_t i = 0; i < session_.folders.size(); ++i) expected.push_back("folder " + std::to_string(i));
  expected.push_back("table Msg");
  expected.push_back("table 1-23");
  std::vector<std::string> announced;
  for (const std::string& call : events_.calls) {
    if (!call.starts_with("progress")) announced.push_back(call);
  }
  EXPECT_EQ(announced, expected);

  // Each folder names its mailbox by position, and that mailbox has its key.
  for (const edb::FolderEntry& folder : session_.folders) {
    ASSERT_LT(folder.mailbox_index, session_.mailboxes.size());
    EXPECT_EQ(session_.mailboxes[folder.mailbox_index].key, folder.mailbox_key);
  }
}

TEST_F(StoreModelScan, AFileThatIsNoDatabaseLeavesAnEmptyModelAndSaysWhy) {
  session_.mailboxes.push_back({u"k", u"left from before"});
  edbtest::ScratchDir scratch;
  session_.database_path = (scratch / "missing.edb").string();
  const edb::Status opened = edb::OpenStore(session_, corruption_);
  EXPECT_FALSE(opened.ok());
  EXPECT_FALSE(opened.reason().empty());
  EXPECT_FALSE(session_.database);
  EXPECT_TRUE(session_.mailboxes.empty());
}

TEST_F(StoreModelScan, ACancelledGateStopsBeforeTheNextTable) {
  session_.database_path = edbtest::SampleStore().string();
  ASSERT_TRUE(edb::OpenStore(session_, corruption_).ok());
  gate_.Cancel();
  EXPECT_EQ(edb::ReadStoreTables(context_), edb::ScanResult::kCancelled);
  EXPECT_TRUE(events_.calls.empty());
  EXPECT_TRUE(session_.mailboxes.empty());
}

}  // namespace
