// Building and searching the index of a long-value tree.
#include "ese/long_value_index.h"

#include <algorithm>

namespace edb {
namespace {

uint32_t LoadBe32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

std::vector<uint8_t> LidKey(uint32_t lid) {
  return {static_cast<uint8_t>(lid >> 24), static_cast<uint8_t>(lid >> 16), static_cast<uint8_t>(lid >> 8),
          static_cast<uint8_t>(lid)};
}

}  // namespace

// Receives the tree walk's leaf entries (ascending keys) and damage.
class LongValueIndexBuilder : public TreeVisitor {
 public:
  LongValueIndexBuilder(const EseFile& file, LongValueIndex* index, TreeVisitor* pages)
      : file_(file), index_(*index), pages_(pages) {}

  void LeafPage(uint32_t page, std::span<const uint8_t> bytes) override {
    if (pages_ != nullptr) pages_->LeafPage(page, bytes);
  }

  void Leaf(const TreeLeafEntry& entry) override {
    if (entry.key.size() == 4) return AddRoot(entry);
    if (entry.key.size() == 8) return AddChunk(entry);
    OddKey(entry);
  }

  void Damage(const TreeDamage& damage) override { index_.damage_.push_back(damage); }

 private:
  LongValueEntry& EntryFor(uint32_t lid) {
    auto& entries = index_.entries_;
    if (entries.empty() || entries.back().lid != lid) {
      LongValueEntry entry;
      entry.lid = lid;
      entry.first_chunk = static_cast<uint32_t>(index_.chunks_.size());
      entries.push_back(entry);
    }
    return entries.back();
  }

  void AddRoot(const TreeLeafEntry& leaf) {
    LongValueEntry& entry = EntryFor(LoadBe32(leaf.key.data()));
    entry.has_root = true;
    entry.root_page = leaf.page;
    entry.root_data_size = static_cast<uint32_t>(leaf.data.size());
    if (leaf.data.size() == 8) entry.total_size = LoadLe32(leaf.data.data() + 4);
  }

  void AddChunk(const TreeLeafEntry& leaf) {
    LongValueEntry& entry = EntryFor(LoadBe32(leaf.key.data()));
    LongValueChunk chunk;
    chunk.offset = LoadBe32(leaf.key.data() + 4);
    chunk.size = static_cast<uint32_t>(leaf.data.size());
    chunk.file_offset = file_.PageOffset(leaf.page) + leaf.data_offset_in_page;
    index_.chunks_.push_back(chunk);
    ++entry.chunk_count;
  }

  // A key of neither 4 nor 8 bytes (a 64-bit LID, or damage the checksum
  // missed): the long value it belongs to cannot be trusted.
  void OddKey(const TreeLeafEntry& leaf) {
    uint8_t head[4] = {0, 0, 0, 0};
    std::copy_n(leaf.key.begin(), std::min<size_t>(4, leaf.key.size()), head);
    uint32_t lid = LoadBe32(head);
    TreeDamage damage;
    damage.low = LidKey(lid);
    damage.high_unbounded = lid == UINT32_MAX;
    if (!damage.high_unbounded) damage.high = LidKey(lid + 1);
    damage.page = leaf.page;
    damage.reason = "node with a key of " + std::to_string(leaf.key.size()) + " bytes";
    index_.damage_.push_back(std::move(damage));
  }

  const EseFile& file_;
  LongValueIndex& index_;
  TreeVisitor* pages_;
};

LongValueIndex::LongValueIndex(const EseFile& file, const TreeShape& shape, TreeVisitor* pages)
    : builder_(std::make_unique<LongValueIndexBuilder>(file, this, pages)),
      walk_(std::make_unique<TreeWalk>(file, shape, builder_.get())) {}

LongValueIndex::~LongValueIndex() = default;

void LongValueIndex::IndexThrough(uint32_t lid) {
  std::vector<uint8_t> last = LidKey(lid);
  last.insert(last.end(), {0xff, 0xff, 0xff, 0xff});
  walk_->VisitThrough(last);
}

void LongValueIndex::IndexAll() { walk_->VisitAll(); }

std::unique_ptr<LongValueIndex> LongValueIndex::Build(const EseFile& file, const TreeShape& shape) {
  auto index = std::make_unique<LongValueIndex>(file, shape);
  index->IndexAll();
  return index;
}

const LongValueEntry* LongValueIndex::Find(uint32_t lid) const {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), lid,
                             [](const LongValueEntry& entry, uint32_t value) { return entry.lid < value; });
  return it != entries_.end() && it->lid == lid ? &*it : nullptr;
}

std::span<const LongValueChunk> LongValueIndex::ChunksOf(const LongValueEntry& entry) const {
  return std::span<const LongValueChunk>(chunks_).subspan(entry.first_chunk, entry.chunk_count);
}

const TreeDamage* LongValueIndex::DamageCovering(uint32_t lid) const {
  // Every key of `lid` lies between its 4-byte root key and its last
  // possible chunk key.
  std::vector<uint8_t> first = LidKey(lid);
  std::vector<uint8_t> last = first;
  last.insert(last.end(), {0xff, 0xff, 0xff, 0xff});
  for (const TreeDamage& damage : damage_) {
    bool starts_before_end = !KeyLess(last, damage.low);
    bool ends_after_start = damage.high_unbounded || KeyLess(first, damage.high);
    if (starts_before_end && ends_after_start) return &damage;
  }
  return nullptr;
}

}  // namespace edb
