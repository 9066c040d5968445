// edbrecover list over the bundled sample store: every folder's list as the
// sample's description makes it (columns by folder name, rows by the folder's
// class, hidden configuration messages left out), folders named by table or
// by "mailbox/folder", and unknown folders.
#include <gtest/gtest.h>

#include "scan_list_support.h"
#include "storegen/identifiers.h"
#include "storegen/store_builder.h"
#include "test_support.h"

namespace {

nlohmann::json List(const std::string& folder, int* code) {
  const std::string out = clitest::Edbrecover("list --json " + clitest::QuotedSample() + " '" + folder + "'", code);
  return out.empty() ? nlohmann::json() : nlohmann::json::parse(out);
}

TEST(ListCommandTest, EveryFolderListsWhatTheSampleHolds) {
  size_t rows = 0;
  for (const auto& [mailbox, folders] : clitest::VisibleTree()) {
    for (const clitest::VisibleFolder& f : folders) {
      const std::string table = storegen::ContentsTableName(storegen::IdText(f.folder->id));
      SCOPED_TRACE(*mailbox->display_name + "/" + *f.folder->display_name + " " + table);
      int code = -1;
      const nlohmann::json listed = List(table, &code);
      EXPECT_EQ(code, 0);
      const nlohmann::json expected = clitest::ExpectedList(*f.folder);
      ASSERT_EQ(listed.at("rows").size(), expected.at("rows").size()) << listed.dump(1);
      for (size_t r = 0; r < expected["rows"].size(); ++r) EXPECT_EQ(listed["rows"][r], expected["rows"][r]);
      EXPECT_EQ(listed, expected);
      rows += expected["rows"].size();
    }
  }
  EXPECT_GT(rows, 30u);
}

TEST(ListCommandTest, FoldersAreFoundByMailboxAndFolderName) {
  int code = -1;
  const nlohmann::json by_path = List("Mailbox - John Doe/Inbox", &code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(by_path, List("1-91C1", &code));
  EXPECT_EQ(List("Mailbox - Ren\u00e9e Lef\u00e8vre/Inbox", &code), List("1-A01", &code));
  for (const std::string unknown : {"Mailbox - John Doe/Nowhere", "Nobody/Inbox", "1-FFFF", "Inbox", "1-23"}) {
    SCOPED_TRACE(unknown);
    const std::string out = clitest::Edbrecover("list " + clitest::QuotedSample() + " '" + unknown + "'", &code, true);
    EXPECT_EQ(code, 1);
    EXPECT_NE(out.find("no folder"), std::string::npos) << out;
  }
}

TEST(ListCommandTest, TheLongestMailboxNameBeforeASlashWins) {
  storegen::StoreDescription store;
  storegen::Mailbox outer{0x0100000000000e21, "Team", "", {}};
  storegen::Folder projects;
  projects.id = 0x0100000000009101;
  projects.display_name = "Projects/2004";
  projects.container_class = "IPF.Note";
  outer.folders.push_back(projects);
  storegen::Mailbox inner{0x0100000000000e22, "Team/Projects", "", {}};
  storegen::Folder year;
  year.id = 0x0100000000009102;
  year.display_name = "2004";
  year.container_class = "IPF.Task";
  inner.folders.push_back(year);
  store.mailboxes = {outer, inner};
  edbtest::ScratchDir dir;
  storegen::BuildStore(store, 8192, (dir / "slashes.edb").string());

  int code = -1;
  const std::string out =
      clitest::Edbrecover("list --json '" + (dir / "slashes.edb").string() + "' 'Team/Projects/2004'", &code);
  EXPECT_EQ(code, 0);
  const nlohmann::json listed = nlohmann::json::parse(out);
  EXPECT_EQ(listed["folder"], "2004");
  EXPECT_EQ(listed["class"], "IPF.Task");
  EXPECT_EQ(listed["columns"].size(), 7u);
  EXPECT_TRUE(listed["rows"].empty());
}

TEST(ListCommandTest, TextIsAnAlignedTable) {
  int code = -1;
  const std::string text = clitest::Edbrecover("list " + clitest::QuotedSample() + " 1-91CA", &code);
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(text.starts_with("Tasks  [IPF.Task]  2 rows\nKey  ")) << text;
  EXPECT_NE(text.find("Reisekosten abrechnen"), std::string::npos);
}

}  // namespace
