// Readable addresses out of an item's sender entry (N67be) and recipient list
// (N67b4), which arrive rendered as hexadecimal text (HexText). Both decode
// the text with HexDecodeText (entry bytes above 127 are Windows-1252
// letters), clean it and match the address patterns of pattern_match.h on its
// UTF-8 form, so names keep their accented letters.
//
// Cleaning removes " SMTP" (replaced by "<"), "@ ", "^", "+", ")", "(", "`",
// "{", "}", "[" and "]", in this order, and then turns every run of blanks
// into one blank, so that an address never runs into the word after it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace edb {

// The address part of a message row's From text, the first rule that
// applies on the cleaned text:
//   "w w address"  -> the whole cleaned text;
//   "w w< address" -> "w w<address>";
//   "w< address"   -> "w<address>";
//   "address"      -> the address;  "w w" -> that;  "w " -> that.
// When none applies (or nothing is left after cleaning), the decoded text
// before cleaning. Odd-length or empty input gives the empty text.
std::u16string FormatSenderAddress(std::u16string_view rendered_sender);

// Every distinct address of the cleaned recipient text, in order of first
// appearance, each followed by "," ("ann@contoso.com,bob@contoso.com,");
// the empty text when there is none. Nullopt only when the extraction itself
// fails (out of memory); callers then use another text.
std::optional<std::u16string> ExtractRecipientAddresses(std::u16string_view rendered_recipients);

}  // namespace edb
