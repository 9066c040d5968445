// The pure text functions behind the value renderers: hexadecimal in both
// directions, printable bytes, cleaning, 7-bit expansion, dates and the GUID
// layout.
#include <gtest/gtest.h>

#include <vector>

#include "store/binary_readings.h"
#include "store/byte_text.h"
#include "store/date_text.h"
#include "ese/decompress_7bit.h"

namespace edb {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(RenderHexText, TwoLowerCaseDigitsPerByteWithoutSeparators) {
  EXPECT_EQ(HexText(Bytes{0x0a, 0xff}), u"0aff");
  EXPECT_EQ(HexText(Bytes{0x00, 0x10, 0xab}), u"0010ab");
  EXPECT_EQ(HexText(Bytes{}), u"");
}

TEST(RenderHexDecodeText, KeepsBlankAndPrintableDropsTheRest) {
  EXPECT_EQ(HexDecodeText(u"41004a7e"), u"A J");
  EXPECT_EQ(HexDecodeText(u"4A6b"), u"Jk");       // either case
  EXPECT_EQ(HexDecodeText(u"20617a7b"), u" az");  // 122 kept, 123 dropped
  EXPECT_EQ(HexDecodeText(u"7c7d7e7f80ff"), u"");
  EXPECT_EQ(HexDecodeText(u"01091f41"), u"A");    // control values dropped
  EXPECT_EQ(HexDecodeText(u"5e2b28295b5d60"), u"^+()[]`");
  EXPECT_EQ(HexDecodeText(u"zz41"), u"A");        // not a hexadecimal pair
}

TEST(RenderHexDecodeText, ZeroOrOddLengthGivesEmptyText) {
  EXPECT_EQ(HexDecodeText(u""), u"");
  EXPECT_EQ(HexDecodeText(u"414"), u"");
  EXPECT_EQ(HexDecodeText(u"4"), u"");
}

TEST(RenderPrintableBytesText, KeepsOneTo125) {
  EXPECT_EQ(PrintableBytesText(Bytes{0x00, 0x01, 'A', 0x7d, 0x7e, 0x7f, 0xff}), std::u16string(u"\x01" u"A}"));
  EXPECT_EQ(PrintableBytesText(Bytes{}), u"");
}

TEST(RenderCleanText, DropsNulTabLineBreaksAndBackslash) {
  EXPECT_EQ(CleanText(u"x\ty\\z"), u"xyz");
  EXPECT_EQ(CleanText(std::u16string(u"a\0b\r\nc", 6)), u"abc");
  EXPECT_EQ(CleanText(u"fox \U0001F98A/"), u"fox \U0001F98A/");  // surrogate pair and slash kept
}

TEST(RenderDecompress7Bit, EightBytesGiveEightCharacters) {
  std::optional<Bytes> expanded = Decompress7Bit(Bytes{0x10, 0x41, 0xe1, 0x90, 0x58, 0x34, 0x1e, 0x91});
  ASSERT_TRUE(expanded);
  EXPECT_EQ(*expanded, (Bytes{0x10, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}));
}

TEST(RenderDecompress7Bit, LeftoverBitsComeAsOneMoreByte) {
  std::optional<Bytes> expanded = Decompress7Bit(Bytes{0x0b, 0xc8, 0x74, 0x08});
  ASSERT_TRUE(expanded);
  EXPECT_EQ(*expanded, (Bytes{0x0b, 'H', 'i', '!', 0x00}));
}

TEST(RenderDecompress7Bit, HeaderOnlyAndNoInput) {
  EXPECT_EQ(Decompress7Bit(Bytes{0x0b}), Bytes{0x0b});
  EXPECT_FALSE(Decompress7Bit(Bytes{}));
}

TEST(RenderDateText, FormatsUtcAndDropsFractions) {
  EXPECT_EQ(DateText(0), u"Jan 01, 1601 00:00:00");
  EXPECT_EQ(DateText(0x01c3d38cd3467c80), u"Jan 05, 2004 13:07:09");
  EXPECT_EQ(DateText(0x01c3d38cd3467c80 + 9'999'999), u"Jan 05, 2004 13:07:09");
  EXPECT_EQ(DateText(0x01bf8311159da980), u"Feb 29, 2000 23:59:59");
  EXPECT_EQ(DateText(0x24c85a5ed127a980), u"Dec 31, 9999 23:59:59");
}

TEST(RenderDateText, YearTenThousandOrLaterGivesHexadecimalForm) {
  EXPECT_EQ(DateText(0x24c85a5ed1c04000), u"(0x24c85a5e 0xd1c04000)");
  EXPECT_EQ(DateText(0x7fffffffffffffff), u"(0x7fffffff 0xffffffff)");
  EXPECT_EQ(DateText(0xffffffffffffffff), u"(0xffffffff 0xffffffff)");
}

TEST(RenderGuidLayout, FirstThreeGroupsFollowByteOrderLastTwoStoredOrder) {
  const std::array<uint8_t, 16> guid{0x0d, 0xd0, 0x01, 0xc0, 0xad, 0xde, 0xef, 0xbe,
                                     0xfa, 0xce, 0xfe, 0xed, 0xde, 0xad, 0xbe, 0xef};
  EXPECT_EQ(GuidLayoutText(guid, ByteOrder::kLittleEndian), u"c001d00d-dead-beef-face-feeddeadbeef");
  EXPECT_EQ(GuidLayoutText(guid, ByteOrder::kBigEndian), u"0dd001c0-adde-efbe-face-feeddeadbeef");
  EXPECT_FALSE(GuidLayoutText(guid, static_cast<ByteOrder>('B')));
}

}  // namespace
}  // namespace edb
