#pragma once
// Big-endian readers and writers for font data and the program's own streams,
// number format conversions, checksums and sfnt search parameters.
//
// A read of a number past the end of the stream yields zeros for the missing
// bytes; strings stop at the end instead. Since every table reads from a
// window onto its own bytes, neither reaches outside the table.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/numeric.h"
#include "fontfile/stream.h"

namespace tsy {

using TTag = std::string;  // four 8-bit characters, compared byte by byte

uint8_t ReadUInt8(TStream& S);
int8_t ReadInt8(TStream& S);
bool ReadBoolean(TStream& S);
uint16_t ReadUInt16(TStream& S);
int16_t ReadInt16(TStream& S);
inline uint16_t ReadUFWord(TStream& S) { return ReadUInt16(S); }
uint32_t ReadUInt24(TStream& S);
uint32_t ReadUInt32(TStream& S);
int32_t ReadInt32(TStream& S);
inline int32_t ReadFixed(TStream& S) { return ReadInt32(S); }
double ReadF2Dot14(TStream& S);
int64_t ReadLongDateTime(TStream& S);
TTag ReadTag(TStream& S);
std::string ReadShortString(TStream& S);
std::string ReadAnsiString(TStream& S, uint32_t Count);
std::u16string ReadUnicodeString(TStream& S, uint32_t ByteLength);
double ReadDouble(TStream& S);  // little-endian; the program's own streams only
template <size_t N>
std::array<uint8_t, N> ReadBlock(TStream& S);

void WriteUInt8(TStream& S, uint8_t V);
void WriteInt8(TStream& S, int8_t V);
void WriteBoolean(TStream& S, bool V);
void WriteUInt16(TStream& S, uint16_t V);
void WriteInt16(TStream& S, int16_t V);
inline void WriteUFWord(TStream& S, uint16_t V) { WriteUInt16(S, V); }
void WriteUInt32(TStream& S, uint32_t V);
void WriteInt32(TStream& S, int32_t V);
inline void WriteFixed(TStream& S, int32_t V) { WriteInt32(S, V); }
void WriteF2Dot14(TStream& S, double V);
void WriteLongDateTime(TStream& S, int64_t V);
void WriteTag(TStream& S, std::string_view Tag);  // padded with blanks to four characters
void WriteShortString(TStream& S, std::string_view V);  // over 255 characters: range error
void WriteAnsiString(TStream& S, std::string_view V);   // over 65535 characters: range error
void WriteUnicodeString(TStream& S, std::u16string_view V);  // over 65535 code units: range error
void WriteDouble(TStream& S, double V);
// The program's own 32-byte box record: XMin, YMin, XMax, YMax as doubles.
void WriteFloatRect(TStream& S, const TFloatRect& R);
TFloatRect ReadFloatRect(TStream& S);
template <size_t N>
void WriteBlock(TStream& S, const std::array<uint8_t, N>& Block);

// Checked narrowing for values headed to a font field.
uint16_t CheckedUInt16(int64_t V, const char* What);
int16_t CheckedInt16(int64_t V, const char* What);

// Appends zero bytes until the position is a multiple of Alignment, measured
// from Origin (the start of the sfnt being written).
void PadStream(TStream& S, uint32_t Alignment, uint64_t Origin = 0);

// Sum of Length div 4 big-endian words from Offset, modulo 2^32.
uint32_t TableChecksum(TStream& S, uint64_t Offset, uint64_t Length);

struct TSearchParams {
  uint16_t SearchRange = 0;
  uint16_t EntrySelector = 0;
  uint16_t RangeShift = 0;
  bool operator==(const TSearchParams&) const = default;
};
TSearchParams CalcSearchParams(uint32_t Count, uint32_t UnitSize);

// 16.16 and 2.14 fixed point.
double FixedToDouble(int32_t V);
int32_t DoubleToFixed(double X);
double F2Dot14ToDouble(uint16_t V);
uint16_t DoubleToF2Dot14(double X);

// Date-times are days since 1899-12-30 00:00 with the time of day as fraction.
using TDateTime = double;
TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour = 0, int Minute = 0, int Second = 0);
void DecodeDateTime(TDateTime T, int& Year, int& Month, int& Day, int& Hour, int& Minute, int& Second);
TDateTime LongDateTimeToDateTime(int64_t S);
int64_t DateTimeToLongDateTime(TDateTime T);

// ---- template bodies

template <size_t N>
std::array<uint8_t, N> ReadBlock(TStream& S) {
  std::array<uint8_t, N> b{};
  S.Read(b.data(), N);
  return b;
}

template <size_t N>
void WriteBlock(TStream& S, const std::array<uint8_t, N>& Block) {
  S.Write(Block.data(), N);
}

}  // namespace tsy
