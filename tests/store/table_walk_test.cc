// The table export over stores written by our ESE writer: the progress
// sweep, column positions and the Mailbox defaults, dispatch by name, damage
// and out-of-memory, and the single-record export of Msg.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "scan_recorders.h"
#include "scan_test_stores.h"
#include "base/pause_gate.h"
#include "store/memory_exhausted.h"
#include "store/table_walk.h"
#include "store/table_directory.h"
#include "base/text_encoding.h"
#include "store/value_text.h"
#include "test_support.h"

namespace {

using edb::RecordHandlerKind;
using edb::WalkOutcome;
using edbtest::CellText;
using edbtest::TextTable;

class TableExport : public ::testing::Test {
 protected:
  void Write(const std::vector<TextTable>& tables) {
    std::string path = (scratch_ / "store.edb").string();
    edbtest::WriteTextTables(path, tables);
    session_.database_path = path;
    edb::Status opened = session_.OpenDatabase(corruption_);
    ASSERT_TRUE(opened.ok()) << opened.reason();
    ASSERT_EQ(edb::BuildTableDirectory(session_, corruption_), edb::DirectoryOutcome::kEveryTableListed);
  }

  edb::WalkOutcome Export(std::u16string_view table) { return edb::WalkTableByName(context_, table); }

  edbtest::ScratchDir scratch_;
  edbtest::RecordingCorruption corruption_;
  edb::StoreSession session_;
  edbtest::RecordingEvents window_;
  edbtest::RecordingHandlers handlers_;
  edb::ReadContext context_{session_, window_, handlers_, corruption_, nullptr};
};

std::vector<int> Range(int from, int to) {
  std::vector<int> values;
  for (int i = from; i <= to; ++i) values.push_back(i);
  return values;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> joined;
  for (const auto& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

TEST_F(TableExport, ProgressBarSweepsOncePerHundredRecords) {
  Write({{"1-A0", {"C"}, 0}, {"1-A1", {"C"}, 1}, {"1-A100", {"C"}, 100}, {"1-A101", {"C"}, 101},
         {"1-A250", {"C"}, 250}});
  struct Case {
    std::u16string_view table;
    size_t records;
    std::vector<int> positions;
  };
  const Case cases[] = {
      {u"1-A0", 0, {}},
      {u"1-A1", 1, {0}},
      {u"1-A100", 100, Range(0, 99)},
      {u"1-A101", 101, Join({Range(0, 100), {0}})},
      // Records 0..100 show 0..100 (100 also resets to 0), 101..200 show
      // 1..100 (200 resets again), 201..249 show 1..49.
      {u"1-A250", 250, Join({Range(0, 100), {0}, Range(1, 100), {0}, Range(1, 49)})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.records);
    window_.calls.clear();
    handlers_.records.clear();
    EXPECT_EQ(Export(c.table), WalkOutcome::kComplete);
    EXPECT_EQ(window_.ProgressPositions(), c.positions);
    EXPECT_EQ(handlers_.Indexes(RecordHandlerKind::kContentsRow).size(), c.records);
  }
}

TEST_F(TableExport, HandlersFindTheirNamedColumnsAndMailboxFallsBackTo20And29) {
  std::vector<std::string> numbered = edbtest::NumberedColumns(31);
  Write({{"Mailbox", numbered, 2},
         {"Folders", {"S3613", "s3001", "Q6764", "Q6748"}, 1},
         {"Msg", {"N67b3", "N67b0", "N67B0"}, 2},
         {"1-23", {"S3704", "N3701", "S3001", "Q3f88"}, 1},
         {"1-23x", {"Q3f88"}, 1}});
  // Handlers that read the located values, so a wrong position shows.
  class ReadingHandlers : public edbtest::RecordingHandlers {
   public:
    std::vector<std::u16string> texts;
    std::u16string Read(const edb::RecordRef& r, std::optional<int32_t> column) {
      return column ? edb::ValueText(r, *column, u"-").value_or(u"?") : u"unset";
    }
    edb::RecordOutcome Mailbox(const edb::RecordRef& r, const edb::ColumnPositions& c, edb::StoreEvents& w) override {
      texts.push_back(Read(r, c.mailbox_key) + u"|" + Read(r, c.display_name));
      return RecordingHandlers::Mailbox(r, c, w);
    }
    edb::RecordOutcome MessageIndex(const edb::RecordRef& r, const edb::ColumnPositions& c, int32_t i,
                                    edb::StoreEvents& w) override {
      texts.push_back(Read(r, c.message_key) + u"|" + Read(r, c.attachment_ids));
      return RecordingHandlers::MessageIndex(r, c, i, w);
    }
  } reading;
  edb::ReadContext context{session_, window_, reading, corruption_, nullptr};
  for (std::u16string_view table : {u"Mailbox", u"Folders", u"Msg", u"1-23", u"1-23x"}) {
    EXPECT_EQ(edb::WalkTableByName(context, table), WalkOutcome::kComplete);
  }
  EXPECT_EQ(reading.texts, (std::vector<std::u16string>{
                               CellText("C20", 0) + u"|" + CellText("C29", 0),
                               CellText("C20", 1) + u"|" + CellText("C29", 1),
                               CellText("N67b0", 0) + u"|" + CellText("N67b3", 0),  // not "N67B0"
                               CellText("N67b0", 1) + u"|" + CellText("N67b3", 1),
                           }));
  ASSERT_EQ(reading.records.size(), 7u);
  const edb::ColumnPositions& folders = reading.records[2].columns;  // no defaults here
  EXPECT_EQ(folders.folder_id, 3);
  EXPECT_EQ(folders.mailbox_key, 2);
  EXPECT_FALSE(folders.display_name);  // "s3001" differs in case
  EXPECT_EQ(folders.container_class, 0);
  const edb::ColumnPositions& attachments = reading.records[5].columns;
  EXPECT_EQ(attachments.attachment_key, 3);
  EXPECT_EQ(attachments.display_name, 2);
  EXPECT_EQ(attachments.attachment_data, 1);
  EXPECT_EQ(attachments.attachment_file_name, 0);
  EXPECT_FALSE(attachments.mailbox_key);
  // "1-23x" is a contents table whose columns are located like 1-23's.
  EXPECT_EQ(reading.records[6].kind, RecordHandlerKind::kContentsRow);
  EXPECT_EQ(reading.records[6].columns.attachment_key, 0);
}

TEST_F(TableExport, TheExactNameChoosesTheHandlerAndSomeLengthsAreNeverExported) {
  const std::pair<const char*, RecordHandlerKind> cases[] = {
      {"1-23", RecordHandlerKind::kAttachment},      {"1-23x", RecordHandlerKind::kContentsRow},
      {"1-5F", RecordHandlerKind::kContentsRow},     {"1-91C1", RecordHandlerKind::kContentsRow},
      {"Msg", RecordHandlerKind::kMessageIndex},     {"Folders", RecordHandlerKind::kFolder},
      {"Mailbox", RecordHandlerKind::kMailbox},      {"Mailboxes", RecordHandlerKind::kContentsRow},
      {"Ab", RecordHandlerKind::kContentsRow},       {"Abcde", RecordHandlerKind::kContentsRow},
      {"Abcdefghij", RecordHandlerKind::kContentsRow}, {"Abcdefghijklmnopq", RecordHandlerKind::kContentsRow},
      {"msg", RecordHandlerKind::kNone},             {"Global", RecordHandlerKind::kNone},
      {"Abcdefg", RecordHandlerKind::kNone},         {"SmTblSection", RecordHandlerKind::kNone},
      {"SystemIndex_0A", RecordHandlerKind::kNone},  {"SystemIndex_Gthr", RecordHandlerKind::kNone},
  };
  std::vector<TextTable> tables;
  for (const auto& [name, kind] : cases) tables.push_back({name, {"C"}, 2});
  Write(tables);
  for (const auto& [name, kind] : cases) {
    SCOPED_TRACE(name);
    window_.calls.clear();
    handlers_.records.clear();
    if (kind == RecordHandlerKind::kNone) {
      EXPECT_EQ(Export(edb::Utf8ToUtf16(name)), WalkOutcome::kRecordsSkipped);
      EXPECT_TRUE(handlers_.records.empty());
      EXPECT_EQ(window_.ProgressPositions(), std::vector<int>{0});
      continue;
    }
    EXPECT_EQ(Export(edb::Utf8ToUtf16(name)), WalkOutcome::kComplete);
    ASSERT_EQ(handlers_.records.size(), 2u);
    EXPECT_EQ(handlers_.records[0].kind, kind);
    EXPECT_EQ(handlers_.records[1].kind, kind);
  }
  EXPECT_EQ(Export(u"ABCDEFGHIJ"), WalkOutcome::kComplete);  // not in the directory: nothing happens
  EXPECT_TRUE(handlers_.records.empty());
}

TEST_F(TableExport, ARecordItsHandlerRejectsIsReportedAndTheRestStillExported) {
  Write({{"Msg", {"N67b0"}, 4}});
  handlers_.result = [](const edbtest::HandledRecord& record) {
    return record.index == 1 ? edb::RecordOutcome::kUnreadable : edb::RecordOutcome::kHandled;
  };
  EXPECT_EQ(Export(u"Msg"), WalkOutcome::kRecordsSkipped);
  EXPECT_EQ(handlers_.Indexes(RecordHandlerKind::kMessageIndex), (std::vector<int32_t>{0, 1, 2, 3}));
  ASSERT_EQ(corruption_.reports.size(), 1u);
  EXPECT_TRUE(corruption_.reports[0].starts_with("table Msg, record 1: ")) << corruption_.reports[0];
}

TEST_F(TableExport, ACancelledGateEndsTheWalkBeforeItsNextRecord) {
  Write({{"Msg", {"N67b0"}, 4}});
  edb::PauseGate gate;
  edb::ReadContext context{session_, window_, handlers_, corruption_, &gate};
  handlers_.on_record = [&](const edbtest::HandledRecord& record) {
    if (record.index == 1) gate.Cancel();
  };
  EXPECT_EQ(edb::WalkTableByName(context, u"Msg"), WalkOutcome::kCancelled);
  EXPECT_EQ(handlers_.Indexes(RecordHandlerKind::kMessageIndex), (std::vector<int32_t>{0, 1}));
  EXPECT_TRUE(corruption_.reports.empty()) << "a cancel is no damage";
}

TEST_F(TableExport, RunningOutOfMemoryInAHandlerThrowsWhatRanOutForTheCallerToEnd) {
  Write({{"Folders", {"C"}, 2}});
  handlers_.on_record = [](const edbtest::HandledRecord&) { throw std::bad_alloc(); };
  try {
    edb::WalkTableByName(context_, u"Folders");
    ADD_FAILURE() << "no exception";
  } catch (const edb::MemoryExhausted& error) {
    EXPECT_EQ(error.use(), edb::MemoryUse::kEntryLists);
  }
}

TEST_F(TableExport, SingleMsgRecordReachesTheItemReaderByPosition) {
  Write({{"Msg", {"N67b0"}, 5}, {"Msgs", {"N67b0"}, 5}});
  class ItemReader : public edbtest::RecordingHandlers {
   public:
    std::vector<std::u16string> keys;
    edb::RecordOutcome ItemContent(const edb::RecordRef& r, edb::StoreEvents&) override {
      keys.push_back(edb::ValueText(r, 0, std::nullopt).value_or(u"?"));
      return edb::RecordOutcome::kHandled;
    }
  } reader;
  edb::ReadContext context{session_, window_, reader, corruption_, nullptr};
  edb::OpenedTable msg;
  edb::OpenedTable msgs;
  edb::Status error;
  ASSERT_EQ(session_.OpenTable(u"Msg", &msg, &error), edb::TableLookup::kOpened);
  ASSERT_EQ(session_.OpenTable(u"Msgs", &msgs, &error), edb::TableLookup::kOpened);
  using edb::RecordOutcome;
  EXPECT_EQ(edb::ReadMsgRecord(context, msg, 3), RecordOutcome::kHandled);
  EXPECT_EQ(edb::ReadMsgRecord(context, msg, 0), RecordOutcome::kHandled);
  EXPECT_EQ(edb::ReadMsgRecord(context, msgs, 1), RecordOutcome::kHandled);  // not the Msg table: nothing read
  EXPECT_EQ(corruption_.reports.size(), 0u);
  EXPECT_EQ(edb::ReadMsgRecord(context, msg, 5), RecordOutcome::kUnreadable);  // past the end: reported
  EXPECT_EQ(reader.keys, (std::vector<std::u16string>{CellText("N67b0", 3), CellText("N67b0", 0)}));
  EXPECT_EQ(corruption_.reports.size(), 1u);
}

TEST_F(TableExport, AMsgRecordTheItemReaderCannotReadIsReportedOnceAsUnreadable) {
  Write({{"Msg", {"N67b0"}, 2}});
  handlers_.result = [](const edbtest::HandledRecord&) { return edb::RecordOutcome::kUnreadable; };
  edb::OpenedTable msg;
  edb::Status error;
  ASSERT_EQ(session_.OpenTable(u"Msg", &msg, &error), edb::TableLookup::kOpened);
  EXPECT_EQ(edb::ReadMsgRecord(context_, msg, 1), edb::RecordOutcome::kUnreadable);
  ASSERT_EQ(corruption_.reports.size(), 1u);
  EXPECT_EQ(corruption_.reports[0], "table Msg, record 1: the item's content could not be read");
}

}  // namespace
