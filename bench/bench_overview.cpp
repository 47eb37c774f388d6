// Painting the font overview of a font with 65,535 glyphs: one screenful of
// cells (900 x 650 window) drawn from scratch, the same screenful again
// (pictures copied from the cache), and a jump to another place in the font.
// The font is Droid Sans Fallback's outlines repeated up to 65,535 glyphs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <memory>

#include "document/fontmanager.h"
#include "outline/outline.h"
#include "shell/fontoverviewform.h"
#include "shell/glyphgrid.h"

namespace {

const char* const kSource = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";
constexpr int kGlyphs = 65535;

QApplication& App() {
  static int argc = 1;
  static char name[] = "tsy_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Kept to the end of the process: a QApplication destroyed among the
  // static objects after main() crashes in Qt's own clean-up.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

struct TOverview {
  std::unique_ptr<tsy::TFontOverviewForm> Form;
  QImage Target{900, 650, QImage::Format_RGB32};

  TOverview() {
    App();
    auto manager = std::make_unique<tsy::TTrueTypeFontManager>();
    tsy::TTrueTypeFont& font = manager->Font();
    font.LoadFromFile(kSource);
    const size_t original = font.GlyphCount();
    // Copies of the existing outlines through their glyph record form, set
    // in one go so that composite members are linked once.
    std::vector<std::unique_ptr<tsy::TOutlineBase>> items;
    for (size_t g = 0; g < size_t(kGlyphs); ++g) {
      const tsy::TOutlineBase& source = *font.Outlines.Items(g % original);
      auto copy = source.Create();
      copy->Assign(source);
      items.push_back(std::move(copy));
    }
    font.Outlines.Assign(std::move(items));
    manager->SetFileName(kSource);
    Form = std::make_unique<tsy::TFontOverviewForm>(std::move(manager));
    Form->resize(900, 650);
    Form->show();
    QCoreApplication::processEvents();
  }
  int Paint() {
    Form->Grid()->viewport()->render(&Target);
    return Form->Grid()->LastPaintedCells();
  }
};

TOverview& Overview() {
  static TOverview* overview = new TOverview;  // lives as long as the application
  return *overview;
}

void BM_OverviewFirstPaint(benchmark::State& State) {
  TOverview& o = Overview();
  int row = 0;
  for (auto _ : State) {
    // A place never painted before: every picture is drawn.
    State.PauseTiming();
    row = (row + 7) % (o.Form->Grid()->Rows() - 20);
    o.Form->Grid()->verticalScrollBar()->setValue(row * o.Form->Grid()->CellHeight());
    State.ResumeTiming();
    benchmark::DoNotOptimize(o.Paint());
  }
  State.counters["cells"] = o.Form->Grid()->LastPaintedCells();
  State.counters["glyphs"] = int(o.Form->Manager().Font().GlyphCount());
}
BENCHMARK(BM_OverviewFirstPaint)->Unit(benchmark::kMillisecond);

void BM_OverviewRepaint(benchmark::State& State) {
  TOverview& o = Overview();
  o.Form->Grid()->verticalScrollBar()->setValue(o.Form->Grid()->verticalScrollBar()->maximum() / 2);
  o.Paint();
  for (auto _ : State) benchmark::DoNotOptimize(o.Paint());
  State.counters["cells"] = o.Form->Grid()->LastPaintedCells();
}
BENCHMARK(BM_OverviewRepaint)->Unit(benchmark::kMillisecond);

void BM_OverviewFontChangedRepaint(benchmark::State& State) {
  // After a change notification the per-glyph data (captions, types) of all
  // 65,535 glyphs is computed again, and each visible picture is checked.
  TOverview& o = Overview();
  o.Paint();
  for (auto _ : State) {
    o.Form->Manager().Changed();
    benchmark::DoNotOptimize(o.Paint());
  }
}
BENCHMARK(BM_OverviewFontChangedRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
