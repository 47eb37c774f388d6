#include "outline/cleanup.h"

#include <algorithm>

#include "outline/polypolygon.h"
#include "validation/extremes.h"
#include "validation/problems.h"

namespace tsy {

namespace {

TOutlineSimple* SimpleAt(TFontOutlines& L, int Index) {
  TOutlineBase* o = L.Items(size_t(Index));
  return o->GetKind() == okSimple ? static_cast<TOutlineSimple*>(o) : nullptr;
}
TOutlineComposite* CompositeAt(TFontOutlines& L, int Index) {
  TOutlineBase* o = L.Items(size_t(Index));
  return o->GetKind() == okComposite ? static_cast<TOutlineComposite*>(o) : nullptr;
}

// Deletes the listed entries of a vector, highest index first, whatever
// order the selection was built in.
template <class T>
bool DeleteIndexes(std::vector<T>& Items, std::vector<int32_t> Indexes) {
  std::sort(Indexes.begin(), Indexes.end());
  Indexes.erase(std::unique(Indexes.begin(), Indexes.end()), Indexes.end());
  bool any = false;
  for (size_t k = Indexes.size(); k-- > 0;) {
    const int32_t i = Indexes[k];
    if (i < 0 || size_t(i) >= Items.size()) continue;
    Items.erase(Items.begin() + i);
    any = true;
  }
  return any;
}

template <class TSelection>
std::vector<int32_t> Entries(const TSelection& S) {
  std::vector<int32_t> r;
  for (int i = 0; i < S.Count(); ++i) r.push_back(S.Items(i));
  return r;
}

TRealPoint RoundedPoint(const TTrueTypePoint& P) { return {double(RoundHalfUp(P.X)), double(RoundHalfUp(P.Y))}; }
TRealPoint Mid(TRealPoint A, TRealPoint B) { return {(A.X + B.X) / 2, (A.Y + B.Y) / 2}; }

// Where the line through A and B meets the tangent at X: the vertical line
// through X when Vertical, else the horizontal one.
TRealPoint MeetTangent(TRealPoint A, TRealPoint B, TRealPoint X, bool Vertical) {
  if (Vertical) {
    if (A.X == B.X) return {B.X, X.Y};
    return {X.X, A.Y + (X.X - A.X) * (B.Y - A.Y) / (B.X - A.X)};
  }
  if (A.X == B.X) return {B.X, X.Y};  // a vertical line: its x
  if (A.Y == B.Y) return {B.X, X.Y};
  return {A.X + (X.Y - A.Y) * (B.X - A.X) / (B.Y - A.Y), X.Y};
}

class TExtremeSplitter {
public:
  std::vector<TTrueTypePoint> Out;
  bool Extreme = false;

  void Append(TRealPoint P, bool OnCurve) {
    const TTrueTypePoint q{double(RoundHalfUp(P.X)), double(RoundHalfUp(P.Y)), OnCurve};
    if (OnCurve && !Out.empty() && Out.back().OnCurve && Out.back().X == q.X && Out.back().Y == q.Y) return;
    Out.push_back(q);
  }

  // The segment P0-Q-P2 with its counting extremes as on-curve points.
  void Split(TRealPoint P0, TRealPoint Q, TRealPoint P2, const TSegmentExtremes& E) {
    Extreme = true;
    const TRealPoint b1 = QuadraticPoint(P0, Q, P2, E.T[0]);
    Append(P0, true);
    if (E.Count == 1) {
      Append(MeetTangent(P0, Q, b1, E.Vertical[0]), false);
      Append(b1, true);
      Append(MeetTangent(Q, P2, b1, E.Vertical[0]), false);
    } else {
      const TRealPoint b2 = QuadraticPoint(P0, Q, P2, E.T[1]);
      // The two tangents cross where the vertical one's x meets the
      // horizontal one's y.
      const TRealPoint m = E.Vertical[0] ? TRealPoint{b1.X, b2.Y} : TRealPoint{b2.X, b1.Y};
      Append(MeetTangent(P0, Q, b1, E.Vertical[0]), false);
      Append(b1, true);
      Append(m, false);
      Append(b2, true);
      Append(MeetTangent(Q, P2, b2, E.Vertical[1]), false);
    }
    Append(P2, true);
  }
};

bool SplitContourAtExtremes(TContour& Contour, const TFloatRect* Bounds) {
  for (TTrueTypePoint& p : Contour.Points) {
    p.X = RoundHalfUp(p.X);
    p.Y = RoundHalfUp(p.Y);
  }
  const std::vector<TTrueTypePoint>& pts = Contour.Points;
  const size_t n = pts.size();
  if (n < 3) return false;
  TExtremeSplitter s;
  for (size_t i = 0; i < n; ++i) {
    const TTrueTypePoint& cur = pts[i];
    if (cur.OnCurve) {
      s.Append(RoundedPoint(cur), true);
      continue;
    }
    const TTrueTypePoint& prev = pts[(i + n - 1) % n];
    const TTrueTypePoint& next = pts[(i + 1) % n];
    const TRealPoint q = RoundedPoint(cur);
    const TRealPoint p0 = prev.OnCurve ? RoundedPoint(prev) : Mid(RoundedPoint(prev), q);
    const TRealPoint p2 = next.OnCurve ? RoundedPoint(next) : Mid(q, RoundedPoint(next));
    // An extreme at the implied point between two off-curve points is made
    // explicit.
    if (!prev.OnCurve && MidpointExtremeCounts(RoundedPoint(prev), q, Bounds)) {
      s.Append(p0, true);
      s.Extreme = true;
    }
    const TSegmentExtremes e = ExamineSegment(p0, q, p2, Bounds);
    if (e.Count == 0)
      s.Append(q, false);
    else
      s.Split(p0, q, p2, e);
  }
  std::vector<TTrueTypePoint>& out = s.Out;
  // The walk may close the ring on the point it began with.
  if (out.size() >= 2 && out.front().OnCurve && out.back().OnCurve && out.front().X == out.back().X &&
      out.front().Y == out.back().Y)
    out.pop_back();
  const bool changed = s.Extreme || out.size() != n;
  Contour.Points = std::move(out);
  return changed;
}

}  // namespace

bool AddOnCurveExtremes(TFontOutlines& Outlines, int Index, bool Local) {
  TOutlineSimple* s = SimpleAt(Outlines, Index);
  if (!s) return false;
  bool changed = false;
  // A split can pull the glyph's bounds in (a curve's control point no
  // longer sticks out), which can make an extreme elsewhere count; a few
  // rounds settle it.
  for (int round = 0; round < 4; ++round) {
    bool again = false;
    for (TContour& c : s->Contours) {
      const TFloatRect bounds = ExactCurveBounds(s->Contours);
      again |= SplitContourAtExtremes(c, Local ? nullptr : &bounds);
    }
    changed |= again;
    if (!again || Local) break;
  }
  return changed;
}

bool RemoveRedundantPoints(TFontOutlines& Outlines, int Index, bool DiagonalOnCurve, double MaxOffCurveDistance,
                           double MaxOnCurveDistance, bool DiagonalOffCurve) {
  TOutlineSimple* s = SimpleAt(Outlines, Index);
  if (!s) return false;
  TPointSelection selection;
  if (!FindRedundantPoints(*s, selection, DiagonalOnCurve, MaxOffCurveDistance, MaxOnCurveDistance,
                           DiagonalOffCurve))
    return false;
  return DeleteSelectedPoints(s->Contours, selection);
}

bool RemoveDuplicateContours(TFontOutlines& Outlines, int Index) {
  TOutlineSimple* s = SimpleAt(Outlines, Index);
  if (!s) return false;
  TContourSelection selection;
  if (!FindDuplicateContours(*s, selection)) return false;
  return DeleteIndexes(s->Contours, Entries(selection));
}

bool RemoveSmallContours(TFontOutlines& Outlines, int Index) {
  TOutlineSimple* s = SimpleAt(Outlines, Index);
  if (!s) return false;
  TContourSelection selection;
  if (!FindSmallContours(*s, selection)) return false;
  const bool changed = DeleteIndexes(s->Contours, Entries(selection));
  // A simple glyph needs a contour; without one it is an empty glyph.
  if (s->Contours.empty()) Outlines.MakeEmpty(Index);
  return changed;
}

bool RemoveDuplicateComponents(TFontOutlines& Outlines, int Index) {
  TOutlineComposite* c = CompositeAt(Outlines, Index);
  if (!c) return false;
  TGlyphSelection selection;
  if (!FindDuplicateComponents(*c, selection)) return false;
  return DeleteIndexes(c->Members, Entries(selection));
}

bool RemoveEmptyComponents(TFontOutlines& Outlines, int Index) {
  TOutlineComposite* c = CompositeAt(Outlines, Index);
  if (!c) return false;
  TGlyphSelection selection;
  if (!FindEmptyComponents(*c, selection)) return false;
  const bool changed = DeleteIndexes(c->Members, Entries(selection));
  if (c->Members.empty()) Outlines.MakeEmpty(Index);
  return changed;
}

bool CorrectDirections(TFontOutlines& Outlines, int Index) {
  TOutlineSimple* s = SimpleAt(Outlines, Index);
  if (!s) return false;
  TContourSelection wrong, overlap;
  FindWrongDirections(*s, wrong, overlap);
  if (wrong.Count() == 0) return false;
  TContourSelection self, pairs;
  FindIntersections(*s, self, pairs, nullptr, nullptr);
  std::vector<int32_t> reverse;
  for (int32_t c : Entries(wrong))
    if (!self.Contains(c) && !pairs.Contains(c)) reverse.push_back(c);
  std::sort(reverse.begin(), reverse.end(), std::greater<>());
  for (int32_t c : reverse) s->Contours[size_t(c)].Reverse();
  return !reverse.empty();
}

}  // namespace tsy
