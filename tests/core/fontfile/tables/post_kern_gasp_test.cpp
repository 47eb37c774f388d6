#include <gtest/gtest.h>

#include "core/fontfile/tables/table_test_util.h"
#include "fontfile/fontexception.h"
#include "fontfile/tables/gasp.h"
#include "fontfile/tables/kern.h"
#include "fontfile/tables/macglyphs.h"
#include "fontfile/tables/post.h"

using namespace tsy;
using tsytest::Bytes;
using tsytest::HasWarning;
using tsytest::LoadTable;
using tsytest::Put16;
using tsytest::Put32;
using tsytest::ReadBE16;
using tsytest::SaveTable;

namespace {

Bytes PostHeader(uint32_t Format) {
  Bytes b;
  Put32(b, Format);
  for (int i = 0; i < 7; ++i) Put32(b, i == 1 ? 0xFFB5000F : 0);  // italicAngle 0, underline -75/15
  return b;
}

Bytes Kern(const std::vector<std::tuple<uint16_t, uint16_t, int16_t>>& Pairs, uint16_t Coverage = 1,
           uint16_t RangeShift = 0xFFFF) {
  Bytes b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, 0);
  Put16(b, uint16_t(14 + 6 * Pairs.size()));
  Put16(b, Coverage);
  Put16(b, uint16_t(Pairs.size()));
  const TSearchParams p = CalcSearchParams(uint32_t(Pairs.size()), 6);
  Put16(b, p.SearchRange);
  Put16(b, p.EntrySelector);
  Put16(b, RangeShift == 0xFFFF ? p.RangeShift : RangeShift);
  for (auto [l, r, v] : Pairs) {
    Put16(b, l);
    Put16(b, r);
    Put16(b, uint16_t(v));
  }
  return b;
}

}  // namespace

TEST(MacGlyphList, ConversionsAndSpelling) {
  EXPECT_EQ(StandardMacGlyph(1).Name, std::string("null"));
  EXPECT_EQ(StandardMacGlyph(2).Name, std::string("CR"));
  EXPECT_EQ(StandardMacGlyph(225).Name, std::string("caron"));
  EXPECT_EQ(StandardMacGlyph(257).Name, std::string("dcroat"));
  EXPECT_EQ(MacRomanToUnicode(0x80), 0xC4);
  EXPECT_EQ(MacRomanToUnicode(0xAA), 0x2122);
  EXPECT_EQ(MacRomanToUnicode(0xBD), 0x2126);
  EXPECT_EQ(MacRomanToUnicode(0xF0), -1);
  EXPECT_EQ(UnicodeToMacRoman(0x2030), 0xE4);
  EXPECT_EQ(UnicodeToMacRoman(0x141), -1);  // Lslash has no Macintosh code
  EXPECT_EQ(StandardNameIndex("Idot"), 250);
  EXPECT_EQ(StandardNameIndex("idot"), -1);
  // every Macintosh code that has a Unicode value converts back to itself
  for (int c = 0x20; c < 0x100; ++c) {
    const int u = MacRomanToUnicode(c);
    if (u >= 0) EXPECT_EQ(UnicodeToMacRoman(u), c) << c;
  }
}

TEST(Post, Format1BecomesFormat2WithStandardIndices) {
  TTablePost t;
  LoadTable(t, PostHeader(0x00010000));
  EXPECT_EQ(t.format, 0x00020000);
  EXPECT_EQ(t.NameCount(), 258u);
  EXPECT_EQ(t.GetName(1), "null");
  const Bytes b = SaveTable(t);
  ASSERT_EQ(b.size(), 34u + 2 * 258);
  for (int i = 0; i < 258; ++i) EXPECT_EQ(ReadBE16(b, 34 + 2 * size_t(i)), i);
}

TEST(Post, Format2NamesAndCustomStrings) {
  Bytes b = PostHeader(0x00020000);
  Put16(b, 5);
  for (uint16_t i : {0, 36, 258, 40000, 259}) Put16(b, i);
  for (const char* s : {"uni2122", ".null"}) {
    b.push_back(uint8_t(strlen(s)));
    b.insert(b.end(), s, s + strlen(s));
  }
  TTablePost t;
  LoadTable(t, b);
  EXPECT_EQ(t.GetName(1), "A");
  EXPECT_EQ(t.GetName(2), "uni2122");
  EXPECT_EQ(t.GetName(3), "");
  EXPECT_EQ(t.GetName(4), ".null");
  EXPECT_EQ(t.GetName(99), "");
  EXPECT_THROW(t.SetName(5, "x"), FontException);
  t.SetName(3, "uni2122");  // a duplicate custom name is stored once
  const Bytes out = SaveTable(t);
  EXPECT_EQ(ReadBE16(out, 34 + 4), 258);
  EXPECT_EQ(ReadBE16(out, 34 + 6), 258);
  EXPECT_EQ(ReadBE16(out, 34 + 8), 259);  // ".null" is not the standard "null"
  EXPECT_EQ(out.size(), 34u + 10 + 8 + 6);
  t.SwapNames(1, 2);
  t.DeleteName(0);
  EXPECT_EQ(t.GetName(0), "uni2122");
  EXPECT_EQ(t.numberOfGlyphs, 4);
}

TEST(Post, CustomIndicesPastTheEndStopWithAWarning) {
  Bytes b = PostHeader(0x00020000);
  Put16(b, 3);
  for (uint16_t i : {258, 300, 32767}) Put16(b, i);
  b.push_back(200);  // a string longer than what is left
  b.push_back('x');
  TWarningCollector::Clear();
  TTablePost t;
  LoadTable(t, b);
  EXPECT_EQ(t.NameCount(), 3u);
  EXPECT_EQ(t.GetName(0), "x");
  EXPECT_EQ(t.GetName(1), "");
  EXPECT_TRUE(HasWarning("past the end of the table"));
}

TEST(Post, ManyCustomNamesWarn) {
  TTablePost t;
  t.format = 0x00020000;
  for (int i = 0; i < 32600; ++i) t.AddName("g" + std::to_string(i));
  t.AddName("g5");
  TWarningCollector::Clear();
  const Bytes b = SaveTable(t);
  EXPECT_TRUE(HasWarning("saved as .notdef"));
  EXPECT_EQ(ReadBE16(b, 34 + 2 * 32600), 258 + 5);
  EXPECT_EQ(ReadBE16(b, 34 + 2 * 32599), 0);
}

TEST(Post, UnsupportedFormatsAndSwitches) {
  const std::pair<uint32_t, const char*> cases[] = {
      {0x00025000, "Unsupported Post Space Saving Table FormatType 2.20480"},
      {0x00040000, "[Apple for use with QuickDraw GX] Unsupported Post FormatType 4.0"},
      {0x00070000, "Unknown Post FormatType 7.0"},
  };
  for (auto [format, message] : cases) {
    TWarningCollector::Clear();
    TTablePost t;
    LoadTable(t, PostHeader(format));
    EXPECT_TRUE(HasWarning(message)) << message;
    EXPECT_EQ(t.format, 0x00020000);
    EXPECT_EQ(t.NameCount(), 0u);
  }
  TTablePost t;
  LoadTable(t, PostHeader(0x00030000));
  t.numberOfGlyphs = 10;
  t.SetHasGlyphNames(true);
  EXPECT_EQ(t.NameCount(), 10u);
  t.format = 0x00010000;
  EXPECT_THROW(SaveTable(t), FontException);
}

TEST(Kern, ReadsWarnsAndWritesSorted) {
  TWarningCollector::Clear();
  TTableKern t;
  LoadTable(t, Kern({{5, 3, -10}, {2, 9, 20}, {5, 3, 1}, {5, 1, 7}}, 1, 99));
  EXPECT_TRUE(HasWarning("Integrity: Kern SubtableFormat0 RangeShift not correct (99 should be"));
  EXPECT_TRUE(HasWarning("kern table has same kerning pair twice (or more)."));
  ASSERT_EQ(t.PairCount(), 3u);  // the pair after the duplicate is kept
  t.SwapGlyphs(2, 5);
  const Bytes b = SaveTable(t);
  EXPECT_EQ(b, Kern({{2, 1, 7}, {2, 3, -10}, {5, 9, 20}}));
}

TEST(Kern, PairOperations) {
  TTableKern t;
  for (auto [l, r] : {std::pair{5, 3}, {5, 1}, {2, 9}}) t.AddPair({uint16_t(l), uint16_t(r), 1});
  EXPECT_EQ(t.Pair(0).Left, 2);
  EXPECT_EQ(t.Pair(1).Right, 1);
  EXPECT_EQ(t.FindPair(5, 3), 2);
  t.Clear();
  t.AddPair({4, 7, 1});
  t.AddPair({6, 8, 2});
  t.DeleteGlyph(4);
  ASSERT_EQ(t.PairCount(), 1u);
  EXPECT_EQ(t.Pair(0).Left, 5);
  EXPECT_EQ(t.Pair(0).Right, 7);
  TMemoryStream m;
  t.WritePairsOfGlyphs(m, {7});
  t.DeletePair(0);
  EXPECT_TRUE(t.IsEmpty());
  EXPECT_EQ(SaveTable(t).size(), 4u);
  m.Seek(0);
  t.ReadPairs(m);
  EXPECT_EQ(t.PairCount(), 1u);
}

TEST(Kern, LimitsAndKeptCoverage) {
  TTableKern t;
  for (uint32_t i = 0; i < TTableKern::kMaxPairs; ++i) t.AddPair({uint16_t(i / 200), uint16_t(i % 200), 1});
  EXPECT_THROW(t.AddPair({9999, 1, 1}), FontException);
  EXPECT_EQ(ReadBE16(SaveTable(t), 6), 65534);

  // a cross-stream subtable keeps its coverage bits
  TTableKern c;
  LoadTable(c, Kern({{1, 2, 3}}, 0x0005));
  EXPECT_EQ(ReadBE16(SaveTable(c), 8), 0x0005);

  // format 2 first, format 0 second: the pairs of the second are read
  Bytes two;
  Put16(two, 0);
  Put16(two, 2);
  Put16(two, 0), Put16(two, 8), Put16(two, 0x0201), Put16(two, 0);
  Bytes k = Kern({{1, 2, 3}});
  two.insert(two.end(), k.begin() + 4, k.end());
  TWarningCollector::Clear();
  TTableKern f;
  LoadTable(f, two);
  EXPECT_TRUE(HasWarning("Unsupported Kern FormatType 2 Version 0."));
  EXPECT_EQ(f.PairCount(), 1u);
}

TEST(Kern, TooManyPairsKeepTheTableBytes) {
  std::vector<std::tuple<uint16_t, uint16_t, int16_t>> pairs;
  for (uint32_t i = 0; i < 11000; ++i) pairs.push_back({uint16_t(i / 100), uint16_t(i % 100), 1});
  const Bytes b = Kern(pairs);
  TWarningCollector::Clear();
  TTableKern t;
  LoadTable(t, b);
  EXPECT_TRUE(HasWarning("Corrupted kern table. Too many kerning pairs 11000 while 10920 is the maximum."));
  EXPECT_FALSE(t.IsEmpty());
  EXPECT_EQ(SaveTable(t), b);
}

TEST(Gasp, RangesSortedOnRead) {
  Bytes b;
  Put16(b, 1);
  Put16(b, 2);
  Put16(b, 0xFFFF), Put16(b, 2), Put16(b, 8), Put16(b, 1);
  TTableGasp t;
  LoadTable(t, b);
  Bytes want;
  Put16(want, 1);
  Put16(want, 2);
  Put16(want, 8), Put16(want, 1), Put16(want, 0xFFFF), Put16(want, 2);
  EXPECT_EQ(SaveTable(t), want);
  t.AddRange({8, 3});
  EXPECT_EQ(t.Range(1).Behavior, 3);  // after the existing 8
  Bytes cut(b.begin(), b.begin() + 7);
  TWarningCollector::Clear();
  LoadTable(t, cut);
  EXPECT_EQ(t.RangeCount(), 0u);
  EXPECT_TRUE(HasWarning("[gasp]"));
}

#include "common/resources.h"
#include "fontfile/tables/glyphnames.h"

TEST(GlyphNames, ListAndSearch) {
  TAdobeGlyphNames list;
  list.LoadFromText("# comment\n0041;A\nzz;bad\n0041;Aalt\r\n00E9;eacute\n12;short\n");
  EXPECT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.NameOfCode(0x41), "Aalt");
  EXPECT_EQ(list.NameOfCode(0x42), "");
  // the carried list, found in the build tree's resources folder
  TAdobeGlyphNames carried;
  if (carried.LoadDefault()) {
    EXPECT_EQ(carried.NameOfCode(0x00C5), "Aring");
    EXPECT_EQ(carried.NameOfCode(0x20AC), "Euro");
    EXPECT_GT(carried.Count(), 500u);
  }

  TTablePost post;
  post.format = 0x00020000;
  for (const char* n : {".notdef", "space", "bar", "A", "a.sc"}) post.AddName(n);
  size_t found = 99;
  EXPECT_TRUE(FindGlyphByName(post, 5, "A", 0, false, false, found));
  EXPECT_EQ(found, 1u);  // "space" contains an "a"
  EXPECT_TRUE(FindGlyphByName(post, 5, "A", 0, true, true, found));
  EXPECT_EQ(found, 3u);
  EXPECT_TRUE(FindGlyphByName(post, 5, "a", found + 1, false, true, found));
  EXPECT_EQ(found, 4u);
  EXPECT_FALSE(FindGlyphByName(post, 5, "space", 2, true, false, found));  // no wrap-around
  EXPECT_TRUE(FindGlyphByName(post, 5, "space", 17, true, false, found));  // beyond the end: from 0
  EXPECT_FALSE(FindGlyphByName(post, 0, "space", 0, true, false, found));
}
