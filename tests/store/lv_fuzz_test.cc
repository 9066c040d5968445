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
#include "store/ese_catalog.h"
#include "store/lv_reader.h"
#include "store/lv_test_support.h"
#include "test_support.h"

namespace {

constexpr uint32_t kPageSize = 4096;
constexpr int kRuns = 2000;

struct Value {
  uint32_t lid = 0;
  std::vector<uint8_t> bytes;
  std::set<uint32_t> pages;  // pages holding its root record and chunks
};

// The generated store, the pages of its long-value tree and every value.
struct Store {
  std::string path;
  std::vector<uint8_t> bytes;
  edb::TreeShape shape;
  std::vector<uint32_t> pages;
  std::set<uint32_t> branch_pages;
  std::vector<Value> values;
};

void WriteStore(const std::string& path) {
  using esewriter::ColumnType;
  using esewriter::Value;
  esewriter::DatabaseWriter db({.page_size = kPageSize});
  auto& table = db.AddTable({"Msg", {{"N67b0", ColumnType::kLong}, {"N1009", ColumnType::kLongBinary}}});
  const size_t chunk = kPageSize - 82;
  for (int i = 0; i < 160; ++i) {
    size_t size = i % 16 == 0 ? 3 * chunk + static_cast<size_t>(i) : 1024 + static_cast<size_t>(i % 13) * 97;
    table.Append({Value::I32(i), Value::Bytes(lvtest::PatternBytes(size, static_cast<uint32_t>(i)))});
  }
  db.Finish(path);
}

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

// Opens the store at `path` the way the provider does, for table Msg.
std::unique_ptr<edb::LongValueReader> OpenReader(const std::string& path, edb::CorruptionReporter* reporter,
                                                 edb::TreeShape* shape) {
  std::string error;
  std::shared_ptr<edb::EseFile> file = edb::EseFile::Open(path, &error);
  if (!file) return nullptr;
  edb::EseCatalog catalog;
  if (!catalog.Read(*file, &error)) return nullptr;
  const edb::CatalogTable* table = catalog.FindTable(u"Msg");
  if (table == nullptr) return nullptr;
  *shape = {table->long_value_root_page, table->long_value_object_id, edb::kPageFlagLongValue};
  return std::make_unique<edb::LongValueReader>(file, "Msg", *shape, reporter);
}

class LongValueFuzz : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new edbtest::ScratchDir();
    store_ = new Store();
    store_->path = (*scratch_ / "fuzz.edb").string();
    WriteStore(store_->path);
    std::ifstream in(store_->path, std::ios::binary);
    store_->bytes.assign(std::istreambuf_iterator<char>(in), {});

    lvtest::RecordingReporter reporter;
    auto reader = OpenReader(store_->path, &reporter, &store_->shape);
    ASSERT_TRUE(reader);
    const edb::LongValueIndex& index = reader->Index();
    for (uint32_t lid = 1; index.Find(lid) != nullptr; ++lid) {
      Value value;
      value.lid = lid;
      std::string error;
      value.bytes = ReadValue(*reader, lid, &error);
      ASSERT_TRUE(error.empty()) << error;
      const edb::LongValueEntry* entry = index.Find(lid);
      value.pages.insert(entry->root_page);
      for (const auto& chunk : index.ChunksOf(*entry)) {
        value.pages.insert(static_cast<uint32_t>(chunk.file_offset / kPageSize - 1));
      }
      store_->values.push_back(std::move(value));
    }
    ASSERT_EQ(store_->values.size(), 160u);
    ASSERT_TRUE(reporter.reports.empty());
    for (uint32_t page = 1; (page + 2) * kPageSize <= store_->bytes.size(); ++page) {
      const uint8_t* p = store_->bytes.data() + (page + 1) * kPageSize;
      if (edb::LoadLe32(p + 24) != store_->shape.object_id || (edb::LoadLe32(p + 36) & 0x80) == 0) continue;
      store_->pages.push_back(page);
      if ((edb::LoadLe32(p + 36) & edb::kPageFlagLeaf) == 0) store_->branch_pages.insert(page);
    }
    ASSERT_GT(store_->pages.size(), 40u);
    ASSERT_FALSE(store_->branch_pages.empty());
  }

  static void TearDownTestSuite() {
    delete store_;
    delete scratch_;
  }

  static edbtest::ScratchDir* scratch_;
  static Store* store_;
};

edbtest::ScratchDir* LongValueFuzz::scratch_ = nullptr;
Store* LongValueFuzz::store_ = nullptr;

void FixChecksum(uint8_t* page, uint32_t number) {
  uint32_t sum = number;
  for (uint32_t i = 8; i < kPageSize; i += 4) sum ^= edb::LoadLe32(page + i);
  for (int i = 0; i < 4; ++i) page[i] = static_cast<uint8_t>(sum >> (8 * i));
}

TEST_F(LongValueFuzz, RandomFlipsInLongValuePagesNeverCrashAndNeverGiveWrongBytesUnnoticed) {
  const Store& store = *store_;
  int fd = open(store.path.c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  std::mt19937 random(20240420);
  int failed_values = 0, read_values = 0;
  for (int run = 0; run < kRuns; ++run) {
    // Half the runs flip one byte per page and leave the checksum to catch
    // it; the other half flip several and make the checksum right again, so
    // the damage reaches the structural checks.
    bool fix_checksums = run % 2 == 1;
    std::set<uint32_t> touched;
    int page_count = 1 + static_cast<int>(random() % 3);
    for (int i = 0; i < page_count; ++i) touched.insert(store.pages[random() % store.pages.size()]);
    for (uint32_t page : touched) {
      std::vector<uint8_t> bytes(store.bytes.begin() + (page + 1) * kPageSize,
                                 store.bytes.begin() + (page + 2) * kPageSize);
      int flips = fix_checksums ? 1 + static_cast<int>(random() % 4) : 1;
      for (int f = 0; f < flips; ++f) {
        // Favour the header, the tag array and the node heads, where a flip
        // changes structure rather than content.
        uint32_t zone = random() % 4;
        uint32_t at = zone == 0   ? 8 + random() % 32
                      : zone == 1 ? kPageSize - 1 - random() % 64
                      : zone == 2 ? 40 + random() % 64
                                  : 8 + random() % (kPageSize - 8);
        bytes[at] ^= static_cast<uint8_t>(1 + random() % 255);
      }
      if (fix_checksums) FixChecksum(bytes.data(), page);
      ASSERT_EQ(pwrite(fd, bytes.data(), kPageSize, (page + 1) * kPageSize), kPageSize);
    }

    bool branch_touched = false;
    for (uint32_t page : touched) branch_touched |= store.branch_pages.count(page) != 0;
    lvtest::RecordingReporter reporter;
    edb::TreeShape shape;
    auto reader = OpenReader(store.path, &reporter, &shape);
    ASSERT_TRUE(reader) << "run " << run;
    for (const Value& value : store.values) {
      std::string error;
      std::vector<uint8_t> bytes = ReadValue(*reader, value.lid, &error);
      if (!error.empty()) {
        ++failed_values;
        EXPECT_FALSE(reporter.reports.empty()) << "run " << run;
        continue;
      }
      ++read_values;
      bool own_pages_touched = false;
      for (uint32_t page : touched) own_pages_touched |= value.pages.count(page) != 0;
      if (!fix_checksums || (!own_pages_touched && !branch_touched)) {
        ASSERT_EQ(bytes, value.bytes) << "run " << run << ", long value " << value.lid;
      }
    }

    for (uint32_t page : touched) {
      ASSERT_EQ(pwrite(fd, store.bytes.data() + (page + 1) * kPageSize, kPageSize, (page + 1) * kPageSize), kPageSize);
    }
  }
  close(fd);
  // Both outcomes must have happened many times for the runs to mean much.
  EXPECT_GT(failed_values, kRuns);
  EXPECT_GT(read_values, kRuns * 100);
}

}  // namespace
