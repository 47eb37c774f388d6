#pragma once
// head: the font header.
#include <cstdint>

#include "fontfile/fonttable.h"

namespace tsy {

class TTableHead : public TFontTable {
public:
  static constexpr uint32_t kMagicNumber = 0x5F0F3CF5;

  explicit TTableHead(const std::string& Tag = "head");
  const char* ClassName() const override { return "TTableHead"; }
  // Always reads the full 54-byte layout; bytes missing at the end of a short
  // table read as zero.
  void LoadFromStream(TStream& S) override;
  // Writes magicNumber as 0x5F0F3CF5 whatever was read.
  void SaveToStream(TStream& S) const override;

  int32_t version = 0x00010000;
  int32_t fontRevision = 0x00010000;
  uint32_t checkSumAdjustment = 0;
  uint32_t magicNumber = kMagicNumber;
  uint16_t flags = 0;
  uint16_t unitsPerEm = 0;
  int64_t created = 0;
  int64_t modified = 0;
  int16_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  uint16_t macStyle = 0;
  uint16_t lowestRecPPEM = 0;
  int16_t fontDirectionHint = 0;
  int16_t indexToLocFormat = 0;
  int16_t glyphDataFormat = 0;

private:
  template <class T, class F>
  static void Fields(T& Self, F&& Field) {
    Field(Self.version), Field(Self.fontRevision), Field(Self.checkSumAdjustment), Field(Self.magicNumber);
    Field(Self.flags), Field(Self.unitsPerEm), Field(Self.created), Field(Self.modified);
    Field(Self.xMin), Field(Self.yMin), Field(Self.xMax), Field(Self.yMax);
    Field(Self.macStyle), Field(Self.lowestRecPPEM), Field(Self.fontDirectionHint);
    Field(Self.indexToLocFormat), Field(Self.glyphDataFormat);
  }
};

}  // namespace tsy
