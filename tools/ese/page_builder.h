// One B+ tree page under construction: its first tag (the root header of a
// root page, or the common-key prefix of any other page), then nodes in key
// order, each a key and its data. Keys on non-root pages are stored relative
// to the prefix when they share more than 2 bytes with it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace esewriter {

struct Node {
  std::span<const uint8_t> key;
  std::span<const uint8_t> data;
};

// Identity and links of a sealed page.
struct PagePlacement {
  uint32_t page_number = 0;
  uint32_t objid = 0;
  uint32_t previous = 0;
  uint32_t next = 0;
  uint32_t flags = 0;  // page flags; the format flags are added
  uint64_t database_time = 0;
};

class PageBuilder {
 public:
  explicit PageBuilder(uint32_t page_size);

  // Starts an empty root page whose first tag holds `root_header`; its keys
  // are stored whole.
  void StartRoot(std::span<const uint8_t> root_header);
  // Starts an empty non-root page with common-key prefix `prefix`.
  void StartWithPrefix(std::span<const uint8_t> prefix);

  // Bytes a node would take on this page, its tag included.
  size_t Footprint(std::span<const uint8_t> key, size_t data_size) const;
  // Bytes a node takes on a root page (keys stored whole), tag included.
  static size_t RootFootprint(size_t key_size, size_t data_size);
  size_t free_bytes() const;
  bool Fits(std::span<const Node> nodes) const;

  // Adds a node after the last one. Precondition: it fits.
  void Add(const Node& node);

  size_t node_count() const { return tag_count_ - 1; }
  bool empty() const { return node_count() == 0; }
  // Node `index` (0-based, without the first tag). Its key is assembled in
  // `key_storage`; its data points into the page.
  Node NodeAt(size_t index, std::vector<uint8_t>* key_storage) const;
  std::vector<uint8_t> LastKey() const;

  // Fills in the page header and checksums and returns the finished page,
  // valid until the next Start.
  std::span<const uint8_t> Seal(const PagePlacement& placement);

 private:
  void Start(std::span<const uint8_t> first_tag_data, bool root);
  size_t SharedPrefixSize(std::span<const uint8_t> key) const;
  void AppendTag(size_t offset, size_t size, uint16_t flags);

  uint32_t page_size_;
  std::vector<uint8_t> page_;
  size_t data_end_ = 0;  // bytes used after the page header
  size_t tag_count_ = 0;
  bool root_ = false;
  std::vector<uint8_t> prefix_;
};

}  // namespace esewriter
