#pragma once
// Builds small CFF tables inside tests: INDEX and DICT encoding, charstring
// operands and operators, and a whole table from its parts.
#include <cstdint>
#include <vector>

#include "support/fontbuilder.h"

namespace tsytest {

// A charstring operand (one byte, or 28 and a 16-bit number).
Bytes CsNum(int V);
// Operands followed by an operator (a value >= 1200 is 12 and value - 1200).
Bytes Cs(std::initializer_list<int> Operands, int Operator);
// An INDEX with 4-byte offsets.
Bytes CffIndex(const std::vector<Bytes>& Items);

struct CffParts {
  std::vector<Bytes> CharStrings;
  std::vector<Bytes> GlobalSubrs;
  std::vector<Bytes> LocalSubrs;
  // Non-empty: a charset in format 0 with these string ids for glyphs 1...
  std::vector<uint16_t> Charset;
  // CID-keyed when FontDictSubrs is not empty: one font dict per entry, each
  // with its local subroutines, and FDSelect format 3 from FDRanges
  // (first glyph, font dict).
  std::vector<std::vector<Bytes>> FontDictSubrs;
  std::vector<std::pair<uint16_t, uint8_t>> FDRanges;
};

Bytes BuildCff(const CffParts& Parts);

}  // namespace tsytest
