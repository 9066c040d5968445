// The engine's record format: fixed, variable and tagged columns, multi-values.
#include "ese/record_format.h"

#include <string>

namespace edb::ese {
namespace {

constexpr size_t kHeaderSize = 4;
constexpr uint32_t kLastFixedId = 127;
constexpr uint32_t kFirstVariableId = 128;
constexpr uint32_t kLastVariableId = 255;
constexpr uint16_t kVariableNullBit = 0x8000;
constexpr uint16_t kTaggedHasFlagByte = 0x4000;
constexpr uint16_t kMemberSeparatedBit = 0x8000;

uint16_t Le16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

Status Broken(const std::string& what) { return Status::Corruption("record " + what); }

// The record's tagged entries: (id, offset) pairs and where their values start.
struct TaggedArea {
  size_t start = 0;  // offset of the (id, offset) array in the record
  size_t count = 0;
};

class RecordDecoder {
 public:
  RecordDecoder(std::span<const uint8_t> record, const RecordLayout& layout)
      : record_(record), offset_mask_(layout.large_pages ? 0x7fff : 0x3fff), large_pages_(layout.large_pages) {}

  Status ReadHeader() {
    if (record_.size() < kHeaderSize) return Broken("shorter than its header");
    last_fixed_ = record_[0];
    last_variable_ = record_[1];
    variable_array_ = Le16(record_, 2);
    if (variable_array_ < kHeaderSize || variable_array_ > record_.size())
      return Broken("variable-size array lies outside it");
    variable_count_ = last_variable_ >= kFirstVariableId ? last_variable_ - kFirstVariableId + 1 : 0;
    if (variable_count_ * 2 > record_.size() - variable_array_) return Broken("variable-size array runs past it");
    variable_values_ = variable_array_ + variable_count_ * 2;
    size_t variable_end = variable_count_ == 0 ? 0 : Le16(record_, variable_values_ - 2) & 0x7fff;
    if (variable_end > record_.size() - variable_values_) return Broken("variable values run past it");
    tagged_.start = variable_values_ + variable_end;
    return ReadTaggedArray();
  }

  Status Fixed(const RecordColumn& column, size_t* fixed_at, ValueSlice* slice) const {
    if (column.id > last_fixed_) return Status::Ok();
    if (column.fixed_size > variable_array_ || *fixed_at > variable_array_ - column.fixed_size)
      return Broken("fixed column " + std::to_string(column.id) + " runs past the fixed area");
    *slice = ValueSlice{static_cast<uint32_t>(*fixed_at), column.fixed_size, 0};
    *fixed_at += column.fixed_size;
    return Status::Ok();
  }

  Status Variable(const RecordColumn& column, ValueSlice* slice) const {
    if (column.id > last_variable_) return Status::Ok();
    size_t index = column.id - kFirstVariableId;
    uint16_t entry = Le16(record_, variable_array_ + 2 * index);
    if ((entry & kVariableNullBit) != 0) return Status::Ok();
    size_t end = entry & 0x7fff;
    size_t begin = index == 0 ? 0 : Le16(record_, variable_array_ + 2 * (index - 1)) & 0x7fff;
    if (begin > end || end > record_.size() - variable_values_)
      return Broken("variable column " + std::to_string(column.id) + " runs past it");
    *slice = ValueSlice{static_cast<uint32_t>(variable_values_ + begin), static_cast<uint32_t>(end - begin), 0};
    return Status::Ok();
  }

  Status Tagged(const RecordColumn& column, ValueSlice* slice) {
    // Columns come in the order of the record's entries: ascending ids, a
    // template's columns first, then the table's own (whose ids start
    // again at 256). An entry no column asks for is passed over.
    while (next_tag_ < tagged_.count && TagId(next_tag_) < column.id) ++next_tag_;
    if (next_tag_ == tagged_.count || TagId(next_tag_) != column.id) return Status::Ok();
    size_t index = next_tag_++;
    uint16_t offset_word = TagOffsetWord(index);
    size_t begin = offset_word & offset_mask_;
    size_t end = index + 1 < tagged_.count ? TagOffsetWord(index + 1) & offset_mask_ : tagged_size_;
    if (begin > end || end > tagged_size_) return Broken("tagged column " + std::to_string(column.id) + " runs past it");
    size_t at = tagged_.start + begin;
    size_t size = end - begin;
    if (size == 0) return Status::Ok();
    uint8_t flags = 0;
    if (large_pages_ || (offset_word & kTaggedHasFlagByte) != 0) {
      flags = record_[at];
      ++at;
      --size;
    }
    *slice = ValueSlice{static_cast<uint32_t>(at), static_cast<uint32_t>(size), flags};
    return Status::Ok();
  }

 private:
  Status ReadTaggedArray() {
    tagged_size_ = record_.size() - tagged_.start;
    if (tagged_size_ == 0) return Status::Ok();
    if (tagged_size_ < 4) return Broken("tagged array runs past it");
    size_t array_size = Le16(record_, tagged_.start + 2) & offset_mask_;
    if (array_size == 0 || array_size % 4 != 0 || array_size > tagged_size_)
      return Broken("tagged array size " + std::to_string(array_size) + " does not fit");
    tagged_.count = array_size / 4;
    return Status::Ok();
  }

  uint16_t TagId(size_t index) const { return Le16(record_, tagged_.start + 4 * index); }
  uint16_t TagOffsetWord(size_t index) const { return Le16(record_, tagged_.start + 4 * index + 2); }

  std::span<const uint8_t> record_;
  uint16_t offset_mask_;
  bool large_pages_;
  uint32_t last_fixed_ = 0;
  uint32_t last_variable_ = 0;
  size_t variable_array_ = 0;
  size_t variable_count_ = 0;
  size_t variable_values_ = 0;
  TaggedArea tagged_;
  size_t tagged_size_ = 0;
  size_t next_tag_ = 0;
};

}  // namespace

Status DecodeRecord(std::span<const uint8_t> record, std::span<const RecordColumn> columns,
                    const RecordLayout& layout, std::vector<ValueSlice>* slices) {
  slices->assign(columns.size(), ValueSlice{});
  RecordDecoder decoder(record, layout);
  if (Status status = decoder.ReadHeader(); !status.ok()) return status;
  size_t fixed_at = kHeaderSize;
  for (size_t i = 0; i < columns.size(); ++i) {
    const RecordColumn& column = columns[i];
    Status status;
    if (column.id <= kLastFixedId) {
      status = decoder.Fixed(column, &fixed_at, &(*slices)[i]);
    } else if (column.id <= kLastVariableId) {
      status = decoder.Variable(column, &(*slices)[i]);
    } else {
      status = decoder.Tagged(column, &(*slices)[i]);
    }
    if (!status.ok()) return status;
  }
  return Status::Ok();
}

Status SplitMultiValue(std::span<const uint8_t> data, uint8_t flags, std::vector<MemberSlice>* members) {
  members->clear();
  if ((flags & 0x10) != 0) {
    if (data.empty() || data[0] > data.size() - 1) return Status::Corruption("two-value form: first size runs past it");
    uint32_t first = data[0];
    members->push_back(MemberSlice{1, first, false});
    members->push_back(MemberSlice{1 + first, static_cast<uint32_t>(data.size() - 1 - first), false});
    return Status::Ok();
  }
  if (data.size() < 2) return Status::Corruption("multi-value shorter than its offset table");
  size_t table_size = Le16(data, 0) & 0x7fff;
  size_t count = table_size / 2;
  if (count == 0 || table_size > data.size()) return Status::Corruption("multi-value offset table does not fit");
  members->reserve(count);
  for (size_t i = 0; i < count; ++i) {
    uint16_t word = Le16(data, 2 * i);
    size_t begin = word & 0x7fff;
    size_t end = i + 1 < count ? Le16(data, 2 * (i + 1)) & 0x7fff : data.size();
    if (begin > end || end > data.size()) return Status::Corruption("multi-value member runs past it");
    members->push_back(MemberSlice{static_cast<uint32_t>(begin), static_cast<uint32_t>(end - begin),
                                   (word & kMemberSeparatedBit) != 0});
  }
  return Status::Ok();
}

}  // namespace edb::ese
