// Values read as 8-bit text in the ANSI code page (Windows-1252), and the
// raw bytes of binary values. Text results follow the contract at the top of
// value_text.h. Conversions never read past a value's bytes: "up to the
// first zero byte" stops at the value's end when no zero byte comes.
//
// "The value's bytes" are the content of a long value (read in full through
// the record's LongValueSource), not the long-value key the record holds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ese/long_value_source.h"

namespace edb {

// Any column type. The value's bytes up to the first zero byte as
// Windows-1252 text; for a multi-value, those of the first member that has
// data (members kept in the long-value tree passed over). No data (no such
// member) or an unreadable value: none.
std::optional<std::u16string> AnsiValueText(const RecordRef& ref, int column);

// Binary (9) or long binary (11) columns with data: the bytes up to the first
// zero byte as Windows-1252 text. Anything else: none.
std::optional<std::u16string> BinaryAnsiText(const RecordRef& ref, int column);

// Binary (9) or long binary (11) columns: a copy of the value's bytes, owned
// by the caller (empty for a NULL value). Other types or an unreadable value:
// nullopt. A copy rather than a view of the record's own buffer, which
// libesedb only exposes through a deprecated call; callers using the bytes
// as text must stay within their size.
std::optional<std::vector<uint8_t>> RawBinaryValue(const RecordRef& ref, int column);

}  // namespace edb
