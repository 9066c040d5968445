// Page image assembly: node data grows from the end of the 40-byte header,
// tags grow from the end of the page backwards. Tag i is four bytes at
// page_size - 4 * (i + 1): the value size, then the value offset (relative
// to the end of the header) with the tag flags in its top three bits.
#include "ese/page_builder.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "ese/byte_order.h"
#include "ese/engine_format.h"
#include "ese/page_checksum.h"

namespace esewriter {
namespace {

// Page header offsets.
constexpr size_t kDatabaseTimeOffset = 8;
constexpr size_t kPreviousOffset = 16;
constexpr size_t kNextOffset = 20;
constexpr size_t kObjidOffset = 24;
constexpr size_t kFreeBytesOffset = 28;
constexpr size_t kFirstFreeOffsetOffset = 32;
constexpr size_t kTagCountOffset = 34;
constexpr size_t kFlagsOffset = 36;

// Sharing fewer bytes than this does not pay for the 2-byte count.
constexpr size_t kSmallestSharedPrefix = 3;

}  // namespace

// The page image is allocated when first used: a tree keeps builders for
// levels it may never need.
PageBuilder::PageBuilder(uint32_t page_size) : page_size_(page_size) {}

void PageBuilder::StartRoot(std::span<const uint8_t> root_header) {
  prefix_.clear();
  Start(root_header, true);
}

void PageBuilder::StartWithPrefix(std::span<const uint8_t> prefix) {
  prefix_.assign(prefix.begin(), prefix.end());
  Start(prefix, false);
}

void PageBuilder::Start(std::span<const uint8_t> first_tag_data, bool root) {
  page_.assign(page_size_, 0);
  root_ = root;
  data_end_ = 0;
  tag_count_ = 0;
  std::memcpy(page_.data() + kPageHeaderSize, first_tag_data.data(), first_tag_data.size());
  AppendTag(0, first_tag_data.size(), 0);
  data_end_ = first_tag_data.size();
}

size_t PageBuilder::SharedPrefixSize(std::span<const uint8_t> key) const {
  if (root_) return 0;
  const size_t limit = std::min(key.size(), prefix_.size());
  size_t shared = 0;
  while (shared < limit && key[shared] == prefix_[shared]) ++shared;
  return shared >= kSmallestSharedPrefix ? shared : 0;
}

size_t PageBuilder::Footprint(std::span<const uint8_t> key, size_t data_size) const {
  const size_t shared = SharedPrefixSize(key);
  const size_t counts = shared > 0 ? 4 : 2;
  return counts + (key.size() - shared) + data_size + kTagSize;
}

size_t PageBuilder::RootFootprint(size_t key_size, size_t data_size) { return 2 + key_size + data_size + kTagSize; }

size_t PageBuilder::free_bytes() const { return page_size_ - kPageHeaderSize - data_end_ - kTagSize * tag_count_; }

bool PageBuilder::Fits(std::span<const Node> nodes) const {
  size_t needed = 0;
  for (const Node& node : nodes) needed += Footprint(node.key, node.data.size());
  return needed <= free_bytes();
}

void PageBuilder::AppendTag(size_t offset, size_t size, uint16_t flags) {
  uint8_t* tag = page_.data() + page_size_ - kTagSize * (tag_count_ + 1);
  StoreLe16(tag, static_cast<uint16_t>(size));
  StoreLe16(tag + 2, static_cast<uint16_t>(offset | (static_cast<size_t>(flags) << 13)));
  ++tag_count_;
}

void PageBuilder::Add(const Node& node) {
  assert(Footprint(node.key, node.data.size()) <= free_bytes());
  const size_t shared = SharedPrefixSize(node.key);
  const size_t start = data_end_;
  uint8_t* out = page_.data() + kPageHeaderSize + data_end_;
  if (shared > 0) {
    StoreLe16(out, static_cast<uint16_t>(shared));
    out += 2;
  }
  const size_t local_size = node.key.size() - shared;
  StoreLe16(out, static_cast<uint16_t>(local_size));
  out += 2;
  if (local_size > 0) std::memcpy(out, node.key.data() + shared, local_size);
  out += local_size;
  if (!node.data.empty()) std::memcpy(out, node.data.data(), node.data.size());
  out += node.data.size();
  data_end_ = static_cast<size_t>(out - (page_.data() + kPageHeaderSize));
  AppendTag(start, data_end_ - start, shared > 0 ? kTagCompressedKey : 0);
}

Node PageBuilder::NodeAt(size_t index, std::vector<uint8_t>* key_storage) const {
  const uint8_t* tag = page_.data() + page_size_ - kTagSize * (index + 2);
  const size_t size = LoadLe16(tag) & 0x1fff;
  const uint16_t offset_and_flags = LoadLe16(tag + 2);
  const size_t offset = offset_and_flags & 0x1fff;
  const bool compressed = ((offset_and_flags >> 13) & kTagCompressedKey) != 0;
  const uint8_t* node = page_.data() + kPageHeaderSize + offset;
  const uint8_t* end = node + size;
  key_storage->clear();
  if (compressed) {
    const size_t shared = LoadLe16(node);
    key_storage->assign(prefix_.begin(), prefix_.begin() + static_cast<std::ptrdiff_t>(shared));
    node += 2;
  }
  const size_t local_size = LoadLe16(node);
  node += 2;
  key_storage->insert(key_storage->end(), node, node + local_size);
  node += local_size;
  return {*key_storage, std::span<const uint8_t>(node, end)};
}

std::vector<uint8_t> PageBuilder::LastKey() const {
  std::vector<uint8_t> key;
  if (!empty()) NodeAt(node_count() - 1, &key);
  return key;
}

std::span<const uint8_t> PageBuilder::Seal(const PagePlacement& placement) {
  uint8_t* p = page_.data();
  StoreLe64(p + kDatabaseTimeOffset, placement.database_time);
  StoreLe32(p + kPreviousOffset, placement.previous);
  StoreLe32(p + kNextOffset, placement.next);
  StoreLe32(p + kObjidOffset, placement.objid);
  StoreLe16(p + kFreeBytesOffset, static_cast<uint16_t>(free_bytes()));
  StoreLe16(p + 30, 0);  // no uncommitted free bytes
  StoreLe16(p + kFirstFreeOffsetOffset, static_cast<uint16_t>(data_end_));
  StoreLe16(p + kTagCountOffset, static_cast<uint16_t>(tag_count_));
  StoreLe32(p + kFlagsOffset, placement.flags | kPageFormatFlags);
  StampPageChecksums(page_, placement.page_number);
  return page_;
}

}  // namespace esewriter
