#include "document/openfont.h"

#include "fontfile/truetypefont.h"
#include "settings/registrysettings.h"

namespace tsy {

void LoadFontWithSettings(TTrueTypeFont& Font, const std::string& FileName, TRegistrySettings& Settings) {
  Font.KeepUnknownTables = !Settings.IgnoreUnsupportedTables();
  Font.LoadFromFile(FileName);
  if (Settings.IgnoreHintingData()) Font.RemoveHinting();
  if (Settings.RemoveDSIGTable()) Font.RemoveTable("DSIG");
  if (Settings.RemoveLTSHTable()) Font.RemoveTable("LTSH");
  if (Settings.RemoveVDMXTable()) Font.RemoveTable("VDMX");
  if (Settings.RemoveHdmxTable()) Font.RemoveTable("hdmx");
  Font.EnsureOS2Table();
}

std::unique_ptr<TTrueTypeFont> OpenFontFile(const std::string& FileName, TRegistrySettings& Settings) {
  auto font = std::make_unique<TTrueTypeFont>();
  LoadFontWithSettings(*font, FileName, Settings);
  return font;
}

void PrepareFontForSave(TTrueTypeFont& Font, TRegistrySettings& Settings) {
  Font.SetNameCompression(Settings.CompressNameTable());
  // Monospaced fonts may be excluded: some rasterisers want a full hmtx.
  Font.SetHmtxCompression(Settings.CompressHmtxTable() && !(Settings.ExcludeMonospacedFonts() && Font.IsMonospaced()));
  Font.SetLongAlignedGlyphs(Settings.LongAlignedLocalOffsets());
  Font.RecalcGlyphBoundingBoxes = Settings.RecalcGlyphBoundingBoxes();
  Font.RecalcAverageCharWidth = Settings.RecalcAverageCharWidth();
}

}  // namespace tsy
