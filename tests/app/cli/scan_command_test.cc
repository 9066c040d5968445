// edbrecover scan over the bundled sample store: the tree a user sees (user
// mailboxes and their folders, in table order, with classes, contents
// tables and images) and the counts of indexed messages and attachments,
// as JSON and as text; and clear failures for files that are not stores.
#include <gtest/gtest.h>

#include <fstream>

#include "scan_list_support.h"
#include "storegen/identifiers.h"
#include "storegen/sample_store.h"
#include "test_support.h"

namespace {

size_t SampleItems() {
  size_t items = 0;
  for (const storegen::Mailbox& mailbox : storegen::SampleStore().mailboxes) {
    for (const storegen::Folder& folder : mailbox.folders) items += folder.items.size();
  }
  return items;
}

size_t SampleAttachments() {
  size_t attachments = storegen::SampleStore().loose_attachments.size();
  for (const storegen::Mailbox& mailbox : storegen::SampleStore().mailboxes) {
    for (const storegen::Folder& folder : mailbox.folders) {
      for (const storegen::Item& item : folder.items) attachments += item.attachments.size();
    }
  }
  return attachments;
}

nlohmann::json ExpectedTree() {
  nlohmann::json mailboxes = nlohmann::json::array();
  for (const auto& [mailbox, folders] : clitest::VisibleTree()) {
    nlohmann::json folder_list = nlohmann::json::array();
    for (const clitest::VisibleFolder& f : folders) {
      folder_list.push_back({{"key", storegen::IdText(mailbox->key)},
                             {"name", *f.folder->display_name},
                             {"class", clitest::ExpectedClass(*f.folder)},
                             {"table", storegen::ContentsTableName(storegen::IdText(f.folder->id))},
                             {"image", clitest::ExpectedImage(*f.folder->display_name)}});
    }
    mailboxes.push_back({{"key", storegen::IdText(mailbox->key)},
                         {"name", *mailbox->display_name},
                         {"image", 0},
                         {"folders", folder_list}});
  }
  return {{"database", edbtest::SampleStore().string()},
          {"mailboxes", mailboxes},
          {"messages", SampleItems()},
          {"attachments", SampleAttachments()}};
}

TEST(ScanCommandTest, JsonIsTheTreeAUserSeesWithTheIndexCounts) {
  int code = -1;
  const nlohmann::json scanned = nlohmann::json::parse(clitest::Edbrecover("scan --json " + clitest::QuotedSample(), &code));
  EXPECT_EQ(code, 0);
  const nlohmann::json expected = ExpectedTree();
  ASSERT_EQ(scanned.at("mailboxes").size(), 2u);
  for (size_t m = 0; m < 2; ++m) {
    SCOPED_TRACE(expected["mailboxes"][m]["name"].get<std::string>());
    EXPECT_EQ(scanned["mailboxes"][m]["folders"], expected["mailboxes"][m]["folders"]);
  }
  EXPECT_EQ(scanned, expected);
}

TEST(ScanCommandTest, TextIsAnIndentedTreeWithCounts) {
  int code = -1;
  const std::string text = clitest::Edbrecover("scan " + clitest::QuotedSample(), &code);
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(text.starts_with(edbtest::SampleStore().string() + "\n  Mailbox - John Doe  (key 1a2b3c4d5e6f7001)\n"
                                                                 "    Inbox  [IPF.Note, 1-91C1]\n"))
      << text;
  size_t folders = 0;
  for (const auto& mailbox : clitest::VisibleTree()) folders += mailbox.second.size();
  EXPECT_TRUE(text.ends_with("2 mailboxes, " + std::to_string(folders) + " folders, " +
                             std::to_string(SampleItems()) + " messages, " + std::to_string(SampleAttachments()) +
                             " attachments\n"))
      << text;
}

TEST(ScanCommandTest, FilesThatAreNotStoresFailWithAMessage) {
  edbtest::ScratchDir scratch;
  const std::string junk = (scratch / "junk.edb").string();
  std::ofstream(junk) << std::string(40000, 'x');
  for (const std::string& path : {junk, (scratch / "missing.edb").string()}) {
    int code = -1;
    const std::string out = clitest::Edbrecover("scan --json '" + path + "'", &code, true);
    EXPECT_EQ(code, 1);
    EXPECT_NE(out.find("could not be opened as an Exchange database"), std::string::npos) << out;
  }
}

}  // namespace
