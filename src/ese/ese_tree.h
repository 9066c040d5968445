// A checked walk over one B+ tree of an ESE database file (a table's
// long-value tree, the catalog): every live leaf entry in key order, and
// the key ranges that could not be read. A damaged page, a key out of
// order, a child page outside the file or a page reached twice costs the
// key range that page covers, never more, and never a crash or a hang.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ese/ese_page.h"

namespace edb {

// One live leaf entry. The spans are valid during the visitor call only.
struct TreeLeafEntry {
  std::span<const uint8_t> key;
  std::span<const uint8_t> data;
  uint32_t page = 0;
  uint32_t data_offset_in_page = 0;  // where `data` starts in its page
};

// Keys from `low` (inclusive; empty: from the start) up to `high`
// (exclusive; `high_unbounded`: to the end) that could not be read.
struct TreeDamage {
  std::vector<uint8_t> low;
  std::vector<uint8_t> high;
  bool high_unbounded = false;
  uint32_t page = 0;
  std::string reason;
};

class TreeVisitor {
 public:
  virtual ~TreeVisitor() = default;
  virtual void Leaf(const TreeLeafEntry& entry) = 0;
  virtual void Damage(const TreeDamage& damage) = 0;
  // Each sound leaf page, before its entries; `bytes` (the whole page) are
  // valid during the call only.
  virtual void LeafPage(uint32_t page, std::span<const uint8_t> bytes) {
    (void)page;
    (void)bytes;
  }
};

// Which tree to walk: its root page, the object id every page of it
// carries, and its kind flags (kPageFlagLongValue for a long-value tree, 0
// for a table or the catalog).
struct TreeShape {
  uint32_t root_page = 0;
  uint32_t object_id = 0;
  uint32_t kind_flags = 0;
};

// A walk that visits every live (not defunct) leaf entry of the tree in
// ascending key order and reports each part of the key space it could not
// read, as far as it is asked to go: it can stop and go on later. Reads
// each page at most once and goes at most 16 levels deep. `file` and
// `visitor` must outlive the walk.
class TreeWalk {
 public:
  TreeWalk(const EseFile& file, const TreeShape& shape, TreeVisitor* visitor);
  ~TreeWalk();
  TreeWalk(const TreeWalk&) = delete;
  TreeWalk& operator=(const TreeWalk&) = delete;

  // Walks on until every part of the tree that may hold a key up to `key`
  // (inclusive) has been visited.
  void VisitThrough(std::span<const uint8_t> key);
  // Walks the rest of the tree.
  void VisitAll();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// Walks the whole tree at once.
void WalkTree(const EseFile& file, const TreeShape& shape, TreeVisitor* visitor);

// Byte-wise key order; a key that is a prefix of another sorts first.
bool KeyLess(std::span<const uint8_t> a, std::span<const uint8_t> b);

}  // namespace edb
