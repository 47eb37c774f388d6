// Loads arbitrary bytes as a font, runs the font-wide operations on what
// loaded and saves it with the summary values recomputed. Any exception the
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
  } catch (const std::exception&) {
    return 0;
  }
  // The last byte (mostly table padding) chooses the operations, so the
  // fuzzer reaches each.
  const uint8_t choice = Size > 0 ? Data[Size - 1] : 0;
  try {
    font.EnsureOS2Table();
    const int n = int(font.GlyphCount());
    if ((choice & 1) && n > 1) font.SwapGlyphs(0, n - 1);
    if ((choice & 2) && n > 0) font.DeleteGlyph(n / 2);
    if (choice & 4) font.InsertEmptyGlyph(0);
    if (choice & 8) font.RemoveHinting();
    font.RecalcGlyphBoundingBoxes = choice & 16;
    font.RecalcAverageCharWidth = choice & 32;
    (void)font.IsMonospaced();
    (void)font.StyleFlags();
    (void)font.HasGlyphInstructions();
    tsy::TMemoryStream out;
    font.SaveToStream(out);
  } catch (const std::exception&) {
  }
  return 0;
}
