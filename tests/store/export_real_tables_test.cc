// The table export over tables of databases written by Windows' own engine:
// which tables are exported, in what order records reach the handler, the
// progress bar's sweep, damage and cancellation, and out-of-memory.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "scan_recorders.h"
#include "store/export_table.h"
#include "store/out_of_memory.h"
#include "store/table_directory.h"
#include "test_support.h"

namespace {

using edb::RecordHandlerKind;

// A session over one real database, with recorders around the export.
class RealTableExport : public ::testing::Test {
 protected:
  void Open(const std::string& name) {
    session_.database_path = edbtest::RealDatabase(name).string();
    edb::EsedbError error;
    ASSERT_TRUE(session_.OpenDatabase(corruption_, &error)) << error.Message();
    ASSERT_EQ(edb::BuildTableDirectory(session_, corruption_), 1);
  }

  int Export(std::u16string_view table) { return edb::ExportTableByName(context_, table); }

  std::vector<int32_t> Indexes(int32_t count) {
    std::vector<int32_t> indexes;
    for (int32_t i = 0; i < count; ++i) indexes.push_back(i);
    return indexes;
  }

  edbtest::RecordingCorruption corruption_;  // outlives the session's provider
  edb::StoreSession session_;
  edbtest::RecordingWindow window_;
  edbtest::RecordingHandlers handlers_;
  edb::PauseGate gate_;
  edb::ExportContext context_{session_, window_, handlers_, corruption_, &gate_};
};

constexpr char16_t kSruTable203[] = u"{D10CA2FE-6FCF-4F6D-848E-B2E99266FA89}";  // 203 records

TEST(RecordHandlerDispatchTest, ChoosesTheHandlerByExactNameAndLength) {
  struct Case {
    std::u16string_view name;
    RecordHandlerKind kind;
  };
  const Case cases[] = {
      {u"1-23", RecordHandlerKind::kAttachment},
      {u"1-23x", RecordHandlerKind::kContentsRow},
      {u"1-230", RecordHandlerKind::kContentsRow},
      {u"1-2", RecordHandlerKind::kContentsRow},
      {u"1-91C1", RecordHandlerKind::kContentsRow},  // 6 characters, still a contents table
      {u"1-", RecordHandlerKind::kContentsRow},
      {u"Msg", RecordHandlerKind::kMessageIndex},
      {u"msg", RecordHandlerKind::kNone},
      {u"Msgs", RecordHandlerKind::kContentsRow},
      {u"Folders", RecordHandlerKind::kFolder},
      {u"Mailbox", RecordHandlerKind::kMailbox},
      {u"MailboX", RecordHandlerKind::kNone},
      {u"Mailboxes", RecordHandlerKind::kContentsRow},
      {u"Global", RecordHandlerKind::kNone},
      {u"SmTblSection", RecordHandlerKind::kNone},
      {u"SmTblVersion", RecordHandlerKind::kNone},
      {u"SystemIndex_0A", RecordHandlerKind::kNone},
      {u"SystemIndex_Gthr", RecordHandlerKind::kNone},
      {u"MSysObjects", RecordHandlerKind::kContentsRow},
      {u"ab", RecordHandlerKind::kContentsRow},
      {u"abcde", RecordHandlerKind::kContentsRow},
      {u"abcdefghijklmno", RecordHandlerKind::kContentsRow},
      {u"abcdefghijklmnopq", RecordHandlerKind::kContentsRow},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(edb::HandlerForTable(c.name), c.kind) << std::string(c.name.begin(), c.name.end());
  }
}

TEST_F(RealTableExport, HandsEveryRecordInIndexOrderWhileTheBarSweeps) {
  Open("SRUDB.dat");
  EXPECT_EQ(Export(kSruTable203), 1);
  EXPECT_EQ(handlers_.Indexes(RecordHandlerKind::kContentsRow), Indexes(203));
  for (const auto& record : handlers_.records) EXPECT_EQ(record.values, 19);
  // Records 0..100 show 0..100, record 100 also resets to 0; records 101..200
  // show 1..100 and record 200 resets again; records 201, 202 show 1, 2.
  std::vector<int> expected;
  for (int i = 0; i <= 100; ++i) expected.push_back(i);
  expected.push_back(0);
  for (int i = 1; i <= 100; ++i) expected.push_back(i);
  expected.insert(expected.end(), {0, 1, 2});
  EXPECT_EQ(window_.ProgressPositions(), expected);
  EXPECT_TRUE(corruption_.reports.empty());
}

TEST_F(RealTableExport, ContentsTablesGetNoLocatedColumns) {
  Open("basic.edb");
  EXPECT_EQ(Export(u"basic"), 1);
  ASSERT_EQ(handlers_.records.size(), 2u);
  const edb::ColumnPositions& columns = handlers_.records[0].columns;
  EXPECT_FALSE(columns.mailbox_key || columns.display_name || columns.folder_id || columns.container_class ||
               columns.message_key || columns.attachment_ids || columns.attachment_key ||
               columns.attachment_data || columns.attachment_file_name);
  EXPECT_EQ(handlers_.records[0].values, 13);
}

TEST_F(RealTableExport, TablesWithoutRecordsSucceedWithoutTouchingTheWindow) {
  Open("Current.mdb");
  EXPECT_EQ(Export(u"VIRTUALMACHINES"), 1);
  EXPECT_TRUE(handlers_.records.empty());
  EXPECT_TRUE(window_.calls.empty());
}

TEST_F(RealTableExport, NamesOfUnexportedLengthsFailAtTheirFirstRecord) {
  Open("Current.mdb");
  EXPECT_EQ(Export(u"DNS"), -1);      // 3 characters, 12 records
  EXPECT_EQ(Export(u"CLIENTS"), -1);  // 7 characters, 19 records
  EXPECT_TRUE(handlers_.records.empty());
  EXPECT_EQ(window_.ProgressPositions(), (std::vector<int>{0, 0}));
  EXPECT_EQ(Export(u"ROLE_ACCESS"), 1);  // 11 characters: a contents table
  EXPECT_EQ(handlers_.Indexes(RecordHandlerKind::kContentsRow), Indexes(3));
}

TEST_F(RealTableExport, AbsentTablesAreSkippedQuietly) {
  Open("Current.mdb");
  EXPECT_EQ(Export(u"Mailbox"), 1);
  EXPECT_EQ(Export(u"dns"), 1);
  EXPECT_EQ(Export(u"ROLE_ACCES"), 1);
  EXPECT_TRUE(handlers_.records.empty());
  EXPECT_TRUE(window_.calls.empty());
  EXPECT_TRUE(corruption_.reports.empty());
}

TEST_F(RealTableExport, WithoutDatabaseEveryExportFindsNothing) {
  session_.tables.Append(0, u"Msg");  // a directory left without its database
  EXPECT_EQ(Export(u"Msg"), 1);
  EXPECT_TRUE(handlers_.records.empty());
}

TEST_F(RealTableExport, ARecordItsHandlerRejectsIsReportedAndTheRestStillExported) {
  Open("SRUDB.dat");
  handlers_.result = [](const edbtest::HandledRecord& record) { return record.index == 1 ? -1 : 1; };
  EXPECT_EQ(Export(u"SruDbIdMapTable"), -1);
  EXPECT_EQ(handlers_.Indexes(RecordHandlerKind::kContentsRow), Indexes(106));
  ASSERT_EQ(corruption_.reports.size(), 1u);
  EXPECT_NE(corruption_.reports[0].find("table SruDbIdMapTable, record 1"), std::string::npos);
}

TEST_F(RealTableExport, CancellingStopsBeforeTheNextRecordAndKeepsWhatWasDone) {
  Open("SRUDB.dat");
  handlers_.on_record = [this](const edbtest::HandledRecord& record) {
    if (record.index == 4) gate_.Cancel();
  };
  EXPECT_EQ(Export(kSruTable203), -1);
  EXPECT_EQ(handlers_.Indexes(RecordHandlerKind::kContentsRow), Indexes(5));
  EXPECT_EQ(window_.ProgressPositions(), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_TRUE(corruption_.reports.empty());
}

TEST_F(RealTableExport, SingleRecordExportReachesTheItemReaderOnlyForMsg) {
  Open("basic.edb");
  edb::OpenedTable table;
  edb::EsedbError error;
  ASSERT_EQ(session_.OpenTable(u"basic", &table, &error), edb::TableLookup::kOpened);
  EXPECT_EQ(edb::ExportMsgRecord(context_, table, 1), 1);
  EXPECT_TRUE(handlers_.records.empty());
  EXPECT_EQ(edb::ExportMsgRecord(context_, table, 7), 1);  // past the end: reported
  EXPECT_EQ(corruption_.reports.size(), 1u);
}

// A window whose message box goes to standard error, where the death test
// can see it.
class StderrWindow : public edbtest::RecordingWindow {
 public:
  void ShowMessage(edb::MessageKind, std::u16string_view text, std::u16string_view caption) override {
    std::fprintf(stderr, "box [%s] %s\n", std::string(caption.begin(), caption.end()).c_str(),
                 std::string(text.begin(), text.end()).c_str());
  }
};

TEST_F(RealTableExport, RunningOutOfMemoryInAHandlerEndsWithAnErrorAndNonZeroExit) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  Open("basic.edb");
  StderrWindow window;
  handlers_.on_record = [](const edbtest::HandledRecord&) { throw std::bad_alloc(); };
  edb::ExportContext context{session_, window, handlers_, corruption_, nullptr};
  EXPECT_EXIT(edb::ExportTableByName(context, u"basic"), ::testing::ExitedWithCode(edb::kOutOfMemoryExitCode),
              "box \\[Zendrask Systems Exchange Recovery\\] Out Of Memory");
}

}  // namespace
