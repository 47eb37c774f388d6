#pragma once
// hhea: the horizontal header.
#include <cstdint>

#include "fontfile/fonttable.h"

namespace tsy {

class TTableHhea : public TFontTable {
public:
  explicit TTableHhea(const std::string& Tag = "hhea");
  const char* ClassName() const override { return "TTableHhea"; }
  // Always reads the full 36-byte layout; missing bytes read as zero.
  void LoadFromStream(TStream& S) override;
  void SaveToStream(TStream& S) const override;

  int32_t version = 0x00010000;
  int16_t ascender = 0, descender = 0, lineGap = 0;
  uint16_t advanceWidthMax = 0;
  int16_t minLeftSideBearing = 0, minRightSideBearing = 0, xMaxExtent = 0;
  int16_t caretSlopeRise = 0, caretSlopeRun = 0, caretOffset = 0;
  // Held and written back as found.
  int16_t reserved1 = 0, reserved2 = 0, reserved3 = 0, reserved4 = 0;
  int16_t metricDataFormat = 0;
  uint16_t numberOfHMetrics = 0;

private:
  template <class T, class F>
  static void Fields(T& Self, F&& Field) {
    Field(Self.version), Field(Self.ascender), Field(Self.descender), Field(Self.lineGap);
    Field(Self.advanceWidthMax), Field(Self.minLeftSideBearing), Field(Self.minRightSideBearing);
    Field(Self.xMaxExtent), Field(Self.caretSlopeRise), Field(Self.caretSlopeRun), Field(Self.caretOffset);
    Field(Self.reserved1), Field(Self.reserved2), Field(Self.reserved3), Field(Self.reserved4);
    Field(Self.metricDataFormat), Field(Self.numberOfHMetrics);
  }
};

}  // namespace tsy
