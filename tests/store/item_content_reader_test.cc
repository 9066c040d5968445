// The item-content reader on Msg records written with our ESE writer: mail
// content (key, own body kind, recipients with their fallback, the length
// rule of attachment identifiers), contact fields and HTML, and what is
// kept for each folder family.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ese/database_writer.h"
#include "store/folder_contents.h"
#include "store/item_content_reader.h"
#include "store/store_session.h"
#include "store/table_directory.h"
#include "base/text_encoding.h"
#include "scan_recorders.h"
#include "test_support.h"

namespace {

using esewriter::ColumnType;
using esewriter::Value;

std::vector<uint8_t> Id(std::initializer_list<uint8_t> bytes) { return bytes; }

// 60 recipients: more than a record keeps inline, so "N67b4" is a long value.
std::string ManyRecipients() {
  std::string bytes;
  for (int i = 0; i < 60; ++i) bytes += "User " + std::to_string(i) + std::string(1, '\0') + "SMTP" +
                                        std::string(1, '\0') + "user" + std::to_string(i) + "@contoso.com" +
                                        std::string(1, '\0');
  return bytes;
}

class ItemContentReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    esewriter::DatabaseWriter db;
    esewriter::TableWriter& msg = db.AddTable(
        {"Msg",
         {{"N67b0", ColumnType::kBinary},   {"N67b3", ColumnType::kBinary},
          {"S8299", ColumnType::kLongText}, {"N67b4", ColumnType::kLongBinary},
          {"S82a0", ColumnType::kLongText}, {"S3a5c", ColumnType::kLongText},
          {"S1000", ColumnType::kLongText}, {"N1013", ColumnType::kLongBinary}}});
    const std::string nul(1, '\0');
    // 0: every mail column; an 8-byte attachment identifier.
    msg.Append({Value::Bytes(Id({1, 0, 0, 0, 0, 0, 0, 1})), Value::Bytes(Id({1, 0, 0, 0, 0, 2, 1, 1})),
                Value::Text1252("Ann; Bob"), Value::Bytes("Ann" + nul + "SMTP" + nul + "ann@contoso.com" + nul),
                Value::Text1252("Max"), Value::Text1252("NRW"), Value::Text1252("Hello"), Value::Null()});
    // 1: a 7-byte identifier text (14 digits), no recipients list, no body.
    msg.Append({Value::Bytes(Id({1, 0, 0, 0, 0, 0, 0, 2})), Value::Bytes(Id({1, 0, 0, 0, 0, 2, 1})),
                Value::Text1252("Zed"), Value::Null(), Value::Null(), Value::Null(), Value::Null(), Value::Null()});
    // 2: an HTML body and a recipient list kept as a long value.
    msg.Append({Value::Bytes(Id({1, 0, 0, 0, 0, 0, 0, 3})), Value::Null(), Value::Null(),
                Value::Bytes(ManyRecipients()), Value::Null(), Value::Null(), Value::Null(),
                Value::Bytes("<p>Hi</p>")});
    db.Finish((scratch_ / "msg.edb").string());

    session_.database_path = (scratch_ / "msg.edb").string();
    ASSERT_TRUE(session_.OpenDatabase(corruption_).ok());
    ASSERT_EQ(edb::BuildTableDirectory(session_, corruption_), edb::DirectoryOutcome::kEveryTableListed);
    edb::Status error;
    ASSERT_EQ(session_.OpenTable(u"Msg", &table_, &error), edb::TableLookup::kOpened);
    attachments_ = {{u"0100000000020101", u"a.txt", 0}, {u"0100000000020102", u"b.txt", 1}};
  }

  // Reads records `indexes` as items of `family`, each under its own key;
  // kUnreadable when any of them was.
  edb::RecordOutcome Read(edb::ItemContentReader& reader, edb::ItemFamily family,
                          std::initializer_list<int> indexes) {
    reader.set_family(family);
    edb::RecordOutcome result = edb::RecordOutcome::kHandled;
    for (int index : indexes) {
      auto record = table_.handle->ReadRecord(index);
      if (!record.ok()) throw std::runtime_error("record");
      reader.set_current_key(u"key" + std::u16string(1, u'0' + index));
      reader.SetCurrentRow(u"Sender", u"Subject", u"Date");
      if (reader.ReadItem({record->get(), &table_.handle->columns()}, window_) != edb::RecordOutcome::kHandled) {
        result = edb::RecordOutcome::kUnreadable;
      }
    }
    return result;
  }

  edb::ItemContentReader Reader() {
    return edb::ItemContentReader(&contents_, attachments_, corruption_);
  }

  edbtest::ScratchDir scratch_;
  edbtest::RecordingCorruption corruption_;
  edbtest::RecordingEvents window_;
  edb::StoreSession session_;
  edb::OpenedTable table_;
  std::vector<edb::AttachmentEntry> attachments_;
  edb::FolderContents contents_;
};

TEST_F(ItemContentReaderTest, MailRecordsBecomeItemContent) {
  edb::ItemContentReader reader = Reader();
  ASSERT_EQ(Read(reader, edb::ItemFamily::kMail, {0, 1, 2}), edb::RecordOutcome::kHandled);
  const std::vector<edb::ItemContent>& items = contents_.items();
  ASSERT_EQ(items.size(), 3u);

  EXPECT_EQ(items[0].key, u"100000000000001");
  EXPECT_EQ(items[0].recipients, u"ann@contoso.com,");
  EXPECT_EQ(items[0].attachments, u"a.txt;");
  EXPECT_EQ(items[0].body_kind, edb::BodyKind::kText);
  EXPECT_EQ(items[0].sender + items[0].subject + items[0].date, u"SenderSubjectDate");
  ASSERT_EQ(contents_.ChunksOf(items[0]).size(), 1u);
  EXPECT_EQ(contents_.ChunksOf(items[0])[0]->text, u"Hello");
  EXPECT_EQ(contents_.ChunksOf(items[0])[0]->key, u"key0");

  // Identifier text of 14 digits: no names even though "a.txt" begins so.
  EXPECT_EQ(items[1].attachments, std::nullopt);
  // No recipient list: the display list stands in.
  EXPECT_EQ(items[1].recipients, u"Zed");
  // A record without body is "empty", whatever the record before had.
  EXPECT_EQ(items[1].body_kind, edb::BodyKind::kEmpty);
  EXPECT_TRUE(contents_.ChunksOf(items[1]).empty());

  EXPECT_EQ(items[2].body_kind, edb::BodyKind::kHtml);
  ASSERT_TRUE(items[2].recipients.has_value());
  EXPECT_TRUE(items[2].recipients->starts_with(u"user0@contoso.com,user1@contoso.com,"));
  EXPECT_TRUE(items[2].recipients->ends_with(u"user59@contoso.com,"));
  EXPECT_EQ(items[2].attachments, std::nullopt);
  EXPECT_EQ(contents_.FirstItem(u"100000000000003"), &items[2]);
}

TEST_F(ItemContentReaderTest, FailingRecipientExtractionFallsBackToTheDisplayList) {
  for (int failure = 0; failure < 2; ++failure) {
    contents_.Clear();
    edb::ItemContentReader reader = Reader();
    reader.set_recipient_extractor([&](std::u16string_view) -> std::optional<std::u16string> {
      if (failure == 0) throw std::runtime_error("pattern failed");
      return std::nullopt;
    });
    ASSERT_EQ(Read(reader, edb::ItemFamily::kMail, {0, 2}), edb::RecordOutcome::kHandled);
    ASSERT_EQ(contents_.items().size(), 2u);
    EXPECT_EQ(contents_.items()[0].recipients, u"Ann; Bob");
    EXPECT_EQ(contents_.items()[1].recipients, std::nullopt);  // no "S8299" either
  }
}

TEST_F(ItemContentReaderTest, ContactRecordsBecomeContactContent) {
  edb::ItemContentReader reader = Reader();
  ASSERT_EQ(Read(reader, edb::ItemFamily::kContact, {0, 1}), edb::RecordOutcome::kHandled);
  EXPECT_TRUE(contents_.items().empty());
  ASSERT_EQ(contents_.contacts().size(), 2u);
  const edb::ContactContent& max = contents_.contacts()[0];
  EXPECT_EQ(max.key(), u"100000000000001");
  EXPECT_EQ(max.html(), u"<br><b>Full Name: </b>Max<br><b>Home Address State </b>NRW<br>");
  EXPECT_EQ(max.slots[8], u"Max");
  EXPECT_EQ(max.slots[37], u"NRW");
  // No labelled column at all.
  EXPECT_EQ(contents_.contacts()[1].html(), u"<br>");
  EXPECT_EQ(contents_.FirstContact(u"100000000000002"), &contents_.contacts()[1]);
}

TEST_F(ItemContentReaderTest, OtherFamiliesAndMissingRecordsKeepNothing) {
  edb::ItemContentReader reader = Reader();
  EXPECT_EQ(Read(reader, edb::ItemFamily::kAppointment, {0, 2}), edb::RecordOutcome::kHandled);
  EXPECT_EQ(reader.ReadItem({nullptr, nullptr}, window_), edb::RecordOutcome::kUnreadable);
  EXPECT_TRUE(contents_.items().empty());
  EXPECT_TRUE(contents_.contacts().empty());
  EXPECT_EQ(contents_.chunks().size(), 0u);
}

}  // namespace
