// Long-value storage.
#include "ese/long_value_tree.h"

#include <algorithm>
#include <stdexcept>

#include "ese/byte_order.h"
#include "ese/engine_format.h"

namespace esewriter {
namespace {

TreeIdentity LongValueIdentity(PageFile* file, uint32_t objid, uint32_t table_root_page) {
  TreeIdentity identity;
  identity.objid = objid;
  identity.root_page = file->Allocate();
  identity.parent_root_page = table_root_page;
  identity.kind_flags = kPageLongValue;
  identity.initial_pages = 1;
  return identity;
}

}  // namespace

LongValueTree::LongValueTree(PageFile* file, uint32_t objid, uint32_t table_root_page)
    : objid_(objid),
      chunk_size_(LongValueChunkSize(file->page_size())),
      tree_(file, file, LongValueIdentity(file, objid, table_root_page)) {}

uint32_t LongValueTree::StoreLongValue(std::span<const uint8_t> bytes) {
  if (bytes.size() > 0x7fffffffu) throw std::invalid_argument("long value larger than 2 GiB");
  if (last_id_ == 0xffffffffu) throw std::length_error("a table holds at most 2^32 - 1 long values");
  const uint32_t id = ++last_id_;

  uint8_t root_key[4];
  StoreBe32(root_key, id);
  uint8_t root_data[8];
  StoreLe32(root_data, 1);  // reference count
  StoreLe32(root_data + 4, static_cast<uint32_t>(bytes.size()));

  uint8_t chunk_key[8];
  StoreBe32(chunk_key, id);
  size_t offset = 0;
  do {
    StoreBe32(chunk_key + 4, static_cast<uint32_t>(offset));
    const size_t size = std::min(chunk_size_, bytes.size() - offset);
    const Node chunk{chunk_key, bytes.subspan(offset, size)};
    if (offset == 0) {
      const Node pair[2] = {Node{root_key, root_data}, chunk};
      tree_.Append(pair, chunk_key);
    } else {
      tree_.Append(chunk);
    }
    offset += size;
  } while (offset < bytes.size());
  return id;
}

}  // namespace esewriter
