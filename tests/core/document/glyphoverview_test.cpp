// The per-glyph data the overview shows, on a five-glyph font with a
// composite, several subtables and unmapped glyphs.
#include "document/glyphoverview.h"

#include <gtest/gtest.h>

#include "core/document/overview_support.h"

namespace tsy {
namespace {

using Captions = std::vector<std::string>;

TEST(GlyphOverview, CaptionsFollowTheCaptionType) {
  auto font = tsytest::OverviewFont();
  struct Case {
    int Type;
    bool Hex;
    Captions Expected;
  };
  const Case cases[] = {
      {ctPostScriptName, true, {".notdef", "A", "acute", "Aacute", "orphan"}},
      {ctUnicodeMappings, true, {"", "$0041", "", "", ""}},
      {ctMacintoshMappings, false, {"", "65", "", "", ""}},
      {ctISOMappings, true, {"", "", "", "", ""}},
      // Every code of the glyph, in mapping order, joined by "-".
      {ctMicrosoftMappings, true, {"", "$0041", "$00b4", "$00c1-$01cd", ""}},
      {ctMicrosoftMappings, false, {"", "65", "180", "193-461", ""}},
      {ctGlyphIndex, true, {"$0000", "$0001", "$0002", "$0003", "$0004"}},
      {ctGlyphIndex, false, {"0", "1", "2", "3", "4"}},
      {9, true, {"", "", "", "", ""}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BuildGlyphCaptions(*font, c.Type, c.Hex), c.Expected) << "type " << c.Type << " hex " << c.Hex;
}

TEST(GlyphOverview, CaptionsOfSeveralSubtablesOfOnePlatformAreJoined) {
  auto font = tsytest::OverviewFont();
  font->Cmap()->SubTables.Insert(3, 10)->AddMapping(1, 0x1D400);
  EXPECT_EQ(BuildGlyphCaptions(*font, ctMicrosoftMappings, true)[1], "$0041-$1d400");
}

TEST(GlyphOverview, TypesMarkGlyphsUsedByComposites) {
  auto font = tsytest::OverviewFont();
  EXPECT_EQ(BuildGlyphTypes(*font), (std::vector<uint8_t>{0, 3, 3, 4, 2}));
  EXPECT_STREQ(GlyphTypeName(3), "simple with dependancy");
  EXPECT_STREQ(GlyphTypeName(4), "composite");
  EXPECT_STREQ(GlyphTypeName(7), "");
}

TEST(GlyphOverview, MappedGlyphsAndSampleCharacters) {
  auto font = tsytest::OverviewFont();
  EXPECT_EQ(BuildMappedGlyphs(*font), (std::vector<bool>{false, true, true, true, false}));
  // The first code of each glyph; a later Microsoft subtable wins.
  EXPECT_EQ(BuildSampleCharacters(*font), (std::vector<int64_t>{-1, 0x41, 0xB4, 0xC1, -1}));
  font->Cmap()->SubTables.Insert(3, 10)->AddMapping(3, 0x1D400);
  EXPECT_EQ(BuildSampleCharacters(*font)[3], 0x1D400);
}

TEST(GlyphOverview, MetricsGlyphFollowsTheLendingMemberAndStopsOnCycles) {
  auto font = tsytest::OverviewFont();
  EXPECT_EQ(MetricsGlyph(*font, 3), 1);
  EXPECT_EQ(MetricsGlyph(*font, 2), 2);
  // A composite that lends its metrics from itself must not loop.
  auto* composite = dynamic_cast<TOutlineComposite*>(font->Outlines.Items(3));
  composite->Members[0].GlyphIndex = 3;
  EXPECT_EQ(MetricsGlyph(*font, 3), 3);
}

TEST(GlyphOverview, CharacterLookupsPreferTheMicrosoftUnicodeSubtable) {
  auto font = tsytest::OverviewFont();
  EXPECT_EQ(CharacterOfGlyph(*font, 3), 0xC1);
  EXPECT_EQ(CharacterOfGlyph(*font, 4), -1);
  EXPECT_EQ(GlyphOfCharacter(*font, 0x1CD), 3);
  EXPECT_EQ(GlyphOfCharacter(*font, 0x42), -1);
  // Only a Macintosh mapping: found through "any subtable".
  font->Cmap()->SubTables.Find(1, 0)->SubTable->AddMapping(4, 0x99);
  EXPECT_EQ(CharacterOfGlyph(*font, 4), 0x99);
  EXPECT_EQ(GlyphOfCharacter(*font, 0x99), 4);
  // The (3,1) mapping of a code wins over another platform's.
  font->Cmap()->SubTables.Find(0, 3)->SubTable->AddMapping(4, 0xC1);
  EXPECT_EQ(GlyphOfCharacter(*font, 0xC1), 3);
}

}  // namespace
}  // namespace tsy
