// Reduces a file name taken from a database to one safe path component.
#pragma once

#include <string>

namespace edb {

// The longest file name (in UTF-8 bytes) SafeFileName returns.
constexpr size_t kMaxSafeFileNameBytes = 200;

// UTF-8 file name made of `untrusted`: directory separators ("/", "\"),
// control characters and NUL become "_"; leading dots and blanks are
// dropped so the result is never ".", ".." or hidden; the length is bounded
// (keeping the extension where it fits). An empty result becomes
// "attachment".
std::string SafeFileName(const std::u16string& untrusted);

}  // namespace edb
