// The byte order in which the binary readings assemble numbers from a value's
// bytes. The enumerators carry the order letters the store reader passes
// around ('b', 'l'); any other value is invalid and makes a reading give no
// text.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace edb {

enum class ByteOrder : char {
  kBigEndian = 'b',     // first byte most significant
  kLittleEndian = 'l',  // first byte least significant
};

inline bool IsValidByteOrder(ByteOrder order) {
  return order == ByteOrder::kBigEndian || order == ByteOrder::kLittleEndian;
}

// The unsigned number of up to 8 `bytes` in `order`; nullopt for an invalid
// order or more than 8 bytes.
inline std::optional<uint64_t> AssembleUnsigned(std::span<const uint8_t> bytes, ByteOrder order) {
  if (!IsValidByteOrder(order) || bytes.size() > 8) return std::nullopt;
  uint64_t number = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint8_t byte = order == ByteOrder::kBigEndian ? bytes[i] : bytes[bytes.size() - 1 - i];
    number = (number << 8) | byte;
  }
  return number;
}

}  // namespace edb
