// The structural tests (duplicate and empty components, duplicate and small
// contours), duplicate knots and contour directions.
#include <algorithm>
#include <cstdio>

#include "outline/hittest.h"
#include "outline/region.h"
#include "validation/problems.h"

namespace tsy {

namespace {

const TOutlineSimple* AsSimple(const TOutlineBase& O) {
  return O.GetKind() == okSimple ? static_cast<const TOutlineSimple*>(&O) : nullptr;
}
const TOutlineComposite* AsComposite(const TOutlineBase& O) {
  return O.GetKind() == okComposite ? static_cast<const TOutlineComposite*>(&O) : nullptr;
}

bool SamePlacement(const TCompositeMember& A, const TCompositeMember& B) {
  return A.GlyphIndex == B.GlyphIndex && A.ArgsAreXYValues == B.ArgsAreXYValues && A.HasTwoByTwo == B.HasTwoByTwo &&
         A.ScaleX == B.ScaleX && A.ScaleY == B.ScaleY && A.Scale01 == B.Scale01 && A.Scale10 == B.Scale10 &&
         A.OffsetX == B.OffsetX && A.OffsetY == B.OffsetY && A.AnchorParent == B.AnchorParent &&
         A.AnchorChild == B.AnchorChild;
}

struct TRounded {
  int32_t X, Y;
  bool operator==(const TRounded&) const = default;
};
TRounded Rounded(const TTrueTypePoint& P) { return {RoundHalfUp(P.X), RoundHalfUp(P.Y)}; }

}  // namespace

bool FindDuplicateComponents(const TOutlineBase& Outline, TGlyphSelection& Selection) {
  const TOutlineComposite* c = AsComposite(Outline);
  if (!c) return false;
  bool found = false;
  for (size_t j = 1; j < c->Members.size(); ++j)
    for (size_t i = 0; i < j; ++i)
      if (SamePlacement(c->Members[i], c->Members[j])) {
        Selection.Add(int32_t(j));
        found = true;
        break;
      }
  return found;
}

bool FindEmptyComponents(const TOutlineBase& Outline, TGlyphSelection& Selection) {
  const TOutlineComposite* c = AsComposite(Outline);
  if (!c) return false;
  bool found = false;
  for (size_t i = 0; i < c->Members.size(); ++i) {
    const TOutlineBase* m = c->Members[i].Outline;
    if (m && m->GetKind() == okEmpty) {
      Selection.Add(int32_t(i));
      found = true;
    }
  }
  return found;
}

namespace {

// Contours equal to an earlier contour, found from the last one down.
std::vector<int> DuplicateContours(const TOutlineContours& Contours) {
  std::vector<int> result;
  for (size_t n = Contours.size(); n-- > 1;)
    for (size_t i = 0; i < n; ++i)
      if (Contours[n].IsEqual(Contours[i])) {
        result.push_back(int(n));
        break;
      }
  return result;
}

}  // namespace

bool FindDuplicateContours(const TOutlineBase& Outline, TContourSelection& Selection) {
  const TOutlineSimple* s = AsSimple(Outline);
  if (!s) return false;
  const std::vector<int> dups = DuplicateContours(s->Contours);
  for (int c : dups) Selection.Add(c);
  return !dups.empty();
}

bool FindSmallContours(const TOutlineBase& Outline, TContourSelection& Selection) {
  const TOutlineSimple* s = AsSimple(Outline);
  if (!s) return false;
  bool found = false;
  for (size_t c = 0; c < s->Contours.size(); ++c)
    if (s->Contours[c].Count() <= 2) {
      Selection.Add(int32_t(c));
      found = true;
    }
  return found;
}

bool FindDuplicateKnots(const TOutlineBase& Outline, TPointSelection& Selection, TStringLines* Lines) {
  const TOutlineSimple* s = AsSimple(Outline);
  if (!s) return false;
  bool found = false;
  for (size_t c = 0; c < s->Contours.size(); ++c) {
    const std::vector<TTrueTypePoint>& pts = s->Contours[c].Points;
    const size_t n = pts.size();
    if (n < 3) continue;
    // Triples (A, B, C) around the ring with B from point 0 to the last; a
    // point found as a duplicate leaves the walk, so A stays for the next B.
    size_t a = n - 1, b = 0;
    for (size_t k = 1; k <= n; ++k) {
      const size_t cc = k % n;
      const TTrueTypePoint &A = pts[a], &B = pts[b], &C = pts[cc];
      bool hit = false;
      if (!B.OnCurve) {
        const TRounded ra = Rounded(A), rb = Rounded(B), rc = Rounded(C);
        hit = (!C.OnCurve && rb == rc) || (!A.OnCurve && ra == rb) || (!C.OnCurve && ra == rb) ||
              (!A.OnCurve && rb == rc);
      }
      if (hit) {
        Selection.Add(int32_t(c), int32_t(b));
        found = true;
        if (Lines) {
          char line[96];
          std::snprintf(line, sizeof line, "Duplicate knots coordinate (%5.5f, %5.5f)", B.X, B.Y);
          Lines->push_back(line);
        }
      } else {
        a = b;
      }
      b = cc;
    }
  }
  return found;
}

bool FindWrongDirections(const TOutlineBase& Outline, TContourSelection& Wrong, TContourSelection& Overlap) {
  const TOutlineSimple* s = AsSimple(Outline);
  if (!s) return false;
  const TOutlineContours& contours = s->Contours;
  const size_t n = contours.size();
  std::vector<bool> skip(n, false);
  for (int d : DuplicateContours(contours)) skip[size_t(d)] = true;
  // Contours of two points or fewer enclose nothing worth nesting and are
  // reported by their own test; a contour too thin to cover a whole unit has
  // no area either.
  std::vector<TRegion> regions(n);
  std::vector<TIntRect> boxes(n);
  const TDeviceMapping identity;
  for (size_t i = 0; i < n; ++i) {
    if (skip[i] || contours[i].Count() <= 2) {
      skip[i] = true;
      continue;
    }
    regions[i] = ContourRegion(contours[i], identity);
    if (regions[i].IsEmpty()) skip[i] = true;
    boxes[i] = regions[i].Bounds();
  }
  std::vector<int> depth(n, 0);
  bool found = false;
  for (size_t i = 0; i < n; ++i) {
    if (skip[i]) continue;
    for (size_t j = i + 1; j < n; ++j) {
      if (skip[j]) continue;
      const TIntRect &bi = boxes[i], &bj = boxes[j];
      if (bi.Right <= bj.Left || bj.Right <= bi.Left || bi.Bottom <= bj.Top || bj.Bottom <= bi.Top) continue;
      // Containment decides nesting: the intersection equals the inner one.
      const TRegion common = regions[i].Intersection(regions[j]);
      if (common.IsEmpty()) continue;
      if (common == regions[j]) {
        ++depth[j];
      } else if (common == regions[i]) {
        ++depth[i];
      } else {
        Overlap.Add(int32_t(i));
        Overlap.Add(int32_t(j));
        found = true;
      }
    }
  }
  for (size_t i = 0; i < n; ++i) {
    if (skip[i]) continue;
    const bool clockwise = contours[i].GetDirection() >= 0;
    if (clockwise == (depth[i] % 2 == 1)) {
      Wrong.Add(int32_t(i));
      found = true;
    }
  }
  return found;
}

}  // namespace tsy
