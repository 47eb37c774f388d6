#pragma once
// A small font for the glyph command tests, built in memory, and the whole
// state a command may touch.
#include <memory>
#include <string>
#include <vector>

#include "core/document/fontmanager_support.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/maxp.h"

namespace tsytest {

inline tsy::TContour Box(double X0, double Y0, double X1, double Y1) {
  // Clockwise with y up: an outer contour.
  tsy::TContour c;
  c.Points = {{X0, Y0, true}, {X0, Y1, true}, {X1, Y1, true}, {X1, Y0, true}};
  return c;
}

inline std::unique_ptr<tsy::TOutlineSimple> SimpleGlyph(std::vector<tsy::TContour> Contours) {
  auto s = std::make_unique<tsy::TOutlineSimple>();
  s->Contours = std::move(Contours);
  s->UpdateBounds();
  return s;
}

// Glyphs: 0 empty; 1 one box; 2 two boxes; 3 composite of 1 and 2 (the second
// moved 300 right); 4 one box with instructions; 5..11 boxes of growing
// width; glyph g + 1 is named "g<g>", glyph 9 is mapped from U+0041, glyph 3
// from U+00C4; kerning 3-7, 9-1 and 5-6.
inline void BuildCommandFont(tsy::TTrueTypeFontManager& M, int GlyphCount = 12) {
  using namespace tsy;
  TTrueTypeFont& f = M.Font();
  std::vector<std::unique_ptr<TOutlineBase>> outlines;
  outlines.push_back(std::make_unique<TOutlineEmpty>());
  outlines.push_back(SimpleGlyph({Box(50, 0, 450, 600)}));
  outlines.push_back(SimpleGlyph({Box(100, 0, 400, 700), Box(200, 100, 300, 600)}));
  auto comp = std::make_unique<TOutlineComposite>();
  TCompositeMember a, b;
  a.GlyphIndex = 1;
  b.GlyphIndex = 2;
  b.OffsetX = 300;
  comp->Members = {a, b};
  outlines.push_back(std::move(comp));
  auto hinted = SimpleGlyph({Box(10, 10, 110, 110)});
  hinted->Instructions = {0xB0, 0x01};  // PUSHB[0] 1
  outlines.push_back(std::move(hinted));
  for (int g = 5; g < GlyphCount; ++g) outlines.push_back(SimpleGlyph({Box(20, 0, 20 + 10.0 * g, 500)}));
  f.Outlines.Assign(std::move(outlines));
  for (size_t g = 0; g < f.GlyphCount(); ++g) f.Outlines.Items(g)->UpdateBounds();

  auto maxp = std::make_unique<TTableMaxp>();
  maxp->numGlyphs = uint16_t(GlyphCount);
  f.AddTable(std::move(maxp));
  auto hmtx = std::make_unique<TTableHmtx>();
  for (int g = 0; g < GlyphCount; ++g) {
    const TOutlineBase* o = f.Outlines.Items(size_t(g));
    hmtx->Metrics.push_back({uint16_t(600 + g), int16_t(o->Bounds.XMin)});
  }
  hmtx->NumGlyphs = hmtx->NumberOfHMetrics = uint16_t(GlyphCount);
  f.AddTable(std::move(hmtx));
  auto post = std::make_unique<TTablePost>();
  post->SetHasGlyphNames(true);
  post->Names.clear();
  for (int g = 0; g < GlyphCount; ++g) post->Names.push_back("g" + std::to_string(g));
  post->numberOfGlyphs = uint16_t(GlyphCount);
  f.AddTable(std::move(post));
  auto cmap = std::make_unique<TTableCmap>();
  TCmapEncodingSubTable* unicode = cmap->CreateSubTable(3, 1);
  unicode->AddMapping(9, 0x41);
  unicode->AddMapping(3, 0xC4);
  unicode->AddMapping(1, 0x31);
  f.AddTable(std::move(cmap));
  auto kern = std::make_unique<TTableKern>();
  kern->AddPair({3, 7, -40});
  kern->AddPair({9, 1, -20});
  kern->AddPair({5, 6, 15});
  f.AddTable(std::move(kern));
  auto os2 = std::make_unique<TTableOS_2>();
  os2->xAvgCharWidth = 512;
  f.AddTable(std::move(os2));
}

// Every table's file form, the instructions, and every glyph's snapshot.
struct TCommandState {
  TFontState Tables;
  std::vector<uint8_t> Outlines;
  bool operator==(const TCommandState&) const = default;
};

inline TCommandState CommandStateOf(const tsy::TTrueTypeFont& F) {
  TCommandState s{StateOf(F), {}};
  tsy::TMemoryStream m;
  for (size_t g = 0; g < F.GlyphCount(); ++g) F.Outlines.WriteSnapshot(int(g), m);
  s.Outlines = m.Bytes();
  return s;
}

}  // namespace tsytest
