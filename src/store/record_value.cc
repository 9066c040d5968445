// Reading one record value and the long value behind it.
#include "store/record_value.h"

#include <string>

namespace edb {

ValueReading ReadingOfFlags(uint8_t flags) {
  if (flags <= value_flag::kVariableSize) return ValueReading::kPlain;
  if (flags & value_flag::kMultiValue) {
    return (flags & value_flag::kMultiValueSizes) ? ValueReading::kOther : ValueReading::kMultiValue;
  }
  if (flags & value_flag::kLongValue) return ValueReading::kLongValue;
  if (flags & value_flag::kCompressed) return ValueReading::kCompressed;
  return ValueReading::kOther;
}

bool ReadRecordValue(libesedb_record_t* record, int column, RecordValue* value) {
  if (record == nullptr) return false;
  if (libesedb_record_get_column_type(record, column, &value->column_type, nullptr) != 1) return false;
  if (libesedb_record_get_value_data_flags(record, column, &value->flags, nullptr) != 1) return false;
  size_t size = 0;
  if (libesedb_record_get_value_data_size(record, column, &size, nullptr) != 1) return false;
  value->data.assign(size, 0);
  if (size > 0 && libesedb_record_get_value_data(record, column, value->data.data(), size, nullptr) != 1) {
    return false;
  }
  return true;
}

LongValueSource& LongValuesOf(const RecordRef& ref) {
  static EsedbLongValueSource esedb_source;
  return ref.long_values != nullptr ? *ref.long_values : esedb_source;
}

namespace {

// Calls `take` with each segment in order; false on the first failure.
template <typename Take>
bool ForEachSegment(const RecordRef& ref, int column, Take take) {
  std::string error;
  std::unique_ptr<LongValueSegments> segments = LongValuesOf(ref).Open(ref.record, column, &error);
  if (segments == nullptr) return false;
  std::vector<uint8_t> segment;
  for (int i = 0; i < segments->count(); ++i) {
    if (!segments->Segment(i, &segment, &error)) return false;
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
