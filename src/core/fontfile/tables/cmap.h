#pragma once
// The cmap table: character-to-glyph mappings as encoding subtables, one per
// (platform, encoding) pair. In memory every subtable is a plain list of
// (character, glyph) pairs; its format only decides how the list is read and
// written.
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "fontfile/fonttable.h"

namespace tsy {

struct TCharacterToGlyphIndexMapping {
  uint32_t CharCode = 0;
  uint16_t GlyphIndex = 0;
};

// The list keeps two lookup indexes (character to its last mapping, glyph to
// its first mapping) so that lookups stay fast in fonts with tens of
// thousands of mappings. Appending updates them; any other change rebuilds
// them on the next lookup.
class TCharacterToGlyphIndexMappings {
public:
  void Add(uint32_t CharCode, uint16_t GlyphIndex);
  void Delete(size_t Index);
  void Clear();
  size_t Count() const { return FItems.size(); }
  const TCharacterToGlyphIndexMapping& Items(size_t Index) const { return FItems.at(Index); }
  const std::vector<TCharacterToGlyphIndexMapping>& All() const { return FItems; }
  bool IsCharMapped(uint32_t CharCode) const;
  // Ascending by character code; mappings of one character keep their order.
  void Sort();

  // Glyph of the last mapping of the character, -1 when none.
  int32_t GlyphOf(uint32_t CharCode) const;
  // Character of the first mapping to the glyph, -1 when none.
  int64_t CharOf(uint16_t GlyphIndex) const;

  // Bulk edits through a callback; the indexes are rebuilt afterwards.
  template <class F>
  void Modify(F&& Edit) {
    Edit(FItems);
    FIndexValid = false;
  }

private:
  void BuildIndex() const;
  std::vector<TCharacterToGlyphIndexMapping> FItems;
  mutable std::unordered_map<uint32_t, uint32_t> FCharIndex;   // char -> position of its last mapping
  mutable std::unordered_map<uint16_t, uint32_t> FGlyphIndex;  // glyph -> position of its first mapping
  mutable bool FIndexValid = true;
};

class TCmapEncodingSubTable {
public:
  uint16_t Format = 4;
  uint32_t Language = 0;
  TCharacterToGlyphIndexMappings Mappings;
  // The bytes of a subtable in a format this program does not decode (13, 14,
  // ...), written back unchanged. Empty for the decoded formats.
  std::vector<uint8_t> RawData;

  // S spans from the subtable's start to the end of the cmap table.
  void LoadFromStream(TReadOnlyStream& S, uint32_t Limit);
  void SaveToStream(TStream& S) const;

  void AddMapping(uint16_t GlyphIndex, uint32_t CharCode) { Mappings.Add(CharCode, GlyphIndex); }
  void RemoveMapping(uint16_t GlyphIndex, uint32_t CharCode);
  void RemoveGlyph(uint16_t GlyphIndex);
  int32_t GlyphOf(uint32_t CharCode) const { return Mappings.GlyphOf(CharCode); }
  int64_t CharOf(uint16_t GlyphIndex) const { return Mappings.CharOf(GlyphIndex); }
  bool IsGlyphMapped(uint16_t GlyphIndex) const { return Mappings.CharOf(GlyphIndex) >= 0; }
  bool HasCharInRange(uint32_t Low, uint32_t High) const;
  // Lowest and highest characters mapped to a non-zero glyph; codes above
  // 0xFFFF count as 0xFFFF. First stays 0xFFFF and Last 0 when none.
  void CharRange(uint32_t& First, uint32_t& Last) const;
  void RemoveWideChars();
  void SortMappings() { Mappings.Sort(); }
  // Changes the format; a format other than 12 drops characters above 0xFFFF.
  void SetFormat(uint16_t NewFormat);
  bool IsRaw() const { return !RawData.empty(); }

  // One mapping per character (the one GlyphOf answers), ascending.
  std::vector<TCharacterToGlyphIndexMapping> SortedUniqueMappings() const;

private:
  void ReadFormat0(TReadOnlyStream& S, uint32_t Limit);
  void ReadFormat2(TReadOnlyStream& S, uint32_t Limit);
  void ReadFormat4(TReadOnlyStream& S, uint32_t Limit);
  void ReadFormat6(TReadOnlyStream& S, uint32_t Limit);
  void ReadFormat12(TReadOnlyStream& S, uint32_t Limit);
  void ReadRaw(TReadOnlyStream& S);
  void WriteFormat0(TStream& S, const std::vector<TCharacterToGlyphIndexMapping>& M) const;
  void WriteFormat2(TStream& S, const std::vector<TCharacterToGlyphIndexMapping>& M) const;
  void WriteFormat4(TStream& S, const std::vector<TCharacterToGlyphIndexMapping>& M) const;
  void WriteFormat6(TStream& S, const std::vector<TCharacterToGlyphIndexMapping>& M) const;
  void WriteFormat12(TStream& S, const std::vector<TCharacterToGlyphIndexMapping>& M) const;
  bool AcceptGlyph(uint32_t Glyph, uint32_t Limit) const;
};

// One segment of a format 4 subtable, as the segmenter cuts the mappings.
struct TCmapFormat4Segment {
  size_t First = 0, Last = 0;  // mapping positions (unused for the closing segment)
  uint16_t StartCode = 0, EndCode = 0;
  bool IsDelta = true;
  bool IsClosing = false;
};
// Cuts sorted, unique mappings into format 4 segments, closing segment last.
std::vector<TCmapFormat4Segment> SegmentFormat4(const std::vector<TCharacterToGlyphIndexMapping>& M);

struct TCmapEncodingTableEntry {
  uint16_t PlatformID = 0;
  uint16_t EncodingID = 0;
  std::unique_ptr<TCmapEncodingSubTable> SubTable;
};

class TCmapMappingTable {
public:
  size_t Count() const { return FItems.size(); }
  TCmapEncodingTableEntry& Items(size_t Index) { return FItems.at(Index); }
  const TCmapEncodingTableEntry& Items(size_t Index) const { return FItems.at(Index); }
  void Clear() { FItems.clear(); }

  TCmapEncodingTableEntry* Find(uint16_t PlatformID, uint16_t EncodingID);
  const TCmapEncodingTableEntry* Find(uint16_t PlatformID, uint16_t EncodingID) const;
  TCmapEncodingSubTable* Insert(uint16_t PlatformID, uint16_t EncodingID);
  TCmapEncodingSubTable* CreateSubTable(uint16_t PlatformID, uint16_t EncodingID);
  void DeleteSubTable(uint16_t PlatformID, uint16_t EncodingID);
  void AddMapping(uint16_t PlatformID, uint16_t EncodingID, uint32_t CharCode, uint16_t GlyphIndex);

  int32_t UnicodeGlyph(uint32_t CharCode) const;
  int32_t SymbolGlyph(uint32_t Code) const;
  int64_t UnicodeCharOfGlyph(uint16_t GlyphIndex) const;
  int64_t SymbolCharOfGlyph(uint16_t GlyphIndex) const;
  bool IsGlyphMapped(uint16_t GlyphIndex) const;
  bool NextGlyphOfChar(uint16_t PlatformID, uint16_t EncodingID, uint16_t& Glyph, uint32_t CharCode) const;
  void GetCharRange(uint32_t& First, uint32_t& Last) const;

  void DeleteGlyph(uint16_t GlyphIndex);
  void InsertGlyph(uint16_t GlyphIndex);
  void SwapGlyphs(uint16_t A, uint16_t B);
  void DropInvalidGlyphs(uint32_t Count);

  void WriteGlyphMappings(TStream& S, uint16_t GlyphIndex) const;
  void ReadGlyphMappings(TStream& S, uint16_t GlyphIndex);
  void WriteMappingsWithIDs(TStream& S, uint16_t GlyphIndex) const;
  void ReadMappingsWithIDs(TStream& S, uint16_t GlyphIndex, uint32_t Limit, int Mode);

private:
  std::vector<TCmapEncodingTableEntry> FItems;
};

class TTableCmap : public TFontTable {
public:
  explicit TTableCmap(const std::string& Tag = "cmap") : TFontTable(Tag) { CheckTag("TTableCmap", "cmap", Tag); }
  const char* ClassName() const override { return "TTableCmap"; }
  void LoadFromStream(TStream& S) override;
  void SaveToStream(TStream& S) const override;

  void Clear();
  size_t SubTableCount() const { return SubTables.Count(); }
  TCmapEncodingSubTable& SubTable(size_t Index) { return *SubTables.Items(Index).SubTable; }
  // Encoding in the upper 16 bits, platform in the lower.
  uint32_t SubTablePair(size_t Index) const;
  TCmapEncodingSubTable* FindSubTable(uint16_t PlatformID, uint16_t EncodingID);
  TCmapEncodingSubTable* CreateSubTable(uint16_t PlatformID, uint16_t EncodingID) {
    return SubTables.CreateSubTable(PlatformID, EncodingID);
  }
  void DeleteSubTable(uint16_t PlatformID, uint16_t EncodingID) { SubTables.DeleteSubTable(PlatformID, EncodingID); }
  void BuildFromMacRoman(uint16_t PlatformID, uint16_t OldEncodingID, uint16_t NewEncodingID);

  // Glyph-level operations, forwarded to the subtables.
  int32_t UnicodeGlyph(uint32_t CharCode) const { return SubTables.UnicodeGlyph(CharCode); }
  void DeleteGlyph(uint16_t GlyphIndex) { SubTables.DeleteGlyph(GlyphIndex); }
  void InsertGlyph(uint16_t GlyphIndex) { SubTables.InsertGlyph(GlyphIndex); }
  void SwapGlyphs(uint16_t A, uint16_t B) { SubTables.SwapGlyphs(A, B); }
  void DropInvalidGlyphs(uint32_t Count) { SubTables.DropInvalidGlyphs(Count); }

  uint16_t Version = 0;
  TCmapMappingTable SubTables;
  // The glyph count told by the loader before reading; 0 means no limit.
  uint32_t GlyphLimit = 0;
};

}  // namespace tsy
