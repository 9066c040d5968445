// A checked, depth-first walk over one B+ tree of a database file.
#include "ese/ese_tree.h"

#include <algorithm>

namespace edb {
namespace {

constexpr int kMaxDepth = 16;
constexpr uint32_t kKindFlags = kPageFlagSpaceTree | kPageFlagIndex | kPageFlagLongValue;

using Key = std::vector<uint8_t>;

// The key range a page is responsible for: [low, high), high possibly open.
struct KeyRange {
  Key low;
  Key high;
  bool high_unbounded = true;

  bool Contains(std::span<const uint8_t> key) const {
    return !KeyLess(key, low) && (high_unbounded || KeyLess(key, high));
  }
};

// One node of a page: its full key and its data.
struct Node {
  Key key;
  std::span<const uint8_t> data;
  uint32_t data_offset_in_page = 0;
};

// Splits tag `index` of `page` into key and data. The common key prefix
// comes from tag 0 of a non-root page.
bool ReadNode(const PageView& page, int index, std::span<const uint8_t> prefix, Node* node, std::string* error) {
  std::span<const uint8_t> value = page.TagData(index);
  size_t at = 0;
  size_t common = 0;
  if ((page.TagFlags(index) & kTagFlagCommonKey) != 0) {
    if (page.is_root()) {
      *error = "common key on a root page";
      return false;
    }
    if (value.size() < 2) {
      *error = "node too short";
      return false;
    }
    common = LoadLe16(value.data());
    at = 2;
    if (common > prefix.size()) {
      *error = "common key longer than the page's prefix";
      return false;
    }
  }
  if (value.size() - at < 2) {
    *error = "node too short";
    return false;
  }
  size_t local = LoadLe16(value.data() + at);
  at += 2;
  if (local > value.size() - at) {
    *error = "node key runs past its value";
    return false;
  }
  node->key.assign(prefix.begin(), prefix.begin() + common);
  node->key.insert(node->key.end(), value.begin() + at, value.begin() + at + local);
  at += local;
  node->data = value.subspan(at);
  node->data_offset_in_page = page.TagOffsetInPage(index) + static_cast<uint32_t>(at);
  return true;
}

// Where the walk goes next: a page and the key range it answers for.
struct Target {
  uint32_t page = 0;
  KeyRange range;
  int depth = 0;
};

// A branch page being walked: its range, its children and the separators
// between them, and the next child to visit.
struct BranchFrame {
  KeyRange range;
  std::vector<Key> separators;  // separator i ends the range of child i
  std::vector<uint32_t> children;
  size_t next = 0;
  int depth = 0;
};

bool CheckSeparators(const std::vector<Node>& nodes, const KeyRange& range, std::string* error) {
  if (nodes.empty()) {
    *error = "branch page without entries";
    return false;
  }
  const Key* previous = &range.low;
  for (size_t i = 0; i < nodes.size(); ++i) {
    const Node& node = nodes[i];
    if (node.data.size() < 4) {
      *error = "branch entry without a child page";
      return false;
    }
    bool last = i + 1 == nodes.size();
    if (last && node.key.empty()) break;
    bool below_high = range.high_unbounded || KeyLess(node.key, range.high);
    bool at_high = last && !range.high_unbounded && node.key == range.high;
    if (!KeyLess(*previous, node.key) || !(below_high || at_high)) {
      *error = "separator keys out of order";
      return false;
    }
    previous = &node.key;
  }
  return true;
}

bool ReadNodes(const PageView& page, std::vector<Node>* nodes, std::string* error) {
  std::span<const uint8_t> prefix;
  if (!page.is_root()) prefix = page.TagData(0);
  for (int i = 1; i < page.tag_count(); ++i) {
    if ((page.TagFlags(i) & kTagFlagDefunct) != 0) continue;
    Node node;
    if (!ReadNode(page, i, prefix, &node, error)) {
      *error = "tag " + std::to_string(i) + ": " + *error;
      return false;
    }
    nodes->push_back(std::move(node));
  }
  return true;
}

}  // namespace

class TreeWalk::Impl {
 public:
  Impl(const EseFile& file, const TreeShape& shape, TreeVisitor* visitor)
      : file_(file), shape_(shape), visitor_(visitor), visited_(size_t{file.page_count()} + 1, false) {}

  void VisitThrough(std::span<const uint8_t> key) {
    Target target;
    while (PeekNext(&target) && !KeyLess(key, target.range.low)) Consume(std::move(target));
  }

  void VisitAll() {
    Target target;
    while (PeekNext(&target)) Consume(std::move(target));
  }

 private:
  // The next page to visit, without moving on; false when the walk is done.
  bool PeekNext(Target* target) {
    if (!started_) {
      *target = Target{shape_.root_page, KeyRange{}, 0};
      return true;
    }
    while (!stack_.empty()) {
      const BranchFrame& frame = stack_.back();
      if (frame.next < frame.children.size()) {
        size_t i = frame.next;
        bool last = i + 1 == frame.children.size();
        target->page = frame.children[i];
        target->range.low = i == 0 ? frame.range.low : frame.separators[i - 1];
        target->range.high = last ? frame.range.high : frame.separators[i];
        target->range.high_unbounded = last && frame.range.high_unbounded;
        target->depth = frame.depth + 1;
        return true;
      }
      stack_.pop_back();
    }
    return false;
  }

  // Moves past `target` (the one PeekNext gave) and visits it.
  void Consume(Target target) {
    if (!started_) {
      started_ = true;
    } else {
      ++stack_.back().next;
    }
    Visit(target);
  }

  void Visit(const Target& target) {
    std::string error;
    uint32_t number = target.page;
    if (target.depth > kMaxDepth) return Damage(target, "tree deeper than " + std::to_string(kMaxDepth));
    if (number == 0 || number > file_.page_count()) return Damage(target, "page lies outside the file");
    if (visited_[number]) return Damage(target, "page reached twice (a cycle)");
    visited_[number] = true;

    PageView page;
    if (!file_.ReadPage(number, &buffer_, &error) || !page.Parse(buffer_, number, file_.header(), &error))
      return Damage(target, error);
    if (!CheckPageBelongs(page, target.depth == 0, &error)) return Damage(target, error);
    std::vector<Node> nodes;
    if (!ReadNodes(page, &nodes, &error)) return Damage(target, error);
    if (page.is_leaf()) {
      if (!CheckLeafOrder(nodes, target.range, &error)) return Damage(target, error);
      visitor_->LeafPage(number, buffer_);
      EmitLeaves(number, nodes);
      return;
    }
    // Branch entries: separator key, then the child page number. The child
    // of entry i holds keys from separator i-1 up to separator i. The last
    // child holds the rest of the page's range: its separator is empty (in
    // a root) or repeats the page's upper bound.
    if (!CheckSeparators(nodes, target.range, &error)) return Damage(target, error);
    BranchFrame frame;
    frame.range = target.range;
    frame.depth = target.depth;
    for (size_t i = 0; i < nodes.size(); ++i) {
      frame.children.push_back(LoadLe32(nodes[i].data.data()));
      if (i + 1 < nodes.size()) frame.separators.push_back(std::move(nodes[i].key));
    }
    stack_.push_back(std::move(frame));
  }

  bool CheckPageBelongs(const PageView& page, bool expect_root, std::string* error) const {
    if (page.object_id() != shape_.object_id) {
      *error = "page belongs to object " + std::to_string(page.object_id());
      return false;
    }
    if ((page.flags() & kKindFlags) != shape_.kind_flags) {
      *error = "page of another kind (flags " + std::to_string(page.flags()) + ")";
      return false;
    }
    if (page.is_root() != expect_root) {
      *error = expect_root ? "tree root lacks the root flag" : "inner page carries the root flag";
      return false;
    }
    if ((page.flags() & kPageFlagEmpty) != 0) {
      *error = "page is marked empty";
      return false;
    }
    if (page.tag_count() == 0) {
      *error = "page has no header tag";
      return false;
    }
    return true;
  }

  bool CheckLeafOrder(const std::vector<Node>& nodes, const KeyRange& range, std::string* error) const {
    const Key* previous = have_last_key_ ? &last_key_ : nullptr;
    for (const Node& node : nodes) {
      if (!range.Contains(node.key)) {
        *error = "key outside the range its parent gives";
        return false;
      }
      if (previous != nullptr && !KeyLess(*previous, node.key)) {
        *error = "keys out of order";
        return false;
      }
      previous = &node.key;
    }
    return true;
  }

  void EmitLeaves(uint32_t page_number, std::vector<Node>& nodes) {
    for (Node& node : nodes) {
      TreeLeafEntry entry{node.key, node.data, page_number, node.data_offset_in_page};
      visitor_->Leaf(entry);
    }
    if (!nodes.empty()) {
      last_key_ = std::move(nodes.back().key);
      have_last_key_ = true;
    }
  }

  void Damage(const Target& target, std::string reason) {
    TreeDamage damage{target.range.low, target.range.high, target.range.high_unbounded, target.page,
                      std::move(reason)};
    visitor_->Damage(damage);
  }

  const EseFile& file_;
  TreeShape shape_;
  TreeVisitor* visitor_;
  std::vector<bool> visited_;
  std::vector<uint8_t> buffer_;  // the page being visited
  std::vector<BranchFrame> stack_;
  bool started_ = false;
  Key last_key_;
  bool have_last_key_ = false;
};

bool KeyLess(std::span<const uint8_t> a, std::span<const uint8_t> b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

TreeWalk::TreeWalk(const EseFile& file, const TreeShape& shape, TreeVisitor* visitor)
    : impl_(std::make_unique<Impl>(file, shape, visitor)) {}

TreeWalk::~TreeWalk() = default;

void TreeWalk::VisitThrough(std::span<const uint8_t> key) { impl_->VisitThrough(key); }

void TreeWalk::VisitAll() { impl_->VisitAll(); }

void WalkTree(const EseFile& file, const TreeShape& shape, TreeVisitor* visitor) { TreeWalk(file, shape, visitor).VisitAll(); }

}  // namespace edb
