// Preview pages of appointments, journal entries and tasks.
#include <gtest/gtest.h>

#include "app/ui/preview_pages.h"

namespace edb {
namespace {

RowTexts LettersFromColumnThree() { return {u"k", u"c", u"1", u"a", u"b", u"c", u"d", u"e"}; }

TEST(PreviewPagesTest, TaskPageListsFiveLines) {
  EXPECT_EQ(TaskPage(LettersFromColumnThree()),
            u"From : a <br>Subject : b <br>Start Date : c <br>End Date : d <br>Message : e <br>");
}

TEST(PreviewPagesTest, AppointmentPageEndsWithStatus) {
  EXPECT_EQ(AppointmentPage(LettersFromColumnThree()),
            u"From : a <br>Subject : b <br>Start Date : c <br>End Date : d <br>Status : e <br>");
}

TEST(PreviewPagesTest, JournalPageHasAnEmptyAttachmentLine) {
  EXPECT_EQ(JournalPage(LettersFromColumnThree()), u"From : a <br>Subject : b <br>Attchment :  <br>Date : c <br>");
}

TEST(PreviewPagesTest, MarkupInStoreTextsShowsAsText) {
  RowTexts row = LettersFromColumnThree();
  row[3] = u"<script>alert(1)</script>";
  row[4] = u"<img src=\"/dev/zero\"> & 'x'";
  const std::u16string expected_start =
      u"From : &lt;script&gt;alert(1)&lt;/script&gt; <br>Subject : &lt;img src=&quot;/dev/zero&quot;&gt; &amp; &#39;x&#39; <br>";
  for (const std::u16string& page : {TaskPage(row), AppointmentPage(row), JournalPage(row)}) {
    EXPECT_EQ(page.substr(0, expected_start.size()), expected_start);
    EXPECT_EQ(page.find(u"<script"), std::u16string::npos);
  }
}

}  // namespace
}  // namespace edb
