// Column kinds of header rows and their renderers.
#include "store/column_kind.h"

#include <algorithm>

#include "store/ansi_text.h"
#include "store/binary_readings.h"
#include "store/record_value.h"
#include "base/text_encoding.h"
#include "store/value_text.h"

namespace edb {
namespace {

constexpr size_t kLongestKnownName = 6;

ColumnReading Reading(ColumnKind kind, bool switches = false) { return ColumnReading{kind, switches}; }

ColumnReading CurrencyReading(std::u16string_view name) {
  if (name.starts_with(u"Q")) return Reading(ColumnKind::kIdentifier);
  if (name.starts_with(u"T")) return Reading(ColumnKind::kFiletime);
  return Reading(ColumnKind::kValueText);
}

ColumnReading BinaryReading(std::u16string_view name) {
  if (name.starts_with(u"L")) return Reading(ColumnKind::kNumber32);
  if (name.starts_with(u"T")) return Reading(ColumnKind::kFiletime);
  if (name.starts_with(u"Q") || name.starts_with(u"N67b0")) return Reading(ColumnKind::kIdentifier, true);
  if (name == u"N6762" || name == u"N676a") return Reading(ColumnKind::kGuid);
  if (name == u"N677f") return Reading(ColumnKind::kRawBinary);
  if (name == u"N6768") return Reading(ColumnKind::kBinaryAnsi);
  if (name == u"MN667f") return Reading(ColumnKind::kAnsiValue);
  return Reading(ColumnKind::kValueText);
}

// The bytes of a binary value as UTF-16 text up to the first zero unit.
std::optional<std::u16string> RawBinaryText(const RecordRef& record, int column) {
  std::optional<std::vector<uint8_t>> bytes = RawBinaryValue(record, column);
  if (!bytes) return std::nullopt;
  std::u16string text = Utf16LeBytesToText(bytes->data(), bytes->size());
  text.erase(std::find(text.begin(), text.end(), u'\0'), text.end());
  return text;
}

}  // namespace

ColumnReading ChooseColumnReading(uint32_t column_type, std::u16string_view name) {
  if (name.empty() || name.size() > kLongestKnownName) return Reading(ColumnKind::kValueText);
  if (column_type == ese_type::kCurrency) return CurrencyReading(name);
  if (column_type == ese_type::kBinary || column_type == ese_type::kLongBinary) return BinaryReading(name);
  return Reading(ColumnKind::kValueText);
}

std::optional<std::u16string> RenderByKind(const RecordRef& record, int column, ColumnKind kind, ByteOrder order) {
  switch (kind) {
    case ColumnKind::kValueText: return ValueText(record, column, std::nullopt);
    case ColumnKind::kRawBinary: return RawBinaryText(record, column);
    case ColumnKind::kNumber32: return Number32Text(record, column, order);
    case ColumnKind::kIdentifier: return IdentifierText(record, column, order, std::nullopt);
    case ColumnKind::kFiletime: return FiletimeBytesText(record, column, order);
    case ColumnKind::kGuid: return GuidText(record, column, order);
    case ColumnKind::kAnsiValue: return AnsiValueText(record, column);
    case ColumnKind::kBinaryAnsi: return BinaryAnsiText(record, column);
  }
  return std::nullopt;
}

}  // namespace edb
