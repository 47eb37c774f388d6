#pragma once
// The building blocks of a CFF table: INDEX structures and DICT data, read
// from the table's bytes with every count, offset and size checked against
// the table. A structure that does not fit raises FontException.
#include <cstdint>
#include <functional>
#include <vector>

namespace tsy {

// Bytes [Offset, Offset + Length) of the CFF table.
struct TCFFSpan {
  uint32_t Offset = 0;
  uint32_t Length = 0;
};

// The table's bytes with bounded access; every structure is located by an
// offset from the table's first byte.
class TCFFData {
public:
  TCFFData() = default;
  TCFFData(const uint8_t* Data, uint64_t Size) : FData(Data), FSize(Size) {}

  uint64_t Size() const { return FSize; }
  const uint8_t* Data() const { return FData; }
  // One byte at Offset; FontException when outside the table.
  uint8_t Byte(uint64_t Offset) const;
  // An unsigned big-endian number of Bytes bytes (1 to 4) at Offset.
  uint32_t Number(uint64_t Offset, unsigned Bytes) const;
  // Raises FontException (What) unless [Offset, Offset + Length) lies in the table.
  void CheckRange(uint64_t Offset, uint64_t Length, const char* What) const;

  // Reads the INDEX at Pos into its entries and moves Pos behind it.
  std::vector<TCFFSpan> ReadIndex(uint64_t& Pos, const char* What) const;

private:
  const uint8_t* FData = nullptr;
  uint64_t FSize = 0;
};

// At most this many operands precede a DICT operator or a charstring operator.
constexpr int kCFFMaxOperands = 48;

// One DICT operator with its operands; escaped operators are 1200 + second byte.
struct TCFFDictEntry {
  int Operator = 0;
  int OperandCount = 0;
  double Operands[kCFFMaxOperands] = {};
  double Operand(int I) const { return I < OperandCount ? Operands[I] : 0; }
};

// Decodes the DICT in Span, calling Visit for every operator. Visit decides
// which operators are accepted and raises for the others.
void DecodeCFFDict(const TCFFData& Data, TCFFSpan Span, const std::function<void(const TCFFDictEntry&)>& Visit);

// A DICT operand that must be a non-negative offset or size inside a table
// of TableSize bytes; anything else raises FontException naming What.
uint32_t CFFDictOffset(double Value, uint64_t TableSize, const char* What);

}  // namespace tsy
