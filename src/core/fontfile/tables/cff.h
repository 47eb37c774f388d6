#pragma once
// CFF: PostScript outlines. Read only as far as converting them to TrueType
// outlines needs, when a font is opened; never written.
#include <cstdint>
#include <vector>

#include "fontfile/cff/charstring.h"
#include "fontfile/fonttable.h"

namespace tsy {

class TTableCFF : public TFontTable {
public:
  explicit TTableCFF(const std::string& Tag = "CFF ");
  const char* ClassName() const override { return "TTableCFF"; }
  // Reads the table from S's position to its end. Both plain and CID-keyed
  // fonts load; every structure is checked against the table and a bad one
  // raises FontException.
  void LoadFromStream(TStream& S) override;
  // The table only lives during a load; it writes nothing.
  void SaveToStream(TStream& S) const override {}
  bool IsEmpty() const override { return true; }

  int GlyphCount() const { return int(Glyphs.CharStrings.size()); }
  // Draws charstring Index into the given empty simple outline.
  void BuildOutline(int Index, TOutlineSimple& Outline) { Glyphs.BuildOutline(Index, Outline); }

  int CharstringType = 2;
  TCFFSubroutines GlobalSubrs;
  TCFFGlyphSubroutines Glyphs;
  // Private DICT values of the first font; read, not used further.
  double BlueScale = 0.039625;
  double defaultWidthX = 0;
  double nominalWidthX = 0;

private:
  void ReadPrivate(TCFFSpan Span, TCFFSubroutines& Subrs, bool Keep);
  void ReadCharset(uint32_t Offset);
  void ReadFDSelect(uint32_t Offset, size_t FontDicts);

  std::vector<uint8_t> FBytes;
};

}  // namespace tsy
