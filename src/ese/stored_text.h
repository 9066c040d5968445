// Text from the bytes a text column stores, converted the way libesedb's
// UTF-16 getters convert them, so that both readers behind the database
// seam give the same text:
//   code page 1200: UTF-16LE when the size is even and the units are well
//     formed, else the bytes as ASCII (bytes above 0x7f become U+FFFD);
//   code page 1252 (and 0, not recorded): Windows-1252;
//   7-bit compressed values (flag 0x02): expanded, then UTF-16LE when the
//     header byte says so (bit 0x10 clear) and the size is even, else 8-bit.
// Every conversion ends at the first NUL character. Pure functions.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/status.h"

namespace edb::ese {

// `bytes` as stored in a column with code page `code_page`.
Result<std::u16string> StoredBytesToText(std::span<const uint8_t> bytes, uint32_t code_page);

// A 7-bit compressed value (header byte, then the packed characters).
// Unsupported for the engine's other compression (header byte 0x18);
// Corruption when there is nothing to expand.
Result<std::u16string> CompressedBytesToText(std::span<const uint8_t> bytes);

}  // namespace edb::ese
