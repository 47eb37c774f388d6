// Ruler labels and ticks, grid spacing and grid lines.
#include "glyphview/rulers.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tsy;

namespace {
TGlyphViewport View(int W, int H, double Zoom, double CentreX, double CentreY) {
  TGlyphViewport v;
  v.SetSize(W, H);
  v.ResetZoom(Zoom);
  v.UpdateScrollRanges();
  v.CentreOn(CentreX, CentreY);
  return v;
}
}  // namespace

TEST(GlyphRulers, UnitFollowsZoomWithAFloor) {
  struct {
    double Nominal, Zoom, Unit;
  } cases[] = {{40, 1, 50}, {40, 0.1, 500}, {40, 10, 10}, {40, 0.02, 2000}, {40, 0.016, 2500},
               {65, 1, 100}, {40, 0.001, 50000}, {40, 0.4, 100}};
  for (const auto& c : cases) EXPECT_EQ(RulerUnit(c.Nominal, c.Zoom), c.Unit) << c.Nominal << " @ " << c.Zoom;
}

TEST(GlyphRulers, LabelsAndTicksSitOnTheirFontPositions) {
  const TGlyphViewport v = View(400, 300, 1, 0, 0);
  const TRulerMarks h = HorizontalRulerMarks(v);
  ASSERT_EQ(h.Unit, 50);
  // At zoom 1 centred on 0 the label "0" sits at pixel 200 and labels step 50 pixels.
  const auto zero = std::find_if(h.Labels.begin(), h.Labels.end(), [](const TRulerLabel& L) { return L.Text == "0"; });
  ASSERT_NE(zero, h.Labels.end());
  EXPECT_EQ(zero->Pos, 200);
  for (const TRulerLabel& l : h.Labels) {
    EXPECT_GT(l.Pos, 25);
    EXPECT_LT(l.Pos, 400 - 35);
    EXPECT_EQ(l.Pos - 200, std::stoi(l.Text));
  }
  EXPECT_EQ(h.Labels.front().Text, "-150");
  EXPECT_EQ(h.Labels.back().Text, "150");
  // A long tick at every label, a middle one half way, short ones between.
  auto tickAt = [&](int Pos) {
    for (const TRulerTick& t : h.Ticks)
      if (t.Pos == Pos) return t.Length;
    return 0;
  };
  EXPECT_EQ(tickAt(200), 7);
  EXPECT_EQ(tickAt(225), 6);
  EXPECT_EQ(tickAt(205), 4);

  // The vertical ruler counts upward from the bottom: higher labels sit higher.
  const TRulerMarks vm = VerticalRulerMarks(v);
  ASSERT_EQ(vm.Unit, 100);
  for (const TRulerLabel& l : vm.Labels) {
    EXPECT_EQ(l.Pos, 150 - std::stoi(l.Text));
    EXPECT_GT(l.Pos, 25);
    EXPECT_LT(l.Pos, 300 - 25);
  }
  EXPECT_FALSE(vm.Labels.empty());
}

TEST(GlyphGrid, SpacingDoublesUntilWideEnoughAndDamageMeansDefault) {
  const TGlyphViewport v = View(400, 400, 0.1, 0, 0);
  EXPECT_EQ(GridSpacing(100, 16, v), 200);  // 100 units are 10 pixels; 200 are 20
  EXPECT_EQ(GridSpacing(50, 4, v), 50);
  // A distance of 0 or less would never grow: it reads as the default.
  EXPECT_EQ(GridSpacing(0, 16, v), 200);
  EXPECT_EQ(GridSpacing(-5, 16, v), 200);
  EXPECT_EQ(GridSpacing(100, 0, v), 200);
  // At the smallest zoom the spacing still ends, at most one line across the space.
  const TGlyphViewport tiny = View(400, 400, 0.001, 0, 0);
  EXPECT_EQ(GridSpacing(1, 1000, tiny), 65536);
}

TEST(GlyphGrid, LinesCoverThePaintBoxAtMultiplesOfTheSpacing) {
  const TGlyphViewport v = View(400, 300, 0.5, 0, 0);
  const TGridLines g = GridLines(100, v);
  // x from -400 to 400 font units show; one multiple beyond each edge.
  ASSERT_FALSE(g.Xs.empty());
  EXPECT_LE(g.Xs.front(), 0);
  EXPECT_GE(g.Xs.back(), 400 - 50);
  EXPECT_NE(std::find(g.Xs.begin(), g.Xs.end(), 200), g.Xs.end());  // x = 0
  EXPECT_NE(std::find(g.Ys.begin(), g.Ys.end(), 150), g.Ys.end());  // y = 0
  for (size_t i = 1; i < g.Xs.size(); ++i) EXPECT_EQ(g.Xs[i] - g.Xs[i - 1], 50);
  for (size_t i = 1; i < g.Ys.size(); ++i) EXPECT_EQ(g.Ys[i] - g.Ys[i - 1], -50);  // listed bottom to top
  EXPECT_TRUE(GridLines(0, v).Xs.empty());
}
