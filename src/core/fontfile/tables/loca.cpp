#include "fontfile/tables/loca.h"

#include "fontfile/fontexception.h"

namespace tsy {

TTableLoca::TTableLoca(const std::string& Tag) : TFontTable(Tag) { CheckTag("TTableLoca", "loca", Tag); }

void TTableLoca::LoadFromStream(TStream& S) {
  Offsets.clear();
  if (NumGlyphs == 0) return;
  if (IndexToLocFormat != 0 && IndexToLocFormat != 1)
    throw FontException(Format("Wrong indexToLocFormat value %d", int(IndexToLocFormat)));
  Offsets.resize(size_t(NumGlyphs) + 1);
  if (IndexToLocFormat == 1)
    for (uint32_t& o : Offsets) o = ReadUInt32(S);
  else
    for (uint32_t& o : Offsets) o = uint32_t(ReadUInt16(S)) * 2;
}

void TTableLoca::SaveToStream(TStream& S) const {
  if (NumGlyphs == 0) throw FontException("Can't save loca table to stream when numglyphs is zero!");
  if (IndexToLocFormat == 1) {
    for (uint32_t o : Offsets) WriteUInt32(S, o);
  } else if (IndexToLocFormat == 0) {
    for (uint32_t o : Offsets) {
      // ChooseFormat guarantees this; a caller that forced the short form
      // with offsets it cannot hold gets an error, not a wrapped offset.
      if (o & 1 || o / 2 > 0xFFFF) throw ERangeError(Format("Glyph offset %u does not fit a short loca", o));
      WriteUInt16(S, uint16_t(o / 2));
    }
  } else {
    throw FontException(Format("Wrong indexToLocFormat value %d", int(IndexToLocFormat)));
  }
}

void TTableLoca::ChooseFormat() {
  bool fits = true;
  for (uint32_t o : Offsets)
    if ((o & 1) || o >= 0x20000) {
      fits = false;
      break;
    }
  IndexToLocFormat = fits ? 0 : 1;
}

}  // namespace tsy
