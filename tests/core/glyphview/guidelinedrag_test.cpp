// Guidelines moved, copied, turned and created with the mouse.
#include "glyphview/guidelinedrag.h"

#include <gtest/gtest.h>

#include "document/editwindowlist.h"
#include "outline/outline.h"
#include "outline/selections.h"

using namespace tsy;

namespace {
struct TDragFixture {
  TGuideLineSettings Guidelines;
  TGlyphViewport View;
  TGuidelineDrag Drag{Guidelines};
  TDragFixture() {
    View.SetSize(400, 400);
    View.ResetZoom(1);
    View.UpdateScrollRanges();
    View.CentreOn(0, 400);  // y = 400 at pixel 200, y = 500 at pixel 100
  }
};
constexpr int kDrag = 4;
}  // namespace

TEST(GuidelineDrag, MoveCopyDropOutsideAndPlainClick) {
  struct Case {
    const char* Name;
    int ReleaseY;
    bool Ctrl;
    std::vector<int> Expected;
  } cases[] = {
      {"move", 150, false, {450}},
      {"copy with Ctrl", 150, true, {500, 450}},
      {"dropped outside deletes", 450, false, {}},
      {"click without drag", 101, false, {500}},
  };
  for (const Case& c : cases) {
    TDragFixture f;
    f.Guidelines.Horizontal.Add(500);
    ASSERT_TRUE(f.Drag.Press(f.View, 300, 100, false, c.Ctrl)) << c.Name;
    EXPECT_EQ(f.Drag.State(), TGuidelineDrag::HorizontalPressed);
    f.Drag.Move(f.View, 300, c.ReleaseY, kDrag);
    f.Drag.Release(f.View, 300, c.ReleaseY, c.Ctrl);
    EXPECT_EQ(f.Drag.State(), TGuidelineDrag::None);
    std::vector<int> ys;
    for (size_t i = 0; i < f.Guidelines.Horizontal.Count(); ++i) ys.push_back(f.Guidelines.Horizontal.Items(i).Y);
    EXPECT_EQ(ys, c.Expected) << c.Name;
  }
  TDragFixture f;
  EXPECT_FALSE(f.Drag.Press(f.View, 300, 100, false, false));  // nothing there
}

TEST(GuidelineDrag, TurningKeepsTheGuidelineUntilReleaseAndAbortRestoresIt) {
  TDragFixture f;
  f.Guidelines.Horizontal.Add(500);
  const TGuideline* original = &f.Guidelines.Horizontal.Items(0);
  ASSERT_TRUE(f.Drag.Press(f.View, 300, 100, true, false));
  EXPECT_EQ(f.Drag.State(), TGuidelineDrag::HorizontalTurnPressed);
  // Straight up from the pivot (the window's middle x, y = 500): a vertical line.
  f.Drag.Move(f.View, 200, 40, kDrag);
  EXPECT_EQ(f.Drag.State(), TGuidelineDrag::Turning);
  EXPECT_NEAR(f.Drag.WorkingAngle(), 90, 1e-9);
  EXPECT_EQ(f.Drag.StatusText(), "Diagonal guideline: point 1 (0, 500) angle 0.000 degrees");
  // The pressed guideline is still there, only hidden while it turns.
  ASSERT_EQ(f.Guidelines.Horizontal.Count(), 1u);
  EXPECT_EQ(f.Drag.Hidden(false), original);
  const auto line = f.Drag.Feedback(f.View);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->first.X, 200);
  EXPECT_EQ(line->second.X, 200);

  f.Drag.Abort();  // Esc, a zoom change
  EXPECT_EQ(f.Guidelines.Horizontal.Count(), 1u);
  EXPECT_EQ(f.Guidelines.Diagonal.Count(), 0u);
  EXPECT_EQ(f.Drag.Hidden(false), nullptr);

  // Turned to 45 degrees and released: the horizontal one is replaced.
  ASSERT_TRUE(f.Drag.Press(f.View, 300, 100, true, false));
  f.Drag.Move(f.View, 250, 50, kDrag);
  EXPECT_TRUE(f.Drag.Release(f.View, 250, 50, false));
  EXPECT_EQ(f.Guidelines.Horizontal.Count(), 0u);
  ASSERT_EQ(f.Guidelines.Diagonal.Count(), 1u);
  const TGuidelineDiagonal& d = f.Guidelines.Diagonal.Items(0);
  EXPECT_EQ(d.Kind, gkDiagonalAngle);
  EXPECT_EQ(d.Point1, (TIntPoint{0, 500}));
  EXPECT_NEAR(d.GetAngle(), 45, 1e-9);
}

TEST(GuidelineDrag, DiagonalMovesKeepTheirAngleAndTurnAroundTheMiddle) {
  TDragFixture f;
  f.Guidelines.Diagonal.Add({0, 400}, {100, 500}, gkDiagonalPoints, 0);  // 45 degrees through the centre
  ASSERT_TRUE(f.Drag.Press(f.View, 250, 150, false, false));
  f.Drag.Move(f.View, 260, 150, kDrag);
  EXPECT_TRUE(f.Drag.Release(f.View, 260, 150, false));
  ASSERT_EQ(f.Guidelines.Diagonal.Count(), 1u);
  EXPECT_EQ(f.Guidelines.Diagonal.Items(0).Point1, (TIntPoint{60, 450}));
  EXPECT_NEAR(f.Guidelines.Diagonal.Items(0).GetAngle(), 45, 1e-9);

  // Shift turns it around its crossing with the middle lines.
  ASSERT_TRUE(f.Drag.Press(f.View, 250, 160, true, false));
  f.Drag.Move(f.View, 250, 100, kDrag);
  EXPECT_EQ(f.Drag.State(), TGuidelineDrag::Turning);
  EXPECT_NEAR(f.Drag.WorkingPoint().X, 10, 1e-9);  // on the line at the middle height y = 400
  EXPECT_NEAR(f.Drag.WorkingPoint().Y, 400, 1e-9);
}

TEST(GuidelineDrag, RulersCreateGuidelinesOnlyInsideThePaintBox) {
  TDragFixture f;
  f.Drag.PressRuler(true);
  EXPECT_FALSE(f.Drag.Feedback(f.View));  // nothing until the mouse moves
  f.Drag.Move(f.View, 10, 120, kDrag);
  ASSERT_TRUE(f.Drag.Feedback(f.View));
  EXPECT_EQ(f.Drag.Feedback(f.View)->first.Y, 120);
  EXPECT_TRUE(f.Drag.Release(f.View, 10, 120, false));
  ASSERT_EQ(f.Guidelines.Horizontal.Count(), 1u);
  EXPECT_EQ(f.Guidelines.Horizontal.Items(0).Y, 480);

  f.Drag.PressRuler(false);
  EXPECT_FALSE(f.Drag.Release(f.View, -5, 100, false));  // still over the ruler
  EXPECT_EQ(f.Guidelines.Vertical.Count(), 0u);
  f.Drag.PressRuler(false);
  EXPECT_TRUE(f.Drag.Release(f.View, 399, 100, false));
  ASSERT_EQ(f.Guidelines.Vertical.Count(), 1u);
  EXPECT_EQ(f.Guidelines.Vertical.Items(0).X, 199);
}

TEST(GuidelinesFromSelection, PointsFramesAndMembers) {
  TOutlineSimple s;
  TContour c;
  c.Points = {{10.4, 20}, {10, 80.5}, {60, 20}, {90, 90}};
  s.Contours = {c};
  struct Case {
    const char* Name;
    std::vector<std::pair<int, int>> Points;
    size_t H, V, D;
  } cases[] = {
      {"one point", {{0, 0}}, 1, 1, 0},
      {"same x", {{0, 0}, {0, 1}}, 0, 1, 0},
      {"same y", {{0, 0}, {0, 2}}, 1, 0, 0},
      {"a diagonal", {{0, 1}, {0, 3}}, 0, 0, 1},
      {"three points", {{0, 0}, {0, 1}, {0, 2}}, 0, 0, 0},
      {"a stale selection", {{3, 0}}, 0, 0, 0},
  };
  for (const Case& k : cases) {
    TGuideLineSettings g;
    TPointSelection p;
    for (auto [ci, pi] : k.Points) p.Add(ci, pi);
    AddGuidelinesFromSelection(g, s, emPoint, p, {}, {});
    EXPECT_EQ(g.Horizontal.Count(), k.H) << k.Name;
    EXPECT_EQ(g.Vertical.Count(), k.V) << k.Name;
    EXPECT_EQ(g.Diagonal.Count(), k.D) << k.Name;
    if (k.D == 1) {
      EXPECT_EQ(g.Diagonal.Items(0).Point1, (TIntPoint{10, 81}));  // the first selected point, rounded
      EXPECT_EQ(g.Diagonal.Items(0).Kind, gkDiagonalPoints);
    }
  }
  TGuideLineSettings g;
  EXPECT_EQ(AddGuidelinesFromSelection(g, s, emContour, {}, {1.5, 2, 30, 40.5}, {}), 4);
  EXPECT_EQ(g.Vertical.Items(0).X, 2);
  EXPECT_EQ(g.Horizontal.Items(1).Y, 41);
  TOutlineComposite composite;
  EXPECT_EQ(AddGuidelinesFromSelection(g, composite, emPoint, {}, {}, {0, 0, 5, 5}), 4);
  EXPECT_EQ(g.Vertical.Items(3).X, 5);
}
