// Streaming B+ tree construction. While everything fits the root page the
// tree is a single root leaf (keys stored whole). When a node no longer fits,
// the root's nodes move to a new leaf (with a common-key prefix) and the node
// starts the next leaf; from then on the root is a branch page, written at
// Finish from the top level's entries, or from a level added above when the
// top level does not fit the root. Branch pages keep previous/next links at 0
// and the last entry of a level's last page has an empty key.
#include "ese/tree_builder.h"

#include <algorithm>
#include <cassert>
#include <stdexcept>

#include "ese/byte_order.h"
#include "ese/engine_format.h"

namespace esewriter {

TreeBuilder::TreeBuilder(PageFile* file, PageAllocator* allocator, const TreeIdentity& identity)
    : file_(file), allocator_(allocator), identity_(identity), root_(file->page_size()), leaf_(file->page_size()) {
  root_.StartRoot(RootHeader());
}

std::vector<uint8_t> TreeBuilder::RootHeader() const {
  std::vector<uint8_t> header(kRootHeaderSize, 0);
  StoreLe32(header.data(), identity_.initial_pages);
  StoreLe32(header.data() + 4, identity_.parent_root_page);
  // Extent space 0 (single extent) and no space tree pages of its own: the
  // database's own space trees account for every page.
  return header;
}

std::vector<uint8_t> TreeBuilder::ShortestSeparator(std::span<const uint8_t> left, std::span<const uint8_t> right) {
  size_t same = 0;
  while (same < left.size() && same < right.size() && left[same] == right[same]) ++same;
  const size_t size = same < right.size() ? same + 1 : right.size();
  return std::vector<uint8_t>(right.begin(), right.begin() + static_cast<std::ptrdiff_t>(size));
}

void TreeBuilder::Append(std::span<const Node> group, std::span<const uint8_t> opening_key) {
  for (const Node& node : group) {
    if (!std::lexicographical_compare(last_key_.begin(), last_key_.end(), node.key.begin(), node.key.end())) {
      throw std::logic_error("tree keys must ascend");
    }
    last_key_.assign(node.key.begin(), node.key.end());
  }
  if (root_is_leaf_) {
    if (root_.Fits(group)) {
      if (root_.empty()) first_opening_key_.assign(opening_key.begin(), opening_key.end());
      for (const Node& node : group) root_.Add(node);
      return;
    }
    MoveRootNodesToLeaf();
  }
  const bool after_root_split = force_new_leaf_;
  force_new_leaf_ = false;
  if (!leaf_open_) {
    leaf_page_ = allocator_->Allocate();
    previous_leaf_page_ = 0;
    StartLeaf(opening_key);
  } else if (after_root_split || !leaf_.Fits(group)) {
    const uint32_t next = allocator_->Allocate();
    const std::vector<uint8_t> separator = ShortestSeparator(leaf_.LastKey(), group.front().key);
    const uint32_t full_page = leaf_page_;
    WriteLeaf(next);
    AddToBranch(0, separator, full_page);
    previous_leaf_page_ = full_page;
    leaf_page_ = next;
    StartLeaf(opening_key);
  }
  assert(leaf_.Fits(group));
  for (const Node& node : group) leaf_.Add(node);
}

void TreeBuilder::MoveRootNodesToLeaf() {
  root_is_leaf_ = false;
  if (root_.empty()) return;
  // The root's nodes become the first leaf; the node that did not fit then
  // opens the second one, as after the engine's append split.
  leaf_page_ = allocator_->Allocate();
  previous_leaf_page_ = 0;
  StartLeaf(first_opening_key_);
  for (size_t i = 0; i < root_.node_count(); ++i) leaf_.Add(root_.NodeAt(i, &key_scratch_));
  force_new_leaf_ = true;
}

void TreeBuilder::StartLeaf(std::span<const uint8_t> opening_key) {
  leaf_.StartWithPrefix(opening_key);
  leaf_open_ = true;
}

void TreeBuilder::WriteLeaf(uint32_t next) {
  Write(&leaf_, leaf_page_, previous_leaf_page_, next, kPageLeaf | identity_.kind_flags);
}

void TreeBuilder::AddToBranch(size_t level, std::span<const uint8_t> key, uint32_t child) {
  if (branches_.size() <= level) branches_.emplace_back(file_->page_size());
  uint8_t child_bytes[4];
  StoreLe32(child_bytes, child);
  const Node node{key, child_bytes};
  BranchLevel& branch = branches_[level];
  if (!branch.open) {
    branch.page.StartWithPrefix(key);
    branch.open = true;
  } else if (!branch.page.Fits(std::span<const Node>(&node, 1))) {
    // The page's last key bounds it from above; it is the page's key in the
    // level above.
    const std::vector<uint8_t> upper_bound = branch.page.LastKey();
    const uint32_t page_number = FlushBranch(level);
    AddToBranch(level + 1, upper_bound, page_number);
    BranchLevel& same_branch = branches_[level];  // AddToBranch may have grown branches_
    same_branch.page.StartWithPrefix(key);
    same_branch.open = true;
  }
  branches_[level].page.Add(node);
}

uint32_t TreeBuilder::FlushBranch(size_t level) {
  const uint32_t page_number = allocator_->Allocate();
  BranchLevel& branch = branches_[level];
  const uint32_t flags = (level == 0 ? kPageParentOfLeaf : 0) | identity_.kind_flags;
  Write(&branch.page, page_number, 0, 0, flags);
  branch.open = false;
  branch.flushed_a_page = true;
  return page_number;
}

bool TreeBuilder::FitsOnRootPage(const PageBuilder& page) const {
  size_t needed = kPageHeaderSize + kRootHeaderSize + kTagSize;
  std::vector<uint8_t> key;
  for (size_t i = 0; i < page.node_count(); ++i) {
    const Node node = page.NodeAt(i, &key);
    needed += PageBuilder::RootFootprint(node.key.size(), node.data.size());
  }
  return needed <= file_->page_size();
}

void TreeBuilder::WriteRootFrom(const PageBuilder& page, uint32_t flags) {
  root_.StartRoot(RootHeader());
  for (size_t i = 0; i < page.node_count(); ++i) root_.Add(page.NodeAt(i, &key_scratch_));
  Write(&root_, identity_.root_page, 0, 0, flags);
}

void TreeBuilder::Finish() {
  if (root_is_leaf_) {
    Write(&root_, identity_.root_page, 0, 0, kPageRoot | kPageLeaf | identity_.kind_flags);
    return;
  }
  const uint32_t last_leaf = leaf_page_;
  WriteLeaf(0);
  AddToBranch(0, {}, last_leaf);
  for (size_t level = 0;; ++level) {
    const bool top = level + 1 == branches_.size();
    BranchLevel& branch = branches_[level];
    if (top && !branch.flushed_a_page && FitsOnRootPage(branch.page)) {
      const uint32_t flags = kPageRoot | (level == 0 ? kPageParentOfLeaf : 0) | identity_.kind_flags;
      WriteRootFrom(branch.page, flags);
      return;
    }
    const uint32_t page_number = FlushBranch(level);
    AddToBranch(level + 1, {}, page_number);
  }
}

void TreeBuilder::Write(PageBuilder* page, uint32_t page_number, uint32_t previous, uint32_t next, uint32_t flags) {
  PagePlacement placement;
  placement.page_number = page_number;
  placement.objid = identity_.objid;
  placement.previous = previous;
  placement.next = next;
  placement.flags = flags;
  placement.database_time = file_->NextDatabaseTime();
  file_->WritePage(page_number, page->Seal(placement));
}

}  // namespace esewriter
