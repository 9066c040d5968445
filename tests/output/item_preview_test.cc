// The preview of a clicked row on the sample store: which fields change,
// which file the pane shows and what it holds, for each kind of folder.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "loader_support.h"
#include "output/item_preview.h"
#include "store/text_encoding.h"

namespace {

const std::string kJohn = "Mailbox - John Doe";

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ItemPreviewTest : public ::testing::Test {
 protected:
  ItemPreviewTest() : store_(edbtest::SampleStore().string()) {}

  edb::ItemPreview Preview(const std::string& folder, const std::string& key, bool drop_key = false) {
    store_.Open(store_.Folder(kJohn, folder));
    edb::RowTexts row = store_.Row(key);
    if (drop_key) row[0] = u"123456789abcdef";
    return edb::PreviewSelectedItem(row, store_.session().open_folder.folder_class, store_.session().message_index,
                                    store_.contents(), scratch_.path());
  }

  edbtest::ScannedTestStore store_;
  edbtest::ScratchDir scratch_;
};

TEST_F(ItemPreviewTest, MailShowsItsFieldsAndWritesItsBodyFile) {
  edb::ItemPreview text = Preview("Inbox", "100000000010002");
  EXPECT_EQ(text.kind, edb::ItemFamily::kMail);
  EXPECT_TRUE(text.has_record && text.sets_mail_fields);
  EXPECT_EQ(text.subject, u"Quartalsbericht Q4 2003 📈");
  EXPECT_EQ(text.to, u"john.doe@contoso.com,");
  EXPECT_EQ(text.attachments, u"Quartalsbericht Q4 2003.pdf;Notizen.txt;");
  EXPECT_EQ(text.body_kind, edb::BodyKind::kText);
  EXPECT_EQ(text.file, scratch_.path() / "txtbody.txt");
  ASSERT_TRUE(text.body.has_value());
  EXPECT_NE(FileText(text.file).find(edb::Utf16ToUtf8(*text.body)), std::string::npos);

  edb::ItemPreview html = Preview("Inbox", "9f00000000010004");
  EXPECT_EQ(html.body_kind, edb::BodyKind::kHtml);
  EXPECT_EQ(html.attachments, std::nullopt);
  EXPECT_EQ(html.file, scratch_.path() / "txtbody.html");
  EXPECT_NE(FileText(html.file).find("welcome to Northwind! Déjà vu"), std::string::npos);
}

TEST_F(ItemPreviewTest, RowWithoutMsgRecordChangesOnlyTheHeaderFields) {
  for (const auto& [folder, key] : {std::pair<std::string, std::string>{"Inbox", "100000000010002"},
                                    {"Contacts", "100000000030003"},
                                    {"Tasks", "9f00000000060001"}}) {
    SCOPED_TRACE(folder);
    edb::ItemPreview preview = Preview(folder, key, /*drop_key=*/true);
    EXPECT_FALSE(preview.has_record);
    EXPECT_FALSE(preview.sets_mail_fields);
    EXPECT_FALSE(preview.body.has_value());
    EXPECT_TRUE(preview.file.empty());
    EXPECT_FALSE(preview.subject.empty());
  }
}

TEST_F(ItemPreviewTest, ContactsAndDatedItemsWriteTheirPage) {
  edb::ItemPreview contact = Preview("Contacts", "100000000030003");
  EXPECT_EQ(contact.kind, edb::ItemFamily::kContact);
  EXPECT_FALSE(contact.sets_mail_fields);
  EXPECT_EQ(contact.body, u"<br><b>Full Name: </b>Bob<br><b>Mobile No: </b>+1 425 555 0100<br>");
  EXPECT_EQ(contact.file, scratch_.path() / "htmlbody.html");
  EXPECT_EQ(FileText(contact.file), "\xEF\xBB\xBF" + edb::Utf16ToUtf8(*contact.body));

  struct Case {
    const char* folder;
    const char* key;
    edb::ItemFamily kind;
    std::u16string (*page)(const edb::RowTexts&);
  };
  for (const Case& c : {Case{"Calendar", "9f00000000050001", edb::ItemFamily::kAppointment, edb::AppointmentPage},
                        Case{"Journal", "9f00000000080001", edb::ItemFamily::kJournal, edb::JournalPage},
                        Case{"Tasks", "100000000060002", edb::ItemFamily::kTask, edb::TaskPage}}) {
    SCOPED_TRACE(c.folder);
    edb::ItemPreview preview = Preview(c.folder, c.key);
    EXPECT_EQ(preview.kind, c.kind);
    EXPECT_EQ(preview.body, c.page(store_.Row(c.key)));
    EXPECT_EQ(FileText(preview.file), "\xEF\xBB\xBF" + edb::Utf16ToUtf8(c.page(store_.Row(c.key))));
  }

  edb::ItemPreview note = Preview("Notes", "9f00000000070001");
  EXPECT_EQ(note.kind, edb::ItemFamily::kNote);
  EXPECT_TRUE(note.has_record);
  EXPECT_FALSE(note.body.has_value());
  EXPECT_TRUE(note.file.empty());
}

}  // namespace
