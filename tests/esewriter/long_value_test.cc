// Long values: kept in the record up to 1,023 bytes, separated from 1,024
// on or when the record would not fit, in chunks of page size - 82 bytes;
// the long-value tree laid out as the Windows engine lays it out; and the
// engine's 7-bit compression, compared with what it wrote into text.edb.
#include <gtest/gtest.h>

#include <algorithm>

#include "ese/tree_builder.h"
#include "esedb_reading_support.h"
#include "raw_pages_support.h"
#include "test_support.h"
#include "writer_support.h"

namespace {

using esetest::Bytes;
using esetest::Pattern;
using esewriter::ColumnType;
using esewriter::Record;
using esewriter::Value;

constexpr uint32_t kRootFlag = 0x1, kLeafFlag = 0x2, kParentOfLeafFlag = 0x4, kLongValueFlag = 0x80;

class LongValues : public ::testing::TestWithParam<uint32_t> {
 protected:
  size_t chunk() const { return GetParam() - 82; }
  edbtest::ScratchDir dir_;
  std::filesystem::path path_ = dir_ / "long.edb";
};

TEST_P(LongValues, StayInTheRecordUpTo1023BytesAndAreSeparatedInChunksFrom1024) {
  const std::vector<size_t> sizes = {0, 1, 1023, 1024, 1025, chunk(), chunk() + 1, 2 * chunk() + 100, 3 * chunk()};
  esetest::TableContent table{{"Values", {{"Id", ColumnType::kLong}, {"Body", ColumnType::kLongBinary}}}, {}};
  for (size_t i = 0; i < sizes.size(); ++i) {
    table.records.push_back(
        {Value::U32(static_cast<uint32_t>(i)), Value::Bytes(Pattern(sizes[i], static_cast<uint32_t>(i)))});
  }
  esetest::WriteDatabase(path_, GetParam(), {table});
  esetest::EsedbDatabase db(path_);
  uint32_t next_id = 1;
  for (size_t i = 0; i < sizes.size(); ++i) {
    SCOPED_TRACE(sizes[i]);
    const esetest::ValueInfo body = db.Record("Values", static_cast<int>(i))[1];
    if (sizes[i] <= 1023) {
      EXPECT_EQ(body.flags, 0x01);
      EXPECT_EQ(body.data, Pattern(sizes[i], static_cast<uint32_t>(i)));
    } else {
      EXPECT_EQ(body.flags, 0x05);
      EXPECT_EQ(body.data, esetest::Le32(next_id++));  // ids count 1, 2, 3 per table
      EXPECT_EQ(body.long_value, Pattern(sizes[i], static_cast<uint32_t>(i)));
      EXPECT_EQ(static_cast<size_t>(body.segments), (sizes[i] + chunk() - 1) / chunk());
    }
  }
}

TEST_P(LongValues, OversizedRecordsSeparateTheirLargestValuesFirst) {
  esetest::TableContent table{{"Crowded",
                               {{"A", ColumnType::kLongText},
                                {"B", ColumnType::kLongText},
                                {"C", ColumnType::kLongText},
                                {"D", ColumnType::kLongText},
                                {"E", ColumnType::kLongText},
                                {"F", ColumnType::kLongText},
                                {"G", ColumnType::kLongText},
                                {"H", ColumnType::kLongText},
                                {"I", ColumnType::kLongText},
                                {"J", ColumnType::kLongText}}},
                              {}};
  // Ten values of 700 to 1,000 bytes: too many for one record on either page size.
  Record record;
  for (int i = 0; i < 10; ++i) record.push_back(Value::Text1252(std::string(700 + 30 * ((i * 3) % 10) + i, 'a' + i)));
  table.records.push_back(record);
  esetest::WriteDatabase(path_, GetParam(), {table});

  const std::vector<esetest::ValueInfo> values = esetest::EsedbDatabase(path_).Record("Crowded", 0);
  size_t kept = 4, largest_kept = 0, smallest_separated = SIZE_MAX;
  for (size_t i = 0; i < values.size(); ++i) {
    const size_t size = record[i].bytes().size();
    if (values[i].flags == 0x05) {
      EXPECT_EQ(values[i].long_value, record[i].bytes());
      smallest_separated = std::min(smallest_separated, size);
    } else {
      EXPECT_EQ(values[i].flags, 0x01);
      EXPECT_EQ(values[i].data, record[i].bytes());
      kept += 4 + 1 + size;
      largest_kept = std::max(largest_kept, size);
    }
  }
  EXPECT_LT(largest_kept, smallest_separated);
  EXPECT_LE(kept, GetParam() - 78u);
  EXPECT_GT(kept + 4 + 1 + smallest_separated - 5, GetParam() - 78u);  // one more would not have fitted
}

// Walks a branch page's children, checking the engine's branch layout, and
// returns the leftmost and rightmost leaf keys below it.
std::pair<std::vector<uint8_t>, std::vector<uint8_t>> CheckSubtree(const esetest::RawDatabase& file,
                                                                   const esetest::RawPage& page, int* depth) {
  if ((page.flags & kLeafFlag) != 0) {
    *depth = 0;
    return {page.nodes.front().key, page.nodes.back().key};
  }
  EXPECT_EQ(page.previous, 0u);
  EXPECT_EQ(page.next, 0u);
  std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> bounds;
  int child_depth = 0;
  for (const esetest::RawNode& node : page.nodes) {
    const uint32_t child = node.data[0] | (node.data[1] << 8) | (node.data[2] << 16) | (node.data[3] << 24);
    bounds.push_back(CheckSubtree(file, file.Page(child), &child_depth));
  }
  *depth = child_depth + 1;
  // Only the level just above the leaves is marked as such.
  EXPECT_EQ((page.flags & kParentOfLeafFlag) != 0, *depth == 1) << "page " << page.number;
  for (size_t i = 0; i + 1 < page.nodes.size(); ++i) {
    EXPECT_EQ(page.nodes[i].key, esewriter::TreeBuilder::ShortestSeparator(bounds[i].second, bounds[i + 1].first))
        << "page " << page.number << " entry " << i;
  }
  return {bounds.front().first, bounds.back().second};
}

TEST_P(LongValues, TreeIsLaidOutLikeTheEngines) {
  // Many small values share pages; every tenth spans several chunks.
  esetest::TableContent table{{"Bodies", {{"Body", ColumnType::kLongBinary}}}, {}};
  const uint32_t count = GetParam() == 4096 ? 1200 : 2400;
  for (uint32_t i = 0; i < count; ++i) {
    table.records.push_back({Value::Bytes(Pattern(i % 10 == 9 ? 3 * chunk() + 17 : 1024 + i % 300, i))});
  }
  esetest::WriteDatabase(path_, GetParam(), {table});
  const esetest::RawDatabase file(path_);
  const esetest::RawPage table_root = file.Page(25);  // the first table's root
  const esetest::RawPage root = file.Page(26);        // its long-value tree, made with the first value
  ASSERT_EQ(root.flags & (kRootFlag | kLongValueFlag), kRootFlag | kLongValueFlag);
  EXPECT_EQ(root.first_tag[4] | (root.first_tag[5] << 8), table_root.number);

  int depth = 0;
  const auto bounds = CheckSubtree(file, root, &depth);
  EXPECT_GE(depth, 2);
  EXPECT_TRUE(root.nodes.back().key.empty());

  uint32_t expected_id = 1;
  size_t pages_with_several_values = 0;
  for (const esetest::RawPage& leaf : file.Leaves(root.number)) {
    EXPECT_EQ(leaf.flags & (kLeafFlag | kLongValueFlag), kLeafFlag | kLongValueFlag);
    size_t roots_here = 0;
    const esetest::RawNode* opening = nullptr;
    for (size_t n = 0; n < leaf.nodes.size(); ++n) {
      const esetest::RawNode& node = leaf.nodes[n];
      if (opening == nullptr && node.key.size() == 8) opening = &node;
      // Keys share the page prefix exactly when they have more than 2 bytes in common with it.
      size_t common = 0;
      while (common < node.key.size() && common < leaf.first_tag.size() && node.key[common] == leaf.first_tag[common]) {
        ++common;
      }
      EXPECT_EQ(node.shared_prefix, common > 2 ? common : 0);
      if (node.key.size() != 4) continue;
      // A root record: id, reference count 1 and size; its first chunk follows on the same page.
      ++roots_here;
      EXPECT_EQ(node.key,
                (std::vector<uint8_t>{static_cast<uint8_t>(expected_id >> 24), static_cast<uint8_t>(expected_id >> 16),
                                      static_cast<uint8_t>(expected_id >> 8), static_cast<uint8_t>(expected_id)}));
      ASSERT_EQ(node.data.size(), 8u);
      EXPECT_EQ(std::vector<uint8_t>(node.data.begin(), node.data.begin() + 4), esetest::Le32(1));
      ASSERT_LT(n + 1, leaf.nodes.size()) << "root record of " << expected_id << " without its first chunk";
      std::vector<uint8_t> first_chunk = node.key;
      first_chunk.insert(first_chunk.end(), 4, 0);
      EXPECT_EQ(leaf.nodes[n + 1].key, first_chunk);
      ++expected_id;
    }
    ASSERT_NE(opening, nullptr);
    EXPECT_EQ(leaf.first_tag, opening->key);  // the prefix is the key of the chunk that opened the page
    if (roots_here > 1) ++pages_with_several_values;
  }
  EXPECT_EQ(expected_id, count + 1);
  EXPECT_GT(pages_with_several_values, count / 20);

  // libesedb finds values deep in the tree.
  esetest::EsedbDatabase db(path_);
  for (int index : {static_cast<int>(count) - 1, static_cast<int>(count) - 2}) {
    const esetest::ValueInfo value = db.Record("Bodies", index)[0];
    EXPECT_EQ(value.long_value, table.records[static_cast<size_t>(index)][0].bytes());
  }
  EXPECT_EQ(db.Record("Bodies", static_cast<int>(count) - 1)[0].segments, 4);
}

INSTANTIATE_TEST_SUITE_P(PageSizes, LongValues, ::testing::Values(4096u, 8192u));

// The 7-bit compressed value of text.edb's MaxLongCompressedASCII column,
// and its text.
struct WindowsCompressedText {
  std::vector<uint8_t> stored;
  std::string text;
};

WindowsCompressedText ReadWindowsCompressedText() {
  esetest::EsedbDatabase windows(edbtest::RealDatabase("text.edb"));
  const std::vector<esetest::ColumnInfo> columns = windows.Columns("text");
  const std::vector<esetest::ValueInfo> values = windows.Record("text", 0);
  WindowsCompressedText out;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name == "MaxLongCompressedASCII") out.stored = values[i].data;
  }
  out.text = esetest::Unpack7BitAscii(out.stored);
  return out;
}

TEST(CompressedText, IsPackedExactlyAsTheWindowsEnginePacksIt) {
  const WindowsCompressedText windows = ReadWindowsCompressedText();
  ASSERT_EQ(windows.text.rfind("Max long compressed ASCII text that can be a bit longer aaa", 0), 0u);
  edbtest::ScratchDir dir;
  esetest::WriteDatabase(dir / "c.edb", 4096,
                         {{{"Text", {{"Compressed", ColumnType::kLongText}}},
                           {{Value::Compressed7Bit(windows.text)},
                            {Value::Compressed7Bit("Tiny c ASCII")},  // packing saves nothing: kept plain
                            {Value::Compressed7Bit(std::string(3000, 'q'))}}}});
  esetest::EsedbDatabase db(dir / "c.edb");
  const esetest::ValueInfo packed = db.Record("Text", 0)[0];
  EXPECT_EQ(packed.flags, 0x03);
  EXPECT_EQ(packed.data, windows.stored);
  const esetest::ValueInfo tiny = db.Record("Text", 1)[0];
  EXPECT_EQ(tiny.flags, 0x01);
  EXPECT_EQ(tiny.data, Bytes("Tiny c ASCII"));
  const esetest::ValueInfo separated = db.Record("Text", 2)[0];
  EXPECT_EQ(separated.flags, 0x05);
  EXPECT_EQ(separated.long_value, Bytes(std::string(3000, 'q')));
}

}  // namespace
