// Plain-text and HTML body bytes decoded to text: code pages, charset
// declarations, byte-order marks, and the UTF-16 guess.
#include "body/body_text.h"

#include <gtest/gtest.h>

#include <string>

#include "base/text_encoding.h"

namespace edb {
namespace {

std::string Utf16Le(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::string Plain(std::string_view bytes, uint32_t code_page) {
  CodePageDecoder decoder;
  return Utf16ToUtf8(DecodePlainBody(bytes, code_page, &decoder));
}

std::string Html(std::string_view bytes) {
  CodePageDecoder decoder;
  return Utf16ToUtf8(DecodeHtmlBody(bytes, &decoder));
}

TEST(BodyTextTest, PlainBodiesFollowTheColumnCodePage) {
  const std::u16string text = u"Gr\u00FC\u00DFe ~ \\ \u20AC\t\u65E5\u672C\U0001F600\n";
  EXPECT_EQ(Plain(Utf16Le(text) + std::string(2, '\0'), 1200), Utf16ToUtf8(text));
  EXPECT_EQ(Plain("Gr\xfc\xdf" "e ~ \x80\x7f", 1252), "Gr\u00FC\u00DFe ~ \u20AC\x7f");
  EXPECT_EQ(Plain("\xcf\xf0\xe8", 1251), "\u041F\u0440\u0438");
  // Code page not known: UTF-16 is recognised, 8-bit text is Windows-1252.
  EXPECT_EQ(Plain(Utf16Le(u"Hi \u00E9"), 0), "Hi \u00E9");
  EXPECT_EQ(Plain("Hi \xe9", 0), "Hi \u00E9");
  // NUL characters are the only ones dropped.
  EXPECT_EQ(Plain(std::string("a\0b", 3), 1252), "ab");
}

TEST(BodyTextTest, Utf16GuessNeedsTextThatLooksLikeIt) {
  EXPECT_TRUE(LooksLikeUtf16Le(Utf16Le(u"Hello, world")));
  EXPECT_TRUE(LooksLikeUtf16Le(Utf16Le(u"Gr\u00FC\u00DFe aus K\u00F6ln") + std::string(2, '\0')));
  EXPECT_FALSE(LooksLikeUtf16Le("Hello, world"));
  EXPECT_FALSE(LooksLikeUtf16Le(std::string("a\0\0\0b\0", 6)));  // zero unit inside
  EXPECT_FALSE(LooksLikeUtf16Le(Utf16Le(u"ab\xD800" u"cd")));     // unpaired surrogate
  EXPECT_FALSE(LooksLikeUtf16Le(""));
}

TEST(BodyTextTest, HtmlCharsetComesFromTheDeclarationOrTheBytes) {
  EXPECT_EQ(DetectHtmlCharset("<html><head><meta charset=\"ISO-8859-2\"></head>"), "iso-8859-2");
  EXPECT_EQ(DetectHtmlCharset("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1251\">"),
            "windows-1251");
  EXPECT_EQ(DetectHtmlCharset("<meta name=x><meta charset=utf-16>"), "utf-8");
  EXPECT_EQ(DetectHtmlCharset("\xEF\xBB\xBF<meta charset=iso-8859-1>"), "utf-8");
  EXPECT_EQ(DetectHtmlCharset(std::string("\xFF\xFE<\0p\0", 6)), "utf-16le");
  EXPECT_EQ(DetectHtmlCharset(Utf16Le(u"<html><body>x</body></html>")), "utf-16le");
  EXPECT_EQ(DetectHtmlCharset("<p>caf\xc3\xa9</p>"), "utf-8");
  EXPECT_EQ(DetectHtmlCharset("<p>caf\xe9</p>"), "windows-1252");
}

TEST(BodyTextTest, HtmlBodiesAreDecodedInTheirCharset) {
  EXPECT_EQ(Html("<meta charset=iso-8859-2><p>\xb1\xe6</p>"), "<meta charset=iso-8859-2><p>\u0105\u0107</p>");
  EXPECT_EQ(Html("<meta charset=\"shift_jis\">\x82\xa0"), "<meta charset=\"shift_jis\">\u3042");
  EXPECT_EQ(Html("<meta charset=iso-8859-1>\x80"), "<meta charset=iso-8859-1>\u20AC");
  EXPECT_EQ(Html("\xEF\xBB\xBF<p>\xe2\x82\xac</p>"), "<p>\u20AC</p>");
  EXPECT_EQ(Html(std::string("\xFE\xFF\0<\0p\0>", 8)), "<p>");
  EXPECT_EQ(Html("<p>caf\xe9 ~</p>"), "<p>caf\u00E9 ~</p>");
  // A charset nobody knows falls back to what the bytes are.
  EXPECT_EQ(Html("<meta charset=x-nonsense>caf\xc3\xa9"), "<meta charset=x-nonsense>caf\u00E9");
  EXPECT_EQ(Html("<meta charset=x-nonsense>caf\xe9"), "<meta charset=x-nonsense>caf\u00E9");
}

}  // namespace
}  // namespace edb
