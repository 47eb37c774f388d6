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

  size_t GlyphCount() const { return Outlines.Count(); }
  void SetHmtxCompression(bool On);
  void SetLongAlignedGlyphs(bool On) { Outlines.AlignGlyphsTo4 = On; }

  TFontTables Tables;
  // One outline per glyph; the only copy of the glyph data between a load
  // and the next save.
  TFontOutlines Outlines;
  uint32_t Version = 0x00010000;
  std::vector<std::string> TableOrderLines;
  bool Loaded = false;
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
