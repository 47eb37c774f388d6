#pragma once
// What the font overview shows about each glyph, computed once for the whole
// font rather than per cell: captions, glyph types, whether a glyph has any
// character, the sample character of empty glyphs, and the glyph whose
// metrics place an outline. Also the character lookups that bookmarks use.
#include <cstdint>
#include <string>
#include <vector>

namespace tsy {

class TTrueTypeFont;

// Caption kinds, as the GlyphCaptionType setting numbers them.
enum TGlyphCaptionType : int {
  ctPostScriptName = 0,
  ctUnicodeMappings = 1,  // platform 0
  ctMacintoshMappings = 2,
  ctISOMappings = 3,
  ctMicrosoftMappings = 4,  // platform 3
  ctGlyphIndex = 5,
};

// A character code or glyph index as the program shows it: "$%.4x" when
// Hexadecimal, otherwise "%d".
std::string FormatOverviewNumber(int64_t Value, bool Hexadecimal);

// One caption per glyph. PostScript names; for the mapping kinds every
// character code that a subtable of the platform maps to the glyph, joined
// with "-" in subtable and mapping order; the glyph index; empty for any
// other kind.
std::vector<std::string> BuildGlyphCaptions(const TTrueTypeFont& Font, int CaptionType, bool Hexadecimal);

// Outline kind * 2, plus 1 when a composite of the font uses the glyph as a
// member: 0 empty, 1 empty and used, 2 simple, 3 simple and used, 4 composite,
// 5 composite and used.
std::vector<uint8_t> BuildGlyphTypes(const TTrueTypeFont& Font);
// "empty", "empty with dependancy", "simple", ... by glyph type.
const char* GlyphTypeName(int Type);

// Whether any cmap subtable maps a character to the glyph.
std::vector<bool> BuildMappedGlyphs(const TTrueTypeFont& Font);

// For each glyph the character a Microsoft-platform subtable maps to it (the
// last such subtable that maps one wins), or -1.
std::vector<int64_t> BuildSampleCharacters(const TTrueTypeFont& Font);

// The glyph whose horizontal metrics place Glyph: the member a composite
// marks as lending its metrics, followed through nested composites, or the
// glyph itself.
int MetricsGlyph(const TTrueTypeFont& Font, int Glyph);

// The character of a glyph: the Microsoft Unicode subtables first (full
// repertoire, then BMP), then the first subtable that maps one; -1 for none.
int64_t CharacterOfGlyph(const TTrueTypeFont& Font, int Glyph);
// The glyph of a character, looked up the same way; -1 for none.
int64_t GlyphOfCharacter(const TTrueTypeFont& Font, int64_t CharCode);

}  // namespace tsy
