// The check boxes and bold flags of the folder tree, kept apart from any
// toolkit: the window mirrors these states into its tree widget after each
// change. A tick applies to the item's whole subtree; ancestors are ticked
// exactly when none of their children is unticked, and are bold when any
// child is bold (so bold on a parent says that something below is ticked).
//
// Not thread-safe: owned and used by the window's own thread.
#pragma once

#include <unordered_map>
#include <vector>

#include "app/ui/tree_item.h"

namespace edb {

class FolderChecks {
 public:
  // Forgets every item.
  void Clear();
  // Adds `item` as the last child of `parent` (kTreeTop: a top-level item),
  // unticked and not bold. An unknown parent is treated as the top.
  void Add(TreeItem item, TreeItem parent);

  bool Contains(TreeItem item) const { return nodes_.contains(item.id); }
  // Unknown items are unticked and not bold.
  bool checked(TreeItem item) const;
  bool bold(TreeItem item) const;
  TreeItem parent(TreeItem item) const;
  const std::vector<TreeItem>& children(TreeItem item) const;

  // Sets ticked and bold / unticked and not bold.
  void CheckItem(TreeItem item);
  void UncheckItem(TreeItem item);
  // CheckItem / UncheckItem on every descendant, depth first; the item
  // itself is left alone.
  void CheckSubtree(TreeItem item);
  void UncheckSubtree(TreeItem item);
  // For each ancestor from the parent up: ticked when none of its children
  // is unticked, else unticked (bold follows the tick).
  void UpdateAncestorChecks(TreeItem item);
  // For each ancestor from the parent up: bold when any child is bold.
  void UpdateAncestorBold(TreeItem item);

  // A mouse press on the item's check box: the item and its subtree flip
  // together, then the ancestors follow.
  void ToggleByMouse(TreeItem item);
  // The space key on the selected item: its bold flag and its subtree flip,
  // the ancestors are computed, and only then does the item's own box flip
  // (as the tree control does after the key is handled). So ticking the
  // last unticked folder of a mailbox by space leaves the mailbox unticked.
  void ToggleBySpace(TreeItem item);

 private:
  struct Node {
    TreeItem parent;
    std::vector<TreeItem> children;
    bool checked = false;
    bool bold = false;
  };
  Node* Find(TreeItem item);
  const Node* Find(TreeItem item) const;

  std::unordered_map<int64_t, Node> nodes_;
};

}  // namespace edb
