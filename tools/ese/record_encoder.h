// Turns a record's values into the engine's record format:
//   4-byte header: last fixed column id, last variable column id, offset of
//     the variable-size array;
//   fixed column values up to the last non-NULL one, then their NULL bits;
//   the variable-size array (cumulative end offsets, bit 15 set for NULL)
//     and the variable values;
//   the tagged columns: (id, offset) pairs, then the values, each preceded
//     by a flag byte when it has flags (bit 14 of its offset says so).
// Long values of 1,024 bytes or more, and smaller ones when the record would
// not fit its page (largest first), are stored separately and replaced by
// their long-value id.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ese/column_layout.h"
#include "ese/database_writer.h"

namespace esewriter {

// Receives the long values a record separates; returns each one's id.
class LongValueSink {
 public:
  virtual ~LongValueSink() = default;
  virtual uint32_t StoreLongValue(std::span<const uint8_t> bytes) = 0;
};

// Tagged value flag bytes.
constexpr uint8_t kTaggedLongValue = 0x01;  // a value of a long type kept in the record
constexpr uint8_t kTaggedCompressed = 0x02;
constexpr uint8_t kTaggedSeparated = 0x04;  // the value is a long-value id
constexpr uint8_t kTaggedMultiValues = 0x08;
constexpr uint8_t kTaggedTwoValues = 0x10;  // two short values: size of the first, then both

class RecordEncoder {
 public:
  RecordEncoder(const TableLayout* layout, uint32_t page_size);

  // Encodes `record` into `out`. Separated long values go to `sink` only
  // once the whole record is known to be valid. Throws std::invalid_argument
  // when a value does not suit its column or the record cannot fit a page.
  void Encode(const Record& record, LongValueSink* sink, std::vector<uint8_t>* out);

  // Per column (in spec order): whether any of its values was stored
  // compressed.
  const std::vector<bool>& compressed_columns() const { return compressed_columns_; }

 private:
  struct TaggedItem {
    uint16_t id = 0;
    size_t column = 0;
    uint8_t flags = 0;
    std::span<const uint8_t> payload;   // the stored bytes after the flag byte
    std::span<const uint8_t> original;  // an intrinsic long value's own bytes
    bool separable = false;
    bool separate = false;
    uint8_t long_value_id[4] = {0, 0, 0, 0};
    size_t stored_size() const { return (flags != 0 ? 1 : 0) + payload.size(); }
  };

  void CheckValueSize(const ColumnLayout& column, std::span<const uint8_t> bytes) const;
  void PrepareTagged(const Record& record);
  void PrepareSingle(const ColumnLayout& column, std::span<const uint8_t> bytes, bool compress, TaggedItem* item);
  void PrepareMultiple(const ColumnLayout& column, const std::vector<std::vector<uint8_t>>& values, TaggedItem* item);
  std::vector<uint8_t>* Scratch();
  size_t EncodedSize(const Record& record) const;
  void ChooseSeparatedValues(size_t record_size);
  void Serialize(const Record& record, std::vector<uint8_t>* out) const;

  const TableLayout* layout_;
  uint32_t page_size_;
  int last_fixed_ = -1;     // position in layout_->fixed of the last non-NULL fixed column
  int last_variable_ = -1;  // position in layout_->variable of the last non-NULL variable column
  std::vector<TaggedItem> tagged_;
  std::vector<std::vector<uint8_t>> scratch_;  // reused buffers for encoded tagged values
  size_t scratch_used_ = 0;
  std::vector<bool> compressed_columns_;
};

}  // namespace esewriter
