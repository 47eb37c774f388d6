#pragma once
// The Unicode-to-glyph-name list the naming tools consult, and the search of
// glyphs by their PostScript name.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tsy {

class TTablePost;

struct TAdobeGlyphName {
  uint16_t Code = 0;
  std::string Name;
};

class TAdobeGlyphNames {
public:
  // Lines "XXXX;name"; lines beginning with "#" and lines that fail to parse
  // are skipped. Replaces the list.
  void LoadFromText(const std::string& Text);
  // The list the program carries ("glyphnames.txt" in the resources folder);
  // false when it cannot be read.
  bool LoadDefault();
  // The name of the last entry with that code, or an empty name.
  std::string NameOfCode(uint16_t Code) const;
  size_t Count() const { return FItems.size(); }
  const TAdobeGlyphName& Items(size_t Index) const { return FItems.at(Index); }

private:
  std::vector<TAdobeGlyphName> FItems;
  std::unordered_map<uint16_t, size_t> FLast;  // code -> position of its last entry
};

// Searches the glyph names of Post from Start (0 when beyond the last glyph)
// up to the last glyph, without wrapping. Whole: the names must be equal;
// otherwise Name must occur inside the glyph's name. Case-insensitive unless
// CaseSensitive. On a match answers true and the glyph in Found.
bool FindGlyphByName(const TTablePost& Post, size_t GlyphCount, const std::string& Name, size_t Start, bool Whole,
                     bool CaseSensitive, size_t& Found);

}  // namespace tsy
