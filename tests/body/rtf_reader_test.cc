// The RTF reader: text, destinations, escapes, code pages, Unicode, group
// errors, state between documents, and encapsulated HTML.
#include "body/rtf_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "base/text_encoding.h"

namespace edb {
namespace {

// The text of `rtf` as UTF-8, for readable expectations.
std::string Text(std::string_view rtf, RtfResult* result = nullptr) {
  RtfText out;
  RtfResult r = ParseRtf(rtf, &out);
  if (result != nullptr) *result = r;
  return Utf16ToUtf8(out.text);
}

TEST(RtfReaderTest, ReadsTextAndSkipsDestinations) {
  EXPECT_EQ(Text("{\\rtf1\\ansi Hello\\par World}"), "Hello\nWorld");
  EXPECT_EQ(Text("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
                 "{\\info{\\author Me}{\\title T}}Text}"),
            "Text");
  EXPECT_EQ(Text("{\\rtf1{\\*\\generator Writer;}Body}"), "Body");
  EXPECT_EQ(Text("{\\rtf1{\\*\\b x}y}"), "xy");
  EXPECT_EQ(Text("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}} after}"), "link after");
  EXPECT_EQ(Text("{\\rtf1 a{\\pict\\pngblip 89504e47}b}"), "ab");
  // Alternatives: \upr's ANSI part gives way to its \ud part, an object to
  // its result.
  EXPECT_EQ(Text("{\\rtf1{\\upr{ansi}{\\*\\ud{uni}}}|{\\object{\\*\\objdata 0102}{\\result shown}}}"), "uni|shown");
  // Line ends in the source are not text; a backslash before one is \par.
  EXPECT_EQ(Text("{\\rtf1 a\r\nb\\\nc}"), "ab\nc");
}

TEST(RtfReaderTest, ControlWordsAndSymbolsGiveTheirCharacters) {
  EXPECT_EQ(Text("{\\rtf1 a\\line b\\tab c}"), "a\nb\tc");
  EXPECT_EQ(Text("{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}"),
            "\u2014\u2013\u2022\u2018\u2019\u201C\u201D");
  EXPECT_EQ(Text("{\\rtf1 no\\~break non\\_breaking opt\\-ional}"), "no\u00A0break non\u2011breaking optional");
  EXPECT_EQ(Text("{\\rtf1 \\{\\}\\\\}"), "{}\\");
  // A control symbol keeps the blank after it; a control word takes one.
  EXPECT_EQ(Text("{\\rtf1 a\\~ b\\{ c\\par  d}"), "a\u00A0 b{ c\n d");
}

TEST(RtfReaderTest, HexEscapesAndBytesFollowTheCodePage) {
  EXPECT_EQ(Text("{\\rtf1\\ansi caf\\'e9 \\'80}"), "caf\u00E9 \u20AC");
  EXPECT_EQ(Text("{\\rtf1\\ansi caf\xe9}"), "caf\u00E9");
  EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\xe2\xe5\xf2}"), "\u041F\u0440\u0438\u0432\u0435\u0442");
  EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'82\\'a2}"), "\u3042\u3044");
  // A font's charset wins over the document's code page for its text.
  EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}"
                 "\\f0\\'e9{\\f1\\'e9}\\'e9}"),
            "\u00E9\u0439\u00E9");
  EXPECT_EQ(Text("{\\rtf1 a\\'00b}"), "ab");

  RtfResult result;
  EXPECT_EQ(Text("{\\rtf1 x\\'4gy}", &result), "x4gy");
  EXPECT_EQ(result, RtfResult::kBadHexEscape);
}

TEST(RtfReaderTest, UnicodeEscapesSkipTheirFallback) {
  EXPECT_EQ(Text("{\\rtf1 \\u8364?x}"), "\u20ACx");
  EXPECT_EQ(Text("{\\rtf1 \\u8364\\'80x}"), "\u20ACx");
  EXPECT_EQ(Text("{\\rtf1\\uc2 \\u8364??x\\uc0\\u8364 y}"), "\u20ACx\u20ACy");
  // Negative values count from 65536; two halves make one character.
  EXPECT_EQ(Text("{\\rtf1 \\u-10179?\\u-8704?!}"), "\U0001F600!");
  EXPECT_EQ(Text("{\\rtf1 \\u-4064?}"), "\uF020");
  // \uc is scoped to its group.
  EXPECT_EQ(Text("{\\rtf1{\\uc3 a}\\u233?b}"), "a\u00E9b");
}

TEST(RtfReaderTest, BinaryDataIsNeverText) {
  EXPECT_EQ(Text("{\\rtf1 a\\bin3 x{yb}"), "ab");
  EXPECT_EQ(Text("{\\rtf1 a{\\*\\blob\\bin3 }}}}b}"), "ab");
  // \bin without a number has none of its own: it does not borrow one.
  EXPECT_EQ(Text("{\\rtf1\\fs20 a\\bin b}"), "ab");
  // A count beyond the input ends there.
  EXPECT_EQ(Text("{\\rtf1 a\\bin99999999 b}"), "a");
}

TEST(RtfReaderTest, GroupErrorsKeepTheTextReadSoFar) {
  RtfResult result;
  EXPECT_EQ(Text("{\\rtf1 done}}trailing", &result), "done");
  EXPECT_EQ(result, RtfResult::kOk);
  EXPECT_EQ(Text("} stray", &result), "");
  EXPECT_EQ(result, RtfResult::kUnmatchedBrace);
  EXPECT_EQ(Text("{\\rtf1 open {group", &result), "open group");
  EXPECT_EQ(result, RtfResult::kUnclosedGroup);
  EXPECT_EQ(Text("{\\rtf1 end\\", &result), "end");
  EXPECT_EQ(result, RtfResult::kEndAfterBackslash);
  // Deep nesting beyond the saved states still reads.
  std::string deep = "{\\rtf1 " + std::string(10000, '{') + "x" + std::string(10000, '}') + "y}";
  EXPECT_EQ(Text(deep, &result), "xy");
  EXPECT_EQ(result, RtfResult::kOk);
}

TEST(RtfReaderTest, NothingCarriesOverBetweenDocuments) {
  RtfReader reader;
  RtfText out;
  reader.Parse("{\\rtf1\\ansicpg1251\\uc3{\\fonttbl{\\f0 A;", &out);
  reader.Parse("{\\rtf1{\\*\\unknown", &out);
  reader.Parse("{\\rtf1 x\\bin5", &out);
  EXPECT_EQ(reader.Parse("{\\rtf1 Hello \\'e9\\u8364?!}", &out), RtfResult::kOk);
  EXPECT_EQ(Utf16ToUtf8(out.text), "Hello \u00E9\u20AC!");
  EXPECT_EQ(out.char_count, out.text.size());
}

TEST(RtfReaderTest, LongDocumentsComeOutWhole) {
  std::string body;
  for (int i = 0; body.size() < 70000; ++i) body += static_cast<char>('a' + i % 26);
  RtfText out;
  ASSERT_EQ(ParseRtf("{\\rtf1\\ansi " + body + "}", &out), RtfResult::kOk);
  EXPECT_EQ(out.text.size(), body.size());
  EXPECT_EQ(out.char_count, body.size());
  EXPECT_EQ(Utf16ToUtf8(out.text), body);
}

TEST(RtfReaderTest, ReadsFromStreams) {
  std::istringstream in(std::string("{\\rtf1 a\\par\r\nb\x1a c}"), std::ios::binary);
  RtfText out;
  EXPECT_EQ(ParseRtf(in, &out), RtfResult::kOk);
  EXPECT_EQ(Utf16ToUtf8(out.text), "a\nb\x1a c");
}

TEST(RtfReaderTest, ExtractsEncapsulatedHtml) {
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fswiss\\fcharset204 "
      "Arial;}}\r\n"
      "{\\*\\htmltag64}\\uc1\\pard\\plain\\f0\\fs24\r\n"
      "{\\*\\htmltag <html><head>\\par\r\n<style>p \\{color:red\\}</style>\\par\r\n\\tab <!-- note -->}\r\n"
      "{\\*\\htmltag <p class=\"x\">}{\\htmlrtf \\f1 \\htmlrtf0 Caf\\'e9 \\u8364? {\\*\\htmltag <b>}"
      "{\\htmlrtf\\b\\htmlrtf0 bold{\\*\\htmltag </b>}}\\htmlrtf\\par\\htmlrtf0}\r\n"
      "{\\*\\htmltag &nbsp;}\\htmlrtf \\'a0\\htmlrtf0 {\\*\\htmltag &lt;}\\htmlrtf <\\htmlrtf0 \\{\\}\\\\"
      "{\\*\\htmltag <br>\\par}\\htmlrtf\\line\\htmlrtf0{\\*\\htmltag\\'e9\\u8364?}{\\*\\mhtmltag <img src=a>}"
      "{\\*\\htmltag </p></html>}}";
  RtfText out;
  EXPECT_EQ(ParseRtf(rtf, &out), RtfResult::kOk);
  EXPECT_TRUE(out.html);
  EXPECT_EQ(Utf16ToUtf8(out.text),
            "<html><head>\r\n<style>p {color:red}</style>\r\n\t<!-- note -->"
            "<p class=\"x\">Caf\u0439 \u20AC <b>bold</b>&nbsp;&lt;{}\\<br>\r\n\u00E9\u20AC</p></html>");

  // Without \fromhtml1 the same document is RTF text.
  RtfText text;
  std::string plain = rtf;
  plain.replace(plain.find("\\fromhtml1"), 10, "");
  ParseRtf(plain, &text);
  EXPECT_FALSE(text.html);
  EXPECT_EQ(Utf16ToUtf8(text.text).rfind("Caf\u0439 \u20AC bold", 0), 0u);
}

}  // namespace
}  // namespace edb
