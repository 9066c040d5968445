// Sender formatter and recipient extractor.
#include "store/address_parsing.h"

#include <new>
#include <stdexcept>
#include <set>
#include <string>

#include "store/byte_text.h"
#include "store/pattern_match.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

// Texts removed by cleaning, in order, after " SMTP" has become "<".
constexpr std::u16string_view kRemovedAfterAt[] = {u"^", u"+", u")", u"(", u"`", u"{", u"}", u"[", u"]"};

void ReplaceAll(std::u16string* text, std::u16string_view from, std::u16string_view to) {
  if (from.empty()) return;
  std::u16string result;
  size_t start = 0;
  for (size_t found = text->find(from); found != std::u16string::npos; found = text->find(from, start)) {
    result.append(*text, start, found - start);
    result.append(to);
    start = found + from.size();
  }
  if (start == 0) return;
  result.append(*text, start);
  *text = std::move(result);
}

void RemoveAll(std::u16string* text, std::u16string_view what) { ReplaceAll(text, what, u""); }

// Runs of blanks become one blank. Removing doubled blanks instead would
// glue "ann@contoso.com  Bob" into the address "ann@contoso.comBob".
void CollapseBlanks(std::u16string* text) {
  std::u16string result;
  result.reserve(text->size());
  for (char16_t unit : *text) {
    if (unit == u' ' && !result.empty() && result.back() == u' ') continue;
    result.push_back(unit);
  }
  *text = std::move(result);
}

void RemoveAfterAtSet(std::u16string* text) {
  for (std::u16string_view what : kRemovedAfterAt) RemoveAll(text, what);
  CollapseBlanks(text);
}

void StripBlanks(std::u16string* text) {
  const size_t first = text->find_first_not_of(u' ');
  if (first == std::u16string::npos) {
    text->clear();
    return;
  }
  const size_t last = text->find_last_not_of(u' ');
  *text = text->substr(first, last - first + 1);
}

std::u16string RemoveBlanks(std::u16string text) {
  RemoveAll(&text, u" ");
  return text;
}

// The sender rules on the cleaned text; empty when none applies.
std::u16string SenderFromCleaned(const std::u16string& cleaned) {
  const std::string utf8 = Utf16ToUtf8(cleaned);  // the patterns run on UTF-8
  if (utf8.empty()) return cleaned;
  if (FindPattern(utf8, AddressPattern::kTwoWordsThenAddress)) return cleaned;
  if (std::optional<std::string> match = PatternMatch(utf8, AddressPattern::kTwoWordsAngleAddress)) {
    std::u16string result = Utf8ToUtf16(*match);
    ReplaceAll(&result, u"< ", u"<");
    result.push_back(u'>');
    ReplaceAll(&result, u" >", u">");
    return result;
  }
  if (std::optional<std::string> match = PatternMatch(utf8, AddressPattern::kWordAngleAddress)) {
    return RemoveBlanks(Utf8ToUtf16(*match)) + u">";
  }
  for (AddressPattern pattern : {AddressPattern::kAddress, AddressPattern::kTwoWords, AddressPattern::kWordThenBlank}) {
    if (std::optional<std::string> match = PatternMatch(utf8, pattern)) return Utf8ToUtf16(*match);
  }
  return u"";
}

std::u16string RecipientsFromCleaned(const std::u16string& cleaned) {
  const std::string utf8 = Utf16ToUtf8(cleaned);  // the patterns run on UTF-8
  std::set<std::string> seen;
  std::u16string result;
  size_t from = 0;
  while (from < utf8.size()) {
    std::optional<PatternSpan> span = FindPattern(utf8, AddressPattern::kAddress, from);
    if (!span) break;
    std::string address = utf8.substr(span->offset, span->length);
    from = span->offset + span->length;
    if (!seen.insert(address).second) continue;
    result += Utf8ToUtf16(address);
    result.push_back(u',');
  }
  return result;
}

}  // namespace

std::u16string FormatSenderAddress(std::u16string_view rendered_sender) {
  const std::u16string decoded = HexDecodeText(rendered_sender);
  std::u16string cleaned = decoded;
  ReplaceAll(&cleaned, u" SMTP", u"<");
  RemoveAll(&cleaned, u"@ ");
  RemoveAfterAtSet(&cleaned);
  std::u16string result = SenderFromCleaned(cleaned);
  return result.empty() ? decoded : result;
}

std::optional<std::u16string> ExtractRecipientAddresses(std::u16string_view rendered_recipients) {
  try {
    std::u16string cleaned = HexDecodeText(rendered_recipients);
    ReplaceAll(&cleaned, u" SMTP", u"<");
    RemoveAll(&cleaned, u"@ ");
    StripBlanks(&cleaned);
    RemoveAfterAtSet(&cleaned);
    return RecipientsFromCleaned(cleaned);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  } catch (const std::length_error&) {
    return std::nullopt;
  }
}

}  // namespace edb
