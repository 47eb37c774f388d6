// Validating every glyph of a large CJK font (DroidSansFallbackFull.ttf) and
// of a large Latin/Greek/Cyrillic font with many curves (FreeSerif.ttf),
// with every test at its default, on one thread and on all cores.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "fontfile/truetypefont.h"
#include "settings/registrysettings.h"
#include "settings/settingsbackend.h"
#include "validation/reportbuilder.h"

namespace {

const char* const kFonts[] = {"/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf",
                              "/usr/share/fonts/truetype/freefont/FreeSerif.ttf"};

void BM_ValidateAllGlyphs(benchmark::State& State) {
  const std::string file = kFonts[State.range(0)];
  if (!std::filesystem::exists(file)) return State.SkipWithError("font not installed");
  tsy::TTrueTypeFont font;
  font.LoadFromFile(file);
  tsy::TRegistrySettings settings(std::make_shared<tsy::TMemorySettingsBackend>());
  tsy::TProblemReportBuilder builder(&font, &settings);
  builder.LoadTestSettings();
  builder.LoadRedundancySettings();
  const int threads = State.range(1) ? int(std::max(1u, std::thread::hardware_concurrency())) : 1;
  int problems = 0;
  for (auto _ : State) {
    tsy::TRecurReportList root;
    builder.AddFontReport(root, threads);
    problems = root.Count();
    benchmark::DoNotOptimize(problems);
  }
  State.SetItemsProcessed(int64_t(State.iterations()) * int64_t(font.GlyphCount()));
  State.counters["glyphs_with_problems"] = problems;
  State.counters["threads"] = threads;
  State.SetLabel(std::filesystem::path(file).filename().string());
}
BENCHMARK(BM_ValidateAllGlyphs)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"font", "all_cores"})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
