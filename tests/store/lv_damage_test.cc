// Damage in a long-value tree costs the long values it touches, each with
// a clear error and a report, and nothing else: the other values still read
// exactly as libesedb reads them. A database the reader does not know falls
// back to libesedb, and says so once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "store/esedb_handles.h"
#include "store/ese_page.h"
#include "store/fast_long_value_source.h"
#include "store/lv_test_support.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// text.edb (4 KiB pages) keeps its six long values in a tree of three
// pages: root 32 (a branch), leaf 43 with LIDs 1 to 4, leaf 44 with 5 and 6.
constexpr uint32_t kPageSize = 4096;
constexpr uint32_t kRootPage = 32;
constexpr uint32_t kFirstLeaf = 43;
constexpr uint32_t kSecondLeaf = 44;

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

uint8_t* PageAt(std::vector<uint8_t>& file, uint32_t page) { return file.data() + (page + 1) * kPageSize; }

// Makes the XOR checksum of `page` right again after an edit, so the edit
// reaches the structural checks behind the checksum.
void FixChecksum(std::vector<uint8_t>& file, uint32_t page) {
  uint8_t* p = PageAt(file, page);
  uint32_t sum = page;
  for (uint32_t i = 8; i < kPageSize; i += 4) sum ^= edb::LoadLe32(p + i);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(sum >> (8 * i));
}

void StoreLe32(uint8_t* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The bytes of tag `index` of a page, as the page stores them.
uint8_t* TagValue(std::vector<uint8_t>& file, uint32_t page, int index) {
  uint8_t* p = PageAt(file, page);
  uint16_t offset_word = edb::LoadLe16(p + kPageSize - 4 * index - 2);
  return p + 40 + (offset_word & 0x1fff);
}

struct Outcome {
  int ok = 0;
  int failed = 0;
  int differing = 0;
  std::vector<std::string> errors;
};

// Reads every long value of `damaged` with the fast provider and compares
// the ones it reads with libesedb's reading of the intact `original`.
Outcome ReadAgainst(const fs::path& damaged, const fs::path& original, lvtest::RecordingReporter* reporter) {
  edb::FastLongValueProvider provider(damaged.string(), reporter, {});
  edb::EsedbLongValueSource esedb;
  std::vector<lvtest::ReadOutcome> expected;
  lvtest::ForEachLongValue(original.string(), [&](const std::u16string&, libesedb_record_t* record, int value) {
    expected.push_back(lvtest::ReadAllSegments(esedb, record, value));
  });
  Outcome outcome;
  size_t i = 0;
  lvtest::ForEachLongValue(damaged.string(), [&](const std::u16string& table, libesedb_record_t* record, int value) {
    auto source = provider.ForTable(table);
    lvtest::ReadOutcome actual = lvtest::ReadAllSegments(*source, record, value);
    if (!actual.ok) {
      ++outcome.failed;
      outcome.errors.push_back(actual.error);
    } else if (i < expected.size() && actual.segments == expected[i].segments) {
      ++outcome.ok;
    } else {
      ++outcome.differing;
    }
    ++i;
  });
  return outcome;
}

class TextDatabaseDamage : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = edbtest::RealDatabase("text.edb");
    bytes_ = ReadFile(original_);
    ASSERT_EQ(edb::LoadLe32(PageAt(bytes_, kRootPage) + 36) & 0x87u, 0x85u);  // long-value branch root
    ASSERT_EQ(edb::LoadLe32(PageAt(bytes_, kFirstLeaf) + 36) & 0x87u, 0x82u);
    ASSERT_EQ(edb::LoadLe32(PageAt(bytes_, kSecondLeaf) + 36) & 0x87u, 0x82u);
  }

  Outcome Damaged() {
    fs::path path = scratch_ / "damaged.edb";
    WriteFile(path, bytes_);
    return ReadAgainst(path, original_, &reporter_);
  }

  edbtest::ScratchDir scratch_;
  fs::path original_;
  std::vector<uint8_t> bytes_;
  lvtest::RecordingReporter reporter_;
};

TEST_F(TextDatabaseDamage, IntactDatabaseReadsEveryValueWithoutReports) {
  Outcome outcome = Damaged();
  EXPECT_EQ(outcome.ok, 6);
  EXPECT_EQ(outcome.failed + outcome.differing, 0);
  EXPECT_TRUE(reporter_.reports.empty());
}

TEST_F(TextDatabaseDamage, FlippedByteInALeafCostsOnlyThatLeafsValues) {
  PageAt(bytes_, kFirstLeaf)[2000] ^= 0x10;  // inside the data of LID 2
  Outcome outcome = Damaged();
  EXPECT_EQ(outcome.failed, 4);
  EXPECT_EQ(outcome.ok, 2);
  EXPECT_EQ(outcome.differing, 0);
  ASSERT_FALSE(outcome.errors.empty());
  EXPECT_NE(outcome.errors[0].find("page 43"), std::string::npos) << outcome.errors[0];
  EXPECT_NE(outcome.errors[0].find("checksum"), std::string::npos) << outcome.errors[0];
  // The page once, then each value it cost.
  EXPECT_EQ(reporter_.reports.size(), 5u);
}

TEST_F(TextDatabaseDamage, UnreadableTreeStructureCostsTheRangeItCovers) {
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
    int failed;
  };
  std::vector<Case> cases = {
      {"child page beyond the end of the file",
       [](std::vector<uint8_t>& b) { StoreLe32(TagValue(b, kRootPage, 1) + 6, 900000); FixChecksum(b, kRootPage); }, 4},
      {"child pointing back at the root (a cycle)",
       [](std::vector<uint8_t>& b) { StoreLe32(TagValue(b, kRootPage, 2) + 2, kRootPage); FixChecksum(b, kRootPage); },
       2},
      {"leaf prefix below its range (keys out of order)",
       [](std::vector<uint8_t>& b) { TagValue(b, kSecondLeaf, 0)[3] = 0x01; FixChecksum(b, kSecondLeaf); }, 2},
      {"tag pointing outside the page",
       [](std::vector<uint8_t>& b) {
         uint8_t* p = PageAt(b, kSecondLeaf);
         p[kPageSize - 4 * 1 - 2] = 0xff;
         p[kPageSize - 4 * 1 - 1] = 0x1f;
         FixChecksum(b, kSecondLeaf);
       },
       2},
      {"tag count larger than the page",
       [](std::vector<uint8_t>& b) { PageAt(b, kFirstLeaf)[34] = 0xff; PageAt(b, kFirstLeaf)[35] = 0x7f; FixChecksum(b, kFirstLeaf); },
       4},
      {"local key longer than its node",
       [](std::vector<uint8_t>& b) { TagValue(b, kFirstLeaf, 1)[2] = 0xff; FixChecksum(b, kFirstLeaf); }, 4},
      {"leaf page of another tree",
       [](std::vector<uint8_t>& b) { PageAt(b, kSecondLeaf)[24] = 0x33; FixChecksum(b, kSecondLeaf); }, 2},
  };
  std::vector<uint8_t> intact = bytes_;
  for (const Case& c : cases) {
    bytes_ = intact;
    reporter_.reports.clear();
    c.damage(bytes_);
    Outcome outcome = Damaged();
    EXPECT_EQ(outcome.failed, c.failed) << c.what;
    EXPECT_EQ(outcome.ok, 6 - c.failed) << c.what;
    EXPECT_EQ(outcome.differing, 0) << c.what;
    EXPECT_FALSE(reporter_.reports.empty()) << c.what;
  }
}

TEST_F(TextDatabaseDamage, RootPageDamageFailsEveryValueOfTheTable) {
  PageAt(bytes_, kRootPage)[100] ^= 0x01;
  Outcome outcome = Damaged();
  EXPECT_EQ(outcome.failed, 6);
  EXPECT_EQ(outcome.ok, 0);
}

TEST_F(TextDatabaseDamage, UnknownFormatRevisionFallsBackToLibesedbAndSaysSoOnce) {
  StoreLe32(bytes_.data() + 232, 0x09);
  uint32_t sum = 0x89abcdef;
  for (uint32_t i = 4; i < 668; i += 4) sum ^= edb::LoadLe32(bytes_.data() + i);
  StoreLe32(bytes_.data(), sum);
  fs::path path = scratch_ / "old.edb";
  WriteFile(path, bytes_);

  std::vector<std::string> notices;
  edb::FastLongValueProvider provider(path.string(), &reporter_,
                                      [&](const std::string& text) { notices.push_back(text); });
  EXPECT_FALSE(provider.reads_itself());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("revision 0x9"), std::string::npos) << notices[0];
  int read = 0;
  lvtest::ForEachLongValue(path.string(), [&](const std::u16string& table, libesedb_record_t* record, int value) {
    auto source = provider.ForTable(table);
    read += lvtest::ReadAllSegments(*source, record, value).ok ? 1 : 0;
  });
  EXPECT_EQ(read, 6);
  EXPECT_EQ(notices.size(), 1u);
}

TEST(FastLongValueSource, RejectsValuesThatHoldNoIdentifier) {
  // Column 0 of text.edb's record is a fixed Long (Id), not a long value.
  edb::FastLongValueProvider provider(edbtest::RealDatabase("text.edb").string(), nullptr, {});
  edb::EsedbError error;
  edb::EsedbFile file = edb::OpenEsedbFile(edbtest::RealDatabase("text.edb").string(), &error);
  ASSERT_TRUE(file);
  int tables = 0;
  libesedb_file_get_number_of_tables(file.get(), &tables, nullptr);
  edb::EsedbTable table;
  ASSERT_TRUE(edb::TableByIndex(file.get(), tables - 1, &table, &error));
  edb::EsedbRecord record;
  ASSERT_TRUE(edb::RecordByIndex(table.get(), 0, &record, &error));
  std::u16string name;
  ASSERT_TRUE(edb::TableName(table.get(), &name, &error));
  auto source = provider.ForTable(name);
  std::string message;
  EXPECT_EQ(source->Open(record.get(), 0, &message), nullptr);
  EXPECT_EQ(message, "not a long value");
}

}  // namespace
