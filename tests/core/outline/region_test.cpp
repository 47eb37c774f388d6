#include "outline/region.h"

#include <gtest/gtest.h>

#include "outline/containers.h"

using namespace tsy;

namespace {

std::vector<TIntPoint> Rect(int L, int T, int R, int B) { return {{L, T}, {R, T}, {R, B}, {L, B}}; }

}  // namespace

TEST(Region, PixelCentresDecideMembership) {
  const TRegion r = TRegion::FromPolygon(Rect(0, 0, 4, 3));
  EXPECT_EQ(r.PixelCount(), 12);
  EXPECT_TRUE(r.Contains(0, 0));
  EXPECT_TRUE(r.Contains(3, 2));
  EXPECT_FALSE(r.Contains(4, 0));
  EXPECT_FALSE(r.Contains(0, 3));
  EXPECT_EQ(r.Bounds(), (TIntRect{0, 0, 4, 3}));
  // A triangle: the diagonal pixel whose centre lies outside is not in.
  const TRegion t = TRegion::FromPolygon({{0, 0}, {4, 0}, {0, 4}});
  EXPECT_EQ(t.PixelCount(), 6);  // rows of 3, 2 and 1 centres strictly inside
  EXPECT_FALSE(t.Contains(3, 3));
  // Degenerate polygons give an empty region.
  EXPECT_TRUE(TRegion::FromPolygon({{0, 0}, {5, 5}}).IsEmpty());
  EXPECT_TRUE(TRegion::FromPolygon({{0, 0}, {5, 0}, {9, 0}}).IsEmpty());
}

TEST(Region, FillRulesAndHoles) {
  // An outer square and an inner one running the same way: winding fills the
  // hole, alternate leaves it open.
  std::vector<TIntPoint> pts = Rect(0, 0, 10, 10);
  const auto inner = Rect(3, 3, 7, 7);
  pts.insert(pts.end(), inner.begin(), inner.end());
  const TRegion alt = TRegion::FromPolygons(pts, {4, 4}, TFillRule::Alternate);
  const TRegion wind = TRegion::FromPolygons(pts, {4, 4}, TFillRule::Winding);
  EXPECT_EQ(alt.PixelCount(), 100 - 16);
  EXPECT_EQ(wind.PixelCount(), 100);
  EXPECT_FALSE(alt.Contains(5, 5));
  EXPECT_TRUE(wind.Contains(5, 5));
}

TEST(Region, SetOperationsAndInsideRelation) {
  const TRegion big = TRegion::FromPolygon(Rect(0, 0, 10, 10));
  const TRegion small = TRegion::FromPolygon(Rect(2, 2, 5, 5));
  const TRegion touching = TRegion::FromPolygon(Rect(10, 0, 20, 10));
  const TRegion overlap = TRegion::FromPolygon(Rect(5, 5, 15, 15));

  EXPECT_EQ(big.Union(small), big);
  EXPECT_EQ(big.Intersection(small), small);
  EXPECT_TRUE(small.Difference(big).IsEmpty());
  EXPECT_EQ(big.Difference(small).PixelCount(), 100 - 9);
  // Touching squares share no pixel; their union is one 20x10 block.
  EXPECT_TRUE(big.Intersection(touching).IsEmpty());
  EXPECT_EQ(big.Union(touching), TRegion::FromPolygon(Rect(0, 0, 20, 10)));

  EXPECT_TRUE(RegionInside(big, small));
  EXPECT_FALSE(RegionInside(small, big));
  EXPECT_FALSE(RegionInside(big, big));
  EXPECT_FALSE(RegionInside(big, touching));
  EXPECT_FALSE(RegionInside(big, overlap));
  EXPECT_FALSE(RegionInside(big, TRegion()));
}

TEST(SmallContainers, CoordinateListAndGrid) {
  TCoordinateList l;
  l.Add(10, 10);
  l.Add(10.005, 9.995);
  l.Add(10.02, 10);
  EXPECT_EQ(l.Count(), 2);

  TDynamicIntegerArray g(2, 3, 7);
  g.Set(1, 2, 42);
  EXPECT_EQ(g.Get(1, 2), 42);
  EXPECT_EQ(g.Get(0, 0), 7);
  EXPECT_THROW(g.Get(-1, 0), std::out_of_range);
  g.EdgeReturnsDefault = true;
  g.DefaultValue = -5;
  EXPECT_EQ(g.Get(-1, 0), -5);
  EXPECT_EQ(g.Get(2, 3), -5);
  g.Set(-1, 0, 99);  // ignored
  try {
    g.Get(-2, 0);
    FAIL();
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "Wrong Row, Column pair!");
  }
  g.OutOfRangeReturnsDefault = true;
  EXPECT_EQ(g.Get(-200, 5000), -5);

  TIntegers ints;
  ints.Add(1), ints.Add(2), ints.Add(3);
  ints.Delete(1);
  EXPECT_EQ(ints.Items(1), 3);
  EXPECT_THROW(ints.Delete(5), std::out_of_range);
}
