// The store's 8-byte identifiers (mailbox keys, folder ids, message keys,
// attachment ids): their stored bytes, their text, and the name of a
// folder's contents table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace storegen {

// The 8 bytes the store keeps for `id`, most significant first.
std::array<uint8_t, 8> IdBytes(uint64_t id);

// The reader's text of an identifier: lower-case hexadecimal without
// leading zeros ("1000000000091c1"; 0 gives "0").
std::string IdText(uint64_t id);

// Parses an identifier text of 1 to 16 hexadecimal digits (either case).
// Throws std::invalid_argument naming the text otherwise.
uint64_t ParseIdText(std::string_view text);

// The name of the contents table of the folder with identifier text
// `id_text`: "1-", then the second to fifteenth characters without leading
// zeros, in upper case ("1000000000091c1" gives "1-91C1").
std::string ContentsTableName(std::string_view id_text);

}  // namespace storegen
