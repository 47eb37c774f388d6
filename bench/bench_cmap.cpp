// cmap tables of CJK size: 65,000 glyphs and 35,000 mappings in a format 4 and
// a format 12 subtable, read, written and edited glyph by glyph.
#include <benchmark/benchmark.h>

#include <random>

#include "fontfile/tables/cmap.h"

namespace {

std::vector<uint8_t> CjkCmap() {
  tsy::TTableCmap t;
  std::mt19937 rng(1);
  auto* bmp = t.SubTables.Insert(3, 1);
  bmp->Format = 4;
  auto* full = t.SubTables.Insert(3, 10);
  full->Format = 12;
  // runs of consecutive glyphs broken up at random, as in real CJK fonts
  uint16_t g = 1;
  for (uint32_t c = 0x4E00; c < 0x4E00 + 20000; ++c) {
    if (rng() % 8 == 0) g = uint16_t(1 + rng() % 65000);
    bmp->AddMapping(g, c);
    full->AddMapping(g, c);
    ++g;
  }
  for (uint32_t c = 0x20000; c < 0x20000 + 15000; ++c) full->AddMapping(uint16_t(1 + rng() % 65000), c);
  tsy::TMemoryStream m;
  t.SaveToStream(m);
  return m.Bytes();
}

void BM_CmapLoad(benchmark::State& State) {
  const auto bytes = CjkCmap();
  for (auto _ : State) {
    tsy::TTableCmap t;
    t.GlyphLimit = 65535;
    tsy::TReadOnlyStream s(bytes.data(), bytes.size());
    t.LoadFromStream(s);
    benchmark::DoNotOptimize(t.SubTableCount());
  }
}
BENCHMARK(BM_CmapLoad)->Unit(benchmark::kMillisecond);

void BM_CmapSave(benchmark::State& State) {
  const auto bytes = CjkCmap();
  tsy::TTableCmap t;
  tsy::TReadOnlyStream s(bytes.data(), bytes.size());
  t.LoadFromStream(s);
  for (auto _ : State) {
    tsy::TMemoryStream m;
    t.SaveToStream(m);
    benchmark::DoNotOptimize(m.Size());
  }
}
BENCHMARK(BM_CmapSave)->Unit(benchmark::kMillisecond);

void BM_CmapLookups(benchmark::State& State) {
  const auto bytes = CjkCmap();
  tsy::TTableCmap t;
  tsy::TReadOnlyStream s(bytes.data(), bytes.size());
  t.LoadFromStream(s);
  for (auto _ : State) {
    int64_t sum = 0;
    for (uint32_t c = 0x4E00; c < 0x4E00 + 20000; ++c) sum += t.UnicodeGlyph(c);
    for (uint16_t g = 1; g < 20000; ++g) sum += t.SubTables.UnicodeCharOfGlyph(g);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_CmapLookups)->Unit(benchmark::kMillisecond);

}  // namespace
