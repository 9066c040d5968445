// The store's texts as the export items carry them: the sender keeps every
// character of its name, recipients and dates parse, the body forms are
// picked by column, each item gets only its own attachments, and contact
// slots reach the fields their MAPI properties mean.
#include <gtest/gtest.h>

#include "export/store_item_conversion.h"

namespace edb {
namespace {

TEST(SenderOf, SplitsTheReaderFormsIntoNameAndAddress) {
  struct Case {
    std::u16string text;
    std::string name;
    std::string address;
  };
  const Case cases[] = {
      {u"Max Mustermann;Max Mustermann<max.mustermann@fabrikam.de>", "Max Mustermann", "max.mustermann@fabrikam.de"},
      {u"Anna Berg; Anna Berg smtp anna.berg@fabrikam.com ", "Anna Berg", "anna.berg@fabrikam.com"},
      {u"carol@northwind.com;carol@northwind.com", "", "carol@northwind.com"},
      {u"Doe, John [Sales] /OU=East;x<john@contoso.com>", "Doe, John [Sales] /OU=East", "john@contoso.com"},
      {u"Renée Lefèvre<renee@contoso.com>", "Renée Lefèvre", "renee@contoso.com"},
      {u"Just A Name", "Just A Name", ""},
      {u"Unknown", "", ""},
      {u"", "", ""},
  };
  for (const Case& c : cases) {
    const MailAddress address = SenderOf(c.text);
    EXPECT_EQ(address.name, c.name);
    EXPECT_EQ(address.address, c.address);
  }
}

TEST(RecipientsOf, ReadsAddressListsAndNameLists) {
  std::vector<MailAddress> to = RecipientsOf(u"john.doe@contoso.com,renee.lefevre@contoso.com,");
  ASSERT_EQ(to.size(), 2u);
  EXPECT_EQ(to[1].address, "renee.lefevre@contoso.com");
  to = RecipientsOf(u"John Doe; Renée Lefèvre");
  ASSERT_EQ(to.size(), 2u);
  EXPECT_EQ(to[1].name, "Renée Lefèvre");
  EXPECT_TRUE(RecipientsOf(u"").empty());
}

TEST(DateOf, ReadsTheRenderedDateAsUtc) {
  EXPECT_EQ(DateOf(u"Jan 05, 2004 13:07:09"), 1073308029);
  EXPECT_EQ(DateOf(u"Dec 31, 1999 23:59:59"), 946684799);
  EXPECT_EQ(DateOf(u"Unknown"), std::nullopt);
  EXPECT_EQ(DateOf(u"Jan 05, 2004"), std::nullopt);
  EXPECT_EQ(DateOf(u"Jan 05, 2004 13:07:09 trailing"), std::nullopt);
}

BodyChunk Chunk(BodyColumn column, BodyKind kind, std::u16string text) {
  return BodyChunk{u"k", std::move(text), kind, column};
}

TEST(BodyOf, PicksTextAndHtmlByColumn) {
  const BodyChunk plain = Chunk(BodyColumn::kPlainText, BodyKind::kText, u"plain");
  const BodyChunk rtf_text = Chunk(BodyColumn::kCompressedRtf, BodyKind::kText, u"rtf text");
  const BodyChunk rtf_html = Chunk(BodyColumn::kCompressedRtf, BodyKind::kHtml, u"<p>rtf</p>");
  const BodyChunk html = Chunk(BodyColumn::kHtml, BodyKind::kHtml, u"<p>html</p>");
  const BodyChunk empty = Chunk(BodyColumn::kPlainText, BodyKind::kText, u"");
  std::string text, markup;
  BodyOf({&empty, &plain, &rtf_text, &rtf_html, &html}, &text, &markup);
  EXPECT_EQ(text, "rtf text");
  EXPECT_EQ(markup, "<p>html</p>");
  BodyOf({&plain, &rtf_html}, &text, &markup);
  EXPECT_EQ(text, "plain");
  EXPECT_EQ(markup, "<p>rtf</p>");
  BodyOf({}, &text, &markup);
  EXPECT_EQ(text, "");
  EXPECT_EQ(markup, "");
}

TEST(MailItemOf, TakesOnlyTheItemsOwnAttachmentsWithNamesAsStored) {
  const std::vector<AttachmentEntry> scanned = {
      {u"01", u"a.txt", 0}, {u"02", u"b.pdf", 1}, {u"03", u"a.txt", 2}, {u"04", u"semi;colon.doc", 3}};
  ItemContent item;
  item.key = u"9f00000000010001";
  item.sender = u"Unknown";
  item.subject = u"Unknown";
  item.date = u"Unknown";
  item.attachments = u"b.pdf;a.txt;semi;colon.doc";  // no trailing ";": the last name still counts
  item.attachment_entries = {1, 2, 3};
  const MailItem mail = MailItemOf(item, {}, scanned);
  EXPECT_EQ(mail.key, "9f00000000010001");
  EXPECT_EQ(mail.subject, "");
  EXPECT_EQ(mail.sender.name, "");
  EXPECT_FALSE(mail.date.has_value());
  ASSERT_EQ(mail.attachments.size(), 3u);
  EXPECT_EQ(mail.attachments[0].name, "b.pdf");
  EXPECT_EQ(mail.attachments[1].name, "a.txt");
  EXPECT_EQ(mail.attachments[2].name, "semi;colon.doc");
}

TEST(ContactItemOf, SlotsReachTheFieldsTheirPropertiesMean) {
  ContactContent contact;
  ContactSlots& slots = contact.slots;
  slots[kContactKeySlot] = u"c1";
  slots[8] = u"Max Mustermann";     // full name, written to two properties by the old writer
  slots[14] = u"Max";               // 0x3A06 given name
  slots[13] = u"Mustermann";        // 0x3A11 surname
  slots[15] = u"+49 221 5550100";   // 0x3A09 home telephone
  slots[33] = slots[34] = u"http://www.fabrikam.de";
  slots[50] = u"Hohe Straße 1";
  slots[47] = u"Köln";
  slots[51] = u"50668";
  slots[28] = u"Bonn";
  slots[kContactHtmlSlot] = u"<br><b>Full Name: </b>Max Mustermann<br>";
  const ContactItem item = ContactItemOf(contact);
  EXPECT_EQ(item.key, "c1");
  EXPECT_EQ(item.full_name, "Max Mustermann");
  EXPECT_EQ(item.given_name, "Max");
  EXPECT_EQ(item.surname, "Mustermann");
  EXPECT_EQ(item.home_phone, "+49 221 5550100");
  EXPECT_EQ(item.business_home_page, "http://www.fabrikam.de");
  EXPECT_EQ(item.business_address.street, "Hohe Straße 1");
  EXPECT_EQ(item.business_address.city, "Köln");
  EXPECT_EQ(item.business_address.postal_code, "50668");
  EXPECT_EQ(item.home_address.city, "Bonn");
  EXPECT_EQ(item.note, "Full Name: Max Mustermann");

  ContactContent bare;
  bare.slots[kContactKeySlot] = u"c2";
  EXPECT_EQ(ContactItemOf(bare).key, "c2");
}

TEST(CalendarItemOfRow, ReadsAppointmentTaskAndJournalRows) {
  const std::vector<std::u16string> appointment = {u"9f00000000050001", u"IPM.Appointment", u"1",
                                                   u"John Doe;John Doe<john.doe@contoso.com>", u"Teambesprechung",
                                                   u"Feb 13, 2004 09:00:00", u"Feb 13, 2004 10:00:00", u"Raum 4.01"};
  std::optional<CalendarItem> item = CalendarItemOfRow(ItemFamily::kAppointment, appointment);
  ASSERT_TRUE(item);
  EXPECT_EQ(item->kind, CalendarKind::kEvent);
  EXPECT_EQ(item->summary, "Teambesprechung");
  EXPECT_EQ(item->location, "Raum 4.01");
  EXPECT_EQ(item->organizer, "John Doe <john.doe@contoso.com>");
  EXPECT_EQ(item->end.value() - item->start.value(), 3600);

  item = CalendarItemOfRow(ItemFamily::kTask, {u"t1", u"IPM.Task", u"1", u"", u"Report", u"Feb 20, 2004 17:00:00",
                                               u"Feb 21, 2004 17:00:00", u"Collect receipts."});
  ASSERT_TRUE(item);
  EXPECT_EQ(item->kind, CalendarKind::kTask);
  EXPECT_EQ(item->description, "Collect receipts.");

  item = CalendarItemOfRow(ItemFamily::kJournal, {u"j1", u"IPM.Activity", u"1", u"", u"Call", u"Unknown", u"false"});
  ASSERT_TRUE(item);
  EXPECT_EQ(item->kind, CalendarKind::kJournal);
  EXPECT_FALSE(item->start.has_value());

  EXPECT_FALSE(CalendarItemOfRow(ItemFamily::kTask, {u"", u"IPM.Task"}));
  EXPECT_FALSE(CalendarItemOfRow(ItemFamily::kMail, appointment));
}

}  // namespace
}  // namespace edb
