// 7-bit text expansion.
#include "ese/decompress_7bit.h"

namespace edb {

std::optional<std::vector<uint8_t>> Decompress7Bit(std::span<const uint8_t> compressed) {
  if (compressed.empty()) return std::nullopt;
  const size_t full_characters = (8 * compressed.size() - 8) / 7;
  std::vector<uint8_t> expanded;
  expanded.reserve(full_characters + 2);
  expanded.push_back(compressed[0]);

  uint32_t bits = 0;      // pending input bits, lowest first
  unsigned pending = 0;   // how many of them (0 to 6 between bytes)
  for (size_t i = 1; i < compressed.size(); ++i) {
    bits |= static_cast<uint32_t>(compressed[i]) << pending;
    pending += 8;
    while (pending >= 7) {
      expanded.push_back(static_cast<uint8_t>(bits & 0x7f));
      bits >>= 7;
      pending -= 7;
    }
  }
  if (pending > 0) expanded.push_back(static_cast<uint8_t>(bits & 0x7f));
  return expanded;
}

}  // namespace edb
