// Converting PostScript outlines: FreeSerif.otf (10,537 glyphs) and member 0
// of NotoSansCJK-Regular.ttc (65,535 glyphs, CID-keyed), opened and saved as
// TrueType from memory. Targets: 0.3 s and 3 s.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "fontfile/collection.h"
#include "fontfile/truetypefont.h"

namespace {

void Convert(benchmark::State& State, const char* File, bool Member0) {
  if (!std::filesystem::exists(File)) return State.SkipWithError("font not installed");
  auto bytes = tsy::ReadWholeFile(File);
  uint64_t dir = 0;
  if (Member0) dir = tsy::TTrueTypeCollection::ReadOffsets(tsy::TReadOnlyStream(bytes)).at(0);
  for (auto _ : State) {
    tsy::TReadOnlyStream s(bytes);
    tsy::TTrueTypeFont font;
    font.LoadFromStream(s, dir);
    tsy::TMemoryStream out;
    font.SaveToStream(out);
    benchmark::DoNotOptimize(out.Size());
  }
}

void BM_ConvertFreeSerif(benchmark::State& State) {
  Convert(State, "/usr/share/fonts/opentype/freefont/FreeSerif.otf", false);
}
void BM_ConvertNotoSansCJK0(benchmark::State& State) {
  Convert(State, "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", true);
}

}  // namespace

BENCHMARK(BM_ConvertFreeSerif)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertNotoSansCJK0)->Unit(benchmark::kMillisecond)->Iterations(1);
