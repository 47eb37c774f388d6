#include "fontfile/tables/hhea.h"

#include "fontfile/tables/fieldio.h"

namespace tsy {

TTableHhea::TTableHhea(const std::string& Tag) : TFontTable(Tag) { CheckTag("TTableHhea", "hhea", Tag); }

void TTableHhea::LoadFromStream(TStream& S) { Fields(*this, TFieldReader{S}); }

void TTableHhea::SaveToStream(TStream& S) const { Fields(*this, TFieldWriter{S}); }

}  // namespace tsy
