// Identifier, 32-bit number, FILETIME and GUID readings of binary values.
#include "store/binary_readings.h"

#include <cstdio>
#include <span>
#include <vector>

#include "store/byte_text.h"
#include "store/date_text.h"
#include "store/record_value.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

using Text = std::optional<std::u16string>;

std::u16string WidenAscii(const char* text) {
  std::u16string wide;
  for (; *text != '\0'; ++text) wide.push_back(static_cast<char16_t>(*text));
  return wide;
}

bool HasType(const RecordValue& value, uint32_t type_a, uint32_t type_b) {
  return value.column_type == type_a || value.column_type == type_b;
}

// Reads the value when the byte order is valid; nullopt otherwise.
std::optional<RecordValue> ReadForReading(const RecordRef& ref, int column, ByteOrder order) {
  if (!IsValidByteOrder(order)) return std::nullopt;
  RecordValue value;
  if (!ReadRecordValue(ref.record, column, &value)) return std::nullopt;
  return value;
}

bool IsPlain(const RecordValue& value) { return ReadingOfFlags(value.flags) == ValueReading::kPlain; }

// The flags-above-0x01 reading shared by the 32-bit, FILETIME and GUID texts.
Text AnsiOfContent(const RecordRef& ref, int column, RecordValue value) {
  std::optional<std::vector<uint8_t>> bytes = ContentBytes(ref, column, std::move(value));
  if (!bytes) return std::nullopt;
  return Windows1252ZeroTerminatedToUtf16(bytes->data(), bytes->size());
}

}  // namespace

std::optional<std::u16string> IdentifierText(const RecordRef& ref, int column, ByteOrder order,
                                             const std::optional<std::u16string>& fallback) {
  std::optional<RecordValue> value = ReadForReading(ref, column, order);
  if (!value || !HasType(*value, ese_type::kBinary, ese_type::kCurrency)) return std::nullopt;
  if (!IsPlain(*value)) {
    std::optional<std::vector<uint8_t>> bytes = ContentBytes(ref, column, std::move(*value));
    if (!bytes) return std::nullopt;
    return bytes->empty() ? fallback : Text(HexText(*bytes));
  }
  if (value->data.empty()) return fallback;
  if (value->data.size() != 8) return std::nullopt;
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%llx",
                static_cast<unsigned long long>(*AssembleUnsigned(value->data, order)));
  return WidenAscii(buffer);
}

std::optional<std::u16string> Number32Text(const RecordRef& ref, int column, ByteOrder order) {
  std::optional<RecordValue> value = ReadForReading(ref, column, order);
  if (!value || value->column_type != ese_type::kBinary) return std::nullopt;
  if (!IsPlain(*value)) return AnsiOfContent(ref, column, std::move(*value));
  if (value->data.size() != 4) return std::nullopt;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(*AssembleUnsigned(value->data, order)));
  return WidenAscii(buffer);
}

std::optional<std::u16string> FiletimeBytesText(const RecordRef& ref, int column, ByteOrder order) {
  std::optional<RecordValue> value = ReadForReading(ref, column, order);
  if (!value || !HasType(*value, ese_type::kBinary, ese_type::kCurrency)) return std::nullopt;
  if (!IsPlain(*value)) return AnsiOfContent(ref, column, std::move(*value));
  if (value->data.size() != 8) return std::nullopt;
  return DateText(*AssembleUnsigned(value->data, order));
}

std::optional<std::u16string> GuidText(const RecordRef& ref, int column, ByteOrder order) {
  std::optional<RecordValue> value = ReadForReading(ref, column, order);
  if (!value || value->column_type != ese_type::kBinary) return std::nullopt;
  if (!IsPlain(*value)) return AnsiOfContent(ref, column, std::move(*value));
  if (value->data.size() != 16) return std::nullopt;
  std::array<uint8_t, 16> bytes;
  std::copy(value->data.begin(), value->data.end(), bytes.begin());
  return GuidLayoutText(bytes, order);
}

std::optional<std::u16string> GuidLayoutText(const std::array<uint8_t, 16>& bytes, ByteOrder order) {
  if (!IsValidByteOrder(order)) return std::nullopt;
  std::span<const uint8_t> all(bytes);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x",
                static_cast<unsigned>(*AssembleUnsigned(all.subspan(0, 4), order)),
                static_cast<unsigned>(*AssembleUnsigned(all.subspan(4, 2), order)),
                static_cast<unsigned>(*AssembleUnsigned(all.subspan(6, 2), order)), bytes[8], bytes[9], bytes[10],
                bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
  return WidenAscii(buffer);
}

}  // namespace edb
