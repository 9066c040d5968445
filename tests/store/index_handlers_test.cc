// The message-index and attachment handlers over stores written with the ESE
// writer: index entries by position, attachment keys and names, the names of
// an item's attachments, recipients read through a Msg record, and the
// attachment data written in save mode, which never leaves the temporary
// folder whatever the stored names.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "contents_store.h"
#include "store/address_parsing.h"
#include "store/attachment_name_index.h"
#include "store/record_value.h"
#include "store/item_content_sink.h"
#include "base/safe_file_name.h"
#include "base/text_encoding.h"
#include "store/value_text.h"
#include "storegen/address_entry.h"
#include "storegen/identifiers.h"

namespace {

using contentstest::ScannedStore;
using contentstest::TableRows;
using edb::Utf16ToUtf8;

constexpr uint64_t kReport = 0x7a00000000020101;  // 16 digits
constexpr uint64_t kNotes = 0x0100000000020102;   // 15 digits
constexpr uint64_t kPasswd = 0x0100000000020103;
constexpr uint64_t kSeparators = 0x7a00000000020104;
constexpr uint64_t kPasswdAgain = 0x0100000000020105;

std::string Bytes(size_t size, char seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(seed + i * 7);
  return bytes;
}

std::vector<uint8_t> Ids(std::initializer_list<uint64_t> ids) {
  std::vector<uint8_t> bytes;
  for (uint64_t id : ids) {
    const auto b = storegen::IdBytes(id);
    bytes.insert(bytes.end(), b.begin(), b.end());
  }
  return bytes;
}

storegen::Recipient To(std::string name, std::string address) {
  return {storegen::RecipientType::kTo, {std::move(name), "SMTP", std::move(address)}};
}

TableRows Messages() {
  TableRows msg(storegen::MessageTableSpec(1200));
  msg.row().SetId("N67b0", 0x0100000000010002);
  msg.row().SetBytes("N67b3", Ids({kReport, kNotes}));
  msg.row().SetBytes("N67b4", storegen::RecipientList({To("Team", "team@contoso.com"), To("Team", "team@contoso.com"),
                                                       To("John Doe", "john.doe@contoso.com"),
                                                       To("Team", "team@contoso.com")}));
  msg.Add();
  msg.row().SetId("N67b0", 0x9f00000000010004);  // no attachments
  msg.Add();
  msg.row().SetText("S1a", "IPM.Note");  // no key
  msg.Add();
  return msg;
}

struct StoredAttachment {
  std::optional<uint64_t> id;
  std::optional<std::string> name;
  std::string data;
};

const std::vector<StoredAttachment>& Attachments() {
  static const std::vector<StoredAttachment> attachments = {
      {kReport, "Quartalsbericht.pdf", Bytes(5000, 1)},  // kept as a long value
      {kNotes, std::nullopt, "short"},                   // no display name, data in the record
      {std::nullopt, "orphan.txt", "orphan"},            // no identifier
      {kPasswd, "../../etc/passwd", Bytes(1500, 2)},
      {kSeparators, "a/b\\c.txt", Bytes(1100, 3)},
      {kPasswdAgain, "../../etc/passwd", Bytes(1300, 4)},
  };
  return attachments;
}

TableRows AttachmentTable() {
  TableRows table(storegen::AttachmentTableSpec());
  for (const StoredAttachment& a : Attachments()) {
    if (a.id) table.row().SetId("Q3f88", *a.id);
    if (a.name) table.row().SetText("S3001", *a.name);
    table.row().SetBytes("N3701", a.data);
    table.Add();
  }
  return table;
}

class IndexHandlersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const TableRows msg = Messages();
    const TableRows attachments = AttachmentTable();
    contentstest::WriteDatabase(dir_ / "store.edb", {&msg, &attachments});
    store_ = std::make_unique<ScannedStore>(dir_ / "store.edb");
    ASSERT_EQ(store_->outcome, edb::ScanOutcome::kCompleted);
  }

  edbtest::ScratchDir dir_;
  std::unique_ptr<ScannedStore> store_;
};

TEST_F(IndexHandlersTest, IndexEntriesCarryKeyPositionAndAttachmentIdentifiers) {
  const std::vector<edb::MsgIndexEntry>& index = store_->session.message_index;
  ASSERT_EQ(index.size(), 3u);
  EXPECT_EQ(index[0].key, u"100000000010002");
  EXPECT_EQ(index[0].text, u"7a000000000201010100000000020102");
  EXPECT_EQ(index[1].key, u"9f00000000010004");
  EXPECT_EQ(index[1].text, std::nullopt);
  EXPECT_EQ(index[2].key, std::nullopt);
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(index[i].record, i);
}

TEST_F(IndexHandlersTest, AttachmentsAreNamedByWholeIdentifiersWithATrailingSemicolonEach) {
  std::vector<std::string> entries;
  for (const edb::AttachmentEntry& a : store_->session.attachments) {
    entries.push_back(Utf16ToUtf8(a.key) + "|" + (a.name ? Utf16ToUtf8(*a.name) : "none") + "|" +
                      std::to_string(a.record));
  }
  EXPECT_EQ(entries, (std::vector<std::string>{
                         "07a00000000020101|Quartalsbericht.pdf|0",
                         "0100000000020102|100000000020102|1",
                         "0|orphan.txt|2",
                         "0100000000020103|../../etc/passwd|3",
                         "07a00000000020104|a/bc.txt|4",  // stored texts lose their backslashes
                         "0100000000020105|../../etc/passwd|5",
                     }));
  // The orphan's key "0" stands in the identifier text, but names no item.
  EXPECT_EQ(edb::AttachmentNameIndex(store_->session.attachments).NamesOf(*store_->session.message_index[0].text),
            u"Quartalsbericht.pdf;100000000020102;");
}

// Renders the recipient list of every Msg record it is given.
class RecipientSink : public edb::ItemContentSink {
 public:
  edb::RecordOutcome ReadItem(const edb::RecordRef& record, edb::StoreEvents&) override {
    const int count = edb::NumberOfValues(record);
    for (int value = 0; value < count; ++value) {
      if (edb::ColumnNameOf(record, value) != u"N67b4") continue;
      recipients.push_back(Utf16ToUtf8(
          edb::ExtractRecipientAddresses(edb::ValueText(record, value, u"").value_or(u"")).value_or(u"?")));
    }
    return edb::RecordOutcome::kHandled;
  }
  std::vector<std::string> recipients;
};

TEST_F(IndexHandlersTest, FetchedRecordsReachTheItemContentSinkAndRecipientsComeOnceEach) {
  RecipientSink sink;
  store_->handlers.set_item_content_sink(&sink);
  edb::OpenedTable msg;
  edb::Status error;
  ASSERT_EQ(store_->session.OpenTable(u"Msg", &msg, &error), edb::TableLookup::kOpened);
  EXPECT_EQ(edb::ReadMsgRecord(store_->reading, msg, 0), edb::RecordOutcome::kHandled);
  EXPECT_EQ(edb::ReadMsgRecord(store_->reading, msg, 1), edb::RecordOutcome::kHandled);
  EXPECT_EQ(sink.recipients, (std::vector<std::string>{"team@contoso.com,john.doe@contoso.com,", ""}));
  // Without a sink the records are accepted and dropped.
  store_->handlers.set_item_content_sink(nullptr);
  EXPECT_EQ(store_->handlers.ItemContent(edb::RecordRef{}, store_->events), edb::RecordOutcome::kHandled);
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(IndexHandlersTest, SaveModeWritesAttachmentDataInsideTheTemporaryFolderOnly) {
  const size_t listed = store_->session.attachments.size();
  store_->session.open_folder.save_mode = true;
  EXPECT_EQ(edb::WalkTableByName(store_->reading, u"1-23"), edb::WalkOutcome::kComplete);
  EXPECT_EQ(store_->session.attachments.size(), listed);  // nothing appended in save mode

  // Only long values are written; the two "passwd" files stay apart.
  const std::filesystem::path temp = store_->temp_folder.path();
  const std::string passwd = edb::SafeFileName(u"../../etc/passwd");
  const std::filesystem::path passwd_path(passwd);
  const std::string passwd_again = passwd_path.stem().string() + " (2)" + passwd_path.extension().string();
  std::vector<std::string> expected = {"Quartalsbericht.pdf", passwd, passwd_again,
                                       edb::SafeFileName(u"a/bc.txt")};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(contentstest::FilesIn(temp), expected);
  EXPECT_EQ(FileText(temp / "Quartalsbericht.pdf"), Attachments()[0].data);
  EXPECT_EQ(FileText(temp / passwd), Attachments()[3].data);
  EXPECT_EQ(FileText(temp / passwd_again), Attachments()[5].data);
  EXPECT_EQ(FileText(temp / edb::SafeFileName(u"a/bc.txt")), Attachments()[4].data);
  // Nothing landed beside the temporary folder.
  EXPECT_EQ(contentstest::FilesIn(store_->scratch.path()), std::vector<std::string>{temp.filename().string()});
  EXPECT_TRUE(store_->corruption.reports.empty()) << store_->corruption.reports.front();
}

}  // namespace
