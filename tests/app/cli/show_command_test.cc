// edbrecover show on the bundled sample store: every listed mail item shows
// the subject, date, recipients, attachment names and body the sample put
// in; contacts, appointments, journal entries and tasks show their pages;
// notes show no body; unknown folders and keys fail with a message.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "store/date_text.h"
#include "store/item_family.h"
#include "base/text_encoding.h"
#include "storegen/identifiers.h"
#include "storegen/sample_store.h"
#include "test_support.h"

namespace {

using nlohmann::json;

std::string RunEdbrecover(const std::string& arguments, int* code) {
  std::string out;
  *code = edbtest::RunCommand(edbtest::Program("edbrecover").string() + " " + arguments + " 2>&1", &out);
  return out;
}

json Show(const std::string& folder, const std::string& key) {
  int code = -1;
  const std::string out =
      RunEdbrecover("show '" + edbtest::SampleStore().string() + "' '" + folder + "' " + key + " --json", &code);
  EXPECT_EQ(code, 0) << out;
  return json::parse(out);
}

// Row `key` of `edbrecover list --json`, as the window lists it.
json ListRow(const std::string& folder, const std::string& key) {
  int code = -1;
  const json list = json::parse(RunEdbrecover("list '" + edbtest::SampleStore().string() + "' '" + folder + "' --json", &code));
  for (const json& row : list.at("rows")) {
    if (row.at(0) == key) return row;
  }
  ADD_FAILURE() << "no row " << key;
  return json::array();
}

std::string Recipients(const storegen::Item& item) {
  std::vector<std::string> seen;
  std::string text;
  for (const storegen::Recipient& recipient : item.recipients) {
    const std::string& address = recipient.entry.address;
    if (address.find('@') == std::string::npos || std::find(seen.begin(), seen.end(), address) != seen.end()) continue;
    seen.push_back(address);
    text += address + ",";
  }
  return text;
}

json AttachmentNames(const storegen::Item& item) {
  std::string names;
  for (const storegen::Attachment& a : item.attachments) {
    // Texts read from the store lose their backslashes.
    std::string name = a.display_name.value_or(storegen::IdText(*a.id));
    std::erase(name, '\\');
    names += name + ";";
  }
  return names.empty() ? json(nullptr) : json(names);
}

// `text` with CRLF line ends as LF and without a final line feed: RTF
// readers end a document's last paragraph with one, and HTML kept inside RTF
// comes back with the line ends of its RTF paragraphs.
std::string RtfLines(std::string text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  if (out.ends_with('\n')) out.pop_back();
  return out;
}

// The one body the item shows, and its kind.
std::pair<std::string, std::string> Body(const storegen::Body& body) {
  if (body.html) return {"html", *body.html};
  if (body.rtf_kind == storegen::RtfKind::kFromHtml) return {"html", body.rtf_source};
  if (body.rtf_kind != storegen::RtfKind::kNone) return {"txt", body.rtf_source};
  if (body.plain) return {"txt", *body.plain};
  return {"empty", ""};
}

TEST(ShowCommandTest, MailItemsShowWhatTheSamplePutIn) {
  int shown = 0;
  for (const storegen::Mailbox& mailbox : storegen::SampleStore().mailboxes) {
    if (mailbox.display_name != "Mailbox - John Doe" && mailbox.display_name != "Mailbox - Renée Lefèvre") continue;
    for (const storegen::Folder& folder : mailbox.folders) {
      if (folder.container_class != "IPF.Note") continue;
      const std::string path = *mailbox.display_name + "/" + *folder.display_name;
      for (const storegen::Item& item : folder.items) {
        if (!edb::IsListedMailClass(edb::Utf8ToUtf16(item.message_class.value_or("")))) continue;
        const std::string key = storegen::IdText(item.key);
        SCOPED_TRACE(path + " " + key);
        const json preview = Show(path, key);
        const json row = ListRow(path, key);
        EXPECT_EQ(preview.at("kind"), "mail");
        EXPECT_EQ(preview.at("from"), row.at(3));
        EXPECT_EQ(preview.at("subject"), item.subject_prefix + item.subject);
        EXPECT_EQ(preview.at("date"),
                  item.submit_time ? edb::Utf16ToUtf8(edb::DateText(item.submit_time->ticks)) : std::string());
        if (item.recipients.empty()) {
          EXPECT_EQ(preview.at("to"), item.recipient_text ? json(*item.recipient_text) : json(nullptr));
        } else {
          EXPECT_EQ(preview.at("to"), Recipients(item));
        }
        EXPECT_EQ(preview.at("attachments"), AttachmentNames(item));
        const auto [kind, body] = Body(item.body);
        EXPECT_EQ(preview.at("bodyKind"), kind);
        const std::string text = preview.at("body");
        if (item.body.rtf_kind != storegen::RtfKind::kNone && !item.body.html) {
          EXPECT_EQ(RtfLines(text), RtfLines(body));
        } else {
          EXPECT_EQ(text, body);
        }
        ++shown;
      }
    }
  }
  EXPECT_GE(shown, 20);
}

TEST(ShowCommandTest, OtherKindsShowTheirPages) {
  const json contact = Show("Mailbox - John Doe/Contacts", "9f00000000030002");
  EXPECT_EQ(contact.at("kind"), "contact");
  EXPECT_EQ(contact.at("body"),
            "<br><b>Full Name: </b>Zoë Ångström 🎻<br><b>First Name: </b>Zoë<br><b>Last Name: </b>Ångström<br>"
            "<b>E-Mail: </b>zoe.angstrom@northwind.se<br><b>Company Name: </b>Northwind Traders<br>"
            "<b>Business Phone: </b>+46 8 5550 1234<br>");
  for (const char* field : {"to", "attachments", "bodyKind"}) EXPECT_TRUE(contact.at(field).is_null()) << field;

  struct Case {
    const char* folder;
    const char* key;
    const char* kind;
    const char* subject;
  };
  for (const Case& c : {Case{"Mailbox - John Doe/Tasks", "9f00000000060001", "task", "Reisekosten abrechnen"},
                        Case{"Mailbox - John Doe/Calendar", "100000000050002", "appointment", "Zahnarzt 🦷"},
                        Case{"Mailbox - Renée Lefèvre/Journal", "9f00000000090105", "journal", "Besprechung mit John"},
                        Case{"Mailbox - John Doe/Notes", "9f00000000070001", "note", "WLAN-Passwort Büro"}}) {
    SCOPED_TRACE(c.folder);
    const json preview = Show(c.folder, c.key);
    EXPECT_EQ(preview.at("kind"), c.kind);
    EXPECT_EQ(preview.at("subject"), c.subject);
    if (std::string(c.kind) == "note") {
      EXPECT_TRUE(preview.at("body").is_null());
    } else {
      EXPECT_NE(preview.at("body").get<std::string>().find("Subject : " + std::string(c.subject) + " <br>"),
                std::string::npos);
    }
  }
}

TEST(ShowCommandTest, UnknownFolderOrKeyFailsWithAMessage) {
  const std::string sample = "'" + edbtest::SampleStore().string() + "'";
  int code = -1;
  std::string out = RunEdbrecover("show " + sample + " 'Mailbox - John Doe/Nowhere' 100000000010002", &code);
  EXPECT_EQ(code, 1);
  EXPECT_NE(out.find("no folder \"Mailbox - John Doe/Nowhere\""), std::string::npos) << out;
  out = RunEdbrecover("show " + sample + " 'Mailbox - John Doe/Inbox' 123", &code);
  EXPECT_EQ(code, 1);
  EXPECT_NE(out.find("no item with key \"123\""), std::string::npos) << out;
  // A hidden configuration item has a Msg record but no row.
  out = RunEdbrecover("show " + sample + " 'Mailbox - John Doe/Inbox' 10000000001000b --json", &code);
  EXPECT_EQ(code, 1);
}

}  // namespace
