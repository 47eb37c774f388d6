// The undo history under a glyph-editing load: 1,000 levels whose snapshots
// are glyph-sized (2 to 8 KB) records of point coordinates. Reports the time to
// record, undo and redo them and the bytes the history keeps.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "document/undoredo.h"

namespace {

constexpr int kLevels = 1000;

// A glyph snapshot's likeness: a point count, then x/y doubles walking in
// small steps with on-curve flags, the way outlines serialise.
std::vector<uint8_t> GlyphSnapshot(std::mt19937& Rng) {
  const size_t size = 2048 + Rng() % (6 * 1024 + 1);
  std::vector<uint8_t> b;
  b.reserve(size);
  double x = 100, y = 0;
  while (b.size() + 17 <= size) {
    x += static_cast<int>(Rng() % 61) - 30;
    y += static_cast<int>(Rng() % 61) - 30;
    uint8_t rec[17];
    std::memcpy(rec, &x, 8);
    std::memcpy(rec + 8, &y, 8);
    rec[16] = Rng() & 1;
    b.insert(b.end(), rec, rec + 17);
  }
  b.resize(size, 0);
  return b;
}

struct TLoad {
  std::vector<std::vector<uint8_t>> Snapshots;
  uint64_t RawBytes = 0;
  TLoad() {
    std::mt19937 rng(42);
    for (int i = 0; i < kLevels; ++i) {
      Snapshots.push_back(GlyphSnapshot(rng));
      RawBytes += Snapshots.back().size();
    }
  }
};

const TLoad& Load() {
  static const TLoad load;
  return load;
}

// Records every snapshot as its own level; the handler swaps the snapshot
// with the "current glyph" as a document manager's handler would.
struct TGlyphDoc {
  tsy::TvnxUndoRedoRepeatStreamer History;
  std::vector<uint8_t> Glyph = std::vector<uint8_t>(4096, 0);
  tsy::TUndoRedoHandler Restore = [this](tsy::TUndoRedoRepeatItem&, tsy::TStream& S) {
    History.AddUndoItem(Restore).Write(Glyph.data(), Glyph.size());
    Glyph.resize(static_cast<size_t>(S.Size()));
    S.ReadExact(Glyph.data(), Glyph.size());
  };
  void RecordAll() {
    for (const auto& snap : Load().Snapshots) {
      History.BeginRecord("Glyph $0041 - Move Points");
      History.AddUndoItem(Restore).Write(Glyph.data(), Glyph.size());
      Glyph = snap;
      History.EndRecord();
    }
  }
};

void BM_UndoRecord1000GlyphLevels(benchmark::State& State) {
  uint64_t stored = 0;
  for (auto _ : State) {
    TGlyphDoc doc;
    doc.RecordAll();
    stored = doc.History.TotalStoredSize();
    benchmark::DoNotOptimize(stored);
  }
  State.counters["raw_KB"] = double(Load().RawBytes) / 1024;
  State.counters["stored_KB"] = double(stored) / 1024;
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Load().RawBytes));
}
BENCHMARK(BM_UndoRecord1000GlyphLevels)->Unit(benchmark::kMillisecond);

void BM_UndoThenRedo1000GlyphLevels(benchmark::State& State) {
  TGlyphDoc doc;
  doc.RecordAll();
  for (auto _ : State) {
    while (doc.History.CanUndo()) doc.History.Undo();
    while (doc.History.CanRedo()) doc.History.Redo();
  }
  State.counters["stored_KB"] = double(doc.History.TotalStoredSize()) / 1024;
  State.SetItemsProcessed(int64_t(State.iterations()) * 2 * kLevels);
}
BENCHMARK(BM_UndoThenRedo1000GlyphLevels)->Unit(benchmark::kMillisecond);

}  // namespace
