// Check and bold states of the folder tree.
#include "app/ui/folder_checks.h"

#include <algorithm>

namespace edb {
namespace {
const std::vector<TreeItem> kNoChildren;
}  // namespace

void FolderChecks::Clear() { nodes_.clear(); }

void FolderChecks::Add(TreeItem item, TreeItem parent) {
  Node* parent_node = Find(parent);
  nodes_[item.id] = Node{parent_node != nullptr ? parent : kTreeTop, {}, false, false};
  if (parent_node != nullptr) Find(parent)->children.push_back(item);
}

FolderChecks::Node* FolderChecks::Find(TreeItem item) {
  auto found = nodes_.find(item.id);
  return found == nodes_.end() ? nullptr : &found->second;
}

const FolderChecks::Node* FolderChecks::Find(TreeItem item) const {
  auto found = nodes_.find(item.id);
  return found == nodes_.end() ? nullptr : &found->second;
}

bool FolderChecks::checked(TreeItem item) const {
  const Node* node = Find(item);
  return node != nullptr && node->checked;
}

bool FolderChecks::bold(TreeItem item) const {
  const Node* node = Find(item);
  return node != nullptr && node->bold;
}

TreeItem FolderChecks::parent(TreeItem item) const {
  const Node* node = Find(item);
  return node != nullptr ? node->parent : kTreeTop;
}

const std::vector<TreeItem>& FolderChecks::children(TreeItem item) const {
  const Node* node = Find(item);
  return node != nullptr ? node->children : kNoChildren;
}

void FolderChecks::CheckItem(TreeItem item) {
  if (Node* node = Find(item)) node->checked = node->bold = true;
}

void FolderChecks::UncheckItem(TreeItem item) {
  if (Node* node = Find(item)) node->checked = node->bold = false;
}

void FolderChecks::CheckSubtree(TreeItem item) {
  for (TreeItem child : children(item)) {
    CheckItem(child);
    CheckSubtree(child);
  }
}

void FolderChecks::UncheckSubtree(TreeItem item) {
  for (TreeItem child : children(item)) {
    UncheckItem(child);
    UncheckSubtree(child);
  }
}

void FolderChecks::UpdateAncestorChecks(TreeItem item) {
  for (TreeItem ancestor = parent(item); ancestor.valid(); ancestor = parent(ancestor)) {
    const std::vector<TreeItem>& kids = children(ancestor);
    if (std::all_of(kids.begin(), kids.end(), [&](TreeItem kid) { return checked(kid); })) {
      CheckItem(ancestor);
    } else {
      UncheckItem(ancestor);
    }
  }
}

void FolderChecks::UpdateAncestorBold(TreeItem item) {
  for (TreeItem ancestor = parent(item); ancestor.valid(); ancestor = parent(ancestor)) {
    const std::vector<TreeItem>& kids = children(ancestor);
    Find(ancestor)->bold = std::any_of(kids.begin(), kids.end(), [&](TreeItem kid) { return bold(kid); });
  }
}

void FolderChecks::ToggleByMouse(TreeItem item) {
  if (!Contains(item)) return;
  if (!checked(item)) {
    CheckItem(item);
    CheckSubtree(item);
  } else {
    UncheckItem(item);
    UncheckSubtree(item);
  }
  UpdateAncestorChecks(item);
  UpdateAncestorBold(item);
}

void FolderChecks::ToggleBySpace(TreeItem item) {
  Node* node = Find(item);
  if (node == nullptr) return;
  const bool was_checked = node->checked;
  node->bold = !was_checked;
  if (!was_checked) {
    CheckSubtree(item);
  } else {
    UncheckSubtree(item);
  }
  UpdateAncestorChecks(item);
  UpdateAncestorBold(item);
  Find(item)->checked = !was_checked;
}

}  // namespace edb
