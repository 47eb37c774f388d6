#pragma once
// The standard Macintosh glyph list: the 258 glyphs that a post table of
// format 1 or 2 names by index, with their Macintosh Roman codes and Unicode
// values. The cmap and name code use it for Macintosh Roman conversions.
#include <cstdint>
#include <string_view>

namespace tsy {

struct TheTheMacintoshCharacterSets {
  int32_t Unicode;   // -1: none
  uint16_t MacCode;  // 0xFFFF: none
  const char* Name;
};

constexpr int kStandardMacGlyphCount = 258;
const TheTheMacintoshCharacterSets& StandardMacGlyph(int Index);

// -1 when the code or value has no entry.
int MacRomanToUnicode(int Code);
int UnicodeToMacRoman(int Unicode);
int StandardNameIndex(std::string_view Name);

}  // namespace tsy
