// Decoding and encoding every glyph record of a large font (by default
// DroidSansFallbackFull.ttf, 49,382 glyphs), without the rest of the load.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "fontfile/tables/glyf.h"
#include "fontfile/tables/loca.h"
#include "fontfile/tables/maxp.h"
#include "fontfile/truetypefont.h"

namespace {

std::string GlyphBenchFont() {
  if (const char* f = std::getenv("TSY_BENCH_FONT")) return f;
  for (const char* f : {"/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf",
                        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"})
    if (std::filesystem::exists(f)) return f;
  return {};
}

// The font's glyph tables as a save writes them.
struct TGlyphTables {
  tsy::TTableMaxp Maxp;
  tsy::TTableLoca Loca;
  tsy::TTableGlyf Glyf;
  tsy::TFontOutlines Outlines;
};

std::unique_ptr<TGlyphTables> Prepare(const std::string& File) {
  tsy::TTrueTypeFont font;
  font.LoadFromFile(File);
  auto t = std::make_unique<TGlyphTables>();
  font.Outlines.SaveToTables(&t->Maxp, &t->Loca, &t->Glyf);
  t->Outlines.LoadFromTables(&t->Maxp, &t->Loca, &t->Glyf);
  return t;
}

void BM_DecodeAllGlyphs(benchmark::State& State) {
  const std::string file = GlyphBenchFont();
  if (file.empty()) return State.SkipWithError("no font to measure");
  auto t = Prepare(file);
  for (auto _ : State) {
    tsy::TFontOutlines outlines;
    outlines.LoadFromTables(&t->Maxp, &t->Loca, &t->Glyf);
    benchmark::DoNotOptimize(outlines.Count());
  }
  State.SetItemsProcessed(int64_t(State.iterations()) * int64_t(t->Maxp.numGlyphs));
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(t->Glyf.Data.Size()));
  State.SetLabel(file);
}
BENCHMARK(BM_DecodeAllGlyphs)->Unit(benchmark::kMillisecond);

void BM_EncodeAllGlyphs(benchmark::State& State) {
  const std::string file = GlyphBenchFont();
  if (file.empty()) return State.SkipWithError("no font to measure");
  auto t = Prepare(file);
  for (auto _ : State) {
    t->Outlines.SaveToTables(&t->Maxp, &t->Loca, &t->Glyf);
    benchmark::DoNotOptimize(t->Glyf.Data.Size());
  }
  State.SetItemsProcessed(int64_t(State.iterations()) * int64_t(t->Maxp.numGlyphs));
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(t->Glyf.Data.Size()));
  State.SetLabel(file);
}
BENCHMARK(BM_EncodeAllGlyphs)->Unit(benchmark::kMillisecond);

}  // namespace
