#include "fontfile/tables/maxp.h"

#include "fontfile/fontexception.h"
#include "fontfile/tables/fieldio.h"

namespace tsy {

namespace {

[[noreturn]] void UnknownVersion(uint32_t Version) {
  throw FontException(Format("Unknown maxp table version (%d,%d)", int(Version >> 16), int(Version & 0xFFFF)));
}

}  // namespace

TTableMaxp::TTableMaxp(const std::string& Tag) : TFontTable(Tag) { CheckTag("TTableMaxp", "maxp", Tag); }

void TTableMaxp::LoadFromStream(TStream& S) {
  version = ReadUInt32(S);
  numGlyphs = ReadUInt16(S);
  switch (version >> 16) {
    case 0: return;
    case 1: Version1Fields(*this, TFieldReader{S}); return;
    default: UnknownVersion(version);
  }
}

void TTableMaxp::SaveToStream(TStream& S) const {
  if (version != 0x00005000 && version != 0x00010000) UnknownVersion(version);
  WriteUInt32(S, version);
  WriteUInt16(S, numGlyphs);
  if (version == 0x00005000) return;
  Version1Fields(*this, TFieldWriter{S});
}

}  // namespace tsy
