// ANSI text and raw bytes of record values.
#include "store/ansi_text.h"

#include "ese/multi_value_members.h"
#include "store/record_value.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

bool IsBinaryType(uint32_t type) { return type == ese_type::kBinary || type == ese_type::kLongBinary; }

std::u16string AnsiUpToZero(const std::vector<uint8_t>& bytes) {
  return Windows1252ZeroTerminatedToUtf16(bytes.data(), bytes.size());
}

std::optional<std::u16string> FirstMemberAnsiText(libesedb_record_t* record, int column,
                                                  const RecordValue& value) {
  std::optional<MultiValueMembers> members = MultiValueMembers::Open(record, column, value.data);
  if (!members) return std::nullopt;
  std::vector<uint8_t> data;
  for (int i = 0; i < members->count(); ++i) {
    if (!members->Data(i, &data)) return std::nullopt;
    if (!data.empty() && !members->StoredAsLongValue(i)) return AnsiUpToZero(data);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::u16string> AnsiValueText(const RecordRef& ref, int column) {
  RecordValue value;
  if (!ReadRecordValue(ref.record, column, &value)) return std::nullopt;
  if (ReadingOfFlags(value.flags) == ValueReading::kMultiValue) {
    return FirstMemberAnsiText(ref.record, column, value);
  }
  std::optional<std::vector<uint8_t>> bytes = ContentBytes(ref, column, std::move(value));
  if (!bytes || bytes->empty()) return std::nullopt;
  return AnsiUpToZero(*bytes);
}

std::optional<std::u16string> BinaryAnsiText(const RecordRef& ref, int column) {
  std::optional<std::vector<uint8_t>> bytes = RawBinaryValue(ref, column);
  if (!bytes || bytes->empty()) return std::nullopt;
  return AnsiUpToZero(*bytes);
}

std::optional<std::vector<uint8_t>> RawBinaryValue(const RecordRef& ref, int column) {
  RecordValue value;
  if (!ReadRecordValue(ref.record, column, &value) || !IsBinaryType(value.column_type)) return std::nullopt;
  return ContentBytes(ref, column, std::move(value));
}

}  // namespace edb
