// The drawing layers as device geometry: what a paint of the glyph edit
// window would draw, checked without a display.
#include "glyphview/layers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "document/editwindowlist.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/os2.h"
#include "fontfile/truetypefont.h"
#include "settings/registrysettings.h"
#include "support/fontbuilder.h"

using namespace tsy;

namespace {

// A one-glyph font: a 400-unit square with a square hole, lsb 50, advance 500.
struct TFixture {
  TTrueTypeFont Font;
  TGlyphViewport View;
  TGlyphViewOptions Options;
  TGlyphViewScene Scene;

  TFixture() {
    const tsytest::Bytes bytes = tsytest::BuildSfnt(tsytest::MinimalFontTables());
    TReadOnlyStream s(bytes.data(), bytes.size());
    Font.LoadFromStream(s);
    Font.EnsureOS2Table();
    Font.OS2()->usWinAscent = 800;
    Font.OS2()->usWinDescent = -200;  // held negated, as the table reads it
    auto glyph = std::make_unique<TOutlineSimple>();
    TContour outer, hole;
    outer.Points = {{50, 0}, {50, 400}, {450, 400}, {450, 0}};
    hole.Points = {{150, 100}, {350, 100}, {350, 300}, {150, 300}};
    glyph->Contours = {outer, hole};
    glyph->UpdateBounds();
    Font.Outlines.SetOutline(0, std::move(glyph));
    Font.Hmtx()->SetLeftSideBearing(0, 50);
    Font.Hmtx()->SetAdvanceWidth(0, 500);
    View.SetSize(400, 400);
    View.ResetZoom(0.5);
    View.UpdateScrollRanges();
    View.CentreOn(250, 200);
    Scene.Font = &Font;
    Scene.Glyph = 0;
  }
  TOutlineSimple& Glyph() { return static_cast<TOutlineSimple&>(*Font.Outlines.Items(0)); }
  TDisplayList Aids(const TGuideLineSettings* G = nullptr) {
    TDisplayList l;
    BuildAidsLayer(View, Options, Scene, G, {}, l);
    return l;
  }
  TDisplayList GlyphLayer() {
    TDisplayList l;
    BuildGlyphLayer(View, Options, Scene, {}, l);
    return l;
  }
};

size_t CountOps(const TDisplayList& L, std::function<bool(const TDrawOp&)> Match) {
  return size_t(std::count_if(L.Ops.begin(), L.Ops.end(), Match));
}

bool IsLine(const TDrawOp& Op, TIntPoint A, TIntPoint B, TColor C) {
  return Op.Kind == TDrawKind::Line && Op.Pen == C && Op.Points[0] == A && Op.Points[1] == B;
}

// A closed ring of radius R centred on P (square or octagon) in colour C.
bool IsRingAround(const TDrawOp& Op, TIntPoint P, int R, TColor C) {
  if (Op.Kind != TDrawKind::Polygons || Op.Filled || Op.Pen != C) return false;
  int maxX = INT32_MIN, minX = INT32_MAX, maxY = INT32_MIN, minY = INT32_MAX;
  for (const TIntPoint& q : Op.Points) {
    maxX = std::max(maxX, q.X);
    minX = std::min(minX, q.X);
    maxY = std::max(maxY, q.Y);
    minY = std::min(minY, q.Y);
  }
  return minX == P.X - R && maxX == P.X + R && minY == P.Y - R && maxY == P.Y + R;
}

}  // namespace

TEST(GlyphLayers, OutlineIsOneWindingFillWithItsHoleAsASecondPolygon) {
  TFixture f;
  TDisplayList l = f.GlyphLayer();
  ASSERT_FALSE(l.Ops.empty());
  const TDrawOp& outline = l.Ops.front();
  EXPECT_EQ(outline.Kind, TDrawKind::Polygons);
  EXPECT_TRUE(outline.Filled);
  EXPECT_EQ(outline.Brush, ViewColor::Black);
  EXPECT_EQ(outline.Pen, ViewColor::Silver);
  ASSERT_EQ(outline.Counts.size(), 2u);  // both contours in one call: the hole stays open
  EXPECT_EQ(outline.Points.front(), f.View.FontToScreen(50, 0));
  EXPECT_NE(std::find(outline.Points.begin(), outline.Points.end(), f.View.FontToScreen(350, 300)),
            outline.Points.end());

  f.Options.FilledOutline = false;
  l = f.GlyphLayer();
  EXPECT_FALSE(l.Ops.front().Filled);
  EXPECT_EQ(l.Ops.front().Pen, ViewColor::Black);
}

TEST(GlyphLayers, PointMarkersOnlyInPointModeAndInsideThePaintBox) {
  TFixture f;
  EXPECT_EQ(f.GlyphLayer().Ops.size(), 1u);  // contour mode, nothing selected: the outline only
  f.Scene.EditMode = emPoint;
  f.Scene.Points.Add(0, 2);
  TDisplayList l = f.GlyphLayer();
  const TIntPoint selected = f.View.FontToScreen(450, 400), plain = f.View.FontToScreen(50, 0);
  // Unselected: a black ring of radius 2 between white ones; selected: black 1 and 3, a black centre.
  EXPECT_EQ(CountOps(l, [&](const TDrawOp& Op) { return IsRingAround(Op, plain, 2, ViewColor::Black); }), 1u);
  EXPECT_EQ(CountOps(l, [&](const TDrawOp& Op) { return IsRingAround(Op, selected, 3, ViewColor::Black); }), 1u);
  EXPECT_EQ(CountOps(l, [&](const TDrawOp& Op) {
              return Op.Kind == TDrawKind::Pixel && Op.Pen == ViewColor::Black &&
                     std::find(Op.Points.begin(), Op.Points.end(), selected) != Op.Points.end();
            }),
            1u);
  // Eight points: every one gets its black radius-2 or radius-3 ring.
  EXPECT_EQ(CountOps(l, [](const TDrawOp& Op) { return Op.Kind == TDrawKind::Polygons && !Op.Filled; }), 8u * 3 + 1);

  // Scrolled so the glyph lies left of the paint box: no markers at all.
  f.View.CentreOn(5000, 200);
  l = f.GlyphLayer();
  EXPECT_EQ(CountOps(l, [](const TDrawOp& Op) { return Op.Kind == TDrawKind::Polygons && !Op.Filled; }), 0u);
}

TEST(GlyphLayers, HideAidsKeepsOutlineAndWarningsOnly) {
  TFixture f;
  // A two-point contour is a warning; its points get red marks.
  f.Glyph().Contours.push_back(TContour{{{200, 200}, {210, 200}}});
  f.Scene.EditMode = emPoint;
  auto redRings = [](const TDisplayList& L) {
    return CountOps(L, [](const TDrawOp& Op) { return Op.Kind == TDrawKind::Polygons && Op.Pen == ViewColor::Red; });
  };
  TDisplayList normal = f.GlyphLayer();
  EXPECT_EQ(redRings(normal), 4u);  // octagon and square around each of the two points
  f.Scene.HideAids = true;
  TDisplayList hidden = f.GlyphLayer();
  EXPECT_EQ(redRings(hidden), 4u);
  EXPECT_EQ(hidden.Ops.front().Kind, TDrawKind::Polygons);
  EXPECT_EQ(CountOps(hidden, [](const TDrawOp& Op) { return Op.Pen == ViewColor::Black && !Op.Filled; }), 0u);
  EXPECT_TRUE(f.Aids().Ops.empty());

  // Beyond the validation limits the problem tests do not run.
  f.Scene.HideAids = false;
  f.Options.ValidationMaxNumberOfPoints = 5;
  EXPECT_EQ(redRings(f.GlyphLayer()), 0u);
}

TEST(GlyphLayers, AidsGridReferenceLinesBearingsAndOutsideArea) {
  TFixture f;
  TDisplayList l = f.Aids();
  const TIntPoint origin = f.View.FontToScreen(0, 0);
  // Grid: GridDistance 100 is 50 pixels at zoom 0.5; x = 0 and y = 0 are grid lines.
  EXPECT_EQ(CountOps(l, [&](const TDrawOp& Op) { return IsLine(Op, {origin.X, 0}, {origin.X, 399}, f.Options.GridColor); }),
            1u);
  EXPECT_EQ(CountOps(l, [&](const TDrawOp& Op) { return IsLine(Op, {0, origin.Y}, {399, origin.Y}, f.Options.GridColor); }),
            1u);
  // Reference lines in their own colour, drawn after the grid.
  EXPECT_EQ(CountOps(l, [&](const TDrawOp& Op) { return IsLine(Op, {origin.X, 0}, {origin.X, 399}, f.Options.FixedGridColor); }),
            1u);
  // Bearings at the origin (XMin 50 - lsb 50 = 0) and the advance (500); ascent and descent.
  const int adv = f.View.FontToScreenX(500), asc = f.View.FontToScreenY(800), desc = f.View.FontToScreenY(-200);
  auto dotted = [&](TIntPoint A, TIntPoint B) {
    return CountOps(l, [&](const TDrawOp& Op) { return IsLine(Op, A, B, ViewColor::Black) && Op.Style == TPenStyle::Dotted; });
  };
  EXPECT_EQ(dotted({origin.X, 0}, {origin.X, 399}), 1u);
  EXPECT_EQ(dotted({adv, 0}, {adv, 399}), 1u);
  EXPECT_EQ(dotted({0, asc}, {399, asc}), 1u);
  EXPECT_EQ(dotted({0, desc}, {399, desc}), 1u);
  EXPECT_EQ(CountOps(l, [](const TDrawOp& Op) { return Op.Kind == TDrawKind::FillRect; }), 0u);

  // A damaged grid distance draws the default grid instead of looping.
  f.Options.GridDistance = 0;
  f.Options.GridDistancePixels = -3;
  EXPECT_EQ(CountOps(f.Aids(), [&](const TDrawOp& Op) { return Op.Pen == f.Options.GridColor; }),
            CountOps(l, [&](const TDrawOp& Op) { return Op.Pen == f.Options.GridColor; }));

  // The whole coordinate space at the smallest zoom: silver on all four sides.
  f.View.SetZoomFactor(0.001);
  f.View.CentreOn(0, 0);
  TDisplayList tiny = f.Aids();
  EXPECT_EQ(CountOps(tiny, [](const TDrawOp& Op) { return Op.Kind == TDrawKind::FillRect && Op.Brush == ViewColor::Silver; }),
            4u);
  // Dots instead of lines: only crossing pixels.
  f.Options.GridLineStyle = 1;
  TDisplayList dots = f.Aids();
  EXPECT_EQ(CountOps(dots, [&](const TDrawOp& Op) { return Op.Kind == TDrawKind::Line && Op.Pen == f.Options.GridColor; }),
            0u);
  EXPECT_GT(CountOps(dots, [&](const TDrawOp& Op) { return Op.Kind == TDrawKind::Pixel && Op.Pen == f.Options.GridColor; }),
            0u);
}

TEST(GlyphLayers, GuidelinesAreClippedHitAndHiddenWhileDragged) {
  TFixture f;
  f.View.SetZoomFactor(1);
  f.View.CentreOn(0, 0);
  TGuideLineSettings g;
  g.Horizontal.Add(100);
  g.Horizontal.Add(101);
  g.Vertical.Add(-50);
  g.Diagonal.Add({0, 0}, {100, 100}, gkDiagonalPoints, 0);   // 45 degrees: cut at the left and right edges
  g.Diagonal.Add({0, 0}, {10, 100}, gkDiagonalPoints, 0);    // steep: cut at the bottom and top edges
  g.Diagonal.Add({30, 0}, {0, 0}, gkDiagonalAngle, 90);      // vertical
  EXPECT_EQ(ClipDiagonal(f.View, g.Diagonal.Items(0)), (std::pair{TIntPoint{0, 400}, TIntPoint{400, 0}}));
  const auto steep = ClipDiagonal(f.View, g.Diagonal.Items(1));
  EXPECT_EQ(steep.first.Y, 400);
  EXPECT_EQ(steep.second.Y, 0);
  EXPECT_EQ(steep.second.X, 220);
  EXPECT_EQ(ClipDiagonal(f.View, g.Diagonal.Items(2)), (std::pair{TIntPoint{230, 400}, TIntPoint{230, 0}}));

  // The last of two close horizontal guidelines wins; 3 pixels away is a miss.
  const int y100 = f.View.FontToScreenY(100);
  TGuidelineHit hit = HitTestGuidelines(f.View, g, 350, y100);
  EXPECT_EQ(hit.Kind, gkHorizontal);
  EXPECT_EQ(hit.Index, 1);
  EXPECT_EQ(HitTestGuidelines(f.View, g, 350, y100 - 4).Kind, -1);
  EXPECT_EQ(HitTestGuidelines(f.View, g, 350, y100 + 3).Kind, -1);
  EXPECT_EQ(HitTestGuidelines(f.View, g, 350, y100 + 2).Index, 0);
  hit = HitTestGuidelines(f.View, g, f.View.FontToScreenX(-50) + 2, 300);
  EXPECT_EQ(hit.Kind, gkVertical);
  hit = HitTestGuidelines(f.View, g, f.View.FontToScreenX(-100), f.View.FontToScreenY(-100));
  EXPECT_EQ(hit.Kind, gkDiagonalAngle);
  EXPECT_EQ(hit.Index, 0);

  const auto guideOps = [&](const TDisplayList& L) {
    return CountOps(L, [](const TDrawOp& Op) { return Op.Kind == TDrawKind::Line && Op.Pen == 0 && Op.Style == TPenStyle::Solid; });
  };
  f.Options.ShowGrid = f.Options.ShowFixedGridLines = f.Options.ShowBearings = false;
  EXPECT_EQ(guideOps(f.Aids(&g)), 6u);
  f.Scene.HiddenGuideline = &g.Horizontal.Items(0);
  EXPECT_EQ(guideOps(f.Aids(&g)), 5u);
  f.Options.ShowUserDefinedGuidelines = false;
  EXPECT_EQ(guideOps(f.Aids(&g)), 0u);
}

TEST(GlyphLayers, MissingMetricsAndGlyphsDrawWhatTheyCan) {
  TFixture f;
  f.Font.RemoveTable("hmtx");
  f.Font.RemoveTable("OS/2");
  TDisplayList l = f.Aids();  // no bearings, no error
  EXPECT_EQ(CountOps(l, [](const TDrawOp& Op) { return Op.Style == TPenStyle::Dotted; }), 0u);
  f.Scene.Glyph = 5;  // beyond the font: nothing to draw
  EXPECT_TRUE(f.GlyphLayer().Ops.empty());
}

TEST(GlyphLayers, DamagedStoredOptionsReadAsDefaults) {
  TRegistrySettings settings(std::make_shared<TMemorySettingsBackend>());
  settings.WriteIntegerSetting(SettingsKey("Grid"), 0, "GridDistance");
  settings.WriteIntegerSetting(SettingsKey("Grid"), 7, "GridDistancePixels");
  const TGlyphViewOptions o = ReadGlyphViewOptions(settings);
  EXPECT_EQ(o.GridDistance, 100);
  EXPECT_EQ(o.GridDistancePixels, 7);
}
