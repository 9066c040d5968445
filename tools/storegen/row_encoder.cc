// Record encoding for the store tables.
#include "storegen/row_encoder.h"

#include <stdexcept>
#include <string>

#include "storegen/identifiers.h"
#include "storegen/text_codec.h"

namespace storegen {
namespace {

using esewriter::ColumnType;
using esewriter::Value;

// Largest value of a binary or text column kept in the record's variable
// part (the engine's limit for such columns).
constexpr size_t kMaxShortColumnBytes = 255;

bool IsShortColumn(ColumnType type) { return type == ColumnType::kBinary || type == ColumnType::kText; }

}  // namespace

RowEncoder::RowEncoder(const TableLayout& layout) : layout_(layout), record_(layout.size()) {}

void RowEncoder::Fail(std::string_view column, std::string_view why) const {
  throw std::invalid_argument("table " + layout_.spec().name + ", column " + std::string(column) + ": " +
                              std::string(why));
}

size_t RowEncoder::Checked(std::string_view column, ColumnType expected) {
  const size_t position = layout_.Position(column);
  const ColumnType type = layout_.spec().columns[position].type;
  const bool binary_like = expected == ColumnType::kBinary && type == ColumnType::kLongBinary;
  const bool text_like = expected == ColumnType::kText && type == ColumnType::kLongText;
  if (type != expected && !binary_like && !text_like) Fail(column, "value of the wrong type");
  return position;
}

void RowEncoder::SetOrdered(std::string_view column, uint64_t value, int width) {
  const size_t position = Checked(column, ColumnType::kBinary);
  const bool big_endian = layout_.BigEndianAt(position);
  std::vector<uint8_t> bytes(static_cast<size_t>(width));
  for (int i = 0; i < width; ++i) {
    const int shift = 8 * (big_endian ? width - 1 - i : i);
    bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(value >> shift);
  }
  record_[position] = Value::Bytes(std::move(bytes));
}

void RowEncoder::SetId(std::string_view column, uint64_t id) {
  const size_t position = Checked(column, ColumnType::kBinary);
  const auto bytes = IdBytes(id);
  record_[position] = Value::Bytes(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

void RowEncoder::SetTime(std::string_view column, FileTime time) { SetOrdered(column, time.ticks, 8); }

void RowEncoder::SetNumber32(std::string_view column, uint32_t value) { SetOrdered(column, value, 4); }

void RowEncoder::SetBit(std::string_view column, bool value) {
  record_[Checked(column, ColumnType::kBit)] = Value::Bool(value);
}

void RowEncoder::SetText(std::string_view column, std::string_view utf8) {
  const size_t position = Checked(column, ColumnType::kText);
  const esewriter::ColumnSpec& spec = layout_.spec().columns[position];
  Value value = spec.codepage == 1200 ? Value::Text1200(Utf8ToUtf16(utf8)) : Value::Text1252(Utf8ToWindows1252(utf8));
  if (IsShortColumn(spec.type) && value.bytes().size() > kMaxShortColumnBytes) Fail(column, "text too long");
  record_[position] = std::move(value);
}

void RowEncoder::SetBytes(std::string_view column, std::vector<uint8_t> bytes) {
  const size_t position = Checked(column, ColumnType::kBinary);
  if (IsShortColumn(layout_.spec().columns[position].type) && bytes.size() > kMaxShortColumnBytes) {
    Fail(column, "value longer than 255 bytes");
  }
  record_[position] = Value::Bytes(std::move(bytes));
}

void RowEncoder::SetBytes(std::string_view column, std::string_view bytes) {
  SetBytes(column, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

esewriter::Record RowEncoder::Take() {
  esewriter::Record out(layout_.size());
  out.swap(record_);
  return out;
}

}  // namespace storegen
