// Contacts read back by vobject and calendar items by icalendar: every field
// the writer sets arrives, a contact with nothing filled is still a card.
#include <gtest/gtest.h>

#include "export_readback.h"
#include "export/target_store.h"
#include "export/vcard.h"
#include "test_support.h"

namespace edb {
namespace {

using nlohmann::json;

ContactItem FullContact() {
  ContactItem contact;
  contact.key = "00000000000000c1";
  contact.full_name = "Lefèvre, Renée";
  contact.given_name = "Renée";
  contact.middle_name = "M.";
  contact.surname = "Lefèvre";
  contact.company = "Contoso; Ltd";
  contact.title = "Head of Sales, EMEA";
  contact.email = "renee.lefevre@contoso.com";
  contact.mobile_phone = "+33 6 12 34 56 78";
  contact.home_phone = "+33 4 00 00 00 01";
  contact.business_phone = "+33 1 23 45 67 89";
  contact.business_fax = "+33 1 23 45 67 90";
  contact.home_page = "https://renee.example.org/";
  contact.business_home_page = "https://contoso.com/";
  contact.business_address = {"1 Rue de la Paix", "Paris", "Île-de-France", "75002", "France"};
  contact.home_address = {"", "Lyon", "", "69001", "France"};
  contact.note = "Line one\nLine two with a very long text that needs folding at seventy-five octets, süre.";
  return contact;
}

class CardsAndCalendars : public ::testing::Test {
 protected:
  std::unique_ptr<TargetStore> Open() {
    Result<std::unique_ptr<TargetStore>> store = TargetStore::Open(scratch_ / "store", MailFormat::kMaildir);
    EXPECT_TRUE(store.ok()) << store.status().reason();
    return store ? std::move(store.value()) : nullptr;
  }
  edbtest::ScratchDir scratch_;
};

TEST_F(CardsAndCalendars, EveryContactFieldReachesItsProperty) {
  ContactItem empty;
  empty.key = "00000000000000c2";
  {
    std::unique_ptr<TargetStore> store = Open();
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->WriteContact("Box", "Contacts", FullContact()).ok());
    ASSERT_TRUE(store->WriteContact("Box", "Contacts", empty).ok());
    EXPECT_EQ(store->counts().contacts, 2);
  }
  const json read = edbtest::ReadTargetStore(scratch_ / "store", "maildir");
  ASSERT_EQ(read["cards"].size(), 2u);
  const json& card = read["cards"][0];
  EXPECT_EQ(card["file"], "Box/Contacts/00000000000000c1.vcf");
  EXPECT_EQ(card["fn"], "Lefèvre, Renée");
  EXPECT_EQ(card["n"], json::parse(R"(["Lefèvre","Renée","M."])"));
  EXPECT_EQ(card["org"], json::parse(R"(["Contoso; Ltd"])"));
  EXPECT_EQ(card["title"], "Head of Sales, EMEA");
  EXPECT_EQ(card["email"], json::parse(R"(["renee.lefevre@contoso.com"])"));
  EXPECT_EQ(card["tel"], json::parse(R"([{"types":["CELL"],"value":"+33 6 12 34 56 78"},
                                         {"types":["HOME","VOICE"],"value":"+33 4 00 00 00 01"},
                                         {"types":["VOICE","WORK"],"value":"+33 1 23 45 67 89"},
                                         {"types":["FAX","WORK"],"value":"+33 1 23 45 67 90"}])"));
  ASSERT_EQ(card["adr"].size(), 2u);
  EXPECT_EQ(card["adr"][0], json::parse(R"({"types":["WORK"],"street":"1 Rue de la Paix","city":"Paris",
                                            "region":"Île-de-France","code":"75002","country":"France"})"));
  EXPECT_EQ(card["adr"][1]["city"], "Lyon");
  EXPECT_EQ(card["url"], json::parse(R"(["https://renee.example.org/","https://contoso.com/"])"));
  EXPECT_EQ(card["note"], FullContact().note);
  EXPECT_EQ(card["uid"], "edb-00000000000000c1");

  // A contact with no field filled still gives a card, with the empty FN and N it must have.
  const json& bare = read["cards"][1];
  EXPECT_EQ(bare["fn"], "");
  EXPECT_EQ(bare["uid"], "edb-00000000000000c2");
}

TEST_F(CardsAndCalendars, CardLinesAreFoldedWithinSeventyFiveOctets) {
  const std::string card = ComposeVCard(FullContact());
  size_t start = 0;
  while (start < card.size()) {
    const size_t end = card.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LE(end - start, 75u) << card.substr(start, end - start);
    start = end + 2;
  }
}

TEST_F(CardsAndCalendars, AppointmentsTasksAndJournalEntriesBecomeTheirComponents) {
  CalendarItem meeting;
  meeting.key = "00000000000000e1";
  meeting.summary = "Budget review; Q3, “final”";
  meeting.location = "Room 4.12";
  meeting.description = "Agenda:\n1. numbers\n2. more numbers";
  meeting.start = 1700000000;
  meeting.end = 1700003600;
  meeting.organizer = "Renée Lefèvre <renee@contoso.com>";
  meeting.attendees = {"soren@example.org", "Nobody without an address"};
  CalendarItem task;
  task.key = "00000000000000e2";
  task.kind = CalendarKind::kTask;
  task.summary = "File the report";
  task.start = 1700000000;
  task.end = 1700086400;
  CalendarItem journal;
  journal.key = "00000000000000e3";
  journal.kind = CalendarKind::kJournal;
  journal.summary = "Phone call";
  journal.description = "Talked about the budget.";
  journal.start = 1700000000;
  {
    std::unique_ptr<TargetStore> store = Open();
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->WriteCalendar("Box", "Calendar", meeting, 1750000000).ok());
    ASSERT_TRUE(store->WriteCalendar("Box", "Tasks", task, 1750000000).ok());
    ASSERT_TRUE(store->WriteCalendar("Box", "Journal", journal, 1750000000).ok());
    EXPECT_EQ(store->counts().calendar_items, 3);
  }
  const json read = edbtest::ReadTargetStore(scratch_ / "store", "maildir");
  ASSERT_EQ(read["calendar"].size(), 3u);
  const json& event = read["calendar"][0];
  EXPECT_EQ(event["file"], "Box/Calendar/00000000000000e1.ics");
  EXPECT_EQ(event["kind"], "VEVENT");
  EXPECT_EQ(event["summary"], meeting.summary);
  EXPECT_EQ(event["location"], meeting.location);
  EXPECT_EQ(event["description"], meeting.description);
  EXPECT_EQ(event["dtstart"], 1700000000);
  EXPECT_EQ(event["dtend"], 1700003600);
  EXPECT_EQ(event["dtstamp"], 1750000000);
  EXPECT_EQ(event["organizer"], "mailto:renee@contoso.com");
  EXPECT_EQ(event["attendees"], json::parse(R"(["mailto:soren@example.org"])"));
  EXPECT_EQ(event["uid"], "edb-00000000000000e1@edbrecover.invalid");
  const json& todo = read["calendar"][2];
  EXPECT_EQ(todo["kind"], "VTODO");
  EXPECT_EQ(todo["due"], 1700086400);
  const json& entry = read["calendar"][1];
  EXPECT_EQ(entry["kind"], "VJOURNAL");
  EXPECT_EQ(entry["description"], journal.description);
}

}  // namespace
}  // namespace edb
