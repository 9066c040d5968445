// Multi-valued columns beyond what the Windows-written multi.edb shows (see
// windows_parity_test): no value is NULL, one value is stored as a plain
// value, and long members the engine would separate are refused.
#include <gtest/gtest.h>

#include <stdexcept>

#include "esedb_reading_support.h"
#include "test_support.h"
#include "writer_support.h"

namespace {

using esetest::Bytes;
using esewriter::ColumnType;
using esewriter::Value;

TEST(MultiValues, NoValueIsNullAndOneValueIsPlain) {
  edbtest::ScratchDir dir;
  esetest::WriteDatabase(dir / "multi.edb", 4096,
                         {{{"Multi",
                            {{"Longs", ColumnType::kLong, 0, true},
                             {"Texts", ColumnType::kText, 1252, true},
                             {"Bodies", ColumnType::kLongBinary, 0, true}}},
                           {{Value::Multi({}), Value::Multi({Bytes("only")}), Value::Multi({Bytes("one body")})}}}});
  const std::vector<esetest::ValueInfo> values = esetest::EsedbDatabase(dir / "multi.edb").Record("Multi", 0);
  EXPECT_EQ(values[0].flags, 0x00);
  EXPECT_TRUE(values[0].data.empty());
  EXPECT_EQ(values[1].flags, 0x00);
  EXPECT_EQ(values[1].data, Bytes("only"));
  EXPECT_EQ(values[2].flags, 0x01);
  EXPECT_EQ(values[2].data, Bytes("one body"));
}

TEST(MultiValues, LongMembersOf1024BytesOrMoreAreRefused) {
  esewriter::DatabaseWriter db({.page_size = 8192});
  esewriter::TableWriter& table = db.AddTable({"Multi", {{"Bodies", ColumnType::kLongText, 1252, true}}});
  EXPECT_THROW(table.Append({Value::Multi({Bytes("a"), Bytes(std::string(1024, 'b'))})}), std::invalid_argument);
  EXPECT_NO_THROW(table.Append({Value::Multi({Bytes("a"), Bytes(std::string(1023, 'b'))})}));
  EXPECT_THROW(db.AddTable({"Fixed", {{"Longs", ColumnType::kLong, 0, true, esewriter::Placement::kFixed}}}),
               std::invalid_argument);
}

}  // namespace
