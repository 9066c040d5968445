// A table of 200,000 records on branch pages, 70,000 of them with a
// separated long value, so that long-value ids cross 0xFFFF: every record
// reads back in order, and values around the crossing and at the end of the
// long-value tree read back whole.
#include <gtest/gtest.h>

#include <memory>

#include "esedb_reading_support.h"
#include "raw_pages_support.h"
#include "test_support.h"
#include "writer_support.h"

namespace {

using esewriter::ColumnType;
using esewriter::Value;

constexpr int kRecords = 200000;
constexpr int kLongValues = 70000;

std::vector<uint8_t> Body(int i) {
  return esetest::Pattern(1024 + static_cast<size_t>(i % 50), static_cast<uint32_t>(i));
}

class SlowLargeTable : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<edbtest::ScratchDir>();
    esewriter::DatabaseWriter db({.page_size = 8192});
    esewriter::TableWriter& table = db.AddTable(
        {"Msg", {{"Id", ColumnType::kLong}, {"Subject", ColumnType::kText}, {"Body", ColumnType::kLongBinary}}});
    for (int i = 0; i < kRecords; ++i) {
      table.Append({Value::I32(i), Value::Text1252("subject " + std::to_string(i)),
                    i < kLongValues ? Value::Bytes(Body(i)) : Value::Null()});
    }
    db.Finish(path().string());
  }
  static void TearDownTestSuite() { dir_.reset(); }
  static std::filesystem::path path() { return *dir_ / "large.edb"; }

  static std::unique_ptr<edbtest::ScratchDir> dir_;
};

std::unique_ptr<edbtest::ScratchDir> SlowLargeTable::dir_;

TEST_F(SlowLargeTable, EveryRecordReadsBackInAppendOrder) {
  esetest::EsedbDatabase db(path());
  ASSERT_EQ(db.RecordCount("Msg"), kRecords);
  for (int i = 0; i < kRecords; ++i) {
    const std::vector<esetest::ValueInfo> values = db.RecordShallow("Msg", i);
    ASSERT_EQ(values[0].data, esetest::Le32(static_cast<uint32_t>(i))) << i;
    if (i < kLongValues) {
      ASSERT_EQ(values[2].flags, 0x05) << i;
      ASSERT_EQ(values[2].data, esetest::Le32(static_cast<uint32_t>(i + 1))) << i;
    } else {
      ASSERT_TRUE(values[2].data.empty()) << i;
    }
  }
  EXPECT_EQ(db.Utf8Text("Msg", kRecords - 1, 1), "subject 199999");
}

TEST_F(SlowLargeTable, LongValuesAcrossId0xFFFFAndAtTheEndReadBackWhole) {
  esetest::EsedbDatabase db(path());
  for (int i : {65533, 65534, 65535, 65536, kLongValues - 2, kLongValues - 1}) {
    const esetest::ValueInfo body = db.Record("Msg", i)[2];
    EXPECT_EQ(body.long_value, Body(i)) << "long value id " << i + 1;
    EXPECT_EQ(body.segments, 1);
  }
}

TEST_F(SlowLargeTable, TreesHaveBranchPagesAboveBranchPages) {
  const esetest::RawDatabase file(path());
  for (uint32_t root : {25u, 26u}) {  // the records' root, then the long values' root
    const esetest::RawPage page = file.Page(root);
    ASSERT_EQ(page.flags & 0x3, 0x1u) << root;  // a root, not a leaf
    EXPECT_EQ(page.flags & 0x4, 0u) << root;    // its children are branch pages
    EXPECT_GE(page.nodes.size(), 2u);
  }
}

}  // namespace
