#pragma once
// The glyph commands of a font overview, with their dialogs and the
// clipboard: shared by the overview's context menu and keys and by the
// frame's Edit and File menus. Each works on the overview's glyph selection.
class QWidget;

namespace tsy {

class TFontOverviewForm;
class TRegistrySettings;

namespace overview {

bool CanCopy(TFontOverviewForm& Form);
bool CanPaste(TFontOverviewForm& Form);
bool CanPasteSpecial(TFontOverviewForm& Form);

void Copy(TFontOverviewForm& Form);
void Cut(TFontOverviewForm& Form);
void Paste(TFontOverviewForm& Form);
// Opens the Paste Special dialog; pastes on OK.
void PasteSpecial(TFontOverviewForm& Form);
// One glyph after each selected glyph, or after the last without a selection.
void AddGlyph(TFontOverviewForm& Form);
// The Insert Glyphs dialog.
void InsertGlyphs(TFontOverviewForm& Form);
void Delete(TFontOverviewForm& Form);
void MakeEmpty(TFontOverviewForm& Form);
void MakeSimple(TFontOverviewForm& Form);

// Test Font with the program's test window.
void TestFont(TFontOverviewForm& Form, TRegistrySettings& Settings);
// The installation wizard for the font's saved file; the caller saves first.
void InstallFont(TFontOverviewForm& Form, TRegistrySettings& Settings);

}  // namespace overview
}  // namespace tsy
