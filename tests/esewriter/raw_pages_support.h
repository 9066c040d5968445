// Reads pages of a database file directly, for the tests that check where
// the writer puts things: page headers, the first tag and each node's key
// (prefix applied) and data.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace esetest {

struct RawNode {
  std::vector<uint8_t> key;
  std::vector<uint8_t> data;
  size_t shared_prefix = 0;  // bytes of the key taken from the page's prefix
};

struct RawPage {
  uint32_t number = 0;
  uint32_t objid = 0;
  uint32_t previous = 0;
  uint32_t next = 0;
  uint32_t flags = 0;
  std::vector<uint8_t> first_tag;  // root header or common-key prefix
  std::vector<RawNode> nodes;
};

class RawDatabase {
 public:
  explicit RawDatabase(const std::filesystem::path& path);
  uint32_t page_size() const { return page_size_; }
  uint32_t last_page() const;
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  RawPage Page(uint32_t number) const;
  // The leaf pages of the tree rooted at `root`, left to right.
  std::vector<RawPage> Leaves(uint32_t root) const;

 private:
  std::vector<uint8_t> bytes_;
  uint32_t page_size_ = 0;
};

}  // namespace esetest
