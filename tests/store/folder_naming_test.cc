// Folder naming rules: contents-table names, tree images, system names, and
// the safety of file names taken from the database.
#include <sys/stat.h>

#include <fstream>

#include <gtest/gtest.h>

#include "store/contents_table_name.h"
#include "app/ui/folder_image.h"
#include "base/private_temp_folder.h"
#include "base/safe_file_name.h"
#include "store/system_names.h"
#include "test_support.h"

namespace edb {
namespace {

TEST(ContentsTableNameTest, DropsFirstDigitAndLeadingZerosAndUpperCases) {
  EXPECT_EQ(ContentsTableName(u"1000000000091c1"), u"1-91C1");
  EXPECT_EQ(ContentsTableName(u"91c1"), u"1-1C1");
  // Only the second to fifteenth characters count.
  EXPECT_EQ(ContentsTableName(u"2abcdef0123456789"), u"1-ABCDEF01234567");
  EXPECT_EQ(ContentsTableName(u""), std::nullopt);
  EXPECT_EQ(ContentsTableName(u"1"), std::nullopt);
  EXPECT_EQ(ContentsTableName(u"10000"), std::nullopt);
}

TEST(FolderImageTest, NameOrClassChoosesTheFirstMatchingRow) {
  EXPECT_EQ(FolderImage(u"Inbox", std::nullopt), kImageInbox);
  EXPECT_EQ(FolderImage(u"inbox", u"IPF.Note"), kImageInbox);
  EXPECT_EQ(FolderImage(u"My Tasks", u"IPF.Task"), kImageTasks);
  EXPECT_EQ(FolderImage(u"Tasks", u"IPF.Note"), kImageTasks);
  // A calendar-named folder of contact class: the calendar row comes first.
  EXPECT_EQ(FolderImage(u"Calendar", u"IPF.Contact"), kImageCalendar);
  // Classes compare as stored.
  EXPECT_EQ(FolderImage(u"Stuff", u"ipf.task"), kImagePlain);
  EXPECT_EQ(FolderImage(u"Junk E-mails", std::nullopt), kImageJunk);
  EXPECT_EQ(FolderImage(u"Mailbox - John Doe", std::nullopt), kImagePlain);
}

TEST(SystemNamesTest, PrefixesAndNamesAreCaseSensitive) {
  EXPECT_TRUE(IsSystemMailboxName(u"Mailbox - /o=Contoso/ou=First"));
  EXPECT_TRUE(IsSystemMailboxName(u"SMTP (EXCH01-{5A3...})"));
  EXPECT_FALSE(IsSystemMailboxName(u"smtp (EXCH01)"));
  EXPECT_FALSE(IsSystemMailboxName(u"Mailbox - John Doe"));
  EXPECT_TRUE(IsSystemFolderName(u"Spooler Queue"));
  EXPECT_FALSE(IsSystemFolderName(u"spooler queue"));
  EXPECT_FALSE(IsSystemFolderName(u"Spooler Queue 2"));
}

TEST(SafeFileNameTest, NeverLeavesTheFolder) {
  EXPECT_EQ(SafeFileName(u"report.pdf"), "report.pdf");
  EXPECT_EQ(SafeFileName(u"../../etc/passwd"), "_.._etc_passwd");
  EXPECT_EQ(SafeFileName(u"a/b\\c.txt"), "a_b_c.txt");
  EXPECT_EQ(SafeFileName(u".."), "attachment");
  EXPECT_EQ(SafeFileName(u""), "attachment");
  EXPECT_EQ(SafeFileName(std::u16string(u"x\ny\0z", 5)), "x_y_z");
  EXPECT_EQ(SafeFileName(u"r\u00e9sum\u00e9.doc"), "r\xc3\xa9sum\xc3\xa9.doc");
  std::string longest = SafeFileName(std::u16string(1000, u'\u00e9') + u".docx");
  EXPECT_LE(longest.size(), kMaxSafeFileNameBytes);
  EXPECT_TRUE(longest.ends_with(".docx"));
}

TEST(PrivateTempFolderTest, IsPrivateUniqueAndRemoved) {
  edbtest::ScratchDir parent;
  std::filesystem::path kept;
  {
    PrivateTempFolder a(parent.path());
    PrivateTempFolder b(parent.path());
    kept = a.path();
    EXPECT_NE(a.path(), b.path());
    EXPECT_TRUE(a.path().filename().string().starts_with("test1"));
    struct stat info {};
    ASSERT_EQ(stat(a.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    std::filesystem::path first = a.UniqueFilePath(u"../../x.txt");
    std::filesystem::path second = a.UniqueFilePath(u"../../x.txt");
    EXPECT_EQ(first.parent_path(), a.path());
    EXPECT_EQ(second.parent_path(), a.path());
    EXPECT_NE(first, second);
    std::ofstream(first) << "data";
  }
  EXPECT_FALSE(std::filesystem::exists(kept));
}

}  // namespace
}  // namespace edb
