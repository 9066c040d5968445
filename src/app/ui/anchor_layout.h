// The window's anchor layout engine, free of any toolkit: registered
// controls keep their place as the window's size changes, by anchors on
// their edges or by docking to a side of the client area. Rectangles are
// kept in doubles so that a control moved by half of every change carries
// the half pixel over to the next layout; what a control is given is
// truncated toward zero.
//
// The window adapter feeds it rectangles and applies the moves it returns.
// Not thread-safe; owned by the window.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace edb {

// Anchor and docking flags of a registered control.
enum AnchorFlag : uint32_t {
  kDockTop = 0x01,
  kDockBottom = 0x02,
  kDockLeft = 0x04,
  kDockRight = 0x08,
  kDockFill = 0x0F,
  kAnchorTop = 0x10,
  kAnchorBottom = 0x20,
  kAnchorLeft = 0x40,
  kAnchorRight = 0x80,
  kAnchorAuto = 0x100,
  kPullTop = 0x200,
  kPullBottom = 0x400,
  kPullLeft = 0x800,
  kPullRight = 0x1000,
};

// Which window edges moved in a layout (same bit values as the anchors).
enum EdgeChange : uint8_t { kTopMoved = 0x10, kBottomMoved = 0x20, kLeftMoved = 0x40, kRightMoved = 0x80 };

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A control's place as given to it: position and size in whole pixels.
struct PixelGeometry {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const PixelGeometry&, const PixelGeometry&) = default;
};

// The control id the size grip is registered under.
inline constexpr int kSizeGripId = -2;
inline constexpr int kMaxLayoutItems = 256;

class AnchorLayout {
 public:
  struct Move {
    int id;
    PixelGeometry geometry;
  };
  struct Result {
    std::vector<Move> moves;
    // Set when the size grip must be shown (true) or hidden (false).
    std::optional<bool> grip_visible;
  };

  // Appends a control; ignored once kMaxLayoutItems are registered.
  void Register(int id, uint32_t anchors);

  // Records the window rectangle, the client rectangle and each registered
  // control's rectangle in client coordinates (`control_rect` returns none
  // for a control that does not exist: it is skipped by every layout), then
  // registers the size grip (`grip_width` × `grip_height` in the client's
  // lower right corner, anchors 0xA0) and resolves kAnchorAuto anchors from
  // each control's position relative to the client's middle.
  void Record(const PixelRect& window, const PixelRect& client,
              const std::function<std::optional<PixelRect>(int id)>& control_rect, int grip_width, int grip_height);

  // Lays the controls out for the window's new rectangle; `maximized` hides
  // the size grip, anything else shows it. Before Record: nothing.
  Result Layout(const PixelRect& new_window, bool maximized);

  // The stored, unrounded rectangle of control `id` (tests and adapters).
  struct Rect {
    double left = 0, top = 0, right = 0, bottom = 0;
  };
  std::optional<Rect> StoredRect(int id) const;
  uint32_t anchors(int id) const;
  uint8_t last_edge_changes() const { return edge_changes_; }
  int client_width() const { return client_right_; }
  int client_height() const { return client_bottom_; }
  bool initialised() const { return initialised_; }

 private:
  struct Item {
    int id;
    uint32_t anchors;
    Rect rect;
    bool has_window = false;
  };
  bool Dock(Item& item) const;
  void MoveHorizontally(Item& item, int width_change) const;
  void MoveVertically(Item& item, int height_change) const;

  std::vector<Item> items_;
  PixelRect last_window_;
  int client_right_ = 0;
  int client_bottom_ = 0;
  uint8_t edge_changes_ = 0;
  bool grip_visible_ = true;
  bool initialised_ = false;
};

// Where the preview pane goes in a client area of `cx` × `cy` pixels: at
// (240, 380), cx − 250 wide and cy − 442 high; negative sizes are passed on
// unchanged.
PixelGeometry PreviewGeometry(int cx, int cy);

}  // namespace edb
