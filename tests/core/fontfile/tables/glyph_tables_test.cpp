#include <gtest/gtest.h>

#include <memory>

#include "fontfile/fontexception.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/loca.h"
#include "fontfile/warnings.h"
#include "support/fontbuilder.h"

using namespace tsy;
using tsytest::Bytes;
using tsytest::Put16;

namespace {

std::unique_ptr<TTableHmtx> WithWidths(std::vector<uint16_t> Widths, bool Compress = true) {
  auto h = std::make_unique<TTableHmtx>();
  h->NumGlyphs = uint16_t(Widths.size());
  h->Compress = Compress;
  for (uint16_t w : Widths) h->Metrics.push_back({w, 0});
  return h;
}

}  // namespace

TEST(HmtxTable, CompactionKeepsAtLeastTwoFullEntries) {
  struct Case {
    std::vector<uint16_t> Widths;
    bool Compress;
    uint16_t Expected;
  };
  const Case cases[] = {
      {{500, 600, 600}, true, 2}, {{600, 600, 600}, true, 2}, {{500, 600}, true, 2},
      {{500}, true, 1},           {{}, true, 0},              {{500, 600, 600}, false, 3},
      {{1, 2, 3, 3, 3, 3}, true, 3}, {{1, 2, 3, 4}, true, 4},
  };
  for (const Case& c : cases) {
    auto hp = WithWidths(c.Widths, c.Compress);
    TTableHmtx& h = *hp;
    h.Compact();
    EXPECT_EQ(h.NumberOfHMetrics, c.Expected) << c.Widths.size() << " glyphs";
  }
}

TEST(HmtxTable, WritesFullEntriesThenBearings) {
  auto hp = WithWidths({500, 600, 600});
  TTableHmtx& h = *hp;
  h.Metrics[2].LeftSideBearing = -7;
  TMemoryStream m;
  h.SaveToStream(m);
  Bytes expected;
  for (int v : {500, 0, 600, 0, -7}) Put16(expected, uint16_t(v));
  EXPECT_EQ(m.Bytes(), expected);
}

TEST(HmtxTable, ReadsSharedWidthAndSeparateBearings) {
  Bytes b;
  for (int v : {700, 10, 20, 30, 40}) Put16(b, uint16_t(v));
  TTableHmtx h;
  h.NumberOfHMetrics = 1;
  h.NumGlyphs = 4;
  TReadOnlyStream s(b.data(), b.size());
  h.LoadFromStream(s);
  ASSERT_EQ(h.Metrics.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(h.AdvanceWidth(i), 700);
    EXPECT_EQ(h.LeftSideBearing(i), 10 * (i + 1));
  }
}

TEST(HmtxTable, ShortTableStopsAtItsEnd) {
  // Two full entries promised, one present and half a bearing: the rest is
  // 0, never bytes from beyond the table.
  Bytes b;
  for (int v : {700, 10, 0x7777}) Put16(b, uint16_t(v));
  b.push_back(0x55);
  TTableHmtx h;
  h.NumberOfHMetrics = 2;
  h.NumGlyphs = 3;
  TWarningCollector::Clear();
  TReadOnlyStream s(b.data(), 7);
  h.LoadFromStream(s);
  EXPECT_EQ(h.Metrics[0], (THmtxMetrics{700, 10}));
  EXPECT_EQ(h.Metrics[1], (THmtxMetrics{0, 0}));
  EXPECT_EQ(h.Metrics[2], (THmtxMetrics{0, 0}));
  ASSERT_EQ(TWarningCollector::Warnings().size(), 1u);
  EXPECT_NE(TWarningCollector::Warnings()[0].find("hmtx"), std::string::npos);
}

TEST(HmtxTable, Errors) {
  TTableHmtx h;
  h.NumGlyphs = 2;
  h.NumberOfHMetrics = 0;
  TMemoryStream empty;
  try {
    h.LoadFromStream(empty);
    FAIL();
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "hmtx numberOfHMetrics is zero while numGlyphs>0 !!");
  }
  auto wp = WithWidths({500});
  TTableHmtx& w = *wp;
  EXPECT_THROW(w.AdvanceWidth(1), FontException);
  EXPECT_THROW(w.SetLeftSideBearing(-1, 0), FontException);
  EXPECT_THROW(w.SetAdvanceWidth(0, 65536), ERangeError);
  EXPECT_THROW(w.SetLeftSideBearing(0, -32769), ERangeError);
  w.SetAdvanceWidth(0, 65535);
  EXPECT_EQ(w.AdvanceWidth(0), 65535);
}

TEST(HmtxTable, InsertDeleteSwapCountedFormAndAverages) {
  auto hp = WithWidths({100, 0, 300});
  TTableHmtx& h = *hp;
  h.InsertMetric(1);
  EXPECT_EQ(h.NumGlyphs, 4);
  EXPECT_EQ(h.AdvanceWidth(1), 0);
  h.SwapMetrics(0, 3);
  EXPECT_EQ(h.AdvanceWidth(0), 300);
  h.DeleteMetric(2);
  EXPECT_EQ(h.NumGlyphs, 3);
  EXPECT_EQ(h.AverageWidth(), 400 / 3);
  EXPECT_EQ(h.AverageNonZeroWidth(), 200);

  TTableHmtx copy;
  copy.AssignMetrics(h);
  EXPECT_EQ(copy.Metrics, h.Metrics);
  EXPECT_EQ(copy.NumGlyphs, 3);
  EXPECT_EQ(WithWidths({})->AverageWidth(), 0);
  EXPECT_EQ(WithWidths({0, 0})->AverageNonZeroWidth(), 0);
}

TEST(LocaTable, ChoosesShortOffsetsOnlyWhenTheyFit) {
  struct Case {
    std::vector<uint32_t> Offsets;
    int16_t Expected;
  };
  const Case cases[] = {{{0, 4, 0x1FFFE}, 0}, {{0, 4, 0x20000}, 1}, {{0, 3, 8}, 1}, {{0, 0}, 0}};
  for (const Case& c : cases) {
    TTableLoca loca;
    loca.Offsets = c.Offsets;
    loca.NumGlyphs = uint16_t(c.Offsets.size() - 1);
    loca.ChooseFormat();
    EXPECT_EQ(loca.IndexToLocFormat, c.Expected) << c.Offsets.back();
    TMemoryStream m;
    loca.SaveToStream(m);
    EXPECT_EQ(m.Size(), c.Offsets.size() * (c.Expected == 0 ? 2 : 4));
  }
}

TEST(LocaTable, ReadsBothFormatsAndRefusesOthers) {
  Bytes b;
  for (int v : {0, 5, 9}) Put16(b, uint16_t(v));
  TTableLoca loca;
  loca.NumGlyphs = 2;
  TReadOnlyStream s(b.data(), b.size());
  loca.LoadFromStream(s);
  EXPECT_EQ(loca.Offsets, (std::vector<uint32_t>{0, 10, 18}));

  loca.IndexToLocFormat = 2;
  s.Seek(0);
  try {
    loca.LoadFromStream(s);
    FAIL();
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Wrong indexToLocFormat value 2");
  }
  TTableLoca none;
  TMemoryStream m;
  try {
    none.SaveToStream(m);
    FAIL();
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Can't save loca table to stream when numglyphs is zero!");
  }
}
