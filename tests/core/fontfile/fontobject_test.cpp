// The font object: load checks and repairs, the values recomputed before a
// save, and the font-wide operations on glyphs.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/openfont.h"
#include "fontfile/fontexception.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/glyf.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hhea.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/kern.h"
#include "fontfile/tables/loca.h"
#include "fontfile/tables/maxp.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/post.h"
#include "fontfile/truetypefont.h"
#include "fontfile/warnings.h"
#include "settings/registrysettings.h"
#include "support/fontbuilder.h"

using namespace tsy;
using tsytest::Bytes;

namespace {

std::unique_ptr<TOutlineSimple> Simple(std::vector<std::pair<int, int>> Points, std::vector<uint8_t> Instr = {}) {
  auto s = std::make_unique<TOutlineSimple>();
  TContour c;
  for (auto [x, y] : Points) c.AddPoint({double(x), double(y), true});
  s->Contours.push_back(c);
  s->Instructions = std::move(Instr);
  return s;
}

std::unique_ptr<TOutlineComposite> Composite(uint16_t Glyph, double Dx, bool UseMyMetrics = false) {
  auto c = std::make_unique<TOutlineComposite>();
  TCompositeMember m;
  m.GlyphIndex = Glyph;
  m.OffsetX = Dx;
  m.UseMyMetrics = UseMyMetrics;
  c->Members.push_back(m);
  return c;
}

// Seven glyphs: 0 empty, 1 square with 3 instruction bytes, 2 triangle
// reaching below the baseline, 3 wide quadrilateral, 4 the square moved right
// by 100, 5 small triangle, 6 glyph 3 with its metrics. Advance widths 0 and
// 510..560, left side bearings 0..6. Names "n0".."n6"; 'a', 'c', 'e' map to
// 1, 3, 5; kerning pairs (3, 5) and (1, 3).
void BuildFont(TTrueTypeFont& Font) {
  Font.Clear();
  auto head = std::make_unique<TTableHead>();
  head->unitsPerEm = 1000;
  Font.AddTable(std::move(head));
  Font.AddTable(std::make_unique<TTableHhea>());
  auto maxp = std::make_unique<TTableMaxp>();
  maxp->numGlyphs = 7;
  Font.AddTable(std::move(maxp));
  Font.AddTable(std::make_unique<TTableLoca>());
  Font.AddTable(std::make_unique<TTableGlyf>());
  auto hmtx = std::make_unique<TTableHmtx>();
  auto post = std::make_unique<TTablePost>();
  post->SetHasGlyphNames(true);
  for (int i = 0; i < 7; ++i) {
    hmtx->Metrics.push_back({uint16_t(i == 0 ? 0 : 500 + 10 * i), int16_t(i)});
    post->AddName("n" + std::to_string(i));
  }
  hmtx->NumGlyphs = hmtx->NumberOfHMetrics = 7;
  Font.AddTable(std::move(hmtx));
  Font.AddTable(std::move(post));
  auto cmap = std::make_unique<TTableCmap>();
  TCmapEncodingSubTable* unicode = cmap->CreateSubTable(3, 1);
  unicode->AddMapping(1, 'a');
  unicode->AddMapping(3, 'c');
  unicode->AddMapping(5, 'e');
  Font.AddTable(std::move(cmap));
  auto kern = std::make_unique<TTableKern>();
  kern->AddPair({3, 5, -50});
  kern->AddPair({1, 3, -20});
  Font.AddTable(std::move(kern));
  Font.EnsureOS2Table();

  Font.Outlines.SetOutline(0, std::make_unique<TOutlineEmpty>());
  Font.Outlines.SetOutline(1, Simple({{0, 0}, {0, 700}, {400, 700}, {400, 0}}, {1, 2, 3}));
  Font.Outlines.SetOutline(2, Simple({{10, -100}, {150, 800}, {300, 0}}));
  Font.Outlines.SetOutline(3, Simple({{-50, 0}, {0, 500}, {600, 500}, {550, 0}}));
  Font.Outlines.SetOutline(4, Composite(1, 100));
  Font.Outlines.SetOutline(5, Simple({{0, 0}, {50, 100}, {100, 0}}));
  Font.Outlines.SetOutline(6, Composite(3, 0, true));
  Font.Outlines.ResolveReferences();
  for (size_t i = 0; i < 7; ++i) Font.Outlines.Items(i)->UpdateBounds();
}

Bytes Save(TTrueTypeFont& Font) {
  TMemoryStream m;
  Font.SaveToStream(m);
  return m.Bytes();
}

void Load(TTrueTypeFont& Font, const Bytes& B) {
  TReadOnlyStream s(B.data(), B.size());
  Font.LoadFromStream(s);
}

bool HasWarning(const std::string& Text) {
  for (const std::string& w : TWarningCollector::Warnings())
    if (w.find(Text) != std::string::npos) return true;
  return false;
}

void AddFpgm(TTrueTypeFont& Font, size_t Size) {
  auto fpgm = std::make_unique<TTableHinting>("fpgm");
  fpgm->Data.Bytes().assign(Size, 0xB0);
  Font.AddTable(std::move(fpgm));
}

}  // namespace

TEST(FontObject, SaveRecomputesTheSummaryValues) {
  for (const bool withFpgm : {false, true}) {
    TTrueTypeFont font;
    BuildFont(font);
    if (withFpgm) AddFpgm(font, 10);  // larger than glyph 1's 3 instruction bytes
    TTrueTypeFont saved;
    Load(saved, Save(font));
    ASSERT_EQ(saved.GlyphCount(), 7u);

    const TTableHead& head = *saved.Head();
    EXPECT_EQ(head.xMin, -50);  // glyph 3
    EXPECT_EQ(head.yMin, -100);  // glyph 2
    EXPECT_EQ(head.xMax, 600);
    EXPECT_EQ(head.yMax, 800);

    const TTableMaxp& maxp = *saved.Maxp();
    EXPECT_EQ(maxp.maxPoints, 4);
    EXPECT_EQ(maxp.maxContours, 1);
    EXPECT_EQ(maxp.maxCompositePoints, 4);
    EXPECT_EQ(maxp.maxCompositeContours, 1);
    EXPECT_EQ(maxp.maxComponentElements, 1);
    EXPECT_EQ(maxp.maxComponentDepth, 1);
    EXPECT_EQ(maxp.maxSizeOfInstructions, withFpgm ? 10 : 3);

    const TTableHhea& hhea = *saved.Hhea();
    EXPECT_EQ(hhea.advanceWidthMax, 560);
    // Glyph 0 has no contours and glyph 6 takes its metrics from glyph 3:
    // neither counts for the side bearings.
    EXPECT_EQ(hhea.minLeftSideBearing, 1);
    EXPECT_EQ(hhea.minRightSideBearing, 530 - 3 - 650);
    EXPECT_EQ(hhea.xMaxExtent, 3 + 650);
  }
}

TEST(FontObject, CharacterRangeIsAlwaysRecomputedAverageWidthOnlyWhenAsked) {
  TTrueTypeFont font;
  BuildFont(font);
  TTrueTypeFont saved;
  Load(saved, Save(font));  // both switches off
  EXPECT_EQ(saved.OS2()->xAvgCharWidth, 904);
  EXPECT_EQ(saved.OS2()->usFirstCharIndex, 'a');
  EXPECT_EQ(saved.OS2()->usLastCharIndex, 'e');

  saved.RecalcAverageCharWidth = true;
  TTrueTypeFont again;
  Load(again, Save(saved));
  // Not every letter is mapped: the mean of all seven advance widths.
  EXPECT_EQ(again.OS2()->xAvgCharWidth, 3210 / 7);
}

TEST(FontObject, AverageCharWidthVariants) {
  TTrueTypeFont font;
  BuildFont(font);
  EXPECT_EQ(font.CalcAverageCharWidth(1), 3210 / 7);  // letters missing: mean of all
  EXPECT_EQ(font.CalcAverageCharWidth(3), 3210 / 6);  // version 3: mean of the non-zero widths
  TCmapEncodingSubTable* unicode = font.Cmap()->FindSubTable(3, 1);
  for (char c = 'a'; c <= 'z'; ++c) unicode->AddMapping(c == 'e' ? 2 : 1, uint32_t(c));
  unicode->AddMapping(5, ' ');
  // Weighted: e (weight 100) is 520 wide, space (166) 550, the rest 510.
  EXPECT_EQ(font.CalcAverageCharWidth(2), (510 * (1000 - 100 - 166) + 520 * 100 + 550 * 166) / 1000);

  font.Cmap()->DeleteSubTable(3, 1);
  EXPECT_EQ(font.CalcAverageCharWidth(1), 3210 / 7);  // neither Unicode nor symbol
  bool all = false;
  EXPECT_THROW(font.CalcWeightedAverageCharWidth(all), FontException);
  font.Cmap()->CreateSubTable(3, 0)->AddMapping(1, 0xF041);
  EXPECT_EQ(font.CalcAverageCharWidth(1), 3210 / 6);  // symbol font
}

TEST(FontObject, RecalculatedBoundingBoxes) {
  TTrueTypeFont font;
  BuildFont(font);
  // A stale box on the one glyph below the baseline: kept unless the switch
  // asks for fresh ones.
  font.Outlines.Items(2)->Bounds = {10, 0, 300, 800};
  TTrueTypeFont kept;
  Load(kept, Save(font));
  EXPECT_EQ(kept.Outlines.Items(2)->Bounds.YMin, 0);
  EXPECT_EQ(kept.Head()->yMin, 0);

  BuildFont(font);
  font.Outlines.Items(2)->Bounds = {10, 0, 300, 800};
  font.RecalcGlyphBoundingBoxes = true;
  TTrueTypeFont fresh;
  Load(fresh, Save(font));
  EXPECT_EQ(fresh.Outlines.Items(2)->Bounds.YMin, -100);
  EXPECT_EQ(fresh.Head()->yMin, -100);
}

TEST(FontObject, ValueTooLargeForItsFieldStopsTheSaveAndNamesTheGlyph) {
  TTrueTypeFont font;
  BuildFont(font);
  font.Outlines.SetOutline(5, Simple({{0, 0}, {40000, 0}, {0, 100}}));
  font.Outlines.Items(5)->UpdateBounds();
  const std::string dir = tsytest::MakeTempDir(), file = dir + "/kept.ttf";
  tsytest::WriteFileBytes(file, {1, 2, 3});
  try {
    font.SaveToFile(file);
    FAIL() << "saved";
  } catch (const ERangeError& e) {
    EXPECT_NE(std::string(e.what()).find("head xMax of glyph 5 is 40000"), std::string::npos) << e.what();
  }
  EXPECT_EQ(tsytest::ReadFileBytes(file), (Bytes{1, 2, 3}));
  std::filesystem::remove_all(dir);
}

TEST(FontObject, SwapGlyphsExchangesEverythingThatNamesThem) {
  TTrueTypeFont font;
  BuildFont(font);
  const TOutlineBase* three = font.Outlines.Items(3);
  const TOutlineBase* five = font.Outlines.Items(5);
  font.SwapGlyphs(3, 5);
  EXPECT_EQ(font.Outlines.Items(5), three);
  EXPECT_EQ(font.Outlines.Items(3), five);
  EXPECT_EQ(font.Post()->GetName(3), "n5");
  EXPECT_EQ(font.Post()->GetName(5), "n3");
  EXPECT_EQ(font.Hmtx()->AdvanceWidth(3), 550);
  EXPECT_EQ(font.Hmtx()->LeftSideBearing(5), 3);
  EXPECT_GE(font.Kern()->FindPair(5, 3), 0);
  EXPECT_GE(font.Kern()->FindPair(1, 5), 0);
  EXPECT_LT(font.Kern()->FindPair(3, 5), 0);
  EXPECT_EQ(font.Cmap()->UnicodeGlyph('c'), 5);
  EXPECT_EQ(font.Cmap()->UnicodeGlyph('e'), 3);
  auto* c = dynamic_cast<TOutlineComposite*>(font.Outlines.Items(6));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Members[0].GlyphIndex, 5);
  EXPECT_EQ(c->Members[0].Outline, three);

  EXPECT_THROW(font.SwapGlyphs(3, 7), std::out_of_range);
  EXPECT_EQ(font.Post()->GetName(3), "n5");  // nothing moved
}

TEST(FontObject, RenumberingDropsRawTablesThatIndexGlyphs) {
  TTrueTypeFont font;
  BuildFont(font);
  for (const char* tag : {"GSUB", "GPOS", "hdmx", "DSIG"}) {
    auto t = std::make_unique<TTableUnknown>(tag);
    t->Data.Bytes() = {0, 1, 0, 0};
    font.AddTable(std::move(t));
  }
  TWarningCollector::Clear();
  font.SwapGlyphs(2, 2);  // no change, nothing dropped
  EXPECT_TRUE(font.FindTable("GSUB"));

  font.DeleteGlyph(5);
  EXPECT_EQ(font.GlyphCount(), 6u);
  EXPECT_EQ(font.Maxp()->numGlyphs, 6);
  EXPECT_FALSE(font.FindTable("GSUB"));
  EXPECT_FALSE(font.FindTable("GPOS"));
  EXPECT_FALSE(font.FindTable("hdmx"));
  EXPECT_TRUE(font.FindTable("DSIG"));  // says nothing about glyph indices
  EXPECT_TRUE(font.FindTable("kern"));  // typed tables follow the glyphs
  EXPECT_TRUE(HasWarning("Tables GPOS, GSUB, hdmx removed"));

  font.InsertEmptyGlyph(0);
  EXPECT_EQ(font.Maxp()->numGlyphs, 7);
  EXPECT_EQ(font.Outlines.Items(0)->GetKind(), okEmpty);
  EXPECT_EQ(dynamic_cast<TOutlineComposite*>(font.Outlines.Items(5))->Members[0].GlyphIndex, 2);  // was glyph 4
}

TEST(FontObject, HintingQueriesAndStyle) {
  TTrueTypeFont font;
  BuildFont(font);
  AddFpgm(font, 4);
  font.AddTable(std::make_unique<TTableHinting>("prep"));
  font.AddTable(std::make_unique<TTableHinting>("cvt "));
  EXPECT_TRUE(font.HasGlyphInstructions());
  font.RemoveHinting();
  EXPECT_FALSE(font.HasGlyphInstructions());
  for (const char* tag : {"fpgm", "prep", "cvt "}) EXPECT_FALSE(font.FindTable(tag)) << tag;

  EXPECT_FALSE(font.IsMonospaced());
  font.OS2()->PANOSE[3] = 9;
  EXPECT_TRUE(font.IsMonospaced());
  EXPECT_EQ(font.StyleFlags(), 0);
  font.OS2()->fsSelection = 0x0021;
  EXPECT_EQ(font.StyleFlags(), 3);
  font.RemoveTable("OS/2");
  EXPECT_TRUE(font.IsMonospaced());
  font.EnsureOS2Table();
  EXPECT_EQ(font.OS2()->usWinDescent, -434);
  EXPECT_EQ(font.OS2()->sTypoAscender, 1491);

  size_t found = 0;
  EXPECT_TRUE(font.FindGlyphByName("N4", 0, true, false, found));
  EXPECT_EQ(found, 4u);
}

TEST(FontObject, PostWithAnotherGlyphCountLosesItsNames) {
  TTrueTypeFont font;
  BuildFont(font);
  font.Post()->DeleteName(6);  // six names for seven glyphs
  const Bytes b = Save(font);
  TWarningCollector::Clear();
  TTrueTypeFont loaded;
  Load(loaded, b);
  EXPECT_TRUE(HasWarning("Post numberOfGlyphs (6) does not equal Maxp numGlyphs (7)."));
  EXPECT_FALSE(loaded.Post()->HasGlyphNames());
  EXPECT_EQ(loaded.Post()->format, 0x00030000);
}

TEST(FontObject, FontWithoutMaxpOrCmapIsRefusedWithAMessage) {
  TTrueTypeFont font;
  BuildFont(font);
  const Bytes good = Save(font);
  for (const char* missing : {"maxp", "cmap"}) {
    // Rename the table in the directory so the loader does not see it.
    Bytes b = good;
    for (size_t e = 12; e + 16 <= 12 + 16 * size_t(tsytest::ReadBE16(b, 4)); e += 16)
      if (std::string(b.begin() + long(e), b.begin() + long(e) + 4) == missing) b[e] = 'x';
    TTrueTypeFont t;
    try {
      Load(t, b);
      ADD_FAILURE() << missing;
    } catch (const FontException& e) {
      const std::string text = e.what();
      EXPECT_EQ(text, missing == std::string("cmap") ? "Cmap table missing!" : "Maxp, Glyf and/ or Loca table(s) missing!");
    }
  }
}

TEST(FontObject, OpenAndSaveWithTheEditorsSettings) {
  TTrueTypeFont font;
  BuildFont(font);
  font.RemoveTable("OS/2");
  for (const char* tag : {"DSIG", "LTSH", "zzzz"}) {
    auto t = std::make_unique<TTableUnknown>(tag);
    t->Data.Bytes() = {0, 1, 0, 0};
    font.AddTable(std::move(t));
  }
  const std::string dir = tsytest::MakeTempDir(), file = dir + "/f.ttf";
  font.SaveToFile(file);

  TRegistrySettings settings(std::make_shared<TMemorySettingsBackend>());
  auto opened = OpenFontFile(file, settings);  // defaults: LTSH goes, DSIG stays
  EXPECT_TRUE(opened->FindTable("DSIG"));
  EXPECT_FALSE(opened->FindTable("LTSH"));
  EXPECT_TRUE(opened->FindTable("zzzz"));
  EXPECT_TRUE(opened->OS2());
  PrepareFontForSave(*opened, settings);
  EXPECT_TRUE(opened->RecalcAverageCharWidth);
  EXPECT_FALSE(opened->RecalcGlyphBoundingBoxes);
  EXPECT_TRUE(opened->Hmtx()->Compress);

  settings.SetIgnoreUnsupportedTables(true);
  settings.SetIgnoreHintingData(true);
  auto bare = OpenFontFile(file, settings);
  EXPECT_FALSE(bare->FindTable("DSIG"));
  EXPECT_FALSE(bare->FindTable("zzzz"));
  EXPECT_FALSE(bare->HasGlyphInstructions());
  bare->OS2()->PANOSE[3] = 9;  // monospaced fonts keep a full hmtx by default
  PrepareFontForSave(*bare, settings);
  EXPECT_FALSE(bare->Hmtx()->Compress);
  std::filesystem::remove_all(dir);
}
