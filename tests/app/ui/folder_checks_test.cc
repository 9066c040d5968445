// The folder tree's ticks and bold flags on the cases a user meets.
#include "app/ui/folder_checks.h"

#include <gtest/gtest.h>

#include "app/ui/folder_selection.h"

namespace edb {
namespace {

// Root 1; mailboxes 10 (folders 11, 12, 13) and 20 (folder 21).
class FolderChecksTest : public testing::Test {
 protected:
  void SetUp() override {
    checks.Add(kRoot, kTreeTop);
    checks.Add(kMailbox, kRoot);
    for (TreeItem folder : kFolders) checks.Add(folder, kMailbox);
    checks.Add(kOtherMailbox, kRoot);
    checks.Add(kOtherFolder, kOtherMailbox);
  }

  static constexpr TreeItem kRoot{1};
  static constexpr TreeItem kMailbox{10};
  static constexpr TreeItem kFolders[3] = {{11}, {12}, {13}};
  static constexpr TreeItem kOtherMailbox{20};
  static constexpr TreeItem kOtherFolder{21};
  FolderChecks checks;
};

TEST_F(FolderChecksTest, TickingAMailboxTicksItsFoldersAndBoldsTheRoot) {
  checks.ToggleByMouse(kMailbox);
  for (TreeItem folder : kFolders) {
    EXPECT_TRUE(checks.checked(folder));
    EXPECT_TRUE(checks.bold(folder));
  }
  EXPECT_TRUE(checks.checked(kMailbox));
  EXPECT_FALSE(checks.checked(kRoot));
  EXPECT_TRUE(checks.bold(kRoot));
  EXPECT_FALSE(checks.checked(kOtherFolder));

  checks.ToggleByMouse(kOtherMailbox);
  EXPECT_TRUE(checks.checked(kRoot)) << "every mailbox ticked ticks the root";
}

TEST_F(FolderChecksTest, OneOfThreeFoldersBoldsTheMailboxWithoutTickingIt) {
  checks.ToggleByMouse(kFolders[0]);
  EXPECT_TRUE(checks.checked(kFolders[0]));
  EXPECT_TRUE(checks.bold(kFolders[0]));
  EXPECT_FALSE(checks.checked(kMailbox));
  EXPECT_TRUE(checks.bold(kMailbox));
  EXPECT_TRUE(checks.bold(kRoot));

  checks.ToggleByMouse(kFolders[1]);
  EXPECT_FALSE(checks.checked(kMailbox));
  checks.ToggleByMouse(kFolders[2]);
  EXPECT_TRUE(checks.checked(kMailbox)) << "all three folders ticked tick the mailbox";
}

TEST_F(FolderChecksTest, UntickingOneFolderOfAFullMailboxUnticksItButKeepsItBold) {
  checks.ToggleByMouse(kMailbox);
  checks.ToggleByMouse(kFolders[1]);
  EXPECT_FALSE(checks.checked(kFolders[1]));
  EXPECT_FALSE(checks.bold(kFolders[1]));
  EXPECT_FALSE(checks.checked(kMailbox));
  EXPECT_TRUE(checks.bold(kMailbox)) << "two folders are still ticked";

  checks.ToggleByMouse(kFolders[0]);
  checks.ToggleByMouse(kFolders[2]);
  EXPECT_FALSE(checks.bold(kMailbox));
  EXPECT_FALSE(checks.bold(kRoot));
}

TEST_F(FolderChecksTest, SpaceOnTheLastUntickedFolderLeavesTheMailboxUnticked) {
  checks.ToggleByMouse(kFolders[0]);
  checks.ToggleByMouse(kFolders[1]);
  checks.ToggleBySpace(kFolders[2]);
  EXPECT_TRUE(checks.checked(kFolders[2])) << "the box flips after the ancestors";
  EXPECT_TRUE(checks.bold(kFolders[2]));
  EXPECT_FALSE(checks.checked(kMailbox));
  EXPECT_TRUE(checks.bold(kMailbox));

  checks.ToggleBySpace(kFolders[2]);
  EXPECT_FALSE(checks.checked(kFolders[2]));
  EXPECT_FALSE(checks.bold(kFolders[2]));
}

TEST_F(FolderChecksTest, SpaceOnAMailboxTicksItsSubtree) {
  checks.ToggleBySpace(kMailbox);
  EXPECT_TRUE(checks.checked(kMailbox));
  for (TreeItem folder : kFolders) EXPECT_TRUE(checks.checked(folder));
}

TEST_F(FolderChecksTest, UnknownItemsChangeNothing) {
  checks.ToggleByMouse(TreeItem{999});
  checks.ToggleBySpace(TreeItem{999});
  EXPECT_FALSE(checks.checked(TreeItem{999}));
  EXPECT_FALSE(checks.bold(kRoot));
}

// The window's tree: the items it gave the entries below, in their order.
WindowTree tree;

MailboxEntry Mailbox(std::u16string key, std::u16string name, int64_t item) {
  tree.mailbox_items.push_back(TreeItem{item});
  return MailboxEntry{std::move(key), std::move(name)};
}

FolderEntry Folder(std::u16string mailbox_key, std::u16string name, int64_t item) {
  tree.folder_items.push_back(TreeItem{item});
  return FolderEntry{std::move(mailbox_key), std::move(name), 0, u"1-" + name, u"Folder"};
}

TEST_F(FolderChecksTest, SelectionHoldsTickedMailboxesWithAllTheirFolders) {
  tree.Clear();
  const std::vector<MailboxEntry> mailboxes = {Mailbox(u"k1", u"Ann", 10), Mailbox(u"k2", u"Bob", 20)};
  const std::vector<FolderEntry> folders = {Folder(u"k1", u"Inbox", 11), Folder(u"k2", u"Inbox", 21),
                                            Folder(u"k1", u"Sent", 12), Folder(u"k1", u"", 13)};
  checks.ToggleByMouse(kFolders[0]);
  FolderSelection partial = RebuildSelection(mailboxes, folders, tree, checks);
  EXPECT_TRUE(partial.mailboxes.empty()) << "some folders ticked record nothing";
  EXPECT_TRUE(partial.folders.empty());

  checks.ToggleByMouse(kFolders[1]);
  checks.ToggleByMouse(kFolders[2]);
  const FolderSelection full = RebuildSelection(mailboxes, folders, tree, checks);
  ASSERT_EQ(full.mailboxes.size(), 1u);
  EXPECT_EQ(full.mailboxes[0].display_name, u"Ann");
  ASSERT_EQ(full.folders.size(), 3u);
  EXPECT_EQ(full.folders[0].folder_name, u"Inbox");
  EXPECT_EQ(full.folders[1].folder_name, u"Sent");
  EXPECT_EQ(full.folders[2].folder_name, u"Unknown");
  EXPECT_EQ(full.folders[2].mailbox_name, u"Ann");
}

TEST_F(FolderChecksTest, TwoMailboxesOfOneKeyRecordTheFoldersOnceForTheTickedOne) {
  tree.Clear();
  const std::vector<MailboxEntry> mailboxes = {Mailbox(u"k", u"Ann", 10), Mailbox(u"k", u"Ann again", 20)};
  const std::vector<FolderEntry> folders = {Folder(u"k", u"Inbox", 11), Folder(u"k", u"Sent", 12)};
  checks.ToggleByMouse(kOtherMailbox);
  const FolderSelection selection = RebuildSelection(mailboxes, folders, tree, checks);
  ASSERT_EQ(selection.mailboxes.size(), 1u);
  EXPECT_EQ(selection.mailboxes[0].display_name, u"Ann again");
  EXPECT_EQ(selection.folders.size(), 2u);
}

}  // namespace
}  // namespace edb
