// Builds one B+ tree from nodes appended in ascending key order, writing each
// page as soon as it is full, the way the engine fills a tree by appending:
// a node that does not fit the current leaf starts a new leaf, the page
// before keeps what it has, and the parent gets the shortest key that
// separates the two pages. The root page stays in place (its number is fixed
// when the tree is created) and is written last.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ese/page_builder.h"
#include "ese/page_file.h"

namespace esewriter {

struct TreeIdentity {
  uint32_t objid = 0;
  uint32_t root_page = 0;
  uint32_t parent_root_page = 0;  // root page of the tree this one belongs to
  uint32_t kind_flags = 0;        // kPageLongValue, kPageIndex, kPageSpaceTree or 0
  uint32_t initial_pages = 1;     // the engine's primary extent size, kept in the root header
};

class TreeBuilder {
 public:
  // Pages come from `allocator`; finished pages go to `file`.
  TreeBuilder(PageFile* file, PageAllocator* allocator, const TreeIdentity& identity);

  // Appends nodes that must share a page (a long value's root record and its
  // first chunk); if they open a new leaf, `opening_key` becomes its
  // common-key prefix. Keys must ascend (else std::logic_error); keys are
  // never empty. Precondition: the group fits an empty leaf page.
  void Append(std::span<const Node> group, std::span<const uint8_t> opening_key);
  void Append(const Node& node) { Append(std::span<const Node>(&node, 1), node.key); }

  // Writes the pages still open and the root page.
  void Finish();

  uint32_t root_page() const { return identity_.root_page; }

  // The shortest key that sorts after `left` and not after `right`: the
  // first bytes of `right` up to and including its first difference from
  // `left`. Precondition: left < right.
  static std::vector<uint8_t> ShortestSeparator(std::span<const uint8_t> left, std::span<const uint8_t> right);

 private:
  struct BranchLevel {
    explicit BranchLevel(uint32_t page_size) : page(page_size) {}
    PageBuilder page;
    bool open = false;
    bool flushed_a_page = false;
  };

  void MoveRootNodesToLeaf();
  void StartLeaf(std::span<const uint8_t> opening_key);
  void WriteLeaf(uint32_t next);
  void AddToBranch(size_t level, std::span<const uint8_t> key, uint32_t child);
  uint32_t FlushBranch(size_t level);
  bool FitsOnRootPage(const PageBuilder& page) const;
  void WriteRootFrom(const PageBuilder& page, uint32_t flags);
  std::vector<uint8_t> RootHeader() const;
  void Write(PageBuilder* page, uint32_t page_number, uint32_t previous, uint32_t next, uint32_t flags);

  PageFile* file_;
  PageAllocator* allocator_;
  TreeIdentity identity_;

  PageBuilder root_;
  bool root_is_leaf_ = true;
  std::vector<uint8_t> first_opening_key_;

  PageBuilder leaf_;
  bool leaf_open_ = false;
  bool force_new_leaf_ = false;  // the root's nodes just moved to the current leaf
  uint32_t leaf_page_ = 0;
  uint32_t previous_leaf_page_ = 0;

  std::vector<BranchLevel> branches_;  // branches_[0] is the level just above the leaves
  std::vector<uint8_t> key_scratch_;
  std::vector<uint8_t> last_key_;  // the last key appended
};

}  // namespace esewriter
