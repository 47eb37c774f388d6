// The charstring interpreter and the CFF table reader on hand-built tables.
#include <gtest/gtest.h>

#include <cmath>

#include "fontfile/cff/cubicquad.h"
#include "fontfile/fontexception.h"
#include "fontfile/tables/cff.h"
#include "support/cffbuilder.h"

using namespace tsy;
using tsytest::Bytes;
using tsytest::BuildCff;
using tsytest::Cs;
using tsytest::CffParts;

namespace {

constexpr int kHStem = 1, kVMoveTo = 4, kRLineTo = 5, kHLineTo = 6, kRRCurveTo = 8, kCallSubr = 10, kReturn = 11,
              kEndChar = 14, kHintMask = 19, kRMoveTo = 21, kHMoveTo = 22, kCallGSubr = 29;

Bytes Join(std::initializer_list<Bytes> Parts) { return tsytest::Concat(Parts); }

struct TLoaded {
  TTableCFF Table;
  std::vector<std::array<TRealPoint, 4>> Cubics;
};

std::unique_ptr<TLoaded> Load(const Bytes& Cff) {
  auto l = std::make_unique<TLoaded>();
  TReadOnlyStream s(Cff.data(), Cff.size());
  l->Table.LoadFromStream(s);
  l->Table.Glyphs.OnCubic = [p = l.get()](const TRealPoint(&C)[4], const TTrueTypePoint*, size_t) {
    p->Cubics.push_back({C[0], C[1], C[2], C[3]});
  };
  return l;
}

std::unique_ptr<TOutlineSimple> Build(TLoaded& L, int Index) {
  auto o = std::make_unique<TOutlineSimple>();
  L.Table.BuildOutline(Index, *o);
  return o;
}

// The rounded on-curve points of contour C, in stored (TrueType) order.
std::vector<std::pair<long, long>> OnPoints(const TOutlineSimple& O, size_t C = 0) {
  std::vector<std::pair<long, long>> out;
  for (const TTrueTypePoint& p : O.Contours.at(C).Points)
    if (p.OnCurve) out.emplace_back(std::lround(p.X), std::lround(p.Y));
  return out;
}

// A square of side 100 from the current point, counter-clockwise in
// PostScript terms.
Bytes Square() { return Join({Cs({100, 0}, kRLineTo), Cs({0, 100}, kRLineTo), Cs({-100, 0}, kRLineTo)}); }

std::string ErrorOf(const Bytes& Cff, int Glyph = 0) {
  try {
    auto l = Load(Cff);
    Build(*l, Glyph);
  } catch (const FontException& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(CFFCharstring, ContourIsReversedToClockwise) {
  auto l = Load(BuildCff({.CharStrings = {Join({Cs({10, 20}, kRMoveTo), Square(), Cs({}, kEndChar)})}}));
  const auto built = Build(*l, 0);
  const TOutlineSimple& o = *built;
  ASSERT_EQ(o.Contours.size(), 1u);
  EXPECT_EQ(OnPoints(o), (std::vector<std::pair<long, long>>{{10, 120}, {110, 120}, {110, 20}, {10, 20}}));
  EXPECT_EQ(o.Bounds, (TFloatRect{10, 20, 110, 120}));
}

TEST(CFFCharstring, SubroutineBiasFollowsTheCount) {
  TCFFSubroutines s;
  for (auto [count, bias] : {std::pair{0, 107}, {1239, 107}, {1240, 1131}, {33899, 1131}, {33900, 32768}}) {
    s.Items.resize(size_t(count));
    s.ComputeBias(2);
    EXPECT_EQ(s.Bias, bias) << count;
    s.ComputeBias(1);
    EXPECT_EQ(s.Bias, 0) << count;
  }
  // A real call through each bias: subroutine 1131 of 1240 local ones, and
  // subroutine 32768 + 5 of 33900 global ones, each drawing its own line.
  CffParts p;
  p.LocalSubrs.assign(1240, Cs({}, kReturn));
  p.LocalSubrs[1131] = Join({Cs({7, 0}, kRLineTo), Cs({}, kReturn)});
  p.GlobalSubrs.assign(33900, Cs({}, kReturn));
  p.GlobalSubrs[32773] = Join({Cs({0, 9}, kRLineTo), Cs({}, kReturn)});
  p.CharStrings = {Join({Cs({0, 0}, kRMoveTo), Cs({0}, kCallSubr), Cs({5}, kCallGSubr), Cs({}, kEndChar)})};
  auto l = Load(BuildCff(p));
  EXPECT_EQ(l->Table.Glyphs.LocalSubrs.Bias, 1131);
  EXPECT_EQ(l->Table.GlobalSubrs.Bias, 32768);
  EXPECT_EQ(OnPoints(*Build(*l, 0)), (std::vector<std::pair<long, long>>{{7, 9}, {7, 0}, {0, 0}}));
}

TEST(CFFCharstring, WidthIsDroppedAtTheFirstStackClearingOperator) {
  const Bytes mask{0xFF};
  struct TCase {
    const char* Name;
    Bytes Program;
    std::pair<long, long> Start;
  };
  const TCase cases[] = {
      {"rmoveto with width", Cs({500, 10, 20}, kRMoveTo), {10, 20}},
      {"hmoveto with width", Cs({500, 30}, kHMoveTo), {30, 0}},
      {"vmoveto with width", Cs({500, 40}, kVMoveTo), {0, 40}},
      {"hstem: 5 operands, 2 stems", Join({Cs({500, 0, 10, 50, 10}, kHStem), Cs({1, 2}, kRMoveTo)}), {1, 2}},
      // 17 operands: a width and 8 stems, so the mask is one byte; read as
      // 9 stems it would take two and swallow the moveto's first operand.
      {"hintmask with width",
       Join({Cs({500, 0, 10, 20, 10, 40, 10, 60, 10, 80, 10, 100, 10, 120, 10, 140, 10}, kHintMask), mask,
             Cs({3, 4}, kRMoveTo)}),
       {3, 4}},
      {"hintmask without width",
       Join({Cs({0, 10, 20, 10, 40, 10, 60, 10, 80, 10, 100, 10, 120, 10, 140, 10}, kHintMask), mask,
             Cs({5, 6}, kRMoveTo)}),
       {5, 6}},
      {"hintmask after stems, width on the stems",
       Join({Cs({500, 0, 10}, kHStem), Cs({}, kHintMask), mask, Cs({8, 9}, kRMoveTo)}),
       {8, 9}},
  };
  for (const TCase& c : cases) {
    auto l = Load(BuildCff({.CharStrings = {Join({c.Program, Square(), Cs({}, kEndChar)})}}));
    TOutlineSimple o;
    ASSERT_NO_THROW(l->Table.BuildOutline(0, o)) << c.Name;
    ASSERT_EQ(o.Contours.size(), 1u) << c.Name;
    EXPECT_EQ(OnPoints(o).back(), c.Start) << c.Name;
  }
  // A space glyph: a width and endchar only.
  auto l = Load(BuildCff({.CharStrings = {Cs({250}, kEndChar)}}));
  EXPECT_TRUE(Build(*l, 0)->Contours.empty());
  EXPECT_EQ(ErrorOf(BuildCff({.CharStrings = {Cs({1, 2, 3}, kHMoveTo)}})), "Problem!");
}

TEST(CFFCharstring, FlexFamilyDrawsTwoCurvesEach) {
  struct TCase {
    const char* Name;
    Bytes Program;
    std::array<TRealPoint, 4> First, Second;
  };
  const TCase cases[] = {
      {"flex", Cs({10, 1, 10, 2, 10, 3, 10, -3, 10, -2, 10, -1, 50}, 1235),
       {{{0, 0}, {10, 1}, {20, 3}, {30, 6}}},
       {{{30, 6}, {40, 3}, {50, 1}, {60, 0}}}},
      {"hflex", Cs({10, 10, 5, 10, 10, 10, 10}, 1234),
       {{{0, 0}, {10, 0}, {20, 5}, {30, 5}}},
       {{{30, 5}, {40, 5}, {50, 0}, {60, 0}}}},
      {"hflex1", Cs({10, 1, 10, 2, 10, 10, 10, -4, 10}, 1236),
       {{{0, 0}, {10, 1}, {20, 3}, {30, 3}}},
       {{{30, 3}, {40, 3}, {50, -1}, {60, 0}}}},
      // flex1 with a wider than tall run: the last value moves X.
      {"flex1 horizontal", Cs({10, 1, 10, 1, 10, 1, 10, -1, 10, -1, 10}, 1237),
       {{{0, 0}, {10, 1}, {20, 2}, {30, 3}}},
       {{{30, 3}, {40, 2}, {50, 1}, {60, 0}}}},
      // Equal sums: the last value moves Y.
      {"flex1 tie", Cs({5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 7}, 1237),
       {{{0, 0}, {5, 5}, {10, 10}, {15, 15}}},
       {{{15, 15}, {20, 20}, {25, 25}, {0, 32}}}},
  };
  for (const TCase& c : cases) {
    auto l = Load(BuildCff({.CharStrings = {Join({Cs({0, 0}, kRMoveTo), c.Program, Cs({}, kEndChar)})}}));
    ASSERT_NO_THROW(Build(*l, 0)) << c.Name;
    ASSERT_EQ(l->Cubics.size(), 2u) << c.Name;
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(l->Cubics[0][k], c.First[k]) << c.Name << " first curve point " << k;
      EXPECT_EQ(l->Cubics[1][k], c.Second[k]) << c.Name << " second curve point " << k;
    }
  }
}

TEST(CFFCharstring, ArithmeticAndStorageOperators) {
  // Each program leaves one value that a following hmoveto uses.
  struct TCase {
    const char* Name;
    Bytes Program;
    long X;
  };
  const TCase cases[] = {
      {"add", Cs({10, 20}, 1210), 30},         {"sub", Cs({10, 25}, 1211), -15},
      {"mul", Cs({6, 7}, 1224), 42},           {"div", Cs({84, 4}, 1212), 21},
      {"neg", Cs({9}, 1214), -9},              {"abs", Cs({-9}, 1209), 9},
      {"sqrt", Cs({81}, 1226), 9},             {"eq", Cs({3, 3}, 1215), 1},
      {"and", Cs({3, 0}, 1203), 0},            {"or", Cs({3, 0}, 1204), 1},
      {"not", Cs({0}, 1205), 1},               {"drop", Join({Cs({11, 99}, 1218)}), 11},
      {"exch", Join({Cs({11, 99}, 1228), Cs({}, 1218)}), 99},
      {"dup", Join({Cs({12}, 1227), Cs({}, 1210)}), 24},
      {"index", Join({Cs({30, 20, 10, 2}, 1229), Cs({}, 1210), Cs({}, 1210), Cs({}, 1210)}), 90},
      {"roll", Join({Cs({1, 2, 3, 3, 1}, 1230), Cs({}, 1218), Cs({}, 1218)}), 3},
      {"ifelse", Cs({5, 6, 1, 2}, 1222), 5},   {"ifelse other", Cs({5, 6, 2, 1}, 1222), 6},
      {"put and get", Join({Cs({77, 3}, 1220), Cs({3}, 1221)}), 77},
  };
  for (const TCase& c : cases) {
    auto l = Load(BuildCff({.CharStrings = {Join({c.Program, Cs({}, kHMoveTo), Square(), Cs({}, kEndChar)})}}));
    TOutlineSimple o;
    ASSERT_NO_THROW(l->Table.BuildOutline(0, o)) << c.Name;
    EXPECT_EQ(OnPoints(o).back(), (std::pair<long, long>{c.X, 0})) << c.Name;
  }
  // random gives a value in (0, 1].
  auto l = Load(BuildCff({.CharStrings = {Join({Cs({}, 1223), Cs({100}, 1224), Cs({}, kHMoveTo), Square()})}}));
  const long x = OnPoints(*Build(*l, 0)).back().first;
  EXPECT_GE(x, 0);
  EXPECT_LE(x, 100);
}

TEST(CFFCharstring, AccentedGlyphFromBaseAndAccent) {
  // Glyph 1 is "A" (string id 34, code 65), glyph 2 "acute" (id 125, code
  // 194); glyph 3 is A with the acute moved by (30, 200).
  CffParts p;
  p.CharStrings = {Cs({}, kEndChar), Join({Cs({0, 0}, kRMoveTo), Square(), Cs({}, kEndChar)}),
                   Join({Cs({10, 0}, kRMoveTo), Cs({20, 0, 0, 20}, kRLineTo), Cs({}, kEndChar)}),
                   Cs({600, 30, 200, 65, 194}, kEndChar)};
  p.Charset = {34, 125, 200};
  auto l = Load(BuildCff(p));
  const auto built = Build(*l, 3);
  const TOutlineSimple& o = *built;
  ASSERT_EQ(o.Contours.size(), 2u);
  EXPECT_EQ(OnPoints(o, 0), OnPoints(*Build(*l, 1)));
  EXPECT_EQ(OnPoints(o, 1), (std::vector<std::pair<long, long>>{{60, 220}, {60, 200}, {40, 200}}));
  // An accent code the charset cannot resolve is an error, not an empty glyph.
  p.CharStrings[3] = Cs({30, 200, 65, 66}, kEndChar);
  EXPECT_NE(ErrorOf(BuildCff(p), 3).find("does not have"), std::string::npos);
}

TEST(CFFCharstring, CIDKeyedFontUsesEachGlyphsFontDict) {
  CffParts p;
  p.FontDictSubrs = {{Join({Cs({10, 0}, kRLineTo), Cs({}, kReturn)})},
                     {Join({Cs({0, 20}, kRLineTo), Cs({}, kReturn)})}};
  const Bytes body = Join({Cs({0, 0}, kRMoveTo), Cs({-107}, kCallSubr), Cs({5, 5}, kRLineTo), Cs({}, kEndChar)});
  p.CharStrings = {body, body, body};
  p.FDRanges = {{0, 0}, {2, 1}};
  auto l = Load(BuildCff(p));
  EXPECT_TRUE(l->Table.Glyphs.CIDKeyed);
  EXPECT_EQ(OnPoints(*Build(*l, 1)), (std::vector<std::pair<long, long>>{{15, 5}, {10, 0}, {0, 0}}));
  EXPECT_EQ(OnPoints(*Build(*l, 2)), (std::vector<std::pair<long, long>>{{5, 25}, {0, 20}, {0, 0}}));
}

TEST(CFFCharstring, OnePointContoursAreDropped) {
  auto l = Load(BuildCff({.CharStrings = {Join({Cs({5, 5}, kRMoveTo), Cs({10, 10}, kRMoveTo), Square(),
                                                Cs({300, 300}, kRMoveTo), Cs({}, kEndChar)})}}));
  const auto built = Build(*l, 0);
  const TOutlineSimple& o = *built;
  ASSERT_EQ(o.Contours.size(), 1u);
  EXPECT_EQ(o.Contours[0].Points.size(), 4u);
}

TEST(CFFCharstring, CharstringErrors) {
  auto one = [](Bytes Program) { return BuildCff({.CharStrings = {Program}}); };
  // Eleven nested calls of a subroutine that calls itself.
  CffParts deep;
  deep.LocalSubrs = {Cs({-107}, kCallSubr)};
  deep.CharStrings = {Cs({-107}, kCallSubr)};
  // A tree of calls far wider than any real font: every subroutine calls the
  // next one 40 times.
  CffParts wide;
  for (int d = 0; d < 10; ++d) {
    Bytes b;
    for (int k = 0; k < 40; ++k) b = Join({b, d < 9 ? Cs({-107 + d + 1}, kCallSubr) : Cs({1, 0}, kRLineTo)});
    wide.LocalSubrs.push_back(Join({b, Cs({}, kReturn)}));
  }
  wide.CharStrings = {Join({Cs({0, 0}, kRMoveTo), Cs({-107}, kCallSubr)})};
  Bytes overflow;
  for (int i = 0; i < 49; ++i) overflow = Join({overflow, tsytest::CsNum(1)});
  const std::pair<Bytes, std::string> cases[] = {
      {BuildCff(deep), "Subroutine stack limit exceeeded 10"},
      {one(Cs({}, kReturn)), "Subroutine stack misses return operand."},
      {one(Cs({0, 0, 0}, kRMoveTo)), ""},  // width, then a valid moveto
      {one(Join({Cs({0, 0}, kRMoveTo), Cs({1, 2, 3}, kRLineTo)})), "Expected no more Stack items 1"},
      {one(Cs({1}, kRLineTo)), "Stack underflow"},
      {one(overflow), "Stack overflow"},
      {one(Cs({}, 1238)), "Wrong Type 2 Operator bytes 12 38"},
      {one(Cs({1, 0}, 1212)), "[TTableCFF] Glyph 0 divides by zero."},
      {one(Cs({5, 40}, 1220)), "[TTableCFF] Transient index 40 out of range."},
      {one(Cs({10, 10}, kRLineTo)), "[TTableCFF] Glyph 0 draws before its first moveto."},
      {one(Cs({0}, kCallSubr)), "[TTableCFF] Glyph 0 calls the missing local subroutine 107."},
      {one(Bytes{28, 1}), "[TTableCFF] A charstring operand runs past its end."},
      {one(Bytes{kHintMask}), "[TTableCFF] Glyph 0 has a hint mask without stems."},
      {BuildCff(wide), "[TTableCFF] Glyph 0 runs too long."},
  };
  for (const auto& [cff, message] : cases) EXPECT_EQ(ErrorOf(cff), message) << message;
}

TEST(CFFCharstring, CubicToQuadraticStaysWithinTolerance) {
  auto deviation = [](TRealPoint P0, TRealPoint P1, TRealPoint P2, TRealPoint P3, std::vector<TTrueTypePoint>& Q) {
    Q.clear();
    AppendCubicAsQuadratic(Q, P0, P1, P2, P3);
    // Each cubic point against the nearest point of the quadratic pieces.
    std::vector<TRealPoint> poly{P0};
    TRealPoint s = P0;
    for (size_t i = 0; i + 1 < Q.size(); i += 2) {
      for (int k = 1; k <= 64; ++k) {
        const double t = k / 64.0, u = 1 - t;
        poly.push_back({u * u * s.X + 2 * u * t * Q[i].X + t * t * Q[i + 1].X,
                        u * u * s.Y + 2 * u * t * Q[i].Y + t * t * Q[i + 1].Y});
      }
      s = {Q[i + 1].X, Q[i + 1].Y};
    }
    double worst = 0;
    for (int k = 0; k <= 200; ++k) {
      const double t = k / 200.0, u = 1 - t;
      const TRealPoint c{u * u * u * P0.X + 3 * u * u * t * P1.X + 3 * u * t * t * P2.X + t * t * t * P3.X,
                         u * u * u * P0.Y + 3 * u * u * t * P1.Y + 3 * u * t * t * P2.Y + t * t * t * P3.Y};
      double best = 1e300;
      for (const TRealPoint& p : poly) best = std::min(best, std::hypot(p.X - c.X, p.Y - c.Y));
      worst = std::max(worst, best);
    }
    return worst;
  };
  std::vector<TTrueTypePoint> q;
  // A quarter circle of radius 500.
  const double k = 0.5522847498 * 500;
  EXPECT_LE(deviation({500, 0}, {500, k}, {k, 500}, {0, 500}, q), 5.0);
  EXPECT_GT(q.size(), 2u);
  EXPECT_TRUE(q.back().OnCurve && q.back().X == 0 && q.back().Y == 500);
  // A straight cubic with its controls at the thirds: pieces of at most 20
  // units, each with its control point at the piece's start.
  deviation({0, 0}, {100, 0}, {200, 0}, {300, 0}, q);
  double start = 0;
  for (size_t i = 0; i + 1 < q.size(); i += 2) {
    EXPECT_EQ(q[i].X, start);
    EXPECT_LE(q[i + 1].X - start, 20.0);
    start = q[i + 1].X;
  }
  EXPECT_EQ(start, 300);
  // A retracted handle still converts within the tolerance, in few pieces.
  EXPECT_LE(deviation({0, 0}, {0, 0}, {400, 300}, {600, 0}, q), 5.0);
  EXPECT_LT(q.size(), 40u);
}
