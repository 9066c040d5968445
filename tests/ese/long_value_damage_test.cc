// Damage in a long-value tree costs the long values it touches, each with
// a clear error, the damage reported once, and nothing else: the other values still read
// exactly as libesedb reads them. A database the reader does not know falls
// back to libesedb, and says so once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "ese/ese_page.h"
#include "ese/fast_long_value_source.h"
#include "long_value_test_support.h"
#include "test_support.h"
#include "ese/page_checksum.h"

namespace {

// text.edb (4 KiB pages) keeps its six long values in a tree of three
// pages: root 32 (a branch), leaf 43 with LIDs 1 to 4, leaf 44 with 5 and 6.
constexpr uint32_t kPageSize = 4096;
constexpr uint32_t kRoot = 32;
constexpr uint32_t kFirstLeaf = 43;
constexpr uint32_t kSecondLeaf = 44;

using Bytes = std::vector<uint8_t>;

uint8_t* PageAt(Bytes& file, uint32_t page) { return file.data() + (page + 1) * kPageSize; }

// Makes the checksums (XOR and ECC) of `page` right again after an edit, so
// that the edit reaches the structural checks behind them.
void FixChecksum(Bytes& file, uint32_t page) {
  esewriter::StampPageChecksums(std::span<uint8_t>(PageAt(file, page), kPageSize), page);
}

// The bytes of tag `index` of `page`.
uint8_t* TagValue(Bytes& file, uint32_t page, int index) {
  uint16_t offset_word = edb::LoadLe16(PageAt(file, page) + kPageSize - 4 * index - 2);
  return PageAt(file, page) + 40 + (offset_word & 0x1fff);
}

class TextDatabaseDamage : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(edbtest::RealDatabase("text.edb"), std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
    ASSERT_EQ(edb::LoadLe32(PageAt(bytes_, kRoot) + 36) & 0x87u, 0x85u);  // long-value branch root
    ASSERT_EQ(edb::LoadLe32(PageAt(bytes_, kFirstLeaf) + 36) & 0x87u, 0x82u);
    ASSERT_EQ(edb::LoadLe32(PageAt(bytes_, kSecondLeaf) + 36) & 0x87u, 0x82u);
    lvtest::ForEachLongValue(edbtest::RealDatabase("text.edb").string(),
                             [&](const std::u16string&, libesedb_record_t* record, int value) {
                               edb::EsedbLongValueSource esedb;
                               intact_.push_back(lvtest::ReadAllSegments(esedb, record, value).segments);
                             });
    ASSERT_EQ(intact_.size(), 6u);
  }

  // Writes the (damaged) bytes and reads every long value with the fast
  // provider: each either fails with an error or equals libesedb's reading
  // of the intact file. Returns the number that failed.
  int FailedValues() {
    std::string path = (scratch_ / "damaged.edb").string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes_.data()), bytes_.size());
    edb::FastLongValueProvider provider(path, &reporter_, {});
    int failed = 0;
    size_t i = 0;
    lvtest::ForEachLongValue(path, [&](const std::u16string& table, libesedb_record_t* record, int value) {
      lvtest::ReadOutcome read = lvtest::ReadAllSegments(*provider.ForTable(table), record, value);
      if (!read.ok) {
        ++failed;
        errors_.push_back(read.error);
      } else {
        EXPECT_EQ(read.segments, intact_[i]) << "value " << i;
      }
      ++i;
    });
    return failed;
  }

  edbtest::ScratchDir scratch_;
  Bytes bytes_;
  std::vector<std::vector<std::vector<uint8_t>>> intact_;
  lvtest::RecordingReporter reporter_;
  std::vector<std::string> errors_;
};

TEST_F(TextDatabaseDamage, FlippedByteInALeafCostsOnlyThatLeafsValues) {
  PageAt(bytes_, kFirstLeaf)[2000] ^= 0x10;  // inside the data of LID 2
  EXPECT_EQ(FailedValues(), 4);
  ASSERT_EQ(errors_.size(), 4u);
  EXPECT_EQ(errors_[0], "long value 0x1 of table text: it lies in unreadable page 43 (page checksum mismatch)");
  // The page is reported once; the values it cost fail without a report of
  // their own.
  ASSERT_EQ(reporter_.reports.size(), 1u);
  EXPECT_EQ(reporter_.reports[0], "page 43 of the long values of table text: page checksum mismatch");
}

TEST_F(TextDatabaseDamage, UnreadableTreeStructureCostsTheRangeItCovers) {
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
    uint32_t page;
    int failed;
  };
  const Case cases[] = {
      {"root checksum", [](Bytes& b) { PageAt(b, kRoot)[100] ^= 1; }, 0, 6},
      {"child beyond the file", [](Bytes& b) { edb::StoreLe32(TagValue(b, kRoot, 1) + 6, 900000); }, kRoot, 4},
      {"child back at the root", [](Bytes& b) { edb::StoreLe32(TagValue(b, kRoot, 2) + 2, kRoot); }, kRoot, 2},
      {"keys below the range", [](Bytes& b) { TagValue(b, kSecondLeaf, 0)[3] = 1; }, kSecondLeaf, 2},
      {"tag outside the page", [](Bytes& b) { PageAt(b, kSecondLeaf)[kPageSize - 5] = 0x1f; }, kSecondLeaf, 2},
      {"tag count too large", [](Bytes& b) { PageAt(b, kFirstLeaf)[35] = 0x7f; }, kFirstLeaf, 4},
      {"local key past its node", [](Bytes& b) { TagValue(b, kFirstLeaf, 1)[2] = 0xff; }, kFirstLeaf, 4},
      {"leaf of another tree", [](Bytes& b) { PageAt(b, kSecondLeaf)[24] = 0x33; }, kSecondLeaf, 2},
  };
  const Bytes intact = bytes_;
  for (const Case& c : cases) {
    bytes_ = intact;
    reporter_.reports.clear();
    c.damage(bytes_);
    if (c.page != 0) FixChecksum(bytes_, c.page);
    EXPECT_EQ(FailedValues(), c.failed) << c.what;
    EXPECT_EQ(reporter_.reports.size(), 1u) << c.what;
  }
}

TEST_F(TextDatabaseDamage, UnknownFormatRevisionFallsBackToLibesedbAndSaysSoOnce) {
  edb::StoreLe32(bytes_.data() + 232, 0x09);
  uint32_t sum = 0x89abcdef;
  for (uint32_t i = 4; i < 668; i += 4) sum ^= edb::LoadLe32(bytes_.data() + i);
  edb::StoreLe32(bytes_.data(), sum);
  std::string path = (scratch_ / "old.edb").string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes_.data()), bytes_.size());

  std::vector<std::string> notices;
  edb::FastLongValueProvider provider(path, &reporter_, [&](const std::string& text) { notices.push_back(text); });
  EXPECT_FALSE(provider.reads_itself());
  int read = 0;
  lvtest::ForEachLongValue(path, [&](const std::u16string& table, libesedb_record_t* record, int value) {
    read += lvtest::ReadAllSegments(*provider.ForTable(table), record, value).ok ? 1 : 0;
  });
  EXPECT_EQ(read, 6);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], "Long values are read through libesedb (format revision 0x9)");
}

}  // namespace
