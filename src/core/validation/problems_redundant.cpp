// Redundant points: points that lie on the straight run their neighbours
// span, or coincide with a neighbour, and can go without changing the
// drawn outline (or, with the diagonal switches, changing it by at most the
// given distance).
#include <algorithm>
#include <cmath>

#include "validation/problems.h"

namespace tsy {

namespace {

struct TWorkPoint {
  double X, Y;
  bool OnCurve;
};

bool SamePosition(const TWorkPoint& A, const TWorkPoint& B) { return A.X == B.X && A.Y == B.Y; }

// Perpendicular distance from M to the infinite line through S and E (the
// distance to S when they coincide).
double LineDistance(const TWorkPoint& S, const TWorkPoint& M, const TWorkPoint& E) {
  const double dx = E.X - S.X, dy = E.Y - S.Y;
  const double len = std::hypot(dx, dy);
  if (len == 0) return std::hypot(M.X - S.X, M.Y - S.Y);
  return std::fabs(dx * (S.Y - M.Y) - (S.X - M.X) * dy) / len;
}

struct TRedundancyParams {
  bool DiagonalOnCurve;
  double MaxOffCurve;
  double MaxOnCurve;
  bool DiagonalOffCurve;
};

class TContourSearch {
public:
  TContourSearch(const TContour& Contour, const TRedundancyParams& P) : FContour(Contour), FParams(P) {
    FSelected.assign(Contour.Count(), false);
  }

  // Runs the passes until one finds nothing more; returns the contour
  // positions found, in the order found.
  std::vector<int> Run() {
    for (;;) {
      bool any = false;
      Collect();
      if (FPos.size() > 3) any |= DistancePass();
      Collect();
      any |= ExactPass();
      if (!any) break;
    }
    return FFound;
  }

private:
  // The working copy: the points not yet selected, rounded.
  void Collect() {
    FPos.clear();
    FWork.clear();
    for (size_t i = 0; i < FContour.Count(); ++i)
      if (!FSelected[i]) {
        const TTrueTypePoint& p = FContour.Points[i];
        FPos.push_back(int(i));
        FWork.push_back({double(RoundHalfUp(p.X)), double(RoundHalfUp(p.Y)), p.OnCurve});
      }
  }

  void Select(size_t CopyPosition) {
    const int p = FPos[CopyPosition];
    if (FSelected[size_t(p)]) return;
    FSelected[size_t(p)] = true;
    FFound.push_back(p);
  }

  bool OnSegment(const TWorkPoint& S, const TWorkPoint& M, const TWorkPoint& E) const {
    if (S.X == M.X && M.X == E.X) return true;
    if (S.Y == M.Y && M.Y == E.Y) return true;
    if (M.OnCurve) return FParams.DiagonalOnCurve && LineDistance(S, M, E) <= FParams.MaxOnCurve;
    return FParams.DiagonalOffCurve && LineDistance(S, M, E) <= FParams.MaxOffCurve;
  }

  // Straight runs between on-curve points, off-curve points standing in by
  // the middle of their curve.
  bool DistancePass() {
    const size_t n = FWork.size();
    std::vector<TWorkPoint> w(n);
    for (size_t k = 0; k < n; ++k) {
      const TWorkPoint& q = FWork[k];
      if (q.OnCurve) {
        w[k] = q;
        continue;
      }
      const TWorkPoint& prev = FWork[(k + n - 1) % n];
      const TWorkPoint& next = FWork[(k + 1) % n];
      const TWorkPoint a = prev.OnCurve ? prev : TWorkPoint{(prev.X + q.X) / 2, (prev.Y + q.Y) / 2, true};
      const TWorkPoint b = next.OnCurve ? next : TWorkPoint{(next.X + q.X) / 2, (next.Y + q.Y) / 2, true};
      w[k] = {0.25 * a.X + 0.5 * q.X + 0.25 * b.X, 0.25 * a.Y + 0.5 * q.Y + 0.25 * b.Y, false};
    }
    // Span lengths (points between start and end) found from each start,
    // shortest first.
    std::vector<std::vector<size_t>> spans(n);
    for (size_t i = 0; i < n; ++i) {
      if (!w[i].OnCurve) continue;
      size_t limit = std::min<size_t>(5, n - 2);
      for (size_t j = 0; j <= limit && j < n; ++j) {
        const size_t e = (i + j + 2) % n;
        if (e == i || !w[e].OnCurve) continue;
        bool all = true;
        for (size_t t = 1; t <= j + 1 && all; ++t) all = OnSegment(w[i], w[(i + t) % n], w[e]);
        if (all) {
          spans[i].push_back(j + 1);
          limit = std::min(j + 6, n - 2);
        }
      }
    }
    size_t b = n;
    size_t longest = 0;
    for (size_t i = 0; i < n; ++i)
      if (!spans[i].empty() && spans[i].back() > longest) {
        longest = spans[i].back();
        b = i;
      }
    if (b == n) return false;
    // Walk once around from b. Every position the walk stops at stays, and a
    // span is used only when it ends at or before b again, so the end of each
    // run is a point that is kept.
    auto usable = [&](size_t d) {
      std::vector<size_t> u;
      for (size_t s : spans[d % n])
        if (d + s + 1 <= b + n) u.push_back(s);
      return u;
    };
    bool any = false;
    size_t d = b;
    while (d - b < n) {
      const std::vector<size_t> u = usable(d);
      if (u.empty()) {
        ++d;
        continue;
      }
      size_t cover = u.back(), best = u.back(), keep = SIZE_MAX;
      // A shorter run to a point that starts a long run of its own may take
      // away more points than the longest run alone.
      for (size_t k = 0; k + 1 < u.size(); ++k) {
        const size_t s = u[k], p = d + s + 1;
        const std::vector<size_t> up = usable(p);
        if (!up.empty() && s + up.back() > best + 1) {
          best = s + up.back();
          cover = s + 1 + up.back();
          keep = p;
        }
      }
      for (size_t q = d + 1; q <= d + cover; ++q)
        if (q != keep) {
          Select(q % n);
          any = true;
        }
      d += cover + 1;
    }
    return any;
  }

  // Points on exact horizontal or vertical runs and coinciding points.
  bool ExactPass() {
    const size_t n = FWork.size();
    if (n < 2) return false;
    std::vector<size_t> prev(n), next(n);
    for (size_t k = 0; k < n; ++k) {
      prev[k] = (k + n - 1) % n;
      next[k] = (k + 1) % n;
    }
    std::vector<bool> dead(n, false);
    size_t alive = n;
    bool any = false;
    auto kill = [&](size_t k) {
      dead[k] = true;
      next[prev[k]] = next[k];
      prev[next[k]] = prev[k];
      --alive;
      Select(k);
      any = true;
    };
    // Five-point window: a run of three points on one vertical (horizontal)
    // line whose middle one is an off-curve point that the curve does not need.
    if (n > 4) {
      for (size_t step = 0; step < n && alive > 4; ++step) {
        const size_t k = (n - 2 + step) % n;
        if (dead[k]) continue;
        const size_t p2 = prev[k], p1 = prev[p2], p4 = next[k], p5 = next[p4];
        if (FiveRedundant(FWork[p1], FWork[p2], FWork[k], FWork[p4], FWork[p5])) kill(k);
      }
    }
    // Three-point window.
    if (alive > 2) {
      for (size_t k = 0; k < n && alive > 2; ++k) {
        if (dead[k]) continue;
        if (ThreeRedundant(FWork[prev[k]], FWork[k], FWork[next[k]])) kill(k);
      }
    }
    if (alive == 2) {
      size_t first = 0;
      while (dead[first]) ++first;
      if (SamePosition(FWork[first], FWork[next[first]])) kill(first);
    }
    return any;
  }

  static bool FiveRedundant(const TWorkPoint& P1, const TWorkPoint& P2, const TWorkPoint& P3, const TWorkPoint& P4,
                            const TWorkPoint& P5) {
    auto check = [&](double a1, double a2, double a3, double a4, double a5) {
      if (!(a2 == a3 && a3 == a4)) return false;
      const bool s1 = a1 == a3, s5 = a5 == a3;
      if (s1 && s5 && !P2.OnCurve && !P3.OnCurve && !P4.OnCurve) return true;
      if (s1 && !s5 && !P2.OnCurve && !P3.OnCurve && P4.OnCurve) return true;
      if (s5 && !s1 && P2.OnCurve && !P3.OnCurve && !P4.OnCurve) return true;
      return false;
    };
    return check(P1.X, P2.X, P3.X, P4.X, P5.X) || check(P1.Y, P2.Y, P3.Y, P4.Y, P5.Y);
  }

  static bool ThreeRedundant(const TWorkPoint& A, const TWorkPoint& B, const TWorkPoint& C) {
    if (A.OnCurve && C.OnCurve) {
      if (A.X == B.X && B.X == C.X) return true;
      if (A.Y == B.Y && B.Y == C.Y) return true;
      if (SamePosition(A, C) || SamePosition(B, A) || SamePosition(B, C)) return true;
    }
    if (A.OnCurve && B.OnCurve && SamePosition(A, B)) return true;
    return SamePosition(A, B) && SamePosition(B, C);
  }

  const TContour& FContour;
  TRedundancyParams FParams;
  std::vector<bool> FSelected;
  std::vector<int> FFound;
  std::vector<int> FPos;
  std::vector<TWorkPoint> FWork;
};

}  // namespace

bool FindRedundantPoints(const TOutlineContours& Contours, TPointSelection& Selection, bool DiagonalOnCurve,
                         double MaxOffCurveDistance, double MaxOnCurveDistance, bool DiagonalOffCurve) {
  const TRedundancyParams params{DiagonalOnCurve, MaxOffCurveDistance, MaxOnCurveDistance, DiagonalOffCurve};
  bool found = false;
  for (size_t c = 0; c < Contours.size(); ++c) {
    TContourSearch search(Contours[c], params);
    for (int p : search.Run()) {
      Selection.Add(int32_t(c), p);
      found = true;
    }
  }
  Selection.Sort();
  return found;
}

bool FindRedundantPoints(const TOutlineBase& Outline, TPointSelection& Selection, bool DiagonalOnCurve,
                         double MaxOffCurveDistance, double MaxOnCurveDistance, bool DiagonalOffCurve) {
  if (Outline.GetKind() != okSimple) return false;
  return FindRedundantPoints(static_cast<const TOutlineSimple&>(Outline).Contours, Selection, DiagonalOnCurve,
                             MaxOffCurveDistance, MaxOnCurveDistance, DiagonalOffCurve);
}

bool DeleteSelectedPoints(TOutlineContours& Contours, TPointSelection Selection) {
  // Selections keep the order of adding; deleting from the highest index
  // down keeps the lower indexes valid.
  Selection.Sort();
  bool any = false;
  for (int k = Selection.Count(); k-- > 0;) {
    const TPointSelectionItem& item = Selection.Items(k);
    if (item.Contour < 0 || size_t(item.Contour) >= Contours.size()) continue;
    TContour& c = Contours[size_t(item.Contour)];
    if (item.Point < 0 || size_t(item.Point) >= c.Count() || c.Count() <= 1) continue;
    c.DeletePoint(size_t(item.Point));
    any = true;
  }
  return any;
}

}  // namespace tsy
