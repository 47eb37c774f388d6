#include "fontfile/cff/cffdata.h"

#include <charconv>
#include <cmath>
#include <string>

#include "fontfile/fontexception.h"

namespace tsy {

uint8_t TCFFData::Byte(uint64_t Offset) const {
  if (Offset >= FSize) throw FontException("[TTableCFF] Data runs past the end of the table.");
  return FData[Offset];
}

uint32_t TCFFData::Number(uint64_t Offset, unsigned Bytes) const {
  CheckRange(Offset, Bytes, "number");
  uint32_t v = 0;
  for (unsigned i = 0; i < Bytes; ++i) v = v << 8 | FData[Offset + i];
  return v;
}

void TCFFData::CheckRange(uint64_t Offset, uint64_t Length, const char* What) const {
  if (Offset > FSize || Length > FSize - Offset)
    throw FontException(Format("[TTableCFF] The %s lies outside the table.", What));
}

std::vector<TCFFSpan> TCFFData::ReadIndex(uint64_t& Pos, const char* What) const {
  CheckRange(Pos, 2, What);
  const uint32_t count = Number(Pos, 2);
  Pos += 2;
  std::vector<TCFFSpan> items;
  if (count == 0) return items;
  CheckRange(Pos, 1, What);
  const unsigned offSize = FData[Pos];
  Pos += 1;
  if (offSize < 1 || offSize > 4) throw FontException(Format("[TTableCFF] The %s has an offset size of %u.", What, offSize));
  const uint64_t arrayLength = uint64_t(count + 1) * offSize;
  CheckRange(Pos, arrayLength, What);
  const uint64_t dataStart = Pos + arrayLength;
  // Offsets count from the byte before the data, so the first is 1; each
  // entry ends where the next begins.
  items.reserve(count);
  uint32_t previous = Number(Pos, offSize);
  if (previous != 1) throw FontException(Format("[TTableCFF] The %s does not start at offset 1.", What));
  for (uint32_t i = 1; i <= count; ++i) {
    const uint32_t next = Number(Pos + uint64_t(i) * offSize, offSize);
    if (next < previous) throw FontException(Format("[TTableCFF] The %s has decreasing offsets.", What));
    items.push_back({uint32_t(dataStart + previous - 1), next - previous});
    previous = next;
  }
  CheckRange(dataStart, previous - 1, What);
  Pos = dataStart + previous - 1;
  return items;
}

namespace {

// A real number in nibbles; the loop is bounded by the DICT's end.
double ReadReal(const TCFFData& Data, uint64_t& Pos, uint64_t End) {
  std::string text;
  for (;;) {
    if (Pos >= End) throw FontException("[TTableCFF] A real number runs past the end of its DICT.");
    const uint8_t b = Data.Byte(Pos++);
    for (int shift = 4; shift >= 0; shift -= 4) {
      const int nibble = (b >> shift) & 0xF;
      if (nibble <= 9) text += char('0' + nibble);
      else if (nibble == 0xA) text += '.';
      else if (nibble == 0xB) text += 'E';
      else if (nibble == 0xC) text += "E-";
      else if (nibble == 0xE) text += '-';
      else if (nibble == 0xF) {
        // from_chars ignores the locale: the GUI sets the user's, whose
        // decimal separator may be a comma.
        double v = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return 0;
        return v;
      }
      // 0xD: nothing
    }
  }
}

}  // namespace

void DecodeCFFDict(const TCFFData& Data, TCFFSpan Span, const std::function<void(const TCFFDictEntry&)>& Visit) {
  Data.CheckRange(Span.Offset, Span.Length, "DICT");
  TCFFDictEntry entry;
  uint64_t pos = Span.Offset;
  const uint64_t end = uint64_t(Span.Offset) + Span.Length;
  auto push = [&](double V) {
    if (entry.OperandCount >= kCFFMaxOperands) throw FontException("[TTableCFF] A DICT operator has too many operands.");
    entry.Operands[entry.OperandCount++] = V;
  };
  auto need = [&](unsigned N) {
    if (end - pos < N) throw FontException("[TTableCFF] A DICT operand runs past the end of its DICT.");
  };
  while (pos < end) {
    const uint8_t b0 = Data.Byte(pos++);
    if (b0 >= 32 && b0 <= 246) {
      push(int(b0) - 139);
    } else if (b0 >= 247 && b0 <= 250) {
      need(1);
      push((int(b0) - 247) * 256 + Data.Byte(pos++) + 108);
    } else if (b0 >= 251 && b0 <= 254) {
      need(1);
      push(-(int(b0) - 251) * 256 - Data.Byte(pos++) - 108);
    } else if (b0 == 28) {
      need(2);
      push(int16_t(Data.Number(pos, 2)));
      pos += 2;
    } else if (b0 == 29) {
      need(4);
      push(int32_t(Data.Number(pos, 4)));
      pos += 4;
    } else if (b0 == 30) {
      push(ReadReal(Data, pos, end));
    } else if (b0 == 12) {
      if (pos >= end) throw FontException("[TTableCFF] An escaped DICT operator is cut off.");
      entry.Operator = 1200 + Data.Byte(pos++);
      Visit(entry);
      entry.OperandCount = 0;
    } else if (b0 < 32) {
      entry.Operator = b0;
      Visit(entry);
      entry.OperandCount = 0;
    } else {
      throw FontException(Format("Wrong DICT byte %d", int(b0)));
    }
  }
}

uint32_t CFFDictOffset(double Value, uint64_t TableSize, const char* What) {
  if (!(Value >= 0) || Value > double(TableSize))
    throw FontException(Format("[TTableCFF] The %s (%.0f) lies outside the table.", What, Value));
  return uint32_t(std::lround(Value));
}

}  // namespace tsy
