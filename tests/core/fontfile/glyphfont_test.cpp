// The font's glyph path: glyph records decoded at load, re-encoded at save,
// and the header values that follow the glyph tables.
#include <gtest/gtest.h>

#include <filesystem>

#include "fontfile/fontexception.h"
#include "fontfile/tables/glyf.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/loca.h"
#include "fontfile/tables/hhea.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/maxp.h"
#include "fontfile/truetypefont.h"
#include "fontfile/warnings.h"
#include "support/fontbuilder.h"

using namespace tsy;
using tsytest::Bytes;
using tsytest::Put16;
using tsytest::Put32;

namespace {

// A simple record: one contour, the given points as (x, y) on-curve with
// word deltas.
Bytes SimpleRecord(std::vector<std::pair<int, int>> Points) {
  Bytes b;
  Put16(b, 1);
  for (int i = 0; i < 4; ++i) Put16(b, 0);
  Put16(b, uint16_t(Points.size() - 1));
  Put16(b, 0);
  for (size_t i = 0; i < Points.size(); ++i) b.push_back(0x01);
  int px = 0, py = 0;
  for (auto [x, y] : Points) Put16(b, uint16_t(x - px)), px = x;
  for (auto [x, y] : Points) Put16(b, uint16_t(y - py)), py = y;
  return b;
}

Bytes CompositeRecord(uint16_t Glyph, int Dx) {
  Bytes b;
  for (int v : {-1, 0, 0, 0, 0, 0x0003, int(Glyph), Dx, 0}) Put16(b, uint16_t(v));
  return b;
}

struct TFixture {
  std::vector<Bytes> Records;
  int16_t LocFormat = 1;
  int MaxpGlyphs = -1;   // default: the record count
  int LocaGlyphs = -1;   // default: the record count
  uint16_t NumberOfHMetrics = 0;  // default: the record count
};

Bytes GlyphFont(const TFixture& F) {
  const int n = int(F.Records.size());
  Bytes glyf, loca;
  auto putOffset = [&](size_t o) {
    if (F.LocFormat == 0)
      Put16(loca, uint32_t(o / 2));
    else
      Put32(loca, uint32_t(o));
  };
  const int locaGlyphs = F.LocaGlyphs < 0 ? n : F.LocaGlyphs;
  for (int i = 0; i < locaGlyphs; ++i) {
    putOffset(glyf.size());
    if (i < n) glyf.insert(glyf.end(), F.Records[i].begin(), F.Records[i].end());
    if (glyf.size() % 2) glyf.push_back(0);
  }
  putOffset(glyf.size());

  Bytes head = tsytest::MinimalHead();
  head[50] = uint8_t(F.LocFormat >> 8);
  head[51] = uint8_t(F.LocFormat);
  const uint16_t full = F.NumberOfHMetrics ? F.NumberOfHMetrics : uint16_t(n);
  Bytes hhea;
  Put32(hhea, 0x00010000);
  for (int i = 0; i < 15; ++i) Put16(hhea, 0);
  Put16(hhea, full);
  Bytes maxp;
  Put32(maxp, 0x00005000);
  Put16(maxp, uint16_t(F.MaxpGlyphs < 0 ? n : F.MaxpGlyphs));
  Bytes hmtx;
  for (int i = 0; i < n; ++i) {
    if (i < full) Put16(hmtx, uint16_t(500 + 10 * i));
    Put16(hmtx, uint16_t(i));
  }
  return tsytest::BuildSfnt(
      {{"cmap", {0, 0, 0, 0}}, {"glyf", glyf}, {"head", head}, {"hhea", hhea}, {"hmtx", hmtx}, {"loca", loca},
       {"maxp", maxp}});
}

void Load(TTrueTypeFont& Font, const Bytes& B) {
  TReadOnlyStream s(B.data(), B.size());
  Font.LoadFromStream(s);
}

Bytes Save(TTrueTypeFont& Font) {
  TMemoryStream m;
  Font.SaveToStream(m);
  return m.Bytes();
}

bool HasWarning(const std::string& Text) {
  for (const std::string& w : TWarningCollector::Warnings())
    if (w.find(Text) != std::string::npos) return true;
  return false;
}

TFixture ThreeGlyphs() {
  TFixture f;
  f.Records = {{}, SimpleRecord({{0, 0}, {300, 0}, {300, 700}}), CompositeRecord(1, 50)};
  return f;
}

}  // namespace

TEST(GlyphFont, LoadsOneOutlinePerGlyph) {
  TTrueTypeFont font;
  Load(font, GlyphFont(ThreeGlyphs()));
  ASSERT_EQ(font.GlyphCount(), 3u);
  EXPECT_EQ(font.Outlines.Items(0)->GetKind(), okEmpty);
  auto* s = dynamic_cast<TOutlineSimple*>(font.Outlines.Items(1));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Contours[0].Points[2], (TTrueTypePoint{300, 700, true}));
  auto* c = dynamic_cast<TOutlineComposite*>(font.Outlines.Items(2));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Members[0].Outline, s);
  // The raw glyph data is gone once the outlines hold it.
  EXPECT_EQ(font.Glyf()->Data.Size(), 0u);
  EXPECT_EQ(font.Loca()->OffsetCount(), 0u);
}

TEST(GlyphFont, SavedFontReopensWithTheSameOutlinesAndValues) {
  TFixture f = ThreeGlyphs();
  f.LocFormat = 1;  // long offsets in, short out: the data are tiny
  TTrueTypeFont font;
  Load(font, GlyphFont(f));
  font.Hmtx()->SetAdvanceWidth(2, 520);  // widths 500, 510, 520 ...
  font.Hmtx()->SetAdvanceWidth(1, 520);  // ... then 500, 520, 520: two full entries
  const Bytes saved = Save(font);
  EXPECT_EQ(font.Head()->indexToLocFormat, 0);
  EXPECT_EQ(font.Hhea()->numberOfHMetrics, 2);
  EXPECT_EQ(font.Glyf()->Data.Size(), 0u);  // released again after the save

  TTrueTypeFont again;
  Load(again, saved);
  EXPECT_TRUE(TWarningCollector::Warnings().empty());
  ASSERT_EQ(again.GlyphCount(), 3u);
  for (int i = 0; i < 3; ++i) {
    TMemoryStream a, b;
    font.Outlines.WriteSnapshot(i, a);
    again.Outlines.WriteSnapshot(i, b);
    EXPECT_EQ(a.Bytes(), b.Bytes()) << "glyph " << i;
  }
  EXPECT_EQ(again.Hmtx()->Metrics, font.Hmtx()->Metrics);
  EXPECT_EQ(again.Head()->indexToLocFormat, 0);
  EXPECT_EQ(again.Head()->checkSumAdjustment, font.Head()->checkSumAdjustment);
  EXPECT_EQ(again.Head()->unitsPerEm, 1000);
  EXPECT_EQ(again.Maxp()->numGlyphs, 3);
  // Saving the reopened font gives the same file: a fixed point.
  EXPECT_EQ(Save(again), saved);
}

TEST(GlyphFont, LongAlignmentAndTwoByteAlignment) {
  TFixture f;
  f.Records = {SimpleRecord({{0, 0}, {1, 1}}), SimpleRecord({{0, 0}})};
  TTrueTypeFont font;
  Load(font, GlyphFont(f));
  // The records re-encode to 18 bytes (two flags, one x and one y byte) and
  // 15 bytes (one flag, no coordinates).
  font.Outlines.SaveToTables(font.Maxp(), font.Loca(), font.Glyf());
  EXPECT_EQ(font.Loca()->Offsets, (std::vector<uint32_t>{0, 20, 36}));
  font.SetLongAlignedGlyphs(false);
  font.Outlines.SaveToTables(font.Maxp(), font.Loca(), font.Glyf());
  EXPECT_EQ(font.Loca()->Offsets, (std::vector<uint32_t>{0, 18, 34}));
  TTrueTypeFont again;
  Load(again, Save(font));
  EXPECT_EQ(again.GlyphCount(), 2u);
  EXPECT_EQ(again.Outlines.Items(0)->GetPointCount(), 2);
}

TEST(GlyphFont, RepairsOnLoad) {
  TWarningCollector::Clear();
  TFixture f = ThreeGlyphs();
  f.Records.push_back(Bytes{0, 0, 1, 2, 3, 4, 5, 6, 7, 8});  // zero contours
  f.Records.push_back(Bytes{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 1});  // cut off
  f.MaxpGlyphs = 7;
  TTrueTypeFont font;
  Load(font, GlyphFont(f));
  EXPECT_EQ(font.GlyphCount(), 7u);
  EXPECT_TRUE(HasWarning("numglyphs loca (5) and maxp (7) are different."));
  EXPECT_TRUE(HasWarning("Unexpected number of contours 0 in glyph 3"));
  EXPECT_TRUE(HasWarning("Glyph 4: broken glyph record"));
  for (int i : {3, 4, 5, 6}) EXPECT_EQ(font.Outlines.Items(i)->GetKind(), okEmpty) << i;
}

TEST(GlyphFont, OffsetsBeyondTheGlyphData) {
  TFixture f = ThreeGlyphs();
  Bytes font = GlyphFont(f);
  // The loca table is the sixth directory entry; make glyph 1 end far away.
  const uint32_t locaOffset = tsytest::ReadBE32(font, 12 + 16 * 5 + 8);
  font[locaOffset + 8] = 0x7F;
  TWarningCollector::Clear();
  TTrueTypeFont t;
  Load(t, font);
  EXPECT_EQ(t.Outlines.Items(1)->GetKind(), okEmpty);
  EXPECT_TRUE(HasWarning("[fixed] Glyph index 1 offsets not correct"));
}

TEST(GlyphFont, UnknownLocaFormatFailsTheLoad) {
  TFixture f = ThreeGlyphs();
  f.LocFormat = 2;
  TTrueTypeFont font;
  try {
    Load(font, GlyphFont(f));
    FAIL();
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Wrong indexToLocFormat value 2");
  }
}

TEST(GlyphFont, FontWithoutGlyphsCannotBeSaved) {
  TFixture f;
  TTrueTypeFont font;
  Load(font, GlyphFont(f));
  const std::string dir = tsytest::MakeTempDir();
  try {
    font.SaveToFile(dir + "/none.ttf");
    FAIL();
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Fonts without glyphs can't be saved.");
  }
  EXPECT_FALSE(std::filesystem::exists(dir + "/none.ttf"));
  std::filesystem::remove_all(dir);
}

TEST(GlyphFont, WithoutOutlinesIsRefused) {
  Bytes maxp;
  Put32(maxp, 0x00005000);
  Put16(maxp, 0);
  TTrueTypeFont font;
  const Bytes b = tsytest::BuildSfnt({{"head", tsytest::MinimalHead()}, {"maxp", maxp}});
  try {
    Load(font, b);
    FAIL();
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Font without outline information not supported (version number 1.0).");
  }
}

TEST(GlyphFont, InstalledFontSurvivesASave) {
  const std::string path = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "DejaVu Sans is not installed";
  TTrueTypeFont font;
  font.LoadFromFile(path);
  TTrueTypeFont again;
  Load(again, Save(font));
  ASSERT_EQ(again.GlyphCount(), font.GlyphCount());
  for (size_t i = 0; i < font.GlyphCount(); ++i) {
    TMemoryStream a, b;
    font.Outlines.WriteSnapshot(int(i), a);
    again.Outlines.WriteSnapshot(int(i), b);
    ASSERT_EQ(a.Bytes(), b.Bytes()) << "glyph " << i;
  }
  EXPECT_EQ(again.Hmtx()->Metrics, font.Hmtx()->Metrics);
  EXPECT_TRUE(font.Head()->IsSameAs(*again.Head()));
  EXPECT_TRUE(font.Maxp()->IsSameAs(*again.Maxp()));
  EXPECT_TRUE(font.Hhea()->IsSameAs(*again.Hhea()));
}
