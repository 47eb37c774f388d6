#pragma once
// Ruler marks and grid lines of the glyph edit window, in paint-box pixels.
#include <string>
#include <vector>

#include "glyphview/viewport.h"

namespace tsy {

struct TRulerLabel {
  int Pos;  // pixel the label is centred on
  std::string Text;
};
struct TRulerTick {
  int Pos;
  int Length;  // 7 at a label, 6 half way, 4 between
};
struct TRulerMarks {
  double Unit = 0;  // font units between labels
  std::vector<TRulerLabel> Labels;
  std::vector<TRulerTick> Ticks;
};

// Font units between ruler labels for a nominal label distance in pixels:
// 1, 2, 2.5, 5 or 10 times a power of ten, never below 10.
double RulerUnit(double NominalPixels, double Zoom);
TRulerMarks HorizontalRulerMarks(const TGlyphViewport& View);
TRulerMarks VerticalRulerMarks(const TGlyphViewport& View);

constexpr int kDefaultGridDistance = 100;
constexpr int kDefaultGridDistancePixels = 16;

// The drawn grid spacing: Distance doubled until it covers MinPixels on
// screen. Values below 1 are damage and read as the defaults (a spacing of
// 0 would never grow).
int GridSpacing(int Distance, int MinPixels, const TGlyphViewport& View);

struct TGridLines {
  int Spacing = 0;
  std::vector<int> Xs;  // pixel columns of vertical lines
  std::vector<int> Ys;  // pixel rows of horizontal lines
};
// Every multiple of Spacing that can show in the paint box (one beyond each
// edge), as pixels.
TGridLines GridLines(int Spacing, const TGlyphViewport& View);

}  // namespace tsy
