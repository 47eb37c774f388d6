// The document manager on a large font: 1,000 undo levels of one glyph each
// (a whole-glyph snapshot, then the glyph shifted), then undoing and redoing
// all of them. Reports the time of each phase, the bytes the history keeps
// and the heap growth while it keeps them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <malloc.h>
#include <memory>
#include <string>

#include "document/fontmanager.h"
#include "fontfile/primitives.h"

namespace {

constexpr int kLevels = 1000;
const char* const kLargeFont = "/usr/share/fonts/truetype/freefont/FreeSerif.ttf";

// Bytes the allocator has handed out and not taken back: unlike the
// resident size it drops when memory is freed and reused.
long HeapInUseKB() { return long(mallinfo2().uordblks / 1024); }

// One glyph-sized level the way a glyph command records it: the glyph's
// snapshot, then the change. The handler swaps snapshots both ways.
struct TGlyphEdits {
  tsy::TTrueTypeFontManager Manager;
  std::vector<int> Glyphs;  // the 1,000 largest outlines, edited in turn
  uint64_t RawBytes = 0;

  tsy::TUndoRedoHandler Swap = [this](tsy::TUndoRedoRepeatItem&, tsy::TStream& S) {
    const int g = tsy::ReadUInt16(S);
    tsy::TMemoryStream& out = Manager.History().AddUndoItem(Swap);
    tsy::WriteUInt16(out, uint16_t(g));
    Manager.Font().Outlines.WriteSnapshot(g, out);
    Manager.Font().Outlines.ReadSnapshot(g, S);
  };

  TGlyphEdits() {
    Manager.Font().LoadFromFile(kLargeFont);
    std::vector<std::pair<int64_t, int>> sizes;
    for (size_t g = 0; g < Manager.Font().GlyphCount(); ++g)
      sizes.push_back({Manager.Font().Outlines.Items(g)->GetPointCount(), int(g)});
    std::sort(sizes.rbegin(), sizes.rend());
    for (size_t k = 0; k < sizes.size() && Glyphs.size() < kLevels; ++k) Glyphs.push_back(sizes[k].second);
    while (Glyphs.size() < kLevels) Glyphs.push_back(Glyphs[Glyphs.size() % sizes.size()]);
  }

  void RecordAll() {
    for (int g : Glyphs)
      Manager.RecordLevel(Manager.GlyphUndoName(g, "Move Points"), [&] {
        tsy::TMemoryStream& s = Manager.History().AddUndoItem(Swap);
        tsy::WriteUInt16(s, uint16_t(g));
        Manager.Font().Outlines.WriteSnapshot(g, s);
        RawBytes += s.Size();
        Manager.ShiftGlyph(g, 10);
      });
  }
};

void BM_ManagerRecord1000GlyphLevels(benchmark::State& State) {
  uint64_t stored = 0, raw = 0;
  long growth = 0;
  for (auto _ : State) {
    State.PauseTiming();
    auto edits = std::make_unique<TGlyphEdits>();
    const long before = HeapInUseKB();
    State.ResumeTiming();
    edits->RecordAll();
    State.PauseTiming();
    stored = edits->Manager.History().TotalStoredSize();
    raw = edits->RawBytes;
    growth = HeapInUseKB() - before;
    edits.reset();
    State.ResumeTiming();
  }
  State.counters["glyph_raw_KB"] = double(raw) / 1024;
  State.counters["history_KB"] = double(stored) / 1024;
  State.counters["heap_growth_KB"] = double(growth);
}
BENCHMARK(BM_ManagerRecord1000GlyphLevels)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ManagerUndoRedo1000GlyphLevels(benchmark::State& State) {
  TGlyphEdits edits;
  edits.RecordAll();
  for (auto _ : State) {
    edits.Manager.Undo(kLevels);
    edits.Manager.Redo(kLevels);
  }
  State.counters["history_KB"] = double(edits.Manager.History().TotalStoredSize()) / 1024;
  State.SetItemsProcessed(int64_t(State.iterations()) * 2 * kLevels);
}
BENCHMARK(BM_ManagerUndoRedo1000GlyphLevels)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
