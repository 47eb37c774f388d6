#include "outline/guidelines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "fontfile/primitives.h"
#include "support/fontbuilder.h"

using namespace tsy;

TEST(Guidelines, AnglesDescriptionsAndHits) {
  TGuidelineDiagonal up({0, 0}, {100, 100}, gkDiagonalPoints, 0);
  TGuidelineDiagonal down({0, 0}, {100, -100}, gkDiagonalPoints, 0);
  EXPECT_NEAR(up.GetAngle(), 45, 1e-9);
  EXPECT_NEAR(down.GetAngle(), 315, 1e-9);
  EXPECT_EQ(down.GetDescription(), "Diagonal: point1(0, 0) point2(100, -100)");
  EXPECT_EQ(TGuidelineDiagonal({5, 6}, {}, gkDiagonalAngle, 30).GetDescription(), "Diagonal: point(5, 6) angle(30.000)");
  EXPECT_EQ(TGuidelineDiagonal({}, {}, 7, 0).GetDescription(), "Unknown guideline");
  EXPECT_EQ(TGuidelineHorizontal(-3).GetDescription(), "Horizontal: Y = -3");

  TGuidelinesHorizontal h;
  h.Add(100);
  h.Add(100.6);  // stored rounded: 101
  EXPECT_EQ(h.Items(1).Y, 101);
  EXPECT_EQ(h.HitTest(103, 97), 1);  // the last match wins
  EXPECT_EQ(h.HitTest(103, 100), 1);
  EXPECT_EQ(h.HitTest(101, 98), 0);  // bounds are strict
  EXPECT_EQ(h.HitTest(97, 90), -1);

  TGuidelinesDiagonal d;
  d.Add({0, 0}, {0, 0}, gkDiagonalAngle, 90);
  EXPECT_EQ(d.HitTest({2, 500}, 3), 0);
  EXPECT_EQ(d.HitTest({3, 500}, 3), -1);
  EXPECT_FALSE(CrossVertical(d.Items(0), 10));  // a vertical line never meets x = 10
  const auto c = CrossHorizontal(up, 40);
  ASSERT_TRUE(c);
  EXPECT_NEAR(c->X, 40, 1e-9);
  const TRealPoint foot = PerpendicularFoot(up, {0, 100});
  EXPECT_NEAR(foot.X, 50, 1e-9);
  EXPECT_NEAR(foot.Y, 50, 1e-9);
}

TEST(Guidelines, FileLayoutOldFilesAndDamage) {
  TGuideLineSettings g;
  g.Horizontal.Add(10);
  g.Vertical.Add(-20);
  g.Diagonal.Add({0, 0}, {100, 100}, gkDiagonalPoints, 0);
  TMemoryStream m;
  g.SaveToStream(m);
  ASSERT_EQ(m.Size(), 2u + 8 + 2 + 8 + 2 + 5 * 8 + 4);
  EXPECT_EQ(m.Bytes()[1], 1);
  EXPECT_EQ(m.Bytes()[9], 0x40);  // 10.0 as a little-endian double
  m.Seek(0);
  TGuideLineSettings back;
  back.LoadFromStream(m);
  ASSERT_EQ(back.Diagonal.Count(), 1u);
  EXPECT_NEAR(back.Diagonal.Items(0).Angle, 45, 1e-9);
  EXPECT_EQ(back.Vertical.Items(0).X, -20);

  // Diagonals that name no line are not written.
  g.Diagonal.Add({7, 7}, {7, 7}, gkDiagonalPoints, 0);
  g.Diagonal.Add({0, 0}, {0, 0}, 9, 0);
  g.Diagonal.Add({0, 0}, {0, 0}, gkDiagonalAngle, std::numeric_limits<double>::infinity());
  TMemoryStream skipped;
  g.SaveToStream(skipped);
  EXPECT_EQ(skipped.Bytes(), m.Bytes());

  // An older file: two horizontal guidelines, no vertical section content, no diagonal section.
  TMemoryStream old;
  WriteUInt16(old, 2);
  WriteDouble(old, 1);
  WriteDouble(old, 2);
  WriteUInt16(old, 0);
  old.Seek(0);
  back.LoadFromStream(old);
  EXPECT_EQ(back.Horizontal.Count(), 2u);
  EXPECT_EQ(back.Diagonal.Count(), 0u);

  // Damage is skipped: NaN, an unknown kind, two equal points, a cut-off entry.
  TMemoryStream bad;
  WriteUInt16(bad, 2);
  WriteDouble(bad, std::numeric_limits<double>::quiet_NaN());
  WriteDouble(bad, 7);
  WriteUInt16(bad, 0);
  WriteUInt16(bad, 3);
  for (uint32_t kind : {9u, 3u}) {
    for (int i = 0; i < 4; ++i) WriteDouble(bad, 5);
    WriteDouble(bad, 0);
    WriteUInt32(bad, kind);
  }
  WriteDouble(bad, 1);  // a third entry that ends early
  bad.Seek(0);
  back.LoadFromStream(bad);
  ASSERT_EQ(back.Horizontal.Count(), 1u);
  EXPECT_EQ(back.Horizontal.Items(0).Y, 7);
  EXPECT_EQ(back.Diagonal.Count(), 0u);
}

TEST(Guidelines, FilesAreWrittenAtomicallyAndNeverOverAnUnreadableOne) {
  const std::string dir = tsytest::MakeTempDir();
  const std::string file = dir + "/guidelines.dat";
  TGuideLineSettings g;
  EXPECT_TRUE(g.LoadFromFile(file));  // no file yet: fine, nothing loaded
  g.Horizontal.Add(5);
  EXPECT_TRUE(g.SaveToFile(file));
  TGuideLineSettings again;
  EXPECT_TRUE(again.LoadFromFile(file));
  EXPECT_EQ(again.Horizontal.Count(), 1u);

  std::filesystem::create_directory(dir + "/unreadable.dat");  // exists, cannot be read as a file
  TGuideLineSettings broken;
  EXPECT_FALSE(broken.LoadFromFile(dir + "/unreadable.dat"));
  EXPECT_FALSE(broken.SaveToFile(dir + "/unreadable.dat"));
  std::filesystem::remove_all(dir);

  TGuideLineSettings* created = TGuideLineSettings::AccessInstance(1);
  EXPECT_NE(created, nullptr);
  EXPECT_EQ(TGuideLineSettings::AccessInstance(0), created);
  TGuideLineSettings::AccessInstance(2);
  EXPECT_EQ(TGuideLineSettings::AccessInstance(0), nullptr);
  EXPECT_THROW(TGuideLineSettings::AccessInstance(5), std::invalid_argument);
}
