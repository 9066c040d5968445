// Special readings of 4-, 8- and 16-byte binary values: identifiers, 32-bit
// numbers, FILETIMEs and GUIDs, each in a given byte order. Results follow
// the contract at the top of value_text.h; a byte order other than 'b' or
// 'l' gives none.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/byte_order.h"
#include "ese/long_value_source.h"

namespace edb {

// Binary (9) or currency (5) columns only. Flags above 0x01: HexText of the
// value's bytes (none: the default). No data: the default. Other than 8
// bytes: none. Otherwise the 8 bytes as an unsigned number in lower-case
// hexadecimal without leading zeros: 01 00 00 00 00 00 91 c1 read 'b' gives
// "1000000000091c1".
std::optional<std::u16string> IdentifierText(const RecordRef& ref, int column, ByteOrder order,
                                             const std::optional<std::u16string>& fallback);

// Binary (9) columns only. Flags above 0x01: the value's bytes as Windows-1252
// text up to the first zero byte. No data or other than 4 bytes: none.
// Otherwise the unsigned 32-bit number in decimal.
std::optional<std::u16string> Number32Text(const RecordRef& ref, int column, ByteOrder order);

// Binary (9) or currency (5) columns only. Flags above 0x01: the value's
// bytes as Windows-1252 text up to the first zero byte. No data or other than
// 8 bytes: none. Otherwise DateText of the 8 bytes read as a FILETIME.
std::optional<std::u16string> FiletimeBytesText(const RecordRef& ref, int column, ByteOrder order);

// Binary (9) columns only. Flags above 0x01: the value's bytes as
// Windows-1252 text up to the first zero byte. No data or other than 16
// bytes: none. Otherwise GuidLayoutText of the 16 bytes.
std::optional<std::u16string> GuidText(const RecordRef& ref, int column, ByteOrder order);

// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" in lower case: bytes 0-3, 4-5 and
// 6-7 each read as one number in `order`, bytes 8-15 in stored order. None
// for an invalid order.
std::optional<std::u16string> GuidLayoutText(const std::array<uint8_t, 16>& bytes, ByteOrder order);

}  // namespace edb
