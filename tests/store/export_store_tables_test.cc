// The table export over stores written by our ESE writer: column positions
// of the store tables, dispatch by name, the progress sweep for chosen record
// counts, and the single-record export of Msg.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan_recorders.h"
#include "scan_test_stores.h"
#include "store/export_table.h"
#include "store/table_directory.h"
#include "store/text_encoding.h"
#include "store/value_text.h"
#include "test_support.h"

namespace {

using edb::RecordHandlerKind;
using edbtest::CellText;
using edbtest::TextTable;

class StoreTableExport : public ::testing::Test {
 protected:
  void Write(const std::vector<TextTable>& tables) {
    std::string path = (scratch_ / "store.edb").string();
    edbtest::WriteTextTables(path, tables);
    session_.database_path = path;
    edb::EsedbError error;
    ASSERT_TRUE(session_.OpenDatabase(corruption_, &error)) << error.Message();
    ASSERT_EQ(edb::BuildTableDirectory(session_, corruption_), 1);
  }

  int Export(std::u16string_view table) { return edb::ExportTableByName(context_, table); }

  edbtest::ScratchDir scratch_;
  edbtest::RecordingCorruption corruption_;
  edb::StoreSession session_;
  edbtest::RecordingWindow window_;
  edbtest::RecordingHandlers handlers_;
  edb::ExportContext context_{session_, window_, handlers_, corruption_, nullptr};
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

TEST_F(StoreTableExport, ProgressBarSweepsOncePerHundredRecords) {
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
    EXPECT_EQ(Export(c.table), 1);
    EXPECT_EQ(window_.ProgressPositions(), c.positions);
    EXPECT_EQ(handlers_.records.size(), c.records);
  }
}

TEST_F(StoreTableExport, MailboxColumnsDefaultTo20And29OnlyInMailboxTables) {
  std::vector<std::string> numbered = edbtest::NumberedColumns(31);
  std::vector<std::string> named = numbered;
  named[3] = "Q6764";
  named[8] = "S3001";
  Write({{"Mailbox", numbered, 1}, {"Folders", numbered, 1}});
  EXPECT_EQ(Export(u"Mailbox"), 1);
  EXPECT_EQ(Export(u"Folders"), 1);
  ASSERT_EQ(handlers_.records.size(), 2u);
  const edb::ColumnPositions& mailbox = handlers_.records[0].columns;
  EXPECT_EQ(mailbox.mailbox_key, 20);
  EXPECT_EQ(mailbox.display_name, 29);
  const edb::ColumnPositions& folders = handlers_.records[1].columns;
  EXPECT_FALSE(folders.mailbox_key || folders.display_name || folders.folder_id || folders.container_class);
}

TEST_F(StoreTableExport, StoreTablesGetTheirNamedColumnsPositions) {
  Write({{"Mailbox", {"x", "S3001", "Q6764"}, 1},
         {"Folders", {"S3613", "s3001", "Q6764", "Q6748", "S3001"}, 1},
         {"Msg", {"N67b3", "N67b0", "N67B0"}, 1},
         {"1-23", {"S3704", "N3701", "S3001", "Q3f88"}, 1},
         {"1-23x", {"Q3f88"}, 1}});
  for (std::u16string_view table : {u"Mailbox", u"Folders", u"Msg", u"1-23", u"1-23x"}) EXPECT_EQ(Export(table), 1);
  ASSERT_EQ(handlers_.records.size(), 5u);
  const edb::ColumnPositions& mailbox = handlers_.records[0].columns;
  EXPECT_EQ(mailbox.mailbox_key, 2);
  EXPECT_EQ(mailbox.display_name, 1);
  const edb::ColumnPositions& folders = handlers_.records[1].columns;
  EXPECT_EQ(folders.folder_id, 3);
  EXPECT_EQ(folders.mailbox_key, 2);
  EXPECT_EQ(folders.display_name, 4);  // "s3001" differs in case
  EXPECT_EQ(folders.container_class, 0);
  const edb::ColumnPositions& msg = handlers_.records[2].columns;
  EXPECT_EQ(msg.message_key, 1);
  EXPECT_EQ(msg.attachment_ids, 0);
  const edb::ColumnPositions& attachments = handlers_.records[3].columns;
  EXPECT_EQ(attachments.attachment_key, 3);
  EXPECT_EQ(attachments.display_name, 2);
  EXPECT_EQ(attachments.attachment_data, 1);
  EXPECT_EQ(attachments.attachment_file_name, 0);
  EXPECT_FALSE(attachments.mailbox_key);
  // "1-23x" is a contents table, but its columns are located like 1-23's.
  EXPECT_EQ(handlers_.records[4].kind, RecordHandlerKind::kContentsRow);
  EXPECT_EQ(handlers_.records[4].columns.attachment_key, 0);
}

TEST_F(StoreTableExport, DispatchByNameReachesTheRightHandler) {
  Write({{"1-23", {"C"}, 2}, {"1-23x", {"C"}, 2}, {"1-5F", {"C"}, 2}, {"Msg", {"C"}, 2},
         {"Folders", {"C"}, 2}, {"Mailbox", {"C"}, 2}, {"Mailboxes", {"C"}, 2}});
  const std::pair<std::u16string_view, RecordHandlerKind> cases[] = {
      {u"1-23", RecordHandlerKind::kAttachment},     {u"1-23x", RecordHandlerKind::kContentsRow},
      {u"1-5F", RecordHandlerKind::kContentsRow},    {u"Msg", RecordHandlerKind::kMessageIndex},
      {u"Folders", RecordHandlerKind::kFolder},      {u"Mailbox", RecordHandlerKind::kMailbox},
      {u"Mailboxes", RecordHandlerKind::kContentsRow},
  };
  for (const auto& [table, kind] : cases) {
    handlers_.records.clear();
    EXPECT_EQ(Export(table), 1);
    ASSERT_EQ(handlers_.records.size(), 2u);
    EXPECT_EQ(handlers_.records[0].kind, kind);
    EXPECT_EQ(handlers_.records[1].kind, kind);
  }
  EXPECT_EQ(handlers_.Indexes(RecordHandlerKind::kContentsRow), (std::vector<int32_t>{0, 1}));
}

TEST_F(StoreTableExport, NamesOfLength3_6_7_12_14_16AreNotExported) {
  const char* const unexported[] = {"Abc", "Global", "Abcdefg", "SmTblSection", "SystemIndex_0A", "SystemIndex_Gthr"};
  const char* const exported[] = {"Ab", "Abcd", "Abcde", "Abcdefgh", "Abcdefghijklm", "Abcdefghijklmnopq"};
  std::vector<TextTable> tables;
  for (const char* name : unexported) tables.push_back({name, {"C"}, 3});
  for (const char* name : exported) tables.push_back({name, {"C"}, 3});
  Write(tables);
  for (const char* name : unexported) {
    SCOPED_TRACE(name);
    window_.calls.clear();
    EXPECT_EQ(Export(edb::Utf8ToUtf16(name)), -1);
    EXPECT_TRUE(handlers_.records.empty());
    EXPECT_EQ(window_.ProgressPositions(), std::vector<int>{0});
  }
  for (const char* name : exported) {
    SCOPED_TRACE(name);
    handlers_.records.clear();
    EXPECT_EQ(Export(edb::Utf8ToUtf16(name)), 1);
    EXPECT_EQ(handlers_.Indexes(RecordHandlerKind::kContentsRow), (std::vector<int32_t>{0, 1, 2}));
  }
}

TEST_F(StoreTableExport, HandlersReadTheValuesAtTheLocatedPositions) {
  std::vector<std::string> numbered = edbtest::NumberedColumns(31);
  Write({{"Mailbox", numbered, 3}, {"Msg", {"N67b3", "x", "N67b0"}, 3}});
  class ReadingHandlers : public edbtest::RecordingHandlers {
   public:
    std::vector<std::u16string> texts;
    int Mailbox(const edb::RecordRef& r, const edb::ColumnPositions& c, edb::WindowPort&) override {
      texts.push_back(edb::ValueText(r, *c.mailbox_key, u"-").value_or(u"?") + u"|" +
                      edb::ValueText(r, *c.display_name, u"-").value_or(u"?"));
      return 1;
    }
    int MessageIndex(const edb::RecordRef& r, const edb::ColumnPositions& c, int32_t index,
                     edb::WindowPort&) override {
      texts.push_back(std::u16string(1, char16_t(u'0' + index)) + u":" +
                      edb::ValueText(r, *c.message_key, u"-").value_or(u"?") + u"|" +
                      edb::ValueText(r, *c.attachment_ids, u"-").value_or(u"?"));
      return 1;
    }
  } reading;
  edb::ExportContext context{session_, window_, reading, corruption_, nullptr};
  EXPECT_EQ(edb::ExportTableByName(context, u"Mailbox"), 1);
  EXPECT_EQ(edb::ExportTableByName(context, u"Msg"), 1);
  std::vector<std::u16string> expected = {
      CellText("C20", 0) + u"|" + CellText("C29", 0), CellText("C20", 1) + u"|" + CellText("C29", 1),
      CellText("C20", 2) + u"|" + CellText("C29", 2), u"0:" + CellText("N67b0", 0) + u"|" + CellText("N67b3", 0),
      u"1:" + CellText("N67b0", 1) + u"|" + CellText("N67b3", 1), u"2:" + CellText("N67b0", 2) + u"|" + CellText("N67b3", 2),
  };
  EXPECT_EQ(reading.texts, expected);
}

TEST_F(StoreTableExport, SingleMsgRecordReachesTheItemReaderByPosition) {
  Write({{"Msg", {"N67b0"}, 5}, {"Msgs", {"N67b0"}, 5}});
  class ItemReader : public edbtest::RecordingHandlers {
   public:
    std::vector<std::u16string> keys;
    int ItemContent(const edb::RecordRef& r, edb::WindowPort&) override {
      keys.push_back(edb::ValueText(r, 0, std::nullopt).value_or(u"?"));
      return 1;
    }
  } reader;
  edb::ExportContext context{session_, window_, reader, corruption_, nullptr};
  edb::OpenedTable msg;
  edb::OpenedTable msgs;
  edb::EsedbError error;
  ASSERT_EQ(session_.OpenTable(u"Msg", &msg, &error), edb::TableLookup::kOpened);
  ASSERT_EQ(session_.OpenTable(u"Msgs", &msgs, &error), edb::TableLookup::kOpened);
  EXPECT_EQ(edb::ExportMsgRecord(context, msg, 3), 1);
  EXPECT_EQ(edb::ExportMsgRecord(context, msg, 0), 1);
  EXPECT_EQ(edb::ExportMsgRecord(context, msgs, 1), 1);  // not the Msg table: nothing read
  EXPECT_EQ(edb::ExportMsgRecord(context, msg, 5), 1);   // past the end: reported
  EXPECT_EQ(reader.keys, (std::vector<std::u16string>{CellText("N67b0", 3), CellText("N67b0", 0)}));
  EXPECT_EQ(corruption_.reports.size(), 1u);
}

}  // namespace
