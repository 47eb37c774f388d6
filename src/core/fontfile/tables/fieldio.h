#pragma once
// Fixed-layout tables describe their fields once, as a visit over member
// references; reading and writing walk the same list, so the two directions
// cannot drift apart.
#include <cstdint>

#include "fontfile/primitives.h"

namespace tsy {

// 64-bit fields of font headers are always LONGDATETIME.
struct TFieldReader {
  TStream& S;
  void operator()(uint16_t& V) const { V = ReadUInt16(S); }
  void operator()(int16_t& V) const { V = ReadInt16(S); }
  void operator()(uint32_t& V) const { V = ReadUInt32(S); }
  void operator()(int32_t& V) const { V = ReadInt32(S); }
  void operator()(int64_t& V) const { V = ReadLongDateTime(S); }
};

struct TFieldWriter {
  TStream& S;
  void operator()(uint16_t V) const { WriteUInt16(S, V); }
  void operator()(int16_t V) const { WriteInt16(S, V); }
  void operator()(uint32_t V) const { WriteUInt32(S, V); }
  void operator()(int32_t V) const { WriteInt32(S, V); }
  void operator()(int64_t V) const { WriteLongDateTime(S, V); }
};

}  // namespace tsy
