// The text form of any record value, by its column type and value flags.
//
// Result contract shared by every value renderer of the store reader:
//   - a new text (std::u16string) owned by the caller;
//   - or the caller's own default, returned unchanged (callers chain
//     defaults: one column's text is the default of the next);
//   - or std::nullopt ("none"): the value could not be read or does not fit
//     the reading. A nullopt default passed in comes back as nullopt too, so
//     without a default "absent" and "none" look the same, as callers expect.
#pragma once

#include <optional>
#include <string>

#include "ese/long_value_source.h"

namespace edb {

// Renders value `column` of `ref.record`:
//   - plain values (flags 0 / 0x01) by column type: bit "true"/"false";
//     unsigned byte, short, unsigned short as decimal; long and unsigned long
//     as unsigned 32-bit decimal (a stored -1 gives 4294967295); currency and
//     long long as signed 64-bit decimal; IEEE single and double with six
//     decimals; date time as DateText of the FILETIME; text and long text as
//     CleanText of libesedb's UTF-16 string (empty string size: none); any
//     other type as HexText of the bytes. A NULL value gives the default.
//   - compressed long text: the 7-bit expansion, cut at the first zero
//     character (no data: the default; failed expansion: none); other
//     compressed types: HexText of the stored bytes.
//   - a long value: read through once (every segment) and the default
//     returned; none when it cannot be opened or read.
//   - a multi-value: the last member that has data (text members as
//     CleanText, others as HexText); members kept in the long-value tree are
//     passed over; no such member gives the default, an unreadable one none.
//   - anything else: HexText of the stored bytes (no bytes: the default).
// No record or an unreadable value gives none.
std::optional<std::u16string> ValueText(const RecordRef& ref, int column,
                                        const std::optional<std::u16string>& fallback);

}  // namespace edb
