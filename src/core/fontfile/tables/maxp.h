#pragma once
// maxp: the maximum profile. Version 0.5 carries only the glyph count, 1.0
// adds thirteen statistics; the object holds all of them for both versions.
#include <cstdint>

#include "fontfile/fonttable.h"

namespace tsy {

class TTableMaxp : public TFontTable {
public:
  explicit TTableMaxp(const std::string& Tag = "maxp");
  const char* ClassName() const override { return "TTableMaxp"; }
  // Any 0.x version reads the glyph count only, any 1.x the full table;
  // another major version raises "Unknown maxp table version (%d,%d)".
  void LoadFromStream(TStream& S) override;
  // Only exactly 0.5 and 1.0 can be written.
  void SaveToStream(TStream& S) const override;

  uint32_t version = 0x00010000;
  uint16_t numGlyphs = 0;
  uint16_t maxPoints = 0, maxContours = 0, maxCompositePoints = 0, maxCompositeContours = 0;
  uint16_t maxZones = 0, maxTwilightPoints = 0, maxStorage = 0, maxFunctionDefs = 0;
  uint16_t maxInstructionDefs = 0, maxStackElements = 0, maxSizeOfInstructions = 0;
  uint16_t maxComponentElements = 0, maxComponentDepth = 0;

private:
  template <class T, class F>
  static void Version1Fields(T& Self, F&& Field) {
    Field(Self.maxPoints), Field(Self.maxContours), Field(Self.maxCompositePoints), Field(Self.maxCompositeContours);
    Field(Self.maxZones), Field(Self.maxTwilightPoints), Field(Self.maxStorage), Field(Self.maxFunctionDefs);
    Field(Self.maxInstructionDefs), Field(Self.maxStackElements), Field(Self.maxSizeOfInstructions);
    Field(Self.maxComponentElements), Field(Self.maxComponentDepth);
  }
};

}  // namespace tsy
