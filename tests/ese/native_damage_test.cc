// Damage costs only its own records: each page of a written store damaged in
// turn (a flipped byte; zeroed; a structural byte changed with the checksum
// repaired, so the structural checks are what catch it) leaves every record
// of the other pages readable, and each loss is reported once.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

#include "ese/data_tree_locator.h"
#include "ese/database.h"
#include "ese/native_database.h"
#include "ese/page_checksum.h"
#include "native_agreement_support.h"
#include "ese/ese_catalog.h"
#include "test_support.h"
#include "esewriter/writer_support.h"

namespace {

using esewriter::ColumnType;
using esewriter::Value;

constexpr uint32_t kPageSize = 4096;
constexpr int kRecords = 400;
constexpr int kTableIndex = 2;  // after the two catalog tables

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class NativeDamage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new edbtest::ScratchDir();
    esewriter::TableSpec spec{"Msg", {{"Id", ColumnType::kLong}, {"Subject", ColumnType::kText, 1252},
                                      {"Body", ColumnType::kLongBinary}}};
    std::vector<esewriter::Record> records;
    for (int i = 0; i < kRecords; ++i) {
      records.push_back({Value::I32(i), Value::Text1252("subject of message " + std::to_string(i) + std::string(60, 'x')),
                         i % 10 == 0 ? Value::Bytes(esetest::Pattern(5000, static_cast<uint32_t>(i))) : Value::Null()});
    }
    esetest::WriteDatabase(Clean(), kPageSize, {{spec, records}});
    MapRecordsToPages();
  }
  static void TearDownTestSuite() { delete dir_; }
  static std::string Clean() { return (*dir_ / "clean.edb").string(); }

  // Which leaf page each record id lies on, and the tree's branch pages.
  static void MapRecordsToPages() {
    std::string error;
    auto file = edb::EseFile::Open(Clean(), &error);
    ASSERT_TRUE(file) << error;
    edb::EseCatalog catalog;
    ASSERT_TRUE(catalog.Read(*file, &error));
    const edb::CatalogTable* table = catalog.FindTable(u"Msg");
    ASSERT_NE(table, nullptr);
    nativetest::RecordingReporter reporter;
    edb::ese::DataTreeLocator locator(*file, edb::TreeShape{table->root_page, table->object_id, 0}, "Msg", reporter);
    ASSERT_EQ(locator.record_count(), kRecords);
    for (int i = 0; i < kRecords; ++i) page_of_[i] = locator.At(i).page;  // written in id order
    root_page_ = table->root_page;
    page_count_ = file->page_count();
  }

  // The ids of every record the native reader gives, and what was reported.
  static std::set<int> ReadIds(const std::string& path, std::vector<std::string>* reports) {
    nativetest::RecordingReporter reporter;
    std::set<int> ids;
    auto db = edb::ese::OpenNativeDatabase(path, reporter);
    if (db.ok()) {
      auto table = (*db)->OpenTable(kTableIndex);
      if (table.ok()) {
        auto count = (*table)->RecordCount();
        for (int64_t i = 0; count.ok() && i < *count; ++i) {
          auto record = (*table)->ReadRecord(i);
          edb::ese::Value id;
          if (record.ok() && (*record)->ReadValue(0, &id).ok() && id.data.size() == 4)
            ids.insert(static_cast<int>(id.data[0] | (id.data[1] << 8) | (id.data[2] << 16) | (id.data[3] << 24)));
          if (record.ok()) (void)(*record)->ValueText(1);
          if (record.ok()) {
            auto body = (*record)->OpenLongValue(2);
            std::vector<uint8_t> segment;
            for (int s = 0; body.ok() && s < (*body)->segment_count(); ++s) (void)(*body)->ReadSegment(s, &segment);
          }
        }
      }
    } else {
      reporter.reports.push_back("open: " + db.status().reason());
    }
    *reports = reporter.reports;
    return ids;
  }

  // Damages page `page` of a copy of the clean store with `damage` and
  // checks what comes out.
  template <typename Damage>
  void CheckEachPage(const char* how, Damage damage) {
    const std::vector<uint8_t> clean = ReadFile(Clean());
    const std::string path = (*dir_ / "damaged.edb").string();
    for (uint32_t page = 1; page <= page_count_; ++page) {
      SCOPED_TRACE(std::string(how) + " page " + std::to_string(page));
      std::vector<uint8_t> bytes = clean;
      std::span<uint8_t> span(bytes.data() + (size_t{page} + 1) * kPageSize, kPageSize);
      damage(span, page);
      WriteFile(path, bytes);
      std::vector<std::string> reports;
      std::set<int> ids = ReadIds(path, &reports);
      const std::string where = "page " + std::to_string(page) + " of table Msg";
      int naming_page = 0;
      for (const std::string& report : reports) naming_page += report.rfind(where, 0) == 0 ? 1 : 0;
      EXPECT_LE(naming_page, 1) << nativetest::Join(reports);
      int lost = 0;
      for (int i = 0; i < kRecords; ++i) {
        if (ids.count(i) != 0) continue;
        ++lost;
        // Only the records of the damaged page, or all under a damaged root.
        EXPECT_TRUE(page_of_[i] == page || page == root_page_) << "record " << i << "\n" << nativetest::Join(reports);
      }
      if (lost > 0) EXPECT_EQ(naming_page, 1) << lost << " records lost\n" << nativetest::Join(reports);
    }
  }

  static edbtest::ScratchDir* dir_;
  static std::map<int, uint32_t> page_of_;
  static uint32_t root_page_;
  static uint32_t page_count_;
};

edbtest::ScratchDir* NativeDamage::dir_ = nullptr;
std::map<int, uint32_t> NativeDamage::page_of_;
uint32_t NativeDamage::root_page_ = 0;
uint32_t NativeDamage::page_count_ = 0;

TEST_F(NativeDamage, CleanStoreReadsWholeWithoutReports) {
  std::vector<std::string> reports;
  EXPECT_EQ(ReadIds(Clean(), &reports).size(), static_cast<size_t>(kRecords));
  EXPECT_TRUE(reports.empty()) << nativetest::Join(reports);
}

TEST_F(NativeDamage, FlippedByteInEachPage) {
  CheckEachPage("flipped", [](std::span<uint8_t> page, uint32_t) { page[kPageSize / 2] ^= 0x5a; });
}

TEST_F(NativeDamage, EachPageZeroed) {
  CheckEachPage("zeroed", [](std::span<uint8_t> page, uint32_t) { std::fill(page.begin(), page.end(), 0); });
}

TEST_F(NativeDamage, StructuralBytesChangedWithChecksumRepaired) {
  // The object id, the flags, the tag count, the first tag's offset and the
  // start of the first node.
  for (size_t offset : {size_t{24}, size_t{36}, size_t{34}, size_t{kPageSize - 2}, size_t{kPageSize - 6}, size_t{42}}) {
    CheckEachPage(("repaired at " + std::to_string(offset)).c_str(), [offset](std::span<uint8_t> page, uint32_t number) {
      page[offset] ^= 0x21;
      esewriter::StampPageChecksums(page, number);
    });
  }
}

// A page whose checksum fails but whose structure holds gives its records,
// reported as suspect.
TEST_F(NativeDamage, ChecksumMismatchOnSoundLeafIsReportedAsSuspect) {
  const uint32_t page = page_of_[kRecords / 2];
  std::vector<uint8_t> bytes = ReadFile(Clean());
  bytes[(size_t{page} + 1) * kPageSize + 1] ^= 0x01;  // the stored checksum itself
  const std::string path = (*dir_ / "suspect.edb").string();
  WriteFile(path, bytes);
  std::vector<std::string> reports;
  EXPECT_EQ(ReadIds(path, &reports).size(), static_cast<size_t>(kRecords));
  ASSERT_EQ(reports.size(), 1u) << nativetest::Join(reports);
  EXPECT_NE(reports[0].find("may be altered"), std::string::npos) << reports[0];
}

}  // namespace

namespace {

// A tree of three levels: a zeroed branch page in the middle costs the key
// range it covers, one contiguous run of records, reported once; the walk
// reaches the pages after it through the root's keys.
TEST(NativeDamageBranch, ZeroedMiddleBranchCostsOnlyItsRange) {
  edbtest::ScratchDir scratch;
  const std::string path = (scratch / "deep.edb").string();
  esewriter::TableSpec spec{"Msg", {{"Id", ColumnType::kLong}, {"Subject", ColumnType::kText, 1252}}};
  std::vector<esewriter::Record> records;
  constexpr int kMany = 30000;
  for (int i = 0; i < kMany; ++i) records.push_back({Value::I32(i), Value::Text1252(std::string(200, 'a' + i % 26))});
  esetest::WriteDatabase(path, kPageSize, {{spec, records}});

  std::string error;
  uint32_t root = 0;
  std::vector<uint32_t> branches;
  {
    auto file = edb::EseFile::Open(path, &error);
    ASSERT_TRUE(file) << error;
    edb::EseCatalog catalog;
    ASSERT_TRUE(catalog.Read(*file, &error));
    root = catalog.FindTable(u"Msg")->root_page;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(file->ReadPage(root, &bytes, &error));
    edb::PageView page;
    ASSERT_TRUE(page.Parse(bytes, root, file->header(), &error));
    ASSERT_FALSE(page.is_leaf());
    for (int i = 1; i < page.tag_count(); ++i) {
      std::span<const uint8_t> node = page.TagData(i);
      branches.push_back(edb::LoadLe32(node.data() + node.size() - 4));
    }
  }
  ASSERT_GE(branches.size(), 3u);
  const uint32_t victim = branches[1];
  {
    std::vector<uint8_t> bytes = ReadFile(path);
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>((size_t{victim} + 1) * kPageSize),
              bytes.begin() + static_cast<std::ptrdiff_t>((size_t{victim} + 2) * kPageSize), 0);
    WriteFile(path, bytes);
  }
  nativetest::RecordingReporter reporter;
  auto db = edb::ese::OpenNativeDatabase(path, reporter);
  ASSERT_TRUE(db.ok());
  auto table = (*db)->OpenTable(kTableIndex);
  ASSERT_TRUE(table.ok());
  std::vector<int> ids;
  for (int64_t i = 0; i < *(*table)->RecordCount(); ++i) {
    auto record = (*table)->ReadRecord(i);
    ASSERT_TRUE(record.ok());
    edb::ese::Value id;
    ASSERT_TRUE((*record)->ReadValue(0, &id).ok());
    ids.push_back(static_cast<int>(edb::LoadLe32(id.data.data())));
  }
  ASSERT_EQ(reporter.reports.size(), 1u) << nativetest::Join(reporter.reports);
  EXPECT_NE(reporter.reports[0].find("page " + std::to_string(victim)), std::string::npos) << reporter.reports[0];
  // Ids before the gap, then after it, in order; the gap is one run.
  ASSERT_FALSE(ids.empty());
  ASSERT_LT(ids.size(), static_cast<size_t>(kMany));
  int gaps = 0;
  for (size_t i = 1; i < ids.size(); ++i) {
    ASSERT_LT(ids[i - 1], ids[i]);
    gaps += ids[i] != ids[i - 1] + 1 ? 1 : 0;
  }
  EXPECT_EQ(ids.front(), 0);
  EXPECT_EQ(ids.back(), kMany - 1);
  EXPECT_EQ(gaps, 1);
}

}  // namespace
