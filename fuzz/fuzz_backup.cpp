// Reads arbitrary bytes as a backup file: the offset at byte 4 and the font
// behind it. Any FontException is an accepted answer; a crash, leak or hang
// is not.
#include <cstdint>
#include <exception>

#include "document/openfont.h"
#include "fontfile/stream.h"
#include "fontfile/truetypefont.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const tsy::TReadOnlyStream file(Data, Size);
  tsy::TTrueTypeFont font;
  try {
    tsy::LoadBackupFromStream(font, file);
  } catch (const std::exception&) {
  }
  return 0;
}
