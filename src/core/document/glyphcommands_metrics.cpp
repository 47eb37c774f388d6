// Metrics and glyph properties: Change Bearings and the commit of the glyph
// properties dialog.
#include <algorithm>
#include <cmath>

#include "document/glyphcommands_internal.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/post.h"

namespace tsy {

void TTrueTypeFontManager::ChangeBearings(int G, double A, double B) {
  CheckGlyph(G);
  TTableHmtx* hmtx = FFont.Hmtx();
  if (!hmtx || size_t(G) >= hmtx->Metrics.size() || !AllFinite({A, B})) {
    Changed();
    return;
  }
  const double left = std::trunc(std::min(A, B)), right = std::trunc(std::max(A, B));
  TOutlineBase* outline = FFont.Outlines.Items(size_t(G));
  TFloatRect bounds = outline->Bounds;
  if (outline->GetKind() != okEmpty) {
    TOutlineContours contours;
    outline->AddTransformedContours(contours, TOutlineTransform{});
    bounds = GetPointBounds(contours);
  }
  const double lsb = double(RoundHalfUp(bounds.XMin)) - left;
  const double advance = right - left;
  // Checked before the level opens: a bearing the fields cannot hold changes nothing.
  if (lsb < -32768 || lsb > 32767 || advance > 65535)
    throw ERangeError(Format("The bearings %g and %g do not fit the glyph's metrics", A, B));
  GlyphLevel(G, "Change Bearings", false, [&] {
    hmtx->SetLeftSideBearing(G, int64_t(lsb));
    hmtx->SetAdvanceWidth(G, int64_t(advance));
  });
}

bool TTrueTypeFontManager::CommitGlyphProperties(int G, const TTableCmap* Cmap, int LeftSideBearing,
                                                 int AdvanceWidth, const std::string& Name) {
  CheckGlyph(G);
  TTableHmtx* hmtx = FFont.Hmtx();
  TTablePost* post = FFont.Post();
  const bool names = post && post->HasGlyphNames() && size_t(G) < post->NameCount();
  const bool metrics = hmtx && size_t(G) < hmtx->Metrics.size();
  if (metrics && (LeftSideBearing < -32768 || LeftSideBearing > 32767 || AdvanceWidth < 0 || AdvanceWidth > 65535))
    throw ERangeError(Format("Left side bearing %d or advance width %d out of range", LeftSideBearing, AdvanceWidth));
  std::vector<uint8_t> cmapBytes;
  bool cmapChanged = false;
  if (Cmap && FFont.Cmap()) {
    TMemoryStream now, copy;
    FFont.Cmap()->SaveToStream(now);
    Cmap->SaveToStream(copy);
    cmapChanged = now.Bytes() != copy.Bytes();
    cmapBytes = copy.Bytes();
  }
  const bool metricsChanged = metrics && (hmtx->LeftSideBearing(G) != LeftSideBearing ||
                                          hmtx->AdvanceWidth(G) != AdvanceWidth);
  const bool nameChanged = names && post->GetName(size_t(G)) != Name;
  if (!cmapChanged && !metricsChanged && !nameChanged) return false;
  GlyphLevel(G, "Edit Glyph Properties", false, [&] {
    if (cmapChanged) {
      RecordState(TSnapshotKind::Table, "cmap", TNotify::Changed);
      ApplyState(TSnapshotKind::Table, "cmap", cmapBytes);
    }
    if (nameChanged) {
      RecordState(TSnapshotKind::Table, "post", TNotify::Changed);
      post->SetName(size_t(G), Name);
    }
    if (metricsChanged) {
      hmtx->SetLeftSideBearing(G, LeftSideBearing);
      hmtx->SetAdvanceWidth(G, AdvanceWidth);
    }
  });
  return true;
}

}  // namespace tsy
