// The clean-up operations on small glyphs: what each removes or adds, what it
// leaves alone, and the glyph kinds it does not apply to.
#include "outline/cleanup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "validation/problems.h"
#include "core/validation/test_glyphs.h"

namespace tsy {
namespace {

using namespace testglyphs;

bool HasPosition(const TCoordinateList& L, double X, double Y) {
  for (int i = 0; i < L.Count(); ++i)
    if (L.Items(i).X == X && L.Items(i).Y == Y) return true;
  return false;
}

TOutlineSimple& SimpleAt(TFontOutlines& L, int I) { return *static_cast<TOutlineSimple*>(L.Items(size_t(I))); }
TOutlineComposite& CompositeAt(TFontOutlines& L, int I) {
  return *static_cast<TOutlineComposite*>(L.Items(size_t(I)));
}

TEST(Cleanup, OperationsAnswerFalseForOtherKinds) {
  TFontOutlines list;
  Fill(list, Glyphs(std::make_unique<TOutlineEmpty>(), Simple({SquareCW(0, 0, 100), Contour({{0, 0}})}),
                    Composite({Member(1), Member(1), Member(0)})));
  for (int g : {0, 2}) {
    EXPECT_FALSE(AddOnCurveExtremes(list, g, true));
    EXPECT_FALSE(RemoveRedundantPoints(list, g, true, 1, 1, true));
    EXPECT_FALSE(RemoveDuplicateContours(list, g));
    EXPECT_FALSE(RemoveSmallContours(list, g));
    EXPECT_FALSE(CorrectDirections(list, g));
  }
  for (int g : {0, 1}) {
    EXPECT_FALSE(RemoveDuplicateComponents(list, g));
    EXPECT_FALSE(RemoveEmptyComponents(list, g));
  }
  EXPECT_EQ(list.Items(1)->GetContourCount(), 2);
  EXPECT_EQ(list.Items(2)->GetComponentCount(), 3);
}

TEST(Cleanup, RemoveSmallContoursLeavesAnEmptyGlyphRatherThanNoContours) {
  TFontOutlines list;
  Fill(list, Glyphs(Simple({Contour({{0, 0}, {50, 50}})}),
                    Simple({Contour({{5, 5}}), SquareCW(0, 0, 100), Contour({{1, 1}, {2, 2}})}),
                    Composite({Member(0), Member(1)})));
  EXPECT_TRUE(RemoveSmallContours(list, 0));
  EXPECT_EQ(list.Items(0)->GetKind(), okEmpty);
  // The composite that used it now sees an empty glyph.
  EXPECT_EQ(CompositeAt(list, 2).Members[0].Outline, list.Items(0));

  EXPECT_TRUE(RemoveSmallContours(list, 1));
  ASSERT_EQ(SimpleAt(list, 1).Contours.size(), 1u);
  EXPECT_EQ(SimpleAt(list, 1).Contours[0], SquareCW(0, 0, 100));
  EXPECT_FALSE(RemoveSmallContours(list, 1));
}

TEST(Cleanup, RemoveEmptyComponents) {
  TFontOutlines list;
  Fill(list, Glyphs(std::make_unique<TOutlineEmpty>(), Simple({SquareCW(0, 0, 100)}),
                    Composite({Member(0), Member(1), Member(0, 5)}), Composite({Member(0), Member(0, 10)})));
  EXPECT_TRUE(RemoveEmptyComponents(list, 2));
  ASSERT_EQ(CompositeAt(list, 2).Members.size(), 1u);
  EXPECT_EQ(CompositeAt(list, 2).Members[0].GlyphIndex, 1);
  // Every member empty: the glyph becomes an empty outline.
  EXPECT_TRUE(RemoveEmptyComponents(list, 3));
  EXPECT_EQ(list.Items(3)->GetKind(), okEmpty);
}

TEST(Cleanup, RemoveDuplicateComponentsKeepsTheFirst) {
  TFontOutlines list;
  TCompositeMember first = Member(0, 10, 0), later = Member(0, 10, 0);
  first.UseMyMetrics = true;
  Fill(list, Glyphs(Simple({SquareCW(0, 0, 100)}), Composite({first, Member(0, 300), later, later})));
  EXPECT_TRUE(RemoveDuplicateComponents(list, 1));
  const TCompositeGlyph& m = CompositeAt(list, 1).Members;
  ASSERT_EQ(m.size(), 2u);
  EXPECT_TRUE(m[0].UseMyMetrics);
  EXPECT_EQ(m[1].OffsetX, 300);
  EXPECT_FALSE(RemoveDuplicateComponents(list, 1));
}

TEST(Cleanup, RemoveDuplicateContours) {
  TFontOutlines list;
  TContour reversed = SquareCW(0, 0, 100);
  reversed.Reverse();
  Fill(list, Glyphs(Simple({SquareCW(0, 0, 100), reversed, SquareCW(200, 0, 10), SquareCW(200, 0, 10)})));
  EXPECT_TRUE(RemoveDuplicateContours(list, 0));
  ASSERT_EQ(SimpleAt(list, 0).Contours.size(), 2u);
  EXPECT_EQ(SimpleAt(list, 0).Contours[0], SquareCW(0, 0, 100));
  EXPECT_EQ(SimpleAt(list, 0).Contours[1], SquareCW(200, 0, 10));
}

TEST(Cleanup, AddOnCurveExtremesSplitsAtTheExtreme) {
  TFontOutlines list;
  Fill(list, Glyphs(Simple({Contour({{0, 0}, {50, 100, false}, {100, 0}})})));
  EXPECT_TRUE(AddOnCurveExtremes(list, 0, false));
  EXPECT_EQ(SimpleAt(list, 0).Contours[0].Points,
            Points({{0, 0}, {25, 50, false}, {50, 50}, {75, 50, false}, {100, 0}}));
  TGlyphSelection g;
  TCoordinateList xy;
  EXPECT_FALSE(FindOffCurveExtremes(*list.Items(0), g, xy, true));
  EXPECT_FALSE(AddOnCurveExtremes(list, 0, false));
}

TEST(Cleanup, AddOnCurveExtremesWithTwoExtremesInOneCurve) {
  // The curve from (0, 0) over (100, 200) to (-100, 100) turns in x at
  // t = 1/3 and in y at t = 2/3.
  TFontOutlines list;
  Fill(list, Glyphs(Simple({Contour({{0, 0}, {100, 200, false}, {-100, 100}, {-100, 0}})})));
  const TOutlineContours before = SimpleAt(list, 0).Contours;
  TGlyphSelection g;
  TCoordinateList xy;
  ASSERT_TRUE(FindOffCurveExtremes(*list.Items(0), g, xy, true));
  EXPECT_TRUE(AddOnCurveExtremes(list, 0, true));
  const std::vector<TTrueTypePoint>& p = SimpleAt(list, 0).Contours[0].Points;
  ASSERT_EQ(p.size(), 8u);  // P0, C1, B(t1), M, B(t2), C3, P2, and the last corner
  EXPECT_TRUE(p[2].OnCurve && p[4].OnCurve && !p[1].OnCurve && !p[3].OnCurve && !p[5].OnCurve);
  TCoordinateList after;
  EXPECT_FALSE(FindOffCurveExtremes(*list.Items(0), g, after, true));
  EXPECT_EQ(p, Points({{0, 0}, {33, 67, false}, {33, 100}, {33, 133, false}, {0, 133}, {-33, 133, false},
                       {-100, 100}, {-100, 0}}));
}

TEST(Cleanup, AddOnCurveExtremesRoundsEvenWithoutExtremes) {
  TFontOutlines list;
  Fill(list, Glyphs(Simple({Contour({{10.4, 0}, {10.6, 100}, {100, 100}, {100, 0}})})));
  EXPECT_FALSE(AddOnCurveExtremes(list, 0, true));
  EXPECT_EQ(SimpleAt(list, 0).Contours[0].Points, Points({{10, 0}, {11, 100}, {100, 100}, {100, 0}}));
}

TEST(Cleanup, AddOnCurveExtremesMakesAnImpliedExtremeExplicit) {
  TFontOutlines list;
  Fill(list, Glyphs(Simple({Contour({{0, 0}, {0, 100}, {100, 100, false}, {100, 0, false}})})));
  EXPECT_TRUE(AddOnCurveExtremes(list, 0, false));
  EXPECT_EQ(SimpleAt(list, 0).Contours[0].Points,
            Points({{0, 0}, {0, 100}, {100, 100, false}, {100, 50}, {100, 0, false}}));
}

TEST(Cleanup, AddOnCurveExtremesSettlesWhenASplitLowersTheTop) {
  // The curve over (210, 101) peaks at y 100.02, just above the implied
  // midpoint (50, 100) of the two off-curve points; once its peak is an
  // on-curve point at 100, that midpoint is the top of the glyph too.
  TFontOutlines list;
  Fill(list, Glyphs(Simple({Contour({{0, 0}, {0, 100, false}, {100, 100, false}, {200, 50}, {210, 101, false},
                                     {300, 100}, {300, 0}})})));
  TGlyphSelection g;
  TCoordinateList before;
  ASSERT_TRUE(FindOffCurveExtremes(*list.Items(0), g, before, false));
  EXPECT_FALSE(HasPosition(before, 0, 100));
  EXPECT_TRUE(AddOnCurveExtremes(list, 0, false));
  TCoordinateList after;
  EXPECT_FALSE(FindOffCurveExtremes(*list.Items(0), g, after, false));
  const std::vector<TTrueTypePoint>& p = SimpleAt(list, 0).Contours[0].Points;
  EXPECT_NE(std::find(p.begin(), p.end(), TTrueTypePoint{50, 100, true}), p.end());
}

TEST(Cleanup, RemoveRedundantPointsOnlyOnExactRunsWithoutDiagonals) {
  TFontOutlines list;
  // (50, 201) lies 0.45 units off the line from (0, 100) to (100, 300).
  Fill(list, Glyphs(Simple({Contour({{0, 0}, {0, 50}, {0, 100}, {50, 201}, {100, 300}, {300, 300}, {300, 0},
                                     {300, 0}})})));
  EXPECT_TRUE(RemoveRedundantPoints(list, 0, false, 0, 0, false));
  EXPECT_EQ(SimpleAt(list, 0).Contours[0].Points,
            Points({{0, 0}, {0, 100}, {50, 201}, {100, 300}, {300, 300}, {300, 0}}));
  EXPECT_TRUE(RemoveRedundantPoints(list, 0, true, 0, 0.8, false));
  EXPECT_EQ(SimpleAt(list, 0).Contours[0].Points, Points({{0, 0}, {0, 100}, {100, 300}, {300, 300}, {300, 0}}));
  EXPECT_FALSE(RemoveRedundantPoints(list, 0, true, 0.8, 0.8, true));
}

TEST(Cleanup, DeletingASelectionIgnoresItsOrder) {
  // Selections keep the order points were added in; deleting in that order
  // from the front would shift the later indexes onto the wrong points.
  TOutlineContours contours{Contour({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}})};
  TPointSelection s;
  s.Add(0, 1);
  s.Add(0, 3);
  s.Add(0, 2);
  EXPECT_TRUE(DeleteSelectedPoints(contours, s));
  EXPECT_EQ(contours[0].Points, Points({{0, 0}, {4, 4}}));
  // A contour never loses its last point.
  TPointSelection all;
  all.Add(0, 0);
  all.Add(0, 1);
  DeleteSelectedPoints(contours, all);
  EXPECT_EQ(contours[0].Count(), 1u);
}

TEST(Cleanup, CorrectDirectionsLeavesCrossingContoursAlone) {
  TFontOutlines list;
  Fill(list, Glyphs(Simple({SquareCCW(0, 0, 100), SquareCW(25, 25, 50), SquareCCW(300, 0, 100)}),
                    Simple({SquareCCW(0, 0, 100), SquareCCW(50, 50, 100), SquareCCW(300, 0, 100)})));
  EXPECT_TRUE(CorrectDirections(list, 0));
  EXPECT_EQ(SimpleAt(list, 0).Contours[0].GetDirection() > 0, true);
  EXPECT_EQ(SimpleAt(list, 0).Contours[1].GetDirection() < 0, true);
  EXPECT_EQ(SimpleAt(list, 0).Contours[2].GetDirection() > 0, true);
  EXPECT_FALSE(CorrectDirections(list, 0));

  // The two crossing squares stay as they are; the separate one is turned.
  EXPECT_TRUE(CorrectDirections(list, 1));
  EXPECT_LT(SimpleAt(list, 1).Contours[0].GetDirection(), 0);
  EXPECT_LT(SimpleAt(list, 1).Contours[1].GetDirection(), 0);
  EXPECT_GT(SimpleAt(list, 1).Contours[2].GetDirection(), 0);
}

}  // namespace
}  // namespace tsy
