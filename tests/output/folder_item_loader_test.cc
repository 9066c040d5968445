// The folder item loader and the body pass on written stores: the join of
// headers and Msg records (every record of a key, none for a header without
// one), the progress sweep, contact and other folders, a folder opened
// twice, and the save seam.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "loader_support.h"
#include "output/folder_item_loader.h"
#include "store/item_content_reader.h"
#include "store/text_encoding.h"

namespace {

using edbtest::KeyText;
using edbtest::PlainMail;

constexpr storegen::Id kInbox = 0x0100000000000101;
constexpr storegen::Id kContacts = 0x0100000000000102;
constexpr storegen::Id kCalendar = 0x0100000000000103;
constexpr storegen::Id kFirstMail = 0x0100000000010000;

storegen::Item ContactItem(storegen::Id key, const std::string& name) {
  storegen::Item item;
  item.key = key;
  item.message_class = "IPM.Contact";
  item.subject = name;
  item.text_properties["S82a0"] = name;
  return item;
}

// An inbox of `mails` numbered mails, two contacts, one appointment.
storegen::StoreDescription TestStore(int mails) {
  std::vector<storegen::Item> inbox;
  for (int i = 0; i < mails; ++i) {
    inbox.push_back(PlainMail(kFirstMail + i, "Mail " + std::to_string(i), "Body " + std::to_string(i)));
  }
  storegen::Item appointment = PlainMail(0x0100000000030001, "Meeting", "Agenda");
  appointment.message_class = "IPM.Appointment";
  return edbtest::OneMailboxStore(
      {edbtest::MakeFolder(kInbox, "Inbox", "IPF.Note", std::move(inbox)),
       edbtest::MakeFolder(kContacts, "Contacts", "IPF.Contact",
                           {ContactItem(0x0100000000020001, "Ann"), ContactItem(0x0100000000020002, "Bob")}),
       edbtest::MakeFolder(kCalendar, "Calendar", "IPF.Appointment", {appointment})});
}

// Runs the loader on the listed headers of the store's open folder.
int Load(edbtest::ScannedTestStore& store, edb::ItemWriter* writer = nullptr) {
  store.contents().Clear();
  store.window().progress.clear();
  edb::ItemContentReader reader(&store.contents(), store.session().attachments, nullptr, store.corruption());
  return edb::LoadFolderItems(store.context(), reader, store.contents(), writer);
}

std::vector<std::u16string> Subjects(const edb::FolderContents& contents) {
  std::vector<std::u16string> subjects;
  for (const edb::ItemContent& item : contents.items()) subjects.push_back(item.subject);
  return subjects;
}

TEST(FolderItemLoaderTest, JoinsEveryMsgRecordOfAHeadersKey) {
  edbtest::ScannedTestStore store(TestStore(3));
  store.ListHeaders(store.Folder("Mailbox - Test", "Inbox"));
  ASSERT_EQ(store.session().headers.size(), 3u);
  // A second record for the key of "Mail 0": the record of "Mail 2",
  // indexed under that key as well (after every other record).
  std::vector<edb::MsgIndexEntry>& index = store.session().message_index;
  const std::u16string first_key = edb::Utf8ToUtf16(KeyText(kFirstMail));
  const std::u16string third_key = edb::Utf8ToUtf16(KeyText(kFirstMail + 2));
  edb::MsgIndexEntry extra;
  for (const edb::MsgIndexEntry& entry : index) {
    if (entry.key == third_key) extra = entry;
  }
  extra.key = first_key;
  index.push_back(extra);

  ASSERT_EQ(Load(store), 1);
  // Header "Mail 0" loads its own record and the extra one, in index order.
  EXPECT_EQ(Subjects(store.contents()),
            (std::vector<std::u16string>{u"Mail 0", u"Mail 0", u"Mail 1", u"Mail 2"}));
  const std::vector<edb::ItemContent>& items = store.contents().items();
  EXPECT_EQ(store.contents().ChunksOf(items[1])[0]->text, u"Body 2");
  // The first loaded record is the one found for the key.
  const edb::ItemContent* shown = store.contents().FirstItem(first_key);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(store.contents().ChunksOf(*shown)[0]->text, u"Body 0");
  EXPECT_EQ(store.window().progress, (std::vector<int>{0, 1, 2, 3, 4, 0}));
}

TEST(FolderItemLoaderTest, HeadersWithoutMsgRecordsLoadNothing) {
  edbtest::ScannedTestStore store(TestStore(3));
  store.ListHeaders(store.Folder("Mailbox - Test", "Inbox"));
  store.session().message_index.clear();
  EXPECT_EQ(Load(store), 1);
  EXPECT_TRUE(store.contents().items().empty());
  EXPECT_EQ(store.window().progress, (std::vector<int>{0, 0}));
}

TEST(FolderItemLoaderTest, ProgressBarSweepsOncePerHundredMailRecords) {
  edbtest::ScannedTestStore store(TestStore(150));
  store.ListHeaders(store.Folder("Mailbox - Test", "Inbox"));
  ASSERT_EQ(Load(store), 1);
  EXPECT_EQ(store.contents().items().size(), 150u);
  std::vector<int> expected = {0};
  for (int i = 1; i <= 100; ++i) expected.push_back(i);
  expected.push_back(0);
  for (int i = 1; i <= 50; ++i) expected.push_back(i);
  expected.push_back(0);
  EXPECT_EQ(store.window().progress, expected);
}

TEST(FolderItemLoaderTest, ContactAndOtherFoldersLeaveTheBarAlone) {
  edbtest::ScannedTestStore store(TestStore(1));
  store.ListHeaders(store.Folder("Mailbox - Test", "Contacts"));
  ASSERT_EQ(Load(store), 1);
  EXPECT_TRUE(store.window().progress.empty());
  ASSERT_EQ(store.contents().contacts().size(), 2u);
  EXPECT_EQ(store.contents().contacts()[1].html(), u"<br><b>Full Name: </b>Bob<br>");

  store.ListHeaders(store.Folder("Mailbox - Test", "Calendar"));
  ASSERT_EQ(store.window().rows.size(), 1u);
  EXPECT_EQ(Load(store), 1);
  EXPECT_TRUE(store.window().progress.empty());
  EXPECT_TRUE(store.contents().items().empty());
  EXPECT_TRUE(store.contents().contacts().empty());
  EXPECT_EQ(store.contents().chunks().size(), 0u);
}

TEST(FolderItemLoaderTest, FolderOpenedTwiceKeepsOneContentPerRecord) {
  edbtest::ScannedTestStore store(TestStore(2));
  for (int round = 0; round < 2; ++round) {
    store.Open(store.Folder("Mailbox - Test", "Inbox"));
    EXPECT_EQ(store.last_result(), 1);
    EXPECT_EQ(store.contents().items().size(), 2u);
    EXPECT_EQ(store.contents().chunks().size(), 2u);
    store.Open(store.Folder("Mailbox - Test", "Contacts"));
    EXPECT_EQ(store.contents().contacts().size(), 2u);
    EXPECT_TRUE(store.contents().items().empty());
  }
}

// Keeps what a save hands over.
class KeptWriter : public edb::ItemWriter {
 public:
  void WriteMail(const edb::ItemContent& item, const std::vector<const edb::BodyChunk*>& chunks) override {
    written.push_back(item.subject + u"/" + (chunks.empty() ? u"" : chunks[0]->text));
  }
  void WriteContact(const edb::ContactContent& contact) override { written.push_back(contact.html().value_or(u"")); }
  std::vector<std::u16string> written;
};

TEST(FolderItemLoaderTest, SaveModeHandsEachItemToTheWriterAndKeepsNothing) {
  edbtest::ScannedTestStore store(TestStore(2));
  store.session().open_folder.save_mode = true;
  store.ListHeaders(store.Folder("Mailbox - Test", "Inbox"));
  EXPECT_EQ(Load(store), -1);  // a save needs a writer

  KeptWriter writer;
  ASSERT_EQ(Load(store, &writer), 1);
  EXPECT_EQ(writer.written, (std::vector<std::u16string>{u"Mail 0/Body 0", u"Mail 1/Body 1"}));
  EXPECT_TRUE(store.contents().items().empty());
  EXPECT_EQ(store.contents().chunks().size(), 0u);
  EXPECT_TRUE(store.session().headers.empty());

  store.ListHeaders(store.Folder("Mailbox - Test", "Contacts"));
  writer.written.clear();
  ASSERT_EQ(Load(store, &writer), 1);
  EXPECT_EQ(writer.written.size(), 2u);
  EXPECT_TRUE(store.contents().contacts().empty());
}

}  // namespace
