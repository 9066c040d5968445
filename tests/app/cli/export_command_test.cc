// `edbrecover export` end to end on the sample store: every message written
// is read back by Python's email package and agrees with what `show --json`
// previews for its item (sender, recipients, subject, date, body, attachment
// names) and with the attachment bytes the store holds; reruns, filters,
// formats and an unwritable target behave as promised.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>

#include "export_readback.h"
#include "storegen/sample_store.h"
#include "storegen/store_description.h"
#include "test_support.h"

namespace edb {
namespace {

using nlohmann::json;

int RunEdbrecover(const std::string& arguments, std::string* out) {
  return edbtest::RunCommand(edbtest::Program("edbrecover").string() + " " + arguments, out);
}

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

std::string KeyText(uint64_t key) {
  char text[20];
  std::snprintf(text, sizeof(text), "%llx", static_cast<unsigned long long>(key));
  return text;
}

// The key of an exported message, from the Message-ID derived from it.
std::string KeyOfMessage(const json& message) {
  const std::string id = message["message_id"].get<std::string>();
  const std::string prefix = "<edb.";
  const size_t at = id.find('@');
  if (id.rfind(prefix, 0) != 0 || at == std::string::npos) return "";
  return id.substr(prefix.size(), at - prefix.size());
}

// Contents table of every listed item key, from `scan --json` and `list --json`.
std::map<std::string, std::string> TableOfKeys() {
  std::string out;
  EXPECT_EQ(RunEdbrecover("scan " + Quoted(edbtest::SampleStore()) + " --json", &out), 0);
  std::map<std::string, std::string> tables;
  const json scanned = json::parse(out);
  for (const json& mailbox : scanned["mailboxes"]) {
    for (const json& folder : mailbox["folders"]) {
      std::string listing;
      const std::string table = folder["table"].get<std::string>();
      EXPECT_EQ(RunEdbrecover("list " + Quoted(edbtest::SampleStore()) + " " + table + " --json", &listing), 0);
      const json listed = json::parse(listing);
      for (const json& row : listed["rows"]) tables[row[0].get<std::string>()] = table;
    }
  }
  return tables;
}

std::string DateText(int64_t seconds) {
  const time_t when = static_cast<time_t>(seconds);
  std::tm parts{};
  gmtime_r(&when, &parts);
  char text[32];
  std::strftime(text, sizeof(text), "%b %d, %Y %H:%M:%S", &parts);
  return text;
}

std::string WithoutTrailingNewlines(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string Base64(const std::string& bytes) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const uint32_t n = (uint8_t(bytes[i]) << 16) | (uint8_t(bytes[i + 1]) << 8) | uint8_t(bytes[i + 2]);
    for (int shift : {18, 12, 6, 0}) out += kAlphabet[(n >> shift) & 63];
  }
  if (i + 1 == bytes.size()) {
    const uint32_t n = uint8_t(bytes[i]) << 16;
    out += std::string{kAlphabet[(n >> 18) & 63], kAlphabet[(n >> 12) & 63], '=', '='};
  } else if (i + 2 == bytes.size()) {
    const uint32_t n = (uint8_t(bytes[i]) << 16) | (uint8_t(bytes[i + 1]) << 8);
    out += std::string{kAlphabet[(n >> 18) & 63], kAlphabet[(n >> 12) & 63], kAlphabet[(n >> 6) & 63], '='};
  }
  return out;
}

// The bytes of the attachments the sample store holds for item `key`, in
// their order in the attachment table.
std::vector<std::string> StoredAttachments(const std::string& key) {
  std::vector<std::string> found;
  for (const storegen::Mailbox& mailbox : storegen::SampleStore().mailboxes) {
    for (const storegen::Folder& folder : mailbox.folders) {
      for (const storegen::Item& item : folder.items) {
        if (KeyText(item.key) != key) continue;
        for (const storegen::Attachment& attachment : item.attachments) found.push_back(attachment.data);
      }
    }
  }
  return found;
}

std::string WithLf(std::string text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

class ExportCommand : public ::testing::Test {
 protected:
  int Export(const std::string& options, std::string* out) {
    return RunEdbrecover("export " + Quoted(edbtest::SampleStore()) + " --to " + Quoted(scratch_ / "store") + " " + options +
                   " 2>&1",
               out);
  }
  edbtest::ScratchDir scratch_;
};

TEST_F(ExportCommand, EveryMessageAgreesWithItsPreviewAndStoredAttachments) {
  std::string out;
  ASSERT_EQ(Export("", &out), 0) << out;
  EXPECT_NE(out.find("Saved 28 messages, 4 contacts, 9 calendar items and 9 attachments"), std::string::npos) << out;
  const json read = edbtest::ReadTargetStore(scratch_ / "store", "maildir");
  ASSERT_TRUE(read.is_object());
  const std::map<std::string, std::string> tables = TableOfKeys();
  int compared = 0;
  int attachments = 0;
  for (const json& message : read["messages"]) {
    EXPECT_TRUE(message["defects"].empty()) << message.dump();
    const std::string key = KeyOfMessage(message);
    ASSERT_TRUE(tables.count(key)) << "key " << key << " among " << tables.size() << " listed keys";
    std::string shown;
    ASSERT_EQ(RunEdbrecover("show " + Quoted(edbtest::SampleStore()) + " " + tables.at(key) + " " + key + " --json", &shown),
              0);
    const json preview = json::parse(shown);
    SCOPED_TRACE(key + " " + preview.dump());
    EXPECT_EQ(message["subject"], preview["subject"].get<std::string>() == "Unknown" ? "" : preview["subject"]);
    if (preview["kind"] != "mail") continue;  // notes: only the subject and date are the item's
    ++compared;
    if (preview["date"] == "Unknown" || preview["date"] == "") {
      EXPECT_TRUE(message["date"].is_null());
    } else {
      ASSERT_TRUE(message["date"].is_number());
      EXPECT_EQ(DateText(message["date"].get<int64_t>()), preview["date"]);
    }
    const std::string from = preview["from"].get<std::string>();
    ASSERT_EQ(message["from"].size(), from.empty() ? 0u : 1u);
    if (!from.empty()) {
      const std::string address = message["from"][0]["address"].get<std::string>();
      if (!address.empty()) {
        EXPECT_NE(from.find(address), std::string::npos);
      }
      EXPECT_EQ(from.rfind(message["from"][0]["name"].get<std::string>(), 0), 0u);
    }
    std::string to;
    for (const json& recipient : message["to"]) {
      to += recipient["address"].get<std::string>().empty() ? recipient["name"].get<std::string>()
                                                              : recipient["address"].get<std::string>() + ",";
    }
    if (preview["to"].is_string() && preview["to"].get<std::string>().find('@') != std::string::npos) {
      EXPECT_EQ(to, preview["to"]);
    }
    const std::string body_kind = preview["bodyKind"].get<std::string>();
    if (body_kind == "txt") {
      EXPECT_EQ(WithoutTrailingNewlines(message["text"].get<std::string>()),
                WithoutTrailingNewlines(WithLf(preview["body"].get<std::string>())));
    } else if (body_kind == "html") {
      // Maildir keeps LF line ends; the store's CRLF are the same lines.
      EXPECT_EQ(WithoutTrailingNewlines(message["html"].get<std::string>()),
                WithoutTrailingNewlines(WithLf(preview["body"].get<std::string>())));
    }
    std::string names;
    for (const json& attachment : message["attachments"]) names += attachment["name"].get<std::string>() + ";";
    EXPECT_EQ(names, preview["attachments"].is_null() ? "" : preview["attachments"].get<std::string>());
    const std::vector<std::string> stored = StoredAttachments(key);
    ASSERT_EQ(message["attachments"].size(), stored.size());
    for (size_t i = 0; i < stored.size(); ++i) {
      EXPECT_EQ(message["attachments"][i]["data"], Base64(stored[i])) << message["attachments"][i]["name"];
      ++attachments;
    }
  }
  EXPECT_EQ(compared, 25);
  EXPECT_EQ(attachments, 9);
  EXPECT_EQ(read["cards"].size(), 4u);
  EXPECT_EQ(read["calendar"].size(), 9u);
}

TEST_F(ExportCommand, ARerunWritesOnlyWhatIsMissing) {
  std::string out;
  ASSERT_EQ(Export("", &out), 0) << out;
  const int files = edbtest::CountFiles(scratch_ / "store");
  // One message lost since: the rerun writes it again and nothing else.
  std::filesystem::path removed;
  for (const auto& entry : std::filesystem::directory_iterator(scratch_ / "store" / "Mailbox - John Doe" / "cur")) {
    removed = entry.path();
  }
  ASSERT_FALSE(removed.empty());
  std::filesystem::remove(removed);
  ASSERT_EQ(Export("", &out), 0) << out;
  EXPECT_NE(out.find("Saved 1 messages, 0 contacts, 0 calendar items"), std::string::npos) << out;
  EXPECT_EQ(edbtest::CountFiles(scratch_ / "store"), files);
  EXPECT_TRUE(std::filesystem::exists(removed));
}

TEST_F(ExportCommand, FiltersSaveOnlyTheNamedMailboxesAndFolders) {
  std::string out;
  ASSERT_EQ(Export("--folder 'Mailbox - John Doe/Contacts' --mailbox 'Mailbox - Renée Lefèvre'", &out), 0) << out;
  const json read = edbtest::ReadTargetStore(scratch_ / "store", "maildir");
  for (const json& message : read["messages"]) {
    EXPECT_EQ(message["folder"].get<std::string>().rfind("Mailbox - Renée Lefèvre/", 0), 0u) << message["folder"];
  }
  EXPECT_FALSE(read["messages"].empty());
  int john_cards = 0;
  for (const json& card : read["cards"]) john_cards += card["file"].get<std::string>().rfind("Mailbox - John Doe/", 0) == 0;
  EXPECT_EQ(john_cards, 3);
  EXPECT_FALSE(std::filesystem::exists(scratch_ / "store" / "Mailbox - John Doe" / "cur"));

  EXPECT_EQ(Export("--mailbox 'No such mailbox'", &out), 1);
  EXPECT_NE(out.find("no mailbox or folder"), std::string::npos) << out;
}

TEST_F(ExportCommand, MboxAndEmlHoldTheSameMessages) {
  std::string out;
  ASSERT_EQ(Export("--format mbox", &out), 0) << out;
  const json mbox = edbtest::ReadTargetStore(scratch_ / "store", "mbox");
  std::filesystem::remove_all(scratch_ / "store");
  ASSERT_EQ(Export("--format eml", &out), 0) << out;
  const json eml = edbtest::ReadTargetStore(scratch_ / "store", "eml");
  ASSERT_EQ(mbox["messages"].size(), 28u);
  ASSERT_EQ(eml["messages"].size(), 28u);
  std::multiset<std::string> mbox_ids, eml_ids;
  for (const json& message : mbox["messages"]) mbox_ids.insert(message["message_id"].get<std::string>());
  for (const json& message : eml["messages"]) eml_ids.insert(message["message_id"].get<std::string>());
  EXPECT_EQ(mbox_ids, eml_ids);
}

TEST_F(ExportCommand, AnUnwritableTargetIsNamedOnceAndNothingIsWritten) {
  { std::ofstream(scratch_ / "store") << "a file, not a directory"; }
  std::string out;
  EXPECT_EQ(Export("", &out), 1);
  EXPECT_NE(out.find((scratch_ / "store").string()), std::string::npos) << out;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
  EXPECT_EQ(edbtest::CountFiles(scratch_.path()), 1);
}

}  // namespace
}  // namespace edb
