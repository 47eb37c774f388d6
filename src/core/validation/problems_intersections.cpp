// Intersecting coordinates: contours that cross themselves or each other, or
// run through the same coordinate twice. Rasterisers fill such outlines
// unpredictably and the direction of a crossing contour has no meaning.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>

#include "validation/extremes.h"
#include "validation/problems.h"

namespace tsy {

namespace {

struct TPiece {
  TRealPoint A, Q, B;
  bool Curve = false;
};

struct TSegment {
  TPiece Piece;
  int Contour = 0;  // position in the list of prepared contours
  int Index = 0;    // position within its contour
  TFloatRect Box;
};

struct TPreparedContour {
  int Group = 0;   // member of a composite; 0 for a simple glyph
  int Number = 0;  // contour index reported to the caller
  std::vector<TSegment> Segments;
};

TRealPoint Mid(TRealPoint A, TRealPoint B) { return {(A.X + B.X) / 2, (A.Y + B.Y) / 2}; }
TRealPoint P(const TTrueTypePoint& T) { return {T.X, T.Y}; }

TFloatRect PieceBox(const TPiece& S) {
  TFloatRect r{std::min(S.A.X, S.B.X), std::min(S.A.Y, S.B.Y), std::max(S.A.X, S.B.X), std::max(S.A.Y, S.B.Y)};
  if (S.Curve) {
    r.XMin = std::min(r.XMin, S.Q.X);
    r.YMin = std::min(r.YMin, S.Q.Y);
    r.XMax = std::max(r.XMax, S.Q.X);
    r.YMax = std::max(r.YMax, S.Q.Y);
  }
  return r;
}

constexpr double kBoxSlack = 1e-9;

bool BoxesMeet(const TFloatRect& A, const TFloatRect& B) {
  return A.XMin <= B.XMax + kBoxSlack && B.XMin <= A.XMax + kBoxSlack && A.YMin <= B.YMax + kBoxSlack &&
         B.YMin <= A.YMax + kBoxSlack;
}

// The segments of one contour: lines and quadratic curves, every curve with
// on-curve ends (implied midpoints made explicit).
std::vector<TPiece> ContourPieces(const TContour& Contour) {
  const size_t n = Contour.Count();
  std::vector<TPiece> pieces;
  if (n < 2) return pieces;
  std::vector<TTrueTypePoint> ring;
  ring.reserve(n * 2);
  for (size_t i = 0; i < n; ++i) {
    const TTrueTypePoint& a = Contour.Points[i];
    const TTrueTypePoint& b = Contour.Points[(i + 1) % n];
    ring.push_back(a);
    if (!a.OnCurve && !b.OnCurve) ring.push_back({(a.X + b.X) / 2, (a.Y + b.Y) / 2, true});
  }
  size_t start = 0;
  while (!ring[start].OnCurve) ++start;  // the ring always has an on-curve point now
  const size_t m = ring.size();
  for (size_t k = 0; k < m;) {
    const TTrueTypePoint& a = ring[(start + k) % m];
    const TTrueTypePoint& b = ring[(start + k + 1) % m];
    if (b.OnCurve) {
      pieces.push_back({P(a), {}, P(b), false});
      k += 1;
    } else {
      pieces.push_back({P(a), P(b), P(ring[(start + k + 2) % m]), true});
      k += 2;
    }
  }
  return pieces;
}

double ChordDistance(const TPiece& S) {
  const double dx = S.B.X - S.A.X, dy = S.B.Y - S.A.Y, len = std::hypot(dx, dy);
  if (len == 0) return std::hypot(S.Q.X - S.A.X, S.Q.Y - S.A.Y);
  return std::fabs(dx * (S.A.Y - S.Q.Y) - (S.A.X - S.Q.X) * dy) / len;
}

bool IsFlat(const TPiece& S) { return !S.Curve || ChordDistance(S) <= 1e-6; }

void Halve(const TPiece& S, TPiece& First, TPiece& Second) {
  if (!S.Curve) {
    const TRealPoint m = Mid(S.A, S.B);
    First = {S.A, {}, m, false};
    Second = {m, {}, S.B, false};
    return;
  }
  const TRealPoint q1 = Mid(S.A, S.Q), q2 = Mid(S.Q, S.B), m = Mid(q1, q2);
  First = {S.A, q1, m, true};
  Second = {m, q2, S.B, true};
}

bool Within(TRealPoint X, const TPiece& S) {
  constexpr double slack = 1e-6;
  return X.X >= std::min(S.A.X, S.B.X) - slack && X.X <= std::max(S.A.X, S.B.X) + slack &&
         X.Y >= std::min(S.A.Y, S.B.Y) - slack && X.Y <= std::max(S.A.Y, S.B.Y) + slack;
}

bool Near(TRealPoint A, TRealPoint B) { return std::fabs(A.X - B.X) <= 1e-4 && std::fabs(A.Y - B.Y) <= 1e-4; }

// Where two segments meet, apart from the end points they share as
// neighbours on one contour.
class TPairIntersector {
public:
  std::vector<TRealPoint> Excluded;
  std::vector<TRealPoint> Found;

  void Run(const TPiece& A, const TPiece& B) {
    FBudget = 4000;
    Recurse(A, B, 0);
  }

private:
  bool IsExcluded(TRealPoint X) const {
    for (const TRealPoint& e : Excluded)
      if (Near(X, e)) return true;
    return false;
  }
  bool TouchesExcluded(const TPiece& S) const {
    for (const TRealPoint& e : Excluded)
      if (Near(S.A, e) || Near(S.B, e)) return true;
    return false;
  }
  void Report(TRealPoint X) {
    if (!IsExcluded(X)) Found.push_back(X);
  }

  void Recurse(const TPiece& A, const TPiece& B, int Depth) {
    // Curves that run along each other meet everywhere; the budget stops the
    // search once plenty of their meeting points are known.
    if (--FBudget < 0) return;
    if (!BoxesMeet(PieceBox(A), PieceBox(B))) return;
    const bool flatA = IsFlat(A), flatB = IsFlat(B);
    if (flatA && flatB) {
      // Two straight pieces from a point that neighbours share meet only there.
      if (!Excluded.empty() && TouchesExcluded(A) && TouchesExcluded(B)) {
        for (const TRealPoint& e : Excluded)
          if ((Near(A.A, e) || Near(A.B, e)) && (Near(B.A, e) || Near(B.B, e))) return;
      }
      const std::optional<TRealPoint> x = LineIntersection(A.A, A.B, B.A, B.B);
      if (x && Within(*x, A) && Within(*x, B)) Report(*x);
      return;
    }
    if (A.Curve && B.Curve && A.Q == B.Q &&
        ((A.A == B.A && A.B == B.B) || (A.A == B.B && A.B == B.A))) {
      Report(QuadraticPoint(A.A, A.Q, A.B, 0.5));
      return;
    }
    if (Depth > 48) return;
    auto split = [](const TPiece& S, bool Flat, TPiece* Out) -> int {
      const double len = std::hypot(S.B.X - S.A.X, S.B.Y - S.A.Y);
      if (Flat && len < 1e-3) {
        Out[0] = {S.A, {}, S.B, false};
        return 1;
      }
      Halve(Flat ? TPiece{S.A, {}, S.B, false} : S, Out[0], Out[1]);
      return 2;
    };
    TPiece ha[2], hb[2];
    const int na = split(A, flatA, ha), nb = split(B, flatB, hb);
    for (int i = 0; i < na; ++i)
      for (int j = 0; j < nb; ++j) Recurse(ha[i], hb[j], Depth + 1);
  }

  int FBudget = 0;
};

TPreparedContour Prepare(const TContour& Contour, int Group, int Number, int ListIndex) {
  TPreparedContour c;
  c.Group = Group;
  c.Number = Number;
  const std::vector<TPiece> pieces = ContourPieces(Contour);
  for (size_t i = 0; i < pieces.size(); ++i) c.Segments.push_back({pieces[i], ListIndex, int(i), PieceBox(pieces[i])});
  return c;
}

// Every meeting of two segments: within one contour (when SameContour), or of
// different contours (of different groups when SameGroup is false).
void FindCrossings(const std::vector<TPreparedContour>& Contours, bool SameContour, bool SameGroup,
                   const std::function<void(const TPreparedContour&, const TPreparedContour&, TRealPoint)>& OnFound) {
  std::vector<const TSegment*> all;
  for (const TPreparedContour& c : Contours)
    for (const TSegment& s : c.Segments) all.push_back(&s);
  std::sort(all.begin(), all.end(), [](const TSegment* a, const TSegment* b) {
    if (a->Box.XMin != b->Box.XMin) return a->Box.XMin < b->Box.XMin;
    if (a->Contour != b->Contour) return a->Contour < b->Contour;
    return a->Index < b->Index;
  });
  TPairIntersector x;
  for (size_t i = 0; i < all.size(); ++i) {
    for (size_t j = i + 1; j < all.size() && all[j]->Box.XMin <= all[i]->Box.XMax + kBoxSlack; ++j) {
      const TSegment* a = all[i];
      const TSegment* b = all[j];
      if (!BoxesMeet(a->Box, b->Box)) continue;
      if (a->Contour > b->Contour || (a->Contour == b->Contour && a->Index > b->Index)) std::swap(a, b);
      const TPreparedContour& ca = Contours[size_t(a->Contour)];
      const TPreparedContour& cb = Contours[size_t(b->Contour)];
      x.Excluded.clear();
      if (a->Contour == b->Contour) {
        if (!SameContour) continue;
        const int count = int(ca.Segments.size());
        if (b->Index == a->Index + 1) x.Excluded.push_back(a->Piece.B);
        if (a->Index == 0 && b->Index == count - 1) x.Excluded.push_back(a->Piece.A);
      } else if (!SameGroup && ca.Group == cb.Group) {
        continue;
      }
      x.Found.clear();
      x.Run(a->Piece, b->Piece);
      for (const TRealPoint& p : x.Found) OnFound(ca, cb, p);
    }
  }
}

// The working copy the crossing tests run on: normalised, without exactly
// redundant points, every contour starting on an on-curve point.
void PrepareCopy(TOutlineContours& Contours) {
  NormalizeAll(Contours);
  TPointSelection redundant;
  FindRedundantPoints(Contours, redundant, false, 0, 0, false);
  DeleteSelectedPoints(Contours, redundant);
  StartAllOnCurve(Contours);
}

}  // namespace

bool FindIntersections(const TOutlineBase& Outline, TContourSelection& Self, TContourSelection& Pairs,
                       TStringLines* Lines, TCoordinateList* Coordinates) {
  if (Outline.GetKind() != okSimple) return false;
  const TOutlineContours& original = static_cast<const TOutlineSimple&>(Outline).Contours;
  bool found = false;
  // 1. A contour that passes twice through one coordinate.
  for (size_t c = 0; c < original.size(); ++c) {
    const std::vector<TTrueTypePoint>& pts = original[c].Points;
    const size_t n = pts.size();
    if (n <= 3) continue;
    std::map<std::pair<int32_t, int32_t>, std::vector<size_t>> at;
    for (size_t i = 0; i < n; ++i) at[{RoundHalfUp(pts[i].X), RoundHalfUp(pts[i].Y)}].push_back(i);
    for (const auto& [pos, indexes] : at) {
      bool reused = false;
      for (size_t a = 0; a < indexes.size() && !reused; ++a)
        for (size_t b = a + 1; b < indexes.size() && !reused; ++b) {
          const size_t i = indexes[a], j = indexes[b];  // i < j
          reused = !(j == i + 1 || (i == 0 && j == n - 1));
        }
      if (reused) {
        if (Coordinates) Coordinates->Add(pos.first, pos.second);
        Self.Add(int32_t(c));
        found = true;
      }
    }
  }
  // 2.-3. The prepared copy; identical contours are reported in pairs and the
  // later one takes no further part.
  TOutlineContours copy = original;
  PrepareCopy(copy);
  std::vector<TPreparedContour> prepared;
  for (size_t c = 0; c < copy.size(); ++c) {
    bool identical = false;
    for (size_t e = 0; e < c && !identical; ++e)
      if (copy[c].IsEqual(copy[e])) {
        identical = true;
        Pairs.Add(int32_t(e));
        Pairs.Add(int32_t(c));
        if (Lines) {
          char line[64];
          std::snprintf(line, sizeof line, "Identical contours %d and %d", int(e), int(c));
          Lines->push_back(line);
        }
      }
    if (!identical) prepared.push_back(Prepare(copy[c], 0, int(c), int(prepared.size())));
  }
  // 4. Crossings within one contour and between two.
  FindCrossings(prepared, true, true, [&](const TPreparedContour& a, const TPreparedContour& b, TRealPoint p) {
    if (a.Number == b.Number) {
      Self.Add(a.Number);
    } else {
      Pairs.Add(a.Number);
      Pairs.Add(b.Number);
    }
    if (Coordinates) Coordinates->Add(p.X, p.Y);
    found = true;
  });
  return found;
}

bool FindIntersectingComponents(const TOutlineBase& Outline, TGlyphSelection& Selection,
                                TCoordinateList* Coordinates, TStringLines*) {
  if (Outline.GetKind() != okComposite) return false;
  const auto& composite = static_cast<const TOutlineComposite&>(Outline);
  TGlyphSelection duplicates;
  FindDuplicateComponents(composite, duplicates);
  std::vector<TPreparedContour> prepared;
  for (size_t m = 0; m < composite.Members.size(); ++m) {
    if (duplicates.Contains(int32_t(m))) continue;
    TOutlineContours member;
    composite.AddMemberContours(member, m, TOutlineTransform{});
    PrepareCopy(member);
    for (size_t c = 0; c < member.size(); ++c)
      prepared.push_back(Prepare(member[c], int(m), int(c), int(prepared.size())));
  }
  bool found = false;
  FindCrossings(prepared, false, false, [&](const TPreparedContour& a, const TPreparedContour& b, TRealPoint p) {
    Selection.Add(a.Group);
    Selection.Add(b.Group);
    if (Coordinates) Coordinates->Add(p.X, p.Y);
    found = true;
  });
  return found;
}

}  // namespace tsy
