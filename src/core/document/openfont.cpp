#include "document/openfont.h"

#include "fontfile/truetypefont.h"
#include "settings/registrysettings.h"

#include <algorithm>
#include <cctype>

#include "fontfile/fontexception.h"
#include "fontfile/stream.h"

namespace tsy {

bool IsBackupFileName(const std::string& FileName) {
  if (FileName.size() < 4) return false;
  std::string ext = FileName.substr(FileName.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return ext == ".bak";
}

void LoadBackupFont(TTrueTypeFont& Font, const std::string& FileName) {
  const TReadOnlyStream file(ReadWholeFile(FileName));
  LoadBackupFromStream(Font, file);
}

void LoadBackupFromStream(TTrueTypeFont& Font, const TReadOnlyStream& File) {
  const uint64_t size = File.Size();
  if (size < 8) throw FontException("This is not a valid font file.");
  TReadOnlyStream header = File.Sub(4, 4);
  uint8_t b[4] = {};
  header.Read(b, 4);
  const uint32_t offset = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  if (offset >= size) throw FontException("This is not a valid font file.");
  // The font sees only its own part of the file: its table offsets count from
  // its own start.
  TReadOnlyStream font = File.Sub(offset, size - offset);
  Font.LoadFromStream(font);
}

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
