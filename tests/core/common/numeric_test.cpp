#include "common/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "fontfile/fontexception.h"

using namespace tsy;

TEST(RoundHalfUp, HalvesGoUpAfterFourDecimals) {
  const std::pair<double, int> cases[] = {
      {-0.5, 0},  {0.5, 1},      {-1.5, -1},   {-1.50006, -2}, {2.5, 3},       {2.49996, 3},
      {2.4999, 2}, {-2.5, -2},   {-2.7, -3},   {0.0, 0},        {1e9 + 0.5, 1000000001}, {-3.00004, -3},
  };
  for (auto [x, want] : cases) EXPECT_EQ(RoundHalfUp(x), want) << x;
  EXPECT_EQ(RoundHalfUp(1e15 / 1e6), 1000000000);
  EXPECT_THROW(RoundHalfUp(3e9), ERangeError);
  EXPECT_THROW(RoundHalfUp(1e300), ERangeError);
  EXPECT_THROW(RoundHalfUp(NAN), ERangeError);
}

TEST(Geometry, Angles) {
  const double pi = std::numbers::pi;
  EXPECT_DOUBLE_EQ(DirectionAngle({0, 0}, {0, 0}), 0);
  EXPECT_DOUBLE_EQ(DirectionAngle({0, 0}, {0, 5}), 0);
  EXPECT_DOUBLE_EQ(DirectionAngle({0, 0}, {5, 0}), pi / 2);
  EXPECT_DOUBLE_EQ(DirectionAngle({0, 0}, {0, -5}), pi);
  EXPECT_DOUBLE_EQ(DirectionAngle({0, 0}, {-5, 0}), 3 * pi / 2);
  EXPECT_DOUBLE_EQ(DirectionAngle({0, 0}, {-1, 1}), -pi / 4);
  EXPECT_DOUBLE_EQ(TurnAngle({0, 0}, {1, 0}, {1, 1}), 90);
  EXPECT_DOUBLE_EQ(TurnAngle({0, 0}, {1, 0}, {1, -1}), -90);
  EXPECT_DOUBLE_EQ(TurnAngle({0, 0}, {1, 0}, {0, 0}), 180);  // a full reversal is +180, never -180
}

TEST(Geometry, LineAndConversions) {
  const TLineCoefficients l = LineCoefficients({1, 1}, {3, 5});
  EXPECT_FALSE(l.Vertical);
  EXPECT_DOUBLE_EQ(l.Slope, 2);
  EXPECT_DOUBLE_EQ(l.Intercept, -1);
  EXPECT_TRUE(LineCoefficients({2, 1}, {2, 5}).Vertical);
  EXPECT_EQ(ToIntPoint({1.5, -1.5}), (TIntPoint{2, -1}));
  EXPECT_EQ(ToIntRect({0.5, -0.5, 10.49996, 3.2}), (TIntRect{1, 0, 11, 3}));
}

TEST(Misc, MixColorsAndSplit) {
  EXPECT_EQ(MixColors(0x00FF0010, 0x00000021), 0x007F0018u);
  std::string text = "a=b=c";
  EXPECT_EQ(SplitAtFirst(text, "="), "a");
  EXPECT_EQ(text, "b=c");
  std::string none = "abc";
  EXPECT_EQ(SplitAtFirst(none, ";"), "abc");
  EXPECT_EQ(none, "");
}
