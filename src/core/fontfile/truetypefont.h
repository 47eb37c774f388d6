#pragma once
// One font in memory: the sfnt container (directory, table bodies, checksums)
// and the font side that interprets the tables.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fontfile/fonttable.h"
#include "fontfile/stream.h"
#include "outline/fontoutlines.h"

namespace tsy {

class TTrueTypeFont;
class TTableHead;
class TTableHhea;
class TTableMaxp;
class TTableLoca;
class TTableGlyf;
class TTableHmtx;
class TTableCmap;
class TTableOS_2;
class TTableName;
class TTablePost;
class TTableGasp;
class TTableKern;
class TTablePCLT;
using TProgressEvent = std::function<void(TTrueTypeFont& Sender, const std::string& Text, int Percent)>;

class TTrueTypeFont {
public:
  TTrueTypeFont();
  ~TTrueTypeFont();
  TTrueTypeFont(const TTrueTypeFont&) = delete;
  TTrueTypeFont& operator=(const TTrueTypeFont&) = delete;

  void Clear();

  // Loads the sfnt that starts at S's position; directory offsets are taken
  // relative to that start, so an sfnt embedded in a larger file loads too.
  void LoadFromStream(TStream& S);
  // Loads the font whose table directory lies DirectoryOffset bytes after
  // S's position while its table offsets count from S's position: a member
  // of a collection, with S at the start of the collection file.
  void LoadFromStream(TStream& S, uint64_t DirectoryOffset);
  void LoadFromFile(const std::string& FileName);
  // Writes the font at S's position.
  void SaveToStream(TStream& S);
  // Writes the whole file beside the target, then renames it over the target:
  // a failed save never damages the file on disk.
  void SaveToFile(const std::string& FileName);

  void AddTable(std::unique_ptr<TFontTable> Table) { Tables.Add(std::move(Table)); }
  void RemoveTable(const std::string& Tag) { Tables.Delete(Tag); }
  TFontTable* FindTable(const std::string& Tag) const { return Tables.Find(Tag); }
  size_t TableCount() const { return Tables.Count(); }
  TFontTable* Table(size_t Index) const { return Tables.Items(Index); }

  void SetProgressHandler(TProgressEvent Handler) { OnProgress = std::move(Handler); }

  // Recognises a font file without loading it.
  static bool IsFontFile(const std::string& FileName);

  TTableHead* Head() const;
  TTableHhea* Hhea() const;
  TTableMaxp* Maxp() const;
  TTableLoca* Loca() const;
  TTableGlyf* Glyf() const;
  TTableHmtx* Hmtx() const;
  TTableCmap* Cmap() const;
  TTableOS_2* OS2() const;
  TTableName* Name() const;
  TTablePost* Post() const;
  TTableGasp* Gasp() const;
  TTableKern* Kern() const;
  TTablePCLT* PCLT() const;
  // The CFF table of a font with PostScript outlines, typed or raw.
  TFontTable* CFF() const { return FindTable("CFF "); }

  size_t GlyphCount() const { return Outlines.Count(); }

  // ---- Font-wide operations (truetypefont_glyphs.cpp)

  // Strips every glyph's instructions and removes cvt, prep and fpgm.
  void RemoveHinting();
  // Adds an OS/2 table with default values when the font has none.
  void EnsureOS2Table();
  // Removes or inserts one outline (composite references are renumbered)
  // and sets maxp numGlyphs. hmtx, post, cmap and kern are left to the
  // caller; kept raw tables that index glyphs are dropped (see
  // DropGlyphIndexedTables).
  void DeleteGlyph(int Index);
  void InsertEmptyGlyph(int Index);
  // Exchanges glyphs A and B in the outlines, composite references, post
  // names, hmtx metrics, kerning pairs and character mappings.
  void SwapGlyphs(int A, int B);
  // Removes the raw tables whose contents name glyphs by index (GSUB, GPOS,
  // vmtx, hdmx, ...), which a renumbering would leave pointing at the wrong
  // glyphs, with one warning naming them. Returns the removed tags.
  std::vector<std::string> DropGlyphIndexedTables();
  // The tags DropGlyphIndexedTables would remove now, without removing them.
  std::vector<std::string> GlyphIndexedRawTables() const;

  // Save-time choices; each does nothing when its table is absent.
  void SetHmtxCompression(bool On);
  void SetNameCompression(bool On);
  void SetLongAlignedGlyphs(bool On) { Outlines.AlignGlyphsTo4 = On; }

  bool IsMonospaced() const;
  // Bit 0: italic, bit 1: bold (from OS/2 fsSelection).
  int StyleFlags() const;
  bool HasGlyphInstructions() const;
  // xAvgCharWidth as the OS/2 table of version OS2Version defines it.
  int CalcAverageCharWidth(int OS2Version) const;
  // The weighted mean over a to z and the space of the OS/2 versions 0 to 2;
  // AllMapped is false (and the result 0) when one of them has no glyph.
  // Raises FontException without a Microsoft Unicode (3, 1) mapping.
  int CalcWeightedAverageCharWidth(bool& AllMapped) const;
  // Searches the post glyph names; see the free FindGlyphByName.
  bool FindGlyphByName(const std::string& GlyphName, size_t Start, bool Whole, bool CaseSensitive,
                       size_t& Found) const;

  // Recomputes the values that follow from the glyphs: head bounding box,
  // hhea extremes, maxp statistics, OS/2 character range and (when asked)
  // average width. Part of every save; a value that does not fit its field
  // raises ERangeError naming the glyph.
  void UpdateBeforeSave();

  // Recompute every glyph's bounding box before saving.
  bool RecalcGlyphBoundingBoxes = false;
  // Recompute OS/2 xAvgCharWidth before saving.
  bool RecalcAverageCharWidth = false;

  TFontTables Tables;
  // One outline per glyph; the only copy of the glyph data between a load
  // and the next save.
  TFontOutlines Outlines;
  uint32_t Version = 0x00010000;
  std::vector<std::string> TableOrderLines;
  bool Loaded = false;
  // A random value drawn at every load: clipboard data carries it, so a paste
  // can tell whether it comes from this very loaded font. Never saved.
  uint32_t FontIdentification = 0;
  std::string ProgressText;
  TProgressEvent OnProgress;
  bool KeepUnknownTables = true;
  // The order file read at every save; empty means the resources folder's
  // "TableOffsetOrder.txt".
  std::string TableOrderFileName;

protected:
  void Progress(int Percent);

  // The font side, called by the container at fixed points.
  void ReadTableEntry(TReadOnlyStream& Entry, const TTag& Tag, uint32_t Length);
  void FinishLoad();
  void CheckSave();
  void PrepareSave();
  void FinishSave();
  // Keeps the head table in step with the checkSumAdjustment just written.
  void StoreCheckSumAdjustment(uint32_t Value);

private:
  void LoadTableOrderLines();
};

}  // namespace tsy
