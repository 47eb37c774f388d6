// Composite members: adding members from a list of glyphs, and the commit of
// the composite properties dialog.
#include <algorithm>
#include <set>

#include "document/glyphcommands_internal.h"

namespace tsy {

void TTrueTypeFontManager::AddCompositeGlyphMembers(int G, const std::vector<int32_t>& Glyphs,
                                                    const std::string& Suffix) {
  CheckGlyph(G);
  if (FFont.Outlines.Items(size_t(G))->GetKind() == okSimple) {
    Changed();
    return;
  }
  // Glyphs that use G, directly or through members, would close a cycle.
  const std::vector<int32_t> users = GlyphUsers(G);
  const std::set<int32_t> refused(users.begin(), users.end());
  std::vector<int32_t> list(Glyphs);
  std::sort(list.begin(), list.end());
  GlyphLevel(G, Suffix, true, [&] {
    if (FFont.Outlines.Items(size_t(G))->GetKind() == okEmpty) FFont.Outlines.MakeComposite(G);
    auto* composite = static_cast<TOutlineComposite*>(FFont.Outlines.Items(size_t(G)));
    TGlyphSelection added;
    for (int32_t b : list) {
      if (b < 0 || b == G || size_t(b) >= FFont.GlyphCount() || refused.count(b)) continue;
      TCompositeMember m;
      m.GlyphIndex = uint16_t(b);
      composite->Members.push_back(m);
      added.Add(int32_t(composite->Members.size()) - 1);
    }
    FEditWindows.ClearPoints(nullptr, G);
    if (composite->Members.empty()) {
      FFont.Outlines.MakeEmpty(G);
      FEditWindows.ClearMembers(nullptr, G);
      return;
    }
    FFont.Outlines.ResolveReferences();
    composite->UpdateBounds();
    FEditWindows.SetMembers(nullptr, G, added);
    UpdateSelectionFrame(G);
  });
}

bool TTrueTypeFontManager::CommitCompositeGlyphProperties(int G, int MemberIndex, const TOutlineComposite& Copy) {
  CheckGlyph(G);
  auto* composite = dynamic_cast<TOutlineComposite*>(FFont.Outlines.Items(size_t(G)));
  if (!composite) return false;
  // Compared by the members' record form: the commit drops instructions and
  // recomputes the box either way.
  auto record = [](const TCompositeGlyph& Members) {
    TOutlineComposite c;
    c.Members = Members;
    TMemoryStream m;
    c.WriteGlyphRecord(m);
    return m.Bytes();
  };
  if (record(Copy.Members) == record(composite->Members)) return false;
  // A member that names G itself or a glyph using G would close a cycle.
  const std::vector<int32_t> users = GlyphUsers(G);
  for (const TCompositeMember& m : Copy.Members)
    if (m.GlyphIndex == G || std::binary_search(users.begin(), users.end(), int32_t(m.GlyphIndex)) ||
        m.GlyphIndex >= FFont.GlyphCount())
      throw FontException(Format("Glyph %d cannot be a member of glyph %d", int(m.GlyphIndex), G));
  (void)MemberIndex;  // the dialog's own position; the glyph's state item restores every selection
  GlyphLevel(G, "Edit Composite Glyph Properties", true, [&] {
    if (Copy.Members.empty()) {
      FFont.Outlines.MakeEmpty(G);
      FEditWindows.ClearMembers(nullptr, G);
      return;
    }
    auto fresh = std::make_unique<TOutlineComposite>();
    fresh->Members = Copy.Members;
    fresh->Bounds = Copy.Bounds;
    FFont.Outlines.SetOutline(G, std::move(fresh));
    FFont.Outlines.Items(size_t(G))->UpdateBounds();
    UpdateSelectionFrame(G);
  });
  return true;
}

}  // namespace tsy
