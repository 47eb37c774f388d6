#include "fontfile/tables/cmap.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "fontfile/fontexception.h"
#include "core/fontfile/tables/table_test_util.h"

using namespace tsy;
using tsytest::Bytes;
using tsytest::HasWarning;
using tsytest::LoadTable;
using tsytest::Put16;
using tsytest::Put32;
using tsytest::ReadBE16;
using tsytest::ReadBE32;
using tsytest::SaveTable;

namespace {

using TMap = std::map<uint32_t, uint16_t>;

// A cmap with one subtable (3, 1) of the given format and mappings.
Bytes MakeCmap(uint16_t Format, const std::vector<std::pair<uint32_t, uint16_t>>& M, uint16_t Platform = 3,
               uint16_t Encoding = 1) {
  TTableCmap t;
  TCmapEncodingSubTable* s = t.SubTables.Insert(Platform, Encoding);
  s->Format = Format;
  for (auto [c, g] : M) s->AddMapping(g, c);
  return SaveTable(t);
}

TMap MapOf(const TCmapEncodingSubTable& S) {
  TMap m;
  for (const auto& x : S.Mappings.All()) m[x.CharCode] = x.GlyphIndex;
  return m;
}

TMap RoundTrip(uint16_t Format, const std::vector<std::pair<uint32_t, uint16_t>>& M) {
  TTableCmap back;
  LoadTable(back, MakeCmap(Format, M));
  EXPECT_EQ(back.SubTableCount(), 1u);
  EXPECT_EQ(back.SubTable(0).Format, Format);
  return MapOf(back.SubTable(0));
}

std::vector<TCharacterToGlyphIndexMapping> Sorted(const std::vector<std::pair<uint32_t, uint16_t>>& M) {
  std::vector<TCharacterToGlyphIndexMapping> v;
  for (auto [c, g] : M) v.push_back({c, g});
  return v;
}

// Wraps one subtable body into a cmap table with a (3, 1) record.
Bytes CmapWith(const Bytes& Sub, uint16_t Platform = 3, uint16_t Encoding = 1) {
  Bytes b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, Platform);
  Put16(b, Encoding);
  Put32(b, 12);
  b.insert(b.end(), Sub.begin(), Sub.end());
  return b;
}

}  // namespace

struct SegmentCase {
  const char* Name;
  std::vector<std::pair<uint32_t, uint16_t>> Mappings;
  // (start, end, delta?) of every segment before the closing one
  std::vector<std::tuple<uint16_t, uint16_t, bool>> Expected;
};

TEST(CmapFormat4Segmenter, CutsAsDesigned) {
  std::vector<std::pair<uint32_t, uint16_t>> twenty;
  const uint16_t unrelated[5] = {40, 7, 90, 3, 66};
  for (uint32_t i = 0; i < 5; ++i) twenty.push_back({0x100 + i, unrelated[i]});
  for (uint32_t i = 5; i < 20; ++i) twenty.push_back({0x100 + i, uint16_t(200 + i)});
  const SegmentCase cases[] = {
      {"consecutive run of four is a delta segment", {{'A', 1}, {'B', 2}, {'C', 3}, {'D', 4}}, {{'A', 'D', true}}},
      {"unrelated glyphs make a range segment", {{'A', 5}, {'B', 9}, {'C', 2}}, {{'A', 'C', false}}},
      {"short delta run followed by a consecutive char", {{'A', 1}, {'B', 2}, {'C', 7}}, {{'A', 'C', false}}},
      {"long delta run inside a character run", twenty, {{0x100, 0x104, false}, {0x105, 0x113, true}}},
      {"gap in characters ends a segment", {{'A', 1}, {'C', 2}}, {{'A', 'A', true}, {'C', 'C', true}}},
  };
  for (const auto& c : cases) {
    const auto segs = SegmentFormat4(Sorted(c.Mappings));
    ASSERT_EQ(segs.size(), c.Expected.size() + 1) << c.Name;
    for (size_t i = 0; i < c.Expected.size(); ++i) {
      EXPECT_EQ(segs[i].StartCode, std::get<0>(c.Expected[i])) << c.Name;
      EXPECT_EQ(segs[i].EndCode, std::get<1>(c.Expected[i])) << c.Name;
      EXPECT_EQ(segs[i].IsDelta, std::get<2>(c.Expected[i])) << c.Name;
    }
    EXPECT_TRUE(segs.back().IsClosing) << c.Name;
    EXPECT_EQ(segs.back().StartCode, 0xFFFF) << c.Name;
  }
}

TEST(CmapFormat4, WritesDeltaAndRangeSegments) {
  {
    const Bytes b = (MakeCmap(4, {{'A', 1}, {'B', 2}, {'C', 3}, {'D', 4}}));
    const size_t s = 12;
    EXPECT_EQ(ReadBE16(b, s + 6), 4);  // segCountX2
    // endCode[2], pad, startCode[2], idDelta[2]
    EXPECT_EQ(ReadBE16(b, s + 14), 'D');
    EXPECT_EQ(ReadBE16(b, s + 16), 0xFFFF);
    EXPECT_EQ(ReadBE16(b, s + 20), 'A');
    EXPECT_EQ(ReadBE16(b, s + 24), uint16_t(1 - 0x41));
    EXPECT_EQ(ReadBE16(b, s + 26), 1);
  }
  {
    const Bytes b = (MakeCmap(4, {{'A', 5}, {'B', 9}, {'C', 2}}));
    const size_t s = 12, ranges = s + 16 + 3 * 4;
    EXPECT_EQ(ReadBE16(b, ranges), 4);
    EXPECT_EQ(ReadBE16(b, ranges + 2), 0);
    EXPECT_EQ(ReadBE16(b, ranges + 4), 5);
    EXPECT_EQ(ReadBE16(b, ranges + 6), 9);
    EXPECT_EQ(ReadBE16(b, ranges + 8), 2);
    EXPECT_EQ(ReadBE16(b, s + 2), b.size() - s);  // length
  }
}

TEST(CmapFormat4, ReadsArrayValuePlusDelta) {
  // One range segment 'A'..'A' with idDelta -10 and array value 5, plus the
  // closing segment.
  Bytes sub;
  Put16(sub, 4);
  Put16(sub, 0);  // length, patched below
  Put16(sub, 0);
  Put16(sub, 4);
  Put16(sub, 4);
  Put16(sub, 1);
  Put16(sub, 0);
  Put16(sub, 'A');
  Put16(sub, 0xFFFF);
  Put16(sub, 0);
  Put16(sub, 'A');
  Put16(sub, 0xFFFF);
  Put16(sub, uint16_t(-10));
  Put16(sub, 1);
  Put16(sub, 4);  // idRangeOffset[0]: past idRangeOffset[1] to the array
  Put16(sub, 0);
  Put16(sub, 5);
  sub[3] = uint8_t(sub.size());
  TTableCmap t;
  LoadTable(t, CmapWith(sub));
  EXPECT_EQ(t.SubTable(0).GlyphOf('A'), 65531);
}

TEST(CmapFormats, RandomMappingsSurviveEveryFormat) {
  std::mt19937 rng(7);
  for (int round = 0; round < 30; ++round) {
    std::map<uint32_t, uint16_t> m;
    const int n = 1 + int(rng() % 400);
    for (int i = 0; i < n; ++i) {
      // runs of consecutive characters with partly consecutive glyphs
      uint32_t c = rng() % 0xFFFE;
      uint16_t g = uint16_t(1 + rng() % 3000);
      const int run = int(rng() % 12);
      for (int k = 0; k < run && c + uint32_t(k) < 0xFFFF; ++k) m[c + uint32_t(k)] = uint16_t(rng() % 3 ? g + k : rng() % 3000 + 1);
    }
    std::vector<std::pair<uint32_t, uint16_t>> v(m.begin(), m.end());
    EXPECT_EQ(RoundTrip(4, v), m) << "format 4 round " << round;
    EXPECT_EQ(RoundTrip(12, v), m) << "format 12 round " << round;
    EXPECT_EQ(RoundTrip(2, v), m) << "format 2 round " << round;
    TMap low;
    for (auto [c, g] : m)
      if (c <= 255 && g <= 255) low[c] = g;
    std::vector<std::pair<uint32_t, uint16_t>> lv(low.begin(), low.end());
    TMap back6 = RoundTrip(6, lv), back0 = RoundTrip(0, lv);
    // formats 0 and 6 spell out every code of their span, unmapped ones as 0
    std::erase_if(back6, [&](auto& x) { return !low.count(x.first); });
    std::erase_if(back0, [&](auto& x) { return !low.count(x.first); });
    EXPECT_EQ(back6, low) << "format 6 round " << round;
    EXPECT_EQ(back0, low) << "format 0 round " << round;
  }
}

TEST(CmapFormat2, SharedGlyphArraysDecodeToTheirOwnMappings) {
  // High bytes 1, 2 and 3 hold the same shape of glyphs shifted by a delta;
  // 2 and 3 may reuse 1's array. High byte 4 holds a hole where 1 has a
  // glyph and must not share.
  std::vector<std::pair<uint32_t, uint16_t>> m;
  for (uint32_t h = 1; h <= 3; ++h)
    for (uint32_t lo = 0x40; lo < 0x48; ++lo) m.push_back({h * 256 + lo, uint16_t(100 * h + lo)});
  for (uint32_t lo = 0x40; lo < 0x48; ++lo)
    if (lo != 0x43) m.push_back({4 * 256 + lo, uint16_t(400 + lo)});
  m.push_back({'A', 9});
  const TMap want(m.begin(), m.end());
  EXPECT_EQ(RoundTrip(2, m), want);
  // sharing makes the subtable smaller than four separate arrays
  const Bytes b = (MakeCmap(2, m));
  EXPECT_LT(b.size(), 12 + 518 + 5 * 8 + 2 * (1 + 8 + 8 + 8 + 8));
}

TEST(CmapWriter, OneMappingPerCharacterAndSharedBodies) {
  TTableCmap t;
  t.SubTables.AddMapping(3, 1, 'A', 5);
  t.SubTables.AddMapping(3, 1, 'A', 7);  // GlyphOf answers this one
  t.SubTables.AddMapping(0, 3, 'A', 5);
  t.SubTables.AddMapping(0, 3, 'A', 7);
  EXPECT_EQ(t.SubTables.UnicodeGlyph('A'), 7);
  const Bytes b = SaveTable(t);
  // records sorted (0,3) then (3,1); identical bodies share one offset
  EXPECT_EQ(ReadBE16(b, 4), 0);
  EXPECT_EQ(ReadBE32(b, 8), ReadBE32(b, 16));
  TTableCmap back;
  LoadTable(back, b);
  EXPECT_EQ(MapOf(back.SubTable(1)), (TMap{{'A', 7}}));
}

TEST(CmapWriter, Format6CoversLowestToHighestAndEmpty) {
  Bytes b = (MakeCmap(6, {{255, 3}}, 1, 0));
  EXPECT_EQ(ReadBE16(b, 12 + 6), 255);
  EXPECT_EQ(ReadBE16(b, 12 + 8), 1);
  b = (MakeCmap(6, {{0x3000, 3}, {0x3002, 4}}, 1, 0));
  EXPECT_EQ(ReadBE16(b, 12 + 6), 0x3000);
  EXPECT_EQ(ReadBE16(b, 12 + 8), 3);
  b = (MakeCmap(6, {}, 1, 0));
  EXPECT_EQ(ReadBE16(b, 12 + 2), 10);  // length: a complete, empty subtable
  EXPECT_EQ(ReadBE16(b, 12 + 8), 0);
  TTableCmap back;
  LoadTable(back, b);
  EXPECT_EQ(back.SubTable(0).Mappings.Count(), 0u);
}

TEST(CmapWriter, Format0WarnsAboutGlyphsAboveByte) {
  TWarningCollector::Clear();
  const Bytes b = (MakeCmap(0, {{'A', 300}, {'B', 4}}, 1, 0));
  EXPECT_EQ(b[12 + 6 + 'A'], 0);
  EXPECT_EQ(b[12 + 6 + 'B'], 4);
  EXPECT_TRUE(HasWarning("which a byte cannot hold"));
}

TEST(CmapReader, UnsupportedFormatsKeepTheirBytes) {
  // format 14 (variation sequences): format, length32, numRecords 0, then junk
  Bytes sub;
  Put16(sub, 14);
  Put32(sub, 14);
  Put32(sub, 0);
  Put32(sub, 0xDEADBEEF);
  TWarningCollector::Clear();
  TTableCmap t;
  LoadTable(t, CmapWith(sub, 0, 5));
  EXPECT_TRUE(HasWarning("Unsupported cmap encoding format: Format 14"));
  EXPECT_EQ(SaveTable(t), CmapWith(sub, 0, 5));
}

TEST(CmapReader, Format12HostileGroupsAreBounded) {
  Bytes sub;
  Put16(sub, 12);
  Put16(sub, 0);
  Put32(sub, 16 + 3 * 12);
  Put32(sub, 0);
  Put32(sub, 0xFFFFFFF0);  // group count far beyond the subtable
  Put32(sub, 0x41), Put32(sub, 0x43), Put32(sub, 1);  // good
  Put32(sub, 0x50), Put32(sub, 0x10), Put32(sub, 1);  // inverted
  Put32(sub, 0), Put32(sub, 0x10FFFF), Put32(sub, 0xFFFFFF00);  // glyphs beyond 65535
  TWarningCollector::Clear();
  TTableCmap t;
  LoadTable(t, CmapWith(sub, 3, 10));
  EXPECT_TRUE(HasWarning("does not fit the subtable"));
  EXPECT_TRUE(HasWarning("is not valid"));
  EXPECT_EQ(t.SubTable(0).GlyphOf(0x42), 2);
  EXPECT_EQ(t.SubTable(0).GlyphOf(0x50), -1);
}

TEST(CmapReader, GlyphLimitRejectsMappings) {
  const Bytes src = MakeCmap(4, {{'A', 5}, {'B', 50}});
  TTableCmap t;
  t.GlyphLimit = 10;
  TWarningCollector::Clear();
  LoadTable(t, src);
  EXPECT_EQ(MapOf(t.SubTable(0)), (TMap{{'A', 5}}));
  EXPECT_TRUE(HasWarning("A character maps to an invalid glyphindex 50."));
  EXPECT_EQ(t.GlyphLimit, 0u);
}

TEST(CmapSubTables, CreateDefaultsAndLookups) {
  TTableCmap t;
  EXPECT_EQ(t.CreateSubTable(1, 0)->Mappings.Count(), 256u);
  EXPECT_EQ(t.CreateSubTable(3, 10)->Format, 12);
  EXPECT_EQ(t.CreateSubTable(3, 1)->Format, 4);
  TWarningCollector::Clear();
  EXPECT_EQ(t.CreateSubTable(3, 1), nullptr);
  EXPECT_TRUE(HasWarning("already exists"));
  EXPECT_EQ(t.SubTablePair(0), 1u);            // (1, 0)
  EXPECT_EQ(t.SubTablePair(2), (10u << 16) | 3u);  // (3, 10)
  t.SubTables.AddMapping(3, 1, 'a', 4);
  t.FindSubTable(3, 10)->AddMapping(9, 0x1F600);
  EXPECT_EQ(t.SubTables.UnicodeGlyph(0x1F600), 9);
  EXPECT_EQ(t.SubTables.UnicodeCharOfGlyph(4), 'a');
  EXPECT_THROW(t.SubTables.AddMapping(3, 1, 0x10000, 1), ERangeError);
  uint32_t first, last;
  t.SubTables.GetCharRange(first, last);
  EXPECT_EQ(first, uint32_t('a'));
  EXPECT_EQ(last, uint32_t('a'));
}

TEST(CmapGlyphOperations, RenumberAndStreamForms) {
  TTableCmap t;
  t.SubTables.AddMapping(3, 1, 'a', 4);
  t.SubTables.AddMapping(3, 1, 'b', 5);
  t.SubTables.AddMapping(3, 1, 'c', 6);
  t.SubTables.Insert(3, 10)->Format = 12;
  t.FindSubTable(3, 10)->AddMapping(5, 0x1F600);
  t.SwapGlyphs(4, 6);
  EXPECT_EQ(t.UnicodeGlyph('a'), 6);
  t.DeleteGlyph(5);
  EXPECT_EQ(t.UnicodeGlyph('b'), -1);
  EXPECT_EQ(t.UnicodeGlyph('a'), 5);
  t.InsertGlyph(0);
  EXPECT_EQ(t.UnicodeGlyph('a'), 6);

  // Supplementary characters pass through the undo and clipboard forms.
  t.FindSubTable(3, 10)->AddMapping(7, 0x1F601);
  t.SubTables.AddMapping(3, 1, 'z', 7);
  TMemoryStream m1, m2;
  t.SubTables.WriteGlyphMappings(m1, 7);
  t.SubTables.WriteMappingsWithIDs(m2, 7);
  t.SubTables.DeleteGlyph(7);
  t.InsertGlyph(7);
  m1.Seek(0);
  t.SubTables.ReadGlyphMappings(m1, 7);
  EXPECT_EQ(t.UnicodeGlyph(0x1F601), 7);
  EXPECT_EQ(t.UnicodeGlyph('z'), 7);
  t.SubTables.DeleteGlyph(7);
  t.InsertGlyph(7);
  m2.Seek(0);
  t.SubTables.ReadMappingsWithIDs(m2, 7, 100, 1);
  EXPECT_EQ(t.UnicodeGlyph(0x1F601), 7);
  EXPECT_EQ(t.UnicodeGlyph('z'), 7);

  TWarningCollector::Clear();
  t.DropInvalidGlyphs(7);
  EXPECT_EQ(t.UnicodeGlyph('z'), -1);
  EXPECT_TRUE(HasWarning("[fixed] TCmapEncodingSubTable"));
}

TEST(CmapMacRoman, BuildsUnicodeAndSymbolSubtables) {
  TTableCmap t;
  TCmapEncodingSubTable* mac = t.SubTables.Insert(1, 0);
  mac->Format = 6;
  mac->AddMapping(3, 'A');
  mac->AddMapping(8, 0xAA);  // trademark in Macintosh Roman
  t.BuildFromMacRoman(3, 1, 1);
  EXPECT_EQ(t.UnicodeGlyph('A'), 3);
  EXPECT_EQ(t.UnicodeGlyph(0x2122), 8);
  t.BuildFromMacRoman(3, 0, 0);
  EXPECT_EQ(t.SubTables.SymbolGlyph(0xAA), 8);
}

TEST(CmapFormat4, LargeSubtables) {
  // 30,000 characters with scattered glyphs fill most of the 64 KB a format 4
  // subtable can hold; twice as many cannot be written and say so.
  std::mt19937 rng(3);
  std::vector<std::pair<uint32_t, uint16_t>> m;
  for (uint32_t c = 0x4E00; c < 0x4E00 + 30000; ++c) m.push_back({c, uint16_t(1 + rng() % 65000)});
  const TMap want(m.begin(), m.end());
  EXPECT_EQ(RoundTrip(4, m), want);
  for (uint32_t c = 0x100; c < 0x100 + 30000; c += 1) m.push_back({c, uint16_t(1 + rng() % 65000)});
  EXPECT_THROW(MakeCmap(4, m), ERangeError);
  EXPECT_EQ(RoundTrip(12, m).size(), TMap(m.begin(), m.end()).size());
}
