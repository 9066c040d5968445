// Names in the target store: modified UTF-7 as IMAP servers decode it, and
// hostile folder names that must stay one component inside their folder.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "export_readback.h"
#include "export/target_names.h"
#include "export/target_store.h"
#include "test_support.h"

namespace edb {
namespace {

TEST(ModifiedUtf7, EncodesAsRfc3501Examples) {
  EXPECT_EQ(ModifiedUtf7("Inbox"), "Inbox");
  EXPECT_EQ(ModifiedUtf7("Entwürfe"), "Entw&APw-rfe");
  EXPECT_EQ(ModifiedUtf7("~peter/mail/台北/日本語"), "~peter/mail/&U,BTFw-/&ZeVnLIqe-");
  EXPECT_EQ(ModifiedUtf7("Tom & Jerry"), "Tom &- Jerry");
  EXPECT_EQ(ModifiedUtf7("😀"), "&2D3eAA-");
}

// Each expected directory is the one Dovecot (maildir++ layout, listescape
// "\\") opens for the folder's IMAP name; anything else is listed but
// cannot be opened.
TEST(MaildirFolderDirectory, IsTheDirectoryDovecotOpensForTheName) {
  EXPECT_EQ(MaildirFolderDirectory("Sent Items"), ".Sent Items");
  EXPECT_EQ(MaildirFolderDirectory("Entwürfe"), ".Entw&APw-rfe");
  EXPECT_EQ(MaildirFolderDirectory("a.b/c\\d"), ".a\\2eb.c\\5cd");
  EXPECT_EQ(MaildirFolderDirectory("../.."), ".\\2e\\2e.\\2e\\2e");
  EXPECT_EQ(MaildirFolderDirectory(".."), ".\\2e\\2e");
  EXPECT_EQ(MaildirFolderDirectory(""), ".(no name)");
  // "~" is escaped only where a level starts.
  EXPECT_EQ(MaildirFolderDirectory("~x/a~b"), ".\\7ex.a~b");
  // Control characters are modified UTF-7, like any other non-ASCII text.
  EXPECT_EQ(MaildirFolderDirectory("bell\a"), ".bell&AAc-");
  // A long run of non-ASCII letters is one "&...-" run, not several.
  EXPECT_EQ(MaildirFolderDirectory("Нежелательная почта"),
            ".&BB0ENQQ2BDUEOwQwBEIENQQ7BEwEPQQwBE8- &BD8EPgRHBEIEMA-");
  EXPECT_EQ(MaildirFolderDirectory("日本語のフォルダ名前です"), ".&ZeVnLIqeMG4w1TCpMOswwFQNUk0wZzBZ-");
}

TEST(MaildirFolderDirectory, ASlashThatIsNoLevelLooksLikeOne) {
  EXPECT_EQ(MaildirFolderDirectory("/"), ".&IhU-");
  EXPECT_EQ(MaildirFolderDirectory("a//b/"), ".a&IhUiFQ-b&IhU-");
  EXPECT_NE(MaildirFolderDirectory("a//b"), MaildirFolderDirectory("a/b"));
}

TEST(SafeComponentName, NeverLeavesItsFolder) {
  EXPECT_EQ(SafeComponentName("Contacts"), "Contacts");
  EXPECT_EQ(SafeComponentName("."), "%2E");
  EXPECT_EQ(SafeComponentName(".."), "%2E.");
  EXPECT_EQ(SafeComponentName("a/b"), "a%2Fb");
  EXPECT_EQ(SafeComponentName(""), "%");
  EXPECT_EQ(SafeComponentName("50%"), "50%25");
  EXPECT_EQ(SafeComponentName("bad\xff"), "bad%FF");
}

TEST(SafeComponentName, LongNamesAreCutAndStayDistinct) {
  const std::string a = std::string(300, 'x') + "a";
  const std::string b = std::string(300, 'x') + "b";
  EXPECT_LE(SafeComponentName(a).size(), kMaxTargetNameBytes);
  EXPECT_NE(SafeComponentName(a), SafeComponentName(b));
  std::string accents;
  for (int i = 0; i < 150; ++i) accents += "é";
  const std::string cut = SafeComponentName(accents);
  EXPECT_LE(cut.size(), kMaxTargetNameBytes);
  EXPECT_EQ(cut.substr(0, 4), "éé");
  EXPECT_LE(MaildirFolderDirectory(accents).size(), kMaxTargetNameBytes + 1);
}

// Every hostile name gets its own folder, and nothing is written outside the store.
class HostileNames : public ::testing::TestWithParam<MailFormat> {};

TEST_P(HostileNames, StayInsideTheirFolder) {
  edbtest::ScratchDir scratch;
  const std::vector<std::string> names = {"/", ".", "..", "../escape", "a/../../b", "ctl\x01\x1b[2J\x7f",
                                          std::string(300, 'n'), "Inbox", "inbox.sub", ""};
  {
    Result<std::unique_ptr<TargetStore>> store = TargetStore::Open(scratch / "store", GetParam());
    ASSERT_TRUE(store.ok());
    int n = 0;
    for (const std::string& name : names) {
      MailItem item;
      item.key = "k" + std::to_string(n++);
      item.subject = name;
      ASSERT_TRUE((*store)->WriteMail("..", name, item, nullptr).ok()) << name;
      ContactItem contact;
      contact.key = item.key;
      ASSERT_TRUE((*store)->WriteContact("/", name, contact).ok()) << name;
    }
  }
  std::set<std::filesystem::path> directories;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(scratch.path())) {
    const std::string path = entry.path().string();
    EXPECT_EQ(path.rfind((scratch / "store").string(), 0), 0u) << path;
    if (entry.is_regular_file()) directories.insert(entry.path().parent_path());
  }
  // Only the store was made under the scratch folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), std::filesystem::directory_iterator()),
            1);
  const nlohmann::json read = edbtest::ReadTargetStore(scratch / "store",
                                                       GetParam() == MailFormat::kMaildir ? "maildir"
                                                       : GetParam() == MailFormat::kMbox  ? "mbox"
                                                                                          : "eml");
  EXPECT_EQ(read["messages"].size(), names.size());
  EXPECT_EQ(read["cards"].size(), names.size());
  std::set<std::string> folders;
  for (const auto& message : read["messages"]) folders.insert(message["folder"]);
  EXPECT_EQ(folders.size(), names.size());
}

INSTANTIATE_TEST_SUITE_P(Formats, HostileNames,
                         ::testing::Values(MailFormat::kMaildir, MailFormat::kMbox, MailFormat::kEml));

TEST(TargetStore, AnUnwritableTargetIsNamedAndNothingIsWritten) {
  edbtest::ScratchDir scratch;
  { std::ofstream(scratch / "file") << "x"; }
  Result<std::unique_ptr<TargetStore>> store = TargetStore::Open(scratch / "file" / "store", MailFormat::kMaildir);
  ASSERT_FALSE(store.ok());
  EXPECT_NE(store.status().reason().find((scratch / "file").string()), std::string::npos) << store.status().reason();
  EXPECT_EQ(edbtest::CountFiles(scratch.path()), 1);
}

}  // namespace
}  // namespace edb
