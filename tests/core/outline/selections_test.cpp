#include "outline/selections.h"

#include <gtest/gtest.h>

#include "fontfile/fontexception.h"

using namespace tsy;

namespace {

template <class T>
std::vector<uint8_t> Bytes(const T& Selection) {
  TMemoryStream m;
  Selection.SaveToStream(m);
  return m.Bytes();
}

std::vector<TPointSelectionItem> Points(const TPointSelection& S) {
  std::vector<TPointSelectionItem> out;
  for (int i = 0; i < S.Count(); ++i) out.push_back(S.Items(i));
  return out;
}

}  // namespace

TEST(Selections, SetSemanticsAndOrder) {
  TContourSelection c;
  c.Add(3);
  c.Add(1);
  c.Add(3);
  c.AddFirst(3);
  c.AddFirst(7);
  ASSERT_EQ(c.Count(), 3);
  EXPECT_EQ(c.Items(0), 7);
  EXPECT_EQ(c.IndexOf(1), 2);
  EXPECT_EQ(c.IndexOf(9), -1);
  c.Remove(7);
  c.Remove(9);
  c.Sort();
  EXPECT_EQ(c.Items(0), 1);
  EXPECT_THROW(c.Items(5), std::out_of_range);

  TSelectedGlyphList g;
  for (int i : {5, 2, 9, 2}) g.SetSelected(i, true);
  EXPECT_EQ(g.Glyphs(), (std::vector<int32_t>{2, 5, 9}));
  g.SetSelected(5, false);
  g.SetSelected(4, false);
  EXPECT_EQ(g.Glyphs(), (std::vector<int32_t>{2, 9}));
  EXPECT_TRUE(g.IsSelected(9));
  EXPECT_FALSE(g.IsSelected(5));
}

TEST(Selections, PointsShiftAndSort) {
  TPointSelection p;
  for (auto [c, i] : std::vector<std::pair<int, int>>{{1, 3}, {1, 4}, {1, 7}, {2, 5}}) p.Add(c, i);
  p.ShiftPointIndices(1, 4);
  EXPECT_EQ(Points(p), (std::vector<TPointSelectionItem>{{1, 3}, {1, 5}, {1, 8}, {2, 5}}));
  EXPECT_TRUE(p.Contains(1, 8));
  EXPECT_FALSE(p.Contains(1, 4));

  TPointSelection s;
  s.Add(2, 0), s.Add(1, 5), s.Add(1, 2), s.Add(1, 5);
  s.Sort();
  EXPECT_EQ(Points(s), (std::vector<TPointSelectionItem>{{1, 2}, {1, 5}, {2, 0}}));
}

TEST(Selections, StreamFormsAreByteExact) {
  TContourSelection empty;
  EXPECT_EQ(Bytes(empty).size(), 51u);  // 2 + 32 + 8 + 8 + 1

  TContourSelection c;
  c.Add(2);
  c.Add(1);
  c.SelectionFrame = {1, 2, 3, 4};
  c.TransformOrigin = {0.5, -1};
  c.HandleMode = 2;
  const auto b = Bytes(c);
  ASSERT_EQ(b.size(), 55u);
  EXPECT_EQ(b[0], 0);
  EXPECT_EQ(b[1], 2);
  EXPECT_EQ(b[2 + 7], 0x3F);  // 1.0 as a little-endian double ends in 0x3F
  EXPECT_EQ(b[50], 2);
  EXPECT_EQ((std::vector<uint8_t>(b.end() - 4, b.end())), (std::vector<uint8_t>{0, 2, 0, 1}));  // insertion order

  TContourSelection copy;
  copy.Add(9);
  copy.Assign(c);
  EXPECT_EQ(Bytes(copy), b);
  copy.Clear();
  EXPECT_EQ(copy.HandleMode, 2);  // Clear keeps frame, origin and mode
  EXPECT_EQ(copy.SelectionFrame, c.SelectionFrame);

  TPointSelection p;
  p.Add(1, 300);
  EXPECT_EQ(Bytes(p), (std::vector<uint8_t>{0, 1, 0, 1, 1, 44}));
  TSelectedGlyphList g;
  g.SetSelected(258, true);
  g.SetSelected(1, true);
  EXPECT_EQ(Bytes(g), (std::vector<uint8_t>{0, 2, 0, 1, 1, 2}));
  TGlyphSelection m;
  m.Add(0);
  EXPECT_EQ(Bytes(m).size(), 2u + 32 + 2);
}

TEST(Selections, LoadingDropsDuplicatesAndSurvivesShortStreams) {
  const uint8_t dup[] = {0, 3, 0, 4, 0, 4, 0, 1};
  TReadOnlyStream s(dup, sizeof dup);
  TSelectedGlyphList g;
  g.LoadFromStream(s);
  EXPECT_EQ(g.Glyphs(), (std::vector<int32_t>{1, 4}));

  const uint8_t shortStream[] = {0xFF, 0xFF, 0, 7};
  TReadOnlyStream p(shortStream, sizeof shortStream);
  TPointSelection points;
  points.LoadFromStream(p);  // the missing pairs read as (0, 0)
  EXPECT_EQ(Points(points), (std::vector<TPointSelectionItem>{{7, 0}, {0, 0}}));
}

TEST(Selections, IndicesBeyond16BitsAreRangeErrors) {
  TContourSelection c;
  c.Add(1);
  c.Add(70000);
  TMemoryStream m;
  EXPECT_THROW(c.SaveToStream(m), ERangeError);
  EXPECT_EQ(m.Size(), 51u + 2);  // what came before the bad value stays
  TSelectedGlyphList g;
  g.SetSelected(-1, true);
  TMemoryStream m2;
  EXPECT_THROW(g.SaveToStream(m2), ERangeError);
}
