// The outline list: reference resolution with its guards, renumbering,
// decomposition, point anchors, metrics source and instruction lists.
#include <gtest/gtest.h>

#include "fontfile/warnings.h"
#include "outline/fontoutlines.h"

using namespace tsy;

namespace {

std::unique_ptr<TOutlineSimple> Square(double X0, double Size) {
  auto s = std::make_unique<TOutlineSimple>();
  s->Contours.push_back(
      TContour{{{X0, 0, true}, {X0 + Size, 0, true}, {X0 + Size, Size, true}, {X0, Size, true}}});
  s->UpdateBounds();
  return s;
}

std::unique_ptr<TOutlineComposite> Composite(std::vector<uint16_t> Refs) {
  auto c = std::make_unique<TOutlineComposite>();
  for (uint16_t r : Refs) {
    TCompositeMember m;
    m.GlyphIndex = r;
    c->Members.push_back(m);
  }
  return c;
}

TOutlineComposite* CompositeAt(TFontOutlines& L, int I) { return dynamic_cast<TOutlineComposite*>(L.Items(I)); }

}  // namespace

TEST(FontOutlines, CyclesAreCutWithAWarning) {
  TWarningCollector::Clear();
  TFontOutlines list;
  list.SetOutline(0, Square(0, 10));
  list.SetOutline(1, Composite({1, 0}));  // refers to itself
  list.SetOutline(2, Composite({3, 0}));  // 2 -> 3 -> 2
  list.SetOutline(3, Composite({2}));  // closes the cycle; cut as it is made
  EXPECT_EQ(CompositeAt(list, 1)->Members.size(), 1u);
  EXPECT_EQ(CompositeAt(list, 1)->Members[0].GlyphIndex, 0);
  // Exactly one edge of the A-B-A cycle goes.
  EXPECT_EQ(CompositeAt(list, 2)->Members.size() + CompositeAt(list, 3)->Members.size(), 2u);
  EXPECT_EQ(TWarningCollector::Warnings().size(), 2u);
  EXPECT_LE(list.Items(2)->GetComponentDepth(), 2);
  EXPECT_FALSE(list.Items(3)->ReferencesGlyph(3) && list.Items(2)->ReferencesGlyph(2));
}

TEST(FontOutlines, DeepChainsAndComponentBombsAreBounded) {
  TWarningCollector::Clear();
  TFontOutlines list;
  list.SetOutline(0, Square(0, 1));
  // A chain 1 -> 2 -> ... -> 40 -> 0, far deeper than any real font.
  for (int i = 1; i <= 40; ++i) list.SetOutline(i, Composite({uint16_t(i == 40 ? 0 : i + 1)}));
  // A bomb: each level uses the one below 64 times.
  const int bombBase = 41;
  list.SetOutline(bombBase, Square(0, 1));
  for (int level = 1; level <= 6; ++level)
    list.SetOutline(bombBase + level, Composite(std::vector<uint16_t>(64, uint16_t(bombBase + level - 1))));
  EXPECT_FALSE(TWarningCollector::Warnings().empty());
  for (size_t i = 0; i < list.Count(); ++i) {
    EXPECT_LE(list.Items(i)->GetComponentDepth(), kMaxComponentDepth);
    EXPECT_LE(list.Items(i)->GetCompositePointCount(), TFontOutlines::kMaxFlattenedPoints);
  }
  TOutlineContours flat;
  list.Items(bombBase + 6)->AddTransformedContours(flat, TOutlineTransform{});
  EXPECT_LE(int64_t(flat.size()), TFontOutlines::kMaxFlattenedMembers);
  // The shallow levels are untouched: 64 * 64 squares.
  EXPECT_EQ(list.Items(bombBase + 2)->GetCompositeContourCount(), 64 * 64);
}

TEST(FontOutlines, MissingGlyphIsKeptButDrawsNothing) {
  TFontOutlines list;
  list.SetOutline(0, Composite({5}));
  TWarningCollector::Clear();
  list.ResolveReferences(true);
  EXPECT_EQ(CompositeAt(list, 0)->Members[0].GlyphIndex, 5);
  EXPECT_EQ(CompositeAt(list, 0)->Members[0].Outline, nullptr);
  EXPECT_EQ(TWarningCollector::Warnings().size(), 1u);
  list.Items(0)->UpdateBounds();
  EXPECT_EQ(list.Items(0)->Bounds, TFloatRect{});
}

TEST(FontOutlines, DeleteInsertAndExchangeRenumberMembers) {
  TFontOutlines list;
  for (int i = 0; i < 10; ++i) list.SetOutline(i, Square(i, 1));
  list.SetOutline(10, Composite({9, 5, 2}));
  list.DeleteOutline(5);
  EXPECT_EQ(CompositeAt(list, 9)->Members[0].GlyphIndex, 8);
  EXPECT_EQ(CompositeAt(list, 9)->Members[1].GlyphIndex, 5);  // now names the next glyph
  EXPECT_EQ(CompositeAt(list, 9)->Members[2].GlyphIndex, 2);
  EXPECT_EQ(CompositeAt(list, 9)->Members[1].Outline, list.Items(5));

  list.InsertEmptyOutline(2);
  EXPECT_EQ(list.Items(2)->GetKind(), okEmpty);
  EXPECT_EQ(CompositeAt(list, 10)->Members[2].GlyphIndex, 3);
  EXPECT_EQ(CompositeAt(list, 10)->Members[0].GlyphIndex, 9);

  const TOutlineBase* nine = list.Items(9);
  list.ExchangeOutlines(3, 9);
  EXPECT_EQ(list.Items(3), nine);
  EXPECT_EQ(CompositeAt(list, 10)->Members[0].GlyphIndex, 3);
  EXPECT_EQ(CompositeAt(list, 10)->Members[2].GlyphIndex, 9);
  EXPECT_EQ(CompositeAt(list, 10)->Members[0].Outline, nine);
  EXPECT_TRUE(list.IsReferenced(9));
  EXPECT_FALSE(list.IsReferenced(4));
}

TEST(FontOutlines, DecomposeFlattensWithTheFullTransform) {
  TFontOutlines list;
  list.SetOutline(0, Square(0, 10));
  list.SetOutline(1, std::make_unique<TOutlineEmpty>());
  auto c = Composite({0, 0});
  c->Members[1].OffsetX = 100;
  c->Members[1].Scale10 = 0.5;  // shear
  c->Bounds = {0, 0, 115, 10};
  c->Instructions = {1, 2};
  list.SetOutline(2, std::move(c));
  list.SetOutline(3, Composite({1, 1}));
  list.Decompose(2);
  auto* s = dynamic_cast<TOutlineSimple*>(list.Items(2));
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->Contours.size(), 2u);
  EXPECT_EQ(s->Contours[1].Points[2], (TTrueTypePoint{115, 10, true}));
  EXPECT_EQ(s->Bounds, (TFloatRect{0, 0, 115, 10}));
  EXPECT_TRUE(s->Instructions.empty());
  list.Decompose(3);
  EXPECT_EQ(list.Items(3)->GetKind(), okEmpty);
}

TEST(FontOutlines, PointAnchorsBecomeOffsets) {
  TFontOutlines list;
  list.SetOutline(0, Square(0, 10));
  list.SetOutline(1, Square(50, 4));
  auto c = Composite({0, 1});
  c->Members[1].ArgsAreXYValues = false;
  c->Members[1].AnchorParent = 2;  // (10, 10) of the square
  c->Members[1].AnchorChild = 0;   // (50, 0) of the small square
  list.SetOutline(2, std::move(c));
  list.ResolvePointAnchors();
  const TCompositeMember& m = CompositeAt(list, 2)->Members[1];
  EXPECT_TRUE(m.ArgsAreXYValues);
  EXPECT_EQ(m.OffsetX, 10 - 50);
  EXPECT_EQ(m.OffsetY, 10 - 0);
  EXPECT_EQ(m.AnchorParent, 2);
}

TEST(FontOutlines, MetricsSourceCountsAndInstructions) {
  TFontOutlines list;
  list.SetOutline(0, Square(0, 10));
  auto inner = Composite({0});
  inner->Members[0].UseMyMetrics = true;
  inner->Instructions.assign(40000, 0xB0);
  list.SetOutline(1, std::move(inner));
  auto outer = Composite({1, 0});
  outer->Members[0].UseMyMetrics = true;
  outer->Instructions.assign(40000, 0xB0);
  list.SetOutline(2, std::move(outer));
  EXPECT_EQ(list.FindMetricsSource(2), 0);
  EXPECT_EQ(list.FindMetricsSource(0), -1);
  // Only the glyph's own instructions count, so no sum passes 65535.
  EXPECT_EQ(list.Items(2)->GetInstructionSize(), 40000);
  EXPECT_EQ(list.Items(2)->GetComponentDepth(), 2);
  EXPECT_EQ(list.Items(2)->GetCompositePointCount(), 8);
  EXPECT_EQ(list.Items(2)->GetCompositeContourCount(), 2);

  TMemoryStream m;
  list.WriteAllInstructions(m);
  EXPECT_EQ(m.Bytes()[0], 2);  // little-endian count
  EXPECT_EQ(m.Bytes()[1], 0);
  list.ClearAllInstructions();
  EXPECT_FALSE(list.Items(1)->HasInstructions());
  m.Seek(0);
  list.ReadAllInstructions(m);
  EXPECT_EQ(list.Items(1)->GetInstructionSize(), 40000);
}

TEST(FontOutlines, SnapshotsAndScaling) {
  TFontOutlines list;
  list.SetOutline(0, Square(0, 10));
  auto c = Composite({0});
  c->Members[0].OffsetX = 5;
  c->Bounds = {5, 0, 15, 10};
  list.SetOutline(1, std::move(c));
  TMemoryStream m;
  list.WriteSimpleSnapshot(1, m);
  list.WriteSnapshot(1, m);
  m.Seek(0);
  list.MakeEmpty(0);
  list.ReadSnapshot(0, m);
  auto* s = dynamic_cast<TOutlineSimple*>(list.Items(0));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Contours[0].Points[0].X, 5);
  list.ReadSnapshot(1, m);
  EXPECT_EQ(CompositeAt(list, 1)->Members[0].Outline, list.Items(0));

  list.ScaleOutline(0, 0.5);
  EXPECT_EQ(s->Contours[0].Points[1].X, 7.5);
  EXPECT_EQ(s->Bounds, (TFloatRect{3, 0, 8, 5}));  // 2.5 and 7.5 round up
}
