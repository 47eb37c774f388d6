// Load and save of large installed fonts, from memory, so the numbers are the
// engine's and not the disk's. TSY_BENCH_FONT names another font to measure.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fontfile/truetypefont.h"

namespace {

std::string BenchFont() {
  if (const char* f = std::getenv("TSY_BENCH_FONT")) return f;
  for (const char* f : {"/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf",
                        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"})
    if (std::filesystem::exists(f)) return f;
  return {};
}

void BM_LoadFont(benchmark::State& State) {
  const std::string file = BenchFont();
  if (file.empty()) return State.SkipWithError("no font to measure");
  auto bytes = tsy::ReadWholeFile(file);
  for (auto _ : State) {
    tsy::TReadOnlyStream s(bytes);
    tsy::TTrueTypeFont font;
    font.LoadFromStream(s);
    benchmark::DoNotOptimize(font.TableCount());
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(bytes->size()));
  State.SetLabel(file);
}
BENCHMARK(BM_LoadFont)->Unit(benchmark::kMillisecond);

void BM_SaveFont(benchmark::State& State) {
  const std::string file = BenchFont();
  if (file.empty()) return State.SkipWithError("no font to measure");
  auto bytes = tsy::ReadWholeFile(file);
  tsy::TReadOnlyStream s(bytes);
  tsy::TTrueTypeFont font;
  font.LoadFromStream(s);
  for (auto _ : State) {
    tsy::TMemoryStream out;
    font.SaveToStream(out);
    benchmark::DoNotOptimize(out.Size());
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(bytes->size()));
  State.SetLabel(file);
}
BENCHMARK(BM_SaveFont)->Unit(benchmark::kMillisecond);

}  // namespace
