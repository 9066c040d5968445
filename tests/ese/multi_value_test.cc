// Multi-valued columns: no value is NULL, one value a plain value, two short
// values the engine's compact two-value form, more (or any of a long type) a
// list of members that libesedb reads one by one.
#include <gtest/gtest.h>

#include <stdexcept>

#include "esedb_reading_support.h"
#include "test_support.h"
#include "writer_support.h"

namespace {

using esetest::Bytes;
using esewriter::ColumnType;
using esewriter::Value;

class MultiValues : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::vector<esewriter::ColumnSpec> columns = {{"Longs", ColumnType::kLong, 0, true},
                                                        {"Texts", ColumnType::kText, 1252, true},
                                                        {"Bodies", ColumnType::kLongBinary, 0, true}};
    esetest::WriteDatabase(
        path_, 4096,
        {{{"Multi", columns},
          {{Value::Multi({}), Value::Multi({Bytes("only")}), Value::Multi({Bytes("one body")})},
           {Value::Multi({{0, 0, 0, 0}, {0xff, 0xff, 0xff, 0xff}}), Value::Multi({Bytes("ab"), Bytes("cde")}),
            Value::Multi({Bytes("first"), Bytes(std::string(1023, 'z'))})},
           {Value::Multi({{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}}),
            Value::Multi({Bytes("x"), Bytes(""), Bytes("some text")}), Value::Null()}}}});
  }
  edbtest::ScratchDir dir_;
  std::filesystem::path path_ = dir_ / "multi.edb";
};

TEST_F(MultiValues, NoValueIsNullAndOneValueIsPlain) {
  const std::vector<esetest::ValueInfo> values = esetest::EsedbDatabase(path_).Record("Multi", 0);
  EXPECT_EQ(values[0].flags, 0x00);
  EXPECT_TRUE(values[0].data.empty());
  EXPECT_EQ(values[1].flags, 0x00);
  EXPECT_EQ(values[1].data, Bytes("only"));
  EXPECT_EQ(values[2].flags, 0x01);
  EXPECT_EQ(values[2].data, Bytes("one body"));
}

TEST_F(MultiValues, TwoShortValuesTakeTheCompactForm) {
  const std::vector<esetest::ValueInfo> values = esetest::EsedbDatabase(path_).Record("Multi", 1);
  // As the engine stores multi.edb's UnsignedLong [0, 4294967295]: size of the first, then both.
  EXPECT_EQ(values[0].flags, 0x18);
  EXPECT_EQ(values[0].data, (std::vector<uint8_t>{4, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff}));
  EXPECT_EQ(values[1].flags, 0x18);
  EXPECT_EQ(values[1].data, Bytes("\x02" "abcde"));
  // Long types never take it.
  EXPECT_EQ(values[2].flags, 0x09);
  ASSERT_TRUE(values[2].multi_value_read);
  EXPECT_EQ(values[2].members, (std::vector<std::vector<uint8_t>>{Bytes("first"), Bytes(std::string(1023, 'z'))}));
}

TEST_F(MultiValues, MoreValuesAreReadMemberByMember) {
  esetest::EsedbDatabase db(path_);
  const std::vector<esetest::ValueInfo> values = db.Record("Multi", 2);
  EXPECT_EQ(values[0].flags, 0x08);
  EXPECT_EQ(values[0].data, (std::vector<uint8_t>{6, 0, 10, 0, 14, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}));
  EXPECT_EQ(values[0].members, (std::vector<std::vector<uint8_t>>{{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}}));
  EXPECT_EQ(values[1].flags, 0x08);
  EXPECT_EQ(values[1].members, (std::vector<std::vector<uint8_t>>{Bytes("x"), Bytes(""), Bytes("some text")}));
}

TEST(MultiValueLimits, LongMembersOf1024BytesOrMoreAreRefused) {
  esewriter::DatabaseWriter db({.page_size = 8192});
  esewriter::TableWriter& table = db.AddTable({"Multi", {{"Bodies", ColumnType::kLongText, 1252, true}}});
  EXPECT_THROW(table.Append({Value::Multi({Bytes("a"), Bytes(std::string(1024, 'b'))})}), std::invalid_argument);
  EXPECT_THROW(db.AddTable({"Fixed", {{"Longs", ColumnType::kLong, 0, true, esewriter::Placement::kFixed}}}),
               std::invalid_argument);
}

}  // namespace
