#include "fontfile/cff/cffconvert.h"

#include <algorithm>
#include <cmath>

#include "fontfile/fontexception.h"
#include "fontfile/tables/cff.h"
#include "fontfile/tables/glyf.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/loca.h"
#include "fontfile/tables/maxp.h"
#include "fontfile/truetypefont.h"

namespace tsy {

void ConvertCFFOutlines(TTrueTypeFont& Font, const std::function<void(int Percent)>& Progress) {
  auto* cff = dynamic_cast<TTableCFF*>(Font.FindTable("CFF "));
  if (!cff) {
    if (Font.FindTable("CFF2"))
      throw FontException("CFF2 outlines (OpenType variable fonts) are not supported.");
    throw FontException("The font has PostScript outlines but no CFF table.");
  }
  const int count = cff->GlyphCount();
  if (count > 0xFFFF) throw FontException(Format("[TTableCFF] %d charstrings are more than a font can hold.", count));
  std::vector<std::unique_ptr<TOutlineBase>> outlines;
  outlines.reserve(size_t(count));
  int64_t maxPoints = 0, maxContours = 0;
  // A PostScript glyph's origin is x = 0. The TrueType origin lies at the
  // glyph's xMin minus its left side bearing, and xMin now covers the new
  // control points, so the bearing follows xMin to keep the origin in place.
  TTableHmtx* hmtx = Font.Hmtx();
  int lastProgress = -1;
  for (int i = 0; i < count; ++i) {
    auto simple = std::make_unique<TOutlineSimple>();
    cff->BuildOutline(i, *simple);
    maxPoints = std::max(maxPoints, simple->GetPointCount());
    maxContours = std::max<int64_t>(maxContours, simple->GetContourCount());
    if (hmtx && size_t(i) < hmtx->Metrics.size() && !simple->Contours.empty())
      hmtx->SetLeftSideBearing(i, RoundHalfUp(simple->Bounds.XMin));
    if (simple->Contours.empty()) outlines.push_back(std::make_unique<TOutlineEmpty>());
    else outlines.push_back(std::move(simple));
    const int percent = int(std::lround(20 + double(i + 1) / count * 80));
    if (Progress && percent != lastProgress) Progress(lastProgress = percent);
  }
  Font.Outlines.Assign(std::move(outlines));
  Font.RemoveTable("CFF ");
  if (!Font.FindTable("loca")) Font.AddTable(std::make_unique<TTableLoca>());
  if (!Font.FindTable("glyf")) Font.AddTable(std::make_unique<TTableGlyf>());
  Font.Version = 0x00010000;
  if (TTableMaxp* maxp = Font.Maxp()) {
    if (maxp->version != 0x00010000) {
      // A CFF font's maxp 0.5 has no TrueType statistics; give the new ones
      // values a TrueType rasteriser can work with.
      maxp->version = 0x00010000;
      maxp->maxZones = 2;
    }
    maxp->numGlyphs = uint16_t(count);
    maxp->maxPoints = uint16_t(std::min<int64_t>(maxPoints, 0xFFFF));
    maxp->maxContours = uint16_t(std::min<int64_t>(maxContours, 0xFFFF));
  }
}

}  // namespace tsy
