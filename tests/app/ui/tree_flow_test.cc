// Mailbox and folder handlers over stores written with the ESE writer: which
// mailboxes and folders the tree shows, where, with which image, class and
// contents table, and that a rescan holds only the new store.
#include <gtest/gtest.h>

#include "contents_store.h"
#include "base/text_encoding.h"
#include "storegen/identifiers.h"

namespace {

using contentstest::ScannedStore;
using contentstest::TableRows;
using edb::Utf16ToUtf8;

constexpr uint64_t kJohn = 0x0100000000000e21;     // "100000000000e21"
constexpr uint64_t kKeyOnly = 0x1a2b3c4d5e6f7001;  // a mailbox without display name
constexpr uint64_t kSmtpLower = 0x0100000000000f01;
constexpr uint64_t kNobody = 0x0100000000000999;   // no mailbox has this key

void AddMailbox(TableRows& mailboxes, std::optional<uint64_t> key, std::optional<std::string> name) {
  if (key) mailboxes.row().SetId("Q6764", *key);
  if (name) mailboxes.row().SetText("S3001", *name);
  mailboxes.Add();
}

void AddFolder(TableRows& folders, std::optional<uint64_t> id, std::optional<uint64_t> key,
               std::optional<std::string> name, std::optional<std::string> container_class) {
  if (id) folders.row().SetId("Q6748", *id);
  if (key) folders.row().SetId("Q6764", *key);
  if (name) folders.row().SetText("S3001", *name);
  if (container_class) folders.row().SetText("S3613", *container_class);
  folders.Add();
}

TableRows StoreMailboxes() {
  TableRows mailboxes(storegen::MailboxTableSpec());
  AddMailbox(mailboxes, kJohn, "Mailbox - John Doe");
  AddMailbox(mailboxes, 0x0100000000000f02, "SMTP (EXCH01-{4F1A2B3C})");
  AddMailbox(mailboxes, kSmtpLower, "smtp (exch01)");  // prefixes compare case-sensitively
  AddMailbox(mailboxes, 0x0100000000000f03, "Mailbox - SystemMailbox{9B5E5A3C}");
  AddMailbox(mailboxes, 0x0100000000000f04, "Mailbox - /o=Contoso/cn=Recipients/cn=SMTP");
  AddMailbox(mailboxes, 0x0100000000000f05, "/o=Contoso/cn=Configuration");
  AddMailbox(mailboxes, 0x0100000000000f06, "Mailbox - System Attendant");
  AddMailbox(mailboxes, 0x0100000000000f07, "Mailbox - system attendant");
  AddMailbox(mailboxes, kKeyOnly, std::nullopt);
  AddMailbox(mailboxes, kJohn, "Mailbox - John Doe (archive)");  // the same key again
  AddMailbox(mailboxes, std::nullopt, std::nullopt);             // nothing to show it by
  AddMailbox(mailboxes, 0x0100000000000f08, "contacts");         // image by name, without class
  return mailboxes;
}

TableRows StoreFolders() {
  TableRows folders(storegen::FoldersTableSpec());
  AddFolder(folders, 0x01000000000091c1, kJohn, "Inbox", "IPF.Note");
  AddFolder(folders, 0x01000000000091c2, kKeyOnly, "Calendar", "IPF.Appointment");
  AddFolder(folders, 0x01000000000091c3, kJohn, "Spooler Queue", std::nullopt);
  AddFolder(folders, 0x01000000000091c4, kJohn, "spooler queue", std::nullopt);
  AddFolder(folders, 0x01000000000091c5, kJohn, "My Tasks", "IPF.Task");
  AddFolder(folders, 0x01000000000091c6, kJohn, "Tasks", "IPF.Note");
  AddFolder(folders, 0x01000000000091c7, kJohn, "Lower", "ipf.note");
  AddFolder(folders, 0x01000000000091c8, kJohn, "People", "IPM.Contact");
  AddFolder(folders, 0x01000000000091c9, kJohn, std::nullopt, "IPF.Note");  // no display name
  AddFolder(folders, 0x01000000000091ca, kNobody, "Orphan", "IPF.Note");
  AddFolder(folders, 0x91c1, kJohn, "Short id", "IPF.Journal");
  AddFolder(folders, std::nullopt, kJohn, "No id", std::nullopt);
  AddFolder(folders, 0x01000000000091cb, std::nullopt, "No key", "IPF.Note");
  AddFolder(folders, 0x01000000000091cc, kJohn, "Top of Information Store", std::nullopt);
  AddFolder(folders, 0x01000000000091cd, kSmtpLower, "Outbox", "IPF.Note");
  return folders;
}

std::vector<std::string> Inserts(const ScannedStore& store) { return store.window.Calls("insert"); }

TEST(TreeHandlersTest, SystemMailboxesAndFoldersStayHiddenAndFoldersStandUnderEveryMailboxOfTheirKey) {
  edbtest::ScratchDir dir;
  const TableRows mailboxes = StoreMailboxes();
  const TableRows folders = StoreFolders();
  contentstest::WriteDatabase(dir / "store.edb", {&mailboxes, &folders});
  ScannedStore store(dir / "store.edb");
  ASSERT_EQ(store.outcome, edb::ScanOutcome::kCompleted);

  const std::vector<std::string> expected = {
      "0 " + (dir / "store.edb").string() + " 0 -> 1",
      "1 Mailbox - John Doe 0 -> 2",
      "1 smtp (exch01) 0 -> 3",
      "1 Mailbox - system attendant 0 -> 4",
      "1 1a2b3c4d5e6f7001 0 -> 5",
      "1 Mailbox - John Doe (archive) 0 -> 6",
      "1 contacts 4 -> 7",
      "2 Inbox 7 -> 8",
      "6 Inbox 7 -> 9",
      "5 Calendar 3 -> 10",
      "2 spooler queue 0 -> 11",
      "6 spooler queue 0 -> 12",
      "2 My Tasks 13 -> 13",
      "6 My Tasks 13 -> 14",
      "2 Tasks 13 -> 15",
      "6 Tasks 13 -> 16",
      "2 Lower 0 -> 17",
      "6 Lower 0 -> 18",
      "2 People 4 -> 19",
      "6 People 4 -> 20",
      "2 Short id 8 -> 21",
      "6 Short id 8 -> 22",
      "2 No id 0 -> 23",
      "6 No id 0 -> 24",
      "3 Outbox 11 -> 25",
  };
  EXPECT_EQ(Inserts(store), expected);
  // The root is expanded after every insertion.
  EXPECT_EQ(store.window.Calls("expand"), std::vector<std::string>(expected.size(), "1"));
  EXPECT_EQ(store.context.tree.last_inserted, edb::TreeItem{25});

  // Keys (not labels) tie folders to mailboxes; classes and tables as kept.
  std::vector<std::string> keys;
  for (const edb::MailboxEntry& m : store.session.mailboxes) keys.push_back(Utf16ToUtf8(m.key));
  EXPECT_EQ(keys, (std::vector<std::string>{"100000000000e21", "100000000000f01", "100000000000f07",
                                            "1a2b3c4d5e6f7001", "100000000000e21", "100000000000f08"}));
  // The entries under the two "John Doe"s come in equal pairs; one of each.
  ASSERT_EQ(store.session.folders.size(), 18u);
  std::vector<std::string> folder_list;
  for (const edb::FolderEntry& f : store.session.folders) {
    std::string entry = Utf16ToUtf8(f.mailbox_key) + "|" + Utf16ToUtf8(f.display_name) + "|" +
                        Utf16ToUtf8(f.contents_table_name.value_or(u"none")) + "|" + Utf16ToUtf8(f.container_class);
    if (folder_list.empty() || folder_list.back() != entry) folder_list.push_back(std::move(entry));
  }
  EXPECT_EQ(folder_list, (std::vector<std::string>{
                             "100000000000e21|Inbox|1-91C1|IPF.Note",
                             "1a2b3c4d5e6f7001|Calendar|1-91C2|IPF.Appointment",
                             "100000000000e21|spooler queue|1-91C4|Folder",
                             "100000000000e21|My Tasks|1-91C5|IPF.Task",
                             "100000000000e21|Tasks|1-91C6|IPF.Note",
                             "100000000000e21|Lower|1-91C7|Folder",
                             "100000000000e21|People|1-91C8|IPM.Contact",
                             "100000000000e21|Short id|1-1C1|IPF.Journal",
                             "100000000000e21|No id|none|Folder",
                             "100000000000f01|Outbox|1-91CD|IPF.Note",
                         }));
  EXPECT_TRUE(store.corruption.reports.empty()) << store.corruption.reports.front();
}

TEST(TreeHandlersTest, ARescanHoldsOnlyTheNewStoreEvenWithoutMailboxes) {
  edbtest::ScratchDir dir;
  const TableRows mailboxes = StoreMailboxes();
  const TableRows folders = StoreFolders();
  contentstest::WriteDatabase(dir / "full.edb", {&mailboxes, &folders});
  // The same folders, but a Mailbox table without records: no folder can
  // attach, however many mailboxes the previous scan had.
  const TableRows no_mailboxes(storegen::MailboxTableSpec());
  contentstest::WriteDatabase(dir / "empty.edb", {&no_mailboxes, &folders});

  ScannedStore store(dir / "full.edb");
  const size_t folders_of_full = store.session.folders.size();
  ASSERT_EQ(folders_of_full, 18u);
  store.session.database_path = (dir / "full.edb").string();
  ASSERT_EQ(edb::ScanDatabase(store.context), edb::ScanOutcome::kCompleted);
  EXPECT_EQ(store.session.folders.size(), folders_of_full);
  EXPECT_EQ(store.session.mailboxes.size(), 6u);

  store.session.database_path = (dir / "empty.edb").string();
  ASSERT_EQ(edb::ScanDatabase(store.context), edb::ScanOutcome::kCompleted);
  EXPECT_TRUE(store.session.mailboxes.empty());
  EXPECT_TRUE(store.session.folders.empty());
}

TEST(TreeHandlersTest, AMailboxTableWithoutNameColumnShowsItsMailboxesByKey) {
  edbtest::ScratchDir dir;
  // Neither "S3001" nor a column at position 29, where the name is looked
  // for instead.
  TableRows mailboxes(esewriter::TableSpec{
      "Mailbox", {{"Q6764", esewriter::ColumnType::kBinary, 0, false, esewriter::Placement::kVariable, 0}}});
  AddMailbox(mailboxes, kJohn, std::nullopt);
  contentstest::WriteDatabase(dir / "store.edb", {&mailboxes});
  ScannedStore store(dir / "store.edb");
  ASSERT_EQ(store.session.mailboxes.size(), 1u);
  EXPECT_EQ(store.session.mailboxes[0].display_name, u"100000000000e21");
}

}  // namespace
