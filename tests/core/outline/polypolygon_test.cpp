#include "outline/polypolygon.h"

#include <gtest/gtest.h>

#include "outline/hittest.h"

using namespace tsy;

namespace {

TContour Ring(std::initializer_list<TTrueTypePoint> Points) {
  TContour c;
  c.Points = Points;
  return c;
}

TContour Rect(double L, double B, double R, double T, bool Clockwise = true) {
  TContour c = Ring({{L, B}, {L, T}, {R, T}, {R, B}});
  if (!Clockwise) c.Reverse();
  return c;
}

}  // namespace

TEST(DeviceMapping, MapsFontUnitsToPixels) {
  TDeviceMapping m;
  m.OriginY = 100;
  EXPECT_EQ(m.Map(10, 20, false), (TRealPoint{10, 80}));
  m.Zoom = 2;
  m.OffsetX = 5;
  EXPECT_EQ(m.Map(10.4, 20, false), (TRealPoint{30, 60}));
  EXPECT_EQ(m.Map(10.4, 20, true), (TRealPoint{30.8, 60}));
}

TEST(Flattening, VertexCountsFollowTheRules) {
  TPolyPolyGon p;
  p.AddContour(Ring({{5, 5}}));
  EXPECT_EQ(p.PolygonCount(), 0);

  // Control point on the chord: only the segment's start is added.
  p.Reset();
  p.AddContour(Ring({{0, 0}, {50, 0, false}, {100, 0}, {100, 100}}));
  EXPECT_EQ(p.PointCount(), 3);  // (0,0) for the curve, (100,0) and (100,100) for the lines

  // A short curve adds only its start.
  p.Reset();
  p.AddContour(Ring({{0, 0}, {1, 1, false}, {2, 0}, {1, -5}}));
  EXPECT_EQ(p.PointCount(), 3);

  // A real curve adds interior vertices in increasing t, none 2 px apart or more.
  p.Reset();
  p.AddContour(Ring({{0, 0}, {0, 100, false}, {100, 100}}));
  ASSERT_EQ(p.PolygonCount(), 1);
  EXPECT_GT(p.PointCount(), 5);
  EXPECT_EQ(p.Points.front(), (TIntPoint{0, 0}));

  // A spike: ends close together, control point far away. It must not be flat.
  p.Reset();
  p.AddContour(Ring({{0, 0}, {1, 200, false}, {2, 0}, {1, -10}}));
  int minY = 0;
  for (const TIntPoint& v : p.Points) minY = std::min(minY, v.Y);
  EXPECT_LT(minY, -90);  // device y is flipped: the spike reaches up to about 100 units
}

TEST(Flattening, AllOffCurveContourStartsAtAMidpoint) {
  TPolyPolyGon p;
  p.AddContour(Ring({{0, 100, false}, {100, 0, false}, {0, -100, false}, {-100, 0, false}}));
  ASSERT_EQ(p.PolygonCount(), 1);
  EXPECT_EQ(p.Points.front(), (TIntPoint{-50, -50}));  // midpoint of last and first, y flipped
}

TEST(CurveBounds, ExtentsOfTheDrawnCurve) {
  TPolyPolyGon p;
  const TFloatRect b = p.GetCurveBounds(Ring({{0, 0}, {50, 100, false}, {100, 0}}));
  EXPECT_NEAR(b.YMax, 50, 0.6);  // the curve peaks at half the control point's height
  EXPECT_EQ(b.XMin, 0);
  EXPECT_EQ(b.XMax, 100);
  EXPECT_EQ(p.GetCurveBounds(TContour()), TFloatRect{});
  EXPECT_EQ(p.GetCurveBounds(Ring({{3, 4}})), (TFloatRect{3, 4, 3, 4}));
}

TEST(HitTests, InnermostContourFirstAndAreaSelections) {
  auto outline = std::make_unique<TOutlineSimple>();
  // The hole comes first in the outline; the hit test still lists it first.
  outline->Contours = {Rect(30, 30, 70, 70, false), Rect(0, 0, 100, 100), Rect(200, 0, 300, 100)};
  TContourSelection sel;
  EXPECT_TRUE(HitTestContours(*outline, {0, 100}, 1, {50, 50}, sel));
  ASSERT_EQ(sel.Count(), 2);
  EXPECT_EQ(sel.Items(0), 0);
  EXPECT_EQ(sel.Items(1), 1);
  TContourSelection miss;
  EXPECT_FALSE(HitTestContours(*outline, {0, 100}, 1, {150, 50}, miss));

  TContourSelection inside;
  EXPECT_TRUE(SelectContoursInside(*outline, Rect(-10, -10, 110, 110), inside));
  EXPECT_EQ(inside.Count(), 2);
  EXPECT_FALSE(AllContoursInside(*outline, Rect(-10, -10, 110, 110)));

  TContourSelection inRect;
  EXPECT_TRUE(SelectContoursInRect(*outline, {190, 0, 300, 100}, inRect));
  EXPECT_EQ(inRect.Count(), 1);

  TPointSelection pts;
  EXPECT_TRUE(SelectPointsInRect(*outline, {0, 0, 50, 50}, pts));
  EXPECT_TRUE(pts.Contains(0, 3));  // (30,30) of the hole, last of its reversed ring
  EXPECT_TRUE(pts.Contains(1, 0));  // (0,0)
  EXPECT_EQ(pts.Count(), 2);

  TPointSelection lasso;
  EXPECT_TRUE(SelectPointsInContourArea(*outline, Rect(190, -10, 310, 110), lasso));
  EXPECT_EQ(lasso.Count(), 4);
  EXPECT_TRUE(lasso.Contains(2, 3));
}

TEST(DrawingPolygons, CompositesAreFlattenedAndContoursSingledOut) {
  auto base = std::make_unique<TOutlineSimple>();
  base->Contours = {Rect(0, 0, 100, 100), Rect(200, 0, 300, 100)};
  TOutlineComposite composite;
  TCompositeMember m;
  m.Outline = base.get();
  m.OffsetX = 1000;
  composite.Members.push_back(m);

  TDeviceMapping map;
  map.OriginY = 500;
  TPolyPolyGon p;
  BuildOutlinePolygons(composite, map, p);
  ASSERT_EQ(p.PolygonCount(), 2);
  EXPECT_EQ(p.Points.front(), (TIntPoint{1000, 500}));  // placed by the member's offset

  BuildMemberPolygons(composite, 0, map, p);
  EXPECT_EQ(p.PolygonCount(), 2);
  BuildContourPolygon(*base, 1, map, p);
  ASSERT_EQ(p.PolygonCount(), 1);
  EXPECT_EQ(p.Points.front(), (TIntPoint{200, 500}));

  const auto line = ContourOutlinePolyline(base->Contours[0], map);
  EXPECT_EQ(line.size(), 4u);  // no closing vertex
  EXPECT_TRUE(ContourOutlinePolyline(Ring({{1, 1}}), map).empty());
}
