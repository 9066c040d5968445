// The index of one table's long-value tree: for every long-value
// identifier (LID) its root record and where each of its chunks lies in the
// file, built by one walk over the tree in key order that goes as far as
// the values asked for. Memory grows with the number of long values and
// chunks, not with their size.
//
// The tree holds per LID a root record (key: LID, 4 bytes big-endian; data:
// reference count and total size, 32-bit little-endian each) followed by
// its chunks (key: LID then the chunk's byte offset, 4 bytes big-endian
// each; data: the chunk's bytes).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "ese/ese_page.h"
#include "ese/ese_tree.h"

namespace edb {

class LongValueIndexBuilder;

// Where one chunk's bytes lie in the file.
struct LongValueChunk {
  uint32_t offset = 0;  // offset of the chunk in its long value
  uint32_t size = 0;
  uint64_t file_offset = 0;
};

// What the index knows of one LID.
struct LongValueEntry {
  uint32_t lid = 0;
  bool has_root = false;
  uint32_t root_page = 0;       // the page holding the root record
  uint32_t root_data_size = 0;  // 8 in a sound tree
  uint32_t total_size = 0;      // from the root record, when it has 8 bytes
  uint32_t first_chunk = 0;     // index of its first chunk in the index
  uint32_t chunk_count = 0;
};

class LongValueIndex {
 public:
  // An index of the long-value tree `shape` of `file` that grows as it is
  // asked for values: one walk over the tree in key order, which stops as
  // soon as it has passed the value asked for. Parts of the tree that
  // cannot be read end up in damage(). Every sound leaf page the walk reads
  // goes to `pages` as well, when given. `file` and `pages` must outlive
  // the index.
  LongValueIndex(const EseFile& file, const TreeShape& shape, TreeVisitor* pages = nullptr);
  ~LongValueIndex();

  // Walks on until every record of `lid` the tree holds has been indexed.
  void IndexThrough(uint32_t lid);
  // Walks the rest of the tree.
  void IndexAll();
  // An index of the whole tree.
  static std::unique_ptr<LongValueIndex> Build(const EseFile& file, const TreeShape& shape);

  // The entry of `lid`, or null when the tree (as far as it was readable
  // and walked) holds neither a root record nor a chunk for it.
  const LongValueEntry* Find(uint32_t lid) const;
  // The chunks of `entry`, in ascending offset order.
  std::span<const LongValueChunk> ChunksOf(const LongValueEntry& entry) const;
  // The first unreadable part of the tree that may hold records of `lid`,
  // or null when all of them were readable.
  const TreeDamage* DamageCovering(uint32_t lid) const;

  const std::vector<TreeDamage>& damage() const { return damage_; }
  size_t entry_count() const { return entries_.size(); }
  size_t chunk_count() const { return chunks_.size(); }

 private:
  friend class LongValueIndexBuilder;
  std::vector<LongValueEntry> entries_;  // ascending LID
  std::vector<LongValueChunk> chunks_;
  std::vector<TreeDamage> damage_;
  std::unique_ptr<LongValueIndexBuilder> builder_;
  std::unique_ptr<TreeWalk> walk_;
};

}  // namespace edb
