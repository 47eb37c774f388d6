// Repainting a glyph edit window: the drawing layers of a complex glyph at
// fit zoom built and replayed into an 800 x 800 picture, as every paint does.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fontfile/truetypefont.h"
#include "glyphedit/displaypainter.h"
#include "glyphview/layers.h"

namespace {

std::string ViewBenchFont() {
  if (const char* f = std::getenv("TSY_BENCH_FONT")) return f;
  const char* f = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  return std::filesystem::exists(f) ? f : std::string();
}

// The simple glyph with the most points, optionally only among those the
// problem tests still run on (at most 400 points and 40 contours).
int ComplexGlyph(const tsy::TTrueTypeFont& F, bool WithinValidationLimits) {
  int best = -1;
  int64_t most = -1;
  for (size_t g = 0; g < F.GlyphCount(); ++g) {
    const tsy::TOutlineBase* o = F.Outlines.Items(g);
    if (o->GetKind() != tsy::okSimple) continue;
    if (WithinValidationLimits && (o->GetPointCount() > 400 || o->GetContourCount() > 40)) continue;
    if (o->GetPointCount() > most) most = o->GetPointCount(), best = int(g);
  }
  return best;
}

void Repaint(benchmark::State& State, bool WithinLimits) {
  const std::string file = ViewBenchFont();
  if (file.empty()) {
    State.SkipWithError("no benchmark font (set TSY_BENCH_FONT)");
    return;
  }
  tsy::TTrueTypeFont font;
  font.LoadFromFile(file);
  tsy::TGlyphViewScene scene;
  scene.Font = &font;
  scene.Glyph = ComplexGlyph(font, WithinLimits);
  scene.EditMode = 2;  // point mode: every point gets its marker
  tsy::TGlyphViewport view;
  view.SetSize(800, 800);
  view.UpdateScrollRanges();
  view.FitRect(font.Outlines.Items(size_t(scene.Glyph))->Bounds);
  tsy::TGuideLineSettings guidelines;
  guidelines.Horizontal.Add(500);
  guidelines.Diagonal.Add({0, 0}, {100, 300}, tsy::gkDiagonalPoints, 0);
  const tsy::TGlyphViewOptions options;
  QImage picture(800, 800, QImage::Format_RGB32);
  for (auto _ : State) {
    picture.fill(Qt::white);
    tsy::TDisplayList list;
    tsy::BuildAidsLayer(view, options, scene, &guidelines, {}, list);
    tsy::BuildGlyphLayer(view, options, scene, {}, list);
    QPainter p(&picture);
    tsy::ReplayDisplayList(p, list);
    benchmark::DoNotOptimize(picture.constBits());
  }
  State.counters["points"] = double(font.Outlines.Items(size_t(scene.Glyph))->GetPointCount());
}

void BM_GlyphViewRepaintLargest(benchmark::State& State) { Repaint(State, false); }
void BM_GlyphViewRepaintWithProblemTests(benchmark::State& State) { Repaint(State, true); }

}  // namespace

BENCHMARK(BM_GlyphViewRepaintLargest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlyphViewRepaintWithProblemTests)->Unit(benchmark::kMillisecond);
