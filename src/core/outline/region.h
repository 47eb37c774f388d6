#pragma once
// A set of device pixels: the region of a polygon and the set operations the
// hit tests need. A pixel belongs to a polygon's region when its centre lies
// inside under the chosen fill rule. Exact and deterministic, no display
// needed.
#include <cstdint>
#include <utility>
#include <vector>

#include "common/numeric.h"

namespace tsy {

enum class TFillRule { Alternate, Winding };

class TRegion {
public:
  TRegion() = default;
  static TRegion FromPolygon(const std::vector<TIntPoint>& Polygon, TFillRule Rule = TFillRule::Alternate);
  static TRegion FromPolygons(const std::vector<TIntPoint>& Points, const std::vector<int>& Counts, TFillRule Rule);

  bool IsEmpty() const { return FRows.empty(); }
  bool Contains(int32_t X, int32_t Y) const;
  int64_t PixelCount() const;
  TIntRect Bounds() const;  // Right and Bottom exclusive; all 0 when empty

  TRegion Union(const TRegion& Other) const;
  TRegion Intersection(const TRegion& Other) const;
  TRegion Difference(const TRegion& Other) const;  // this minus Other
  bool operator==(const TRegion& Other) const = default;

private:
  // Half-open [first, second) spans of one row, sorted, disjoint, not touching.
  using TSpans = std::vector<std::pair<int32_t, int32_t>>;
  struct TRow {
    int32_t Y;
    TSpans Spans;
    bool operator==(const TRow&) const = default;
  };
  enum class TOp { Union, Intersection, Difference };
  static TSpans Combine(const TSpans& A, const TSpans& B, TOp Op);
  TRegion Combine(const TRegion& Other, TOp Op) const;

  std::vector<TRow> FRows;  // ascending Y, no empty rows
};

// Is region Q inside region P: false when they are equal or either is empty.
bool RegionInside(const TRegion& P, const TRegion& Q);

}  // namespace tsy
