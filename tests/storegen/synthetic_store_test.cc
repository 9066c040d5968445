// "edbgen synthetic": deterministic from the seed, and spread over
// mailboxes, folders and item kinds as promised.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "storegen/synthetic_store.h"
#include "stored_table_support.h"
#include "test_support.h"

namespace {

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Counts what a synthetic store holds without writing it.
class CountingSink : public storegen::StoreSink {
 public:
  struct FolderCount {
    std::string container_class;
    uint64_t mail_with_body = 0;  // no class or "IPM.Note", with a body
    uint64_t classless_with_body = 0;
  };

  void AddMailbox(const storegen::Mailbox& m) override { mailboxes.push_back(*m.display_name); }
  void AddFolder(storegen::Id, const storegen::Folder& f) override {
    folders[f.id].container_class = f.container_class.value_or("");
  }
  void AddItem(storegen::Id folder_id, const storegen::Item& item) override {
    ++items;
    used_folders.insert(folder_id);
    classes.insert(item.message_class.value_or(""));
    const std::string message_class = item.message_class.value_or("");
    if (!item.body.empty() && (message_class.empty() || message_class == "IPM.Note")) {
      ++folders[folder_id].mail_with_body;
      folders[folder_id].classless_with_body += message_class.empty();
    }
    attachments += item.attachments.size();
    if (item.body.plain) {
      short_plain += item.body.plain->size() < 500;
      long_plain += item.body.plain->size() > 2000;
    }
    rtf += item.body.rtf_kind != storegen::RtfKind::kNone;
    html += item.body.html.has_value();
  }
  void AddLooseAttachment(const storegen::Attachment&) override {}

  std::vector<std::string> mailboxes;
  std::map<storegen::Id, FolderCount> folders;
  std::set<storegen::Id> used_folders;
  std::set<std::string> classes;
  uint64_t items = 0, attachments = 0, short_plain = 0, long_plain = 0, rtf = 0, html = 0;
};

TEST(SyntheticStore, SameSeedGivesTheSameBytes) {
  edbtest::ScratchDir dir;
  storegen::WriteSyntheticStore({.items = 400, .seed = 7}, 8192, (dir / "a.edb").string());
  storegen::WriteSyntheticStore({.items = 400, .seed = 7}, 8192, (dir / "b.edb").string());
  storegen::WriteSyntheticStore({.items = 400, .seed = 8}, 8192, (dir / "c.edb").string());
  const std::string a = FileBytes(dir / "a.edb");
  ASSERT_GT(a.size(), 100'000u);
  EXPECT_TRUE(a == FileBytes(dir / "b.edb"));
  EXPECT_FALSE(a == FileBytes(dir / "c.edb"));
}

TEST(SyntheticStore, HundredThousandItemsFillOneLargeMailFolder) {
  CountingSink sink;
  storegen::GenerateSyntheticStore({.items = 100'000, .seed = 1}, &sink);
  EXPECT_EQ(sink.items, 100'000u);
  uint64_t largest = 0, largest_classless = 0;
  for (const auto& [id, folder] : sink.folders) {
    if (folder.container_class != "IPF.Note") continue;
    largest = std::max(largest, folder.mail_with_body);
    largest_classless = std::max(largest_classless, folder.classless_with_body);
  }
  EXPECT_GE(largest, 10'000u);
  EXPECT_GE(largest_classless, 10'000u);
  EXPECT_GE(sink.mailboxes.size(), 20u);
  EXPECT_GT(sink.used_folders.size(), 200u);
  for (const char* c : {"", "IPM.Note", "IPM.Contact", "IPM.Appointment", "IPM.Task", "IPM.StickyNote", "IPM.Activity",
                        "IPM.Rule.Version2.Message"}) {
    EXPECT_TRUE(sink.classes.count(c)) << c;
  }
  EXPECT_GT(sink.attachments, 1000u);
  EXPECT_GT(sink.short_plain, 1000u);
  EXPECT_GT(sink.long_plain, 1000u);
  EXPECT_GT(sink.rtf, 1000u);
  EXPECT_GT(sink.html, 1000u);
}

TEST(SyntheticStore, WrittenStoreHoldsEveryItemOnce) {
  edbtest::ScratchDir dir;
  const std::string path = (dir / "s.edb").string();
  int code = edbtest::RunCommand(edbtest::Program("edbgen").string() + " synthetic 1500 --seed 3 --page-size 4096 " +
                                     path + " 2>/dev/null",
                                 nullptr);
  ASSERT_EQ(code, 0);
  uint64_t contents_rows = 0;
  for (const std::string& name : storegentest::StoredTableNames(path)) {
    if (name.starts_with("1-") && name != "1-23") contents_rows += storegentest::ReadStoredTable(path, name).rows.size();
  }
  EXPECT_EQ(storegentest::ReadStoredTable(path, "Msg").rows.size(), 1500u);
  EXPECT_EQ(contents_rows, 1500u);
}

}  // namespace
