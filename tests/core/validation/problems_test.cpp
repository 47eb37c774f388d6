// The glyph problem queries, each on small glyphs that have exactly that
// problem and on glyphs that do not.
#include "validation/problems.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/validation/test_glyphs.h"

namespace tsy {
namespace {

using namespace testglyphs;

std::vector<int32_t> Indexes(const TIndexSelection& S) {
  std::vector<int32_t> r;
  for (int i = 0; i < S.Count(); ++i) r.push_back(S.Items(i));
  return r;
}

std::vector<TPointSelectionItem> Items(const TPointSelection& S) {
  std::vector<TPointSelectionItem> r;
  for (int i = 0; i < S.Count(); ++i) r.push_back(S.Items(i));
  return r;
}

bool HasPosition(const TCoordinateList& L, double X, double Y, double Tolerance = 0.01) {
  for (int i = 0; i < L.Count(); ++i)
    if (std::fabs(L.Items(i).X - X) <= Tolerance && std::fabs(L.Items(i).Y - Y) <= Tolerance) return true;
  return false;
}

// Every query answers false for the kinds it does not apply to.
TEST(ProblemQueries, OtherKindsAnswerFalse) {
  TOutlineEmpty empty;
  auto simple = Simple({SquareCW(0, 0, 100), SquareCW(0, 0, 100), Contour({{0, 0}})});
  auto composite = Composite({Member(0), Member(0)});
  TGlyphSelection g;
  TContourSelection c1, c2;
  TPointSelection p;
  TCoordinateList xy;
  for (const TOutlineBase* o : {static_cast<const TOutlineBase*>(&empty), static_cast<const TOutlineBase*>(simple.get())}) {
    EXPECT_FALSE(FindDuplicateComponents(*o, g));
    EXPECT_FALSE(FindEmptyComponents(*o, g));
    EXPECT_FALSE(FindIntersectingComponents(*o, g, &xy, nullptr));
  }
  for (const TOutlineBase* o : {static_cast<const TOutlineBase*>(&empty), static_cast<const TOutlineBase*>(composite.get())}) {
    EXPECT_FALSE(FindDuplicateContours(*o, c1));
    EXPECT_FALSE(FindSmallContours(*o, c1));
    EXPECT_FALSE(FindRedundantPoints(*o, p, true, 1, 1, true));
    EXPECT_FALSE(FindDuplicateKnots(*o, p, nullptr));
    EXPECT_FALSE(FindIntersections(*o, c1, c2, nullptr, &xy));
    EXPECT_FALSE(FindWrongDirections(*o, c1, c2));
  }
  EXPECT_FALSE(FindOffCurveExtremes(empty, g, xy, true));
  EXPECT_EQ(g.Count() + c1.Count() + c2.Count() + p.Count() + xy.Count(), 0);
}

TEST(ProblemQueries, DuplicateComponentsIgnoreTheOtherFlags) {
  TFontOutlines list;
  TCompositeMember a = Member(0, 10, 20), b = Member(0, 10, 20), c = Member(0, 10, 21);
  b.RoundXYToGrid = true;  // not compared
  Fill(list, Glyphs(Simple({SquareCW(0, 0, 100)}), Composite({a, c, b})));
  TGlyphSelection s;
  EXPECT_TRUE(FindDuplicateComponents(*list.Items(1), s));
  EXPECT_EQ(Indexes(s), std::vector<int32_t>{2});  // the later one only

  TCompositeMember scaled = a;
  scaled.ScaleX = 0.5;
  TFontOutlines other;
  Fill(other, Glyphs(Simple({SquareCW(0, 0, 100)}), Composite({a, scaled, c})));
  TGlyphSelection none;
  EXPECT_FALSE(FindDuplicateComponents(*other.Items(1), none));
  EXPECT_EQ(none.Count(), 0);
}

TEST(ProblemQueries, EmptyComponentsAreMembersNamingEmptyGlyphs) {
  TFontOutlines list;
  Fill(list, Glyphs(Simple({SquareCW(0, 0, 100)}), std::make_unique<TOutlineEmpty>(),
                    Composite({Member(0), Member(1), Member(0, 200)}), Composite({Member(0)})));
  TGlyphSelection s;
  EXPECT_TRUE(FindEmptyComponents(*list.Items(2), s));
  EXPECT_EQ(Indexes(s), std::vector<int32_t>{1});
  TGlyphSelection none;
  EXPECT_FALSE(FindEmptyComponents(*list.Items(3), none));
}

TEST(ProblemQueries, DuplicateContoursAnyStartEitherDirection) {
  const TContour square = SquareCW(0, 0, 100);
  TContour rotated = square, reversed = square;
  rotated.RotateStart(2);
  reversed.Reverse();
  auto glyph = Simple({square, SquareCW(200, 0, 100), rotated, reversed});
  TContourSelection s;
  EXPECT_TRUE(FindDuplicateContours(*glyph, s));
  s.Sort();
  EXPECT_EQ(Indexes(s), (std::vector<int32_t>{2, 3}));

  TContourSelection none;
  EXPECT_FALSE(FindDuplicateContours(*Simple({square, SquareCW(200, 0, 100)}), none));
}

TEST(ProblemQueries, SmallContoursAreLeftOutOfTheDirectionTest) {
  // A two-point contour drawn "backwards" would be wrong if it were tested.
  auto glyph = Simple({SquareCW(0, 0, 100), Contour({{10, 10}, {20, 20}}), Contour({{300, 300}})});
  TContourSelection small;
  EXPECT_TRUE(FindSmallContours(*glyph, small));
  EXPECT_EQ(Indexes(small), (std::vector<int32_t>{1, 2}));
  TContourSelection wrong, overlap;
  EXPECT_FALSE(FindWrongDirections(*glyph, wrong, overlap));

  TContourSelection none;
  EXPECT_FALSE(FindSmallContours(*Simple({SquareCW(0, 0, 100)}), none));
}

TEST(ProblemQueries, DuplicateKnotsAreCoincidingOffCurvePoints) {
  // Two consecutive off-curve points at the same rounded position.
  auto knots = Simple({Contour({{0, 0}, {50, 100.2, false}, {50.4, 99.8, false}, {100, 0}})});
  TPointSelection s;
  TStringLines lines;
  EXPECT_TRUE(FindDuplicateKnots(*knots, s, &lines));
  ASSERT_EQ(s.Count(), 1);
  EXPECT_EQ(s.Items(0), (TPointSelectionItem{0, 1}));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Duplicate knots coordinate (50.00000, 100.20000)");

  // Two coinciding on-curve points are no knot, but they are redundant.
  auto doubled = Simple({Contour({{0, 0}, {0, 100}, {0, 100}, {100, 100}, {100, 0}})});
  TPointSelection noKnots;
  EXPECT_FALSE(FindDuplicateKnots(*doubled, noKnots, nullptr));
  TPointSelection redundant;
  EXPECT_TRUE(FindRedundantPoints(*doubled, redundant, false, 0, 0, false));
  EXPECT_EQ(redundant.Count(), 1);
}

TEST(ProblemQueries, RedundantPointsOnStraightRuns) {
  // The middle point of the top edge, and a flat curve on the right edge.
  auto glyph = Simple({Contour({{0, 0}, {0, 100}, {50, 100}, {100, 100}, {100, 50, false}, {100, 0}})});
  TPointSelection s;
  EXPECT_TRUE(FindRedundantPoints(*glyph, s, false, 0, 0, false));
  EXPECT_EQ(Items(s), (std::vector<TPointSelectionItem>{{0, 2}, {0, 4}}));

  TPointSelection none;
  EXPECT_FALSE(FindRedundantPoints(*Simple({SquareCW(0, 0, 100)}), none, true, 0.8, 0.8, true));
  // A real curve keeps its control point.
  EXPECT_FALSE(FindRedundantPoints(*Simple({Contour({{0, 0}, {0, 100}, {100, 100, false}, {100, 0}})}), none,
                                   true, 0.2, 0.8, true));
  EXPECT_EQ(none.Count(), 0);
}

TEST(ProblemQueries, RedundantPointsNearADiagonal) {
  // (50, 101) lies 0.45 units off the line from (0, 0) to (100, 200).
  auto glyph = Simple({Contour({{0, 0}, {50, 101}, {100, 200}, {200, 0}})});
  struct Case {
    bool Diagonal;
    double Distance;
    int Expected;
  };
  for (const Case& c : {Case{true, 0.8, 1}, Case{true, 0.2, 0}, Case{false, 0.8, 0}}) {
    TPointSelection s;
    EXPECT_EQ(FindRedundantPoints(*glyph, s, c.Diagonal, 0, c.Distance, false), c.Expected > 0);
    ASSERT_EQ(s.Count(), c.Expected) << c.Diagonal << " " << c.Distance;
    if (c.Expected) EXPECT_EQ(s.Items(0), (TPointSelectionItem{0, 1}));
  }
}

TEST(ProblemQueries, RedundantPointsLongRunsKeepTheCorners) {
  // Every point of a long straight edge goes, the corners stay.
  auto glyph = Simple({Contour({{0, 0}, {0, 10}, {0, 20}, {0, 30}, {0, 40}, {0, 50}, {0, 60}, {0, 70}, {0, 80},
                                {0, 90}, {0, 100}, {100, 100}, {100, 0}})});
  TPointSelection s;
  EXPECT_TRUE(FindRedundantPoints(*glyph, s, false, 0, 0, false));
  ASSERT_EQ(s.Count(), 9);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(s.Items(i), (TPointSelectionItem{0, i + 1}));
}

TEST(ProblemQueries, OffCurveExtremesLocalAndGlobal) {
  const TContour arch = Contour({{0, 0}, {50, 100, false}, {100, 0}});
  TGlyphSelection g;
  TCoordinateList xy;
  // The top of the curve (y 50) is the top of the glyph, and its control
  // point lies above it.
  EXPECT_TRUE(FindOffCurveExtremes(*Simple({arch}), g, xy, false));
  ASSERT_EQ(xy.Count(), 1);
  EXPECT_TRUE(HasPosition(xy, 50, 100));

  // With a taller contour beside it the extreme is inside the glyph: only
  // local detection reports it.
  auto tall = Simple({arch, SquareCW(300, 0, 200)});
  TCoordinateList global, local;
  EXPECT_FALSE(FindOffCurveExtremes(*tall, g, global, false));
  EXPECT_TRUE(FindOffCurveExtremes(*tall, g, local, true));
  EXPECT_TRUE(HasPosition(local, 50, 100));

  // A curve whose extreme is at an end needs nothing.
  TCoordinateList none;
  EXPECT_FALSE(FindOffCurveExtremes(*Simple({Contour({{0, 0}, {0, 100, false}, {100, 100}, {100, 0}})}), g, none,
                                    true));
  EXPECT_EQ(g.Count(), 0);
}

TEST(ProblemQueries, OffCurveExtremeAtAnImpliedMidpoint) {
  // Two off-curve points on the glyph's right edge: their implied midpoint
  // is the rightmost point of the outline.
  auto glyph = Simple({Contour({{0, 0}, {0, 100}, {100, 100, false}, {100, 0, false}})});
  TGlyphSelection g;
  TCoordinateList xy;
  EXPECT_TRUE(FindOffCurveExtremes(*glyph, g, xy, false));
  EXPECT_TRUE(HasPosition(xy, 100, 100));
  EXPECT_TRUE(HasPosition(xy, 100, 0));
}

TEST(ProblemQueries, OffCurveExtremesOfCompositeMembers) {
  TFontOutlines list;
  Fill(list, Glyphs(Simple({Contour({{0, 0}, {50, 100, false}, {100, 0}})}), Simple({SquareCW(0, 0, 10)}),
                    Composite({Member(1, 0, 0), Member(0, 200, 0)})));
  TGlyphSelection g;
  TCoordinateList xy;
  EXPECT_TRUE(FindOffCurveExtremes(*list.Items(2), g, xy, false));
  EXPECT_EQ(Indexes(g), std::vector<int32_t>{1});
  EXPECT_TRUE(HasPosition(xy, 250, 100));
}

TEST(ProblemQueries, FigureEightIntersectsItself) {
  auto glyph = Simple({Contour({{0, 0}, {100, 100}, {100, 0}, {0, 100}})});
  TContourSelection self, pairs;
  TCoordinateList xy;
  EXPECT_TRUE(FindIntersections(*glyph, self, pairs, nullptr, &xy));
  EXPECT_EQ(Indexes(self), std::vector<int32_t>{0});
  EXPECT_EQ(pairs.Count(), 0);
  ASSERT_EQ(xy.Count(), 1);
  EXPECT_TRUE(HasPosition(xy, 50, 50));
}

TEST(ProblemQueries, CrossingCurvesAndContours) {
  // A square and a circle-like contour of curves that crosses its right edge.
  auto glyph = Simple({SquareCW(0, 0, 100),
                       Contour({{80, 50}, {80, 90, false}, {120, 90, false}, {120, 10, false}, {80, 10, false}})});
  TContourSelection self, pairs;
  TCoordinateList xy;
  EXPECT_TRUE(FindIntersections(*glyph, self, pairs, nullptr, &xy));
  EXPECT_EQ(self.Count(), 0);
  pairs.Sort();
  EXPECT_EQ(Indexes(pairs), (std::vector<int32_t>{0, 1}));
  ASSERT_EQ(xy.Count(), 2);
  for (int i = 0; i < 2; ++i) EXPECT_NEAR(xy.Items(i).X, 100, 1e-6);
}

TEST(ProblemQueries, NestedAndSeparateContoursDoNotIntersect) {
  auto glyph = Simple({SquareCW(0, 0, 100), SquareCCW(25, 25, 50), SquareCW(200, 0, 50),
                       Contour({{300, 0}, {300, 100, false}, {400, 100}, {400, 0, false}})});
  TContourSelection self, pairs;
  TCoordinateList xy;
  EXPECT_FALSE(FindIntersections(*glyph, self, pairs, nullptr, &xy));
  EXPECT_EQ(self.Count() + pairs.Count() + xy.Count(), 0);
}

TEST(ProblemQueries, ReusedCoordinatesAndIdenticalContours) {
  // A bow tie that touches itself at (50, 50).
  auto bow = Simple({Contour({{0, 0}, {0, 100}, {50, 50}, {100, 100}, {100, 0}, {50, 50}})});
  TContourSelection self, pairs;
  TCoordinateList xy;
  EXPECT_TRUE(FindIntersections(*bow, self, pairs, nullptr, &xy));
  EXPECT_EQ(Indexes(self), std::vector<int32_t>{0});
  EXPECT_TRUE(HasPosition(xy, 50, 50));

  // Identical contours are paired with a line, but alone do not report.
  TContour again = SquareCW(0, 0, 100);
  again.RotateStart(1);
  auto twins = Simple({SquareCW(0, 0, 100), again});
  TContourSelection self2, pairs2;
  TStringLines lines;
  EXPECT_FALSE(FindIntersections(*twins, self2, pairs2, &lines, nullptr));
  EXPECT_EQ(Indexes(pairs2), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(lines, TStringLines{"Identical contours 0 and 1"});
}

TEST(ProblemQueries, IntersectingComponents) {
  TFontOutlines list;
  Fill(list, Glyphs(Simple({SquareCW(0, 0, 100)}), Composite({Member(0), Member(0, 50, 50), Member(0, 300)}),
                    Composite({Member(0), Member(0), Member(0, 300)})));
  TGlyphSelection g;
  TCoordinateList xy;
  EXPECT_TRUE(FindIntersectingComponents(*list.Items(1), g, &xy, nullptr));
  g.Sort();
  EXPECT_EQ(Indexes(g), (std::vector<int32_t>{0, 1}));
  EXPECT_TRUE(HasPosition(xy, 100, 50));
  EXPECT_TRUE(HasPosition(xy, 50, 100));
  // A duplicate member is the duplicate test's business, not a crossing.
  TGlyphSelection none;
  EXPECT_FALSE(FindIntersectingComponents(*list.Items(2), none, nullptr, nullptr));
}

TEST(ProblemQueries, WrongDirections) {
  TContourSelection wrong, overlap;
  EXPECT_FALSE(FindWrongDirections(*Simple({SquareCW(0, 0, 100), SquareCCW(25, 25, 50), SquareCW(40, 40, 20)}),
                                   wrong, overlap));
  // Outer counter-clockwise, hole clockwise: both are wrong.
  EXPECT_TRUE(FindWrongDirections(*Simple({SquareCCW(0, 0, 100), SquareCW(25, 25, 50), SquareCW(200, 0, 50)}),
                                  wrong, overlap));
  EXPECT_EQ(Indexes(wrong), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(overlap.Count(), 0);

  // Partly overlapping contours are reported as such.
  TContourSelection wrong2, overlap2;
  EXPECT_TRUE(FindWrongDirections(*Simple({SquareCW(0, 0, 100), SquareCW(50, 50, 100)}), wrong2, overlap2));
  EXPECT_EQ(wrong2.Count(), 0);
  EXPECT_EQ(Indexes(overlap2), (std::vector<int32_t>{0, 1}));
}

}  // namespace
}  // namespace tsy
