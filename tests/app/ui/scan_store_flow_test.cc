// The scan over stores written by our ESE writer: the four store tables in
// order with the window's steps between them, absent tables, two scans in a
// row, cancellation, and damaged files.
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdio>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "scan_recorders.h"
#include "scan_test_stores.h"
#include "app/ui/out_of_memory.h"
#include "app/ui/scan_flow.h"
#include "base/text_encoding.h"
#include "test_support.h"

namespace {

using edb::RecordHandlerKind;
using edb::ScanOutcome;
using edbtest::TextTable;

const char* KindName(RecordHandlerKind kind) {
  switch (kind) {
    case RecordHandlerKind::kMailbox: return "mailbox";
    case RecordHandlerKind::kFolder: return "folder";
    case RecordHandlerKind::kMessageIndex: return "msg";
    case RecordHandlerKind::kAttachment: return "attachment";
    case RecordHandlerKind::kContentsRow: return "row";
    case RecordHandlerKind::kNone: break;
  }
  return "item";
}

class StoreScan : public ::testing::Test {
 protected:
  StoreScan() {
    // Handled records join the window's calls, so their order relative to
    // the status lines shows.
    handlers_.on_record = [this](const edbtest::HandledRecord& record) {
      window_.calls.push_back(std::string("handled ") + KindName(record.kind) + " " + std::to_string(record.index));
    };
  }

  std::string Write(const std::string& name, const std::vector<TextTable>& tables) {
    std::string path = (scratch_ / name).string();
    edbtest::WriteTextTables(path, tables);
    return path;
  }

  ScanOutcome Scan(const std::string& path) {
    session_.database_path = path;
    window_.calls.clear();
    return edb::ScanDatabase(context_);
  }

  // The calls from the first status line of the tables to completion.
  std::vector<std::string> TableSteps() const {
    std::vector<std::string> steps;
    bool started = false;
    for (const std::string& call : window_.calls) {
      started = started || call == "tree off";
      if (started && !call.starts_with("progress")) steps.push_back(call);
    }
    return steps;
  }

  edbtest::ScratchDir scratch_;
  edbtest::RecordingCorruption corruption_;
  edb::StoreSession session_;
  edbtest::RecordingWindow window_;
  edbtest::RecordingHandlers handlers_;
  edb::PauseGate gate_;
  edb::WindowContext context_{session_, window_, handlers_, corruption_, &gate_};
};

const std::vector<std::string> kColumns = {"Q6764", "S3001"};

TEST_F(StoreScan, ExportsTheFourStoreTablesInOrderAndNothingElse) {
  std::string path = Write("store.edb", {{"1-23", kColumns, 2},
                                         {"Msg", kColumns, 3},
                                         {"1-91C1", kColumns, 2},
                                         {"Folders", kColumns, 2},
                                         {"Global", kColumns, 1},
                                         {"Mailbox", kColumns, 2}});
  EXPECT_EQ(Scan(path), ScanOutcome::kCompleted);
  std::vector<std::string> expected = {
      "tree off",
      "status Status: Getting MailBox List",
      "handled mailbox -1",
      "handled mailbox -1",
      "status Status: Getting Mailbox Folder List",
      "handled folder -1",
      "handled folder -1",
      "status Status: Getting Message Informations",
      "handled msg 0",
      "handled msg 1",
      "handled msg 2",
      "status Status: Getting Attachment Informations",
      "handled attachment 0",
      "handled attachment 1",
      "tree on",
      "status Status: Scanning Completed",
      "page <div align=\"center\"><p><img src=\"done.gif\" width=\"100\" height=\"100\" /></p>"
      "<h1 >Scaning process completed...</h1></div>",
      "message info Analysis Completed sucessfully | Zendrask Systems Exchange Recovery",
  };
  EXPECT_EQ(TableSteps(), expected);
  EXPECT_EQ(window_.calls[window_.calls.size() - 3], "progress 0");  // after the completion status
  EXPECT_TRUE(corruption_.reports.empty());
}

TEST_F(StoreScan, AbsentStoreTablesAreSkippedAndTheScanCompletes) {
  std::string path = Write("store.edb", {{"Msg", kColumns, 2}, {"1-23x", kColumns, 2}});
  EXPECT_EQ(Scan(path), ScanOutcome::kCompleted);
  EXPECT_EQ(handlers_.Indexes(RecordHandlerKind::kMessageIndex), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(handlers_.records.size(), 2u);
  EXPECT_EQ(window_.Calls("message").size(), 1u);
}

TEST_F(StoreScan, SecondScanLeavesNothingOfTheFirst) {
  // Fill the session's lists the way the store's handlers do.
  handlers_.on_record = [this](const edbtest::HandledRecord& record) {
    if (record.kind == RecordHandlerKind::kMailbox) {
      edb::TreeItem item = window_.InsertTreeItem(context_.tree.root, u"mailbox", 0);
      (void)item;
      session_.mailboxes.push_back({u"key", u"mailbox"});
    }
    if (record.kind == RecordHandlerKind::kFolder) session_.folders.push_back({});
    if (record.kind == RecordHandlerKind::kMessageIndex) session_.message_index.push_back({u"k", record.index, {}});
  };
  std::string first = Write("first.edb", {{"Mailbox", kColumns, 3}, {"Folders", kColumns, 4}, {"Msg", kColumns, 5}});
  std::string second = Write("second.edb", {{"Mailbox", kColumns, 1}, {"Msg", kColumns, 2}});
  ASSERT_EQ(Scan(first), ScanOutcome::kCompleted);
  ASSERT_EQ(session_.mailboxes.size(), 3u);
  ASSERT_EQ(Scan(second), ScanOutcome::kCompleted);
  EXPECT_EQ(session_.mailboxes.size(), 1u);
  EXPECT_TRUE(session_.folders.empty());
  EXPECT_EQ(session_.message_index.size(), 2u);
  EXPECT_EQ(session_.tables.size(), 4u);  // MSysObjects, MSysObjectsShadow, Mailbox, Msg
  std::string root = std::to_string(context_.tree.root.id);
  EXPECT_EQ(window_.Calls("insert"),
            (std::vector<std::string>{"0 " + second + " 0 -> " + root, root + " mailbox 0 -> " + std::to_string(context_.tree.root.id + 1)}));
}

TEST_F(StoreScan, CancellingMidTableEndsTheScanKeepingWhatWasAdded) {
  std::string path = Write("store.edb", {{"Mailbox", kColumns, 5}, {"Folders", kColumns, 2}});
  handlers_.on_record = [this](const edbtest::HandledRecord&) {
    if (handlers_.records.size() == 2) gate_.Cancel();
  };
  EXPECT_EQ(Scan(path), ScanOutcome::kCancelled);
  EXPECT_EQ(handlers_.records.size(), 2u);
  EXPECT_EQ(window_.calls.back(), "progress 1");  // nothing after the last record
  EXPECT_TRUE(window_.Calls("message").empty());
}

// Every page but the header's, damaged in turn: the scan never crashes, and
// a record it cannot hand over is always reported.
TEST_F(StoreScan, DamagedPagesLoseNothingUnreported) {
  std::string good = Write("good.edb", {{"Mailbox", kColumns, 300}, {"Msg", kColumns, 2000}});
  uintmax_t size = std::filesystem::file_size(good);
  const uintmax_t kPage = 8192;
  for (uintmax_t page = 2; page < size / kPage; ++page) {
    std::string damaged = (scratch_ / "damaged.edb").string();
    std::filesystem::copy_file(good, damaged, std::filesystem::copy_options::overwrite_existing);
    {
      std::fstream file(damaged, std::ios::in | std::ios::out | std::ios::binary);
      file.seekp(static_cast<std::streamoff>(page * kPage + 40));
      std::string garbage(200, '\xa5');
      file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    }
    corruption_.reports.clear();
    handlers_.records.clear();
    SCOPED_TRACE(page);
    ScanOutcome outcome = Scan(damaged);
    if (outcome == ScanOutcome::kOpenFailed) {
      EXPECT_EQ(window_.Calls("message").size(), 1u);
      continue;
    }
    EXPECT_EQ(outcome, ScanOutcome::kCompleted);
    EXPECT_TRUE(handlers_.records.size() == 2300u || !corruption_.reports.empty())
        << handlers_.records.size() << " records handled, nothing reported";
  }
}

}  // namespace

namespace {

// A window whose message box goes to standard error, where the death test
// can see it.
class StderrWindow : public edbtest::RecordingWindow {
 public:
  void ShowMessage(edb::MessageKind, std::u16string_view text, std::u16string_view caption) override {
    std::fprintf(stderr, "box [%s] %s\n", edb::Utf16ToUtf8(caption).c_str(), edb::Utf16ToUtf8(text).c_str());
  }
};

TEST_F(StoreScan, RunningOutOfMemoryEndsTheProcessWithAnErrorBox) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string path = Write("store.edb", {{"Folders", kColumns, 2}});
  StderrWindow window;
  edb::WindowContext context{session_, window, handlers_, corruption_, nullptr};
  session_.database_path = path;
  handlers_.on_record = [](const edbtest::HandledRecord&) { throw std::bad_alloc(); };
  EXPECT_EXIT(edb::ScanDatabase(context), ::testing::ExitedWithCode(edb::kOutOfMemoryExitCode),
              "box \\[Zendrask Systems Exchange Recovery\\] Out Of Memory");
}

TEST(OutOfMemoryMessage, ItemContentRunningOutSaysNotEnoughMemory) {
  EXPECT_EQ(edb::OutOfMemoryMessage(edb::MemoryExhausted(edb::MemoryUse::kItemContent)),
            edb::kNotEnoughMemoryMessage);
  EXPECT_EQ(edb::OutOfMemoryMessage(edb::MemoryExhausted(edb::MemoryUse::kEntryLists)), edb::kOutOfMemoryMessage);
  EXPECT_EQ(edb::OutOfMemoryMessage(std::bad_alloc()), edb::kOutOfMemoryMessage);
}

}  // namespace
