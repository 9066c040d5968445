// The anchor layout engine.
#include "app/ui/anchor_layout.h"

namespace edb {
namespace {

PixelGeometry Truncated(const AnchorLayout::Rect& rect) {
  // Conversions to int truncate toward zero.
  return PixelGeometry{static_cast<int>(rect.left), static_cast<int>(rect.top),
                       static_cast<int>(rect.right - rect.left), static_cast<int>(rect.bottom - rect.top)};
}

}  // namespace

void AnchorLayout::Register(int id, uint32_t anchors) {
  if (items_.size() >= kMaxLayoutItems) return;
  items_.push_back(Item{id, anchors, {}, false});
}

void AnchorLayout::Record(const PixelRect& window, const PixelRect& client,
                          const std::function<std::optional<PixelRect>(int id)>& control_rect, int grip_width,
                          int grip_height) {
  last_window_ = window;
  client_right_ = client.right;
  client_bottom_ = client.bottom;
  for (Item& item : items_) {
    const std::optional<PixelRect> rect = control_rect(item.id);
    if (!rect) continue;
    item.has_window = true;
    item.rect = Rect{double(rect->left), double(rect->top), double(rect->right), double(rect->bottom)};
  }
  if (items_.size() < kMaxLayoutItems) {
    items_.push_back(Item{kSizeGripId, kAnchorRight | kAnchorBottom,
                          Rect{double(client.right - grip_width), double(client.bottom - grip_height),
                               double(client.right), double(client.bottom)},
                          true});
  }
  const double half_height = client.bottom / 2;
  const double half_width = client.right / 2;
  for (Item& item : items_) {
    if (item.anchors != kAnchorAuto) continue;
    uint32_t anchors = 0;
    if (half_height > item.rect.top) anchors |= kAnchorTop;
    if (half_height <= item.rect.bottom) anchors |= kAnchorBottom;
    if (half_width > item.rect.left) anchors |= kAnchorLeft;
    if (half_width <= item.rect.right) anchors |= kAnchorRight;
    item.anchors = anchors;
  }
  grip_visible_ = true;
  initialised_ = true;
}

bool AnchorLayout::Dock(Item& item) const {
  const uint32_t a = item.anchors;
  Rect& r = item.rect;
  const double width = r.right - r.left;
  const double height = r.bottom - r.top;
  if ((a & kDockFill) == kDockFill) {
    r = Rect{0, 0, double(client_right_), double(client_bottom_)};
  } else if (a & kDockTop) {
    r = Rect{0, 0, double(client_right_), height};
  } else if (a & kDockBottom) {
    r = Rect{0, client_bottom_ - height, double(client_right_), double(client_bottom_)};
  } else if (a & kDockLeft) {
    r = Rect{0, 0, width, double(client_bottom_)};
  } else if (a & kDockRight) {
    r = Rect{client_right_ - width, 0, double(client_right_), double(client_bottom_)};
  } else if (a & kPullLeft) {
    r.left = 0;
    r.right = width;
  } else if (a & kPullRight) {
    r.right = client_right_;
  } else if (a & kPullTop) {
    r.top = 0;
  } else if (a & kPullBottom) {
    r.bottom = client_bottom_;
  } else {
    return false;
  }
  return true;
}

void AnchorLayout::MoveHorizontally(Item& item, int width_change) const {
  const bool left = item.anchors & kAnchorLeft;
  const bool right = item.anchors & kAnchorRight;
  if (left && right) {
    item.rect.right += width_change;
  } else if (right) {
    item.rect.left += width_change;
    item.rect.right += width_change;
  } else if (!left) {
    item.rect.left += width_change / 2.0;
    item.rect.right += width_change / 2.0;
  }
}

void AnchorLayout::MoveVertically(Item& item, int height_change) const {
  const bool top = item.anchors & kAnchorTop;
  const bool bottom = item.anchors & kAnchorBottom;
  if (top && bottom) {
    item.rect.bottom += height_change;
  } else if (bottom) {
    item.rect.top += height_change;
    item.rect.bottom += height_change;
  } else if (!top) {
    item.rect.top += height_change / 2.0;
    item.rect.bottom += height_change / 2.0;
  }
}

AnchorLayout::Result AnchorLayout::Layout(const PixelRect& new_window, bool maximized) {
  Result result;
  if (!initialised_) return result;
  edge_changes_ = 0;
  if (new_window.left != last_window_.left) edge_changes_ |= kLeftMoved;
  if (new_window.right != last_window_.right) edge_changes_ |= kRightMoved;
  if (new_window.top != last_window_.top) edge_changes_ |= kTopMoved;
  if (new_window.bottom != last_window_.bottom) edge_changes_ |= kBottomMoved;
  const int width_change = new_window.width() - last_window_.width();
  const int height_change = new_window.height() - last_window_.height();
  client_right_ += width_change;
  client_bottom_ += height_change;

  if (maximized && grip_visible_) {
    grip_visible_ = false;
    result.grip_visible = false;
  } else if (!maximized && !grip_visible_) {
    grip_visible_ = true;
    result.grip_visible = true;
  }

  const bool horizontal = (edge_changes_ & (kLeftMoved | kRightMoved)) && width_change != 0;
  const bool vertical = (edge_changes_ & (kTopMoved | kBottomMoved)) && height_change != 0;
  for (Item& item : items_) {
    if (!item.has_window) continue;
    bool moved = Dock(item);
    if (!moved && horizontal && (item.anchors & (kAnchorLeft | kAnchorRight)) != kAnchorLeft) {
      MoveHorizontally(item, width_change);
      moved = true;
    }
    if (vertical && (item.anchors & (kAnchorTop | kAnchorBottom)) != kAnchorTop) {
      MoveVertically(item, height_change);
      moved = true;
    }
    if (moved) result.moves.push_back(Move{item.id, Truncated(item.rect)});
  }
  last_window_ = new_window;
  return result;
}

std::optional<AnchorLayout::Rect> AnchorLayout::StoredRect(int id) const {
  for (const Item& item : items_) {
    if (item.id == id && item.has_window) return item.rect;
  }
  return std::nullopt;
}

uint32_t AnchorLayout::anchors(int id) const {
  for (const Item& item : items_) {
    if (item.id == id) return item.anchors;
  }
  return 0;
}

PixelGeometry PreviewGeometry(int cx, int cy) { return PixelGeometry{240, 380, cx - 250, cy - 442}; }

}  // namespace edb
