// The small encodings every store value goes through: times, identifier
// texts and table names, text code pages, RTF escapes, address entries.
#include <gtest/gtest.h>

#include <algorithm>

#include "storegen/address_entry.h"
#include "storegen/file_time.h"
#include "storegen/identifiers.h"
#include "storegen/rtf_authoring.h"
#include "storegen/text_codec.h"
#include "stored_table_support.h"

namespace {

using namespace storegen;

TEST(StorePieces, FileTimesMatchKnownInstants) {
  EXPECT_EQ(MakeFileTime(1601, 1, 1).ticks, 0u);
  EXPECT_EQ(MakeFileTime(1970, 1, 1).ticks, 116444736000000000u);  // the Unix epoch
  EXPECT_EQ(MakeFileTime(2000, 2, 29, 23, 59, 59).ticks, 125963423990000000u);
  EXPECT_EQ(IsoTimeText(ParseIsoTime("2004-01-05T13:07:09Z")), "2004-01-05T13:07:09Z");
  EXPECT_THROW(MakeFileTime(2003, 2, 29), std::invalid_argument);
  for (const char* bad : {"2004-01-05", "2004-01-05T13:07:09+01", "2004-01-05T24:00:00Z", "2004-01-05T13:07:09ZZ"}) {
    EXPECT_THROW(ParseIsoTime(bad), std::invalid_argument) << bad;
  }
}

TEST(StorePieces, IdentifierTextsAndContentsTableNames) {
  EXPECT_EQ(IdText(0x01000000000091c1), "1000000000091c1");
  EXPECT_EQ(IdText(0), "0");
  EXPECT_EQ(ParseIdText("1000000000091C1"), 0x01000000000091c1u);
  EXPECT_THROW(ParseIdText("10000000000000000"), std::invalid_argument);
  EXPECT_THROW(ParseIdText("12g"), std::invalid_argument);
  EXPECT_EQ(ContentsTableName("1000000000091c1"), "1-91C1");
  EXPECT_EQ(ContentsTableName("91c1"), "1-1C1");
  EXPECT_EQ(ContentsTableName("5000000000a01"), "1-A01");
  EXPECT_EQ(ContentsTableName("1f000000000091c1"), "1-F000000000091C");  // 16 digits: the last one is cut
  const auto bytes = IdBytes(0x01000000000091c1);
  EXPECT_EQ(storegentest::BigEndian64({bytes.begin(), bytes.end()}), 0x01000000000091c1u);
}

TEST(StorePieces, TextEncodings) {
  EXPECT_EQ(Utf8ToUtf16("a€😀"), (std::u16string{u'a', 0x20AC, 0xD83D, 0xDE00}));
  EXPECT_EQ(Utf8ToWindows1252("café €ž😀"), "caf\xE9 \x80\x9E?");
  EXPECT_EQ(Utf8ToWindows1252Html("€😀"), "\x80&#128512;");
  for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\x80"}) {
    EXPECT_THROW(DecodeUtf8(bad), std::invalid_argument);
  }
}

TEST(StorePieces, RtfEscapesAndDocuments) {
  EXPECT_EQ(RtfEscape("a\\b{c}\né😀"), "a\\\\b\\{c\\}\\par\n\\'e9\\u-10179?\\u-8704?");
  Body html_body;
  html_body.rtf_kind = RtfKind::kFromHtml;
  html_body.rtf_source = "<html><head><title>T</title></head><body><p>A &amp; B</p></body></html>";
  const std::string rtf = RtfOf(html_body);
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 "));
  EXPECT_NE(rtf.find("{\\*\\htmltag64 <p>}"), std::string::npos);
  EXPECT_NE(rtf.find("{\\*\\htmltag0 T}"), std::string::npos);  // head text is HTML only
  EXPECT_NE(rtf.find("\\htmlrtf &\\htmlrtf0"), std::string::npos);
  EXPECT_EQ(std::count(rtf.begin(), rtf.end(), '{'), std::count(rtf.begin(), rtf.end(), '}'));
}

TEST(StorePieces, AddressEntriesDecodeWithoutNoise) {
  const auto entry = OneOffEntry({"Anna Berg", "SMTP", "anna@fabrikam.com"});
  EXPECT_EQ(storegentest::HexDecoded(entry), "      Anna Berg SMTP anna@fabrikam.com ");
  // Letters above 127 survive the decoding; the provider id still does not.
  EXPECT_EQ(storegentest::HexDecoded(OneOffEntry({"S\u00f8ren \u00d8deg\u00e5rd", "SMTP", "soren@contoso.no"})),
            "      S\u00f8ren \u00d8deg\u00e5rd SMTP soren@contoso.no ");
  const auto list = RecipientList({{RecipientType::kCc, {"Bo", "SMTP", "bo@x.se"}}});
  ASSERT_EQ(list.size(), 12 + OneOffEntry({"Bo", "SMTP", "bo@x.se"}).size());  // count, type, size, entry
  EXPECT_EQ(list[0], 1);
  EXPECT_EQ(list[4], 2);  // Cc
  EXPECT_NE(storegentest::HexDecoded(list).find(" Bo SMTP bo@x.se "), std::string::npos);
}

}  // namespace
