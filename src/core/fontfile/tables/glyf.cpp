#include "fontfile/tables/glyf.h"

namespace tsy {

TTableGlyf::TTableGlyf(const std::string& Tag) : TFontTable(Tag) { CheckTag("TTableGlyf", "glyf", Tag); }

void TTableGlyf::LoadFromStream(TStream& S) { Data.LoadFrom(S, S.Remaining()); }

void TTableGlyf::LoadFromStreamSized(TStream& S, int64_t Size) {
  Data.Clear();
  if (Size > 0) Data.LoadFrom(S, uint64_t(Size));
}

void TTableGlyf::SaveToStream(TStream& S) const {
  if (Data.Size() > 0) S.Write(Data.Memory(), Data.Size());
}

}  // namespace tsy
