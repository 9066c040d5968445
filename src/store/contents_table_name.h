// The name of the table that holds a folder's item rows, derived from the
// folder identifier text: "1-" and the identifier without its first digit
// and without leading zeros, in upper case (1000000000091c1 -> 1-91C1).
#pragma once

#include <optional>
#include <string>

namespace edb {

// `identifier` is the folder identifier as IdentifierText renders it
// (lower-case hexadecimal without leading zeros). Only the second to the
// fifteenth characters are used. Returns nullopt for an empty identifier and
// for one whose used characters are all "0": such a folder names no table.
std::optional<std::u16string> ContentsTableName(const std::u16string& identifier);

}  // namespace edb
