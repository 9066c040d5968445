// Header rows of opened folders, over stores written with the ESE writer:
// which rows a family lists and with which cells, the mail classes a mail
// folder shows, the byte-order switch inside a row, row numbers, From texts,
// entries, save mode and the export of the value at position 39.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "contents_store.h"
#include "base/safe_file_name.h"
#include "base/text_encoding.h"
#include "storegen/address_entry.h"
#include "storegen/identifiers.h"

namespace {

using contentstest::FolderStore;
using contentstest::ScannedStore;
using contentstest::TableRows;
using edb::Utf16ToUtf8;
using storegen::ContentsLayout;
using storegen::MakeFileTime;
using Row = std::vector<std::string>;

void AddMail(TableRows& table, uint64_t key, std::optional<std::string> message_class, std::string subject,
             std::optional<storegen::FileTime> submit = MakeFileTime(2004, 1, 5, 13, 7, 9)) {
  table.row().SetId("N67b0", key);
  if (message_class) table.row().SetText("S1a", *message_class);
  if (!subject.empty()) table.row().SetText("Se1d", subject);
  if (submit) table.row().SetTime("T39", *submit);
  table.Add();
}

std::vector<std::string> Column(const std::vector<Row>& rows, size_t column) {
  std::vector<std::string> cells;
  for (const Row& row : rows) cells.push_back(column < row.size() ? row[column] : "<unset>");
  return cells;
}

TEST(ContentsRowsTest, MailFoldersListEveryClassAMailClientShowsAndHideConfigurationMessages) {
  FolderStore builder;
  TableRows& inbox = builder.AddFolder("Inbox", "IPF.Note", ContentsLayout::kKeyFirst);
  const std::vector<std::optional<std::string>> classes = {
      "IPM.Note",       "IPM.Configuration.WorkHours", std::nullopt,     "IPM.Note.SMIME",
      "REPORT.IPM.Note.NDR", "IPM.Microsoft.ScheduleData.FreeBusy", "IPM.Schedule.Meeting.Request",
      "IPM.Post",       "IPM.Rule.Version2.Message",   "IPF.Note",       "IPM.ExtendedRule.Message"};
  for (size_t i = 0; i < classes.size(); ++i) AddMail(inbox, 0x0100000000010001 + i, classes[i], "m" + std::to_string(i + 1));
  edbtest::ScratchDir dir;
  auto store = builder.Scan(dir);
  store->Open("Inbox");

  const std::vector<Row>& rows = store->window.rows;
  EXPECT_EQ(Column(rows, 1), (std::vector<std::string>{"IPM.Note", "", "IPM.Note.SMIME", "REPORT.IPM.Note.NDR",
                                                       "IPM.Schedule.Meeting.Request", "IPM.Post", "IPF.Note"}));
  // Every row counts, listed or not.
  EXPECT_EQ(Column(rows, 2), (std::vector<std::string>{"1", "3", "4", "5", "7", "8", "10"}));
  EXPECT_EQ(Column(rows, 0)[1], "100000000010003");
  ASSERT_EQ(store->session.mail_rows.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(store->session.mail_rows[i].number, std::stoi(rows[i][2]));
    EXPECT_EQ(store->session.mail_rows[i].key, edb::Utf8ToUtf16(rows[i][0]));
  }
  EXPECT_EQ(store->session.open_folder.folder_class, u"Folder");  // "IPF.Note" read as ordinary mail
}

TEST(ContentsRowsTest, MailCellsAndEntriesFromTextsSubjectsAndDates) {
  FolderStore builder;
  TableRows& inbox = builder.AddFolder("Inbox", "IPF.Note", ContentsLayout::kKeyFirst);
  storegen::RowEncoder& row = inbox.row();
  row.SetId("N67b0", 0x9f00000000010001);
  row.SetText("S1a", "IPM.Note");
  row.SetText("S42", "Max Mustermann");
  row.SetBytes("N67be", storegen::OneOffEntry({"Max Mustermann", "SMTP", "max.mustermann@fabrikam.de"}));
  row.SetText("S3d", "RE: ");
  row.SetText("Se1d", "Angebot");
  row.SetTime("T39", MakeFileTime(2004, 1, 5, 13, 7, 9));
  row.SetBit("Be1b", true);
  inbox.Add();
  row.SetId("N67b0", 0x0100000000010002);  // sender name only, no date, no subject
  row.SetText("S42", "Helpdesk");
  inbox.Add();
  row.SetId("N67b0", 0x0100000000010003);  // sender entry only: one word, "<"
  row.SetBytes("N67be", storegen::OneOffEntry({"Helpdesk", "SMTP", "helpdesk@contoso.com"}));
  row.SetText("S3d", "FW: ");
  row.SetTime("T39", MakeFileTime(2003, 12, 24, 12, 0, 0));
  inbox.Add();
  row.SetId("N67b0", 0x0100000000010004);  // no sender at all
  row.SetText("Se1d", "Plain");
  inbox.Add();
  edbtest::ScratchDir dir;
  auto store = builder.Scan(dir);
  store->Open("Inbox");

  EXPECT_EQ(store->window.headings, (std::vector<std::string>{"", "Type", "S.No", "From", "Subject", "Date", "Attachment"}));
  const std::vector<Row> expected = {
      {"9f00000000010001", "IPM.Note", "1", "Max Mustermann;Max Mustermann<max.mustermann@fabrikam.de>", "RE: Angebot",
       "Jan 05, 2004 13:07:09", "true"},
      {"100000000010002", "", "2", "Helpdesk;", "", "", ""},
      {"100000000010003", "", "3", "Helpdesk<helpdesk@contoso.com>", "FW: ", "Dec 24, 2003 12:00:00", ""},
      {"100000000010004", "", "4", "", "Plain", "", ""},
  };
  EXPECT_EQ(store->window.rows, expected);

  std::vector<std::string> entries;
  for (const edb::MessageEntry& e : store->session.mail_rows) {
    entries.push_back(std::to_string(e.number) + "|" + Utf16ToUtf8(e.sender) + "|" + Utf16ToUtf8(e.subject) + "|" +
                      Utf16ToUtf8(e.date) + "|" + Utf16ToUtf8(e.attachments.value_or(u"none")));
  }
  EXPECT_EQ(entries, (std::vector<std::string>{
                         "1|Max Mustermann;Max Mustermann<max.mustermann@fabrikam.de>|RE: Angebot|"
                         "Jan 05, 2004 13:07:09|true",
                         "2|Helpdesk;|Unknown|Unknown|none",
                         "3|Helpdesk<helpdesk@contoso.com>|FW: |Dec 24, 2003 12:00:00|none",
                         "4|Unknown|Plain|Unknown|none",
                     }));
}

esewriter::ColumnSpec Spec(std::string name, esewriter::ColumnType type, esewriter::Placement placement) {
  return {std::move(name), type, type == esewriter::ColumnType::kText || type == esewriter::ColumnType::kLongText
                                     ? 1200u : 0u, false, placement, 0};
}

TEST(ContentsRowsTest, EachFamilyFillsItsOwnColumnsAndRowNumbersRestartPerFolder) {
  using esewriter::ColumnType;
  using esewriter::Placement;
  FolderStore builder;
  // Times on both sides of the key: the one before it is read little-endian,
  // the one after big-endian.
  TableRows& calendar = builder.AddFolder(
      "Calendar", "IPF.Appointment",
      {Spec("Be1b", ColumnType::kBit, Placement::kFixed), Spec("T39", ColumnType::kBinary, Placement::kVariable),
       Spec("N67b0", ColumnType::kBinary, Placement::kVariable), Spec("Te06", ColumnType::kBinary, Placement::kVariable),
       Spec("S1a", ColumnType::kText, Placement::kVariable), Spec("Se1d", ColumnType::kLongText, Placement::kTagged),
       Spec("S80fd", ColumnType::kLongText, Placement::kTagged)});
  for (int i = 0; i < 2; ++i) {
    calendar.row().SetId("N67b0", 0x0100000000050001 + i);
    calendar.row().SetText("S1a", "IPM.Appointment");
    calendar.row().SetText("Se1d", "Meeting " + std::to_string(i + 1));
    calendar.row().SetTime("T39", MakeFileTime(2004, 2, 13 + i, 9, 0, 0));
    calendar.row().SetTime("Te06", MakeFileTime(2004, 2, 16 + i, 10, 30, 0));
    calendar.row().SetText("S80fd", "Raum 4.01");
    calendar.Add();
  }
  TableRows& contacts = builder.AddFolder("Contacts", "IPF.Contact", ContentsLayout::kKeyFirst);
  contacts.row().SetId("N67b0", 0x0100000000030001);
  contacts.row().SetText("S1a", "IPM.Contact");
  contacts.row().SetText("Se1d", "Max Mustermann");
  for (const auto& [column, text] : std::vector<std::pair<std::string, std::string>>{
           {"S3a09", "home"}, {"S3a08", "work"}, {"S3a1c", "mobile"}, {"S3a15", "street"}, {"S81b0", "max@x.de"}}) {
    contacts.row().SetText(column, text);
  }
  contacts.Add();
  TableRows& tasks = builder.AddFolder("Tasks", "IPF.Task", ContentsLayout::kDateFirst);
  tasks.row().SetId("N67b0", 0x0100000000060001);
  tasks.row().SetText("S1a", "IPM.Task");
  tasks.row().SetText("S1000", "Max anrufen.");
  tasks.row().SetTime("Te06", MakeFileTime(2004, 3, 3, 12, 0, 0));
  tasks.Add();
  TableRows& notes = builder.AddFolder("Notizen", "IPF.StickyNote", ContentsLayout::kKeyFirst);
  notes.row().SetId("N67b0", 0x0100000000070001);
  notes.row().SetTime("Te06", MakeFileTime(2004, 1, 8, 8, 0, 0));
  notes.Add();
  TableRows& journal = builder.AddFolder("Journal", "IPF.Journal", ContentsLayout::kKeyFirst);
  journal.row().SetId("N67b0", 0x0100000000080001);
  journal.row().SetBit("Be1b", true);
  journal.Add();
  TableRows& other = builder.AddFolder("Other", "IPF.Unknown", ContentsLayout::kKeyFirst);
  other.row().SetId("N67b0", 0x0100000000090001);
  other.Add();
  edbtest::ScratchDir dir;
  auto store = builder.Scan(dir);

  store->Open("Calendar");
  EXPECT_EQ(store->window.headings.size(), 8u);
  EXPECT_EQ(store->window.rows,
            (std::vector<Row>{{"100000000050001", "IPM.Appointment", "1", "", "Meeting 1", "Feb 13, 2004 09:00:00",
                               "Feb 16, 2004 10:30:00", "Raum 4.01"},
                              {"100000000050002", "IPM.Appointment", "2", "", "Meeting 2", "Feb 14, 2004 09:00:00",
                               "Feb 17, 2004 10:30:00", "Raum 4.01"}}));
  EXPECT_TRUE(store->session.mail_rows.empty());

  store->Open("Contacts");
  EXPECT_EQ(store->window.headings.size(), 12u);
  EXPECT_EQ(store->window.rows,
            (std::vector<Row>{{"100000000030001", "IPM.Contact", "1", "Max Mustermann", "Max Mustermann",
                               "Max Mustermann", "home", "work", "mobile", "street", "max@x.de", ""}}));
  ASSERT_EQ(store->session.contacts.size(), 1u);
  EXPECT_EQ(store->session.contacts[0].key, u"100000000030001");
  EXPECT_EQ(store->session.contacts[0].item_class, u"IPM.Contact");

  store->Open("Tasks");
  EXPECT_EQ(store->window.rows, (std::vector<Row>{{"100000000060001", "IPM.Task", "1", "", "", "",
                                                   "Mar 03, 2004 12:00:00", "Max anrufen."}}));
  store->Open("Notizen");
  EXPECT_EQ(store->window.rows,
            (std::vector<Row>{{"100000000070001", "", "1", "", "", "", "Jan 08, 2004 08:00:00",
                               "Jan 08, 2004 08:00:00"}}));
  store->Open("Journal");
  EXPECT_EQ(store->window.rows, (std::vector<Row>{{"100000000080001", "", "1", "", "", "", "true"}}));
  store->Open("Other");
  EXPECT_TRUE(store->window.rows.empty());
  EXPECT_EQ(store->session.open_folder.row_number, 1);
  // A contact folder opened again holds its contacts once.
  store->Open("Contacts");
  EXPECT_EQ(store->session.contacts.size(), 1u);
  EXPECT_TRUE(store->corruption.reports.empty()) << store->corruption.reports.front();
}

TEST(ContentsRowsTest, SaveModeShowsEachHeaderOnTheStatusLineAndKeepsTheEntries) {
  FolderStore builder;
  TableRows& inbox = builder.AddFolder("Inbox", "IPF.Note", ContentsLayout::kKeyFirst);
  inbox.row().SetText("S42", "Ann");
  AddMail(inbox, 0x0100000000010001, "IPM.Note", "one");
  inbox.row().SetText("S42", "Bob");
  AddMail(inbox, 0x0100000000010002, "IPM.Configuration.WorkHours", "two");
  TableRows& journal = builder.AddFolder("Journal", "IPF.Journal", ContentsLayout::kKeyFirst);
  AddMail(journal, 0x0100000000080001, "IPM.Activity", "call");
  TableRows& contacts = builder.AddFolder("Contacts", "IPF.Contact", ContentsLayout::kKeyFirst);
  contacts.row().SetText("S42", "Ann");
  AddMail(contacts, 0x0100000000090001, "IPM.Contact", "Carl");
  edbtest::ScratchDir dir;
  auto store = builder.Scan(dir);
  store->session.open_folder.save_mode = true;

  store->window.calls.clear();
  store->Open("Inbox");
  EXPECT_TRUE(store->window.rows.empty());
  EXPECT_EQ(store->session.mail_rows.size(), 1u);  // listed classes only, as when browsing
  EXPECT_EQ(store->window.Calls("status"),
            (std::vector<std::string>{"Status: Getting Inbox Header Informations",
                                      "Status: Getting Inbox Header Informations\\ Ann;]",
                                      "Status: Getting Inbox Header Informations\\ Bob;]", " "}));
  store->Open("Journal");  // journal rows are listed even when saving
  EXPECT_EQ(store->window.rows.size(), 1u);
  // Contact rows show their subject (the contact's name), not a sender.
  store->window.calls.clear();
  store->Open("Contacts");
  EXPECT_TRUE(store->window.rows.empty());
  EXPECT_EQ(store->session.contacts.size(), 1u);
  EXPECT_EQ(store->window.Calls("status"),
            (std::vector<std::string>{"Status: Getting Contacts Header Informations",
                                      "Status: Getting Contacts Header Informations\\ Carl]", " "}));
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ContentsRowsTest, TheValueAtPosition39IsExportedUnderTheNameAt42InsideTheTemporaryFolder) {
  FolderStore builder;
  TableRows& wide = builder.AddFolder("Projekte", "IPF.Note", ContentsLayout::kWide);
  const std::string plan(2000, 'p'), other(1500, 'o'), unnamed(1100, 'u');
  struct Blob {
    std::string data;
    std::optional<std::string> name;
  };
  const std::vector<std::optional<Blob>> blobs = {Blob{plan, "../evil/plan.bin"}, Blob{other, "../evil/plan.bin"},
                                                  Blob{std::string(300, 's'), "small.bin"},  // kept in the record
                                                  Blob{unnamed, std::nullopt}, std::nullopt};
  for (size_t i = 0; i < blobs.size(); ++i) {
    if (blobs[i]) {
      wide.row().SetBytes("N7c06", blobs[i]->data);
      if (blobs[i]->name) wide.row().SetText("S7c09", *blobs[i]->name);
    }
    AddMail(wide, 0x0100000000040001 + i, "IPM.Note", "p" + std::to_string(i));
  }
  ASSERT_EQ(wide.spec().columns[39].name, "N7c06");
  ASSERT_EQ(wide.spec().columns[42].name, "S7c09");
  edbtest::ScratchDir dir;
  auto store = builder.Scan(dir);
  store->Open("Projekte");

  EXPECT_EQ(store->window.rows.size(), blobs.size());
  const std::filesystem::path temp = store->temp_folder.path();
  const std::filesystem::path first(edb::SafeFileName(u"../evil/plan.bin"));
  const std::filesystem::path second = first.stem().string() + " (2)" + first.extension().string();
  std::vector<std::string> expected = {first.string(), second.string()};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(contentstest::FilesIn(temp), expected);
  EXPECT_EQ(FileText(temp / first), plan);
  EXPECT_EQ(FileText(temp / second), other);
  EXPECT_EQ(contentstest::FilesIn(store->scratch.path()), std::vector<std::string>{temp.filename().string()});
  EXPECT_TRUE(store->corruption.reports.empty()) << store->corruption.reports.front();
}

}  // namespace
