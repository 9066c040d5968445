// "edbgen json": a store written from a JSON description holds what the
// description says; faulty descriptions are refused with the place named.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "storegen/file_time.h"
#include "storegen/json_description.h"
#include "stored_table_support.h"
#include "test_support.h"

namespace {

using namespace storegentest;

constexpr const char* kDescription = R"({
  "plain_body_code_page": 1252,
  "mailboxes": [
    {"key": "3c00000000001001", "display_name": "Mailbox - Søren Jensen",
     "folders": [
       {"id": "1000000000020a1", "display_name": "Inbox", "container_class": "IPF.Note", "layout": "date_first",
        "items": [
          {"key": "5d00000010000001", "subject": "Smørrebrød", "submit_time": "2005-06-10T09:15:00Z",
           "sender": {"name": "Paul Smith", "type": "SMTP", "address": "paul@fabrikam.com"},
           "body": {"plain": "café", "rtf_text": "Hej", "html": "<p>€</p>", "html_charset": "windows-1252"},
           "attachments": [{"id": "100000040000001", "file_name": "x.bin", "data_base64": "AAEC/w==", "repeat": 600}],
           "properties": {"S3a06": "Jensen", "T820d": "2005-06-20T13:00:00Z"}}
        ]}
     ]}
  ],
  "loose_attachments": [{"display_name": "lost.bin", "data": "ab", "repeat": 3}]
})";

std::string RunEdbgen(const std::string& arguments, int* exit_code) {
  std::string out;
  *exit_code = edbtest::RunCommand(edbtest::Program("edbgen").string() + " " + arguments + " 2>&1", &out);
  return out;
}

TEST(JsonStore, WritesWhatTheDescriptionSays) {
  edbtest::ScratchDir dir;
  std::ofstream(dir / "store.json") << kDescription;
  int code = 0;
  const std::string output = RunEdbgen("json " + (dir / "store.json").string() + " --page-size 4096 " +
                                           (dir / "store.edb").string(), &code);
  ASSERT_EQ(code, 0) << output;
  const std::string path = (dir / "store.edb").string();

  const StoredTable mailboxes = ReadStoredTable(path, "Mailbox");
  ASSERT_EQ(mailboxes.rows.size(), 1u);
  EXPECT_EQ(Utf16BytesToUtf8(mailboxes.At(0, "S3001").bytes), "Mailbox - Søren Jensen");
  EXPECT_EQ(*BigEndian64(mailboxes.At(0, "Q6764").bytes), 0x3c00000000001001u);

  const StoredTable contents = ReadStoredTable(path, "1-20A1");
  ASSERT_EQ(contents.rows.size(), 1u);
  EXPECT_LT(contents.Column("T39"), contents.Column("N67b0"));
  EXPECT_EQ(ReadOrdered(contents, 0, "T39"), storegen::ParseIsoTime("2005-06-10T09:15:00Z").ticks);

  const StoredTable messages = ReadStoredTable(path, "Msg");
  ASSERT_EQ(messages.rows.size(), 1u);
  EXPECT_EQ(messages.At(0, "S1000").text8(), "caf\xE9");  // code page 1252
  EXPECT_EQ(messages.At(0, "N1013").text8(), "<p>\x80</p>");
  EXPECT_EQ(std::string(messages.At(0, "N1009").bytes.begin() + 8, messages.At(0, "N1009").bytes.begin() + 12), "LZFu");
  EXPECT_EQ(Utf16BytesToUtf8(messages.At(0, "S3a06").bytes), "Jensen");
  EXPECT_EQ(ReadOrdered(messages, 0, "T820d"), storegen::ParseIsoTime("2005-06-20T13:00:00Z").ticks);
  EXPECT_EQ(HexDecoded(messages.At(0, "N67be").bytes), "      Paul Smith SMTP paul@fabrikam.com ");
  EXPECT_EQ(messages.At(0, "N67b3").bytes, (std::vector<uint8_t>{0x01, 0, 0, 0, 0x40, 0, 0, 0x01}));

  const StoredTable attachments = ReadStoredTable(path, "1-23");
  ASSERT_EQ(attachments.rows.size(), 2u);
  std::string expected;
  for (int i = 0; i < 600; ++i) expected += std::string("\x00\x01\x02\xff", 4);
  EXPECT_EQ(attachments.At(0, "N3701").text8(), expected);
  EXPECT_TRUE(attachments.At(1, "Q3f88").null);
  EXPECT_EQ(attachments.At(1, "N3701").text8(), "ababab");
}

TEST(JsonStore, ExampleDescriptionBuilds) {
  const auto example = std::filesystem::path(__FILE__).parent_path() / "../../tools/storegen/examples/small_store.json";
  edbtest::ScratchDir dir;
  int code = 0;
  const std::string output = RunEdbgen("json " + example.string() + " " + (dir / "example.edb").string(), &code);
  ASSERT_EQ(code, 0) << output;
  EXPECT_EQ(ReadStoredTable((dir / "example.edb").string(), "Msg").rows.size(), 4u);
}

TEST(JsonStore, FaultyDescriptionsNameThePlace) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"mailboxes": [{"key": "12", "folders": [{"id": "1000000000020a1", "colour": "red"}]}]})",
       "mailboxes[0].folders[0].colour: unknown member"},
      {R"({"mailboxes": [{"key": "xyz"}]})", "mailboxes[0].key"},
      {R"({"mailboxes": [{"key": "1", "folders": [{"id": "2", "items": [{"key": "3", "submit_time": "2005-13-01T00:00:00Z"}]}]}]})",
       "mailboxes[0].folders[0].items[0].submit_time"},
      {R"({"mailboxes": [{"key": "1", "folders": [{"id": "2", "items": [{"key": "3", "properties": {"L17": "1"}}]}]}]})",
       "items[0].properties.L17"},
      {R"({"mailboxes": [)", "not valid JSON"},
      {R"({"folders": []})", "mailboxes: is missing"},
  };
  for (const auto& [json, message] : cases) {
    try {
      storegen::ParseStoreDescription(json);
      ADD_FAILURE() << "accepted: " << json;
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
  }
}

TEST(JsonStore, StoreRuleBreachesFailWithAClearMessage) {
  const std::pair<const char*, const char*> cases[] = {
      // Its contents table would be named "1-23", the attachment table.
      {R"({"mailboxes": [{"key": "1", "folders": [{"id": "100000000000023"}]}]})", "contents table name"},
      {R"({"mailboxes": [{"key": "1", "folders": [{"id": "1000000000020a1", "items": [{"key": "3"}, {"key": "3"}]}]}]})",
       "key repeats"},
      {R"({"mailboxes": [{"key": "1", "folders": [{"id": "1000000000020a1", "items": [{"key": "3", "class": ")"
       "IPM.Note.This.Class.Name.Is.Far.Too.Long.For.A.Short.Text.Column.Of.The.Store.Which.Holds.255.Bytes.At.Most.So.It.Fails.Once.It.Passes.That.Limit"
       R"("}]}]}]})",
       "S1a: text too long"},
  };
  edbtest::ScratchDir dir;
  for (const auto& [json, message] : cases) {
    std::ofstream(dir / "bad.json") << json;
    int code = 0;
    const std::string output = RunEdbgen("json " + (dir / "bad.json").string() + " " + (dir / "bad.edb").string(), &code);
    EXPECT_EQ(code, 1) << json;
    EXPECT_NE(output.find(message), std::string::npos) << output;
  }
}

}  // namespace
