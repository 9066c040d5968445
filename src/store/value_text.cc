// ValueText: one reading per kind of value flags, plain values by type.
#include "store/value_text.h"

#include <bit>
#include <charconv>
#include <memory>
#include <vector>

#include "store/byte_text.h"
#include "store/date_text.h"
#include "ese/decompress_7bit.h"
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
std::u16string FixedPointText(double number) {
  char buffer[400];  // the largest double has 309 integral digits
  auto result = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed, 6);
  return WidenAscii(buffer, result.ptr);
}

// Reads a fixed-size value and renders it with `render`: NULL gives the
// fallback, an unreadable value none.
template <typename Render>
Text FixedText(const RecordRef& ref, int column, const Text& fallback, Render render) {
  Result<std::optional<uint64_t>> bits = ref.record->ReadFixed(column);
  if (!bits.ok()) return std::nullopt;
  if (!bits->has_value()) return fallback;
  return render(**bits);
}

Text StringText(const RecordRef& ref, int column, const Text& fallback) {
  Result<std::u16string> text = ref.record->ValueText(column);
  if (!text.ok()) return text.status().code() == StatusCode::kNotFound ? fallback : std::nullopt;
  const size_t length = text->find(u'\0');
  return CleanText(length == std::u16string::npos ? *text : text->substr(0, length));
}

Text HexOrDefault(const std::vector<uint8_t>& bytes, const Text& fallback) {
  if (bytes.empty()) return fallback;
  return HexText(bytes);
}

Text PlainText(const RecordRef& ref, int column, const RecordValue& value, const Text& fallback) {
  namespace type = ese::column_type;
  switch (value.column_type) {
    case type::kBit:
      return FixedText(ref, column, fallback,
                       [](uint64_t v) { return std::u16string(static_cast<uint8_t>(v) != 0 ? u"true" : u"false"); });
    case type::kUnsignedByte:
      return FixedText(ref, column, fallback, [](uint64_t v) { return DecimalText(unsigned{static_cast<uint8_t>(v)}); });
    case type::kShort:
      return FixedText(ref, column, fallback, [](uint64_t v) { return DecimalText(int{static_cast<int16_t>(v)}); });
    case type::kUnsignedShort:
      return FixedText(ref, column, fallback,
                       [](uint64_t v) { return DecimalText(unsigned{static_cast<uint16_t>(v)}); });
    case type::kLong:
    case type::kUnsignedLong:
      return FixedText(ref, column, fallback, [](uint64_t v) { return DecimalText(static_cast<uint32_t>(v)); });
    case type::kCurrency:
    case type::kLongLong:
      return FixedText(ref, column, fallback, [](uint64_t v) { return DecimalText(static_cast<int64_t>(v)); });
    case type::kIeeeSingle:
      return FixedText(ref, column, fallback, [](uint64_t v) {
        return FixedPointText(double{std::bit_cast<float>(static_cast<uint32_t>(v))});
      });
    case type::kIeeeDouble:
      return FixedText(ref, column, fallback, [](uint64_t v) { return FixedPointText(std::bit_cast<double>(v)); });
    case type::kDateTime:
      return FixedText(ref, column, fallback, [](uint64_t v) { return DateText(v); });
    case type::kText:
    case type::kLongText:
      return StringText(ref, column, fallback);
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

Text MultiValueText(const RecordRef& ref, int column, const RecordValue& value, const Text& fallback) {
  Result<std::unique_ptr<ese::MultiValue>> members = ref.record->OpenMultiValue(column);
  if (!members.ok()) return std::nullopt;
  const bool text_column =
      value.column_type == ese::column_type::kText || value.column_type == ese::column_type::kLongText;
  Text last;
  std::vector<uint8_t> data;
  for (int i = 0; i < (*members)->count(); ++i) {
    if (!(*members)->Member(i, &data).ok()) return std::nullopt;
    if (data.empty() || (*members)->MemberIsLongValue(i)) continue;
    Result<std::u16string> text = text_column ? (*members)->MemberText(i) : Status::NotFound("not text");
    last = text.ok() ? CleanText(*text) : HexText(data);
  }
  return last ? last : fallback;
}

}  // namespace

std::optional<std::u16string> ValueText(const RecordRef& ref, int column,
                                        const std::optional<std::u16string>& fallback) {
  RecordValue value;
  if (!ReadRecordValue(ref, column, &value)) return std::nullopt;
  switch (ReadingOfFlags(value.flags)) {
    case ValueReading::kPlain:
      return PlainText(ref, column, value, fallback);
    case ValueReading::kCompressed:
      if (value.column_type == ese::column_type::kLongText) return CompressedLongText(value.data, fallback);
      return HexOrDefault(value.data, fallback);
    case ValueReading::kLongValue:
      return LongValueText(ref, column, fallback);
    case ValueReading::kMultiValue:
      return MultiValueText(ref, column, value, fallback);
    case ValueReading::kOther:
      break;
  }
  return HexOrDefault(value.data, fallback);
}

}  // namespace edb
