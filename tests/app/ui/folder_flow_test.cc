// Opening a folder as a tree click does: what the window sees, in order,
// around the header pass and the body pass; clicks on a mailbox; and a folder
// whose contents table name is that of the attachment table.
#include <gtest/gtest.h>

#include "contents_store.h"
#include "base/text_encoding.h"

namespace {

using contentstest::FolderStore;
using contentstest::TableRows;

// Remembers the folder it was run for and what the window had seen by then.
class RecordingBodyPass : public edb::FolderBodyPass {
 public:
  explicit RecordingBodyPass(const edbtest::RecordingWindow& window) : window_(window) {}
  void Run(edb::ReadContext& context, const edb::FolderEntry& folder) override {
    folders.push_back(edb::Utf16ToUtf8(folder.display_name));
    calls_before = window_.calls.size();
    headers_seen = context.session.mail_rows.size();
  }
  std::vector<std::string> folders;
  size_t calls_before = 0;
  size_t headers_seen = 0;

 private:
  const edbtest::RecordingWindow& window_;
};

std::unique_ptr<contentstest::ScannedStore> InboxStore(const edbtest::ScratchDir& dir) {
  FolderStore builder;
  TableRows& inbox = builder.AddFolder("Inbox", "IPF.Note", storegen::ContentsLayout::kKeyFirst);
  inbox.row().SetId("N67b0", 0x0100000000010001);
  inbox.row().SetText("S1a", "IPM.Note");
  inbox.row().SetText("Se1d", "Hello");
  inbox.row().SetBit("Be1b", false);
  inbox.Add();
  // Its identifier names the attachment table: opening it must not read "1-23".
  TableRows& clash = builder.AddFolder("Clash", "IPF.Note", storegen::ContentsLayout::kKeyFirst, 0x0100000000000023);
  clash.row().SetId("N67b0", 0x0100000000010002);
  clash.Add();
  return builder.Scan(dir);
}

TEST(FolderOpenerTest, AFolderClickListsItsHeadersThenRunsTheBodyPassWithTheWindowDisabled) {
  edbtest::ScratchDir dir;
  auto store = InboxStore(dir);
  store->session.mail_rows.push_back({7, u"stale", u"", u"", u"", std::nullopt});
  store->window.calls.clear();
  RecordingBodyPass body(store->window);
  edb::FolderRows headers = store->Open("Inbox", &body);

  ASSERT_TRUE(headers.folder);
  EXPECT_EQ(headers.folder->display_name, u"Inbox");
  EXPECT_EQ(headers.walk_outcome, edb::WalkOutcome::kComplete);
  const std::vector<std::string> expected = {
      "columns  Type S.No From Subject Date Attachment",
      "list clear",
      "tree off",
      "list off",
      "status Status: Getting Inbox Header Informations",
      "page " + edb::Utf16ToUtf8(edb::kFolderWaitPage),
      "progress 0",
      "row 1",
      "cell 0 0 100000000010001",
      "cell 0 1 IPM.Note",
      "cell 0 2 1",
      "cell 0 3 ",
      "cell 0 4 Hello",
      "cell 0 5 ",
      "cell 0 6 false",
      "status Status: Getting Inbox Body & Attachment Informations",
      "list on",
      "tree on",
      "page " + edb::Utf16ToUtf8(edb::kFolderDonePage),
      "status  ",
  };
  EXPECT_EQ(store->window.calls, expected);
  EXPECT_EQ(body.folders, std::vector<std::string>{"Inbox"});
  EXPECT_EQ(body.calls_before, 16u);  // right after the header pass and its status line
  EXPECT_EQ(body.headers_seen, 1u);   // the stale header is gone
  EXPECT_EQ(store->context.tree.open_folder_item,
            store->context.tree.folder_items.at(store->FolderNamed("Inbox") - store->session.folders.data()));
}

TEST(FolderOpenerTest, AMailboxClickOnlyRebuildsTheColumnsAndEmptiesTheList) {
  edbtest::ScratchDir dir;
  auto store = InboxStore(dir);
  store->Open("Inbox");
  const std::u16string folder_class = store->session.open_folder.folder_class;
  store->window.calls.clear();
  RecordingBodyPass body(store->window);
  const edb::MailboxEntry mailbox = store->session.mailboxes.at(0);
  edb::FolderRows headers =
      edb::OpenFolder(store->context, store->context.tree.mailbox_items.at(0), mailbox.display_name, &body);

  EXPECT_FALSE(headers.folder);
  EXPECT_EQ(store->window.calls,
            (std::vector<std::string>{"columns  Type S.No From Subject Date Attachment", "list clear",
                                      "page " + edb::Utf16ToUtf8(edb::kFolderDonePage), "status  "}));
  EXPECT_TRUE(body.folders.empty());
  EXPECT_TRUE(store->session.mail_rows.empty());
  EXPECT_EQ(store->session.open_folder.folder_class, folder_class);
}

TEST(FolderOpenerTest, AFolderNamingTheAttachmentTableExportsNothing) {
  edbtest::ScratchDir dir;
  auto store = InboxStore(dir);
  ASSERT_EQ(store->FolderNamed("Clash")->contents_table_name, u"1-23");
  const size_t attachments = store->session.attachments.size();
  store->window.calls.clear();
  edb::FolderRows headers = store->Open("Clash");
  EXPECT_EQ(headers.walk_outcome, edb::WalkOutcome::kComplete);
  EXPECT_TRUE(store->window.rows.empty());
  EXPECT_TRUE(store->window.Calls("progress").empty());
  EXPECT_EQ(store->session.attachments.size(), attachments);
}

}  // namespace
