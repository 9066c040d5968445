// Messages written in each format and read back by Python's email package:
// every header value, body form and attachment byte arrives as the item
// had it, with no parser defects.
#include <gtest/gtest.h>

#include "base/status.h"
#include "export_readback.h"
#include "export/target_store.h"
#include "test_support.h"

namespace edb {
namespace {

using edbtest::Attachment;
using nlohmann::json;

MailItem RichItem() {
  MailItem item;
  item.key = "0000000000001a2b";
  item.sender = {"Renée Lefèvre", "renee.lefevre@contoso.com"};
  item.recipients = {{"Søren Ødegård", "soren@example.org"}, {"", "plain@example.org"}};
  item.subject = "Überweisung – März: a very long subject line that goes past seventy-eight characters for sure";
  item.date = 1262686272;  // 2010-01-05 10:11:12 UTC
  item.body_text = "Hello Søren,\nFrom here on the text is plain.\n>From quoted\n";
  item.body_html = "<html><body><p>Hello <b>Søren</b></p></body></html>";
  item.attachments = {Attachment("report.pdf", edbtest::AllByteValues()),
                      Attachment("Ünïcödé naïve résumé with a long name, to be continued.txt", "plain text\n")};
  return item;
}

MailItem OddSenderItem() {
  MailItem item;
  item.key = "0000000000001a2c";
  item.sender = {"Doe, John [Sales] /OU=East", "john.doe@contoso.com"};
  item.recipients = {{"Doe, Jane", "jane@contoso.com"}};
  item.subject = "";
  item.body_text = "From the start\n";  // an mbox "From " line inside the body
  return item;
}

MailItem HtmlOnlyItem() {
  MailItem item;
  item.key = "0000000000001a2d";
  item.sender = {"Exchange Sender", ""};  // a name the store has no address for
  item.subject = "HTML only";
  item.date = 1700000000;
  item.body_html = "<html><body><p>First&nbsp;line</p><div>Second &amp; last</div></body></html>";
  return item;
}

MailItem HeadersItem() {
  MailItem item;
  item.key = "0000000000001a2e";
  item.sender = {"Ann", "ann@example.org"};
  item.recipients = {{"Bob", "bob@example.org"}};
  item.subject = "kept headers";
  item.date = 1600000000;
  item.message_id = "<original-123@mail.example.org>";
  item.internet_headers =
      "Received: from mx.example.org by mail.example.org;\r\n\tMon, 14 Sep 2020 12:26:40 +0000\r\n"
      "Message-ID: <original-123@mail.example.org>\r\n"
      "Cc: Carl <carl@example.org>\r\n"
      "Content-Type: multipart/mixed; boundary=\"gone\"\r\n"
      "X-Mailer: Outlook\r\n\r\n";
  item.body_text = "body";
  return item;
}

const json* FindMessage(const json& messages, const std::string& subject) {
  for (const json& message : messages) {
    if (message["subject"] == subject) return &message;
  }
  return nullptr;
}

class MailRoundTrip : public ::testing::TestWithParam<MailFormat> {
 protected:
  std::string FormatName() const {
    switch (GetParam()) {
      case MailFormat::kMbox:
        return "mbox";
      case MailFormat::kEml:
        return "eml";
      case MailFormat::kMaildir:
        break;
    }
    return "maildir";
  }

  json WriteAndRead(const std::vector<MailItem>& items, SaveCounts* counts = nullptr,
                    std::vector<std::string>* problems = nullptr) {
    {
      Result<std::unique_ptr<TargetStore>> store = TargetStore::Open(scratch_ / "store", GetParam());
      EXPECT_TRUE(store.ok()) << store.status().reason();
      if (!store) return nullptr;
      for (const MailItem& item : items) {
        Result<ItemOutcome> outcome = (*store)->WriteMail("Renée's mailbox", "Inbox", item, problems);
        EXPECT_TRUE(outcome.ok()) << outcome.status().reason();
      }
      EXPECT_TRUE((*store)->Finish().ok());
      if (counts != nullptr) *counts = (*store)->counts();
    }
    return edbtest::ReadTargetStore(scratch_ / "store", FormatName());
  }

  edbtest::ScratchDir scratch_;
};

TEST_P(MailRoundTrip, HeadersBodiesAndAttachmentsArriveAsTheItemHasThem) {
  SaveCounts counts;
  const json read = WriteAndRead({RichItem(), OddSenderItem(), HtmlOnlyItem(), HeadersItem()}, &counts);
  ASSERT_TRUE(read.is_object());
  const json& messages = read["messages"];
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(counts.messages, 4);
  EXPECT_EQ(counts.attachments, 2);
  for (const json& message : messages) EXPECT_TRUE(message["defects"].empty()) << message.dump();

  const MailItem rich = RichItem();
  const json* m = FindMessage(messages, rich.subject);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ((*m)["from"], json::parse(R"([{"name":"Renée Lefèvre","address":"renee.lefevre@contoso.com"}])"));
  EXPECT_EQ((*m)["to"], json::parse(R"([{"name":"Søren Ødegård","address":"soren@example.org"},
                                       {"name":"","address":"plain@example.org"}])"));
  EXPECT_EQ((*m)["date"], *rich.date);
  EXPECT_EQ((*m)["message_id"], "<edb.0000000000001a2b@edbrecover.invalid>");
  EXPECT_EQ((*m)["text"], rich.body_text);
  EXPECT_EQ((*m)["html"], rich.body_html);
  ASSERT_EQ((*m)["attachments"].size(), 2u);
  EXPECT_EQ((*m)["attachments"][0]["name"], "report.pdf");
  EXPECT_EQ((*m)["attachments"][0]["type"], "application/pdf");
  EXPECT_EQ((*m)["attachments"][0]["data"], "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4"
                                            "OTo7PD0+P0BBQkNERUZHSElKS0xNTk9QUVJTVFVWV1hZWltcXV5fYGFiY2RlZmdoaWprbG1ub3Bx"
                                            "cnN0dXZ3eHl6e3x9fn+AgYKDhIWGh4iJiouMjY6PkJGSk5SVlpeYmZqbnJ2en6ChoqOkpaanqKmq"
                                            "q6ytrq+wsbKztLW2t7i5uru8vb6/wMHCw8TFxsfIycrLzM3Oz9DR0tPU1dbX2Nna29zd3t/g4eLj"
                                            "5OXm5+jp6uvs7e7v8PHy8/T19vf4+fr7/P3+/w0KRnJvbSB0aGUgZW5kCi4K");
  EXPECT_EQ((*m)["attachments"][1]["name"], "Ünïcödé naïve résumé with a long name, to be continued.txt");
  EXPECT_EQ((*m)["attachments"][1]["type"], "text/plain");

  // An empty subject stays empty; the sender keeps its commas, brackets and slashes.
  m = FindMessage(messages, "");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ((*m)["from"][0]["name"], "Doe, John [Sales] /OU=East");
  EXPECT_EQ((*m)["to"][0]["name"], "Doe, Jane");
  EXPECT_EQ((*m)["date"], nullptr);
  EXPECT_EQ((*m)["text"], "From the start\n");

  m = FindMessage(messages, "HTML only");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ((*m)["from"][0]["name"], "Exchange Sender");
  EXPECT_EQ((*m)["text"], "First line\nSecond & last");
  EXPECT_NE((*m)["html"], nullptr);

  m = FindMessage(messages, "kept headers");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ((*m)["message_id"], "<original-123@mail.example.org>");
  const json& headers = (*m)["headers"];
  for (const char* kept : {"received", "cc", "x-mailer"}) {
    EXPECT_NE(std::find(headers.begin(), headers.end(), kept), headers.end()) << kept;
  }
  EXPECT_EQ(std::count(headers.begin(), headers.end(), "message-id"), 1);
  EXPECT_EQ(std::count(headers.begin(), headers.end(), "content-type"), 1);
  EXPECT_EQ((*m)["text"], "body\n");
}

TEST_P(MailRoundTrip, AnAttachmentThatCannotBeReadCostsOnlyItself) {
  MailItem item = RichItem();
  item.attachments.insert(item.attachments.begin(),
                          MailAttachment{"lost.bin", [] { return Result<std::string>(Status::Corruption("page 87: checksum mismatch")); }});
  SaveCounts counts;
  std::vector<std::string> problems;
  const json read = WriteAndRead({item}, &counts, &problems);
  ASSERT_EQ(read["messages"].size(), 1u);
  EXPECT_EQ(read["messages"][0]["attachments"].size(), 2u);
  EXPECT_EQ(counts.skipped, 1);
  EXPECT_EQ(counts.attachments, 2);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("lost.bin"), std::string::npos);
  EXPECT_NE(problems[0].find("checksum mismatch"), std::string::npos);
}

TEST_P(MailRoundTrip, ARerunWritesNothingTwice) {
  const std::vector<MailItem> items = {RichItem(), OddSenderItem(), HtmlOnlyItem()};
  WriteAndRead(items);
  const int files = edbtest::CountFiles(scratch_ / "store");
  SaveCounts counts;
  const json read = WriteAndRead(items, &counts);
  EXPECT_EQ(counts.messages, 0);
  EXPECT_EQ(counts.already_there, 3);
  EXPECT_EQ(edbtest::CountFiles(scratch_ / "store"), files);
  EXPECT_EQ(read["messages"].size(), 3u);
}

TEST_P(MailRoundTrip, TwoRecordsWithOneKeyAreBothKept) {
  MailItem second = OddSenderItem();
  second.key = RichItem().key;
  const json read = WriteAndRead({RichItem(), second});
  EXPECT_EQ(read["messages"].size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Formats, MailRoundTrip,
                         ::testing::Values(MailFormat::kMaildir, MailFormat::kMbox, MailFormat::kEml),
                         [](const auto& info) {
                           return std::string(info.param == MailFormat::kMaildir ? "Maildir"
                                              : info.param == MailFormat::kMbox  ? "Mbox"
                                                                                 : "Eml");
                         });

}  // namespace
}  // namespace edb
