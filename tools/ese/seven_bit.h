// The engine's 7-bit compression of ASCII text: a header byte, then the
// characters' low 7 bits packed least significant bit first.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace esewriter {

// The compressed form of `ascii` (every byte below 0x80, at least one byte).
// The header byte is the scheme (1, 7-bit ASCII) shifted left by 3, or'ed
// with the number of bits used in the last byte minus one.
std::vector<uint8_t> Compress7BitAscii(std::span<const uint8_t> ascii);

}  // namespace esewriter
