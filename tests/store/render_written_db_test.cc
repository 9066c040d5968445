// The binary readings and the value cases the Windows-written databases lack,
// on a database from our own ESE writer: 8-byte identifiers, 4-byte numbers,
// FILETIME and GUID binaries, 7-bit compressed long text, Windows-1252 text
// and separated long binaries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ese/database_writer.h"
#include "render_db_support.h"
#include "store/ansi_text.h"
#include "store/binary_readings.h"
#include "store/value_text.h"
#include "test_support.h"

namespace edb {
namespace {

using esewriter::ColumnType;
using esewriter::Value;
using Bytes = std::vector<uint8_t>;

const std::optional<std::u16string> kDefault = u"dflt";

class RenderWrittenDatabase : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new edbtest::ScratchDir;
    esewriter::DatabaseWriter writer({.page_size = 4096});
    auto& table = writer.AddTable({"Msg",
                                   {{"N67b0", ColumnType::kBinary},
                                    {"L6701", ColumnType::kBinary},
                                    {"T39", ColumnType::kBinary},
                                    {"N6762", ColumnType::kBinary},
                                    {"S1000", ColumnType::kLongText},
                                    {"S3001", ColumnType::kText, 1252},
                                    {"N3701", ColumnType::kLongBinary}}});
    // Record 0: the readings in their usual byte order.
    table.Append({Value::Bytes(Bytes{0x01, 0, 0, 0, 0, 0, 0x91, 0xc1}), Value::Bytes(Bytes{0x01, 0x02, 0x03, 0x04}),
                  Value::Bytes(Bytes{0x80, 0x7c, 0x46, 0xd3, 0x8c, 0xd3, 0xc3, 0x01}),
                  Value::Bytes(Bytes{0x0d, 0xd0, 0x01, 0xc0, 0xad, 0xde, 0xef, 0xbe, 0xfa, 0xce, 0xfe, 0xed, 0xde,
                                     0xad, 0xbe, 0xef}),
                  Value::Compressed7Bit("sixteen chars ok"), Value::Text1252("caf\xe9 \x80 5"),
                  Value::Bytes(std::string(5000, 'z'))});
    // Record 1: wrong sizes, all zeros, a zero character in compressed text.
    table.Append({Value::Bytes(Bytes(8, 0)), Value::Bytes(Bytes{1, 2, 3}), Value::Bytes(Bytes(7, 1)),
                  Value::Bytes(Bytes(15, 1)), Value::Compressed7Bit(std::string("before\0after, and on", 20)),
                  Value::Null(), Value::Bytes(std::string("short\0tail", 10))});
    writer.Finish((*scratch_ / "written.edb").string());
  }
  static void TearDownTestSuite() {
    delete scratch_;
    scratch_ = nullptr;
  }

  edbtest::TableUnderTest table{*scratch_ / "written.edb", "Msg"};
  edbtest::RecordUnderTest first{table, 0};
  edbtest::RecordUnderTest second{table, 1};

  static edbtest::ScratchDir* scratch_;
};

edbtest::ScratchDir* RenderWrittenDatabase::scratch_ = nullptr;

TEST_F(RenderWrittenDatabase, IdentifiersInBothByteOrders) {
  const int key = table.Column("N67b0");
  EXPECT_EQ(IdentifierText(first.ref(), key, ByteOrder::kBigEndian, kDefault), u"1000000000091c1");
  EXPECT_EQ(IdentifierText(first.ref(), key, ByteOrder::kLittleEndian, kDefault), u"c191000000000001");
  EXPECT_EQ(IdentifierText(second.ref(), key, ByteOrder::kBigEndian, kDefault), u"0");
  EXPECT_EQ(ValueText(first.ref(), key, kDefault), u"01000000000091c1");
}

TEST_F(RenderWrittenDatabase, FourByteNumbers) {
  const int number = table.Column("L6701");
  EXPECT_EQ(Number32Text(first.ref(), number, ByteOrder::kBigEndian), u"16909060");
  EXPECT_EQ(Number32Text(first.ref(), number, ByteOrder::kLittleEndian), u"67305985");
  EXPECT_EQ(Number32Text(second.ref(), number, ByteOrder::kBigEndian), std::nullopt);  // 3 bytes
}

TEST_F(RenderWrittenDatabase, FiletimeBinaries) {
  const int time = table.Column("T39");
  EXPECT_EQ(FiletimeBytesText(first.ref(), time, ByteOrder::kLittleEndian), u"Jan 05, 2004 13:07:09");
  EXPECT_EQ(FiletimeBytesText(first.ref(), time, ByteOrder::kBigEndian), u"(0x807c46d3 0x8cd3c301)");
  EXPECT_EQ(FiletimeBytesText(second.ref(), time, ByteOrder::kLittleEndian), std::nullopt);  // 7 bytes
}

TEST_F(RenderWrittenDatabase, GuidBinaries) {
  const int guid = table.Column("N6762");
  EXPECT_EQ(GuidText(first.ref(), guid, ByteOrder::kLittleEndian), u"c001d00d-dead-beef-face-feeddeadbeef");
  EXPECT_EQ(GuidText(first.ref(), guid, ByteOrder::kBigEndian), u"0dd001c0-adde-efbe-face-feeddeadbeef");
  EXPECT_EQ(GuidText(second.ref(), guid, ByteOrder::kLittleEndian), std::nullopt);  // 15 bytes
}

TEST_F(RenderWrittenDatabase, CompressedLongTextCutAtTheFirstZeroCharacter) {
  const int body = table.Column("S1000");
  EXPECT_EQ(ValueText(first.ref(), body, kDefault), u"sixteen chars ok");
  EXPECT_EQ(ValueText(second.ref(), body, kDefault), u"before");
}

TEST_F(RenderWrittenDatabase, Windows1252Text) {
  const int name = table.Column("S3001");
  EXPECT_EQ(ValueText(first.ref(), name, kDefault), u"caf\u00e9 \u20ac 5");
  EXPECT_EQ(AnsiValueText(first.ref(), name), u"caf\u00e9 \u20ac 5");
  EXPECT_EQ(ValueText(second.ref(), name, kDefault), kDefault);
}

TEST_F(RenderWrittenDatabase, SeparatedLongBinaryGivesItsContent) {
  const int data = table.Column("N3701");
  EXPECT_EQ(ValueText(first.ref(), data, kDefault), kDefault);  // long value: read through only
  EXPECT_EQ(RawBinaryValue(first.ref(), data), Bytes(5000, 'z'));
  EXPECT_EQ(BinaryAnsiText(first.ref(), data), std::u16string(5000, u'z'));
  EXPECT_EQ(BinaryAnsiText(second.ref(), data), u"short");
  EXPECT_EQ(RawBinaryValue(second.ref(), data)->size(), 10u);
}

}  // namespace
}  // namespace edb
