// A table's long-value tree. Each separated value gets the next long-value
// id (1, 2, 3, ... per table) and is stored as a root record (key: the id,
// 4 bytes big-endian; data: reference count 1 and total size, both 32-bit
// little-endian) followed by chunks (key: id and byte offset, each 4 bytes
// big-endian) of page size - 82 bytes, the last one shorter. The first chunk
// always shares a page with its root record.
#pragma once

#include <cstdint>
#include <span>

#include "ese/page_file.h"
#include "ese/record_encoder.h"
#include "ese/tree_builder.h"

namespace esewriter {

class LongValueTree : public LongValueSink {
 public:
  LongValueTree(PageFile* file, uint32_t objid, uint32_t table_root_page);

  uint32_t StoreLongValue(std::span<const uint8_t> bytes) override;
  void Finish() { tree_.Finish(); }

  uint32_t objid() const { return objid_; }
  uint32_t root_page() const { return tree_.root_page(); }

 private:
  uint32_t objid_;
  size_t chunk_size_;
  uint32_t last_id_ = 0;
  TreeBuilder tree_;
};

}  // namespace esewriter
