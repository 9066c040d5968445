// The scan over real databases and over files that are not databases: what
// the window sees, in order, and what the session holds afterwards.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "scan_recorders.h"
#include "app/ui/scan_flow.h"
#include "app/ui/status_pages.h"
#include "base/text_encoding.h"
#include "test_support.h"

namespace {

using edb::ScanOutcome;

std::string Utf8(std::u16string_view text) { return edb::Utf16ToUtf8(text); }

class ScanTest : public ::testing::Test {
 protected:
  ScanOutcome Scan(const std::string& path) {
    session_.database_path = path;
    window_.calls.clear();
    return edb::ScanDatabase(context_);
  }

  // Entries as a previous scan and folder load would have left them.
  void FillListsAsAnEarlierScanWould() {
    session_.mailboxes.push_back({u"1000000000091c1", u"Mailbox - Ann"});
    session_.folders.push_back({u"1000000000091c1", u"Inbox", 0, u"1-91C1", u"Folder"});
    session_.message_index.push_back({u"1", 0, std::nullopt});
    session_.attachments.push_back({u"0", u"a.txt", 0});
    session_.mail_rows.push_back({1, u"1", u"Ann;", u"Hi", u"Unknown", std::nullopt});
    session_.contacts.push_back({u"2", u"IPM.Contact"});
  }

  void ExpectListsEmpty() {
    EXPECT_TRUE(session_.mailboxes.empty());
    EXPECT_TRUE(session_.folders.empty());
    EXPECT_TRUE(session_.message_index.empty());
    EXPECT_TRUE(session_.attachments.empty());
    EXPECT_TRUE(session_.mail_rows.empty());
    EXPECT_TRUE(session_.contacts.empty());
  }

  edbtest::RecordingCorruption corruption_;  // outlives the session's provider
  edb::StoreSession session_;
  edbtest::RecordingWindow window_;
  edbtest::RecordingHandlers handlers_;
  edb::PauseGate gate_;
  edb::WindowContext context_{session_, window_, handlers_, corruption_, &gate_};
};

TEST_F(ScanTest, DatabaseWithoutStoreTablesRunsEveryStepAndCompletes) {
  std::string path = edbtest::RealDatabase("basic.edb").string();
  FillListsAsAnEarlierScanWould();
  EXPECT_EQ(Scan(path), ScanOutcome::kCompleted);
  std::vector<std::string> expected = {
      "tree clear",
      "list clear",
      "insert 0 " + path + " 0 -> 1",
      "expand 1",
      "page " + Utf8(edb::status_page::kRecoveryStarted),
      "status Status: initialize Exchange EDB File",
      "status Status: Opening Exchange EDB File",
      "tree off",
      "status Status: Getting MailBox List",
      "status Status: Getting Mailbox Folder List",
      "status Status: Getting Message Informations",
      "status Status: Getting Attachment Informations",
      "tree on",
      "status Status: Scanning Completed",
      "progress 0",
      "page " + Utf8(edb::status_page::kScanCompleted),
      "message info Analysis Completed sucessfully | Zendrask Systems Exchange Recovery",
  };
  EXPECT_EQ(window_.calls, expected);
  EXPECT_TRUE(handlers_.records.empty());
  EXPECT_EQ(context_.tree.root, edb::TreeItem{1});
  EXPECT_EQ(context_.tree.root, edb::TreeItem{1});
  EXPECT_EQ(context_.tree.last_inserted, edb::TreeItem{1});
  EXPECT_TRUE(session_.database);  // stays open for the folder loads
  EXPECT_EQ(session_.tables.size(), 5u);
  ExpectListsEmpty();
}

TEST_F(ScanTest, UnreadableFilesAreReportedAsErrorsNeverAsCompleted) {
  edbtest::ScratchDir scratch;
  std::string junk = (scratch / "junk.edb").string();
  std::ofstream(junk) << std::string(20000, 'x');
  std::string empty = (scratch / "empty.edb").string();
  std::ofstream(empty).close();
  std::string missing = (scratch / "missing.edb").string();
  for (const std::string& path : {junk, empty, missing, scratch.path().string()}) {
    SCOPED_TRACE(path);
    ASSERT_EQ(Scan(edbtest::RealDatabase("text.edb").string()), ScanOutcome::kCompleted);
    FillListsAsAnEarlierScanWould();
    EXPECT_EQ(Scan(path), ScanOutcome::kOpenFailed);
    std::vector<std::string> messages = window_.Calls("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].starts_with("error ")) << messages[0];
    EXPECT_NE(messages[0].find(path), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("| Zendrask Systems Exchange Recovery"), std::string::npos);
    std::vector<std::string> statuses = window_.Calls("status");
    EXPECT_EQ(statuses.back(), "Status: Cannot open Exchange EDB File");
    for (const std::string& status : statuses) EXPECT_NE(status, "Status: Scanning Completed");
    for (const std::string& page : window_.Calls("page")) {
      EXPECT_EQ(page.find("completed"), std::string::npos) << page;
    }
    EXPECT_EQ(window_.Calls("insert").size(), 1u);  // the root item alone
    EXPECT_FALSE(session_.database);
    EXPECT_TRUE(session_.tables.empty());
    ExpectListsEmpty();
  }
}

}  // namespace
