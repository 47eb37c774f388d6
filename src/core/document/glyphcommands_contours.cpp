// Per-glyph commands on whole contours and composite members: delete,
// direction, order, join, split and duplicate.
#include <algorithm>

#include "document/glyphcommands_internal.h"

namespace tsy {

namespace {

// The selected indices below Limit, ascending.
template <class Sel>
std::vector<int32_t> ValidIndices(const Sel& Selection, size_t Limit) {
  std::vector<int32_t> items;
  for (int k = 0; k < Selection.Count(); ++k)
    if (Selection.Items(k) >= 0 && size_t(Selection.Items(k)) < Limit) items.push_back(Selection.Items(k));
  std::sort(items.begin(), items.end());
  items.erase(std::unique(items.begin(), items.end()), items.end());
  return items;
}

}  // namespace

void TTrueTypeFontManager::DeleteContours(int G) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  TContourSelection sel;
  FEditWindows.GetContours(nullptr, G, sel);
  if (!simple || ValidIndices(sel, simple->Contours.size()).empty()) {
    Changed();
    return;
  }
  GlyphLevel(G, "Delete Contours", true,
             [&] { DeleteContourIndices(G, ValidIndices(sel, simple->Contours.size())); });
}

void TTrueTypeFontManager::DeleteMembers(int G) {
  CheckGlyph(G);
  auto* composite = dynamic_cast<TOutlineComposite*>(FFont.Outlines.Items(size_t(G)));
  TGlyphSelection sel;
  FEditWindows.GetMembers(nullptr, G, sel);
  if (!composite || ValidIndices(sel, composite->Members.size()).empty()) {
    Changed();
    return;
  }
  GlyphLevel(G, "Delete Composite Glyph Members", true, [&] {
    const std::vector<int32_t> items = ValidIndices(sel, composite->Members.size());
    for (auto it = items.rbegin(); it != items.rend(); ++it) composite->Members.erase(composite->Members.begin() + *it);
    FEditWindows.ClearMembers(nullptr, G);
    if (composite->Members.empty()) {
      FFont.Outlines.MakeEmpty(G);
    } else {
      FFont.Outlines.ResolveReferences();
      composite->UpdateBounds();
    }
  });
}

void TTrueTypeFontManager::ChangeContourDirection(int G) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  TContourSelection sel;
  FEditWindows.GetContours(nullptr, G, sel);
  if (!simple || ValidIndices(sel, simple->Contours.size()).empty()) {
    Changed();
    return;
  }
  GlyphLevel(G, "Change Contour Direction", true, [&] {
    for (int32_t c : ValidIndices(sel, simple->Contours.size())) simple->Contours[size_t(c)].Reverse();
  });
}

void TTrueTypeFontManager::ChangeContourOrder(int G, TContourOrder Order) {
  static const char* const kNames[] = {"Bring To Front", "Send To Back", "Bring Forward", "Send Backward"};
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  TContourSelection sel;
  FEditWindows.GetContours(nullptr, G, sel);
  if (!simple || Order < coBringToFront || Order > coSendBackward || sel.Count() != 1 ||
      ValidIndices(sel, simple->Contours.size()).size() != 1) {
    Changed();
    return;
  }
  const int n = int(simple->Contours.size());
  const int i = sel.Items(0);
  int target = i;
  switch (Order) {
    case coBringToFront: target = 0; break;
    case coSendToBack: target = n - 1; break;
    case coBringForward: target = i >= 1 ? i - 1 : i; break;
    case coSendBackward: target = i + 1 <= n - 1 ? i + 1 : i; break;
  }
  if (target == i) {
    Changed();
    return;
  }
  GlyphLevel(G, kNames[Order], true, [&] {
    TContour moved = std::move(simple->Contours[size_t(i)]);
    simple->Contours.erase(simple->Contours.begin() + i);
    simple->Contours.insert(simple->Contours.begin() + target, std::move(moved));
    TContourSelection now;
    now.Add(target);
    FEditWindows.SetContours(nullptr, G, now);
    FEditWindows.ClearPoints(nullptr, G);
    UpdateSelectionFrame(G);
  });
}

void TTrueTypeFontManager::JoinContours(int G) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  TPointSelection sel;
  FEditWindows.GetPoints(nullptr, G, sel);
  auto valid = [&](const TPointSelectionItem& P) {
    return P.Contour >= 0 && size_t(P.Contour) < simple->Contours.size() && P.Point >= 0 &&
           size_t(P.Point) < simple->Contours[size_t(P.Contour)].Points.size();
  };
  if (!simple || sel.Count() < 2 || !valid(sel.Items(0)) || !valid(sel.Items(1)) ||
      sel.Items(0).Contour == sel.Items(1).Contour) {
    Changed();
    return;
  }
  const TPointSelectionItem p = sel.Items(0), q = sel.Items(1);
  GlyphLevel(G, "Join Contours", true, [&] {
    const auto& a = simple->Contours[size_t(p.Contour)].Points;
    const auto& b = simple->Contours[size_t(q.Contour)].Points;
    TContour joined;
    joined.Points.insert(joined.Points.end(), a.begin(), a.begin() + p.Point + 1);
    joined.Points.insert(joined.Points.end(), b.begin() + q.Point, b.end());
    joined.Points.insert(joined.Points.end(), b.begin(), b.begin() + q.Point);
    joined.Points.insert(joined.Points.end(), a.begin() + p.Point + 1, a.end());
    simple->Contours.push_back(std::move(joined));
    DeleteContourIndices(G, {p.Contour, q.Contour});
    TContourSelection now;
    now.Add(int32_t(simple->Contours.size()) - 1);
    FEditWindows.SetContours(nullptr, G, now);
    UpdateSelectionFrame(G);
  });
}

void TTrueTypeFontManager::SplitContour(int G) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  TPointSelection sel;
  FEditWindows.GetPoints(nullptr, G, sel);
  if (!simple || sel.Count() != 2 || sel.Items(0).Contour != sel.Items(1).Contour ||
      sel.Items(0).Point == sel.Items(1).Point) {
    Changed();
    return;
  }
  const int32_t c = sel.Items(0).Contour;
  const int32_t i = std::min(sel.Items(0).Point, sel.Items(1).Point);
  const int32_t j = std::max(sel.Items(0).Point, sel.Items(1).Point);
  if (c < 0 || size_t(c) >= simple->Contours.size() || i < 0 ||
      size_t(j) >= simple->Contours[size_t(c)].Points.size()) {
    Changed();
    return;
  }
  GlyphLevel(G, "Split Contours", true, [&] {
    const auto& pts = simple->Contours[size_t(c)].Points;
    TContour first, second;
    // Both split points belong to both new contours.
    first.Points.insert(first.Points.end(), pts.begin(), pts.begin() + i + 1);
    first.Points.insert(first.Points.end(), pts.begin() + j, pts.end());
    second.Points.insert(second.Points.end(), pts.begin() + i, pts.begin() + j + 1);
    simple->Contours.push_back(std::move(first));
    simple->Contours.push_back(std::move(second));
    DeleteContourIndices(G, {c});
    const int32_t n = int32_t(simple->Contours.size());
    TContourSelection now;
    now.Add(n - 2);
    now.Add(n - 1);
    FEditWindows.SetContours(nullptr, G, now);
    UpdateSelectionFrame(G);
  });
}

void TTrueTypeFontManager::DuplicateContours(int G, double Dx, double Dy) {
  CheckGlyph(G);
  auto* simple = dynamic_cast<TOutlineSimple*>(FFont.Outlines.Items(size_t(G)));
  TContourSelection sel;
  FEditWindows.GetContours(nullptr, G, sel);
  std::vector<int32_t> items;
  if (simple)
    for (int32_t c : ValidIndices(sel, simple->Contours.size()))
      if (!simple->Contours[size_t(c)].Points.empty()) items.push_back(c);
  if (items.empty() || !AllFinite({Dx, Dy})) {
    Changed();
    return;
  }
  GlyphLevel(G, "Copy contours", true, [&] {
    TContourSelection now;
    for (int32_t c : items) {
      TContour copy = simple->Contours[size_t(c)];
      for (TTrueTypePoint& p : copy.Points) {
        p.X += Dx;
        p.Y += Dy;
      }
      simple->Contours.push_back(std::move(copy));
      now.Add(int32_t(simple->Contours.size()) - 1);
    }
    simple->UpdateBounds();
    FEditWindows.SetContours(nullptr, G, now);
    FEditWindows.ClearPoints(nullptr, G);
    UpdateSelectionFrame(G);
  });
}

void TTrueTypeFontManager::DuplicateMembers(int G, double Dx, double Dy) {
  CheckGlyph(G);
  auto* composite = dynamic_cast<TOutlineComposite*>(FFont.Outlines.Items(size_t(G)));
  TGlyphSelection sel;
  FEditWindows.GetMembers(nullptr, G, sel);
  if (!composite || ValidIndices(sel, composite->Members.size()).empty() || !AllFinite({Dx, Dy})) {
    Changed();
    return;
  }
  GlyphLevel(G, " Copy glyph members", true, [&] {
    TGlyphSelection now;
    for (int32_t m : ValidIndices(sel, composite->Members.size())) {
      TCompositeMember copy = composite->Members[size_t(m)];
      copy.OffsetX += Dx;
      copy.OffsetY += Dy;
      composite->Members.push_back(copy);
      now.Add(int32_t(composite->Members.size()) - 1);
    }
    FFont.Outlines.ResolveReferences();
    composite->UpdateBounds();
    FEditWindows.SetMembers(nullptr, G, now);
    UpdateSelectionFrame(G);
  });
}

}  // namespace tsy
