#pragma once
// Opening and saving a font file the way the editor does, in one place, so
// that the program's windows and tsytool treat a font exactly alike.
#include <memory>
#include <string>

namespace tsy {

class TTrueTypeFont;
class TRegistrySettings;
class TReadOnlyStream;

// Loads FileName with the load options of the settings (unsupported tables,
// hinting, DSIG, LTSH, VDMX and hdmx) and adds a default OS/2 table when the
// font has none. The warnings of the load stay in TWarningCollector.
std::unique_ptr<TTrueTypeFont> OpenFontFile(const std::string& FileName, TRegistrySettings& Settings);
// Backup files (".bak", any case) hold the font at the little-endian 32-bit
// offset stored at byte 4. They are loaded as saved: no load options apply.
bool IsBackupFileName(const std::string& FileName);
// A header that is too short or an offset outside the file raises
// FontException; the font is left empty then.
void LoadBackupFont(TTrueTypeFont& Font, const std::string& FileName);
// The same from the whole file's bytes.
void LoadBackupFromStream(TTrueTypeFont& Font, const TReadOnlyStream& File);
// Applies the load options to Font as it is being loaded from any source.
void LoadFontWithSettings(TTrueTypeFont& Font, const std::string& FileName, TRegistrySettings& Settings);

// Sets the save switches of the settings (name and hmtx compression, glyph
// alignment, bounding box and average width recalculation) before a save.
void PrepareFontForSave(TTrueTypeFont& Font, TRegistrySettings& Settings);

}  // namespace tsy
