#pragma once
// The kern table: one sorted list of kerning pairs, written as a single
// horizontal format 0 subtable.
#include <cstdint>
#include <vector>

#include "fontfile/fonttable.h"

namespace tsy {

struct TKerningPair {
  uint16_t Left = 0;
  uint16_t Right = 0;
  int16_t Value = 0;
};

class TTableKern : public TFontTable {
public:
  // 14 + 6 * pairs must fit the 16-bit subtable length.
  static constexpr size_t kMaxPairs = 10920;

  explicit TTableKern(const std::string& Tag = "kern") : TFontTable(Tag) { CheckTag("TTableKern", "kern", Tag); }
  const char* ClassName() const override { return "TTableKern"; }
  void LoadFromStream(TStream& S) override;
  void SaveToStream(TStream& S) const override;
  bool IsEmpty() const override { return FPairs.empty() && FKeptBytes.empty(); }

  size_t PairCount() const { return FPairs.size(); }
  const TKerningPair& Pair(size_t Index) const { return FPairs.at(Index); }
  TKerningPair& Pair(size_t Index) { return FPairs.at(Index); }
  void AddPair(const TKerningPair& Pair);
  int FindPair(uint16_t Left, uint16_t Right) const;
  void DeletePair(size_t Index);
  void Clear();

  void InsertGlyph(uint16_t Index);
  void DeleteGlyph(uint16_t Index);
  void SwapGlyphs(uint16_t A, uint16_t B);
  void WritePairsOfGlyphs(TStream& S, const std::vector<uint16_t>& Glyphs) const;
  void ReadPairs(TStream& S);

  // The coverage word of the subtable the pairs came from (horizontal
  // format 0 for a new table); vertical and cross-stream bits are kept.
  uint16_t Coverage = 1;
  uint16_t Version = 0;
  // True while the table holds a file's bytes it could not represent as
  // pairs (more than kMaxPairs); those bytes are written back unchanged until
  // the pairs are edited.
  bool KeepsOriginalBytes() const { return !FKeptBytes.empty(); }

private:
  void Edited() { FKeptBytes.clear(); }
  bool GlyphEditOfKeptBytes() const;
  bool FSorted = true;
  std::vector<TKerningPair> FPairs;
  std::vector<uint8_t> FKeptBytes;
};

}  // namespace tsy
