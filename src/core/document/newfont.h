#pragma once
// New fonts: the two template fonts the program carries (a Unicode font and
// a Symbol font) and the values a new font gets from the New Font dialog.
#include <cstdint>
#include <string>
#include <vector>

namespace tsy {

class TTrueTypeFont;

enum class TTemplateKind { Unicode, Symbol };

// The template's file in the resources folder.
std::string TemplateFontFileName(TTemplateKind Kind);

// Builds the template font with our own font model and returns the saved
// file's bytes. The Unicode template has 653 glyphs mapped through a
// Microsoft Unicode cmap, the Symbol template 226 glyphs mapped to
// U+F020..U+F0FF through a Microsoft Symbol cmap. GlyphNames holds the lines
// of the glyph-name list ("0041;A"); characters without an entry are named
// "uniXXXX".
std::vector<uint8_t> BuildTemplateFont(TTemplateKind Kind, const std::vector<std::string>& GlyphNames);

// The four styles of the New Font dialog, as their style codes: 0 Regular,
// 1 Italic, 2 Bold, 3 Bold Italic.
int StyleCodeOf(const std::string& SubfamilyName);

// Gives a freshly loaded template its identity: head created and modified
// (NowLongDateTime, seconds since 1904), fontRevision 1.0, the core naming
// entries (family, subfamily, unique identifier, full name, version string,
// PostScript name) in the Microsoft and Macintosh English names, and the
// style bits of the style code. Returns the style code.
int ApplyNewFontValues(TTrueTypeFont& Font, const std::string& FamilyName, const std::string& SubfamilyName,
                       int64_t NowLongDateTime);

}  // namespace tsy
