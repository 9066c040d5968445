// Expansion of the engine's 7-bit text compression: a header byte followed by
// a stream of 7-bit characters, least significant bits first.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace edb {

// The expanded bytes of `compressed`: byte 0 is the header byte as stored,
// then one byte per 7 bits of the following input (every 7 input bytes give 8
// characters); when the input leaves bits over, they come as one more,
// partial byte at the end. So the result holds (8 x size - 8) / 7 + 1 bytes,
// or one more when bits are left over. Nothing (no input) gives nullopt.
std::optional<std::vector<uint8_t>> Decompress7Bit(std::span<const uint8_t> compressed);

}  // namespace edb
