// The file as a whole: checksums (ours reproduce the Windows engine's on its
// own databases), header and shadow header, the engine format per page size,
// and the database's space trees accounting for every page.
#include <gtest/gtest.h>

#include <cstring>

#include "ese/page_checksum.h"
#include "esedb_reading_support.h"
#include "raw_pages_support.h"
#include "test_support.h"
#include "writer_support.h"

namespace {

using esewriter::ColumnType;
using esewriter::Value;

uint32_t Le32At(const std::vector<uint8_t>& bytes, size_t offset) {
  uint32_t value;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

bool Blank(std::span<const uint8_t> page) {
  for (uint8_t byte : page) {
    if (byte != 0) return false;
  }
  return true;
}

// Counts the non-blank pages whose stored checksums match ours.
struct ChecksumCount {
  int matching = 0;
  int failing = 0;
};

ChecksumCount CheckPages(const esetest::RawDatabase& file) {
  ChecksumCount count;
  const uint32_t size = file.page_size();
  for (uint32_t page = 1; page <= file.last_page(); ++page) {
    std::span<const uint8_t> bytes(file.bytes().data() + (page + 1) * static_cast<size_t>(size), size);
    if (Blank(bytes)) continue;
    const esewriter::PageChecksums sums = esewriter::ComputePageChecksums(bytes, page);
    const bool ok = sums.xor32 == Le32At(file.bytes(), (page + 1) * static_cast<size_t>(size)) &&
                    sums.ecc32 == Le32At(file.bytes(), (page + 1) * static_cast<size_t>(size) + 4);
    ++(ok ? count.matching : count.failing);
  }
  return count;
}

TEST(PageChecksums, ReproduceTheWindowsEngineOnItsOwnDatabases) {
  for (const char* name :
       {"basic.edb", "binary.edb", "text.edb", "multi.edb", "default.edb", "index.edb", "Current.mdb"}) {
    SCOPED_TRACE(name);
    const esetest::RawDatabase file(edbtest::RealDatabase(name));
    const std::span<const uint8_t> header(file.bytes().data(), file.page_size());
    EXPECT_EQ(esewriter::ComputeHeaderChecksum(header), Le32At(file.bytes(), 0));
    const ChecksumCount count = CheckPages(file);
    EXPECT_GT(count.matching, 20);
    EXPECT_EQ(count.failing, 0);
  }
}

class WrittenFile : public ::testing::TestWithParam<uint32_t> {
 protected:
  // A table big enough for branch pages in both trees, plus an empty one.
  void SetUp() override {
    esetest::TableContent table{{"Items", {{"Id", ColumnType::kLong}, {"Body", ColumnType::kLongBinary}}}, {}};
    for (uint32_t i = 0; i < 1500; ++i) {
      table.records.push_back({Value::U32(i), Value::Bytes(esetest::Pattern(i % 3 == 0 ? 3000 : 40, i))});
    }
    esetest::WriteDatabase(path_, GetParam(), {table, {{"Empty", {{"Id", ColumnType::kLong}}}, {}}});
  }

  edbtest::ScratchDir dir_;
  std::filesystem::path path_ = dir_ / "written.edb";
};

TEST_P(WrittenFile, CarriesValidChecksumsAndTheEngineFormatOfItsPageSize) {
  const esetest::RawDatabase file(path_);
  const std::span<const uint8_t> header(file.bytes().data(), GetParam());
  const std::span<const uint8_t> shadow(file.bytes().data() + GetParam(), GetParam());
  EXPECT_EQ(esewriter::ComputeHeaderChecksum(header), Le32At(file.bytes(), 0));
  EXPECT_TRUE(std::equal(header.begin(), header.end(), shadow.begin()));
  const ChecksumCount count = CheckPages(file);
  EXPECT_GT(count.matching, 100);
  EXPECT_EQ(count.failing, 0);

  esetest::EsedbDatabase db(path_);
  uint32_t version = 0, revision = 0, page_size = 0;
  ASSERT_EQ(libesedb_file_get_format_version(db.file(), &version, &revision, nullptr), 1);
  ASSERT_EQ(libesedb_file_get_page_size(db.file(), &page_size, nullptr), 1);
  EXPECT_EQ(version, 0x620u);
  EXPECT_EQ(revision, GetParam() == 4096 ? 0x0bu : 0x0cu);  // Exchange 2003 SP1, Exchange 2007
  EXPECT_EQ(page_size, GetParam());
  EXPECT_EQ(db.RecordCount("Items"), 1500);
  EXPECT_EQ(db.RecordCount("Empty"), 0);
}

TEST_P(WrittenFile, DatabaseSpaceTreesOwnEveryPageAndListTheUnusedOnes) {
  const esetest::RawDatabase file(path_);
  const esetest::RawNode owned = file.Page(2).nodes.at(0);
  EXPECT_EQ(owned.key[2] << 8 | owned.key[3], static_cast<int>(file.last_page()));
  EXPECT_EQ(Le32At(owned.data, 0), file.last_page());
  std::vector<uint32_t> listed, blank;
  for (const esetest::RawNode& extent : file.Page(3).nodes) {
    const uint32_t last = (extent.key[2] << 8) | extent.key[3];
    for (uint32_t page = last + 1 - Le32At(extent.data, 0); page <= last; ++page) listed.push_back(page);
  }
  for (uint32_t page = 1; page <= file.last_page(); ++page) {
    if (Blank({file.bytes().data() + (page + 1) * static_cast<size_t>(GetParam()), GetParam()})) blank.push_back(page);
  }
  EXPECT_EQ(listed, blank);
}

INSTANTIATE_TEST_SUITE_P(PageSizes, WrittenFile, ::testing::Values(4096u, 8192u));

}  // namespace
