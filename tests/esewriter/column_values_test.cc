// Values of every column type, in every placement, read back through
// libesedb value by value with their flags: NULLs, fixed-column padding and
// the engine's fill of NULL fixed columns, both text code pages, and the
// values the writer refuses.
#include <gtest/gtest.h>

#include <stdexcept>

#include "esedb_reading_support.h"
#include "test_support.h"
#include "writer_support.h"

namespace {

using esetest::Bytes;
using esewriter::ColumnSpec;
using esewriter::ColumnType;
using esewriter::Placement;
using esewriter::Record;
using esewriter::Value;

class ColumnValues : public ::testing::TestWithParam<uint32_t> {
 protected:
  std::filesystem::path Write(const std::vector<esetest::TableContent>& tables) {
    esetest::WriteDatabase(path_, GetParam(), tables);
    return path_;
  }
  edbtest::ScratchDir dir_;
  std::filesystem::path path_ = dir_ / "values.edb";
};

// Every type but 13 (whose tables libesedb 20240420 cannot read), fixed,
// variable and tagged. (Text in both code pages, in and out of the record,
// is also compared with Windows' own text.edb in windows_parity_test.)
std::vector<ColumnSpec> AllTypes() {
  std::vector<ColumnSpec> columns;
  for (uint32_t type = 1; type <= 17; ++type) {
    if (type != 13) columns.push_back({"Type" + std::to_string(type), static_cast<ColumnType>(type)});
  }
  columns.push_back({"TaggedLong", ColumnType::kLong, 0, false, Placement::kTagged});
  columns.push_back({"TaggedText", ColumnType::kText, 1200, false, Placement::kTagged});
  return columns;
}

Record AllTypesRecord() {
  return {Value::Bool(true),
          Value::U8(213),
          Value::I16(-1337),
          Value::I32(-13371337),
          Value::I64(1337133713371337),
          Value::F32(1.5f),
          Value::F64(-13391339.13391339),
          Value::F64(36220.0),
          Value::Bytes("binary"),
          Value::Text1252("caf\xe9"),
          Value::Bytes("long binary"),
          Value::Text1252("long text"),
          Value::U32(4294967295u),
          Value::I64(-1),
          Value::Bytes(std::string(16, '\x3f')),
          Value::U16(65535),
          Value::I32(7),
          Value::Text1200(u"tagged")};
}

TEST_P(ColumnValues, EveryTypeReadsBackWithItsBytesAndFlags) {
  const Record record = AllTypesRecord();
  Write({{{"AllTypes", AllTypes()}, {record, Record(record.size())}}});
  esetest::EsedbDatabase db(path_);

  // libesedb lists columns by id: fixed (1..), variable (128..), tagged (256..).
  struct Expected {
    const char* name;
    uint32_t id;
    uint32_t type;
    size_t spec_index;
  };
  const std::vector<Expected> expected = {
      {"Type1", 1, 1, 0},         {"Type2", 2, 2, 1},         {"Type3", 3, 3, 2},      {"Type4", 4, 4, 3},
      {"Type5", 5, 5, 4},         {"Type6", 6, 6, 5},         {"Type7", 7, 7, 6},      {"Type8", 8, 8, 7},
      {"Type14", 9, 14, 12},      {"Type15", 10, 15, 13},     {"Type16", 11, 16, 14},  {"Type17", 12, 17, 15},
      {"Type9", 128, 9, 8},       {"Type10", 129, 10, 9},     {"Type11", 256, 11, 10}, {"Type12", 257, 12, 11},
      {"TaggedLong", 258, 4, 16}, {"TaggedText", 259, 10, 17}};
  const std::vector<esetest::ColumnInfo> columns = db.Columns("AllTypes");
  const std::vector<esetest::ValueInfo> values = db.Record("AllTypes", 0);
  ASSERT_EQ(columns.size(), expected.size());
  ASSERT_EQ(values.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(columns[i].name, expected[i].name);
    EXPECT_EQ(columns[i].id, expected[i].id);
    EXPECT_EQ(columns[i].type, expected[i].type);
    EXPECT_EQ(values[i].column_type, expected[i].type);
    EXPECT_EQ(values[i].data, record[expected[i].spec_index].bytes());
    // Long types kept in the record carry the long-value flag; nothing else has flags.
    EXPECT_EQ(values[i].flags, expected[i].type == 11 || expected[i].type == 12 ? 0x01 : 0x00);
  }
  EXPECT_EQ(db.Utf8Text("AllTypes", 0, 13), "caf\xc3\xa9");  // code page 1252
  EXPECT_EQ(db.Utf8Text("AllTypes", 0, 17), "tagged");       // code page 1200

  for (const esetest::ValueInfo& value : db.Record("AllTypes", 1)) {
    EXPECT_TRUE(value.data.empty());
    EXPECT_EQ(value.flags, 0);
  }
}

TEST_P(ColumnValues, FixedColumnsArePaddedAndNullsBeforeTheLastSetOneReadAsTheEngineFill) {
  const std::vector<ColumnSpec> columns = {{"Short", ColumnType::kShort},
                                           {"FixedAnsi", ColumnType::kText, 1252, false, Placement::kFixed, 12},
                                           {"FixedUnicode", ColumnType::kText, 1200, false, Placement::kFixed, 11},
                                           {"FixedBinary", ColumnType::kBinary, 0, false, Placement::kFixed, 6},
                                           {"Long", ColumnType::kLong},
                                           {"Trailing", ColumnType::kLongLong}};
  Write({{{"Fixed", columns},
          {{Value::I16(5), Value::Text1252("abc"), Value::Text1200(u"xy"), Value::Bytes("\x01\x02"), Value::I32(9),
            Value::Null()},
           {Value::Null(), Value::Null(), Value::Null(), Value::Null(), Value::I32(1), Value::Null()}}}});
  esetest::EsedbDatabase db(path_);

  const std::vector<esetest::ValueInfo> set = db.Record("Fixed", 0);
  EXPECT_EQ(set[1].data, Bytes("abc         "));
  EXPECT_EQ(set[2].data, (std::vector<uint8_t>{'x', 0, 'y', 0, ' ', 0, ' ', 0, ' ', 0, ' '}));
  EXPECT_EQ(set[3].data, (std::vector<uint8_t>{1, 2, 0, 0, 0, 0}));
  EXPECT_TRUE(set[5].data.empty());  // NULL after the last set fixed column: left out

  const std::vector<esetest::ValueInfo> nulls = db.Record("Fixed", 1);
  EXPECT_EQ(nulls[0].data, Bytes("**"));
  EXPECT_EQ(nulls[1].data, Bytes(std::string(12, '*')));
  EXPECT_EQ(nulls[3].data, Bytes(std::string(6, '*')));
  EXPECT_EQ(nulls[4].data, esetest::Le32(1));
  EXPECT_TRUE(nulls[5].data.empty());
}

TEST_P(ColumnValues, RefusedValuesLeaveTheTableAsItWas) {
  esewriter::DatabaseWriter db({.page_size = GetParam()});
  esewriter::TableWriter& table = db.AddTable({"Strict",
                                               {{"Long", ColumnType::kLong},
                                                {"Text", ColumnType::kText, 1200},
                                                {"Binary", ColumnType::kBinary},
                                                {"Tagged", ColumnType::kLongBinary}}});
  const Value good_text = Value::Text1200(u"ok");
  const std::vector<Record> refused = {
      {Value::I16(1), good_text, Value::Null(), Value::Null()},                        // wrong size for Long
      {Value::I32(1), Value::Bytes("odd"), Value::Null(), Value::Null()},              // odd UTF-16
      {Value::I32(1), good_text, Value::Bytes(std::string(256, 'b')), Value::Null()},  // longer than 255
      {Value::I32(1), good_text, Value::Multi({{1}, {2}}), Value::Null()},             // several values
      {Value::I32(1), good_text, Value::Compressed7Bit("abcdefghij"), Value::Null()},  // compressed short column
      {Value::I32(1), good_text, Value::Null()},                                       // too few values
  };
  for (const Record& record : refused) EXPECT_THROW(table.Append(record), std::invalid_argument);
  EXPECT_THROW(Value::Compressed7Bit("caf\xe9"), std::invalid_argument);
  table.Append({Value::I32(42), good_text, Value::Bytes("b"), Value::Bytes(std::string(5000, 'x'))});
  db.Finish(path_.string());

  esetest::EsedbDatabase reader(path_);
  ASSERT_EQ(reader.RecordCount("Strict"), 1);
  const std::vector<esetest::ValueInfo> values = reader.Record("Strict", 0);
  EXPECT_EQ(values[0].data, esetest::Le32(42));
  EXPECT_EQ(values[3].data, esetest::Le32(1));  // the first long value of the table
}

INSTANTIATE_TEST_SUITE_P(PageSizes, ColumnValues, ::testing::Values(4096u, 8192u));

}  // namespace
