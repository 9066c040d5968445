// The preview of a clicked row on the sample store: the fields it sets and
// the file the pane is sent to, for mail, a row without Msg record, a
// contact and a task.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "loader_store.h"
#include "app/ui/item_preview.h"
#include "base/text_encoding.h"

namespace {

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ItemPreviewTest : public ::testing::Test {
 protected:
  edb::ItemPreview Preview(const char* folder, const char* key, const std::u16string* other_key = nullptr) {
    store_.Open(store_.Folder("Mailbox - John Doe", folder));
    edb::RowTexts row = store_.Row(key);
    if (other_key != nullptr) row[0] = *other_key;
    return edb::PreviewSelectedItem(row, store_.session.open_folder.folder_class, store_.session.message_index,
                                    store_.contents, scratch_.path());
  }

  edbtest::ScannedTestStore store_{edbtest::SampleStore().string()};
  edbtest::ScratchDir scratch_;
};

TEST_F(ItemPreviewTest, MailSetsItsFieldsAndWritesItsBodyFile) {
  const edb::ItemPreview text = Preview("Inbox", "100000000010002");
  EXPECT_TRUE(text.has_record && text.sets_mail_fields);
  EXPECT_EQ(text.attachments, u"Quartalsbericht Q4 2003.pdf;Notizen.txt;");
  EXPECT_EQ(text.file, scratch_.path() / "txtbody.txt");
  EXPECT_NE(FileText(text.file).find(edb::Utf16ToUtf8(text.body.value())), std::string::npos);

  const edb::ItemPreview html = Preview("Inbox", "9f00000000010004");
  EXPECT_EQ(html.body_kind, edb::BodyKind::kHtml);
  EXPECT_EQ(html.file, scratch_.path() / "txtbody.html");
  EXPECT_NE(FileText(html.file).find("welcome to Northwind! Déjà vu"), std::string::npos);

  // A key without Msg record: only From, Subject and Date change.
  const std::u16string unknown = u"123456789abcdef";
  const edb::ItemPreview bare = Preview("Inbox", "100000000010002", &unknown);
  EXPECT_FALSE(bare.has_record || bare.sets_mail_fields || bare.body.has_value());
  EXPECT_TRUE(bare.file.empty());
  EXPECT_EQ(bare.subject, u"Quartalsbericht Q4 2003 📈");
}

TEST_F(ItemPreviewTest, ContactsAndTasksWriteTheirPage) {
  const edb::ItemPreview contact = Preview("Contacts", "100000000030003");
  EXPECT_EQ(contact.body, u"<br><b>Full Name: </b>Bob<br><b>Mobile No: </b>+1 425 555 0100<br>");
  EXPECT_EQ(contact.file, scratch_.path() / "htmlbody.html");
  EXPECT_EQ(FileText(contact.file), "\xEF\xBB\xBF" + edb::Utf16ToUtf8(*contact.body));

  const edb::ItemPreview task = Preview("Tasks", "100000000060002");
  EXPECT_EQ(task.body, edb::TaskPage(store_.Row("100000000060002")));
  EXPECT_EQ(FileText(task.file), "\xEF\xBB\xBF" + edb::Utf16ToUtf8(*task.body));
}

}  // namespace
