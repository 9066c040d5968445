// ValueText: one reading per kind of value flags, plain values by type.
#include "store/value_text.h"

#include <bit>
#include <charconv>
#include <vector>

#include "store/byte_text.h"
#include "store/date_text.h"
#include "ese/decompress_7bit.h"
#include "ese/multi_value_members.h"
#include "store/record_value.h"

namespace edb {
namespace {

using Text = std::optional<std::u16string>;

std::u16string WidenAscii(const char* begin, const char* end) { return std::u16string(begin, end); }

template <typename Number>
std::u16string DecimalText(Number number) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  return WidenAscii(buffer, result.ptr);
}

// "%f": fixed notation with six decimals.
std::u16string FixedText(double number) {
  char buffer[400];  // the largest double has 309 integral digits
  auto result = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed, 6);
  return WidenAscii(buffer, result.ptr);
}

// Runs a libesedb typed getter (1 present, 0 NULL, -1 failure) and renders a
// present value with `render`.
template <typename Value, typename Getter, typename Render>
Text TypedText(Getter getter, const Text& fallback, Render render) {
  Value value{};
  const int found = getter(&value);
  if (found == 0) return fallback;
  if (found != 1) return std::nullopt;
  return render(value);
}

Text StringText(libesedb_record_t* record, int column, const Text& fallback) {
  size_t size = 0;
  const int found = libesedb_record_get_value_utf16_string_size(record, column, &size, nullptr);
  if (found == 0) return fallback;
  if (found != 1 || size == 0) return std::nullopt;
  std::vector<uint16_t> units(size, 0);
  if (libesedb_record_get_value_utf16_string(record, column, units.data(), size, nullptr) != 1) return std::nullopt;
  size_t length = 0;
  while (length < units.size() && units[length] != 0) ++length;
  return CleanText(std::u16string(units.begin(), units.begin() + length));
}

// libesedb 20240420's 32-bit floating-point getter reads every single as 0,
// so the four stored bytes (little-endian IEEE 754) are decoded here.
Text SingleText(const std::vector<uint8_t>& data, const Text& fallback) {
  if (data.empty()) return fallback;
  if (data.size() != sizeof(float)) return std::nullopt;
  const uint32_t bits = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
  return FixedText(double{std::bit_cast<float>(bits)});
}

Text HexOrDefault(const std::vector<uint8_t>& bytes, const Text& fallback) {
  if (bytes.empty()) return fallback;
  return HexText(bytes);
}

Text PlainText(libesedb_record_t* record, int column, const RecordValue& value, const Text& fallback) {
  switch (value.column_type) {
    case ese_type::kBit:
      return TypedText<uint8_t>([&](uint8_t* v) { return libesedb_record_get_value_boolean(record, column, v, nullptr); },
                                fallback, [](uint8_t v) { return std::u16string(v != 0 ? u"true" : u"false"); });
    case ese_type::kUnsignedByte:
      return TypedText<uint8_t>([&](uint8_t* v) { return libesedb_record_get_value_8bit(record, column, v, nullptr); },
                                fallback, [](uint8_t v) { return DecimalText(unsigned{v}); });
    case ese_type::kShort:
      return TypedText<uint16_t>(
          [&](uint16_t* v) { return libesedb_record_get_value_16bit(record, column, v, nullptr); }, fallback,
          [](uint16_t v) { return DecimalText(int{static_cast<int16_t>(v)}); });
    case ese_type::kUnsignedShort:
      return TypedText<uint16_t>(
          [&](uint16_t* v) { return libesedb_record_get_value_16bit(record, column, v, nullptr); }, fallback,
          [](uint16_t v) { return DecimalText(unsigned{v}); });
    case ese_type::kLong:
    case ese_type::kUnsignedLong:
      return TypedText<uint32_t>(
          [&](uint32_t* v) { return libesedb_record_get_value_32bit(record, column, v, nullptr); }, fallback,
          [](uint32_t v) { return DecimalText(v); });
    case ese_type::kCurrency:
    case ese_type::kLongLong:
      return TypedText<uint64_t>(
          [&](uint64_t* v) { return libesedb_record_get_value_64bit(record, column, v, nullptr); }, fallback,
          [](uint64_t v) { return DecimalText(static_cast<int64_t>(v)); });
    case ese_type::kIeeeSingle:
      return SingleText(value.data, fallback);
    case ese_type::kIeeeDouble:
      return TypedText<double>(
          [&](double* v) { return libesedb_record_get_value_floating_point_64bit(record, column, v, nullptr); },
          fallback, [](double v) { return FixedText(v); });
    case ese_type::kDateTime:
      return TypedText<uint64_t>(
          [&](uint64_t* v) { return libesedb_record_get_value_filetime(record, column, v, nullptr); }, fallback,
          [](uint64_t v) { return DateText(v); });
    case ese_type::kText:
    case ese_type::kLongText:
      return StringText(record, column, fallback);
    default:
      return HexOrDefault(value.data, fallback);
  }
}

// The expanded characters of a compressed long text: everything after the
// header byte up to the first zero, only whole 7-bit characters counted.
Text CompressedLongText(const std::vector<uint8_t>& data, const Text& fallback) {
  if (data.empty()) return fallback;
  std::optional<std::vector<uint8_t>> expanded = Decompress7Bit(data);
  if (!expanded) return std::nullopt;
  const size_t whole = 1 + (8 * data.size() - 8) / 7;
  std::u16string text;
  for (size_t i = 1; i < whole && i < expanded->size() && (*expanded)[i] != 0; ++i) {
    text.push_back(static_cast<char16_t>((*expanded)[i]));
  }
  return text;
}

Text LongValueText(const RecordRef& ref, int column, const Text& fallback) {
  if (!ReadThroughLongValue(ref, column)) return std::nullopt;
  return fallback;
}

Text MultiValueText(libesedb_record_t* record, int column, const RecordValue& value, const Text& fallback) {
  std::optional<MultiValueMembers> members = MultiValueMembers::Open(record, column, value.data);
  if (!members) return std::nullopt;
  const bool text_column = value.column_type == ese_type::kText || value.column_type == ese_type::kLongText;
  Text last;
  std::vector<uint8_t> data;
  for (int i = 0; i < members->count(); ++i) {
    if (!members->Data(i, &data)) return std::nullopt;
    if (data.empty() || members->StoredAsLongValue(i)) continue;
    std::optional<std::u16string> text = text_column ? members->Text(i) : std::nullopt;
    last = text ? CleanText(*text) : HexText(data);
  }
  return last ? last : fallback;
}

}  // namespace

std::optional<std::u16string> ValueText(const RecordRef& ref, int column,
                                        const std::optional<std::u16string>& fallback) {
  RecordValue value;
  if (!ReadRecordValue(ref.record, column, &value)) return std::nullopt;
  switch (ReadingOfFlags(value.flags)) {
    case ValueReading::kPlain:
      return PlainText(ref.record, column, value, fallback);
    case ValueReading::kCompressed:
      if (value.column_type == ese_type::kLongText) return CompressedLongText(value.data, fallback);
      return HexOrDefault(value.data, fallback);
    case ValueReading::kLongValue:
      return LongValueText(ref, column, fallback);
    case ValueReading::kMultiValue:
      return MultiValueText(ref.record, column, value, fallback);
    case ValueReading::kOther:
      break;
  }
  return HexOrDefault(value.data, fallback);
}

}  // namespace edb
