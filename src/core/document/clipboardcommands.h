#pragma once
// Glyphs and contours through the clipboard: the overview copies whole glyphs
// and pastes them onto its selected glyphs (all at once, or item by item with
// Paste Special); a glyph edit window copies contours.
//
// A paste decodes and checks every format it will use before it changes the
// font, so damaged or foreign clipboard data leaves the font as it was.
#include <cstdint>
#include <vector>

#include "document/clipboardformats.h"
#include "document/editwindowlist.h"

namespace tsy {

class TTrueTypeFontManager;

// Where the J-th clipboard entry goes with the (ascending) Selection: the
// J-th selected glyph; with one selected glyph the glyphs after it; else
// nowhere. -1 also for a destination at or beyond GlyphCount.
int32_t PasteDestination(const std::vector<int32_t>& Selection, size_t J, size_t GlyphCount);

struct TPasteSpecialOptions {
  enum TMappingMode : int { KeepSameMappings = 0, OverruleSameMappings = 1, AddMappings = 2 };
  bool Outlines = true;
  bool Metrics = true;
  bool Names = false;
  bool Mappings = false;
  TMappingMode MappingMode = KeepSameMappings;
};

bool CanCopyGlyphs(const TTrueTypeFontManager& Manager);
bool CanPasteGlyphData(const TTrueTypeFontManager& Manager, const TClipboardAccess& Clipboard);
bool CanPasteSpecialGlyphData(const TTrueTypeFontManager& Manager, const TClipboardAccess& Clipboard);

// Puts "Glyph Data" as text and the six glyph formats of the selected glyphs.
// Nothing is recorded.
void CopyGlyphs(TTrueTypeFontManager& Manager, TClipboardAccess& Clipboard);
// "Paste Glyph Data": outlines and metrics onto the selected glyphs.
void PasteGlyphData(TTrueTypeFontManager& Manager, const TClipboardAccess& Clipboard);
// "Paste Special Glyph Data": the parts the options tick.
void PasteSpecialGlyphData(TTrueTypeFontManager& Manager, const TClipboardAccess& Clipboard,
                           const TPasteSpecialOptions& Options);

// The selected contours of simple glyph G in the shared selection, ascending.
std::vector<int32_t> SelectedContours(const TTrueTypeFontManager& Manager, TSelectedGlyphEditWindowList::TWindow W,
                                      int32_t G);
bool CanCopyContours(const TTrueTypeFontManager& Manager, TSelectedGlyphEditWindowList::TWindow W, int32_t G);
// Puts "Glyph Contours" as text and the selected contours of G. Not recorded.
void CopyContours(const TTrueTypeFontManager& Manager, TSelectedGlyphEditWindowList::TWindow W, int32_t G,
                  TClipboardAccess& Clipboard);

// Contours and members in a glyph edit window (glyph G).
bool CanPasteContours(const TTrueTypeFontManager& Manager, int32_t G, const TClipboardAccess& Clipboard);
// "Paste Glyph Contours"; damaged data is refused before G changes.
void PasteContoursFromClipboard(TTrueTypeFontManager& Manager, int32_t G, const TClipboardAccess& Clipboard);
// "Cut Contours": the selected contours go to the clipboard, then out of G.
void CutContoursToClipboard(TTrueTypeFontManager& Manager, TSelectedGlyphEditWindowList::TWindow W, int32_t G,
                            TClipboardAccess& Clipboard);
// Glyphs copied from this very font, added as members of a composite or
// empty G ("Paste Glyphs").
bool CanPasteGlyphsAsMembers(const TTrueTypeFontManager& Manager, int32_t G, const TClipboardAccess& Clipboard);
void PasteGlyphsAsMembersFromClipboard(TTrueTypeFontManager& Manager, int32_t G, const TClipboardAccess& Clipboard);

}  // namespace tsy
