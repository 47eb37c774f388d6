#pragma once
// Shared pieces of the document manager tests: a real font loaded into a
// manager, the font's whole table state, and an editor the tests script.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "document/fontmanager.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/gasp.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hhea.h"
#include "fontfile/tables/kern.h"
#include "fontfile/tables/name.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/pclt.h"
#include "fontfile/tables/post.h"

namespace tsytest {

// Instructed glyphs, composites, hinting tables, kern, gasp and tables the
// program keeps as raw bytes.
inline const char* kManagerFont = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

inline void LoadManagerFont(tsy::TTrueTypeFontManager& M, const char* File = kManagerFont) {
  M.Font().LoadFromFile(File);
  M.SetFileName(File);
}

// Every table's file form (glyf and loca are rebuilt only at save) and the
// instructions of every glyph.
struct TFontState {
  std::map<std::string, std::vector<uint8_t>> Tables;
  std::vector<uint8_t> Instructions;
  bool operator==(const TFontState&) const = default;
};

inline TFontState StateOf(const tsy::TTrueTypeFont& F) {
  TFontState s;
  for (size_t i = 0; i < F.TableCount(); ++i) {
    const tsy::TFontTable* t = F.Table(i);
    if (t->Tag() == "glyf" || t->Tag() == "loca") continue;
    tsy::TMemoryStream m;
    t->SaveToStream(m);
    s.Tables[t->Tag()] = m.Bytes();
  }
  tsy::TMemoryStream m;
  F.Outlines.WriteAllInstructions(m);
  s.Instructions = m.Bytes();
  return s;
}

// Answers every dialog with Ok after running the matching edit, if any.
struct TScriptedEditor : tsy::TFontTableEditor {
  bool Ok = true;
  std::function<void(tsy::TTableGasp&)> Gasp;
  std::function<void(tsy::TTableCmap&, tsy::TTableName&)> Platforms;
  std::function<void(tsy::TTableOS_2&, tsy::TTableHead&, tsy::TTableHhea&, tsy::TTablePost&)> Settings;
  std::function<void(tsy::TTableName&)> Naming;
  std::function<void(tsy::TTableKern&)> Kerning;
  std::function<void(tsy::TTablePCLT&, bool&)> Pcl5;
  std::function<void(tsy::TTablePost&)> PostNames;
  std::function<void(tsy::TTableCmap&)> Mappings;
  std::function<void(std::vector<std::string>&, bool&)> Tables;
  int InformationShown = 0;

  bool EditGrayscale(const tsy::TTrueTypeFontManager&, tsy::TTableGasp& T) override {
    if (Gasp) Gasp(T);
    return Ok;
  }
  bool EditPlatforms(const tsy::TTrueTypeFontManager&, tsy::TTableCmap& C, tsy::TTableName& N) override {
    if (Platforms) Platforms(C, N);
    return Ok;
  }
  bool EditFontSettings(const tsy::TTrueTypeFontManager&, tsy::TTableOS_2& O, tsy::TTableHead& H,
                        tsy::TTableHhea& Hh, tsy::TTablePost& P) override {
    if (Settings) Settings(O, H, Hh, P);
    return Ok;
  }
  bool EditNaming(const tsy::TTrueTypeFontManager&, tsy::TTableName& T) override {
    if (Naming) Naming(T);
    return Ok;
  }
  bool EditKerning(const tsy::TTrueTypeFontManager&, tsy::TTableKern& T) override {
    if (Kerning) Kerning(T);
    return Ok;
  }
  bool EditPCL5(const tsy::TTrueTypeFontManager&, tsy::TTablePCLT& T, bool& Include) override {
    if (Pcl5) Pcl5(T, Include);
    return Ok;
  }
  bool EditPostscriptNames(const tsy::TTrueTypeFontManager&, tsy::TTablePost& T) override {
    if (PostNames) PostNames(T);
    return Ok;
  }
  bool EditCharacterMappings(const tsy::TTrueTypeFontManager&, tsy::TTableCmap& T) override {
    if (Mappings) Mappings(T);
    return Ok;
  }
  bool EditFontTables(const tsy::TTrueTypeFontManager&, std::vector<std::string>& Tags, bool& Hinting) override {
    if (Tables) Tables(Tags, Hinting);
    return Ok;
  }
  void ShowFontInformation(const tsy::TTrueTypeFontManager&, const std::string&) override { ++InformationShown; }
};

}  // namespace tsytest
