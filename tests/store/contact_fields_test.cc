// Contact fields: matching by prefix, the contact HTML and the slots.
#include <gtest/gtest.h>

#include "store/contact_fields.h"

namespace edb {
namespace {

TEST(ContactFieldsTest, NoLabelledFieldGivesBreakAlone) {
  ContactFieldValues values;
  values.Set(ContactFieldOf(u"S3a29"), u"unlabelled");
  EXPECT_EQ(values.Html(), u"<br>");
  EXPECT_EQ(values.Slots(u"k")[38], u"unlabelled");
}

TEST(ContactFieldsTest, HtmlFollowsDisplayOrderNotRecordOrder) {
  ContactFieldValues values;
  values.Set(ContactFieldOf(u"S3a1c"), u"555-0100");
  values.Set(ContactFieldOf(u"S82a0"), u"Ann Lee");
  values.Set(ContactFieldOf(u"S3a5c"), u"WA");
  EXPECT_EQ(values.Html(),
            u"<br><b>Full Name: </b>Ann Lee<br><b>Mobile No: </b>555-0100<br>"
            u"<b>Home Address State </b>WA<br>");
}

TEST(ContactFieldsTest, HtmlEscapesMarkupInTheContactsTexts) {
  ContactFieldValues values;
  values.Set(ContactFieldOf(u"S82a0"), u"<img src=\"http://x/t.gif\">Ann & Co");
  EXPECT_EQ(values.Html(), u"<br><b>Full Name: </b>&lt;img src=&quot;http://x/t.gif&quot;&gt;Ann &amp; Co<br>");
}

TEST(ContactFieldsTest, MatchesOnFirstFiveCharacters) {
  EXPECT_EQ(ContactFieldOf(u"S82a0"), ContactFieldOf(u"S82a0_extra"));
  EXPECT_EQ(ContactFieldOf(u"S82a"), -1);
  EXPECT_EQ(ContactFieldOf(u"S1000"), -1);
  EXPECT_EQ(ContactFieldOf(u"s82a0"), -1);
}

TEST(ContactFieldsTest, SharedFieldKeepsLastTextAndIgnoresLaterAbsence) {
  ContactFieldValues values;
  values.Set(ContactFieldOf(u"S8095"), u"1 Main St");
  values.Set(ContactFieldOf(u"S80a7"), u"2 Side St");
  values.Set(ContactFieldOf(u"S809e"), u"98052");
  values.Set(ContactFieldOf(u"S3a2a"), std::nullopt);
  ContactSlots slots = values.Slots(u"1000000000091c1");
  EXPECT_EQ(slots[12], u"2 Side St");
  EXPECT_EQ(slots[51], u"98052");
  EXPECT_EQ(slots[kContactKeySlot], u"1000000000091c1");
  EXPECT_EQ(slots[kContactHtmlSlot], values.Html());
  EXPECT_FALSE(slots[2].has_value());
}

TEST(ContactFieldsTest, HomepageFillsTwoSlots) {
  ContactFieldValues values;
  values.Set(ContactFieldOf(u"S8241"), u"example.org");
  ContactSlots slots = values.Slots(std::nullopt);
  EXPECT_EQ(slots[33], u"example.org");
  EXPECT_EQ(slots[34], u"example.org");
}

}  // namespace
}  // namespace edb
