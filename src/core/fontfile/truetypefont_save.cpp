// The values that follow from the glyphs, recomputed before every save:
// head bounding box, hhea extremes, maxp statistics, OS/2 character range
// and average width.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/numeric.h"
#include "fontfile/fontexception.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hhea.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/maxp.h"
#include "fontfile/tables/os2.h"
#include "fontfile/truetypefont.h"

namespace tsy {

namespace {

// The largest (or smallest) value over the glyphs, with the glyph it came
// from, so that a value too large for its field can be reported by glyph.
struct TExtreme {
  int64_t Value = 0;
  int Glyph = -1;              // -1: not from a glyph
  const char* Table = nullptr;  // the table it came from, when not a glyph
  bool Set = false;
  void Max(int64_t V, int G, const char* T = nullptr) {
    if (!Set || V > Value) Value = V, Glyph = G, Table = T, Set = true;
  }
  void Min(int64_t V, int G) {
    if (!Set || V < Value) Value = V, Glyph = G, Set = true;
  }
};

void CheckFits(const TExtreme& E, int64_t Low, int64_t High, const char* Field) {
  if (E.Value >= Low && E.Value <= High) return;
  if (E.Table)
    throw ERangeError(Format("%s from the %s table is %lld, which does not fit its 16-bit field.", Field, E.Table,
                             (long long)E.Value));
  if (E.Glyph < 0)
    throw ERangeError(Format("%s %lld does not fit its 16-bit field.", Field, (long long)E.Value));
  throw ERangeError(Format("%s of glyph %d is %lld, which does not fit its 16-bit field.", Field, E.Glyph,
                           (long long)E.Value));
}

int16_t FitInt16(const TExtreme& E, const char* Field) {
  CheckFits(E, INT16_MIN, INT16_MAX, Field);
  return int16_t(E.Value);
}

uint16_t FitUInt16(const TExtreme& E, const char* Field) {
  CheckFits(E, 0, UINT16_MAX, Field);
  return uint16_t(E.Value);
}

}  // namespace

namespace {

// The counts of one glyph with its components flattened: computed once per
// glyph, so a component used by thousands of composites is walked once.
struct TFlatCounts {
  int64_t Points = 0, Contours = 0;
  int Depth = 0;
  uint8_t State = 0;  // 0 new, 1 being computed, 2 done
};

const TFlatCounts& FlatCounts(const TFontOutlines& Outlines, std::vector<TFlatCounts>& Memo, size_t Index,
                              int Level) {
  static const TFlatCounts kNone{};
  TFlatCounts& c = Memo[Index];
  if (c.State == 2) return c;
  // A reference cycle or runaway nesting counts as nothing, as the outlines'
  // own recursion does.
  if (c.State == 1 || Level > kMaxComponentDepth) return kNone;
  const TOutlineBase* o = Outlines.Items(Index);
  c.State = 1;
  if (o->GetKind() == okComposite) {
    TFlatCounts sum;
    sum.Depth = 1;
    for (const TCompositeMember& m : static_cast<const TOutlineComposite*>(o)->Members) {
      if (!m.Outline) continue;
      if (m.GlyphIndex < Outlines.Count() && Outlines.Items(m.GlyphIndex) == m.Outline) {
        const TFlatCounts& mc = FlatCounts(Outlines, Memo, m.GlyphIndex, Level + 1);
        sum.Points += mc.Points, sum.Contours += mc.Contours, sum.Depth = std::max(sum.Depth, 1 + mc.Depth);
      } else {  // a member not (yet) linked to its glyph's outline
        sum.Points += m.Outline->GetPointCount() + m.Outline->GetCompositePointCount();
        sum.Contours += m.Outline->GetContourCount() + m.Outline->GetCompositeContourCount();
        sum.Depth = std::max(sum.Depth, 1 + m.Outline->GetComponentDepth());
      }
    }
    c.Points = sum.Points, c.Contours = sum.Contours, c.Depth = sum.Depth;
  } else {
    c.Points = o->GetPointCount(), c.Contours = o->GetContourCount(), c.Depth = 0;
  }
  c.State = 2;
  return c;
}

}  // namespace

void TTrueTypeFont::UpdateBeforeSave() {
  const int count = int(GlyphCount());
  std::vector<TFlatCounts> flat(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) FlatCounts(Outlines, flat, size_t(i), 0);
  auto isComposite = [&](int i) { return Outlines.Items(size_t(i))->GetKind() == okComposite; };

  if (RecalcGlyphBoundingBoxes)
    for (int i = 0; i < count; ++i) Outlines.Items(size_t(i))->UpdateBounds();

  if (TTableOS_2* os2 = OS2()) {
    uint32_t first = 0, last = 0;
    if (const TTableCmap* cmap = Cmap(); cmap && count > 0) cmap->SubTables.GetCharRange(first, last);
    // Codes beyond the 16-bit field are written as 0xFFFF, as the OpenType
    // format asks for fonts with supplementary characters.
    os2->usFirstCharIndex = uint16_t(std::min<uint32_t>(first, 0xFFFF));
    os2->usLastCharIndex = uint16_t(std::min<uint32_t>(last, 0xFFFF));
    if (RecalcAverageCharWidth) {
      TExtreme width;
      width.Value = CalcAverageCharWidth(os2->Version());
      os2->xAvgCharWidth = FitInt16(width, "OS/2 xAvgCharWidth");
    }
  }

  // Rounded glyph boxes, computed once for the head box and the hhea extremes.
  struct TBox {
    int32_t XMin, YMin, XMax, YMax;
  };
  std::vector<TBox> boxes(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const TFloatRect& b = Outlines.Items(size_t(i))->Bounds;
    try {
      boxes[size_t(i)] = {RoundHalfUp(b.XMin), RoundHalfUp(b.YMin), RoundHalfUp(b.XMax), RoundHalfUp(b.YMax)};
    } catch (const ERangeError& e) {
      throw ERangeError(Format("The bounding box of glyph %d does not fit: %s", i, e.what()));
    }
  }

  if (TTableHead* head = Head()) {
    TExtreme xMin, yMin, xMax, yMax;
    for (int i = 0; i < count; ++i) {
      const TFloatRect& b = Outlines.Items(size_t(i))->Bounds;
      if (b.XMin == 0 && b.YMin == 0 && b.XMax == 0 && b.YMax == 0) continue;
      const TBox& r = boxes[size_t(i)];
      xMin.Min(r.XMin, i), yMin.Min(r.YMin, i), xMax.Max(r.XMax, i), yMax.Max(r.YMax, i);
    }
    head->xMin = FitInt16(xMin, "head xMin");
    head->yMin = FitInt16(yMin, "head yMin");
    head->xMax = FitInt16(xMax, "head xMax");
    head->yMax = FitInt16(yMax, "head yMax");
  }

  TTableHhea* hhea = Hhea();
  const TTableHmtx* hmtx = Hmtx();
  if (hhea && hmtx) {
    TExtreme advanceMax, minLsb, minRsb, maxExtent;
    const size_t metrics = hmtx->Metrics.size();
    for (int i = 0; i < count; ++i) {
      const THmtxMetrics m = size_t(i) < metrics ? hmtx->Metrics[size_t(i)] : THmtxMetrics{};
      advanceMax.Max(m.AdvanceWidth, i);
      if (flat[size_t(i)].Contours == 0) continue;
      const TOutlineBase* o = Outlines.Items(size_t(i));
      if (isComposite(i) && static_cast<const TOutlineComposite*>(o)->GetMetricsMember() >= 0) continue;
      const int64_t w = int64_t(boxes[size_t(i)].XMax) - boxes[size_t(i)].XMin;
      minLsb.Min(m.LeftSideBearing, i);
      minRsb.Min(int64_t(m.AdvanceWidth) - m.LeftSideBearing - w, i);
      maxExtent.Max(int64_t(m.LeftSideBearing) + w, i);
    }
    hhea->advanceWidthMax = FitUInt16(advanceMax, "hhea advanceWidthMax");
    hhea->minLeftSideBearing = FitInt16(minLsb, "hhea minLeftSideBearing");
    hhea->minRightSideBearing = FitInt16(minRsb, "hhea minRightSideBearing");
    hhea->xMaxExtent = FitInt16(maxExtent, "hhea xMaxExtent");
  }

  if (TTableMaxp* maxp = Maxp()) {
    TExtreme points, contours, compositePoints, compositeContours, components, depth, instructions;
    for (int i = 0; i < count; ++i) {
      const TOutlineBase* o = Outlines.Items(size_t(i));
      const TFlatCounts& f = flat[size_t(i)];
      if (isComposite(i)) {
        compositePoints.Max(f.Points, i);
        compositeContours.Max(f.Contours, i);
        components.Max(o->GetComponentCount(), i);
        depth.Max(f.Depth, i);
      } else {
        points.Max(f.Points, i);
        contours.Max(f.Contours, i);
      }
      instructions.Max(o->GetInstructionSize(), i);
    }
    // The font and control programs share the instruction limit.
    for (const char* tag : {"fpgm", "prep"})
      if (const TFontTable* t = FindTable(tag)) {
        int64_t size;
        if (const auto* h = dynamic_cast<const TTableHinting*>(t)) {
          size = int64_t(h->Size());
        } else {
          TMemoryStream m;
          t->SaveToStream(m);
          size = int64_t(m.Size());
        }
        if (size > instructions.Value) instructions.Max(size, -1, tag);
      }
    maxp->maxPoints = FitUInt16(points, "maxp maxPoints");
    maxp->maxContours = FitUInt16(contours, "maxp maxContours");
    maxp->maxCompositePoints = FitUInt16(compositePoints, "maxp maxCompositePoints");
    maxp->maxCompositeContours = FitUInt16(compositeContours, "maxp maxCompositeContours");
    maxp->maxComponentElements = FitUInt16(components, "maxp maxComponentElements");
    maxp->maxComponentDepth = FitUInt16(depth, "maxp maxComponentDepth");
    maxp->maxSizeOfInstructions = FitUInt16(instructions, "maxp maxSizeOfInstructions");
  }
}

}  // namespace tsy
