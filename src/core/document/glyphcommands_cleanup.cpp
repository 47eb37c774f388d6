// The clean-up commands on one glyph and the correction of contour
// directions.
#include "document/glyphcommands_internal.h"
#include "outline/cleanup.h"
#include "settings/registrysettings.h"
#include "validation/problems.h"

namespace tsy {

namespace {

struct TCleanUpSettings {
  // Defaults when the program runs without a settings store.
  bool Local = false, DiagonalOn = false, DiagonalOff = false;
  double MaxOn = 0.8, MaxOff = 0.2;
  TCleanUpSettings() {
    if (TRegistrySettings* settings = TRegistrySettings::AccessInstance(0)) {
      Local = settings->LocalExtremeCoordinatesDetection();
      DiagonalOn = settings->DiagonalRedundantOnCurvePointsDetection();
      DiagonalOff = settings->DiagonalRedundantOffCurvePointsDetection();
      MaxOn = settings->MaximumRedundantOnCurvePointsDistance();
      MaxOff = settings->MaximumRedundantOffCurvePointsDistance();
    }
  }
};

}  // namespace

const char* TTrueTypeFontManager::CleanUpName(TCleanUpOperation Operation) {
  switch (Operation) {
    case cuAddOnCurveExtremes: return "Add On-Curve Extremes";
    case cuRemoveRedundantPoints: return "Remove Redundant Points";
    case cuRemoveDuplicateContours: return "Remove Duplicate Contours";
    case cuRemoveDuplicateComponents: return "Remove Duplicate Components";
    case cuRemoveSmallContours: return "Remove Contours With One And Two Points";
    case cuRemoveEmptyComponents: return "Remove Empty Components";
  }
  return "";
}

void TTrueTypeFontManager::CleanUpGlyph(int G, TCleanUpOperation Operation) {
  CheckGlyph(G);
  const bool forComposite = Operation == cuRemoveDuplicateComponents || Operation == cuRemoveEmptyComponents;
  if (FFont.Outlines.Items(size_t(G))->GetKind() != (forComposite ? okComposite : okSimple) ||
      *CleanUpName(Operation) == '\0') {
    Changed();
    return;
  }
  const TCleanUpSettings set;
  GlyphLevel(G, CleanUpName(Operation), true, [&] {
    TOutlineBase* outline = FFont.Outlines.Items(size_t(G));
    outline->UpdateBounds();
    const double oldXMin = outline->Bounds.XMin;
    switch (Operation) {
      case cuAddOnCurveExtremes: AddOnCurveExtremes(FFont.Outlines, G, set.Local); break;
      case cuRemoveRedundantPoints:
        RemoveRedundantPoints(FFont.Outlines, G, set.DiagonalOn, set.MaxOff, set.MaxOn, set.DiagonalOff);
        break;
      case cuRemoveDuplicateContours: RemoveDuplicateContours(FFont.Outlines, G); break;
      case cuRemoveDuplicateComponents: RemoveDuplicateComponents(FFont.Outlines, G); break;
      case cuRemoveSmallContours: RemoveSmallContours(FFont.Outlines, G); break;
      case cuRemoveEmptyComponents: RemoveEmptyComponents(FFont.Outlines, G); break;
    }
    // The operations may replace the outline (an emptied glyph) and change
    // indices: the old selections name nothing reliable any more.
    FEditWindows.ClearContours(nullptr, G);
    FEditWindows.ClearPoints(nullptr, G);
    FEditWindows.ClearMembers(nullptr, G);
    FollowXMin(G, oldXMin);
  });
}

void TTrueTypeFontManager::CorrectContourDirections(int G) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  if (!simple) {
    Changed();
    return;
  }
  GlyphLevel(G, "Correct Contour Directions", true, [&] {
    const TOutlineContours before = simple->Contours;
    if (!CorrectDirections(FFont.Outlines, G)) return;
    // The reversed contours become the selection the windows show.
    TContourSelection reversed;
    for (size_t c = 0; c < before.size(); ++c)
      if (!(before[c] == simple->Contours[c])) reversed.Add(int32_t(c));
    FEditWindows.SetContours(nullptr, G, reversed);
    FEditWindows.ClearPoints(nullptr, G);
    FEditWindows.SetEditMode(nullptr, G, emContour);
    UpdateSelectionFrame(G);
  });
}

bool TTrueTypeFontManager::GlyphHasCleanUpProblem(int G, TCleanUpOperation Operation) const {
  CheckGlyph(G);
  const TOutlineBase& o = *FFont.Outlines.Items(size_t(G));
  const TCleanUpSettings set;
  TGlyphSelection members;
  TContourSelection contours;
  TPointSelection points;
  TCoordinateList coordinates;
  switch (Operation) {
    case cuAddOnCurveExtremes: return FindOffCurveExtremes(o, members, coordinates, set.Local);
    case cuRemoveRedundantPoints:
      return FindRedundantPoints(o, points, set.DiagonalOn, set.MaxOff, set.MaxOn, set.DiagonalOff);
    case cuRemoveDuplicateContours: return FindDuplicateContours(o, contours);
    case cuRemoveDuplicateComponents: return FindDuplicateComponents(o, members);
    case cuRemoveSmallContours: return FindSmallContours(o, contours);
    case cuRemoveEmptyComponents: return FindEmptyComponents(o, members);
  }
  return false;
}

bool TTrueTypeFontManager::GlyphHasWrongDirections(int G) const {
  CheckGlyph(G);
  TContourSelection wrong, overlap;
  return FindWrongDirections(*FFont.Outlines.Items(size_t(G)), wrong, overlap);
}

}  // namespace tsy
