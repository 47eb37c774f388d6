#include "outline/contour.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tsy;

namespace {

TContour Ring(std::initializer_list<TTrueTypePoint> Points) {
  TContour c;
  c.Points = Points;
  return c;
}

TContour Square() { return Ring({{0, 0}, {0, 100}, {100, 100}, {100, 0}}); }

}  // namespace

TEST(ContourDirection, SquaresCurvesAndRepeats) {
  struct Case {
    const char* What;
    TContour C;
    double Want;
  };
  TContour reversed = Square();
  reversed.Reverse();
  const Case cases[] = {
      {"clockwise square", Square(), 360},
      {"counter-clockwise square", reversed, -360},
      {"second point repeats the first", Ring({{0, 0}, {0, 0}, {0, 100}, {100, 100}, {100, 0}}), 360},
      {"last point repeats the first", Ring({{0, 0}, {0, 100}, {100, 100}, {100, 0}, {0, 0}}), 360},
      {"repeat in the middle", Ring({{0, 0}, {0, 100}, {0, 100}, {100, 100}, {100, 0}}), 360},
      {"two points", Ring({{0, 0}, {10, 10}}), 0},
      {"one point", Ring({{5, 5}}), 0},
      // Sampled through the two implied midpoints: a flat ring that turns back
      // twice, and a full reversal counts as +180.
      {"only two off-curve points", Ring({{0, 0, false}, {100, 100, false}}), 360},
      {"circle of off-curve points, clockwise", Ring({{0, 100, false}, {100, 0, false}, {0, -100, false}, {-100, 0, false}}), 360},
  };
  for (const Case& c : cases) EXPECT_NEAR(c.C.GetDirection(), c.Want, 1e-6) << c.What;
  EXPECT_EQ(TContour().GetDirection(), 0);
}

TEST(ContourEditing, ReverseRotateNormalizeDescribe) {
  const TTrueTypePoint A{1, 1}, B{2, 2}, C{3, 3}, D{4, 4};
  TContour r = Ring({A, B, C, D});
  r.Reverse();
  EXPECT_EQ(r.Points, (std::vector{D, C, B, A}));
  TContour one = Ring({A});
  one.Reverse();
  EXPECT_EQ(one.Points, (std::vector{A}));
  TContour rot = Ring({A, B, C, D});
  rot.RotateStart(2);
  EXPECT_EQ(rot.Points, (std::vector{C, D, A, B}));
  rot.RotateStart(0);
  EXPECT_EQ(rot.Points, (std::vector{C, D, A, B}));

  TContour n1 = Ring({{0, 0}, {10.4, 0, false}, {20, 10, false}, {30, 0}});
  n1.Normalize();
  ASSERT_EQ(n1.Count(), 5u);
  EXPECT_EQ(n1.Points[1].X, 10);
  EXPECT_EQ(n1.Points[2], (TTrueTypePoint{15, 5, true}));
  TContour n2 = Ring({{0, 0, false}, {10, 0}, {21, 10, false}});
  n2.Normalize();
  ASSERT_EQ(n2.Count(), 4u);
  EXPECT_EQ(n2.Points[3], (TTrueTypePoint{10.5, 5, true}));  // the closing pair's midpoint, unrounded

  EXPECT_EQ(Ring({{12.6, -3}}).Describe(), "    13     -3 on\r\n");
  EXPECT_EQ(DescribeContours({Ring({{1, 2, false}})}), "Contour:\r\n     1      2 off\r\n");

  TContour s = Ring({{0, 0, false}, {1, 1}});
  s.StartOnCurve();
  EXPECT_TRUE(s.Points[0].OnCurve);
  EXPECT_THROW(TContour::GetMidpoint(A, {5, 5, false}), std::logic_error);
  EXPECT_THROW(r.DeletePoint(9), std::out_of_range);
}

TEST(ContourEquality, StartPointAndDirectionDoNotMatter) {
  const TTrueTypePoint A{0, 0}, B{10, 0, false}, C{10, 10};
  const TContour abc = Ring({A, B, C});
  EXPECT_TRUE(abc.IsEqual(Ring({B, C, A})));
  EXPECT_TRUE(abc.IsEqual(Ring({C, B, A})));
  EXPECT_TRUE(abc.IsEqual(Ring({{0.2, 0}, B, C})) == false);  // forward comparison is exact
  EXPECT_TRUE(abc.IsEqual(Ring({C, B, {0.2, 0}})));           // backward comparison rounds
  EXPECT_FALSE(abc.IsEqual(Ring({A, B})));
  EXPECT_FALSE(TContour().IsEqual(TContour()));
}

TEST(ContourOffset, GrowsOuterContoursAndStaysInRange) {
  TContour sq = Square();
  sq.Offset(10, 10);
  const std::vector<TTrueTypePoint> want = {{-10, -10}, {-10, 110}, {110, 110}, {110, -10}};
  ASSERT_EQ(sq.Count(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_NEAR(sq.Points[i].X, want[i].X, 1e-9) << i;
    EXPECT_NEAR(sq.Points[i].Y, want[i].Y, 1e-9) << i;
  }
  TContour far = Ring({{0, 0}, {0, 64995}, {100, 64995}, {100, 0}});
  far.Offset(10, 10);
  EXPECT_EQ(far.Points[1].Y, 64995);  // 65005 would pass the limit: the point stays
  EXPECT_NEAR(far.Points[0].Y, -10, 1e-9);
}

TEST(LineIntersection, Cases) {
  auto x = LineIntersection({0, 0}, {10, 10}, {0, 10}, {10, 0});
  ASSERT_TRUE(x);
  EXPECT_EQ(*x, (TRealPoint{5, 5}));
  x = LineIntersection({5, 0}, {5, 10}, {0, 2}, {10, 4});
  ASSERT_TRUE(x);
  EXPECT_DOUBLE_EQ(x->Y, 3);
  EXPECT_FALSE(LineIntersection({0, 0}, {10, 0}, {0, 5}, {10, 5}));  // parallel
  EXPECT_FALSE(LineIntersection({0, 0}, {0, 10}, {1, 0}, {1, 10}));
  x = LineIntersection({0, 0}, {0, 10}, {0, 4}, {0, 20});
  ASSERT_TRUE(x);
  EXPECT_EQ(*x, (TRealPoint{0, 4}));
}
