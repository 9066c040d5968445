// 7-bit ASCII packing.
#include "ese/seven_bit.h"

namespace esewriter {
namespace {
constexpr uint8_t kScheme7BitAscii = 1;
}

std::vector<uint8_t> Compress7BitAscii(std::span<const uint8_t> ascii) {
  const size_t bits = ascii.size() * 7;
  const size_t bits_in_last_byte = bits % 8 == 0 ? 8 : bits % 8;
  std::vector<uint8_t> out;
  out.reserve(1 + (bits + 7) / 8);
  out.push_back(static_cast<uint8_t>((kScheme7BitAscii << 3) | (bits_in_last_byte - 1)));
  uint32_t pending = 0;
  int pending_bits = 0;
  for (uint8_t c : ascii) {
    pending |= static_cast<uint32_t>(c & 0x7f) << pending_bits;
    pending_bits += 7;
    if (pending_bits >= 8) {
      out.push_back(static_cast<uint8_t>(pending));
      pending >>= 8;
      pending_bits -= 8;
    }
  }
  if (pending_bits > 0) out.push_back(static_cast<uint8_t>(pending));
  return out;
}

}  // namespace esewriter
