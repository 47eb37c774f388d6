#pragma once
// glyf: the glyph records, held as bytes only while a font is being loaded or
// saved.
#include <cstdint>

#include "fontfile/fonttable.h"

namespace tsy {

class TTableGlyf : public TFontTable {
public:
  explicit TTableGlyf(const std::string& Tag = "glyf");
  const char* ClassName() const override { return "TTableGlyf"; }
  void LoadFromStream(TStream& S) override;  // the rest of S
  void LoadFromStreamSized(TStream& S, int64_t Size);
  void SaveToStream(TStream& S) const override;
  void ClearData() {
    Data.Clear();
    Data.Bytes().shrink_to_fit();
  }

  TMemoryStream Data;
};

}  // namespace tsy
