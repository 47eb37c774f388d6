#pragma once
// A five-glyph font for the overview's per-glyph data and the bookmarks:
//   0 .notdef  empty, unmapped
//   1 A        simple square, U+0041 in (3,1) and (0,3), Mac 0x41
//   2 acute    simple, used by 3, U+00B4 in (3,1)
//   3 Aacute   composite of 1 (lends its metrics) and 2, U+00C1 and U+01CD in (3,1)
//   4 orphan   simple, unmapped
#include <memory>

#include "fontfile/stream.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/post.h"
#include "fontfile/truetypefont.h"
#include "outline/outline.h"
#include "support/fontbuilder.h"

namespace tsytest {

inline std::unique_ptr<tsy::TOutlineSimple> Square(double X0, double Size) {
  auto simple = std::make_unique<tsy::TOutlineSimple>();
  tsy::TContour c;
  c.Points = {{X0, 0, true}, {X0, Size, true}, {X0 + Size, Size, true}, {X0 + Size, 0, true}};
  simple->Contours.push_back(c);
  simple->UpdateBounds();
  return simple;
}

inline std::unique_ptr<tsy::TTrueTypeFont> OverviewFont() {
  auto font = std::make_unique<tsy::TTrueTypeFont>();
  tsy::TMemoryStream s(BuildSfnt(MinimalFontTables()));
  font->LoadFromStream(s);
  for (int g = 1; g <= 4; ++g) font->Outlines.InsertEmptyOutline(g);
  font->Outlines.SetOutline(1, Square(50, 500));
  font->Outlines.SetOutline(2, Square(200, 100));
  auto composite = std::make_unique<tsy::TOutlineComposite>();
  tsy::TCompositeMember base;
  base.GlyphIndex = 1;
  base.Outline = font->Outlines.Items(1);
  base.UseMyMetrics = true;
  tsy::TCompositeMember accent;
  accent.GlyphIndex = 2;
  accent.Outline = font->Outlines.Items(2);
  accent.OffsetY = 600;
  composite->Members = {base, accent};
  composite->UpdateBounds();
  font->Outlines.SetOutline(3, std::move(composite));
  font->Outlines.SetOutline(4, Square(0, 300));

  tsy::TTableCmap* cmap = font->Cmap();
  cmap->SubTables.Clear();
  cmap->SubTables.Insert(0, 3)->AddMapping(1, 0x41);
  cmap->SubTables.Insert(1, 0)->AddMapping(1, 0x41);
  tsy::TCmapEncodingSubTable* ms = cmap->SubTables.Insert(3, 1);
  ms->AddMapping(1, 0x41);
  ms->AddMapping(2, 0xB4);
  ms->AddMapping(3, 0xC1);
  ms->AddMapping(3, 0x1CD);

  tsy::TTablePost* post = font->Post();
  post->SetHasGlyphNames(true);
  post->ResetNames();
  for (const char* name : {".notdef", "A", "acute", "Aacute", "orphan"}) post->AddName(name);
  return font;
}

}  // namespace tsytest
