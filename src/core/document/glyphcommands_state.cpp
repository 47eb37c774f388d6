// The glyph state item every per-glyph command records, and helpers the
// glyph command files share.
#include <algorithm>

#include "common/numeric.h"
#include "document/glyphcommands_internal.h"
#include "fontfile/primitives.h"
#include "fontfile/tables/hmtx.h"

namespace tsy {

void TTrueTypeFontManager::CheckGlyph(int G) const {
  if (G < 0 || size_t(G) >= FFont.GlyphCount())
    throw FontException(Format("Glyph index %d out of range (0..%d)", G, int(FFont.GlyphCount()) - 1));
}

// [g][metrics flag][lsb][advance][contours][points][members][GlyphSnapshot]
void TTrueTypeFontManager::RecordGlyphState(int G) {
  TMemoryStream& s = FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { SwapGlyphState(S); });
  WriteUInt16(s, CheckedUInt16(G, "glyph index"));
  const TTableHmtx* hmtx = FFont.Hmtx();
  const bool metrics = hmtx && size_t(G) < hmtx->Metrics.size();
  WriteUInt8(s, metrics ? 1 : 0);
  WriteInt32(s, metrics ? hmtx->LeftSideBearing(G) : 0);
  WriteInt32(s, metrics ? hmtx->AdvanceWidth(G) : 0);
  TContourSelection contours;
  TPointSelection points;
  TGlyphSelection members;
  FEditWindows.GetContours(nullptr, G, contours);
  FEditWindows.GetPoints(nullptr, G, points);
  FEditWindows.GetMembers(nullptr, G, members);
  contours.SaveToStream(s);
  points.SaveToStream(s);
  members.SaveToStream(s);
  FFont.Outlines.WriteSnapshot(G, s);
}

void TTrueTypeFontManager::SwapGlyphState(TStream& Data) {
  const int g = ReadUInt16(Data);
  if (size_t(g) >= FFont.GlyphCount()) throw EStreamError(Format("Glyph index %d out of range", g));
  const bool metrics = ReadUInt8(Data) != 0;
  const int32_t lsb = ReadInt32(Data);
  const int32_t advance = ReadInt32(Data);
  TContourSelection contours;
  TPointSelection points;
  TGlyphSelection members;
  contours.LoadFromStream(Data);
  points.LoadFromStream(Data);
  members.LoadFromStream(Data);

  RecordGlyphState(g);
  FFont.Outlines.ReadSnapshot(g, Data);
  if (TTableHmtx* hmtx = FFont.Hmtx(); metrics && hmtx && size_t(g) < hmtx->Metrics.size()) {
    hmtx->SetLeftSideBearing(g, lsb);
    hmtx->SetAdvanceWidth(g, advance);
  }
  FEditWindows.SetContours(nullptr, g, contours);
  FEditWindows.SetPoints(nullptr, g, points);
  FEditWindows.SetMembers(nullptr, g, members);
  FEditWindows.GlyphChanged(g);
  Changed();
}

void TTrueTypeFontManager::FollowXMin(int G, double OldXMin) {
  TOutlineBase* outline = FFont.Outlines.Items(size_t(G));
  outline->UpdateBounds();
  if (outline->GetKind() == okEmpty) return;
  TTableHmtx* hmtx = FFont.Hmtx();
  if (!hmtx || size_t(G) >= hmtx->Metrics.size()) return;
  const int64_t delta = RoundHalfUp(outline->Bounds.XMin) - RoundHalfUp(OldXMin);
  if (delta != 0) hmtx->SetLeftSideBearing(G, int64_t(hmtx->LeftSideBearing(G)) + delta);
}

void TTrueTypeFontManager::DeleteContourIndices(int G, std::vector<int32_t> Contours) {
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  if (!simple) return;
  // From the highest index down, so the lower ones stay where they are.
  std::sort(Contours.begin(), Contours.end(), std::greater<>());
  Contours.erase(std::unique(Contours.begin(), Contours.end()), Contours.end());
  for (int32_t c : Contours)
    if (c >= 0 && size_t(c) < simple->Contours.size()) simple->Contours.erase(simple->Contours.begin() + c);
  FEditWindows.ClearContours(nullptr, G);
  FEditWindows.ClearPoints(nullptr, G);
  if (simple->Contours.empty())
    FFont.Outlines.MakeEmpty(G);
  else
    simple->UpdateBounds();
}

}  // namespace tsy
