#pragma once
// The fonts installed on the system, as fontconfig knows them: the name and
// file of every TrueType and OpenType font. Fonts are always opened from
// their files; nothing here reads font data through the graphics system.
#include <cstdint>
#include <string>
#include <vector>

namespace tsy {

struct TFontInfo {
  std::string FontName;  // the full name, UTF-8
  std::string FileName;  // the full path
  int64_t FileSize = -1;  // bytes; -1 when the file is not found
};

class TFontList {
public:
  size_t Count() const { return FItems.size(); }
  const TFontInfo& Items(size_t Index) const { return FItems.at(Index); }
  void Add(const std::string& FontName, const std::string& FileName, int64_t FileSize);
  void Sort();  // by name, case-insensitively, then by file

private:
  std::vector<TFontInfo> FItems;
};

class TInstalledFonts {
public:
  // Reads the list from fontconfig. A fontconfig that cannot be initialised
  // raises std::runtime_error.
  TInstalledFonts();
  TFontList Fonts;
};

}  // namespace tsy
