// Text encodings the test stores are written in: UTF-16LE (code page 1200)
// and Windows-1252 (code page 1252), from UTF-8. Kept apart from the
// reader's own conversions so that a fault there cannot hide in both.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace storegen {

// Decodes UTF-8 into code points. Throws std::invalid_argument on malformed
// input (test descriptions must be well-formed).
std::u32string DecodeUtf8(std::string_view utf8);

// UTF-8 to UTF-16 (characters above U+FFFF become surrogate pairs).
std::u16string Utf8ToUtf16(std::string_view utf8);

// The Windows-1252 byte of a code point, or -1 when 1252 has none.
int Windows1252Byte(char32_t code_point);

// UTF-8 to Windows-1252; a character 1252 lacks becomes `replacement`
// (when empty, such characters are dropped).
std::string Utf8ToWindows1252(std::string_view utf8, std::string_view replacement = "?");

// UTF-8 to Windows-1252 for HTML: a character 1252 lacks becomes the
// numeric character reference "&#N;".
std::string Utf8ToWindows1252Html(std::string_view utf8);

// True when every byte is below 0x80.
bool IsAscii(std::string_view text);

}  // namespace storegen
