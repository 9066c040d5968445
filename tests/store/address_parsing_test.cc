// Sender formatter, recipient extractor and the address patterns under them.
// Inputs are built the way the store delivers them: 8-bit entry bytes
// rendered as hexadecimal text.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "store/address_parsing.h"
#include "store/byte_text.h"
#include "store/pattern_match.h"

namespace edb {
namespace {

// `entry` (zero bytes included) as the hexadecimal text ValueText gives.
template <size_t N>
std::u16string Rendered(const char (&entry)[N]) {
  return HexText(std::span(reinterpret_cast<const uint8_t*>(entry), N - 1));
}

TEST(AddressPatterns, LeftmostLongestMatchOfTheAddressPatternByDefault) {
  EXPECT_EQ(PatternMatch("to: ann.lee@mail.contoso.com, bob@x.org"), "ann.lee@mail.contoso.com");
  EXPECT_EQ(PatternMatch("John Smith"), std::nullopt);
  EXPECT_EQ(PatternMatch("John Smith", AddressPattern::kTwoWords), "John Smith");
  EXPECT_EQ(PatternMatch("John ", AddressPattern::kWordThenBlank), "John ");
  EXPECT_EQ(PatternMatch("John", AddressPattern::kWordThenBlank), std::nullopt);
  // Zero bytes do not end the search.
  EXPECT_EQ(PatternMatch(std::string_view("a\0bob@x.org", 11)), "bob@x.org");
}

TEST(AddressPatterns, SharedAcrossThreads) {
  std::vector<std::thread> threads;
  std::vector<int> wrong(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&wrong, t] {
      for (int i = 0; i < 300; ++i) {
        if (ExtractRecipientAddresses(Rendered("ann@contoso.com\0bob@contoso.com")) !=
            u"ann@contoso.com,bob@contoso.com,") {
          ++wrong[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

TEST(SenderFormatter, CascadeOfPatterns) {
  // Two words, " SMTP" and an address: "w w<address>".
  EXPECT_EQ(FormatSenderAddress(Rendered("John Smith\0SMTP\0john.smith@contoso.com\0")),
            u"John Smith<john.smith@contoso.com>");
  // One word, " SMTP" and an address: blanks removed.
  EXPECT_EQ(FormatSenderAddress(Rendered("Ann\0SMTP\0ann@contoso.com\0")), u"Ann<ann@contoso.com>");
  // Two words and an address: the whole cleaned text, no angle brackets.
  EXPECT_EQ(FormatSenderAddress(Rendered("\x01Mr John john@contoso.com\0")), u"Mr John john@contoso.com ");
  // An address alone, out of cleaned punctuation.
  EXPECT_EQ(FormatSenderAddress(Rendered("(ann@contoso.com)")), u"ann@contoso.com");
  // Two words, then one word followed by a blank.
  EXPECT_EQ(FormatSenderAddress(Rendered("John Smith")), u"John Smith");
  EXPECT_EQ(FormatSenderAddress(Rendered("John\0")), u"John ");
}

TEST(SenderFormatter, FallsBackToTheDecodedText) {
  EXPECT_EQ(FormatSenderAddress(Rendered("^^(!)")), u"^^(!)");  // nothing matches
  EXPECT_EQ(FormatSenderAddress(Rendered("^+[]")), u"^+[]");    // nothing left after cleaning
  EXPECT_EQ(FormatSenderAddress(u"416"), u"");                  // odd length
  EXPECT_EQ(FormatSenderAddress(u""), u"");
}

TEST(SenderFormatter, CleaningDropsPunctuationAndUndecodableCharacters) {
  // "{", "|", "}" and "~" do not survive decoding; "^+()[]`" are cleaned away.
  EXPECT_EQ(FormatSenderAddress(Rendered("a{|}~nn^+@co`ntoso[].com")), u"ann@contoso.com");
}

TEST(SenderFormatter, NamesKeepTheirAccentedLetters) {
  // Entry bytes above 127 are Windows-1252; every letter is a word character.
  EXPECT_EQ(FormatSenderAddress(Rendered("Ren\xe9" "e Lef\xe8vre\0SMTP\0renee.lefevre@contoso.com\0")),
            u"Ren\u00e9e Lef\u00e8vre<renee.lefevre@contoso.com>");
  EXPECT_EQ(FormatSenderAddress(Rendered("S\xf8ren \xd8" "deg\xe5rd")), u"S\u00f8ren \u00d8deg\u00e5rd");
  EXPECT_EQ(FormatSenderAddress(Rendered("J\xfcrgen\0SMTP\0j\xfcrgen@stra\xdf" "e.de\0")),
            u"J\u00fcrgen<j\u00fcrgen@stra\u00dfe.de>");
  // A letter outside Latin-1 ("\x8a" is "\u0160") is a letter too.
  EXPECT_EQ(FormatSenderAddress(Rendered("\x8a" "koda\0")), u"\u0160koda ");
  // Signs are not letters: with "\xa7" before the "@" no rule applies.
  EXPECT_EQ(FormatSenderAddress(Rendered("ann\xa7@contoso.com")), u"ann\u00a7@contoso.com");
}

TEST(SenderFormatter, AddressDoesNotRunIntoTheNextWord) {
  EXPECT_EQ(FormatSenderAddress(Rendered("ann@contoso.com\0\0Bob")), u"ann@contoso.com");
}

TEST(RecipientExtractor, EachAddressOnceInOrder) {
  EXPECT_EQ(ExtractRecipientAddresses(Rendered("ann@contoso.com")), u"ann@contoso.com,");
  EXPECT_EQ(ExtractRecipientAddresses(Rendered("ann@contoso.com\0ann@contoso.com\0ann@contoso.com\0")),
            u"ann@contoso.com,");
  EXPECT_EQ(ExtractRecipientAddresses(
                Rendered("\x02\0\0\0Ann Lee\0SMTP\0ann.lee@contoso.com\0\0Bob\0SMTP\0bob@fabrikam.org\0")),
            u"ann.lee@contoso.com,bob@fabrikam.org,");
}

TEST(RecipientExtractor, AddressesThatContainOneAnotherAreAllKept) {
  EXPECT_EQ(ExtractRecipientAddresses(Rendered("ann@contoso.com\0joann@contoso.com\0ann@contoso.com.au")),
            u"ann@contoso.com,joann@contoso.com,ann@contoso.com.au,");
}

TEST(RecipientExtractor, AddressesKeepTheirAccentedLetters) {
  EXPECT_EQ(ExtractRecipientAddresses(Rendered("S\xf8ren\0SMTP\0s\xf8ren@\xf8" "deg\xe5rd.no\0\0ann@contoso.com")),
            u"s\u00f8ren@\u00f8deg\u00e5rd.no,ann@contoso.com,");
}

TEST(RecipientExtractor, AddressDoesNotRunIntoTheNextWord) {
  EXPECT_EQ(ExtractRecipientAddresses(Rendered("ann@contoso.com  Bob")), u"ann@contoso.com,");
  EXPECT_EQ(ExtractRecipientAddresses(Rendered("ann@contoso.com\0\0Bob")), u"ann@contoso.com,");
}

TEST(RecipientExtractor, NoAddressGivesEmptyText) {
  EXPECT_EQ(ExtractRecipientAddresses(Rendered("Ann Lee")), u"");
  EXPECT_EQ(ExtractRecipientAddresses(u"41424"), u"");  // odd length
  EXPECT_EQ(ExtractRecipientAddresses(u""), u"");
}

}  // namespace
}  // namespace edb
