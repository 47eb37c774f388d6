// The template fonts of New Font, the values a new font takes from the
// dialog, and backup files.
#include <gtest/gtest.h>

#include <fstream>

#include "common/resources.h"
#include "document/newfont.h"
#include "document/openfont.h"
#include "fontfile/fontexception.h"
#include "fontfile/stream.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hhea.h"
#include "fontfile/tables/maxp.h"
#include "fontfile/tables/name.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/post.h"
#include "fontfile/truetypefont.h"
#include "outline/outline.h"
#include "support/fontbuilder.h"

using namespace tsy;

namespace {

std::vector<std::string> GlyphNameLines() {
  return {"# comment", "0041;A", "0020;space", "00E9;eacute", "broken line", "0042;B"};
}

std::unique_ptr<TTrueTypeFont> LoadTemplate(TTemplateKind Kind) {
  auto bytes = std::make_shared<const std::vector<uint8_t>>(BuildTemplateFont(Kind, GlyphNameLines()));
  auto font = std::make_unique<TTrueTypeFont>();
  TReadOnlyStream s(bytes);
  font->LoadFromStream(s);
  return font;
}

std::u16string NameOf(const TTrueTypeFont& Font, uint16_t Platform, uint16_t Encoding, uint16_t Language, uint16_t Id) {
  std::u16string text;
  const TNamePlatformList* group = Font.Name()->FindPlatform(Platform, Encoding);
  if (group) group->GetName(Language, Id, text);
  return text;
}

}  // namespace

TEST(TemplateFont, HeaderValuesGlyphsAndMappings) {
  struct TCase {
    TTemplateKind Kind;
    uint16_t Flags, NumGlyphs, MaxFunctionDefs, MaxStackElements, Encoding;
    int16_t Direction, Ascender, Descender, LineGap;
    uint32_t MappedChar;
    const char* NameOfMapped;
  } cases[] = {
      {TTemplateKind::Unicode, 11, 653, 66, 1036, 1, 1, 1854, -434, 67, 0x41, "A"},
      {TTemplateKind::Symbol, 9, 226, 70, 293, 0, 2, 1638, -410, 0, 0xF041, "uniF041"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(int(c.Kind));
    auto font = LoadTemplate(c.Kind);
    const TTableHead& head = *font->Head();
    EXPECT_EQ(head.version, 0x00010000);
    EXPECT_EQ(head.fontRevision, 0x00010000);
    EXPECT_EQ(head.flags, c.Flags);
    EXPECT_EQ(head.unitsPerEm, 2048);
    EXPECT_EQ(head.macStyle, 0);
    EXPECT_EQ(head.lowestRecPPEM, 9);
    EXPECT_EQ(head.fontDirectionHint, c.Direction);
    EXPECT_EQ(head.indexToLocFormat, 0);
    // The .notdef box sets the font's extent when it is saved.
    EXPECT_EQ(head.xMin, 128);
    EXPECT_EQ(head.yMax, 1456);
    EXPECT_EQ(font->Hhea()->ascender, c.Ascender);
    EXPECT_EQ(font->Hhea()->descender, c.Descender);
    EXPECT_EQ(font->Hhea()->lineGap, c.LineGap);
    EXPECT_EQ(font->Hhea()->caretSlopeRise, 1);
    const TTableMaxp& maxp = *font->Maxp();
    EXPECT_EQ(maxp.numGlyphs, c.NumGlyphs);
    EXPECT_EQ(font->GlyphCount(), c.NumGlyphs);
    EXPECT_EQ(maxp.maxZones, 2);
    EXPECT_EQ(maxp.maxTwilightPoints, 16);
    EXPECT_EQ(maxp.maxStorage, 47);
    EXPECT_EQ(maxp.maxFunctionDefs, c.MaxFunctionDefs);
    EXPECT_EQ(maxp.maxInstructionDefs, 0);
    EXPECT_EQ(maxp.maxStackElements, c.MaxStackElements);
    EXPECT_EQ(maxp.maxPoints, 8);
    EXPECT_EQ(maxp.maxContours, 2);
    // One cmap subtable of the template's kind; every glyph but the first
    // (and the Symbol font's .null) is mapped.
    TTableCmap& cmap = *font->Cmap();
    ASSERT_EQ(cmap.SubTableCount(), 1u);
    ASSERT_NE(cmap.FindSubTable(3, c.Encoding), nullptr);
    const TCmapEncodingSubTable& sub = *cmap.FindSubTable(3, c.Encoding);
    EXPECT_EQ(sub.Mappings.Count(), c.Kind == TTemplateKind::Unicode ? 652u : 224u);
    const int32_t glyph = sub.Mappings.GlyphOf(c.MappedChar);
    ASSERT_GT(glyph, 0);
    EXPECT_EQ(font->Post()->GetName(size_t(glyph)), c.NameOfMapped);
    EXPECT_EQ(font->Post()->GetName(0), ".notdef");
    EXPECT_EQ(font->Outlines.Items(0)->GetKind(), okSimple);
    EXPECT_NE(font->OS2(), nullptr);
  }
  // Characters without a name in the list get a uniXXXX name.
  auto unicode = LoadTemplate(TTemplateKind::Unicode);
  const int32_t glyph = unicode->Cmap()->FindSubTable(3, 1)->Mappings.GlyphOf(0x0410);
  ASSERT_GT(glyph, 0);
  EXPECT_EQ(unicode->Post()->GetName(size_t(glyph)), "uni0410");
}

TEST(NewFont, StylesSetTheirBitsAndNames) {
  struct TCase {
    const char* Style;
    int Code;
    uint16_t MacStyle, FsSelection, Weight;
    int32_t ItalicAngle;
    const char16_t* FullName;
    const char16_t* PostScriptName;
  } cases[] = {
      {"Regular", 0, 0, 64, 400, 0, u"My Font", u"MyFont"},
      {"Italic", 1, 2, 1, 400, -1070203, u"My Font Italic", u"MyFont-Italic"},
      {"Bold", 2, 1, 32, 700, 0, u"My Font Bold", u"MyFont-Bold"},
      {"Bold Italic", 3, 3, 33, 700, -1070203, u"My Font Bold Italic", u"MyFont-BoldItalic"},
  };
  // 2026-12-11 15:30:00 in seconds since 1904.
  const int64_t now = DateTimeToLongDateTime(EncodeDateTime(2026, 12, 11, 15, 30, 0));
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Style);
    auto font = LoadTemplate(TTemplateKind::Unicode);
    font->Head()->fontRevision = 0x00020000;
    EXPECT_EQ(ApplyNewFontValues(*font, "My Font", c.Style, now), c.Code);
    EXPECT_EQ(font->Head()->created, now);
    EXPECT_EQ(font->Head()->modified, now);
    EXPECT_EQ(font->Head()->fontRevision, 0x00010000);
    EXPECT_EQ(font->Head()->macStyle, c.MacStyle);
    EXPECT_EQ(font->OS2()->fsSelection, c.FsSelection);
    EXPECT_EQ(font->OS2()->usWeightClass, c.Weight);
    EXPECT_EQ(font->OS2()->PANOSE[2], c.Weight == 700 ? 8 : 0);
    EXPECT_EQ(font->Post()->italicAngle, c.ItalicAngle);
    for (auto [platform, encoding, language] : {std::tuple<uint16_t, uint16_t, uint16_t>{3, 1, 1033}, {1, 0, 0}}) {
      EXPECT_EQ(NameOf(*font, platform, encoding, language, 1), u"My Font");
      EXPECT_EQ(NameOf(*font, platform, encoding, language, 4), c.FullName);
      EXPECT_EQ(NameOf(*font, platform, encoding, language, 6), c.PostScriptName);
      EXPECT_EQ(NameOf(*font, platform, encoding, language, 5), u"Version 1.00 December 11, 2026, initial release");
    }
  }
}

TEST(NewFont, SymbolTemplateGetsItsNamesInTheSymbolGroup) {
  auto font = LoadTemplate(TTemplateKind::Symbol);
  ApplyNewFontValues(*font, "Signs \xC3\xA9", "Regular", 0);
  EXPECT_EQ(NameOf(*font, 3, 0, 1033, 1), u"Signs \u00E9");
  EXPECT_EQ(NameOf(*font, 3, 0, 1033, 3), u"Signs \u00E9:Version 1.00");
  // The PostScript name keeps only printable ASCII.
  EXPECT_EQ(NameOf(*font, 3, 0, 1033, 6), u"Signs");
  EXPECT_EQ(font->Name()->FindPlatform(3, 1), nullptr);
}

TEST(BackupFile, LoadsTheFontAtTheStoredOffset) {
  EXPECT_TRUE(IsBackupFileName("/a/b/Font.BAK"));
  EXPECT_TRUE(IsBackupFileName("x.bak"));
  EXPECT_FALSE(IsBackupFileName("x.bak.ttf"));
  EXPECT_FALSE(IsBackupFileName("bak"));

  const tsytest::Bytes sfnt = tsytest::BuildSfnt(tsytest::MinimalFontTables());
  const std::string dir = tsytest::MakeTempDir();
  auto backup = [&](uint32_t Offset, size_t Padding, size_t Cut = 0) {
    tsytest::Bytes b = {'T', 'S', 'Y', '4'};
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(Offset >> (8 * i)));  // little-endian
    b.resize(8 + Padding, 0xEE);
    b.insert(b.end(), sfnt.begin(), sfnt.end() - long(Cut));
    tsytest::WriteFileBytes(dir + "/f.bak", b);
    return dir + "/f.bak";
  };
  TTrueTypeFont font;
  LoadBackupFont(font, backup(40, 32));
  EXPECT_EQ(font.GlyphCount(), 1u);
  EXPECT_EQ(font.Head()->unitsPerEm, 1000);

  // Offsets outside the file, a header too short for the offset, and a font
  // cut short all fail with a font-data error.
  EXPECT_THROW(LoadBackupFont(font, backup(1u << 30, 32)), FontException);
  EXPECT_THROW(LoadBackupFont(font, backup(40 + uint32_t(sfnt.size()), 32)), FontException);
  EXPECT_THROW(LoadBackupFont(font, backup(40, 32, sfnt.size() - 20)), FontException);
  tsytest::WriteFileBytes(dir + "/short.bak", {'T', 'S', 'Y'});
  EXPECT_THROW(LoadBackupFont(font, dir + "/short.bak"), FontException);
}
