// Random byte flips in the long-value pages of a generated store: the
// reader never crashes, hangs or reads outside the file (the suite also runs
// under AddressSanitizer), a value it cannot read fails with an error and a
// report, and a value it does read is the value written unless damage in
// its own pages slipped past the checksum.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <set>

#include "ese/database_writer.h"
#include "ese/ese_catalog.h"
#include "ese/long_value_reader.h"
#include "long_value_test_support.h"
#include "test_support.h"

namespace {

constexpr uint32_t kPageSize = 4096;
constexpr int kRuns = 2000;

// The reader of table Msg of the store at `path`, found as the provider
// finds it; null when the catalog cannot be read.
std::unique_ptr<edb::LongValueReader> OpenReader(const std::string& path, edb::CorruptionReporter* reporter) {
  std::string error;
  std::shared_ptr<edb::EseFile> file = edb::EseFile::Open(path, &error);
  edb::EseCatalog catalog;
  if (!file || !catalog.Read(*file, &error) || catalog.FindTable(u"Msg") == nullptr) return nullptr;
  const edb::CatalogTable& table = *catalog.FindTable(u"Msg");
  edb::TreeShape shape{table.long_value_root_page, table.long_value_object_id, edb::kPageFlagLongValue};
  return std::make_unique<edb::LongValueReader>(file, "Msg", shape, reporter);
}

// The value's bytes, or empty with `error` set.
std::vector<uint8_t> ReadValue(edb::LongValueReader& reader, uint32_t lid, std::string* error) {
  std::vector<edb::LongValueChunk> chunks;
  std::vector<uint8_t> all, data;
  if (!reader.Resolve(lid, &chunks, error)) return {};
  for (const auto& chunk : chunks) {
    if (!reader.ReadChunk(chunk, &data, error)) return {};
    all.insert(all.end(), data.begin(), data.end());
  }
  return all;
}

uint8_t* PageAt(std::vector<uint8_t>& file, uint32_t page) { return file.data() + (page + 1) * kPageSize; }

TEST(LongValueFuzz, RandomFlipsInLongValuePagesNeverCrashAndNeverGiveWrongBytesUnnoticed) {
  edbtest::ScratchDir scratch;
  std::string path = (scratch / "fuzz.edb").string();
  {
    using esewriter::ColumnType;
    esewriter::DatabaseWriter db({.page_size = kPageSize});
    auto& table = db.AddTable({"Msg", {{"N67b0", ColumnType::kLong}, {"N1009", ColumnType::kLongBinary}}});
    for (int i = 0; i < 160; ++i) {
      size_t size = i % 16 == 0 ? 3 * (kPageSize - 82) + i : 1024 + (i % 13) * 97;
      table.Append({esewriter::Value::I32(i), esewriter::Value::Bytes(lvtest::PatternBytes(size, i))});
    }
    db.Finish(path);
  }
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> original(std::istreambuf_iterator<char>(in), {});

  // Every value, the pages holding its records, and the tree's pages.
  lvtest::RecordingReporter reporter;
  auto intact = OpenReader(path, &reporter);
  ASSERT_TRUE(intact);
  const edb::LongValueIndex& index = intact->Index();
  std::vector<std::vector<uint8_t>> values(161);
  std::vector<std::set<uint32_t>> value_pages(161);
  for (uint32_t lid = 1; lid <= 160; ++lid) {
    std::string error;
    values[lid] = ReadValue(*intact, lid, &error);
    ASSERT_EQ(values[lid], lvtest::PatternBytes(values[lid].size(), lid - 1)) << error;
    value_pages[lid].insert(index.Find(lid)->root_page);
    for (const auto& chunk : index.ChunksOf(*index.Find(lid))) value_pages[lid].insert(chunk.file_offset / kPageSize - 1);
  }
  // Asked for in descending order, the values come from the file rather
  // than from the pages the walk just read, and are the same.
  auto backwards = OpenReader(path, &reporter);
  for (uint32_t lid = 160; lid >= 1; --lid) {
    std::string error;
    ASSERT_EQ(ReadValue(*backwards, lid, &error), values[lid]) << lid << ": " << error;
  }
  std::vector<uint32_t> pages;
  std::set<uint32_t> branches;
  std::vector<uint8_t> bytes = original;
  const uint32_t tree = edb::LoadLe32(PageAt(bytes, index.Find(1)->root_page) + 24);
  for (uint32_t page = 1; (page + 2) * kPageSize <= bytes.size(); ++page) {
    uint32_t flags = edb::LoadLe32(PageAt(bytes, page) + 36);
    if ((flags & 0x80) == 0 || edb::LoadLe32(PageAt(bytes, page) + 24) != tree) continue;
    pages.push_back(page);
    if ((flags & edb::kPageFlagLeaf) == 0) branches.insert(page);
  }
  ASSERT_GT(pages.size(), 40u);
  ASSERT_FALSE(branches.empty());

  int fd = open(path.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  std::mt19937 random(20240420);
  int failed = 0, read = 0;
  for (int run = 0; run < kRuns; ++run) {
    // Half the runs flip one byte per page and leave it to the checksum; the
    // other half flip several and make the checksum right again, so that the
    // damage reaches the structural checks.
    bool fix_checksums = run % 2 == 1;
    std::set<uint32_t> touched;
    for (int i = 0, n = 1 + random() % 3; i < n; ++i) touched.insert(pages[random() % pages.size()]);
    bool branch_touched = false;
    for (uint32_t page : touched) {
      branch_touched |= branches.count(page) != 0;
      uint8_t* p = PageAt(bytes, page);
      for (int f = 0, flips = fix_checksums ? 1 + random() % 4 : 1; f < flips; ++f) {
        // Favour the header, the tag array and the first nodes.
        uint32_t zone = random() % 4;
        uint32_t at = zone == 0 ? 8 + random() % 32 : zone == 1 ? kPageSize - 1 - random() % 64
                                   : zone == 2 ? 40 + random() % 64 : 8 + random() % (kPageSize - 8);
        p[at] ^= static_cast<uint8_t>(1 + random() % 255);
      }
      if (fix_checksums) {
        uint32_t sum = page;
        for (uint32_t i = 8; i < kPageSize; i += 4) sum ^= edb::LoadLe32(p + i);
        for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(sum >> (8 * i));
      }
      ASSERT_EQ(pwrite(fd, p, kPageSize, (page + 1) * kPageSize), kPageSize);
    }

    lvtest::RecordingReporter run_reporter;
    auto reader = OpenReader(path, &run_reporter);
    ASSERT_TRUE(reader) << "run " << run;
    for (uint32_t lid = 1; lid <= 160; ++lid) {
      std::string error;
      std::vector<uint8_t> value = ReadValue(*reader, lid, &error);
      if (!error.empty()) {
        ++failed;
        EXPECT_FALSE(run_reporter.reports.empty()) << "run " << run;
        continue;
      }
      ++read;
      bool own_pages_touched = false;
      for (uint32_t page : touched) own_pages_touched |= value_pages[lid].count(page) != 0;
      if (!fix_checksums || (!own_pages_touched && !branch_touched)) {
        ASSERT_EQ(value, values[lid]) << "run " << run << ", long value " << lid;
      }
    }

    for (uint32_t page : touched) {
      std::copy_n(original.begin() + (page + 1) * kPageSize, kPageSize, PageAt(bytes, page));
      ASSERT_EQ(pwrite(fd, PageAt(bytes, page), kPageSize, (page + 1) * kPageSize), kPageSize);
    }
  }
  close(fd);
  // Both outcomes happened often enough for the runs to mean something.
  EXPECT_GT(failed, kRuns);
  EXPECT_GT(read, kRuns * 100);
}

}  // namespace
