#pragma once
// Pieces shared by the glyph command files of the document manager.
#include <cmath>
#include <string>

#include "document/fontmanager.h"
#include "fontfile/fontexception.h"

namespace tsy {

template <class F>
void TTrueTypeFontManager::GlyphLevel(int G, const std::string& Suffix, bool RemoveHinting, F&& Body) {
  if (RemoveHinting) RemoveGlyphHintingIfNeeded(G);
  try {
    RecordLevel(GlyphUndoName(G, Suffix), [&] {
      RecordGlyphState(G);
      Body();
    });
  } catch (...) {
    FEditWindows.GlyphChanged(G);
    Changed();
    throw;
  }
  FEditWindows.GlyphChanged(G);
  Changed();
}

inline bool AllFinite(std::initializer_list<double> Values) {
  for (double v : Values)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace tsy
