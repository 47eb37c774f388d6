// Reads arbitrary bytes as a CFF table and draws every charstring. Any
// FontException is an accepted answer; a crash, leak or hang is not.
#include <cstdint>
#include <exception>

#include "fontfile/tables/cff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  tsy::TReadOnlyStream in(Data, Size);
  tsy::TTableCFF cff;
  try {
    cff.LoadFromStream(in);
    for (int i = 0; i < cff.GlyphCount(); ++i) {
      tsy::TOutlineSimple o;
      cff.BuildOutline(i, o);
    }
  } catch (const std::exception&) {
  }
  return 0;
}
