// A long value whose chunk keys leave a gap or overlap while every page
// checksum is right: the value is the chain of chunks from offset 0, each
// starting where the one before ends, up to the break, exactly as libesedb
// reads it; the chunks after the break are not part of it, and the other
// values are untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "ese/database_writer.h"
#include "ese/ese_catalog.h"
#include "ese/long_value_reader.h"
#include "ese/page_checksum.h"
#include "long_value_test_support.h"
#include "test_support.h"

namespace {

constexpr uint32_t kPageSize = 4096;
constexpr uint32_t kChunkSize = kPageSize - 82;

using Bytes = std::vector<uint8_t>;

std::unique_ptr<edb::LongValueReader> OpenReader(const std::string& path, edb::CorruptionReporter* reporter) {
  std::string error;
  std::shared_ptr<edb::EseFile> file = edb::EseFile::Open(path, &error);
  edb::EseCatalog catalog;
  if (!file || !catalog.Read(*file, &error) || catalog.FindTable(u"Msg") == nullptr) return nullptr;
  const edb::CatalogTable& table = *catalog.FindTable(u"Msg");
  edb::TreeShape shape{table.long_value_root_page, table.long_value_object_id, edb::kPageFlagLongValue};
  return std::make_unique<edb::LongValueReader>(file, "Msg", shape, reporter);
}

Bytes ReadValue(edb::LongValueReader& reader, uint32_t lid, std::string* error) {
  std::vector<edb::LongValueChunk> chunks;
  Bytes all, data;
  if (!reader.Resolve(lid, &chunks, error)) return {};
  for (const auto& chunk : chunks) {
    if (!reader.ReadChunk(chunk, &data, error)) return {};
    all.insert(all.end(), data.begin(), data.end());
  }
  return all;
}

// Two values of four chunks each in table Msg (LIDs 1 and 2).
class LongValueChunkChainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (scratch_ / "chain.edb").string();
    using esewriter::ColumnType;
    esewriter::DatabaseWriter db({.page_size = kPageSize});
    auto& table = db.AddTable({"Msg", {{"N67b0", ColumnType::kLong}, {"N1009", ColumnType::kLongBinary}}});
    for (uint32_t i = 0; i < 2; ++i) {
      values_.push_back(lvtest::PatternBytes(3 * kChunkSize + 500 + i, i));
      table.Append({esewriter::Value::I32(static_cast<int32_t>(i)), esewriter::Value::Bytes(values_.back())});
    }
    db.Finish(path_);
    std::ifstream in(path_, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
    lvtest::RecordingReporter reporter;
    auto reader = OpenReader(path_, &reporter);
    ASSERT_TRUE(reader);
    const edb::LongValueIndex& index = reader->Index();
    ASSERT_NE(index.Find(1), nullptr);
    for (const edb::LongValueChunk& chunk : index.ChunksOf(*index.Find(1))) chunks_.push_back(chunk);
    ASSERT_EQ(chunks_.size(), 4u);
    ASSERT_EQ(chunks_[1].offset, kChunkSize);
  }

  // Moves chunk `n` of LID 1 by `delta` bytes in its key (the key, LID
  // then offset big-endian, ends a few bytes before the chunk's data), makes
  // the page checksums (XOR and ECC) right again and writes the file.
  void MoveChunk(size_t n, int delta) {
    const uint32_t offset = chunks_[n].offset;
    const uint8_t big_endian[4] = {static_cast<uint8_t>(offset >> 24), static_cast<uint8_t>(offset >> 16),
                                   static_cast<uint8_t>(offset >> 8), static_cast<uint8_t>(offset)};
    uint64_t key_end = 0;
    for (uint64_t at = chunks_[n].file_offset - 1; at + 16 > chunks_[n].file_offset && key_end == 0; --at) {
      if (std::equal(big_endian, big_endian + 4, bytes_.begin() + static_cast<std::ptrdiff_t>(at) - 3)) key_end = at;
    }
    ASSERT_NE(key_end, 0u) << "no key before chunk " << n;
    bytes_[key_end] = static_cast<uint8_t>(bytes_[key_end] + delta);
    const uint32_t page = static_cast<uint32_t>(key_end / kPageSize) - 1;
    uint8_t* p = bytes_.data() + (page + 1) * kPageSize;
    esewriter::StampPageChecksums(std::span<uint8_t>(p, kPageSize), page);
    std::ofstream(path_, std::ios::binary).write(reinterpret_cast<const char*>(bytes_.data()), bytes_.size());
  }

  Bytes Prefix(size_t value, size_t size) const { return Bytes(values_[value].begin(), values_[value].begin() + size); }

  edbtest::ScratchDir scratch_;
  std::string path_;
  Bytes bytes_;
  std::vector<Bytes> values_;
  std::vector<edb::LongValueChunk> chunks_;
};

TEST_F(LongValueChunkChainTest, GapEndsTheValueWhereTheChainBreaks) {
  MoveChunk(2, +1);  // chunk 2 starts one byte after chunk 1 ends
  lvtest::RecordingReporter reporter;
  auto reader = OpenReader(path_, &reporter);
  std::string error;
  EXPECT_EQ(ReadValue(*reader, 1, &error), Prefix(0, 2 * kChunkSize)) << error;
  EXPECT_EQ(ReadValue(*reader, 2, &error), values_[1]) << error;
  std::vector<std::string> differences;
  EXPECT_EQ(lvtest::CompareWithLibesedb(path_, &differences), 2);
  EXPECT_TRUE(differences.empty()) << differences[0];
}

TEST_F(LongValueChunkChainTest, OverlapEndsTheValueWhereTheChainBreaks) {
  MoveChunk(1, -1);  // chunk 1 starts one byte before chunk 0 ends
  lvtest::RecordingReporter reporter;
  auto reader = OpenReader(path_, &reporter);
  std::string error;
  EXPECT_EQ(ReadValue(*reader, 1, &error), Prefix(0, kChunkSize)) << error;
  EXPECT_EQ(ReadValue(*reader, 2, &error), values_[1]) << error;
  std::vector<std::string> differences;
  EXPECT_EQ(lvtest::CompareWithLibesedb(path_, &differences), 2);
  EXPECT_TRUE(differences.empty()) << differences[0];
}

}  // namespace
