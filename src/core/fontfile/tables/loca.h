#pragma once
// loca: where each glyph record starts in glyf. Only filled while a font is
// being loaded or saved; the outline list holds the glyphs otherwise.
#include <cstdint>
#include <vector>

#include "fontfile/fonttable.h"

namespace tsy {

class TTableLoca : public TFontTable {
public:
  explicit TTableLoca(const std::string& Tag = "loca");
  const char* ClassName() const override { return "TTableLoca"; }
  // Reads NumGlyphs + 1 offsets in IndexToLocFormat (both set before).
  void LoadFromStream(TStream& S) override;
  void SaveToStream(TStream& S) const override;

  void ClearOffsets() { Offsets.clear(); Offsets.shrink_to_fit(); }
  void AddOffset(uint32_t Value) { Offsets.push_back(Value); }
  size_t OffsetCount() const { return Offsets.size(); }
  uint32_t Offset(size_t Index) const { return Offsets.at(Index); }
  // Short offsets when every offset is even and halves fit 16 bits, else long.
  void ChooseFormat();

  std::vector<uint32_t> Offsets;
  int16_t IndexToLocFormat = 0;
  uint16_t NumGlyphs = 0;
};

}  // namespace tsy
