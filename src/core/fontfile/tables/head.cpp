#include "fontfile/tables/head.h"

#include "fontfile/tables/fieldio.h"

namespace tsy {

TTableHead::TTableHead(const std::string& Tag) : TFontTable(Tag) { CheckTag("TTableHead", "head", Tag); }

void TTableHead::LoadFromStream(TStream& S) { Fields(*this, TFieldReader{S}); }

void TTableHead::SaveToStream(TStream& S) const {
  TTableHead& self = const_cast<TTableHead&>(*this);
  self.magicNumber = kMagicNumber;
  Fields(*this, TFieldWriter{S});
}

}  // namespace tsy
