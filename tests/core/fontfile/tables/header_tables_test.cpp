#include <gtest/gtest.h>

#include "fontfile/fontexception.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hhea.h"
#include "fontfile/tables/maxp.h"
#include "support/fontbuilder.h"

using namespace tsy;
using tsytest::Bytes;
using tsytest::Put16;
using tsytest::Put32;

namespace {

Bytes Saved(const TFontTable& T) {
  TMemoryStream m;
  T.SaveToStream(m);
  return m.Bytes();
}

template <class T>
void Load(T& Table, const Bytes& B) {
  TReadOnlyStream s(B.data(), B.size());
  Table.LoadFromStream(s);
}

}  // namespace

TEST(HeadTable, WrongMagicLoadsAndSavesTheRightOne) {
  Bytes b = tsytest::MinimalHead();
  b[12] = 0xDE;  // magicNumber 0xDE0F3CF5
  TTableHead head;
  Load(head, b);
  EXPECT_EQ(head.magicNumber, 0xDE0F3CF5u);
  EXPECT_EQ(head.unitsPerEm, 1000);
  const Bytes out = Saved(head);
  ASSERT_EQ(out.size(), 54u);
  EXPECT_EQ(tsytest::ReadBE32(out, 12), 0x5F0F3CF5u);
  b[12] = 0x5F;
  EXPECT_EQ(out, b);
}

TEST(HeadTable, ShortTableReadsZerosForTheMissingFields) {
  Bytes b = tsytest::MinimalHead();
  b.resize(20);  // up to unitsPerEm
  TTableHead head;
  head.indexToLocFormat = 1;
  Load(head, b);
  EXPECT_EQ(head.unitsPerEm, 1000);
  EXPECT_EQ(head.indexToLocFormat, 0);
  EXPECT_EQ(Saved(head).size(), 54u);
}

TEST(HeadTable, RefusesAForeignTag) { EXPECT_THROW(TTableHead("hhea"), FontException); }

TEST(HheaTable, ReservedFieldsSurvive) {
  Bytes b;
  Put32(b, 0x00010000);
  for (int v : {800, -200, 90, 1000, -5, -7, 990, 1, 0, 0}) Put16(b, uint16_t(v));
  for (int v : {0x1234, -1, 7, 0x7FFF}) Put16(b, uint16_t(v));  // reserved
  Put16(b, 3);                                                  // metricDataFormat
  Put16(b, 42);                                                 // numberOfHMetrics
  ASSERT_EQ(b.size(), 36u);
  TTableHhea hhea;
  Load(hhea, b);
  EXPECT_EQ(hhea.descender, -200);
  EXPECT_EQ(hhea.reserved2, -1);
  EXPECT_EQ(hhea.numberOfHMetrics, 42);
  EXPECT_EQ(Saved(hhea), b);
}

TEST(MaxpTable, Version05LoadsAndSavesSixBytes) {
  Bytes b;
  Put32(b, 0x00005000);
  Put16(b, 77);
  TTableMaxp maxp;
  Load(maxp, b);
  EXPECT_EQ(maxp.numGlyphs, 77);
  EXPECT_EQ(Saved(maxp), b);
  // Once converted to version 1.0 the full table is written.
  maxp.version = 0x00010000;
  maxp.maxPoints = 12;
  const Bytes out = Saved(maxp);
  ASSERT_EQ(out.size(), 32u);
  EXPECT_EQ(tsytest::ReadBE16(out, 6), 12);
}

TEST(MaxpTable, VersionRules) {
  Bytes b;
  Put32(b, 0x00010001);
  Put16(b, 5);
  for (int i = 1; i <= 13; ++i) Put16(b, uint16_t(i));
  TTableMaxp maxp;
  Load(maxp, b);
  EXPECT_EQ(maxp.maxPoints, 1);
  EXPECT_EQ(maxp.maxComponentDepth, 13);
  try {
    Saved(maxp);
    FAIL() << "a 1.1 maxp must not be written";
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Unknown maxp table version (1,1)");
  }

  Bytes v2;
  Put32(v2, 0x00020000);
  Put16(v2, 5);
  try {
    Load(maxp, v2);
    FAIL() << "a 2.0 maxp must not load";
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Unknown maxp table version (2,0)");
  }
}
