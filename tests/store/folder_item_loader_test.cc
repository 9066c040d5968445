// The folder item loader and body pass on written stores: every Msg record
// of a header's key is loaded, headers without one load nothing, the bar's
// sweep, contact and other folders, a folder opened twice, the save seam.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loader_store.h"
#include "store/folder_item_loader.h"
#include "base/text_encoding.h"
#include "storegen/identifiers.h"

namespace {

constexpr storegen::Id kFirstMail = 0x0100000000010000;

storegen::Folder Folder(storegen::Id id, const char* name, const char* container_class,
                        std::vector<storegen::Item> items) {
  storegen::Folder folder;
  folder.id = id;
  folder.display_name = name;
  folder.container_class = container_class;
  folder.items = std::move(items);
  return folder;
}

storegen::Item Contact(storegen::Id key, const std::string& name) {
  storegen::Item item;
  item.key = key;
  item.message_class = "IPM.Contact";
  item.text_properties["S82a0"] = name;
  return item;
}

// An inbox of `mails` mails "Mail <n>" with bodies "Body <n>", two
// contacts, one appointment.
class LoaderTest : public ::testing::Test {
 protected:
  void Build(int mails) {
    std::vector<storegen::Item> inbox;
    for (int i = 0; i < mails; ++i) {
      inbox.push_back(edbtest::PlainMail(kFirstMail + i, "Mail " + std::to_string(i), "Body " + std::to_string(i)));
    }
    storegen::Item meeting = edbtest::PlainMail(0x0100000000030001, "Meeting", "Agenda");
    meeting.message_class = "IPM.Appointment";
    store_ = std::make_unique<edbtest::ScannedTestStore>(edbtest::OneMailboxStore(
        {Folder(0x0100000000000101, "Inbox", "IPF.Note", std::move(inbox)),
         Folder(0x0100000000000102, "Contacts", "IPF.Contact",
                {Contact(0x0100000000020001, "Ann"), Contact(0x0100000000020002, "Bob")}),
         Folder(0x0100000000000103, "Calendar", "IPF.Appointment", {meeting})}));
  }

  // Lists `folder`'s headers, then runs the loader alone.
  edb::LoadOutcome Load(const char* folder, edb::ItemWriter* writer = nullptr) {
    store_->ListRows(store_->Folder("Mailbox - Test", folder));
    store_->contents.Clear();
    store_->events.calls.clear();
    edb::ItemContentReader reader(&store_->contents, store_->session.attachments, store_->corruption);
    return edb::LoadFolderItems(store_->context, reader, store_->contents, writer);
  }

  std::vector<std::u16string> Subjects() const {
    std::vector<std::u16string> subjects;
    for (const edb::ItemContent& item : store_->contents.items()) subjects.push_back(item.subject);
    return subjects;
  }

  std::u16string BodyOf(const edb::ItemContent& item) const { return store_->contents.ChunksOf(item).at(0)->text; }

  std::unique_ptr<edbtest::ScannedTestStore> store_;
};

TEST_F(LoaderTest, EveryMsgRecordOfAHeadersKeyIsLoaded) {
  Build(3);
  // Index the record of "Mail 2" under the key of "Mail 0" as well: the key
  // then has two records, the second one last in the index.
  std::vector<edb::MsgIndexEntry>& index = store_->session.message_index;
  const std::u16string key0 = edb::Utf8ToUtf16(storegen::IdText(kFirstMail));
  edb::MsgIndexEntry extra = *std::find_if(index.begin(), index.end(), [](const edb::MsgIndexEntry& e) {
    return e.key == edb::Utf8ToUtf16(storegen::IdText(kFirstMail + 2));
  });
  extra.key = key0;
  index.push_back(extra);

  ASSERT_EQ(Load("Inbox"), edb::LoadOutcome::kLoaded);
  EXPECT_EQ(Subjects(), (std::vector<std::u16string>{u"Mail 0", u"Mail 0", u"Mail 1", u"Mail 2"}));
  EXPECT_EQ(BodyOf(store_->contents.items()[1]), u"Body 2");
  EXPECT_EQ(BodyOf(*store_->contents.FirstItem(key0)), u"Body 0");  // the first loaded is shown
  EXPECT_EQ(store_->events.ProgressPositions(), (std::vector<int>{0, 1, 2, 3, 4, 0}));

  // Headers whose keys have no record load nothing.
  store_->session.message_index.clear();
  EXPECT_EQ(Load("Inbox"), edb::LoadOutcome::kLoaded);
  EXPECT_TRUE(store_->contents.items().empty());
  EXPECT_EQ(store_->events.ProgressPositions(), (std::vector<int>{0, 0}));
}

TEST_F(LoaderTest, BarSweepsPerHundredMailRecordsOnly) {
  Build(150);
  ASSERT_EQ(Load("Inbox"), edb::LoadOutcome::kLoaded);
  EXPECT_EQ(store_->contents.items().size(), 150u);
  std::vector<int> expected = {0};
  for (int i = 1; i <= 150; ++i) {
    expected.push_back(i <= 100 ? i : i - 100);
    if (i == 100 || i == 150) expected.push_back(0);
  }
  EXPECT_EQ(store_->events.ProgressPositions(), expected);

  ASSERT_EQ(Load("Contacts"), edb::LoadOutcome::kLoaded);
  EXPECT_TRUE(store_->events.ProgressPositions().empty());
  ASSERT_EQ(store_->contents.contacts().size(), 2u);
  EXPECT_EQ(store_->contents.contacts()[1].html(), u"<br><b>Full Name: </b>Bob<br>");

  ASSERT_EQ(Load("Calendar"), edb::LoadOutcome::kLoaded);
  EXPECT_EQ(store_->events.listed_rows.size(), 1u);
  EXPECT_TRUE(store_->events.ProgressPositions().empty());
  EXPECT_TRUE(store_->contents.items().empty() && store_->contents.contacts().empty());
}

TEST_F(LoaderTest, FolderOpenedTwiceKeepsOneContentPerRecord) {
  Build(2);
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(store_->Open(store_->Folder("Mailbox - Test", "Inbox")), edb::LoadOutcome::kLoaded);
    EXPECT_EQ(store_->contents.items().size(), 2u);
    EXPECT_EQ(store_->contents.chunks().size(), 2u);
    store_->Open(store_->Folder("Mailbox - Test", "Contacts"));
    EXPECT_EQ(store_->contents.contacts().size(), 2u);
  }
}

// Keeps what a save hands over.
class KeptWriter : public edb::ItemWriter {
 public:
  void WriteMail(const edb::ItemContent& item, const std::vector<const edb::BodyChunk*>& chunks) override {
    written.push_back(item.subject + u"/" + chunks.at(0)->text);
  }
  void WriteContact(const edb::ContactContent& contact) override { written.push_back(*contact.html()); }
  std::vector<std::u16string> written;
};

TEST_F(LoaderTest, SaveModeHandsEachItemToTheWriterAndKeepsNothing) {
  Build(2);
  store_->session.open_folder.save_mode = true;
  EXPECT_EQ(Load("Inbox"), edb::LoadOutcome::kNotStarted);  // a save needs a writer

  KeptWriter writer;
  ASSERT_EQ(Load("Inbox", &writer), edb::LoadOutcome::kLoaded);
  EXPECT_EQ(writer.written, (std::vector<std::u16string>{u"Mail 0/Body 0", u"Mail 1/Body 1"}));
  EXPECT_TRUE(store_->contents.items().empty());
  EXPECT_EQ(store_->contents.chunks().size(), 0u);
  EXPECT_TRUE(store_->session.mail_rows.empty());

  ASSERT_EQ(Load("Contacts", &writer), edb::LoadOutcome::kLoaded);
  EXPECT_EQ(writer.written.size(), 4u);
  EXPECT_TRUE(store_->contents.contacts().empty());
}

}  // namespace
