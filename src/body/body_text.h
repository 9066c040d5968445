// Turns the bytes of a text body column into text: the plain-text body by its
// column's code page, HTML by the charset it declares.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "body/code_page.h"

namespace edb {

// True when `bytes` reads as UTF-16LE text: at least a third of its 16-bit
// units are ASCII characters (low byte set, high byte zero), there are no
// zero units except at the very end, and surrogates come in pairs. 8-bit text
// has no zero bytes, so it never passes. The one place where a body's
// encoding is guessed rather than known.
bool LooksLikeUtf16Le(std::string_view bytes);

// The plain-text body: `code_page` 1200 is UTF-16LE, any other code page is
// decoded as such (Windows-1252 when unknown), and 0 means the code page is
// not known: UTF-16LE when LooksLikeUtf16Le, else Windows-1252. NUL
// characters are dropped; everything else is kept.
std::u16string DecodePlainBody(std::string_view bytes, uint32_t code_page, CodePageDecoder* decoder);

// The charset HTML bytes are in: "utf-8", "utf-16le" or "utf-16be" for a
// byte-order mark; "utf-16le" when LooksLikeUtf16Le; the label of the first
// <meta charset> or <meta http-equiv content="...; charset=..."> declaration
// (lower-case; a declared UTF-16 reads as "utf-8", as browsers do); else
// "utf-8" when the bytes are valid UTF-8; else "windows-1252".
std::string DetectHtmlCharset(std::string_view bytes);

// HTML bytes as text in the charset DetectHtmlCharset finds (a declared
// charset iconv does not know falls back to UTF-8 when valid, else
// Windows-1252). A byte-order mark and NUL characters are dropped.
std::u16string DecodeHtmlBody(std::string_view bytes, CodePageDecoder* decoder);

}  // namespace edb
