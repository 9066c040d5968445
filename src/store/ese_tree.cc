// A checked, depth-first walk over one B+ tree of a database file.
#include "store/ese_tree.h"

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

class Walker {
 public:
  Walker(const EseFile& file, const TreeShape& shape, TreeVisitor* visitor)
      : file_(file),
        shape_(shape),
        visitor_(visitor),
        visited_(size_t{file.page_count()} + 1, false),
        buffers_(kMaxDepth + 1) {}

  void Run() { Visit(shape_.root_page, KeyRange{}, 0); }

 private:
  void Visit(uint32_t page_number, const KeyRange& range, int depth) {
    std::string error;
    if (depth > kMaxDepth) return Damage(page_number, range, "tree deeper than " + std::to_string(kMaxDepth));
    if (page_number == 0 || page_number > file_.page_count())
      return Damage(page_number, range, "page lies outside the file");
    if (visited_[page_number]) return Damage(page_number, range, "page reached twice (a cycle)");
    visited_[page_number] = true;

    std::vector<uint8_t>& buffer = buffers_[depth];  // one per level, reused
    PageView page;
    if (!file_.ReadPage(page_number, &buffer, &error) || !page.Parse(buffer, page_number, file_.header(), &error))
      return Damage(page_number, range, error);
    if (!CheckPageBelongs(page, depth == 0, &error)) return Damage(page_number, range, error);

    std::vector<Node> nodes;
    if (!ReadNodes(page, &nodes, &error)) return Damage(page_number, range, error);
    if (page.is_leaf()) {
      if (!CheckLeafOrder(nodes, range, &error)) return Damage(page_number, range, error);
      EmitLeaves(page_number, nodes);
    } else {
      VisitChildren(page_number, nodes, range, depth);
    }
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

  static bool ReadNodes(const PageView& page, std::vector<Node>* nodes, std::string* error) {
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

  // Branch entries: separator key, then the child page number. The child
  // of entry i holds keys from separator i-1 up to separator i. The last
  // child holds the rest of the page's range: its separator is empty (in a
  // root) or repeats the page's upper bound.
  void VisitChildren(uint32_t page_number, const std::vector<Node>& nodes, const KeyRange& range, int depth) {
    std::string error;
    if (!CheckSeparators(nodes, range, &error)) return Damage(page_number, range, error);
    KeyRange child;
    child.low = range.low;
    for (size_t i = 0; i < nodes.size(); ++i) {
      bool last = i + 1 == nodes.size();
      if (last) {
        child.high = range.high;
        child.high_unbounded = range.high_unbounded;
      } else {
        child.high = nodes[i].key;
        child.high_unbounded = false;
      }
      Visit(LoadLe32(nodes[i].data.data()), child, depth + 1);
      child.low = child.high;
    }
  }

  static bool CheckSeparators(const std::vector<Node>& nodes, const KeyRange& range, std::string* error) {
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

  void Damage(uint32_t page_number, const KeyRange& range, std::string reason) {
    TreeDamage damage{range.low, range.high, range.high_unbounded, page_number, std::move(reason)};
    visitor_->Damage(damage);
  }

  const EseFile& file_;
  TreeShape shape_;
  TreeVisitor* visitor_;
  std::vector<bool> visited_;
  std::vector<std::vector<uint8_t>> buffers_;
  Key last_key_;
  bool have_last_key_ = false;
};

}  // namespace

bool KeyLess(std::span<const uint8_t> a, std::span<const uint8_t> b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

void WalkTree(const EseFile& file, const TreeShape& shape, TreeVisitor* visitor) {
  Walker(file, shape, visitor).Run();
}

}  // namespace edb
