#include "fontfile/primitives.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "fontfile/fontexception.h"

namespace tsy {

namespace {

// Reads N bytes big-endian; missing bytes at the end read as zero.
template <size_t N>
uint64_t ReadBE(TStream& S) {
  uint8_t b[N] = {};
  S.Read(b, N);
  uint64_t v = 0;
  for (size_t i = 0; i < N; ++i) v = (v << 8) | b[i];
  return v;
}

template <size_t N>
void WriteBE(TStream& S, uint64_t V) {
  uint8_t b[N];
  for (size_t i = 0; i < N; ++i) b[N - 1 - i] = uint8_t(V >> (8 * i));
  S.Write(b, N);
}

// 1899-12-30 is day 0; 1904-01-01 is day 1462.
constexpr double kMacEpoch = 1462.0;

// Days from civil date (proleptic Gregorian), relative to 1970-01-01.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + int64_t(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(int64_t(yoe) + era * 400 + (m <= 2));
}

constexpr int64_t kDay0FromUnix = -25569;  // 1899-12-30 relative to 1970-01-01

}  // namespace

uint8_t ReadUInt8(TStream& S) { return uint8_t(ReadBE<1>(S)); }
int8_t ReadInt8(TStream& S) { return int8_t(ReadBE<1>(S)); }
bool ReadBoolean(TStream& S) { return ReadBE<1>(S) != 0; }
uint16_t ReadUInt16(TStream& S) { return uint16_t(ReadBE<2>(S)); }
int16_t ReadInt16(TStream& S) { return int16_t(uint16_t(ReadBE<2>(S))); }
uint32_t ReadUInt24(TStream& S) { return uint32_t(ReadBE<3>(S)); }
uint32_t ReadUInt32(TStream& S) { return uint32_t(ReadBE<4>(S)); }
int32_t ReadInt32(TStream& S) { return int32_t(uint32_t(ReadBE<4>(S))); }
double ReadF2Dot14(TStream& S) { return F2Dot14ToDouble(ReadUInt16(S)); }
int64_t ReadLongDateTime(TStream& S) { return int64_t(ReadBE<8>(S)); }

TTag ReadTag(TStream& S) {
  char b[4] = {};
  S.Read(b, 4);
  return TTag(b, 4);
}

std::string ReadShortString(TStream& S) { return ReadAnsiString(S, ReadUInt8(S)); }

// Strings stop where the stream ends: a hostile count read from a file must
// not turn into gigabytes of zeros.
std::string ReadAnsiString(TStream& S, uint32_t Count) {
  std::string s(size_t(std::min<uint64_t>(Count, S.Remaining())), '\0');
  if (!s.empty()) S.Read(s.data(), s.size());
  return s;
}

std::u16string ReadUnicodeString(TStream& S, uint32_t ByteLength) {
  const uint64_t units = std::min<uint64_t>(ByteLength / 2, S.Remaining() / 2);
  std::u16string s(size_t(units), u'\0');
  for (char16_t& c : s) c = char16_t(ReadUInt16(S));
  return s;
}

double ReadDouble(TStream& S) {
  uint8_t b[8] = {};
  S.Read(b, 8);
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | b[i];
  return std::bit_cast<double>(v);
}

void WriteUInt8(TStream& S, uint8_t V) { WriteBE<1>(S, V); }
void WriteInt8(TStream& S, int8_t V) { WriteBE<1>(S, uint8_t(V)); }
void WriteBoolean(TStream& S, bool V) { WriteBE<1>(S, V ? 1 : 0); }
void WriteUInt16(TStream& S, uint16_t V) { WriteBE<2>(S, V); }
void WriteInt16(TStream& S, int16_t V) { WriteBE<2>(S, uint16_t(V)); }
void WriteUInt32(TStream& S, uint32_t V) { WriteBE<4>(S, V); }
void WriteInt32(TStream& S, int32_t V) { WriteBE<4>(S, uint32_t(V)); }
void WriteF2Dot14(TStream& S, double V) { WriteUInt16(S, DoubleToF2Dot14(V)); }
void WriteLongDateTime(TStream& S, int64_t V) { WriteBE<8>(S, uint64_t(V)); }

void WriteTag(TStream& S, std::string_view Tag) {
  char b[4] = {' ', ' ', ' ', ' '};
  std::memcpy(b, Tag.data(), std::min<size_t>(4, Tag.size()));
  S.Write(b, 4);
}

void WriteShortString(TStream& S, std::string_view V) {
  if (V.size() > 255) throw ERangeError(Format("String of %zu characters does not fit a short string", V.size()));
  WriteUInt8(S, uint8_t(V.size()));
  S.Write(V.data(), V.size());
}

void WriteAnsiString(TStream& S, std::string_view V) {
  if (V.size() > 65535) throw ERangeError(Format("String of %zu characters is too long", V.size()));
  S.Write(V.data(), V.size());
}

void WriteUnicodeString(TStream& S, std::u16string_view V) {
  if (V.size() > 65535) throw ERangeError(Format("String of %zu code units is too long", V.size()));
  for (char16_t c : V) WriteUInt16(S, uint16_t(c));
}

void WriteDouble(TStream& S, double V) {
  const uint64_t v = std::bit_cast<uint64_t>(V);
  uint8_t b[8];
  for (int i = 0; i < 8; ++i) b[i] = uint8_t(v >> (8 * i));
  S.Write(b, 8);
}

void WriteFloatRect(TStream& S, const TFloatRect& R) {
  WriteDouble(S, R.XMin);
  WriteDouble(S, R.YMin);
  WriteDouble(S, R.XMax);
  WriteDouble(S, R.YMax);
}

TFloatRect ReadFloatRect(TStream& S) {
  TFloatRect r;
  r.XMin = ReadDouble(S);
  r.YMin = ReadDouble(S);
  r.XMax = ReadDouble(S);
  r.YMax = ReadDouble(S);
  return r;
}

uint16_t CheckedUInt16(int64_t V, const char* What) {
  if (V < 0 || V > 65535) throw ERangeError(Format("%s %lld does not fit an unsigned 16-bit field", What, (long long)V));
  return uint16_t(V);
}

int16_t CheckedInt16(int64_t V, const char* What) {
  if (V < -32768 || V > 32767) throw ERangeError(Format("%s %lld does not fit a signed 16-bit field", What, (long long)V));
  return int16_t(V);
}

void PadStream(TStream& S, uint32_t Alignment, uint64_t Origin) {
  if (Alignment <= 1) return;
  const uint64_t rel = S.Position() - Origin;
  const uint64_t pad = (Alignment - rel % Alignment) % Alignment;
  static const uint8_t zeros[16] = {};
  for (uint64_t left = pad; left > 0;) {
    const size_t n = size_t(std::min<uint64_t>(left, sizeof zeros));
    S.Write(zeros, n);
    left -= n;
  }
}

uint32_t TableChecksum(TStream& S, uint64_t Offset, uint64_t Length) {
  S.Seek(Offset);
  uint32_t sum = 0;
  uint8_t buf[4096];
  uint64_t words = Length / 4;
  while (words > 0) {
    const size_t batch = size_t(std::min<uint64_t>(words, sizeof buf / 4));
    const size_t got = S.Read(buf, batch * 4);
    if (got < batch * 4) std::memset(buf + got, 0, batch * 4 - got);
    for (size_t i = 0; i < batch; ++i)
      sum += uint32_t(buf[4 * i]) << 24 | uint32_t(buf[4 * i + 1]) << 16 | uint32_t(buf[4 * i + 2]) << 8 |
             uint32_t(buf[4 * i + 3]);
    words -= batch;
  }
  return sum;
}

TSearchParams CalcSearchParams(uint32_t Count, uint32_t UnitSize) {
  if (Count == 0) return {};
  const uint32_t p = std::bit_floor(Count);
  const uint64_t range = uint64_t(UnitSize) * p;
  const uint64_t selector = std::countr_zero(p);
  const uint64_t shift = uint64_t(UnitSize) * (Count - p);
  if (range > 65535 || shift > 65535)
    throw ERangeError(Format("Search parameters of %u entries of %u bytes do not fit 16 bits", Count, UnitSize));
  return {uint16_t(range), uint16_t(selector), uint16_t(shift)};
}

double FixedToDouble(int32_t V) {
  return double(int16_t(uint32_t(V) >> 16)) + double(uint32_t(V) & 0xFFFF) / 65536.0;
}

int32_t DoubleToFixed(double X) {
  if (!(X >= -32768.0 && X < 32768.0)) throw ERangeError(Format("%g does not fit a 16.16 fixed value", X));
  return int32_t(std::nearbyint(X * 65536.0));
}

double F2Dot14ToDouble(uint16_t V) { return double(int16_t(V)) / 16384.0; }

uint16_t DoubleToF2Dot14(double X) {
  double r = std::nearbyint(X * 16384.0);
  if (!(r >= -32768.0)) r = -32768.0;  // also catches NaN
  if (r > 32767.0) r = 32767.0;
  return uint16_t(int16_t(r));
}

TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second) {
  const int64_t days = DaysFromCivil(Year, unsigned(Month), unsigned(Day)) - kDay0FromUnix;
  return double(days) + (Hour * 3600.0 + Minute * 60.0 + Second) / 86400.0;
}

void DecodeDateTime(TDateTime T, int& Year, int& Month, int& Day, int& Hour, int& Minute, int& Second) {
  // Work in whole seconds so that 23:59:59.9999 does not become 24:00:00.
  const int64_t secs = int64_t(std::llround(T * 86400.0));
  int64_t days = secs / 86400;
  int64_t rest = secs % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  CivilFromDays(days + kDay0FromUnix, Year, Month, Day);
  Hour = int(rest / 3600);
  Minute = int(rest / 60 % 60);
  Second = int(rest % 60);
}

TDateTime LongDateTimeToDateTime(int64_t S) {
  // Fonts with garbage in the upper half are common; only the lower half counts.
  const uint32_t low = uint32_t(uint64_t(S) & 0xFFFFFFFFu);
  return kMacEpoch + double(low) / 86400.0;
}

int64_t DateTimeToLongDateTime(TDateTime T) { return int64_t(std::llround((T - kMacEpoch) * 86400.0)); }

}  // namespace tsy
