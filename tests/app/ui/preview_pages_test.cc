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

}  // namespace
}  // namespace edb
