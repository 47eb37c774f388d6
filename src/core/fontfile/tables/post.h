#pragma once
// The post table: PostScript header values and, in format 2, one glyph name
// per glyph. The only store of glyph names in the program.
#include <cstdint>
#include <string>
#include <vector>

#include "fontfile/fonttable.h"

namespace tsy {

using TPostScriptNameEntry = std::string;  // at most 255 characters

class TTablePost : public TFontTable {
public:
  explicit TTablePost(const std::string& Tag = "post") : TFontTable(Tag) { CheckTag("TTablePost", "post", Tag); }
  const char* ClassName() const override { return "TTablePost"; }
  void LoadFromStream(TStream& S) override;
  void SaveToStream(TStream& S) const override;

  bool HasGlyphNames() const { return (format >> 16) != 3; }
  void SetHasGlyphNames(bool On);
  std::string GetName(size_t Index) const { return Index < Names.size() ? Names[Index] : std::string(); }
  void SetName(size_t Index, const std::string& Name);
  void AddName(const std::string& Name);
  void DeleteName(size_t Index);
  void InsertName(size_t Index);
  void SwapNames(size_t A, size_t B);
  void ResetNames();
  size_t NameCount() const { return Names.size(); }
  void AssignHeader(const TTablePost& Other);
  bool SameHeader(const TTablePost& Other) const;

  int32_t format = 0x00030000;
  int32_t italicAngle = 0;
  int16_t underlinePosition = 0;
  int16_t underlineThickness = 0;
  uint32_t isFixedPitch = 0;
  uint32_t minMemType42 = 0, maxMemType42 = 0, minMemType1 = 0, maxMemType1 = 0;
  uint16_t numberOfGlyphs = 0;
  std::vector<TPostScriptNameEntry> Names;

private:
  // Set for a name read from a custom string that is spelled like one of the
  // standard entries this program names differently ("null", "CR", ...): it
  // goes back as a custom string, so the file keeps the glyph's own name.
  std::vector<bool> FCustomSpelling;
  bool IsCustomSpelling(size_t Index) const { return Index < FCustomSpelling.size() && FCustomSpelling[Index]; }
  void ReadHeader(TStream& S);
  void WriteHeader(TStream& S) const;
  void ReadFormat2(TStream& S);
  void WriteFormat2(TStream& S) const;
};

}  // namespace tsy
