#include "glyphview/rulers.h"

#include <charconv>
#include <cmath>

namespace tsy {

namespace {

int64_t Div(int64_t A, int64_t B) { return A / B; }  // truncates toward zero

std::string ShortestDecimal(double V) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, V);
  return std::string(buf, r.ptr);
}

// Labels k * Unit for the k whose position can show; From and To are the font
// coordinates at the two inner ends of the ruler.
template <class TToScreen>
void AddMarks(TRulerMarks& Marks, double From, double To, TToScreen ToScreen, int LabelLow, int LabelHigh) {
  if (From > To) std::swap(From, To);
  const int64_t step = RoundToEven32(10 * Marks.Unit);
  const int64_t first = Div(RoundToEven32(10 * From), step) - 2;
  const int64_t last = Div(RoundToEven32(10 * To), step) + 1;
  for (int64_t k = first; k <= last; ++k) {
    const int a = ToScreen(double(k) * Marks.Unit), b = ToScreen(double(k + 1) * Marks.Unit);
    if (LabelLow < a && a < LabelHigh) Marks.Labels.push_back({a, ShortestDecimal(double(k) * Marks.Unit)});
    for (int i = 0; i < 10; ++i)
      Marks.Ticks.push_back({a + int(std::nearbyint(i * (b - a) / 10.0)), i == 0 ? 7 : i == 5 ? 6 : 4});
  }
}

}  // namespace

double RulerUnit(double NominalPixels, double Zoom) {
  double m = NominalPixels / Zoom, p = 1;
  while (m >= 10) {
    m /= 10;
    p *= 10;
  }
  const double choice = m > 5 ? 10 : m > 2.5 ? 5 : m > 2 ? 2.5 : m > 1 ? 2 : 1;
  return std::max(choice * p, 10.0);
}

TRulerMarks HorizontalRulerMarks(const TGlyphViewport& View) {
  TRulerMarks marks;
  marks.Unit = RulerUnit(40, View.ZoomFactor());
  const int w = View.Width();
  AddMarks(marks, View.ScreenToFontX(30), View.ScreenToFontX(w - 30),
           [&](double X) { return View.FontToScreenX(X); }, 25, w - 35);
  return marks;
}

TRulerMarks VerticalRulerMarks(const TGlyphViewport& View) {
  TRulerMarks marks;
  marks.Unit = RulerUnit(65, View.ZoomFactor());
  const int h = View.Height();
  AddMarks(marks, View.ScreenToFontY(30), View.ScreenToFontY(h - 30),
           [&](double Y) { return View.FontToScreenY(Y); }, 25, h - 25);
  return marks;
}

int GridSpacing(int Distance, int MinPixels, const TGlyphViewport& View) {
  int64_t s = Distance >= 1 ? Distance : kDefaultGridDistance;
  const int pixels = MinPixels >= 1 ? MinPixels : kDefaultGridDistancePixels;
  // Beyond twice the coordinate space one line is all that can show.
  constexpr int64_t kLargest = 2 * 32768;
  while (s < kLargest && View.FontToScreenX(double(s)) - View.FontToScreenX(0) < pixels) s *= 2;
  return int(std::min(s, kLargest));
}

TGridLines GridLines(int Spacing, const TGlyphViewport& View) {
  TGridLines g;
  if (Spacing < 1) return g;
  g.Spacing = Spacing;
  const int64_t s = Spacing;
  const int64_t x0 = (Div(RoundToEven32(View.ScreenToFontX(0)), s) - 1) * s;
  const int64_t x1 = (Div(RoundToEven32(View.ScreenToFontX(View.Width())), s) + 1) * s;
  for (int64_t x = x0; x < x1; x += s) g.Xs.push_back(View.FontToScreenX(double(x)));
  const int64_t y0 = (Div(RoundToEven32(View.ScreenToFontY(View.Height())), s) - 1) * s;
  const int64_t y1 = (Div(RoundToEven32(View.ScreenToFontY(0)), s) + 1) * s;
  for (int64_t y = y0; y < y1; y += s) g.Ys.push_back(View.FontToScreenY(double(y)));
  return g;
}

}  // namespace tsy
