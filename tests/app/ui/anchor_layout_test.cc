// The anchor layout engine's arithmetic: anchors, half steps carried over
// odd changes, docking, automatic anchors and the size grip.
#include "app/ui/anchor_layout.h"

#include <gtest/gtest.h>

#include <map>

namespace edb {
namespace {

constexpr PixelRect kWindow{100, 100, 500, 400};  // 400 × 300
constexpr PixelRect kClient{0, 0, 400, 300};
constexpr int kGrip = 16;

PixelRect Resized(int width_change, int height_change) {
  return PixelRect{kWindow.left, kWindow.top, kWindow.right + width_change, kWindow.bottom + height_change};
}

class AnchorLayoutTest : public testing::Test {
 protected:
  void Record(const std::map<int, PixelRect>& controls) {
    layout.Record(kWindow, kClient, [&](int id) -> std::optional<PixelRect> {
      auto found = controls.find(id);
      if (found == controls.end()) return std::nullopt;
      return found->second;
    }, kGrip, kGrip);
  }

  static std::optional<PixelGeometry> MoveOf(const AnchorLayout::Result& result, int id) {
    for (const AnchorLayout::Move& move : result.moves) {
      if (move.id == id) return move.geometry;
    }
    return std::nullopt;
  }

  AnchorLayout layout;
};

TEST_F(AnchorLayoutTest, AnchorsStretchMoveOrKeepAControl) {
  layout.Register(1, kAnchorLeft | kAnchorRight | kAnchorTop);     // stretches with the width
  layout.Register(2, kAnchorRight | kAnchorTop);                   // moves with the right edge
  layout.Register(3, kAnchorLeft | kAnchorTop | kAnchorBottom);    // stretches with the height
  layout.Register(4, kAnchorLeft | kAnchorTop);                    // stays
  layout.Register(5, kAnchorRight | kAnchorBottom);                // moves with the corner
  Record({{1, {10, 10, 110, 30}}, {2, {300, 10, 380, 30}}, {3, {10, 40, 60, 280}}, {4, {70, 40, 90, 60}},
          {5, {300, 250, 380, 270}}});
  const AnchorLayout::Result result = layout.Layout(Resized(100, 50), false);
  EXPECT_EQ(MoveOf(result, 1), (PixelGeometry{10, 10, 200, 20}));
  EXPECT_EQ(MoveOf(result, 2), (PixelGeometry{400, 10, 80, 20}));
  EXPECT_EQ(MoveOf(result, 3), (PixelGeometry{10, 40, 50, 290}));
  EXPECT_FALSE(MoveOf(result, 4)) << "a control nothing moves is not touched";
  EXPECT_EQ(MoveOf(result, 5), (PixelGeometry{400, 300, 80, 20}));
  EXPECT_EQ(MoveOf(result, kSizeGripId), (PixelGeometry{484, 334, kGrip, kGrip}));
  EXPECT_EQ(layout.client_width(), 500);
  EXPECT_EQ(layout.client_height(), 350);
  EXPECT_EQ(layout.last_edge_changes(), kRightMoved | kBottomMoved);
}

TEST_F(AnchorLayoutTest, HalfStepsOfOddChangesAddUp) {
  layout.Register(1, kAnchorTop);  // neither side: drifts by half the width change
  Record({{1, {100, 10, 150, 30}}});
  AnchorLayout::Result result = layout.Layout(Resized(3, 0), false);
  EXPECT_EQ(MoveOf(result, 1)->x, 101) << "101.5 truncated";
  EXPECT_DOUBLE_EQ(layout.StoredRect(1)->left, 101.5);
  result = layout.Layout(Resized(6, 0), false);
  EXPECT_EQ(MoveOf(result, 1)->x, 103) << "the carried half makes 103";
  EXPECT_EQ(MoveOf(result, 1)->width, 50);
  result = layout.Layout(Resized(5, 0), false);
  EXPECT_DOUBLE_EQ(layout.StoredRect(1)->left, 102.5);
  EXPECT_EQ(MoveOf(result, 1)->x, 102);
}

TEST_F(AnchorLayoutTest, TruncationGoesTowardZero) {
  layout.Register(1, kAnchorLeft);  // vertically on neither side
  Record({{1, {10, 0, 50, 1}}});
  const AnchorLayout::Result result = layout.Layout(Resized(0, -3), false);
  EXPECT_DOUBLE_EQ(layout.StoredRect(1)->top, -1.5);
  EXPECT_EQ(MoveOf(result, 1)->y, -1) << "-1.5 truncates to -1, not -2";
}

TEST_F(AnchorLayoutTest, DockingFillsOrHugsASideAndSkipsHorizontalAnchors) {
  // Docking replaces the horizontal anchors only: with the top anchored a
  // docked control stays put vertically, without it it drifts by half.
  layout.Register(1, kDockFill | kAnchorTop);
  layout.Register(2, kDockTop | kAnchorTop);
  layout.Register(3, kDockBottom);
  layout.Register(4, kDockLeft | kAnchorTop);
  layout.Register(5, kDockRight | kAnchorTop);
  layout.Register(6, kPullLeft | kAnchorRight | kAnchorBottom);
  Record({{1, {5, 5, 50, 50}}, {2, {5, 5, 50, 25}}, {3, {5, 5, 50, 25}}, {4, {5, 5, 45, 50}}, {5, {5, 5, 45, 50}},
          {6, {30, 100, 70, 120}}});
  const AnchorLayout::Result result = layout.Layout(Resized(20, 10), false);
  EXPECT_EQ(MoveOf(result, 1), (PixelGeometry{0, 0, 420, 310}));
  EXPECT_EQ(MoveOf(result, 2), (PixelGeometry{0, 0, 420, 20}));
  EXPECT_EQ(MoveOf(result, 3), (PixelGeometry{0, 295, 420, 20})) << "docked at 290, then half of 10";
  EXPECT_EQ(MoveOf(result, 4), (PixelGeometry{0, 0, 40, 310}));
  EXPECT_EQ(MoveOf(result, 5), (PixelGeometry{380, 0, 40, 310}));
  EXPECT_EQ(MoveOf(result, 6), (PixelGeometry{0, 110, 40, 20})) << "pulled left, then moved with the bottom";
}

TEST_F(AnchorLayoutTest, AutomaticAnchorsComeFromThePositionInTheClient) {
  layout.Register(1, kAnchorAuto);
  layout.Register(2, kAnchorAuto);
  Record({{1, {10, 10, 50, 30}}, {2, {250, 200, 390, 290}}});
  EXPECT_EQ(layout.anchors(1), kAnchorTop | kAnchorLeft);
  EXPECT_EQ(layout.anchors(2), kAnchorBottom | kAnchorRight);
}

TEST_F(AnchorLayoutTest, MaximisingHidesTheGripAndRestoringShowsIt) {
  Record({});
  EXPECT_FALSE(layout.Layout(kWindow, false).grip_visible) << "visible already";
  EXPECT_EQ(layout.Layout(Resized(500, 300), true).grip_visible, false);
  EXPECT_FALSE(layout.Layout(Resized(500, 300), true).grip_visible);
  EXPECT_EQ(layout.Layout(kWindow, false).grip_visible, true);
}

TEST_F(AnchorLayoutTest, MissingControlsAndTheTwoHundredFiftySeventhAreSkipped) {
  for (int id = 1; id <= kMaxLayoutItems + 1; ++id) layout.Register(id, kAnchorRight);
  Record({{1, {10, 10, 20, 20}}, {kMaxLayoutItems + 1, {10, 10, 20, 20}}});
  const AnchorLayout::Result result = layout.Layout(Resized(10, 0), false);
  EXPECT_TRUE(MoveOf(result, 1));
  EXPECT_FALSE(MoveOf(result, 2)) << "no control";
  EXPECT_FALSE(MoveOf(result, kMaxLayoutItems + 1)) << "not registered";
  EXPECT_FALSE(MoveOf(result, kSizeGripId)) << "no room left for the grip either";
}

TEST(PreviewGeometryTest, PlacesThePreviewByFixedOffsetsEvenBelowTheDesignSize) {
  EXPECT_EQ(PreviewGeometry(890, 610), (PixelGeometry{240, 380, 640, 168}));
  EXPECT_EQ(PreviewGeometry(200, 300), (PixelGeometry{240, 380, -50, -142}));
}

}  // namespace
}  // namespace edb
