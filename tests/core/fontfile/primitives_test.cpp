#include "fontfile/primitives.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fontfile/fontexception.h"

using namespace tsy;

TEST(SearchParams, MatchTheSfntRules) {
  struct Case {
    uint32_t Count, Unit;
    TSearchParams Want;
  };
  const Case cases[] = {
      {0, 16, {0, 0, 0}}, {9, 16, {128, 3, 16}}, {1, 6, {6, 0, 0}}, {20, 16, {256, 4, 64}}, {65535, 1, {32768, 15, 32767}},
  };
  for (const Case& c : cases) EXPECT_EQ(CalcSearchParams(c.Count, c.Unit), c.Want) << c.Count << "x" << c.Unit;
  EXPECT_THROW(CalcSearchParams(4096, 16), ERangeError);  // searchRange 65536
  EXPECT_THROW(CalcSearchParams(65535, 6), ERangeError);
}

TEST(Conversions, FixedPoint) {
  EXPECT_EQ(DoubleToF2Dot14(2.0), 0x7FFF);
  EXPECT_EQ(DoubleToF2Dot14(-2.0), 0x8000);
  EXPECT_EQ(DoubleToF2Dot14(0.5), 0x2000);
  EXPECT_EQ(F2Dot14ToDouble(0xC000), -1.0);
  EXPECT_EQ(F2Dot14ToDouble(0x7FFF), 1.99993896484375);
  EXPECT_EQ(FixedToDouble(int32_t(0xFFFF8000)), -0.5);
  EXPECT_EQ(FixedToDouble(0x00018000), 1.5);
  EXPECT_EQ(DoubleToFixed(1.5), 0x00018000);
  EXPECT_EQ(DoubleToFixed(-32768.0), int32_t(0x80000000));
  EXPECT_THROW(DoubleToFixed(32768.0), ERangeError);
  EXPECT_THROW(DoubleToFixed(NAN), ERangeError);
}

TEST(Conversions, LongDateTime) {
  int y, m, d, h, mi, s;
  DecodeDateTime(LongDateTimeToDateTime(0), y, m, d, h, mi, s);
  EXPECT_EQ((std::array{y, m, d, h, mi, s}), (std::array{1904, 1, 1, 0, 0, 0}));
  // Only the lower 32 bits count.
  EXPECT_EQ(LongDateTimeToDateTime(int64_t(0x1234) << 32 | 86400), LongDateTimeToDateTime(86400));
  const TDateTime t = EncodeDateTime(2026, 12, 11, 13, 45, 30);
  DecodeDateTime(t, y, m, d, h, mi, s);
  EXPECT_EQ((std::array{y, m, d, h, mi, s}), (std::array{2026, 12, 11, 13, 45, 30}));
  EXPECT_EQ(LongDateTimeToDateTime(DateTimeToLongDateTime(t)), t);
  EXPECT_EQ(DateTimeToLongDateTime(EncodeDateTime(1904, 1, 2)), 86400);
}

TEST(Streams, BigEndianRoundTripAndZerosPastTheEnd) {
  TMemoryStream m;
  WriteUInt16(m, 0xABCD);
  WriteInt16(m, -2);
  WriteUInt32(m, 0x01020304);
  WriteInt32(m, -5);
  WriteTag(m, "cvt");
  WriteLongDateTime(m, 0x0102030405060708LL);
  WriteDouble(m, -1.25);
  WriteShortString(m, "Bold");
  WriteUnicodeString(m, u"\u00e9\u2122");
  ASSERT_EQ(m.Size(), 2u + 2 + 4 + 4 + 4 + 8 + 8 + 5 + 4);
  EXPECT_EQ(m.Bytes()[0], 0xAB);
  EXPECT_EQ(m.Bytes()[15], ' ');  // tags are padded with blanks
  EXPECT_EQ(m.Bytes()[31], 0xBF);  // doubles are little-endian: sign byte last
  m.Seek(0);
  EXPECT_EQ(ReadUInt16(m), 0xABCD);
  EXPECT_EQ(ReadInt16(m), -2);
  EXPECT_EQ(ReadUInt32(m), 0x01020304u);
  EXPECT_EQ(ReadInt32(m), -5);
  EXPECT_EQ(ReadTag(m), "cvt ");
  EXPECT_EQ(ReadLongDateTime(m), 0x0102030405060708LL);
  EXPECT_EQ(ReadDouble(m), -1.25);
  EXPECT_EQ(ReadShortString(m), "Bold");
  EXPECT_EQ(ReadUnicodeString(m, 5), u"\u00e9\u2122");  // an odd last byte is not read
  EXPECT_EQ(ReadUInt32(m), 0u);                          // past the end: zeros

  const uint8_t three[] = {0x12, 0x34, 0x56};
  TReadOnlyStream r(three, 3);
  EXPECT_EQ(ReadUInt32(r), 0x12345600u);
}

TEST(Streams, RangeErrorsWriteNothing) {
  TMemoryStream m;
  EXPECT_THROW(WriteShortString(m, std::string(256, 'x')), ERangeError);
  EXPECT_THROW(WriteAnsiString(m, std::string(65536, 'x')), ERangeError);
  EXPECT_THROW(WriteUnicodeString(m, std::u16string(65536, u'x')), ERangeError);
  EXPECT_EQ(m.Size(), 0u);
}

TEST(Streams, HostileCountsAllocateOnlyWhatIsThere) {
  const uint8_t bytes[] = {0xFF, 'a', 'b'};
  TReadOnlyStream r(bytes, 3);
  EXPECT_EQ(ReadShortString(r), "ab");  // claims 255 characters, has 2
  TReadOnlyStream r2(bytes, 3);
  EXPECT_EQ(ReadUnicodeString(r2, 0xFFFFFFFF), u"\xFF61");
  TReadOnlyStream r3(bytes, 3);
  EXPECT_EQ(ReadAnsiString(r3, 0xFFFFFFFF).size(), 3u);
}

TEST(Streams, WindowsStayInsideTheirBytes) {
  auto owner = std::make_shared<const std::vector<uint8_t>>(std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8});
  TReadOnlyStream all(owner);
  TReadOnlyStream w = all.Sub(2, 3);
  EXPECT_EQ(ReadUInt32(w), 0x03040500u);  // the 6th byte is not the window's
  EXPECT_THROW(all.Sub(6, 3), EStreamError);
  EXPECT_THROW(all.Sub(9, 0), EStreamError);
  EXPECT_THROW(w.Sub(0, 4), EStreamError);
  EXPECT_THROW(TReadOnlyStream(owner, 4, 0xFFFFFFFFFFFFFFFFull), EStreamError);
}

TEST(Checksum, CoversWholeWordsOnly) {
  TMemoryStream m;
  const uint8_t body[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0, 0, 0};
  m.Write(body, sizeof body);
  EXPECT_EQ(TableChecksum(m, 0, 8), 0x01020304u + 0x05000000u);
  EXPECT_EQ(TableChecksum(m, 0, 5), 0x01020304u);
}

TEST(Padding, IsRelativeToTheOrigin) {
  TMemoryStream m;
  m.Write("abcde", 5);
  PadStream(m, 4, 0);
  EXPECT_EQ(m.Size(), 8u);
  PadStream(m, 4, 3);  // 5 bytes since the origin: 3 more
  EXPECT_EQ(m.Size(), 11u);
  PadStream(m, 1, 0);
  EXPECT_EQ(m.Size(), 11u);
}
