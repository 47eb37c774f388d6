// The contour and member commands that take their data from the clipboard.
#include <algorithm>

#include "common/numeric.h"
#include "document/glyphcommands_internal.h"
#include "fontfile/tables/hmtx.h"

namespace tsy {

void TTrueTypeFontManager::PasteContours(int G, const std::vector<TContour>& Contours) {
  CheckGlyph(G);
  const int kind = FFont.Outlines.Items(size_t(G))->GetKind();
  if (kind == okComposite || Contours.empty()) return;
  // No hinting removal: pasted contours come without instructions of their own.
  try {
    RecordLevel("Paste Glyph Contours", [&] {
      RecordGlyphState(G);
      if (kind == okEmpty) FFont.Outlines.MakeSimple(G);
      auto* simple = static_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
      const double oldXMin = simple->Bounds.XMin;
      const bool wasEmpty = simple->Contours.empty();
      const size_t first = simple->Contours.size();
      simple->Contours.insert(simple->Contours.end(), Contours.begin(), Contours.end());
      if (wasEmpty) {
        // A glyph that had no points gets its bearing from the new outline.
        simple->UpdateBounds();
        if (TTableHmtx* hmtx = FFont.Hmtx(); hmtx && size_t(G) < hmtx->Metrics.size())
          hmtx->SetLeftSideBearing(G, RoundHalfUp(simple->Bounds.XMin));
      } else {
        FollowXMin(G, oldXMin);
      }
      FEditWindows.ClearPoints(nullptr, G);
      FEditWindows.ClearContours(nullptr, G);
      TContourSelection selection;
      for (size_t c = first; c < simple->Contours.size(); ++c) selection.Add(int32_t(c));
      FEditWindows.SetContours(nullptr, G, selection);
      UpdateSelectionFrame(G);
    });
  } catch (...) {
    FEditWindows.GlyphChanged(G);
    Changed();
    throw;
  }
  FEditWindows.GlyphChanged(G);
  Changed();
}

void TTrueTypeFontManager::CutContours(int G, const TContourCopyEvent& CopyToClipboard) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  if (!simple) return;
  TContourSelection selection;
  FEditWindows.GetContours(nullptr, G, selection);
  std::vector<int32_t> contours;
  for (int i = 0; i < selection.Count(); ++i) contours.push_back(selection.Items(i));
  if (contours.empty()) return;
  // The clipboard gets the contours before anything changes.
  if (CopyToClipboard) CopyToClipboard(*this, G);
  RemoveGlyphHintingIfNeeded(G);
  try {
    RecordLevel("Cut Contours", [&] {
      RecordGlyphState(G);
      DeleteContourIndices(G, contours);
    });
  } catch (...) {
    FEditWindows.GlyphChanged(G);
    Changed();
    throw;
  }
  FEditWindows.GlyphChanged(G);
  Changed();
}

void TTrueTypeFontManager::PasteGlyphsAsMembers(int G, const std::vector<int32_t>& Glyphs) {
  AddCompositeGlyphMembers(G, Glyphs, "Paste Glyphs");
}

}  // namespace tsy
