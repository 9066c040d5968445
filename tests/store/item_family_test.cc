// Item families by folder class, listed mail classes, and list columns.
#include <gtest/gtest.h>

#include "store/item_family.h"
#include "app/ui/list_columns.h"

namespace edb {
namespace {

TEST(ItemFamilyTest, FolderClassesChooseFamiliesExactly) {
  EXPECT_EQ(FamilyOfFolderClass(OpenFolderClass(u"IPF.Note")), ItemFamily::kMail);
  EXPECT_EQ(OpenFolderClass(u"IPF.Contact"), u"IPF.Contact");
  EXPECT_EQ(FamilyOfFolderClass(u"IPM.Contact"), ItemFamily::kContact);
  EXPECT_EQ(FamilyOfFolderClass(u"IPF.SchedulePlus.ExpansionData"), ItemFamily::kAppointment);
  EXPECT_EQ(FamilyOfFolderClass(u"IPF.Journal"), ItemFamily::kJournal);
  EXPECT_EQ(FamilyOfFolderClass(u"IPF.Activity"), ItemFamily::kActivity);
  EXPECT_EQ(FamilyOfFolderClass(u"ipf.task"), ItemFamily::kNone);
  EXPECT_EQ(FamilyOfFolderClass(u"IPF.Note"), ItemFamily::kNone);  // only after the replacement
}

TEST(ItemFamilyTest, MailListingShowsRealMailAndHidesConfiguration) {
  for (const char16_t* shown : {u"", u"IPF.Note", u"IPM.Note", u"IPM.Note.SMIME", u"REPORT.IPM.Note.NDR",
                                u"IPM.Schedule.Meeting.Request", u"IPM.Post"}) {
    EXPECT_TRUE(IsListedMailClass(shown)) << std::string(shown, shown + std::char_traits<char16_t>::length(shown));
  }
  for (const char16_t* hidden : {u"IPM.Microsoft.ScheduleData.FreeBusy", u"IPM.Configuration.OWA.UserOptions",
                                 u"IPM.Rule.Version2.Message", u"IPM.ExtendedRule.Message"}) {
    EXPECT_FALSE(IsListedMailClass(hidden));
  }
}

TEST(ListColumnsTest, ChosenByExactItemText) {
  auto contacts = ListColumnsFor(u"Contacts");
  ASSERT_EQ(contacts.size(), 12u);
  EXPECT_EQ(contacts[0].width, 0);
  EXPECT_EQ(contacts[11].heading, u"Date");
  EXPECT_EQ(ListColumnsFor(u"contacts").size(), 7u);
  EXPECT_EQ(ListColumnsFor(u"Calendar")[5].heading, u"Start Date");
  EXPECT_EQ(ListColumnsFor(u"Tasks")[7].heading, u"Message");
  EXPECT_EQ(ListColumnsFor(u"Sent Items")[3].heading, u"To");
  EXPECT_EQ(ListColumnsFor(u"Inbox")[3].heading, u"From");
}

}  // namespace
}  // namespace edb
