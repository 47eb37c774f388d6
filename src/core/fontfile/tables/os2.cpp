#include "fontfile/tables/os2.h"

#include <algorithm>
#include <vector>

#include "fontfile/fontexception.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/tablewindow.h"
#include "fontfile/warnings.h"

namespace tsy {

namespace {

struct TReadIO {
  TStream& S;
  void U16(uint16_t& V) { V = ReadUInt16(S); }
  void I16(int16_t& V) { V = ReadInt16(S); }
  void U32(uint32_t& V) { V = ReadUInt32(S); }
  template <size_t N>
  void Bytes(std::array<uint8_t, N>& V) { V = ReadBlock<N>(S); }
  void Vendor(std::array<char, 4>& V) {
    for (char& c : V) c = char(ReadUInt8(S));
  }
  void Descent(int32_t& V) { V = -int32_t(ReadUInt16(S)); }
};

struct TWriteIO {
  TStream& S;
  void U16(const uint16_t& V) { WriteUInt16(S, V); }
  void I16(const int16_t& V) { WriteInt16(S, V); }
  void U32(const uint32_t& V) { WriteUInt32(S, V); }
  template <size_t N>
  void Bytes(const std::array<uint8_t, N>& V) { WriteBlock<N>(S, V); }
  void Vendor(const std::array<char, 4>& V) {
    for (char c : V) WriteUInt8(S, uint8_t(c));
  }
  void Descent(const int32_t& V) { WriteUInt16(S, CheckedUInt16(-int64_t(V), "OS/2 usWinDescent")); }
};

}  // namespace

// The one description of the layout, walked by both reading and writing.
template <class IO>
void TTableOS_2::Fields(IO& io) {
  io.U16(version);
  io.I16(xAvgCharWidth);
  io.U16(usWeightClass);
  io.U16(usWidthClass);
  io.U16(fsType);
  for (int16_t* f : {&ySubscriptXSize, &ySubscriptYSize, &ySubscriptXOffset, &ySubscriptYOffset, &ySuperscriptXSize,
                     &ySuperscriptYSize, &ySuperscriptXOffset, &ySuperscriptYOffset, &yStrikeoutSize,
                     &yStrikeoutPosition, &sFamilyClass})
    io.I16(*f);
  io.Bytes(PANOSE);
  io.U32(ulUnicodeRange1);
  io.U32(ulUnicodeRange2);
  io.U32(ulUnicodeRange3);
  io.U32(ulUnicodeRange4);
  io.Vendor(achVendID);
  io.U16(fsSelection);
  io.U16(usFirstCharIndex);
  io.U16(usLastCharIndex);
  io.I16(sTypoAscender);
  io.I16(sTypoDescender);
  io.I16(sTypoLineGap);
  io.U16(usWinAscent);
  io.Descent(usWinDescent);
  if (version == 0) return;
  io.U32(FCodePageRange1);
  io.U32(FCodePageRange2);
  if (version < 2) return;
  io.I16(FxHeight);
  io.I16(FCapHeight);
  io.U16(FDefaultChar);
  io.U16(FBreakChar);
  io.U16(FMaxContext);
  if (version < 5) return;
  io.U16(FLowerOpticalPointSize);
  io.U16(FUpperOpticalPointSize);
}

uint32_t TTableOS_2::LayoutSize(uint16_t Version) {
  if (Version == 0) return 78;
  if (Version == 1) return 86;
  if (Version < 5) return 96;
  return 100;
}

void TTableOS_2::LoadFromStream(TStream& S) {
  std::vector<uint8_t> holder;
  TReadOnlyStream t = TableWindow(S, holder);
  FCodePageRange1 = FCodePageRange2 = 0;
  FxHeight = FCapHeight = 0;
  FDefaultChar = FBreakChar = FMaxContext = 0;
  FLowerOpticalPointSize = FUpperOpticalPointSize = 0;
  TReadIO io{t};
  Fields(io);
  // A table shorter than its version's layout reads zeros past its own end,
  // never the bytes of the next table.
  if (t.Size() < LayoutSize(version))
    TWarningCollector::AddFmt("[OS/2] Table of version %d has %llu bytes instead of %u; the missing fields read as 0.",
                              version, (unsigned long long)t.Size(), LayoutSize(version));
}

void TTableOS_2::SaveToStream(TStream& S) const {
  TWriteIO io{S};
  const_cast<TTableOS_2*>(this)->Fields(io);  // the writer only reads the fields
}

void TTableOS_2::Need(int MinVersion, const char* Field) const {
  if (version < MinVersion)
    throw FontException(Format("[Table OS/2] This version %d doesn't support %s!", version, Field));
}

uint32_t TTableOS_2::ulCodePageRange1() const { Need(1, "ulCodePageRange1"); return FCodePageRange1; }
uint32_t TTableOS_2::ulCodePageRange2() const { Need(1, "ulCodePageRange2"); return FCodePageRange2; }
int16_t TTableOS_2::sxHeight() const { Need(2, "sxHeight"); return FxHeight; }
int16_t TTableOS_2::sCapHeight() const { Need(2, "sCapHeight"); return FCapHeight; }
uint16_t TTableOS_2::usDefaultChar() const { Need(2, "usDefaultChar"); return FDefaultChar; }
uint16_t TTableOS_2::usBreakChar() const { Need(2, "usBreakChar"); return FBreakChar; }
uint16_t TTableOS_2::usMaxContext() const { Need(2, "usMaxContext"); return FMaxContext; }
uint16_t TTableOS_2::usLowerOpticalPointSize() const { Need(5, "usLowerOpticalPointSize"); return FLowerOpticalPointSize; }
uint16_t TTableOS_2::usUpperOpticalPointSize() const { Need(5, "usUpperOpticalPointSize"); return FUpperOpticalPointSize; }
void TTableOS_2::SetulCodePageRange1(uint32_t V) { Need(1, "ulCodePageRange1"); FCodePageRange1 = V; }
void TTableOS_2::SetulCodePageRange2(uint32_t V) { Need(1, "ulCodePageRange2"); FCodePageRange2 = V; }
void TTableOS_2::SetsxHeight(int16_t V) { Need(2, "sxHeight"); FxHeight = V; }
void TTableOS_2::SetsCapHeight(int16_t V) { Need(2, "sCapHeight"); FCapHeight = V; }
void TTableOS_2::SetusDefaultChar(uint16_t V) { Need(2, "usDefaultChar"); FDefaultChar = V; }
void TTableOS_2::SetusBreakChar(uint16_t V) { Need(2, "usBreakChar"); FBreakChar = V; }
void TTableOS_2::SetusMaxContext(uint16_t V) { Need(2, "usMaxContext"); FMaxContext = V; }
void TTableOS_2::SetusLowerOpticalPointSize(uint16_t V) { Need(5, "usLowerOpticalPointSize"); FLowerOpticalPointSize = V; }
void TTableOS_2::SetusUpperOpticalPointSize(uint16_t V) { Need(5, "usUpperOpticalPointSize"); FUpperOpticalPointSize = V; }

void TTableOS_2::SetVendorID(const std::string& Text) {
  // A short vendor ID is padded with blanks, as the OpenType format asks.
  for (size_t i = 0; i < 4; ++i) achVendID[i] = i < Text.size() ? Text[i] : ' ';
}

// ---- Unicode coverage

namespace {

struct TRangeRule {
  uint8_t Word, Bit, MinVersion, MaxVersion;
  uint32_t Low, High;
  bool Wide;  // looked up in (3, 10)
};

constexpr uint8_t A = 1, Z = 3;  // all versions that compute ranges
constexpr TRangeRule kRules[] = {
    // ulUnicodeRange1
    {1, 0, A, Z, 32, 126, false}, {1, 1, A, Z, 160, 255, false}, {1, 2, A, Z, 256, 383, false},
    {1, 3, A, Z, 384, 591, false}, {1, 4, A, Z, 592, 687, false}, {1, 5, A, Z, 688, 767, false},
    {1, 6, A, Z, 768, 879, false}, {1, 7, 1, 1, 880, 975, false}, {1, 7, 2, 3, 880, 1023, false},
    {1, 8, 1, 1, 976, 1023, false}, {1, 9, A, Z, 1024, 1327, false}, {1, 10, A, Z, 1328, 1423, false},
    {1, 11, 1, 1, 1488, 1514, false}, {1, 11, 2, 3, 1424, 1535, false}, {1, 12, 1, 1, 1424, 1487, false},
    {1, 12, 1, 1, 1515, 1535, false}, {1, 13, 1, 1, 1536, 1618, false}, {1, 13, 2, 3, 1536, 1791, false},
    {1, 14, 1, 1, 1619, 1791, false}, {1, 15, A, Z, 2304, 2431, false}, {1, 16, A, Z, 2432, 2559, false},
    {1, 17, A, Z, 2560, 2687, false}, {1, 18, A, Z, 2688, 2815, false}, {1, 19, A, Z, 2816, 2943, false},
    {1, 20, A, Z, 2944, 3071, false}, {1, 21, A, Z, 3072, 3199, false}, {1, 22, A, Z, 3200, 3327, false},
    {1, 23, A, Z, 3328, 3455, false}, {1, 24, A, Z, 3584, 3711, false}, {1, 25, A, Z, 3712, 3839, false},
    {1, 26, 1, 1, 4304, 4351, false}, {1, 26, 2, 3, 4256, 4351, false}, {1, 27, 1, 1, 4256, 4303, false},
    {1, 28, A, Z, 4352, 4607, false}, {1, 29, A, Z, 7680, 7935, false}, {1, 30, A, Z, 7936, 8191, false},
    {1, 31, A, Z, 8192, 8303, false},
    // ulUnicodeRange2
    {2, 0, A, Z, 8304, 8351, false}, {2, 1, A, Z, 8352, 8399, false}, {2, 2, A, Z, 8400, 8447, false},
    {2, 3, A, Z, 8448, 8527, false}, {2, 4, A, Z, 8528, 8591, false}, {2, 5, A, Z, 8592, 8703, false},
    {2, 5, 3, 3, 10224, 10239, false}, {2, 5, 3, 3, 10496, 10623, false}, {2, 6, A, Z, 8704, 8959, false},
    {2, 6, 3, 3, 10752, 11007, false}, {2, 6, 3, 3, 10176, 10223, false}, {2, 6, 3, 3, 10624, 10751, false},
    {2, 7, A, Z, 8960, 9215, false}, {2, 8, A, Z, 9216, 9279, false}, {2, 9, A, Z, 9280, 9311, false},
    {2, 10, A, Z, 9312, 9471, false}, {2, 11, A, Z, 9472, 9599, false}, {2, 12, A, Z, 9600, 9631, false},
    {2, 13, A, Z, 9632, 9727, false}, {2, 14, A, Z, 9728, 9983, false}, {2, 15, A, Z, 9984, 10175, false},
    {2, 16, A, Z, 12288, 12351, false}, {2, 17, A, Z, 12352, 12447, false}, {2, 18, A, Z, 12448, 12543, false},
    {2, 18, 3, 3, 12784, 12799, false}, {2, 19, A, Z, 12544, 12591, false}, {2, 19, 2, 3, 12704, 12735, false},
    {2, 20, A, Z, 12592, 12687, false}, {2, 21, 1, 2, 12688, 12703, false}, {2, 22, A, Z, 12800, 13055, false},
    {2, 23, A, Z, 13056, 13311, false}, {2, 24, A, Z, 44032, 55215, false}, {2, 25, 2, 3, 65536, 1048576, true},
    {2, 27, A, Z, 19968, 40959, false}, {2, 27, 2, 3, 11904, 12031, false}, {2, 27, 2, 3, 12032, 12255, false},
    {2, 27, 2, 3, 12272, 12287, false}, {2, 27, 2, 3, 13312, 19903, false}, {2, 27, 3, 3, 12688, 12703, false},
    {2, 27, 3, 3, 131072, 173791, true}, {2, 28, A, Z, 57344, 63743, false}, {2, 29, A, Z, 63744, 64255, false},
    {2, 29, 3, 3, 194560, 195103, true}, {2, 30, A, Z, 64256, 64335, false}, {2, 31, A, Z, 64336, 65023, false},
    // ulUnicodeRange3
    {3, 0, 1, Z, 65056, 65071, false}, {3, 1, 1, Z, 65072, 65103, false}, {3, 2, 1, Z, 65104, 65135, false},
    {3, 3, 1, Z, 65136, 65279, false}, {3, 4, 1, Z, 65280, 65519, false}, {3, 5, 1, Z, 65520, 65535, false},
    {3, 6, 2, Z, 3840, 4095, false}, {3, 7, 2, Z, 1792, 1871, false}, {3, 8, 2, Z, 1920, 1983, false},
    {3, 9, 2, Z, 3456, 3583, false}, {3, 10, 2, Z, 4096, 4255, false}, {3, 11, 2, Z, 4608, 4991, false},
    {3, 12, 2, Z, 5024, 5119, false}, {3, 13, 2, Z, 5120, 5759, false}, {3, 14, 2, Z, 5760, 5791, false},
    {3, 15, 2, Z, 5792, 5887, false}, {3, 16, 2, Z, 6016, 6143, false}, {3, 17, 2, Z, 6144, 6319, false},
    {3, 18, 2, Z, 10240, 10495, false}, {3, 19, 2, Z, 40960, 42127, false}, {3, 19, 2, Z, 42128, 42191, false},
    {3, 20, 3, Z, 5888, 6015, false}, {3, 21, 3, Z, 66304, 66351, true}, {3, 22, 3, Z, 66352, 66383, true},
    {3, 23, 3, Z, 66560, 66639, true}, {3, 24, 3, Z, 118784, 119295, true}, {3, 25, 3, Z, 119808, 120831, true},
    {3, 26, 3, Z, 983040, 1114111, true}, {3, 27, 3, Z, 65024, 65039, false}, {3, 28, 3, Z, 917504, 917631, true},
};

// Characters mapped to a real glyph, sorted, so each range is one binary search.
std::vector<uint32_t> MappedChars(const TCmapEncodingTableEntry* E) {
  std::vector<uint32_t> v;
  if (!E) return v;
  for (const auto& m : E->SubTable->Mappings.All())
    if (m.GlyphIndex != 0) v.push_back(m.CharCode);
  std::sort(v.begin(), v.end());
  return v;
}

bool AnyIn(const std::vector<uint32_t>& V, uint32_t Low, uint32_t High) {
  auto it = std::lower_bound(V.begin(), V.end(), Low);
  return it != V.end() && *it <= High;
}

uint32_t RangeWord(const TCmapMappingTable& Cmap, int Version, int Word) {
  const TCmapEncodingTableEntry* bmp = Cmap.Find(3, 1);
  if (!bmp || Version < 1) return 0;
  // Versions 4 and 5 share the coverage rules of version 3.
  const int v = std::min(Version, 3);
  const std::vector<uint32_t> narrow = MappedChars(bmp), wide = MappedChars(Cmap.Find(3, 10));
  uint32_t bits = 0;
  for (const TRangeRule& r : kRules) {
    if (r.Word != Word || v < r.MinVersion || v > r.MaxVersion) continue;
    if (AnyIn(r.Wide ? wide : narrow, r.Low, r.High)) bits |= 1u << r.Bit;
  }
  return bits;
}

}  // namespace

uint32_t TTableOS_2::UnicodeRange1(const TCmapMappingTable& Cmap, int Version) { return RangeWord(Cmap, Version, 1); }
uint32_t TTableOS_2::UnicodeRange2(const TCmapMappingTable& Cmap, int Version) { return RangeWord(Cmap, Version, 2); }
uint32_t TTableOS_2::UnicodeRange3(const TCmapMappingTable& Cmap, int Version) { return RangeWord(Cmap, Version, 3); }

}  // namespace tsy
