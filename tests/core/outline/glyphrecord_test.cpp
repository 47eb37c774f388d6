// Glyph records: the writer's byte choices, decoding of hand-made and hostile
// records, and the snapshot layout.
#include <gtest/gtest.h>

#include <cmath>

#include "fontfile/fontexception.h"
#include "fontfile/warnings.h"
#include "outline/outline.h"
#include "support/fontbuilder.h"

using namespace tsy;
using tsytest::Bytes;
using tsytest::Put16;

namespace {

Bytes Record(const TOutlineBase& O) {
  TMemoryStream m;
  O.WriteGlyphRecord(m);
  return m.Bytes();
}

template <class T>
std::unique_ptr<T> Decode(const Bytes& B) {
  auto o = std::make_unique<T>();
  TReadOnlyStream s(B.data(), B.size());
  o->ReadGlyphRecord(s);
  return o;
}

TOutlineSimple& OnePoint(TOutlineSimple& O, double X, double Y, bool On = true) {
  O.Contours.push_back(TContour{{{X, Y, On}}});
  return O;
}

// Header of a simple record with one contour ending at LastPoint, zero
// bounds and no instructions.
Bytes SimpleHeader(int Contours, std::vector<uint16_t> Ends) {
  Bytes b;
  Put16(b, uint16_t(Contours));
  for (int i = 0; i < 4; ++i) Put16(b, 0);  // bounds
  for (uint16_t e : Ends) Put16(b, e);
  Put16(b, 0);  // instructionLength
  return b;
}

}  // namespace

TEST(SimpleRecord, WriterChoosesFlagsAndDeltaSizes) {
  struct Case {
    const char* Name;
    double X, Y;
    bool On;
    Bytes Tail;  // flags, x bytes, y bytes
  };
  const Case cases[] = {
      {"one point, byte x, same y", 1, 0, true, {0x33, 1}},
      {"dx 255 is a byte", 255, 0, true, {0x33, 255}},
      {"dx 256 is a word", 256, 0, true, {0x21, 0x01, 0x00}},
      {"dx -255 is a byte without the sign bit", -255, 0, true, {0x23, 255}},
      {"off-curve, negative byte y", 0, -3, false, {0x14, 3}},
      {"word y", 0, -300, true, {0x11, 0xFE, 0xD4}},
  };
  for (const Case& c : cases) {
    TOutlineSimple o;
    OnePoint(o, c.X, c.Y, c.On);
    EXPECT_EQ(Record(o), tsytest::Concat({SimpleHeader(1, {0}), c.Tail})) << c.Name;
    auto back = Decode<TOutlineSimple>(Record(o));
    ASSERT_EQ(back->Contours.size(), 1u);
    EXPECT_EQ(back->Contours[0].Points[0], (TTrueTypePoint{c.X, c.Y, c.On})) << c.Name;
  }
}

TEST(SimpleRecord, RepeatRunsCloseAt256Points) {
  TOutlineSimple o;
  TContour& c = o.Contours.emplace_back();
  for (int i = 1; i <= 300; ++i) c.Points.push_back({double(i), 0, true});
  const Bytes r = Record(o);
  const Bytes flags(r.begin() + 14, r.begin() + 18);
  EXPECT_EQ(flags, (Bytes{0x3B, 255, 0x3B, 43}));
  EXPECT_EQ(r.size(), 14u + 4 + 300);  // one x byte per point, no y bytes
  EXPECT_EQ(Decode<TOutlineSimple>(r)->Contours, o.Contours);
}

TEST(SimpleRecord, CoordinatesRoundHalfUp) {
  const std::pair<double, double> cases[] = {{2.5, 3}, {-2.5, -2}, {-2.7, -3}, {1.49996, 2}};
  for (auto [in, out] : cases) {
    TOutlineSimple o;
    OnePoint(o, in, 0);
    EXPECT_EQ(Decode<TOutlineSimple>(Record(o))->Contours[0].Points[0].X, out) << in;
  }
}

TEST(SimpleRecord, HeaderEndPointsInstructionsAndBounds) {
  TOutlineSimple o;
  o.Bounds = {-1.5, 2, 300, 400.4};
  o.Instructions = {0xB0, 0x01};
  o.Contours = {TContour{{{0, 0, true}, {10, 0, false}}}, TContour{}, TContour{{{5, 5, true}}}};
  const Bytes r = Record(o);
  Bytes head;
  for (int v : {2, -1, 2, 300, 400, 1, 2, 2}) Put16(head, uint16_t(v));  // empty contour left out
  head.push_back(0xB0);
  head.push_back(0x01);
  EXPECT_EQ(Bytes(r.begin(), r.begin() + long(head.size())), head);
  auto back = Decode<TOutlineSimple>(r);
  EXPECT_EQ(back->Contours.size(), 2u);
  EXPECT_EQ(back->Instructions, o.Instructions);
  EXPECT_EQ(back->Bounds, (TFloatRect{-1, 2, 300, 400}));
}

TEST(SimpleRecord, GlyphWithoutPointsWritesAnEmptyRecord) {
  TOutlineSimple none;
  EXPECT_TRUE(Record(none).empty());
  none.Contours.emplace_back();
  EXPECT_TRUE(Record(none).empty());
}

TEST(SimpleRecord, WriterRefusesWhatDoesNotFit) {
  TOutlineSimple o;
  OnePoint(o, 40000, 0);
  EXPECT_THROW(Record(o), ERangeError);
  TOutlineSimple b;
  OnePoint(b, 0, 0).Bounds.XMax = 32768;
  EXPECT_THROW(Record(b), ERangeError);
}

TEST(SimpleRecord, HostileRecords) {
  // Two contours, end points 1 and 2; flags: on-curve with x and y "same",
  // repeated 9 times although only 3 points exist.
  const Bytes overshoot = tsytest::Concat({SimpleHeader(2, {1, 2}), {0x39, 9, 0x02, 7}});
  TWarningCollector::Clear();
  auto o = Decode<TOutlineSimple>(overshoot);
  ASSERT_EQ(o->Contours.size(), 2u);
  EXPECT_EQ(o->Contours[0].Count(), 2u);
  EXPECT_EQ(o->Contours[1].Count(), 1u);
  EXPECT_EQ(TWarningCollector::Warnings().size(), 1u);

  // A contour without points between two others: each point stays in its
  // own contour.
  const Bytes emptyContour = tsytest::Concat({SimpleHeader(3, {0, 0, 1}), {0x01, 0x01, 0x00, 5, 0x00, 7, 0, 0, 0, 0}});
  o = Decode<TOutlineSimple>(emptyContour);
  ASSERT_EQ(o->Contours.size(), 2u);
  EXPECT_EQ(o->Contours[0].Points[0], (TTrueTypePoint{5, 0, true}));
  EXPECT_EQ(o->Contours[1].Points[0], (TTrueTypePoint{12, 0, true}));

  const struct {
    const char* Name;
    Bytes Bytes_;
  } broken[] = {
      {"end points fall", tsytest::Concat({SimpleHeader(2, {3, 1}), {0x31, 0x31, 0x31, 0x31}})},
      {"flags run out", SimpleHeader(1, {4})},
      {"coordinates run out", tsytest::Concat({SimpleHeader(1, {1}), {0x01, 0x01, 0x00}})},
      {"instructions run out", Bytes{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0x31}},
      {"header cut", Bytes{0, 1, 0, 0}},
      {"65536 points", tsytest::Concat({SimpleHeader(1, {0xFFFF}), {0x39, 0xFF}})},
  };
  for (const auto& b : broken) EXPECT_THROW(Decode<TOutlineSimple>(b.Bytes_), FontException) << b.Name;
}

TEST(CompositeRecord, WriterChoosesFlagsArgumentsAndScales) {
  struct Case {
    const char* Name;
    TCompositeMember Member;
    uint16_t Flags;
    Bytes Args;
  };
  auto member = [](double Dx, double Dy) {
    TCompositeMember m;
    m.GlyphIndex = 7;
    m.OffsetX = Dx;
    m.OffsetY = Dy;
    return m;
  };
  TCompositeMember half = member(0, 0);
  half.ScaleX = half.ScaleY = 0.5;
  TCompositeMember mirror = member(0, 0);
  mirror.ScaleY = -1;
  TCompositeMember shear = member(0, 0);
  shear.Scale10 = 0.25;  // no 2x2 flag read, but the matrix needs one
  TCompositeMember anchored = member(0, 0);
  anchored.ArgsAreXYValues = false;
  anchored.AnchorParent = 200;
  anchored.AnchorChild = 3;
  TCompositeMember farAnchor = anchored;
  farAnchor.AnchorParent = 300;
  TCompositeMember flags = member(0, 0);
  flags.RoundXYToGrid = flags.NoOverlap = flags.OverlapCompound = flags.ScaledComponentOffset = true;
  const Case cases[] = {
      {"byte offsets at the limits", member(127, -128), 0x0002, {127, 0x80}},
      {"127.4 needs words and writes 127", member(127.4, 0), 0x0003, {0, 127, 0, 0}},
      {"uniform scale", half, 0x000A, {0, 0, 0x20, 0x00}},
      {"x and y scale", mirror, 0x0042, {0, 0, 0x40, 0x00, 0xC0, 0x00}},
      {"off-diagonal values", shear, 0x0082, {0, 0, 0x40, 0, 0, 0, 0x10, 0, 0x40, 0}},
      {"point numbers as unsigned bytes", anchored, 0x0000, {200, 3}},
      {"point numbers as words", farAnchor, 0x0001, {0x01, 0x2C, 0, 3}},
      {"flag bits", flags, 0x0C16, {0, 0}},
  };
  for (const Case& c : cases) {
    TOutlineComposite o;
    o.Members = {c.Member};
    Bytes expected;
    Put16(expected, 0xFFFF);
    for (int i = 0; i < 4; ++i) Put16(expected, 0);
    Put16(expected, c.Flags);
    Put16(expected, 7);
    expected.insert(expected.end(), c.Args.begin(), c.Args.end());
    EXPECT_EQ(Record(o), expected) << c.Name;
  }
}

TEST(CompositeRecord, MoreComponentsMetricsAndInstructionsPlacement) {
  TOutlineComposite o;
  o.Members.resize(3);
  o.Members[1].UseMyMetrics = true;
  o.Instructions = {0x2A};
  const Bytes r = Record(o);
  // Members of 6 bytes each from offset 10, then the instructions.
  EXPECT_EQ(tsytest::ReadBE16(r, 10), 0x0022);
  EXPECT_EQ(tsytest::ReadBE16(r, 16), 0x0222);
  EXPECT_EQ(tsytest::ReadBE16(r, 22), 0x0102);
  EXPECT_EQ(Bytes(r.begin() + 28, r.end()), (Bytes{0, 1, 0x2A}));
  auto back = Decode<TOutlineComposite>(r);
  EXPECT_EQ(back->Members.size(), 3u);
  EXPECT_TRUE(back->Members[1].UseMyMetrics);
  EXPECT_EQ(back->GetMetricsMember(), 0);
  EXPECT_EQ(back->Instructions, o.Instructions);

  TOutlineComposite none;
  EXPECT_TRUE(Record(none).empty());
}

TEST(CompositeRecord, ReadsPointNumbersUnsignedAndCutsRecordsAtTheirEnd) {
  Bytes r;
  for (int v : {-1, 0, 0, 0, 0}) Put16(r, uint16_t(v));
  Put16(r, 0x0001);  // words, point matched
  Put16(r, 4);
  Put16(r, 0xFFF0);  // parent point 65520
  Put16(r, 0x8000);  // child point 32768
  TWarningCollector::Clear();
  auto o = Decode<TOutlineComposite>(r);
  EXPECT_FALSE(o->Members[0].ArgsAreXYValues);
  EXPECT_EQ(o->Members[0].AnchorParent, 65520);
  EXPECT_EQ(o->Members[0].AnchorChild, 32768);
  EXPECT_EQ(TWarningCollector::Warnings(), std::vector<std::string>{"no flagXYValues"});

  r.resize(r.size() - 1);
  EXPECT_THROW(Decode<TOutlineComposite>(r), FontException);
  Bytes more;
  for (int v : {-1, 0, 0, 0, 0, 0x0022, 4}) Put16(more, uint16_t(v));
  more.push_back(0);
  more.push_back(0);  // MORE_COMPONENTS with nothing after it
  EXPECT_THROW(Decode<TOutlineComposite>(more), FontException);
  Bytes simple;
  Put16(simple, 1);
  try {
    Decode<TOutlineComposite>(tsytest::Concat({simple, Bytes(8, 0)}));
    FAIL();
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Composite Glyph with 1 number of contours");
  }
}

TEST(OutlineTransform, FullMatrixForShearAndRotation) {
  TOutlineSimple base;
  OnePoint(base, 100, 0);
  TOutlineComposite c;
  TCompositeMember m;
  m.Outline = &base;
  m.ScaleX = m.ScaleY = std::sqrt(0.5);
  m.Scale01 = std::sqrt(0.5);   // y gets +x/sqrt2: rotation by 45 degrees
  m.Scale10 = -std::sqrt(0.5);  // x gets -y/sqrt2
  m.OffsetX = 10;
  c.Members = {m};
  TOutlineContours flat;
  c.AddTransformedContours(flat, TOutlineTransform{});
  ASSERT_EQ(flat.size(), 1u);
  EXPECT_NEAR(flat[0].Points[0].X, 10 + 100 * std::sqrt(0.5), 1e-9);
  EXPECT_NEAR(flat[0].Points[0].Y, 100 * std::sqrt(0.5), 1e-9);

  // A shear nested in an outer scale.
  TOutlineComposite outer;
  TCompositeMember o;
  o.Outline = &c;
  o.ScaleX = 2;
  outer.Members = {o};
  TOutlineContours nested;
  TOutlineSimple shearBase;
  OnePoint(shearBase, 0, 100);
  c.Members[0] = TCompositeMember{};
  c.Members[0].Outline = &shearBase;
  c.Members[0].Scale10 = 0.2;  // x' = x + 0.2 y
  outer.AddTransformedContours(nested, TOutlineTransform{});
  EXPECT_NEAR(nested[0].Points[0].X, 40, 1e-9);
  EXPECT_NEAR(nested[0].Points[0].Y, 100, 1e-9);
}

TEST(Snapshot, LayoutAndZeroContours) {
  TOutlineSimple s;
  OnePoint(s, 1.25, -2, false);
  s.Instructions = {9};
  TMemoryStream m;
  s.WriteSnapshot(m);
  EXPECT_EQ(m.Size(), 2u + 32 + 2 + 17 + 2 + 1);
  EXPECT_EQ(m.Bytes()[0], 0);
  EXPECT_EQ(m.Bytes()[1], 1);
  m.Seek(0);
  TOutlineSimple back;
  back.ReadSnapshot(m);
  EXPECT_EQ(back.Contours, s.Contours);
  EXPECT_EQ(back.Instructions, s.Instructions);

  TOutlineSimple none;
  TMemoryStream z;
  none.WriteSnapshot(z);
  z.Seek(0);
  back.ReadSnapshot(z);
  EXPECT_TRUE(back.Contours.empty());

  TOutlineComposite c;
  c.Members.resize(2);
  c.Members[1].AnchorParent = 300;
  TMemoryStream cm;
  c.WriteSnapshot(cm);
  EXPECT_EQ(cm.Size(), 2u + 32 + 2 + 2 * 62 + 2);
  cm.Seek(0);
  TOutlineComposite cb;
  cb.ReadSnapshot(cm);
  EXPECT_EQ(cb.Members[1].AnchorParent, 300);

  // A member count larger than the data fails before allocating.
  Bytes hostile;
  Put16(hostile, 0xFFFF);
  hostile.resize(34, 0);
  Put16(hostile, 0xFFFF);
  TReadOnlyStream hs(hostile.data(), hostile.size());
  EXPECT_THROW(cb.ReadSnapshot(hs), EStreamError);
}

TEST(Outline, AssignNeedsTheSameKind) {
  TOutlineSimple s;
  TOutlineComposite c;
  try {
    c.Assign(s);
    FAIL();
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Can't duplicate glyph because source and dest glyphs are not the same type.");
  }
  OnePoint(s, 1.6, 2);
  TOutlineSimple copy;
  copy.Assign(s);
  EXPECT_EQ(copy.Contours[0].Points[0].X, 2);
}
