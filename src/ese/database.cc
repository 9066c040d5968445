// What every implementation of the database seam shares.
#include "ese/database.h"

namespace edb::ese {

// The stored size of a fixed-size column type; 0 for other types.
static size_t FixedSizeOf(uint32_t type) {
  switch (type) {
    case column_type::kBit:
    case column_type::kUnsignedByte: return 1;
    case column_type::kShort:
    case column_type::kUnsignedShort: return 2;
    case column_type::kLong:
    case column_type::kUnsignedLong:
    case column_type::kIeeeSingle: return 4;
    case column_type::kCurrency:
    case column_type::kIeeeDouble:
    case column_type::kDateTime:
    case column_type::kLongLong: return 8;
    default: return 0;
  }
}

Result<std::optional<uint64_t>> Record::ReadFixed(int value) const {
  Value stored;
  if (Status status = ReadValue(value, &stored); !status.ok()) return status;
  if (stored.data.empty()) return std::optional<uint64_t>();
  const size_t size = FixedSizeOf(stored.column_type);
  if (size == 0 || stored.data.size() != size) {
    return Status::Corruption("a value of type " + std::to_string(stored.column_type) + " holds " +
                              std::to_string(stored.data.size()) + " bytes");
  }
  uint64_t bits = 0;
  for (size_t i = size; i-- > 0;) bits = (bits << 8) | stored.data[i];
  // The engine stores a true bit as 0xff; it reads as 1, as libesedb gives it.
  if (stored.column_type == column_type::kBit) bits = bits != 0 ? 1 : 0;
  return std::optional<uint64_t>(bits);
}

}  // namespace edb::ese
