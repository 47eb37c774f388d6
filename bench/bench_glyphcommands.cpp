// Glyph commands on a large font (FreeSerif.ttf): deleting 100 glyphs spread
// over the font (composites that use them are decomposed, every table
// renumbered) and undoing it; inserting 1,000 glyphs at the top and undoing
// it. Target: 0.5 s for each pair in a release build (a debug build takes
// about 1.5 s and 8 s of CPU).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "document/fontmanager.h"

namespace {

const char* const kLargeFont = "/usr/share/fonts/truetype/freefont/FreeSerif.ttf";

bool Load(benchmark::State& State, tsy::TTrueTypeFontManager& M) {
  if (!std::filesystem::exists(kLargeFont)) {
    State.SkipWithError("font not installed");
    return false;
  }
  M.Font().LoadFromFile(kLargeFont);
  return true;
}

void BM_DeleteHundredGlyphsAndUndo(benchmark::State& State) {
  tsy::TTrueTypeFontManager m;
  if (!Load(State, m)) return;
  const int n = int(m.Font().GlyphCount());
  for (auto _ : State) {
    m.SelectedGlyphs().Clear();
    for (int k = 0; k < 100; ++k) m.SelectedGlyphs().SetSelected(1 + k * (n - 2) / 100, true);
    m.DeleteGlyphs();
    m.Undo();
  }
}

void BM_InsertThousandGlyphsAndUndo(benchmark::State& State) {
  tsy::TTrueTypeFontManager m;
  if (!Load(State, m)) return;
  for (auto _ : State) {
    m.InsertGlyphs(1000, tsy::TTrueTypeFontManager::ipAtTop);
    m.Undo();
  }
}

}  // namespace

BENCHMARK(BM_DeleteHundredGlyphsAndUndo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertThousandGlyphsAndUndo)->Unit(benchmark::kMillisecond);
