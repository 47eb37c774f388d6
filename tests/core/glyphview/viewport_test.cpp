// The view maths of the glyph edit window: mapping, zoom, fit, scroll ranges.
#include "glyphview/viewport.h"

#include <gtest/gtest.h>

#include "fontfile/fontexception.h"

using namespace tsy;

namespace {
TGlyphViewport View(int W, int H, double Zoom) {
  TGlyphViewport v;
  v.SetSize(W, H);
  v.ResetZoom(Zoom);
  v.UpdateScrollRanges();
  return v;
}
}  // namespace

TEST(GlyphViewport, MappingRoundTripsAndCentres) {
  TGlyphViewport v = View(400, 300, 0.5);
  v.CentreOn(1000, 250);
  EXPECT_EQ(v.FontToScreenX(1000), 200);
  EXPECT_EQ(v.FontToScreenY(250), 150);
  // Font y grows upward, pixels downward.
  EXPECT_EQ(v.FontToScreenY(350), 100);
  EXPECT_DOUBLE_EQ(v.ScreenToFontX(v.FontToScreenX(1100)), 1100);
  EXPECT_DOUBLE_EQ(v.ScreenToFontY(v.FontToScreenY(-300)), -300);
  // Halves round to even: at zoom 1 with the origin at pixel 0, x = 0.5 -> 0, 1.5 -> 2.
  TGlyphViewport u = View(400, 400, 1);
  u.SetViewOffsetX(0);
  EXPECT_EQ(u.FontToScreenX(0.5), 0);
  EXPECT_EQ(u.FontToScreenX(1.5), 2);
  // Pixels beyond 32 bits are a range error, not a wrapped number.
  TGlyphViewport far = View(400, 400, 10);
  EXPECT_THROW(far.FontToScreenX(1e12), ERangeError);
}

TEST(GlyphViewport, ScrollRangesFollowZoomAndSize) {
  TGlyphViewport v = View(400, 300, 1);
  EXPECT_EQ(v.HorzBar.Min, -16234);
  EXPECT_EQ(v.HorzBar.Max, 16233);
  EXPECT_EQ(v.VertBar.Min, -16384 + 112);  // 3 * 300 div 8
  EXPECT_TRUE(v.HorzBar.Enabled);
  ASSERT_TRUE(v.SetZoomFactor(0.001));
  EXPECT_EQ(v.HorzBar.Min, 0);
  EXPECT_EQ(v.HorzBar.Max, 0);
  EXPECT_EQ(v.VertBar.Position, 0);
  EXPECT_FALSE(v.HorzBar.Enabled);
  EXPECT_FALSE(v.VertBar.Enabled);
  // An offset beyond the range widens it so the position can be reached.
  TGlyphViewport w = View(400, 400, 1);
  w.SetViewOffsetX(20000);
  EXPECT_EQ(w.HorzBar.Position, 20200);
  EXPECT_EQ(w.HorzBar.Min, 0);
  EXPECT_EQ(w.HorzBar.Max, 20201);
}

TEST(GlyphViewport, ZoomIsClampedAndKeepsThePointAtTheCentre) {
  TGlyphViewport v = View(400, 400, 1);
  v.CentreOn(300, 200);
  EXPECT_TRUE(v.SetZoomFactor(20));
  EXPECT_EQ(v.ZoomFactor(), 10);
  EXPECT_FALSE(v.SetZoomFactor(10));  // the current factor: nothing to do, nothing to report
  EXPECT_FALSE(v.SetZoomFactor(50));  // clamps to the current factor
  EXPECT_NEAR(v.ScreenToFontX(200), 300, 0.1);
  EXPECT_NEAR(v.ScreenToFontY(200), 200, 0.1);
  EXPECT_TRUE(v.SetZoomFactor(0.0001));
  EXPECT_EQ(v.ZoomFactor(), 0.001);

  // Zooming at a pixel brings the font point under it to the centre.
  TGlyphViewport z = View(400, 400, 1);
  z.CentreOn(0, 0);
  const double fx = z.ScreenToFontX(300), fy = z.ScreenToFontY(100);
  z.ZoomAtPoint(300, 100, 2);
  EXPECT_NEAR(z.ScreenToFontX(200), fx, 0.5);
  EXPECT_NEAR(z.ScreenToFontY(200), fy, 0.5);
}

TEST(GlyphViewport, FitAndZoomToSelection) {
  struct Case {
    TFloatRect R;
    int W, H;
    double Fit, Selection;
  } cases[] = {
      {{0, 0, 1000, 500}, 400, 300, 0.36, 0.3},    // 0.9 * min(0.4, 0.6); 0.75 * 0.4
      {{0, 0, 0, 0}, 400, 300, 0.2, 5},             // empty glyph / a single point
      {{10, 50, 210, 50}, 400, 300, 0.2, 1.5},      // flat: fit falls back, selection uses the width
      {{10, 0, 10, 600}, 400, 300, 0.2, 0.375},     // a vertical pair: the height
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(TGlyphViewport::FitZoom(c.R, c.W, c.H), c.Fit, 1e-12);
    EXPECT_NEAR(TGlyphViewport::SelectionZoom(c.R, c.W, c.H), c.Selection, 1e-12);
  }
  TGlyphViewport v = View(400, 300, 0.2);
  v.FitRect({0, 0, 1000, 500});
  EXPECT_DOUBLE_EQ(v.ZoomFactor(), 0.36);
  EXPECT_EQ(v.FontToScreenX(500), 200);
  EXPECT_EQ(v.FontToScreenY(250), 150);
  v.ZoomToRect({40, 70, 40, 70});
  EXPECT_EQ(v.ZoomFactor(), 5);
  EXPECT_EQ(v.FontToScreen(40, 70), (TIntPoint{200, 150}));
  // A paint box of no size (a minimised window) still gives a usable zoom.
  TGlyphViewport none = View(0, 0, 1);
  none.FitRect({0, 0, 1000, 500});
  EXPECT_EQ(none.ZoomFactor(), TGlyphViewport::kMinZoom);
}

TEST(GlyphViewport, WheelScrollsAThirdOfAPageWithinTheRange) {
  TGlyphViewport v = View(400, 400, 1);
  v.VertBar.Position = 0;
  v.Wheel(true);
  EXPECT_EQ(v.VertBar.Position, 66);
  v.Wheel(false);
  v.Wheel(false);
  EXPECT_EQ(v.VertBar.Position, -66);
  v.VertBar.Position = v.VertBar.Max - 10;
  v.Wheel(true);
  EXPECT_EQ(v.VertBar.Position, v.VertBar.Max);
}
