#pragma once
// The gasp table: grid-fitting and scan-conversion behaviour by size.
#include <cstdint>
#include <vector>

#include "fontfile/fonttable.h"

namespace tsy {

struct TGaspRange {
  uint16_t MaxPPEM = 0;
  uint16_t Behavior = 0;
};

class TTableGasp : public TFontTable {
public:
  explicit TTableGasp(const std::string& Tag = "gasp") : TFontTable(Tag) { CheckTag("TTableGasp", "gasp", Tag); }
  const char* ClassName() const override { return "TTableGasp"; }
  void LoadFromStream(TStream& S) override;
  void SaveToStream(TStream& S) const override;

  // Sorted by MaxPPEM; an equal MaxPPEM goes after the existing ones.
  void AddRange(const TGaspRange& Range);
  void DeleteRange(size_t Index) { FRanges.erase(FRanges.begin() + long(Index)); }
  size_t RangeCount() const { return FRanges.size(); }
  const TGaspRange& Range(size_t Index) const { return FRanges.at(Index); }
  void Clear() { FRanges.clear(); }

  uint16_t Version = 0;

private:
  std::vector<TGaspRange> FRanges;
};

}  // namespace tsy
