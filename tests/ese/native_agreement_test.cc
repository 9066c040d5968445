// Our own reader hands up what libesedb reads, record by record and value by
// value, on the Windows-written databases and on stores from our writer;
// where libesedb refuses (type-13 columns, the two-value multi-value form,
// members kept apart), it is checked against what the writer put in.
#include <gtest/gtest.h>

#include <string>

#include "ese/database.h"
#include "ese/native_database.h"
#include "native_agreement_support.h"
#include "test_support.h"
#include "esewriter/writer_support.h"

namespace {

using esewriter::ColumnType;
using esewriter::Placement;
using esewriter::Value;
using nativetest::Agreement;

Agreement ExpectAgreement(const std::string& path, int64_t max_records = 0) {
  Agreement agreement = nativetest::CompareWithLibesedb(path, max_records);
  EXPECT_EQ(agreement.difference_count, 0) << path << ":\n" << nativetest::Join(agreement.differences);
  return agreement;
}

TEST(NativeAgreement, EveryTableOfTheWindowsWrittenDatabases) {
  for (const char* name : {"basic.edb", "binary.edb", "default.edb", "index.edb", "multi.edb", "text.edb"}) {
    SCOPED_TRACE(name);
    Agreement agreement = ExpectAgreement(edbtest::RealDatabase(name).string());
    EXPECT_GT(agreement.tables, 0);
    EXPECT_GT(agreement.values, 0);
    if (std::string(name) == "text.edb") EXPECT_GT(agreement.texts, 10);
    if (std::string(name) == "multi.edb") EXPECT_GT(agreement.multi_values, 0);
    if (std::string(name) == "binary.edb") EXPECT_GT(agreement.long_values, 0);
    EXPECT_TRUE(agreement.libesedb_refusals.empty()) << nativetest::Join(agreement.libesedb_refusals);
  }
}

// Windows' other databases: read natively where the format is known,
// otherwise the native reader declines them so that libesedb serves them.
TEST(NativeAgreement, OtherWindowsDatabasesAgreeOrAreDeclined) {
  for (const char* name : {"SRUDB.dat", "Current.mdb"}) {
    SCOPED_TRACE(name);
    nativetest::RecordingReporter reporter;
    auto native = edb::ese::OpenNativeDatabase(edbtest::RealDatabase(name).string(), reporter);
    if (!native.ok()) {
      EXPECT_EQ(native.status().code(), edb::StatusCode::kUnsupported) << native.status().reason();
      continue;
    }
    ExpectAgreement(edbtest::RealDatabase(name).string());
  }
}

// Every column type in each placement it allows, NULLs between values,
// multi-values of three members, 7-bit text, long values in the record and
// apart, both code pages.
std::vector<esetest::TableContent> EveryKindOfValue() {
  esewriter::TableSpec spec{"Everything",
                            {{"Bit", ColumnType::kBit},
                             {"Byte", ColumnType::kUnsignedByte},
                             {"Short", ColumnType::kShort},
                             {"Long", ColumnType::kLong},
                             {"Currency", ColumnType::kCurrency},
                             {"Single", ColumnType::kIeeeSingle},
                             {"Double", ColumnType::kIeeeDouble},
                             {"Date", ColumnType::kDateTime},
                             {"ULong", ColumnType::kUnsignedLong},
                             {"LongLong", ColumnType::kLongLong},
                             {"Guid", ColumnType::kGuid},
                             {"UShort", ColumnType::kUnsignedShort},
                             {"Bin", ColumnType::kBinary},
                             {"Ansi", ColumnType::kText, 1252},
                             {"Wide", ColumnType::kText, 1200},
                             {"TaggedLong", ColumnType::kLong, 0, false, Placement::kTagged},
                             {"TaggedAnsi", ColumnType::kText, 1252, false, Placement::kTagged},
                             {"LongBin", ColumnType::kLongBinary},
                             {"LongAnsi", ColumnType::kLongText, 1252},
                             {"LongWide", ColumnType::kLongText, 1200},
                             {"MultiLong", ColumnType::kLong, 0, true},
                             {"MultiWide", ColumnType::kText, 1200, true},
                             {"MultiAnsi", ColumnType::kLongText, 1252, true}}};
  std::vector<esewriter::Record> records;
  for (int i = 0; i < 300; ++i) {
    const uint32_t seed = static_cast<uint32_t>(i);
    auto maybe = [&](int every, Value value) { return i % every == 0 ? Value::Null() : value; };
    std::u16string wide = u"W\u00e9de " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
    std::string ansi = "Ans\xe9 " + std::to_string(i);
    records.push_back({maybe(5, Value::Bool(i % 2 == 0)), maybe(6, Value::U8(static_cast<uint8_t>(i))),
                       maybe(7, Value::I16(static_cast<int16_t>(-i))), Value::I32(i),
                       maybe(3, Value::I64(int64_t{i} * 10000)), maybe(4, Value::F32(i * 0.5f)),
                       maybe(8, Value::F64(i * 0.25)), Value::I64(int64_t{132000000000000000} + i),
                       maybe(9, Value::U32(0xfffffff0u + static_cast<uint32_t>(i % 16))), Value::I64(-int64_t{i}),
                       maybe(2, Value::Bytes(esetest::Pattern(16, seed))), maybe(11, Value::U16(static_cast<uint16_t>(i))),
                       maybe(4, Value::Bytes(esetest::Pattern(static_cast<size_t>(i % 200), seed))),
                       maybe(3, Value::Text1252(ansi)), maybe(5, Value::Text1200(wide)),
                       maybe(2, Value::I32(-i)), maybe(3, Value::Text1252("tag " + std::to_string(i))),
                       maybe(6, Value::Bytes(esetest::Pattern(i % 3 == 0 ? 5000 + static_cast<size_t>(i) : 300, seed))),
                       i % 4 == 0 ? Value::Compressed7Bit("seven bit text number " + std::to_string(i))
                                  : maybe(5, Value::Text1252("long ansi " + ansi)),
                       maybe(7, Value::Text1200(wide + u" long")),
                       i % 3 == 0 ? Value::Multi({esetest::Le32(seed), esetest::Le32(seed + 1), esetest::Le32(seed + 2)})
                                  : Value::Null(),
                       i % 5 == 1 ? Value::Multi({{'a', 0, 'b', 0}, {'c', 0}, {'d', 0, 'e', 0, 'f', 0}}) : Value::Null(),
                       i % 7 == 1 ? Value::Multi({nativetest::Bytes("first"), nativetest::Bytes("second"), nativetest::Bytes("third")})
                                  : Value::Null()});
  }
  return {{spec, records}};
}

class NativeWriterStores : public ::testing::TestWithParam<uint32_t> {};

TEST_P(NativeWriterStores, EveryColumnTypeAgreesWithLibesedb) {
  edbtest::ScratchDir scratch;
  const std::string path = (scratch / "every.edb").string();
  esetest::WriteDatabase(path, GetParam(), EveryKindOfValue());
  Agreement agreement = ExpectAgreement(path);
  EXPECT_EQ(agreement.tables, 3);  // the two catalog tables and ours
  EXPECT_GE(agreement.records, 300);
  EXPECT_GT(agreement.texts, 300);
  EXPECT_GE(agreement.long_values, 50);
  EXPECT_GT(agreement.multi_values, 100);
}

INSTANTIATE_TEST_SUITE_P(PageSizes, NativeWriterStores, ::testing::Values(4096u, 8192u));

// Values libesedb cannot read, checked against what the writer put in.
TEST(NativeBeyondLibesedb, SuperLongColumnsAndTwoValueForms) {
  edbtest::ScratchDir scratch;
  const std::string path = (scratch / "beyond.edb").string();
  esewriter::TableSpec spec{"Beyond",
                            {{"Id", ColumnType::kLong},
                             {"Super", ColumnType::kSuperLongValue},
                             {"Pair", ColumnType::kLong, 0, true},
                             {"PairText", ColumnType::kText, 1200, true}}};
  std::vector<esewriter::Record> records;
  for (int i = 0; i < 50; ++i) {
    records.push_back({Value::I32(i), Value::Bytes(esetest::Pattern(i % 2 == 0 ? 40 : 3000, static_cast<uint32_t>(i))),
                       Value::Multi({esetest::Le32(static_cast<uint32_t>(i)), esetest::Le32(7)}),
                       Value::Multi({{'x', 0}, {'y', 0, 'z', 0}})});
  }
  esetest::WriteDatabase(path, 8192, {{spec, records}});

  nativetest::RecordingReporter reporter;
  auto db = edb::ese::OpenNativeDatabase(path, reporter);
  ASSERT_TRUE(db.ok()) << db.status().reason();
  auto table = (*db)->OpenTable(2);
  ASSERT_TRUE(table.ok());
  ASSERT_EQ(*(*table)->RecordCount(), 50);
  for (int i = 0; i < 50; ++i) {
    auto record = (*table)->ReadRecord(i);
    ASSERT_TRUE(record.ok()) << record.status().reason();
    edb::ese::Value value;
    ASSERT_TRUE((*record)->ReadValue(1, &value).ok());
    EXPECT_EQ(value.column_type, 13u);
    std::vector<uint8_t> super;
    if (value.flags & 0x04) {
      auto long_value = (*record)->OpenLongValue(1);
      ASSERT_TRUE(long_value.ok()) << long_value.status().reason();
      std::vector<uint8_t> segment;
      for (int s = 0; s < (*long_value)->segment_count(); ++s) {
        ASSERT_TRUE((*long_value)->ReadSegment(s, &segment).ok());
        super.insert(super.end(), segment.begin(), segment.end());
      }
    } else {
      super = value.data;
    }
    EXPECT_EQ(super, esetest::Pattern(i % 2 == 0 ? 40 : 3000, static_cast<uint32_t>(i))) << i;

    ASSERT_TRUE((*record)->ReadValue(2, &value).ok());
    EXPECT_EQ(value.flags, 0x18);
    auto pair = (*record)->OpenMultiValue(2);
    ASSERT_TRUE(pair.ok()) << pair.status().reason();
    ASSERT_EQ((*pair)->count(), 2);
    std::vector<uint8_t> member;
    ASSERT_TRUE((*pair)->Member(0, &member).ok());
    EXPECT_EQ(member, esetest::Le32(static_cast<uint32_t>(i)));
    ASSERT_TRUE((*pair)->Member(1, &member).ok());
    EXPECT_EQ(member, esetest::Le32(7));

    auto texts = (*record)->OpenMultiValue(3);
    ASSERT_TRUE(texts.ok());
    ASSERT_EQ((*texts)->count(), 2);
    EXPECT_EQ(*(*texts)->MemberText(0), u"x");
    EXPECT_EQ(*(*texts)->MemberText(1), u"yz");
  }
  EXPECT_TRUE(reporter.reports.empty()) << nativetest::Join(reporter.reports);
}

// 200,000 small records over many branch pages: same records, same order.
TEST(SlowNativeAgreement, TwoHundredThousandRecords) {
  edbtest::ScratchDir scratch;
  const std::string path = (scratch / "many.edb").string();
  esewriter::TableSpec spec{"Many", {{"Id", ColumnType::kLong}, {"Name", ColumnType::kText, 1252}}};
  std::vector<esewriter::Record> records;
  for (int i = 0; i < 200000; ++i) records.push_back({Value::I32(i), Value::Text1252("n" + std::to_string(i))});
  esetest::WriteDatabase(path, 8192, {{spec, records}});
  Agreement agreement = ExpectAgreement(path);
  EXPECT_GE(agreement.records, 200000);
}

}  // namespace
