// The value renderers on databases written by Windows' own ESE engine: every
// column type, NULLs, long values, compressed values, multi-values, code
// pages 1252 and 1200, and the binary readings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render_db_support.h"
#include "store/ansi_text.h"
#include "store/binary_readings.h"
#include "store/value_text.h"
#include "test_support.h"

namespace edb {
namespace {

using edbtest::RealDatabase;
using edbtest::RecordUnderTest;
using edbtest::TableUnderTest;

const std::optional<std::u16string> kDefault = u"dflt";
const std::optional<std::u16string> kNoDefault;

// A record whose long values are counted, or fail on opening or on reading
// a segment; everything else is the real record's.
class ScriptedLongValues : public ese::Record {
 public:
  enum class Failure { kNone, kOpen, kSegment };
  ScriptedLongValues(const ese::Record& real, Failure failure) : real_(real), failure_(failure) {}

  int value_count() const override { return real_.value_count(); }
  Status ReadValue(int value, ese::Value* out) const override { return real_.ReadValue(value, out); }
  Result<std::u16string> ValueText(int value) const override { return real_.ValueText(value); }
  Result<std::optional<uint64_t>> ReadFixed(int value) const override { return real_.ReadFixed(value); }
  Result<std::unique_ptr<ese::MultiValue>> OpenMultiValue(int value) const override {
    return real_.OpenMultiValue(value);
  }
  Result<std::unique_ptr<ese::LongValue>> OpenLongValue(int value) const override {
    ++opened;
    if (failure_ == Failure::kOpen) return Status::Corruption("scripted");
    if (failure_ == Failure::kSegment) return std::unique_ptr<ese::LongValue>(std::make_unique<DamagedSegments>());
    return real_.OpenLongValue(value);
  }

  mutable int opened = 0;

 private:
  struct DamagedSegments : ese::LongValue {
    int segment_count() const override { return 1; }
    Status ReadSegment(int, std::vector<uint8_t>*) override { return Status::Corruption("scripted"); }
  };

  const ese::Record& real_;
  Failure failure_;
};

class RenderBasicDatabase : public ::testing::Test {
 protected:
  TableUnderTest table{RealDatabase("basic.edb"), "basic"};
  RecordUnderTest first{table, 0};
  RecordUnderTest second{table, 1};

  std::optional<std::u16string> Text(const RecordUnderTest& record, const char* column,
                                     const std::optional<std::u16string>& fallback = kDefault) {
    return ValueText(record.ref(), table.Column(column), fallback);
  }
};

TEST_F(RenderBasicDatabase, IntegersKeepTheirSignednessRules) {
  EXPECT_EQ(Text(first, "Id"), u"1");
  EXPECT_EQ(Text(first, "UnsignedByte"), u"213");
  EXPECT_EQ(Text(first, "Short"), u"-1337");
  EXPECT_EQ(Text(first, "Long"), u"4281595959");  // -13371337 as unsigned 32 bits
  EXPECT_EQ(Text(first, "LongLong"), u"-13371337");
  EXPECT_EQ(Text(first, "Currency"), u"1337133713371337");
  EXPECT_EQ(Text(first, "UnsignedShort"), u"1337");
  EXPECT_EQ(Text(second, "Currency"), u"-1339133913391339");
}

TEST_F(RenderBasicDatabase, BitsFloatsDatesAndGuids) {
  EXPECT_EQ(Text(first, "Bit"), u"false");
  EXPECT_EQ(Text(second, "Bit"), u"true");
  EXPECT_EQ(Text(first, "IEEESingle"), u"1.000000");
  EXPECT_EQ(Text(second, "IEEESingle"), u"-2.000000");
  EXPECT_EQ(Text(first, "IEEEDouble"), u"13371337.133713");
  EXPECT_EQ(Text(second, "IEEEDouble"), u"-13391339.133913");
  // These DateTime values are OLE dates (doubles); read as FILETIMEs their
  // year is past 9999.
  EXPECT_EQ(Text(first, "DateTime"), u"(0x40e1af80 0x00000000)");
  EXPECT_EQ(Text(first, "GUID"), u"f10a363f6667dc469af20dacf295c2a1");
}

TEST_F(RenderBasicDatabase, NullGivesTheDefaultAndFailureGivesNone) {
  for (const char* column : {"UnsignedLong", "LongLong", "GUID", "UnsignedShort"}) {
    EXPECT_EQ(Text(second, column), kDefault) << column;
    EXPECT_EQ(Text(second, column, kNoDefault), std::nullopt) << column;
  }
  EXPECT_EQ(ValueText(second.ref(), 99, kDefault), std::nullopt);  // no such value
  EXPECT_EQ(ValueText(RecordRef{}, 0, kDefault), std::nullopt);   // no record
}

TEST_F(RenderBasicDatabase, IdentifierAndFiletimeOfCurrency) {
  const int currency = table.Column("Currency");
  EXPECT_EQ(IdentifierText(first.ref(), currency, ByteOrder::kLittleEndian, kNoDefault), u"4c01db400b0c9");
  EXPECT_EQ(IdentifierText(first.ref(), currency, ByteOrder::kBigEndian, kNoDefault), u"c9b000b41dc00400");
  EXPECT_EQ(FiletimeBytesText(first.ref(), currency, ByteOrder::kLittleEndian), u"Mar 28, 1605 14:36:11");
  EXPECT_EQ(IdentifierText(first.ref(), currency, static_cast<ByteOrder>('x'), kDefault), std::nullopt);
}

TEST_F(RenderBasicDatabase, BinaryReadingsRefuseOtherColumnTypes) {
  for (const char* column : {"Long", "GUID"}) {
    const int position = table.Column(column);
    EXPECT_EQ(IdentifierText(first.ref(), position, ByteOrder::kBigEndian, kDefault), std::nullopt) << column;
    EXPECT_EQ(Number32Text(first.ref(), position, ByteOrder::kBigEndian), std::nullopt) << column;
    EXPECT_EQ(FiletimeBytesText(first.ref(), position, ByteOrder::kBigEndian), std::nullopt) << column;
    EXPECT_EQ(GuidText(first.ref(), position, ByteOrder::kBigEndian), std::nullopt) << column;
    EXPECT_EQ(RawBinaryValue(first.ref(), position), std::nullopt) << column;
  }
}

class RenderTextDatabase : public ::testing::Test {
 protected:
  TableUnderTest table{RealDatabase("text.edb"), "text"};
  RecordUnderTest record{table, 0};

  std::optional<std::u16string> Text(const char* column, const std::optional<std::u16string>& fallback = kDefault) {
    return ValueText(record.ref(), table.Column(column), fallback);
  }
};

TEST_F(RenderTextDatabase, CodePages1252And1200) {
  EXPECT_EQ(Text("ASCII"), u"Simple ASCII text");
  EXPECT_EQ(Text("Unicode"), u"Simple Unicode text \U0001F98A");  // kept as a surrogate pair
  EXPECT_EQ(Text("FixedASCII"), u"Fixed ASCII text" + std::u16string(239, u' '));
  EXPECT_EQ(Text("LongTinyASCII"), u"Tiny ASCII");  // long text kept in the record (flags 0x01)
  EXPECT_EQ(Text("LongTinyCompressedASCII"), u"Tiny c ASCII");  // too short to be compressed
  EXPECT_EQ(Text("NullableASCII"), kDefault);
  EXPECT_EQ(Text("NullableTaggedUnicode", kNoDefault), std::nullopt);
}

TEST_F(RenderTextDatabase, CompressedLongTextIsExpanded) {
  // Flags 0x03 (variable size and compressed), 838 bytes of 7-bit text.
  EXPECT_EQ(Text("MaxLongCompressedASCII"),
            u"Max long compressed ASCII text that can be a bit longer " + std::u16string(900, u'a'));
}

TEST_F(RenderTextDatabase, LongValuesAreReadThroughAndGiveTheDefault) {
  // Flags 0x05: the record holds the long value's key.
  ScriptedLongValues counting(*record.record, ScriptedLongValues::Failure::kNone);
  const RecordRef ref{&counting, record.columns};
  for (const char* column : {"LongASCII", "MaxLongUnicode"}) {
    EXPECT_EQ(ValueText(ref, table.Column(column), kDefault), kDefault) << column;
    EXPECT_EQ(ValueText(ref, table.Column(column), kNoDefault), std::nullopt) << column;
  }
  EXPECT_EQ(counting.opened, 4);
}

TEST_F(RenderTextDatabase, UnreadableLongValueGivesNone) {
  for (auto failure : {ScriptedLongValues::Failure::kOpen, ScriptedLongValues::Failure::kSegment}) {
    ScriptedLongValues failing(*record.record, failure);
    const RecordRef ref{&failing, record.columns};
    EXPECT_EQ(ValueText(ref, table.Column("LongASCII"), kDefault), std::nullopt);
    EXPECT_EQ(AnsiValueText(ref, table.Column("LongASCII")), std::nullopt);
  }
}

TEST_F(RenderTextDatabase, AnsiTextStopsAtTheFirstZeroByte) {
  EXPECT_EQ(AnsiValueText(record.ref(), table.Column("ASCII")), u"Simple ASCII text");
  EXPECT_EQ(AnsiValueText(record.ref(), table.Column("Unicode")), u"S");  // UTF-16 bytes: 'S', 0
  EXPECT_EQ(AnsiValueText(record.ref(), table.Column("NullableASCII")), std::nullopt);
  // A long value's bytes are its content, not the key the record holds.
  EXPECT_EQ(AnsiValueText(record.ref(), table.Column("LongASCII")), u"Long ASCII text " + std::u16string(1024, u'a'));
}

class RenderBinaryDatabase : public ::testing::Test {
 protected:
  TableUnderTest table{RealDatabase("binary.edb"), "binary"};
  RecordUnderTest record{table, 0};

  int Column(const char* name) { return table.Column(name); }
};

TEST_F(RenderBinaryDatabase, BinaryValuesAsHexadecimal) {
  EXPECT_EQ(ValueText(record.ref(), Column("Binary"), kDefault), u"746573742062696e6172792064617461");
  EXPECT_EQ(ValueText(record.ref(), Column("NullableBinary"), kDefault), kDefault);
  std::optional<std::u16string> fixed = ValueText(record.ref(), Column("FixedBinary"), kDefault);
  ASSERT_TRUE(fixed);
  EXPECT_EQ(*fixed, u"746573742066697865642062696e6172792064617461" + std::u16string(2 * 233, u'0'));
  // Compressed binary (flags 0x03): the stored bytes, not expanded.
  std::optional<std::u16string> compressed = ValueText(record.ref(), Column("MaxLongCompressedBinary"), kDefault);
  ASSERT_TRUE(compressed);
  EXPECT_EQ(compressed->size(), 2u * 821);
  EXPECT_EQ(compressed->substr(0, 8), u"0ef4f29c");
  EXPECT_EQ(ValueText(record.ref(), Column("LongCompressedBinary"), kDefault), kDefault);  // long value
}

TEST_F(RenderBinaryDatabase, AnsiAndRawBytesOfBinaryColumns) {
  EXPECT_EQ(BinaryAnsiText(record.ref(), Column("Binary")), u"test binary data");
  EXPECT_EQ(BinaryAnsiText(record.ref(), Column("FixedBinary")), u"test fixed binary data");
  EXPECT_EQ(BinaryAnsiText(record.ref(), Column("LongBinary")), u"test long binary data " + std::u16string(1000, u'a'));
  EXPECT_EQ(BinaryAnsiText(record.ref(), Column("NullableBinary")), std::nullopt);

  std::optional<std::vector<uint8_t>> raw = RawBinaryValue(record.ref(), Column("FixedBinary"));
  ASSERT_TRUE(raw);
  ASSERT_EQ(raw->size(), 255u);
  EXPECT_EQ(std::string(raw->begin(), raw->begin() + 22), "test fixed binary data");
  EXPECT_EQ(RawBinaryValue(record.ref(), Column("NullableBinary")), std::vector<uint8_t>{});
}

TEST_F(RenderBinaryDatabase, SixteenByteBinaryReadings) {
  const int binary = Column("Binary");  // "test binary data", 16 bytes
  EXPECT_EQ(GuidText(record.ref(), binary, ByteOrder::kLittleEndian), u"74736574-6220-6e69-6172-792064617461");
  EXPECT_EQ(GuidText(record.ref(), binary, ByteOrder::kBigEndian), u"74657374-2062-696e-6172-792064617461");
  EXPECT_EQ(IdentifierText(record.ref(), binary, ByteOrder::kBigEndian, kDefault), std::nullopt);
  EXPECT_EQ(Number32Text(record.ref(), binary, ByteOrder::kBigEndian), std::nullopt);
  EXPECT_EQ(FiletimeBytesText(record.ref(), binary, ByteOrder::kBigEndian), std::nullopt);
  EXPECT_EQ(IdentifierText(record.ref(), Column("NullableBinary"), ByteOrder::kBigEndian, kDefault), kDefault);
  EXPECT_EQ(GuidText(record.ref(), Column("LongBinary"), ByteOrder::kBigEndian), std::nullopt);  // type 11
}

class RenderMultiDatabase : public ::testing::Test {
 protected:
  TableUnderTest table{RealDatabase("multi.edb"), "multi"};
  RecordUnderTest first{table, 0};
  RecordUnderTest second{table, 1};

  std::optional<std::u16string> Text(const RecordUnderTest& record, const char* column) {
    return ValueText(record.ref(), table.Column(column), kDefault);
  }
};

TEST_F(RenderMultiDatabase, LastMemberRendered) {
  EXPECT_EQ(Text(first, "UnsignedByte"), u"ff");
  EXPECT_EQ(Text(first, "Short"), u"ff7f");
  EXPECT_EQ(Text(first, "GUID"), u"6aff12221267e44fbb4a21e6d0e043d1");
  EXPECT_EQ(Text(first, "ASCII"), u"Some ASCII text that has multiple values, this is value 3");
  EXPECT_EQ(Text(first, "Unicode"),
            u"Some Unicode text that has multiple values, this is value 3 \U0001F98A\U0001F98A\U0001F98A");
  EXPECT_EQ(Text(second, "LongASCII"), u"Tiny ASCII 2");
  EXPECT_EQ(Text(second, "LongUnicode"), u"Tiny \U0001F98A\U0001F98A\U0001F98A");
}

TEST_F(RenderMultiDatabase, CompressedMemberAndSizeListedMultiValues) {
  // Flags 0x0b: a multi-value whose first member is 7-bit compressed.
  EXPECT_EQ(Text(second, "LongCompressedASCII"), std::u16string(35, u'c'));
  // Flags 0x18: not read member by member; the stored bytes as they are.
  EXPECT_EQ(Text(first, "Bit"), u"0100ff");
}

TEST_F(RenderMultiDatabase, MembersKeptAsLongValuesArePassedOver) {
  // Every member of these is a separate long value; the record only holds
  // their keys, which are no text of the value.
  for (const char* column : {"LongASCII", "LongBinary"}) {
    EXPECT_EQ(Text(first, column), kDefault) << column;
  }
  EXPECT_EQ(Text(second, "ASCII"), kDefault);  // NULL multi-valued column
}

TEST_F(RenderMultiDatabase, AnsiTextTakesTheFirstMemberWithData) {
  EXPECT_EQ(AnsiValueText(first.ref(), table.Column("ASCII")),
            u"Some ASCII text that has multiple values, this is value 1");
  EXPECT_EQ(AnsiValueText(second.ref(), table.Column("LongBinary")), u"Tiny binary 1");
  EXPECT_EQ(AnsiValueText(first.ref(), table.Column("LongASCII")), std::nullopt);
}

}  // namespace
}  // namespace edb
