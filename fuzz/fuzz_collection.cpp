// Reads arbitrary bytes as a collection: the member offsets, each member's
// directory, name and tables, saved as a single font, and each member opened
// as the editor opens it.
#include <cstdint>
#include <exception>

#include "fontfile/collection.h"
#include "fontfile/truetypefont.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const tsy::TReadOnlyStream file(Data, Size);
  try {
    const auto offsets = tsy::TTrueTypeCollection::ReadOffsets(file);
    for (size_t i = 0; i < offsets.size() && i < 8; ++i) {
      try {
        tsy::TTrueTypeCollectionFont names;
        names.ReadNamesOnly(file, offsets[i]);
        names.GetFullName();
        tsy::TTrueTypeCollectionFont member;
        member.LoadFromStream(file, offsets[i]);
        tsy::TMemoryStream out;
        member.SaveToStream(out);
        tsy::TReadOnlyStream s(Data, Size);
        tsy::TTrueTypeFont font;
        font.LoadFromStream(s, offsets[i]);
      } catch (const std::exception&) {
      }
    }
  } catch (const std::exception&) {
  }
  return 0;
}
