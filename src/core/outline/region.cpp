#include "outline/region.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace tsy {

namespace {

struct TCrossing {
  double X;
  int Dir;  // +1 edge going down the device, -1 going up
  bool operator<(const TCrossing& O) const { return X < O.X; }
};

// First pixel whose centre x + 0.5 lies at or after X.
int32_t FirstPixelAtOrAfter(double X) { return int32_t(std::ceil(X - 0.5)); }

}  // namespace

TRegion TRegion::FromPolygon(const std::vector<TIntPoint>& Polygon, TFillRule Rule) {
  return FromPolygons(Polygon, {int(Polygon.size())}, Rule);
}

TRegion TRegion::FromPolygons(const std::vector<TIntPoint>& Points, const std::vector<int>& Counts, TFillRule Rule) {
  std::map<int32_t, std::vector<TCrossing>> rows;
  size_t start = 0;
  for (int count : Counts) {
    if (count < 3 || start + size_t(count) > Points.size()) {
      start += size_t(std::max(count, 0));
      continue;
    }
    for (int i = 0; i < count; ++i) {
      const TIntPoint a = Points[start + size_t(i)];
      const TIntPoint b = Points[start + size_t((i + 1) % count)];
      if (a.Y == b.Y) continue;
      const int dir = b.Y > a.Y ? 1 : -1;
      const double y0 = std::min(a.Y, b.Y), y1 = std::max(a.Y, b.Y);
      // Rows whose centre y + 0.5 lies in [y0, y1).
      const int32_t first = int32_t(std::ceil(y0 - 0.5)), last = int32_t(std::ceil(y1 - 0.5)) - 1;
      const double slope = double(b.X - a.X) / double(b.Y - a.Y);
      for (int32_t y = first; y <= last; ++y) rows[y].push_back({a.X + (y + 0.5 - a.Y) * slope, dir});
    }
    start += size_t(count);
  }
  TRegion r;
  for (auto& [y, crossings] : rows) {
    std::sort(crossings.begin(), crossings.end());
    TSpans spans;
    int winding = 0;
    for (size_t i = 0; i < crossings.size(); ++i) {
      const bool insideBefore = Rule == TFillRule::Alternate ? (i % 2 == 1) : winding != 0;
      winding += crossings[i].Dir;
      const bool insideAfter = Rule == TFillRule::Alternate ? (i % 2 == 0) : winding != 0;
      if (!insideBefore && insideAfter) {
        spans.push_back({FirstPixelAtOrAfter(crossings[i].X), 0});
      } else if (insideBefore && !insideAfter) {
        spans.back().second = FirstPixelAtOrAfter(crossings[i].X);
        if (spans.back().second <= spans.back().first) spans.pop_back();
      }
    }
    // Normalise: merge touching spans.
    TSpans merged;
    for (const auto& s : spans) {
      if (!merged.empty() && s.first <= merged.back().second)
        merged.back().second = std::max(merged.back().second, s.second);
      else
        merged.push_back(s);
    }
    if (!merged.empty()) r.FRows.push_back({y, std::move(merged)});
  }
  return r;
}

bool TRegion::Contains(int32_t X, int32_t Y) const {
  auto row = std::lower_bound(FRows.begin(), FRows.end(), Y, [](const TRow& r, int32_t y) { return r.Y < y; });
  if (row == FRows.end() || row->Y != Y) return false;
  auto span = std::upper_bound(row->Spans.begin(), row->Spans.end(), X,
                               [](int32_t x, const std::pair<int32_t, int32_t>& s) { return x < s.first; });
  return span != row->Spans.begin() && X < std::prev(span)->second;
}

int64_t TRegion::PixelCount() const {
  int64_t n = 0;
  for (const TRow& r : FRows)
    for (const auto& s : r.Spans) n += s.second - s.first;
  return n;
}

TIntRect TRegion::Bounds() const {
  if (FRows.empty()) return {};
  TIntRect b{INT32_MAX, FRows.front().Y, INT32_MIN, FRows.back().Y + 1};
  for (const TRow& r : FRows) {
    b.Left = std::min(b.Left, r.Spans.front().first);
    b.Right = std::max(b.Right, r.Spans.back().second);
  }
  return b;
}

TRegion::TSpans TRegion::Combine(const TSpans& A, const TSpans& B, TOp Op) {
  // Sweep over all span edges; inside-ness of each operand toggles at its edges.
  std::vector<std::pair<int32_t, int>> edges;  // x, operand bit
  for (const auto& s : A) edges.push_back({s.first, 1}), edges.push_back({s.second, 1});
  for (const auto& s : B) edges.push_back({s.first, 2}), edges.push_back({s.second, 2});
  std::sort(edges.begin(), edges.end());
  TSpans out;
  int state = 0;
  auto inside = [Op](int st) {
    switch (Op) {
      case TOp::Union: return st != 0;
      case TOp::Intersection: return st == 3;
      case TOp::Difference: return st == 1;
    }
    return false;
  };
  size_t i = 0;
  while (i < edges.size()) {
    const int32_t x = edges[i].first;
    const bool before = inside(state);
    while (i < edges.size() && edges[i].first == x) state ^= edges[i++].second;
    const bool after = inside(state);
    if (!before && after) {
      if (!out.empty() && out.back().second == x)
        out.back().second = INT32_MIN;  // reopen a touching span
      else
        out.push_back({x, INT32_MIN});
    } else if (before && !after) {
      out.back().second = x;
    }
  }
  return out;
}

TRegion TRegion::Combine(const TRegion& Other, TOp Op) const {
  TRegion r;
  static const TSpans none;
  size_t i = 0, j = 0;
  while (i < FRows.size() || j < Other.FRows.size()) {
    int32_t y;
    const TSpans* a = &none;
    const TSpans* b = &none;
    if (j >= Other.FRows.size() || (i < FRows.size() && FRows[i].Y < Other.FRows[j].Y)) {
      y = FRows[i].Y;
      a = &FRows[i++].Spans;
    } else if (i >= FRows.size() || Other.FRows[j].Y < FRows[i].Y) {
      y = Other.FRows[j].Y;
      b = &Other.FRows[j++].Spans;
    } else {
      y = FRows[i].Y;
      a = &FRows[i++].Spans;
      b = &Other.FRows[j++].Spans;
    }
    TSpans spans = Combine(*a, *b, Op);
    if (!spans.empty()) r.FRows.push_back({y, std::move(spans)});
  }
  return r;
}

TRegion TRegion::Union(const TRegion& Other) const { return Combine(Other, TOp::Union); }
TRegion TRegion::Intersection(const TRegion& Other) const { return Combine(Other, TOp::Intersection); }
TRegion TRegion::Difference(const TRegion& Other) const { return Combine(Other, TOp::Difference); }

bool RegionInside(const TRegion& P, const TRegion& Q) {
  if (P.IsEmpty() || Q.IsEmpty() || P == Q) return false;
  const TRegion u = P.Union(Q);
  if (u == P) return true;
  if (u == Q) return false;
  if (Q.Difference(P).IsEmpty()) return true;
  if (P.Difference(Q).IsEmpty() || P.Intersection(Q).IsEmpty()) return false;
  return P.Intersection(Q) == Q;
}

}  // namespace tsy
