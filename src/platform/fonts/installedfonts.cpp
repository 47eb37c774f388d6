#include "fonts/installedfonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <stdexcept>
#include <strings.h>

namespace tsy {

void TFontList::Add(const std::string& FontName, const std::string& FileName, int64_t FileSize) {
  FItems.push_back({FontName, FileName, FileSize});
}

void TFontList::Sort() {
  std::stable_sort(FItems.begin(), FItems.end(), [](const TFontInfo& A, const TFontInfo& B) {
    const int c = strcasecmp(A.FontName.c_str(), B.FontName.c_str());
    if (c != 0) return c < 0;
    if (A.FontName != B.FontName) return A.FontName < B.FontName;
    return A.FileName < B.FileName;
  });
}

namespace {

std::string StringOf(FcPattern* P, const char* Object) {
  FcChar8* s = nullptr;
  return FcPatternGetString(P, Object, 0, &s) == FcResultMatch && s ? reinterpret_cast<const char*>(s) : "";
}

}  // namespace

TInstalledFonts::TInstalledFonts() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) throw std::runtime_error("The list of installed fonts cannot be read (fontconfig failed to start).");
  std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)> configOwner(config, FcConfigDestroy);
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), FcPatternDestroy);
  std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_FILE, FC_FULLNAME, FC_FAMILY, FC_STYLE, FC_FONTFORMAT, nullptr), FcObjectSetDestroy);
  std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> set(FcFontList(config, pattern.get(), objects.get()),
                                                              FcFontSetDestroy);
  if (!set) return;
  std::set<std::pair<std::string, std::string>> seen;
  for (int i = 0; i < set->nfont; ++i) {
    FcPattern* p = set->fonts[i];
    // TrueType outlines report "TrueType", PostScript-flavoured OpenType "CFF".
    const std::string format = StringOf(p, FC_FONTFORMAT);
    if (format != "TrueType" && format != "CFF") continue;
    const std::string file = StringOf(p, FC_FILE);
    if (file.empty()) continue;
    std::string name = StringOf(p, FC_FULLNAME);
    if (name.empty()) {
      name = StringOf(p, FC_FAMILY);
      const std::string style = StringOf(p, FC_STYLE);
      if (!style.empty() && style != "Regular") name += " " + style;
    }
    // Each face of a collection, and each named instance, is its own pattern.
    if (!seen.insert({name, file}).second) continue;
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    Fonts.Add(name, file, ec ? -1 : int64_t(size));
  }
  Fonts.Sort();
}

}  // namespace tsy
