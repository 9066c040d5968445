// Multi-value members through libesedb, plus the separated-member bits of the
// record's offset table, which libesedb does not report.
#include "ese/multi_value_members.h"

namespace edb {
namespace {

// Offsets of a multi-value are 16-bit little-endian; bit 0x8000 marks a
// member stored as a separate long value, the low 15 bits are the offset.
// The first offset is the size of the offset table. Returns one flag per
// member, or all false when the table does not describe `count` members.
std::vector<bool> SeparatedMembers(std::span<const uint8_t> raw, int count) {
  std::vector<bool> separated(count, false);
  if (raw.size() < 2) return separated;
  const size_t table_size = (raw[0] | (raw[1] << 8)) & 0x7fff;
  if (table_size != 2 * static_cast<size_t>(count) || table_size > raw.size()) return separated;
  for (int i = 0; i < count; ++i) separated[i] = (raw[2 * i + 1] & 0x80) != 0;
  return separated;
}

}  // namespace

std::optional<MultiValueMembers> MultiValueMembers::Open(libesedb_record_t* record, int column,
                                                         std::span<const uint8_t> raw_data) {
  libesedb_multi_value_t* raw = nullptr;
  if (libesedb_record_get_multi_value(record, column, &raw, nullptr) != 1 || raw == nullptr) return std::nullopt;
  EsedbMultiValue handle(raw);
  int count = 0;
  if (libesedb_multi_value_get_number_of_values(handle.get(), &count, nullptr) != 1 || count < 0) {
    return std::nullopt;
  }
  return MultiValueMembers(std::move(handle), count, SeparatedMembers(raw_data, count));
}

bool MultiValueMembers::Data(int index, std::vector<uint8_t>* data) const {
  size_t size = 0;
  if (libesedb_multi_value_get_value_data_size(handle_.get(), index, &size, nullptr) != 1) return false;
  data->assign(size, 0);
  if (size == 0) return true;
  return libesedb_multi_value_get_value_data(handle_.get(), index, data->data(), size, nullptr) == 1;
}

std::optional<std::u16string> MultiValueMembers::Text(int index) const {
  size_t size = 0;
  if (libesedb_multi_value_get_value_utf16_string_size(handle_.get(), index, &size, nullptr) != 1 || size == 0) {
    return std::nullopt;
  }
  std::vector<uint16_t> units(size, 0);
  if (libesedb_multi_value_get_value_utf16_string(handle_.get(), index, units.data(), size, nullptr) != 1) {
    return std::nullopt;
  }
  size_t length = 0;
  while (length < units.size() && units[length] != 0) ++length;
  return std::u16string(units.begin(), units.begin() + length);
}

bool MultiValueMembers::StoredAsLongValue(int index) const {
  return index >= 0 && static_cast<size_t>(index) < separated_.size() && separated_[index];
}

}  // namespace edb
