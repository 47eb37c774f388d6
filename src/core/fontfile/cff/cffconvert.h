#pragma once
// Turning a font with PostScript outlines into a TrueType font.
#include <functional>

namespace tsy {

class TTrueTypeFont;

// Builds the font's outline list from its CFF table, one quadratic outline
// per charstring, then removes the table, adds empty loca and glyf tables
// and makes the font a TrueType font (sfnt version 1.0, maxp 1.0).
// Progress runs from 20 to 100. Raises FontException for a font without a
// CFF table (CFF2 outlines are not supported) or with a broken one.
void ConvertCFFOutlines(TTrueTypeFont& Font, const std::function<void(int Percent)>& Progress = {});

}  // namespace tsy
