// Windows-1252 in both directions over its whole upper range: every byte of
// 0x80 to 0x9F (where it differs from Latin-1) and a sample of 0xA0 to 0xFF,
// through the store's conversions and the body decoder's code page 1252.
#include "base/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "body/code_page.h"

namespace edb {
namespace {

// Bytes 0x80 to 0x9F as Windows-1252 defines them (Unicode's published
// table); the five bytes it leaves undefined read as the C1 control of the
// same value, as Windows' own conversion reads them.
constexpr char16_t kUpperControlsRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

bool Undefined(uint8_t byte) { return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D; }

TEST(Windows1252Test, EveryByteFrom0x80To0x9F) {
  for (int byte = 0x80; byte <= 0x9F; ++byte) {
    SCOPED_TRACE(byte);
    const char16_t expected = kUpperControlsRange[byte - 0x80];
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(Windows1252ToUnit(static_cast<uint8_t>(byte)), expected);
    EXPECT_EQ(Windows1252ToUtf16(one), std::u16string(1, expected));
    EXPECT_EQ(DecodeCodePage(kCodePageWindows1252, one), std::u16string(1, expected));
    // Back again: defined characters give their byte.
    if (!Undefined(static_cast<uint8_t>(byte))) EXPECT_EQ(Utf16ToWindows1252(std::u16string(1, expected)), one);
  }
}

TEST(Windows1252Test, LatinOneRangeIsTheSameValue) {
  for (int byte : {0x00, 0x41, 0x7F, 0xA0, 0xA4, 0xC4, 0xDF, 0xE9, 0xFF}) {
    SCOPED_TRACE(byte);
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(Windows1252ToUtf16(one), std::u16string(1, static_cast<char16_t>(byte)));
    EXPECT_EQ(Utf16ToWindows1252(std::u16string(1, static_cast<char16_t>(byte))), one);
  }
  // What it cannot hold becomes "?".
  EXPECT_EQ(Utf16ToWindows1252(u"\u0100\u20AD\U0001F600"), "????");  // the emoji is two units
}

}  // namespace
}  // namespace edb
