// The bundled sample store, read back through libesedb: its tables and
// column types, the keys that join them, and values compared with the
// description the store was written from.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "storegen/identifiers.h"
#include "storegen/rtf_authoring.h"
#include "storegen/sample_store.h"
#include "storegen/text_codec.h"
#include "stored_table_support.h"
#include "test_support.h"

namespace {

using storegen::Id;
using storegen::Item;
using storegen::SampleStore;
using namespace storegentest;

// Reads the sample store once for all tests of this file.
class SampleStoreTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    path_ = new std::string(edbtest::SampleStore().string());
    tables_ = new std::map<std::string, StoredTable>();
    for (const std::string& name : StoredTableNames(*path_)) {
      if (!name.starts_with("MSys")) (*tables_)[name] = ReadStoredTable(*path_, name);
    }
  }
  static void TearDownTestSuite() {
    delete tables_;
    delete path_;
  }

  static const StoredTable& Table(const std::string& name) {
    const auto it = tables_->find(name);
    if (it == tables_->end()) throw std::runtime_error("sample store lacks table " + name);
    return it->second;
  }

  // Description items by key, with the folder that holds them.
  static std::map<Id, std::pair<const storegen::Folder*, const Item*>> ItemsByKey() {
    std::map<Id, std::pair<const storegen::Folder*, const Item*>> out;
    for (const auto& mailbox : SampleStore().mailboxes) {
      for (const auto& folder : mailbox.folders) {
        for (const auto& item : folder.items) out[item.key] = {&folder, &item};
      }
    }
    return out;
  }

  static std::string* path_;
  static std::map<std::string, StoredTable>* tables_;
};

std::string* SampleStoreTest::path_ = nullptr;
std::map<std::string, StoredTable>* SampleStoreTest::tables_ = nullptr;

TEST_F(SampleStoreTest, HasStoreTablesWithTypesByLetter) {
  for (const char* name : {"Mailbox", "Folders", "Msg", "1-23", "1-91C1"}) EXPECT_NO_THROW(Table(name)) << name;
  for (const auto& [name, table] : *tables_) {
    for (size_t c = 0; c < table.columns.size(); ++c) {
      const std::string& column = table.columns[c];
      const uint32_t type = table.types[c];
      SCOPED_TRACE(name + "." + column);
      switch (column[0]) {
        case 'N':
        case 'Q':
        case 'T':
        case 'L':
          EXPECT_TRUE(type == 9 || type == 11);
          break;
        case 'S':
          EXPECT_TRUE(type == 10 || type == 12);
          break;
        case 'B':
          EXPECT_EQ(type, 1u);
          break;
        default:
          ADD_FAILURE() << "unexpected column letter";
      }
    }
  }
  // Where readers look when the mailbox columns are not found by name.
  EXPECT_EQ(Table("Mailbox").columns.at(20), "Q6764");
  EXPECT_EQ(Table("Mailbox").columns.at(29), "S3001");
  for (const char* body : {"S1000", "N1009", "N1013"}) {
    EXPECT_GE(Table("Msg").types.at(static_cast<size_t>(Table("Msg").Column(body))), 11u) << body;
  }
}

TEST_F(SampleStoreTest, KeysJoinMailboxesFoldersContentsMessagesAndAttachments) {
  std::set<uint64_t> mailbox_keys;
  const StoredTable& mailboxes = Table("Mailbox");
  for (size_t r = 0; r < mailboxes.rows.size(); ++r) mailbox_keys.insert(*BigEndian64(mailboxes.At(r, "Q6764").bytes));
  EXPECT_EQ(mailbox_keys.size(), SampleStore().mailboxes.size());

  std::map<uint64_t, uint64_t> folder_of_message;
  const StoredTable& folders = Table("Folders");
  size_t contents_tables = 0;
  for (size_t r = 0; r < folders.rows.size(); ++r) {
    EXPECT_TRUE(mailbox_keys.count(*BigEndian64(folders.At(r, "Q6764").bytes)));
    const uint64_t id = *BigEndian64(folders.At(r, "Q6748").bytes);
    const std::string name = storegen::ContentsTableName(storegen::IdText(id));
    ASSERT_TRUE(tables_->count(name)) << name;
    ++contents_tables;
    const StoredTable& contents = Table(name);
    for (size_t row = 0; row < contents.rows.size(); ++row) {
      folder_of_message[*BigEndian64(contents.At(row, "N67b0").bytes)] = id;
    }
  }
  EXPECT_EQ(tables_->size(), 4 + contents_tables);  // nothing but the store tables
  EXPECT_EQ(Table("1-91C1").rows.size(), 14u);       // folder 01 00 00 00 00 00 91 c1: John's Inbox

  std::set<uint64_t> attachment_ids;
  const StoredTable& attachments = Table("1-23");
  size_t without_id = 0, without_name = 0;
  for (size_t r = 0; r < attachments.rows.size(); ++r) {
    if (attachments.At(r, "Q3f88").null) {
      ++without_id;
    } else {
      attachment_ids.insert(*BigEndian64(attachments.At(r, "Q3f88").bytes));
    }
    if (attachments.At(r, "S3001").null) ++without_name;
  }
  EXPECT_EQ(without_id, 1u);
  EXPECT_EQ(without_name, 1u);

  const StoredTable& messages = Table("Msg");
  std::set<uint64_t> referenced;
  for (size_t r = 0; r < messages.rows.size(); ++r) {
    const uint64_t key = *BigEndian64(messages.At(r, "N67b0").bytes);
    ASSERT_TRUE(folder_of_message.count(key)) << storegen::IdText(key) << " is in no contents table";
    EXPECT_EQ(*BigEndian64(messages.At(r, "Q6748").bytes), folder_of_message[key]);
    const StoredValue& ids = messages.At(r, "N67b3");
    ASSERT_EQ(ids.bytes.size() % 8, 0u);
    for (size_t at = 0; at < ids.bytes.size(); at += 8) {
      const uint64_t id = *BigEndian64({ids.bytes.begin() + static_cast<long>(at), ids.bytes.begin() + static_cast<long>(at) + 8});
      EXPECT_TRUE(attachment_ids.count(id)) << storegen::IdText(id);
      referenced.insert(id);
    }
  }
  EXPECT_EQ(messages.rows.size(), folder_of_message.size());
  EXPECT_EQ(referenced, attachment_ids);  // every identified attachment belongs to an item
}

TEST_F(SampleStoreTest, DatesReadRightOnBothSidesOfTheKey) {
  const auto items = ItemsByKey();
  bool date_before_key = false, date_after_key = false;
  auto check_table = [&](const StoredTable& table) {
    for (size_t r = 0; r < table.rows.size(); ++r) {
      const Item& item = *items.at(*BigEndian64(table.At(r, "N67b0").bytes)).second;
      SCOPED_TRACE(table.name + " " + storegen::IdText(item.key));
      EXPECT_EQ(ReadOrdered(table, r, "T39"), item.submit_time ? std::optional(item.submit_time->ticks) : std::nullopt);
      EXPECT_EQ(ReadOrdered(table, r, "Te06"),
                item.delivery_time ? std::optional(item.delivery_time->ticks) : std::nullopt);
      for (const auto& [column, time] : item.time_properties) {
        EXPECT_EQ(ReadOrdered(table, r, column).value_or(time.ticks), time.ticks) << column;
      }
    }
    if (!table.rows.empty() && table.Column("T39") >= 0) {
      (table.Column("T39") < table.Column("N67b0") ? date_before_key : date_after_key) = true;
    }
  };
  check_table(Table("Msg"));
  for (const auto& [name, table] : *tables_) {
    if (name.starts_with("1-") && name != "1-23") check_table(table);
  }
  EXPECT_TRUE(date_before_key);
  EXPECT_TRUE(date_after_key);
  // The message table keeps a creation time before its key: little-endian.
  EXPECT_LT(Table("Msg").Column("T3007"), Table("Msg").Column("N67b0"));
}

TEST_F(SampleStoreTest, OneWideContentsTableCarriesBlobAndNameAt39And42) {
  const StoredTable* wide = nullptr;
  for (const auto& [name, table] : *tables_) {
    if (!name.starts_with("1-") || name == "1-23") continue;
    if (table.columns.size() >= 40) {
      EXPECT_EQ(wide, nullptr) << "one wide table only";
      wide = &table;
    }
  }
  ASSERT_NE(wide, nullptr);
  ASSERT_GE(wide->columns.size(), 43u);
  EXPECT_EQ(wide->types.at(39), 11u);
  EXPECT_TRUE(wide->types.at(42) == 10 || wide->types.at(42) == 12);
  const auto items = ItemsByKey();
  size_t separated = 0;
  for (size_t r = 0; r < wide->rows.size(); ++r) {
    const Item& item = *items.at(*BigEndian64(wide->At(r, "N67b0").bytes)).second;
    const StoredValue& blob = wide->rows[r].at(39);
    const StoredValue& name = wide->rows[r].at(42);
    if (!item.contents_blob) {
      EXPECT_TRUE(blob.null);
      continue;
    }
    EXPECT_EQ(blob.text8(), item.contents_blob->data);
    separated += blob.separated();
    EXPECT_EQ(name.null ? std::nullopt : std::optional(Utf16BytesToUtf8(name.bytes)), item.contents_blob->name);
  }
  EXPECT_GE(separated, 2u);
}

TEST_F(SampleStoreTest, BodiesKeepTheirEncodingAndPlacement) {
  const auto items = ItemsByKey();
  const StoredTable& messages = Table("Msg");
  size_t in_record = 0, separated = 0, html_1252 = 0, compressed = 0, uncompressed = 0, from_html = 0;
  for (size_t r = 0; r < messages.rows.size(); ++r) {
    const Item& item = *items.at(*BigEndian64(messages.At(r, "N67b0").bytes)).second;
    SCOPED_TRACE(storegen::IdText(item.key));
    const StoredValue& plain = messages.At(r, "S1000");
    ASSERT_EQ(plain.null, !item.body.plain);
    if (item.body.plain) {
      EXPECT_EQ(Utf16BytesToUtf8(plain.bytes), *item.body.plain);
      EXPECT_EQ(plain.separated(), plain.bytes.size() >= 1024);
      (plain.separated() ? separated : in_record)++;
    }
    const StoredValue& html = messages.At(r, "N1013");
    ASSERT_EQ(html.null, !item.body.html);
    if (item.body.html && item.body.html_charset == storegen::HtmlCharset::kWindows1252) {
      EXPECT_EQ(html.text8(), storegen::Utf8ToWindows1252Html(*item.body.html));
      EXPECT_NE(html.text8().find("charset=windows-1252"), std::string::npos);
      ++html_1252;
    } else if (item.body.html) {
      EXPECT_EQ(html.text8(), *item.body.html);
    }
    const StoredValue& rtf = messages.At(r, "N1009");
    ASSERT_EQ(rtf.null, item.body.rtf_kind == storegen::RtfKind::kNone);
    if (!rtf.null) {
      ASSERT_GE(rtf.bytes.size(), 16u);
      const std::string document = storegen::RtfOf(item.body);
      const uint32_t raw_size = rtf.bytes[4] | rtf.bytes[5] << 8 | rtf.bytes[6] << 16 | uint32_t{rtf.bytes[7]} << 24;
      EXPECT_EQ(raw_size, document.size());
      const std::string magic(rtf.bytes.begin() + 8, rtf.bytes.begin() + 12);
      if (magic == "MELA") {
        EXPECT_EQ(std::string(rtf.bytes.begin() + 16, rtf.bytes.end()), document);
        ++uncompressed;
      } else {
        EXPECT_EQ(magic, "LZFu");
        EXPECT_LT(rtf.bytes.size(), document.size() + 16);
        ++compressed;
      }
      from_html += document.find("\\fromhtml1") != std::string::npos;
    }
  }
  EXPECT_GE(in_record, 3u);
  EXPECT_GE(separated, 3u);
  EXPECT_GE(html_1252, 2u);
  EXPECT_GE(compressed, 3u);
  EXPECT_EQ(uncompressed, 1u);
  EXPECT_GE(from_html, 2u);
}

TEST_F(SampleStoreTest, ContentsRowsKeepTheStartOfThePlainBodyInWindows1252) {
  const StoredTable& tasks = Table("1-91CA");
  ASSERT_EQ(tasks.rows.size(), 2u);
  EXPECT_EQ(tasks.At(0, "S1000").text8(), storegen::Utf8ToWindows1252("Belege für Januar und Februar sammeln."));
  // Subjects stay Unicode, non-BMP characters included.
  EXPECT_EQ(Utf16BytesToUtf8(Table("1-91C1").At(1, "Se1d").bytes), "Quartalsbericht Q4 2003 📈");
}

TEST_F(SampleStoreTest, AttachmentsKeepDataNamesAndChunks) {
  std::map<Id, const storegen::Attachment*> described;
  for (const auto& [key, place] : ItemsByKey()) {
    for (const auto& a : place.second->attachments) described[*a.id] = &a;
  }
  const StoredTable& attachments = Table("1-23");
  int largest_segments = 0;
  std::multiset<std::string> file_names;
  for (size_t r = 0; r < attachments.rows.size(); ++r) {
    if (attachments.At(r, "Q3f88").null) continue;
    const storegen::Attachment& a = *described.at(*BigEndian64(attachments.At(r, "Q3f88").bytes));
    EXPECT_EQ(attachments.At(r, "N3701").text8(), a.data);
    EXPECT_EQ(attachments.At(r, "N3701").separated(), a.data.size() >= 1024);
    largest_segments = std::max(largest_segments, attachments.At(r, "N3701").segments);
    file_names.insert(Utf16BytesToUtf8(attachments.At(r, "S3704").bytes));
  }
  EXPECT_GE(largest_segments, 3);
  EXPECT_EQ(file_names.count("../../etc/passwd"), 1u);
  EXPECT_EQ(file_names.count("a/b\\c.txt"), 1u);
  EXPECT_EQ(file_names.count("image001.png"), 2u);
}

TEST_F(SampleStoreTest, AddressEntriesDecodeToNameTypeAndAddress) {
  const auto items = ItemsByKey();
  const StoredTable& messages = Table("Msg");
  for (size_t r = 0; r < messages.rows.size(); ++r) {
    const Item& item = *items.at(*BigEndian64(messages.At(r, "N67b0").bytes)).second;
    if (!item.sender) continue;
    const std::string decoded = HexDecoded(messages.At(r, "N67be").bytes);
    const storegen::AddressEntry& s = *item.sender;
    EXPECT_NE(decoded.find(s.display_name + " " + s.address_type + " " + s.address + " "), std::string::npos)
        << decoded;
    const std::string recipients = HexDecoded(messages.At(r, "N67b4").bytes);
    for (const auto& recipient : item.recipients) {
      EXPECT_NE(recipients.find(" " + recipient.entry.address + " "), std::string::npos) << recipients;
    }
  }
  // "Team update" names one address three times.
  const auto& team = *items.at(0x0100000000010009).second;
  EXPECT_EQ(std::count_if(team.recipients.begin(), team.recipients.end(),
                          [](const auto& r) { return r.entry.address == "team@contoso.com"; }),
            3);
}

// What the sample promises to cover, checked on the description so that
// later edits cannot quietly drop a case.
TEST(SampleStoreDescription, CoversMailboxFolderAndItemKinds) {
  std::set<std::string> mailbox_names, folder_names, container_classes, message_classes;
  size_t user_mailboxes = 0, classless_mail = 0;
  for (const auto& mailbox : SampleStore().mailboxes) {
    mailbox_names.insert(*mailbox.display_name);
    user_mailboxes += mailbox.display_name->starts_with("Mailbox - ") &&
                      !mailbox.display_name->starts_with("Mailbox - SystemMailbox{") &&
                      !mailbox.display_name->starts_with("Mailbox - /o=") &&
                      !mailbox.display_name->starts_with("Mailbox - System Attendant");
    for (const auto& folder : mailbox.folders) {
      folder_names.insert(*folder.display_name);
      container_classes.insert(folder.container_class.value_or("(none)"));
      for (const auto& item : folder.items) {
        message_classes.insert(item.message_class.value_or("(none)"));
        classless_mail += !item.message_class.has_value();
      }
    }
  }
  EXPECT_GE(user_mailboxes, 2u);
  for (const char* prefix : {"SMTP (", "Mailbox - SystemMailbox{", "Mailbox - /o=", "/o=", "Mailbox - System Attendant"}) {
    EXPECT_TRUE(std::any_of(mailbox_names.begin(), mailbox_names.end(),
                            [&](const std::string& n) { return n.starts_with(prefix); }))
        << prefix;
  }
  for (const char* name : {"Inbox", "Sent Items", "Deleted Items", "Drafts", "Outbox", "Junk E-mails", "Sync Issues",
                           "Calendar", "Contacts", "Tasks", "Notes", "Journal", "Top of Information Store", "Finder",
                           "Spooler Queue"}) {
    EXPECT_TRUE(folder_names.count(name)) << name;
  }
  for (const char* c : {"IPF.Note", "IPF.Contact", "IPF.Appointment", "IPF.Task", "IPF.StickyNote", "IPF.Journal", "(none)"}) {
    EXPECT_TRUE(container_classes.count(c)) << c;
  }
  for (const char* c : {"IPM.Note", "IPM.Note.SMIME", "REPORT.IPM.Note.NDR", "IPM.Schedule.Meeting.Request",
                        "IPM.Contact", "IPM.Appointment", "IPM.Task", "IPM.StickyNote", "IPM.Activity",
                        "IPM.Configuration.WorkHours", "IPM.Rule.Version2.Message", "IPM.ExtendedRule.Message"}) {
    EXPECT_TRUE(message_classes.count(c)) << c;
  }
  EXPECT_GE(classless_mail, 3u);
}

}  // namespace
