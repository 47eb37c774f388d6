#include <gtest/gtest.h>

#include "core/fontfile/tables/table_test_util.h"
#include "fontfile/fontexception.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/name.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/pclt.h"

using namespace tsy;
using tsytest::Bytes;
using tsytest::HasWarning;
using tsytest::LoadTable;
using tsytest::Put16;
using tsytest::ReadBE16;
using tsytest::SaveTable;

namespace {

Bytes Os2(uint16_t Version, size_t Size, uint16_t WinDescent = 434) {
  Bytes b(Size, 0);
  b[0] = uint8_t(Version >> 8);
  b[1] = uint8_t(Version);
  for (size_t i = 2; i < Size; ++i) b[i] = uint8_t(i * 7);
  if (Size >= 78) {
    b[76] = uint8_t(WinDescent >> 8);
    b[77] = uint8_t(WinDescent);
  }
  return b;
}

}  // namespace

TEST(OS2, VersionsRoundTripAtTheirSizes) {
  const std::pair<uint16_t, size_t> cases[] = {{0, 78}, {1, 86}, {2, 96}, {3, 96}, {4, 96}, {5, 100}};
  for (auto [version, size] : cases) {
    const Bytes b = Os2(version, size);
    TTableOS_2 t;
    LoadTable(t, b);
    EXPECT_EQ(SaveTable(t), b) << "version " << version;
    EXPECT_EQ(t.usWinDescent, -434);
  }
  TTableOS_2 t;
  LoadTable(t, Os2(5, 100));
  t.SetusLowerOpticalPointSize(9);
  EXPECT_EQ(ReadBE16(SaveTable(t), 96), 9);
}

TEST(OS2, AccessorsNeedTheirVersion) {
  TTableOS_2 t;
  LoadTable(t, Os2(1, 86));
  EXPECT_NO_THROW(t.ulCodePageRange1());
  try {
    t.sCapHeight();
    FAIL();
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "[Table OS/2] This version 1 doesn't support sCapHeight!");
  }
  t.SetVersion(0);
  EXPECT_THROW(t.ulCodePageRange2(), FontException);
}

TEST(OS2, ShortTablesAndLargeWinDescent) {
  TWarningCollector::Clear();
  TTableOS_2 t;
  LoadTable(t, Os2(2, 86));
  EXPECT_TRUE(HasWarning("has 86 bytes instead of 96"));
  EXPECT_EQ(t.sxHeight(), 0);  // zeros past the table's end, not a neighbour's bytes
  LoadTable(t, Os2(1, 86, 32768));
  EXPECT_EQ(t.usWinDescent, -32768);
  EXPECT_EQ(ReadBE16(SaveTable(t), 76), 32768);
  t.usWinDescent = 1;
  EXPECT_THROW(SaveTable(t), ERangeError);
}

TEST(OS2, UnicodeRanges) {
  TTableCmap cmap;
  cmap.SubTables.AddMapping(3, 1, 0x41, 1);
  for (int v = 0; v <= 5; ++v) EXPECT_EQ(TTableOS_2::UnicodeRange1(cmap.SubTables, v), v == 0 ? 0u : 1u) << v;
  TTableCmap hebrew;
  hebrew.SubTables.AddMapping(3, 1, 0x05D0, 1);
  EXPECT_EQ(TTableOS_2::UnicodeRange1(hebrew.SubTables, 1), 1u << 11);
  EXPECT_EQ(TTableOS_2::UnicodeRange1(hebrew.SubTables, 2), 1u << 11);
  TTableCmap points;
  points.SubTables.AddMapping(3, 1, 0x0591, 1);
  EXPECT_EQ(TTableOS_2::UnicodeRange1(points.SubTables, 1), 1u << 12);
  EXPECT_EQ(TTableOS_2::UnicodeRange1(points.SubTables, 2), 1u << 11);
  // versions 4 and 5 follow the rules of version 3
  EXPECT_EQ(TTableOS_2::UnicodeRange1(points.SubTables, 4), 1u << 11);
  TTableCmap wide;
  wide.SubTables.AddMapping(3, 1, 0x4E00, 1);
  wide.SubTables.Insert(3, 10)->Format = 12;
  wide.FindSubTable(3, 10)->AddMapping(2, 0x20000);
  EXPECT_EQ(TTableOS_2::UnicodeRange2(wide.SubTables, 5), (1u << 27) | (1u << 25));
  EXPECT_EQ(TTableOS_2::UnicodeRange2(wide.SubTables, 1), 1u << 27);
}

TEST(PCLT, FieldsAndTexts) {
  Bytes b(54, 0);
  b[1] = 2;  // version 2.0: warned and written as 1.0
  for (size_t i = 4; i < 54; ++i) b[i] = uint8_t('A' + i % 20);
  TWarningCollector::Clear();
  TTablePCLT t;
  LoadTable(t, b);
  EXPECT_TRUE(HasWarning("Unknown PCLT Table version number 2.0 (expecting 1.0)."));
  Bytes want = b;
  want[1] = 1;
  EXPECT_EQ(SaveTable(t), want);
  t.SetCharacterComplementText("FF");
  EXPECT_EQ(t.CharacterComplementText(), "00000000000000FF");
  t.SetCharacterComplementText("zz11");
  EXPECT_EQ(t.characterComplement[7], 0x11);
  EXPECT_EQ(t.characterComplement[6], 0);
  t.SetTypeface("Twenty characters ok");
  EXPECT_EQ(t.Typeface(), "Twenty character");
  t.SetFileName("ab");
  EXPECT_EQ(t.FileName(), "ab    ");
}

TEST(Name, CompressionSortingAndRoundTrip) {
  TTableName t;
  t.Names.SetName(3, 1, u"Sample Bold", 4, 0x409);
  t.Names.SetName(3, 1, u"Sample", 1, 0x409);
  t.Names.SetName(1, 0, u"Sample", 1, 0);
  const Bytes b = SaveTable(t);
  ASSERT_EQ(ReadBE16(b, 2), 3);
  // sorted: (1,0,0,1), (3,1,0x409,1), (3,1,0x409,4)
  EXPECT_EQ(ReadBE16(b, 6), 1);
  EXPECT_EQ(ReadBE16(b, 6 + 12 + 6), 1);
  EXPECT_EQ(ReadBE16(b, 6 + 24 + 6), 4);
  // the family name points at the start of the full name's storage
  EXPECT_EQ(ReadBE16(b, 6 + 12 + 10), ReadBE16(b, 6 + 24 + 10));
  // storage: "Sample" 8-bit once, "Sample Bold" UTF-16 once
  EXPECT_EQ(b.size(), 6u + 36 + 6 + 22);
  TTableName back;
  LoadTable(back, b);
  std::u16string s;
  ASSERT_TRUE(back.FindPlatform(3, 1)->GetName(0x409, 1, s));
  EXPECT_EQ(s, u"Sample");
  t.Compress = false;
  EXPECT_EQ(SaveTable(t).size(), 6u + 36 + 6 + 22 + 12);
}

TEST(Name, Format1KeepsRecordsAndLanguageTags) {
  Bytes b;
  Put16(b, 1);
  Put16(b, 1);
  Put16(b, 6 + 12 + 2 + 4);
  for (uint16_t v : {3, 1, 0x8000, 1, 4, 0}) Put16(b, v);
  Put16(b, 1);
  Put16(b, 4), Put16(b, 4);
  for (char16_t c : u"Abde") Put16(b, c);  // "Ab" for the record, "de" the tag
  b.resize(b.size() - 2);
  TTableName t;
  LoadTable(t, b);
  std::u16string s;
  ASSERT_TRUE(t.FindPlatform(3, 1)->GetName(0x8000, 1, s));
  EXPECT_EQ(s, u"Ab");
  ASSERT_EQ(t.LangTags.size(), 1u);
  EXPECT_EQ(t.LangTags[0], u"de");
  EXPECT_EQ(SaveTable(t), b);
}

TEST(Name, UnknownFormatAndBadOffsets) {
  Bytes b;
  Put16(b, 7);
  Put16(b, 0);
  TWarningCollector::Clear();
  TTableName t;
  LoadTable(t, b);
  EXPECT_TRUE(HasWarning("(Warning level: low) FormatSelector is supposed to be zero but is 7"));
  EXPECT_EQ(SaveTable(t), b);

  Bytes bad;
  Put16(bad, 0);
  Put16(bad, 1);
  Put16(bad, 18);
  for (uint16_t v : {3, 1, 0x409, 1, 400, 2}) Put16(bad, v);
  Put16(bad, 'x');
  TWarningCollector::Clear();
  LoadTable(t, bad);
  EXPECT_TRUE(HasWarning("outside the table"));
  EXPECT_THROW(t.FindPlatform(3, 1)->Languages[0]->IndexOfName(2), FontException);
}

TEST(NameText, EscapesArePairs) {
  struct Case {
    uint16_t Platform;
    std::u16string Text;
    std::string Escaped;
  };
  const Case cases[] = {
      {3, u"Euro \u20AC", "Euro \\20AC"},
      {3, u"a\\b", "a\\\\b"},
      {0, u"caf\u00E9\n", "caf\\00E9\n"},
      // Macintosh text holds Macintosh codes: 0xAA is the trademark sign,
      // 0x8E e-acute
      {1, u"TM\u00AA \u008E", "TM\\00AA \xE9"},
      {1, u"\u00D3\u00D2\u00E4\u00A5\u00D0", "\\00D3\\00D2\\00E4\\00A5\\00D0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NameTextToEscaped(c.Text, c.Platform), c.Escaped) << c.Escaped;
    EXPECT_EQ(EscapedToNameText(c.Escaped, c.Platform), c.Text) << c.Escaped;
  }
  // every Macintosh code survives the pair
  std::u16string all;
  for (char16_t c = 1; c < 256; ++c) all.push_back(c);
  EXPECT_EQ(EscapedToNameText(NameTextToEscaped(all, 1), 1), all);
  EXPECT_EQ(EscapedToNameText("\\\\", 3), u"\\");
  EXPECT_EQ(EscapedToNameText("\\12x", 3), u"\\12x");
  EXPECT_EQ(LocaleLanguageName(0x0409), "English - United States");
  EXPECT_EQ(MacLanguageName(150), "Azerbaijani (Roman script)");
  EXPECT_EQ(MacLanguageName(95), "Unknown [95]");
}
