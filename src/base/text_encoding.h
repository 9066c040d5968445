// Text conversions at the edges of the store reader: UTF-16 inside, UTF-8
// outside, Windows-1252 wherever the store keeps 8-bit ("ANSI") text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace edb {

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16; invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// True when `bytes` is well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// One Windows-1252 byte as a UTF-16 unit (undefined bytes map to the C1
// control of the same value, as Windows' own conversion does).
char16_t Windows1252ToUnit(uint8_t byte);

// Windows-1252 bytes to UTF-16, one unit per byte.
std::u16string Windows1252ToUtf16(std::string_view bytes);

// Windows-1252 bytes up to the first zero byte (or the end) to UTF-16.
std::u16string Windows1252ZeroTerminatedToUtf16(const uint8_t* bytes, size_t size);

// UTF-16 to Windows-1252; characters it cannot represent become '?'.
std::string Utf16ToWindows1252(std::u16string_view text);

// Little-endian UTF-16 bytes to text; an odd trailing byte is dropped.
std::u16string Utf16LeBytesToText(const uint8_t* bytes, size_t size);

}  // namespace edb
