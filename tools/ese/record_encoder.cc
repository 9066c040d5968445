// Record encoding.
#include "ese/record_encoder.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "ese/byte_order.h"
#include "ese/engine_format.h"
#include "ese/seven_bit.h"

namespace esewriter {
namespace {

// The engine fills NULL fixed columns before the last set one with '*'.
constexpr uint8_t kNullFixedFill = 0x2a;
constexpr uint16_t kVariableNullBit = 0x8000;
constexpr uint16_t kTaggedHasFlags = 0x4000;
constexpr size_t kLargestMultiValueOffset = 0x7fff;

[[noreturn]] void Reject(const ColumnLayout& column, const std::string& why) {
  throw std::invalid_argument("column \"" + column.name + "\": " + why);
}

// Fixed Binary columns are padded with zeros, fixed Text columns with
// blanks in the column's code page.
void PadFixed(const ColumnLayout& column, size_t used, uint8_t* field) {
  for (size_t i = used; i < column.size; ++i) {
    if (column.type != ColumnType::kText) {
      field[i] = 0;
    } else if (column.codepage == 1200) {
      field[i] = i % 2 == 0 ? 0x20 : 0x00;
    } else {
      field[i] = 0x20;
    }
  }
}

}  // namespace

RecordEncoder::RecordEncoder(const TableLayout* layout, uint32_t page_size)
    : layout_(layout), page_size_(page_size), compressed_columns_(layout->columns.size(), false) {}

std::vector<uint8_t>* RecordEncoder::Scratch() {
  if (scratch_used_ == scratch_.size()) scratch_.emplace_back();
  std::vector<uint8_t>* buffer = &scratch_[scratch_used_++];
  buffer->clear();
  return buffer;
}

void RecordEncoder::CheckValueSize(const ColumnLayout& column, std::span<const uint8_t> bytes) const {
  const uint32_t fixed = FixedTypeSize(column.type);
  if (fixed > 0) {
    if (bytes.size() != fixed) {
      Reject(column, "value of " + std::to_string(bytes.size()) + " bytes, type needs " + std::to_string(fixed));
    }
  } else if (column.size != 0 && bytes.size() > column.size) {
    Reject(column, "value of " + std::to_string(bytes.size()) + " bytes exceeds " + std::to_string(column.size));
  }
  if (column.codepage == 1200 && bytes.size() % 2 != 0) Reject(column, "UTF-16 text of an odd number of bytes");
}

void RecordEncoder::PrepareSingle(const ColumnLayout& column, std::span<const uint8_t> bytes, bool compress,
                                  TaggedItem* item) {
  CheckValueSize(column, bytes);
  if (compress && !IsLongValueType(column.type)) Reject(column, "only long columns can be compressed");
  item->payload = bytes;
  if (!IsLongValueType(column.type)) return;
  item->flags = kTaggedLongValue;
  item->original = bytes;
  item->separable = true;
  item->separate = bytes.size() > kLargestIntrinsicLongValue;
  if (compress && !bytes.empty() && !item->separate) {
    std::vector<uint8_t>* packed = Scratch();
    *packed = Compress7BitAscii(bytes);
    // Like the engine, keep the plain value when packing does not save space.
    if (packed->size() < bytes.size()) {
      item->flags |= kTaggedCompressed;
      item->payload = *packed;
    }
  }
}

void RecordEncoder::PrepareMultiple(const ColumnLayout& column, const std::vector<std::vector<uint8_t>>& values,
                                    TaggedItem* item) {
  const bool long_type = IsLongValueType(column.type);
  for (const std::vector<uint8_t>& member : values) {
    CheckValueSize(column, member);
    if (long_type && member.size() > kLargestIntrinsicLongValue) {
      Reject(column, "multi-valued long values of 1,024 bytes or more are not supported");
    }
  }
  std::vector<uint8_t>* encoded = Scratch();
  if (!long_type && values.size() == 2 && values[0].size() <= 0xff) {
    item->flags = kTaggedMultiValues | kTaggedTwoValues;
    encoded->push_back(static_cast<uint8_t>(values[0].size()));
    encoded->insert(encoded->end(), values[0].begin(), values[0].end());
    encoded->insert(encoded->end(), values[1].begin(), values[1].end());
  } else {
    item->flags = kTaggedMultiValues | (long_type ? kTaggedLongValue : 0);
    size_t offset = 2 * values.size();
    for (const std::vector<uint8_t>& member : values) {
      if (offset > kLargestMultiValueOffset) Reject(column, "multi-value too large");
      AppendLe16(encoded, static_cast<uint16_t>(offset));
      offset += member.size();
    }
    for (const std::vector<uint8_t>& member : values) encoded->insert(encoded->end(), member.begin(), member.end());
  }
  item->payload = *encoded;
}

void RecordEncoder::PrepareTagged(const Record& record) {
  tagged_.clear();
  for (size_t index : layout_->tagged) {
    const ColumnLayout& column = layout_->columns[index];
    const Value& value = record[index];
    if (value.is_null()) continue;
    TaggedItem item;
    item.id = column.id;
    item.column = index;
    if (value.is_multi()) {
      if (!column.multi_valued) Reject(column, "several values for a single-valued column");
      const std::vector<std::vector<uint8_t>>& values = value.multi();
      if (values.empty()) continue;  // no values: NULL
      if (values.size() == 1) {
        PrepareSingle(column, values[0], false, &item);  // one value is stored as a plain value
      } else {
        PrepareMultiple(column, values, &item);
      }
    } else {
      PrepareSingle(column, value.bytes(), value.is_compressed(), &item);
    }
    tagged_.push_back(item);
  }
}

size_t RecordEncoder::EncodedSize(const Record& record) const {
  size_t size = kRecordHeaderSize;
  if (last_fixed_ >= 0) {
    const ColumnLayout& last = layout_->columns[layout_->fixed[static_cast<size_t>(last_fixed_)]];
    size = last.record_offset + last.size + (last.id + 7) / 8;
  }
  for (int i = 0; i <= last_variable_; ++i) {
    const size_t index = layout_->variable[static_cast<size_t>(i)];
    size += 2 + (record[index].is_null() ? 0 : record[index].bytes().size());
  }
  for (const TaggedItem& item : tagged_) size += 4 + (item.separate ? 5 : item.stored_size());
  return size;
}

void RecordEncoder::ChooseSeparatedValues(size_t record_size) {
  const size_t limit = LargestRecordSize(page_size_);
  while (record_size > limit) {
    TaggedItem* largest = nullptr;
    for (TaggedItem& item : tagged_) {
      if (item.separable && !item.separate && (largest == nullptr || item.stored_size() > largest->stored_size())) {
        largest = &item;
      }
    }
    if (largest == nullptr) {
      throw std::invalid_argument("record of " + std::to_string(record_size) + " bytes does not fit a page");
    }
    record_size -= largest->stored_size() - 5;
    largest->separate = true;
  }
}

void RecordEncoder::Encode(const Record& record, LongValueSink* sink, std::vector<uint8_t>* out) {
  if (record.size() != layout_->columns.size()) {
    throw std::invalid_argument("record of " + std::to_string(record.size()) + " values for a table of " +
                                std::to_string(layout_->columns.size()) + " columns");
  }
  scratch_used_ = 0;
  last_fixed_ = -1;
  for (size_t i = 0; i < layout_->fixed.size(); ++i) {
    const ColumnLayout& column = layout_->columns[layout_->fixed[i]];
    const Value& value = record[layout_->fixed[i]];
    if (value.is_null()) continue;
    if (value.is_multi()) Reject(column, "several values for a single-valued column");
    if (value.is_compressed()) Reject(column, "only long columns can be compressed");
    if (FixedTypeSize(column.type) > 0) {
      CheckValueSize(column, value.bytes());
    } else if (value.bytes().size() > column.size) {
      Reject(column, "value longer than the fixed column");
    }
    last_fixed_ = static_cast<int>(i);
  }
  last_variable_ = -1;
  for (size_t i = 0; i < layout_->variable.size(); ++i) {
    const ColumnLayout& column = layout_->columns[layout_->variable[i]];
    const Value& value = record[layout_->variable[i]];
    if (value.is_null()) continue;
    if (value.is_multi()) Reject(column, "several values for a single-valued column");
    if (value.is_compressed()) Reject(column, "only long columns can be compressed");
    CheckValueSize(column, value.bytes());
    last_variable_ = static_cast<int>(i);
  }
  PrepareTagged(record);

  ChooseSeparatedValues(EncodedSize(record));

  for (TaggedItem& item : tagged_) {
    if (!item.separate) {
      if ((item.flags & kTaggedCompressed) != 0) compressed_columns_[item.column] = true;
      continue;
    }
    StoreLe32(item.long_value_id, sink->StoreLongValue(item.original));
    item.flags = kTaggedLongValue | kTaggedSeparated;
    item.payload = item.long_value_id;
  }
  Serialize(record, out);
}

void RecordEncoder::Serialize(const Record& record, std::vector<uint8_t>* out) const {
  out->clear();
  out->resize(kRecordHeaderSize);
  uint8_t last_fixed_id = 0;
  if (last_fixed_ >= 0) {
    const ColumnLayout& last = layout_->columns[layout_->fixed[static_cast<size_t>(last_fixed_)]];
    last_fixed_id = static_cast<uint8_t>(last.id);
    out->resize(last.record_offset + last.size + (last.id + 7) / 8, 0);
    uint8_t* null_bits = out->data() + last.record_offset + last.size;
    // Bits past the last column in the final byte are set, as the engine does.
    for (size_t bit = last.id; bit < static_cast<size_t>(((last.id + 7) / 8) * 8); ++bit) {
      null_bits[bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
    for (int i = 0; i <= last_fixed_; ++i) {
      const size_t index = layout_->fixed[static_cast<size_t>(i)];
      const ColumnLayout& column = layout_->columns[index];
      uint8_t* field = out->data() + column.record_offset;
      if (record[index].is_null()) {
        std::memset(field, kNullFixedFill, column.size);
        null_bits[(column.id - 1) / 8] |= static_cast<uint8_t>(1u << ((column.id - 1) % 8));
      } else {
        const std::vector<uint8_t>& bytes = record[index].bytes();
        if (!bytes.empty()) std::memcpy(field, bytes.data(), bytes.size());
        PadFixed(column, bytes.size(), field);
      }
    }
  }
  const size_t variable_sizes_at = out->size();
  const uint8_t last_variable_id =
      last_variable_ >= 0
          ? static_cast<uint8_t>(layout_->columns[layout_->variable[static_cast<size_t>(last_variable_)]].id)
          : static_cast<uint8_t>(kFirstVariableId - 1);
  (*out)[0] = last_fixed_id;
  (*out)[1] = last_variable_id;
  StoreLe16(out->data() + 2, static_cast<uint16_t>(variable_sizes_at));

  out->resize(variable_sizes_at + 2 * static_cast<size_t>(last_variable_ + 1));
  uint16_t end = 0;
  for (int i = 0; i <= last_variable_; ++i) {
    const Value& value = record[layout_->variable[static_cast<size_t>(i)]];
    uint8_t* size_field = out->data() + variable_sizes_at + 2 * static_cast<size_t>(i);
    if (value.is_null()) {
      StoreLe16(size_field, static_cast<uint16_t>(end | kVariableNullBit));
      continue;
    }
    end = static_cast<uint16_t>(end + value.bytes().size());
    StoreLe16(size_field, end);
    out->insert(out->end(), value.bytes().begin(), value.bytes().end());
  }

  const size_t tagged_at = out->size();
  out->resize(tagged_at + 4 * tagged_.size());
  size_t value_offset = 4 * tagged_.size();
  for (size_t i = 0; i < tagged_.size(); ++i) {
    const TaggedItem& item = tagged_[i];
    uint8_t* entry = out->data() + tagged_at + 4 * i;
    StoreLe16(entry, item.id);
    StoreLe16(entry + 2, static_cast<uint16_t>(value_offset | (item.flags != 0 ? kTaggedHasFlags : 0)));
    value_offset += item.stored_size();
  }
  for (const TaggedItem& item : tagged_) {
    if (item.flags != 0) out->push_back(item.flags);
    out->insert(out->end(), item.payload.begin(), item.payload.end());
  }
}

}  // namespace esewriter
