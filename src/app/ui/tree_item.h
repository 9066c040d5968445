// An opaque handle to an item of the folder tree. The store reader only keeps
// and passes these; the window behind the window seam gives them meaning.
#pragma once

#include <compare>
#include <cstdint>

namespace edb {

struct TreeItem {
  // 0 is "no item"; as a parent it stands for the top of the tree.
  int64_t id = 0;

  bool valid() const { return id != 0; }
  friend auto operator<=>(const TreeItem&, const TreeItem&) = default;
};

// The parent to pass when inserting an item at the top level of the tree.
inline constexpr TreeItem kTreeTop{};

}  // namespace edb
