// The CFF table's structure checks, and fonts with PostScript outlines
// opening as TrueType fonts.
#include <gtest/gtest.h>

#include "fontfile/fontexception.h"
#include "fontfile/tables/cff.h"
#include "fontfile/tables/maxp.h"
#include "fontfile/truetypefont.h"
#include "support/cffbuilder.h"

using namespace tsy;
using tsytest::Bytes;
using tsytest::BuildCff;
using tsytest::Cs;
using tsytest::Put16;
using tsytest::Put32;

namespace {

Bytes SquareGlyph() {
  return tsytest::Concat({Cs({0, 0}, 21), Cs({100, 0}, 5), Cs({0, 100}, 5), Cs({-100, 0}, 5), Cs({}, 14)});
}

Bytes ValidCff() {
  tsytest::CffParts p;
  p.CharStrings = {Cs({}, 14), SquareGlyph(), Cs({300}, 14)};
  p.LocalSubrs = {Cs({}, 11)};
  p.GlobalSubrs = {Cs({}, 11)};
  return BuildCff(p);
}

std::string LoadError(const Bytes& B) {
  try {
    TTableCFF t;
    TReadOnlyStream s(B.data(), B.size());
    t.LoadFromStream(s);
    for (int i = 0; i < t.GlyphCount(); ++i) {
      TOutlineSimple o;
      t.BuildOutline(i, o);
    }
  } catch (const FontException& e) {
    return e.what();
  }
  return "";
}

// An OTTO font of three glyphs (empty, square, space) with maxp 0.5.
Bytes OttoFont(const Bytes& Cff, const char* CffTag = "CFF ") {
  Bytes maxp;
  Put32(maxp, 0x00005000);
  Put16(maxp, 3);
  Bytes hhea(36, 0);
  hhea[1] = 1, hhea[35] = 3;  // version 1.0, numberOfHMetrics 3
  Bytes hmtx;
  for (int i = 0; i < 3; ++i) Put16(hmtx, 500), Put16(hmtx, 0);
  Bytes cmap;  // version 0, no subtables: an editable font needs the table
  Put16(cmap, 0);
  Put16(cmap, 0);
  return tsytest::BuildSfnt({{"cmap", cmap}, {"head", tsytest::MinimalHead()}, {"hhea", hhea}, {"maxp", maxp},
                             {"hmtx", hmtx}, {CffTag, Cff}},
                            0x4F54544F);
}

}  // namespace

TEST(CFFTable, ReadsAValidTable) {
  EXPECT_EQ(LoadError(ValidCff()), "");
}

TEST(CFFTable, HostileStructuresAreFontExceptions) {
  const Bytes good = ValidCff();
  auto patched = [&](size_t At, std::initializer_list<uint8_t> With) {
    Bytes b = good;
    size_t i = At;
    for (uint8_t v : With) b.at(i++) = v;
    return b;
  };
  // The Top DICT INDEX starts after the 4-byte header and the one-entry
  // Name INDEX (2 + 1 + 8 + 1 bytes): count at 16, offSize at 18.
  const size_t top = 16;
  const std::pair<Bytes, std::string> cases[] = {
      {patched(0, {2}), "[TTableCFF] Invalid table."},
      {patched(2, {3}), "[TTableCFF] Invalid table."},
      {patched(3, {5}), "[TTableCFF] Invalid table."},
      {patched(top + 2, {5}), "[TTableCFF] The Top DICT INDEX has an offset size of 5."},
      {patched(top + 2, {0}), "[TTableCFF] The Top DICT INDEX has an offset size of 0."},
      {patched(top + 3, {0, 0, 0, 2}), "[TTableCFF] The Top DICT INDEX does not start at offset 1."},
      {patched(top + 7, {0xFF, 0xFF, 0xFF, 0xFF}), "[TTableCFF] The Top DICT INDEX lies outside the table."},
      // The first Top DICT operand is the CharStrings offset (29 and 4 bytes).
      {patched(top + 12, {0x7F, 0, 0, 0}), "[TTableCFF] The CharStrings offset (2130706432) lies outside the table."},
      {patched(top + 12, {0xFF, 0xFF, 0xFF, 0xFF}), "[TTableCFF] The CharStrings offset (-1) lies outside the table."},
      {patched(top + 16, {30}), ""},  // a real number where the operator was
      {patched(top + 16, {31}), "Wrong DICT byte 31"},
      {patched(top + 16, {12}), ""},                      // 12 17: an escaped operator
      {{1, 0, 4}, "[TTableCFF] Invalid table."},
  };
  for (const auto& [bytes, message] : cases) {
    const std::string e = LoadError(bytes);
    if (message.empty()) continue;  // only the absence of a crash
    EXPECT_EQ(e, message) << message;
  }
  // An unterminated real number runs into the DICT's end, not beyond.
  Bytes real = good;
  real.at(top + 16) = 30;
  for (size_t i = top + 17; i < top + 16 + 30 && i < real.size(); ++i) real[i] = 0x11;
  EXPECT_NE(LoadError(real), "");
  // Cut at every length: an error or a table, never a crash.
  for (size_t n = 0; n < good.size(); ++n) LoadError(Bytes(good.begin(), good.begin() + long(n)));
}

TEST(CFFTable, PrivateAndSubrsOutsideTheTable) {
  Bytes b = ValidCff();
  // The Private DICT entry: size, offset, 18, found after the charset entry.
  // Top DICT data at 27: CharStrings (6 bytes), charset (6), then the size.
  const size_t at = 27 + 6 + 6;
  ASSERT_EQ(b.at(at + 5), 29);
  b[at + 6] = 0x00, b[at + 7] = 0x01, b[at + 8] = 0x00, b[at + 9] = 0x00;
  EXPECT_EQ(LoadError(b), "[TTableCFF] The Private DICT offset (65536) lies outside the table.");
}

TEST(CFFFont, OttoFontOpensAsTrueType) {
  TTrueTypeFont font;
  TMemoryStream s(OttoFont(ValidCff()));
  font.LoadFromStream(s);
  EXPECT_EQ(font.Version, 0x00010000u);
  EXPECT_EQ(font.FindTable("CFF "), nullptr);
  ASSERT_NE(font.Loca(), nullptr);
  ASSERT_NE(font.Glyf(), nullptr);
  EXPECT_EQ(font.Maxp()->version, 0x00010000u);
  ASSERT_EQ(font.GlyphCount(), 3u);
  EXPECT_EQ(font.Outlines.Items(0)->GetKind(), okEmpty);
  EXPECT_EQ(font.Outlines.Items(1)->GetKind(), okSimple);
  EXPECT_EQ(font.Outlines.Items(2)->GetKind(), okEmpty);

  // Saved, it is a TrueType font with the same outlines.
  TMemoryStream out;
  font.SaveToStream(out);
  TTrueTypeFont again;
  out.Seek(0);
  again.LoadFromStream(out);
  EXPECT_EQ(again.Version, 0x00010000u);
  ASSERT_EQ(again.GlyphCount(), 3u);
  const auto* square = dynamic_cast<const TOutlineSimple*>(again.Outlines.Items(1));
  ASSERT_NE(square, nullptr);
  EXPECT_EQ(square->Contours, dynamic_cast<const TOutlineSimple*>(font.Outlines.Items(1))->Contours);
}

TEST(CFFFont, OttoWithoutCffSaysWhy) {
  auto error = [](const Bytes& B) {
    TTrueTypeFont font;
    TMemoryStream s(B);
    try {
      font.LoadFromStream(s);
    } catch (const FontException& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  EXPECT_EQ(error(OttoFont(ValidCff(), "CFF2")), "CFF2 outlines (OpenType variable fonts) are not supported.");
  EXPECT_EQ(error(OttoFont(ValidCff(), "XXXX")), "The font has PostScript outlines but no CFF table.");
  // A CFF table in a TrueType font stays as it is.
  Bytes tt = OttoFont(ValidCff());
  tt[0] = 0, tt[1] = 1, tt[2] = 0, tt[3] = 0;
  EXPECT_NE(error(tt).find("Font without outline information"), std::string::npos);
}
