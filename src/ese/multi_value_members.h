// The members of a multi-value (value flag 0x08 without 0x10), read through
// libesedb's multi-value functions.
#pragma once

#include <libesedb.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ese/esedb_handles.h"

namespace edb {

class MultiValueMembers {
 public:
  // Opens the multi-value of value `column`; `raw_data` is the value's data
  // as the record holds it (its offset table tells which members live in the
  // long-value tree). Nullopt when libesedb cannot open it.
  static std::optional<MultiValueMembers> Open(libesedb_record_t* record, int column,
                                               std::span<const uint8_t> raw_data);

  int count() const { return count_; }

  // The member's bytes as stored in the record; false when they cannot be
  // read. For a member kept in the long-value tree these are its key.
  bool Data(int index, std::vector<uint8_t>* data) const;

  // The member as UTF-16 text by libesedb (code page of the column, compressed
  // members expanded), without the terminator; nullopt when it cannot be read.
  std::optional<std::u16string> Text(int index) const;

  // True when the member's bytes are the key of a separate long value rather
  // than its content.
  bool StoredAsLongValue(int index) const;

 private:
  MultiValueMembers(EsedbMultiValue handle, int count, std::vector<bool> separated)
      : handle_(std::move(handle)), count_(count), separated_(std::move(separated)) {}

  EsedbMultiValue handle_;
  int count_;
  std::vector<bool> separated_;
};

}  // namespace edb
