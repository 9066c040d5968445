// Decoding of the engine's record format: which bytes of a stored record
// belong to which column, with the value flags the engine stored beside
// them, and the members of a multi-value. Pure functions over byte spans:
// nothing here reads a file, and nothing trusts the bytes (every offset is
// checked; a record that does not hold together is Corruption).
//
// A record is
//   a 4-byte header: last fixed column id, last variable column id, offset
//     of the variable-size array;
//   the fixed columns' values in column id order (then their NULL bits);
//   the variable-size array (cumulative end offsets, bit 15: NULL) and the
//     variable values;
//   the tagged columns: (id, offset) pairs, then the values; a value whose
//     offset has bit 14 set (on 16 and 32 KiB pages: every value) starts
//     with a flag byte.
//
// Values come out as libesedb hands them up: a fixed column at or before
// the last fixed column gives its stored bytes whatever its NULL bit says,
// later ones are NULL; flags are those of the tagged value's flag byte, 0
// for fixed and variable columns.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/status.h"

namespace edb::ese {

// What the decoder needs of a column.
struct RecordColumn {
  uint32_t id = 0;
  uint32_t type = 0;
  uint32_t fixed_size = 0;  // fixed columns (id 1-127): the stored size
};

// How records of a database are laid out beyond their bytes.
struct RecordLayout {
  // 16 and 32 KiB pages of the extended format: every tagged value starts
  // with a flag byte and offsets use 15 bits.
  bool large_pages = false;
};

// Where one column's value lies in the record: `size` bytes from `offset`,
// and its flags. A NULL value has size 0 and flags 0.
struct ValueSlice {
  uint32_t offset = 0;
  uint32_t size = 0;
  uint8_t flags = 0;
};

// Decodes `record` for `columns` (ascending column id; for a table made
// from a template, the template's columns and then the table's own, whose
// tagged ids start again at 256), one slice per column. Corruption when the header, the variable array or the tagged
// array points outside the record or runs backwards.
Status DecodeRecord(std::span<const uint8_t> record, std::span<const RecordColumn> columns,
                    const RecordLayout& layout, std::vector<ValueSlice>* slices);

// One member of a multi-value: its bytes within the value, and whether it
// is kept in the long-value tree (its bytes are then the long value's key).
struct MemberSlice {
  uint32_t offset = 0;
  uint32_t size = 0;
  bool long_value = false;
};

// Splits the bytes of a multi-value (flag 0x08) into its members: with
// flag 0x10 the engine's two-value form (the first member's size in one
// byte, then both members), else a table of 16-bit offsets (bit 15: the
// member is kept apart) followed by the members. Corruption when the
// table or a size does not fit `data` or an offset runs backwards.
Status SplitMultiValue(std::span<const uint8_t> data, uint8_t flags, std::vector<MemberSlice>* members);

}  // namespace edb::ese
