// Loads arbitrary bytes as a font and saves what loaded. Any exception the
// model raises is an accepted answer; a crash, leak or hang is not.
#include <cstdint>
#include <exception>
#include <vector>

#include "fontfile/truetypefont.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  tsy::TReadOnlyStream in(Data, Size);
  tsy::TTrueTypeFont font;
  try {
    font.LoadFromStream(in);
    tsy::TMemoryStream out;
    font.SaveToStream(out);
  } catch (const std::exception&) {
  }
  return 0;
}
