// Reading one record value and the long value behind it.
#include "store/record_value.h"

#include <memory>
#include <string>

namespace edb {

namespace value_flag = ese::value_flag;

ValueReading ReadingOfFlags(uint8_t flags) {
  if (flags <= ese::value_flag::kVariableSize) return ValueReading::kPlain;
  if (flags & ese::value_flag::kMultiValue) {
    return (flags & ese::value_flag::kMultiValueSizes) ? ValueReading::kOther : ValueReading::kMultiValue;
  }
  if (flags & ese::value_flag::kLongValue) return ValueReading::kLongValue;
  if (flags & ese::value_flag::kCompressed) return ValueReading::kCompressed;
  return ValueReading::kOther;
}

bool ReadRecordValue(const RecordRef& ref, int column, RecordValue* value) {
  if (ref.record == nullptr) return false;
  return ref.record->ReadValue(column, value).ok();
}

int NumberOfValues(const RecordRef& ref) { return ref.record == nullptr ? 0 : ref.record->value_count(); }

std::u16string_view ColumnNameOf(const RecordRef& ref, int column) {
  if (ref.columns == nullptr || column < 0 || static_cast<size_t>(column) >= ref.columns->size()) return {};
  return (*ref.columns)[column].name;
}

namespace {

// Calls `take` with each segment in order; false on the first failure.
template <typename Take>
bool ForEachSegment(const RecordRef& ref, int column, Take take) {
  Result<std::unique_ptr<ese::LongValue>> value = ref.record->OpenLongValue(column);
  if (!value.ok()) return false;
  std::vector<uint8_t> segment;
  for (int i = 0; i < (*value)->segment_count(); ++i) {
    if (!(*value)->ReadSegment(i, &segment).ok()) return false;
    take(segment);
  }
  return true;
}

}  // namespace

bool ReadThroughLongValue(const RecordRef& ref, int column) {
  if (ref.record == nullptr) return false;
  return ForEachSegment(ref, column, [](const std::vector<uint8_t>&) {});
}

std::optional<std::vector<uint8_t>> LongValueBytes(const RecordRef& ref, int column) {
  if (ref.record == nullptr) return std::nullopt;
  std::vector<uint8_t> bytes;
  bool read = ForEachSegment(ref, column, [&bytes](const std::vector<uint8_t>& segment) {
    bytes.insert(bytes.end(), segment.begin(), segment.end());
  });
  if (!read) return std::nullopt;
  return bytes;
}

std::optional<std::vector<uint8_t>> ContentBytes(const RecordRef& ref, int column, RecordValue value) {
  if (ReadingOfFlags(value.flags) == ValueReading::kLongValue) return LongValueBytes(ref, column);
  return std::move(value.data);
}

}  // namespace edb
