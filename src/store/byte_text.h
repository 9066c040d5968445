// Small text functions over bytes and UTF-16 units that the store reader and
// body decoding share: hexadecimal in both directions, printable bytes, and
// the cleaning every text value of the store goes through.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace edb {

// Each byte as two lower-case hexadecimal digits, no separators ("0aff").
// No bytes give the empty text; renderers that must tell an absent value from
// an empty one decide that before calling.
std::u16string HexText(std::span<const uint8_t> bytes);

// Reads `text` back as pairs of hexadecimal digits (either case). A text of
// zero or odd length gives the empty text. Each pair's value becomes: 0 a
// blank, 32 to 122 that character, 128 to 255 the Windows-1252 character of
// that byte ("Ren\xe9e" keeps its "é"); 1 to 31, 123 to 127 and the five
// bytes Windows-1252 leaves undefined (controls) are dropped, and so is a
// pair that is not two hexadecimal digits.
std::u16string HexDecodeText(std::u16string_view text);

// Bytes 1 to 125 as the characters of the same value; 0 and 126 to 255 are
// dropped.
std::u16string PrintableBytesText(std::span<const uint8_t> bytes);

// `text` without NUL, tab, line feed, carriage return and backslash; every
// other unit (surrogates included) is kept in order.
std::u16string CleanText(std::u16string_view text);

}  // namespace edb
