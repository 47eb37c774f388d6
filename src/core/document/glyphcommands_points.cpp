// Per-glyph commands on selected points: set coordinates, on/off-curve,
// delete, add and set the first point.
#include <algorithm>

#include "document/glyphcommands_internal.h"

namespace tsy {

namespace {

// The selected points that exist in Simple, ascending by contour and point:
// the selection keeps the order the user picked them in, which says nothing
// about where they are.
std::vector<TPointSelectionItem> ValidPoints(const TOutlineSimple& Simple, const TPointSelection& Sel) {
  std::vector<TPointSelectionItem> items;
  for (int k = 0; k < Sel.Count(); ++k) {
    const TPointSelectionItem& it = Sel.Items(k);
    if (it.Contour >= 0 && size_t(it.Contour) < Simple.Contours.size() && it.Point >= 0 &&
        size_t(it.Point) < Simple.Contours[size_t(it.Contour)].Points.size())
      items.push_back(it);
  }
  std::sort(items.begin(), items.end());
  items.erase(std::unique(items.begin(), items.end()), items.end());
  return items;
}

}  // namespace

void TTrueTypeFontManager::SetPointCoordinates(int G, double X, double Y, bool OnCurve, bool SetX, bool SetY,
                                               bool SetOnCurve) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  TPointSelection sel;
  FEditWindows.GetPoints(nullptr, G, sel);
  if (!simple || ValidPoints(*simple, sel).empty() || (SetX && !AllFinite({X})) || (SetY && !AllFinite({Y}))) {
    Changed();
    return;
  }
  GlyphLevel(G, "Move Points", true, [&] {
    auto* s = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
    for (const TPointSelectionItem& it : ValidPoints(*s, sel)) {
      TTrueTypePoint& p = s->Contours[size_t(it.Contour)].Points[size_t(it.Point)];
      if (SetX) p.X = X;
      if (SetY) p.Y = Y;
      if (SetOnCurve) p.OnCurve = OnCurve;
    }
    s->UpdateBounds();
  });
}

void TTrueTypeFontManager::SetPointsOnCurve(int G, bool OnCurve) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  TPointSelection sel;
  FEditWindows.GetPoints(nullptr, G, sel);
  if (!simple || ValidPoints(*simple, sel).empty()) {
    Changed();
    return;
  }
  GlyphLevel(G, OnCurve ? "On-Curve Points" : "Off-Curve Points", true, [&] {
    auto* s = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
    for (const TPointSelectionItem& it : ValidPoints(*s, sel))
      s->Contours[size_t(it.Contour)].Points[size_t(it.Point)].OnCurve = OnCurve;
  });
}

void TTrueTypeFontManager::DeletePoints(int G) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  TPointSelection sel;
  FEditWindows.GetPoints(nullptr, G, sel);
  if (!simple || ValidPoints(*simple, sel).empty()) {
    Changed();
    return;
  }
  GlyphLevel(G, "Delete Points", true, [&] {
    auto* s = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
    const std::vector<TPointSelectionItem> items = ValidPoints(*s, sel);
    for (auto it = items.rbegin(); it != items.rend(); ++it)
      s->Contours[size_t(it->Contour)].DeletePoint(size_t(it->Point));
    FEditWindows.ClearPoints(nullptr, G);
    std::vector<int32_t> emptied;
    for (size_t c = 0; c < s->Contours.size(); ++c)
      if (s->Contours[c].Points.empty()) emptied.push_back(int32_t(c));
    if (!emptied.empty())
      DeleteContourIndices(G, emptied);  // may replace the outline
    else
      s->UpdateBounds();
  });
}

void TTrueTypeFontManager::AddPoints(int G) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  TPointSelection sel;
  FEditWindows.GetPoints(nullptr, G, sel);
  if (!simple || ValidPoints(*simple, sel).empty()) {
    Changed();
    return;
  }
  GlyphLevel(G, "Add Points", true, [&] {
    auto* s = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
    const std::vector<TPointSelectionItem> items = ValidPoints(*s, sel);
    // From the last to the first, so every stored index still names its point.
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
      TContour& c = s->Contours[size_t(it->Contour)];
      const TTrueTypePoint& a = c.Points[size_t(it->Point)];
      const TTrueTypePoint& b = c.Points[(size_t(it->Point) + 1) % c.Points.size()];
      const TTrueTypePoint mid{(a.X + b.X) / 2, (a.Y + b.Y) / 2, true};
      c.InsertPoint(size_t(it->Point) + 1, mid);
    }
    // The k-th selected point of a contour (ascending) had k new points
    // inserted before it; its new neighbour follows it.
    TPointSelection added;
    int32_t contour = -1, k = 0;
    for (const TPointSelectionItem& it : items) {
      if (it.Contour != contour) contour = it.Contour, k = 0;
      added.Add(it.Contour, it.Point + k + 1);
      ++k;
    }
    FEditWindows.SetPoints(nullptr, G, added);
    s->UpdateBounds();
  });
}

void TTrueTypeFontManager::SetFirstPoint(int G) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  TPointSelection sel;
  FEditWindows.GetPoints(nullptr, G, sel);
  if (!simple || sel.Count() != 1 || ValidPoints(*simple, sel).size() != 1) {
    Changed();
    return;
  }
  const TPointSelectionItem it = sel.Items(0);
  GlyphLevel(G, "Set First Point", true, [&] {
    auto* s = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
    s->Contours[size_t(it.Contour)].RotateStart(it.Point);
    TPointSelection now;
    now.Add(it.Contour, 0);
    FEditWindows.SetPoints(nullptr, G, now);
  });
}

}  // namespace tsy
