#include "glyphview/viewport.h"

#include <algorithm>
#include <cmath>

#include "fontfile/fontexception.h"

namespace tsy {

int32_t RoundToEven32(double V) {
  const double r = std::nearbyint(V);
  if (!(r >= double(INT32_MIN) && r <= double(INT32_MAX)))
    throw ERangeError(Format("%g is outside the range of screen coordinates", V));
  return int32_t(r);
}

void TGlyphViewport::SetSize(int W, int H) {
  FW = std::max(W, 0);
  FH = std::max(H, 0);
}

int32_t TGlyphViewport::FontToScreenX(double X) const { return RoundToEven32((X - ViewOffsetX()) * FZoom); }

int32_t TGlyphViewport::FontToScreenY(double Y) const { return -RoundToEven32((Y + ViewOffsetY()) * FZoom); }

void TGlyphViewport::SetBarPosition(TScrollBarState& Bar, double Position) {
  const int32_t p = RoundToEven32(Position);
  if (p > Bar.Max) {
    Bar.Min = 0;
    Bar.Max = p == INT32_MAX ? p : p + 1;
  } else if (p < Bar.Min) {
    Bar.Min = p == INT32_MIN ? p : p - 1;
    Bar.Max = 0;
  }
  Bar.Position = p;
}

void TGlyphViewport::SetViewOffsetX(double X) { SetBarPosition(HorzBar, FZoom * X + FW / 2.0); }

void TGlyphViewport::SetViewOffsetY(double Y) { SetBarPosition(VertBar, FZoom * Y + FH / 2.0); }

void TGlyphViewport::CentreOn(double X, double Y) {
  SetViewOffsetX(X - FW / (2 * FZoom));
  SetViewOffsetY(-Y - FH / (2 * FZoom));
}

void TGlyphViewport::UpdateRange(TScrollBarState& Bar, int Extent) const {
  // The view may run one eighth of the window past either edge of the space.
  const int margin = 3 * Extent / 8;
  const int32_t lo = RoundToEven32(kSpaceMin * FZoom + margin);
  const int32_t hi = RoundToEven32(kSpaceMax * FZoom - margin);
  if (lo < hi) {
    Bar.Min = lo;
    Bar.Max = hi;
    Bar.Position = std::clamp(Bar.Position, lo, hi);
  } else {
    Bar.Min = Bar.Max = Bar.Position = 0;
  }
  Bar.Enabled = Bar.Max != Bar.Min;
}

void TGlyphViewport::UpdateScrollRanges() {
  UpdateRange(HorzBar, FW);
  UpdateRange(VertBar, FH);
}

bool TGlyphViewport::SetZoomFactor(double Z) {
  if (std::isnan(Z)) return false;
  Z = std::clamp(Z, kMinZoom, kMaxZoom);
  if (Z == FZoom) return false;
  const double old = FZoom;
  const double hp = HorzBar.Position * (Z / old), vp = VertBar.Position * (Z / old);
  FZoom = Z;
  UpdateScrollRanges();
  HorzBar.Position = HorzBar.Enabled ? std::clamp(RoundToEven32(hp), HorzBar.Min, HorzBar.Max) : 0;
  VertBar.Position = VertBar.Enabled ? std::clamp(RoundToEven32(vp), VertBar.Min, VertBar.Max) : 0;
  return true;
}

bool TGlyphViewport::ZoomAtPoint(int X, int Y, double Z) {
  CentreOn(ScreenToFontX(X), ScreenToFontY(Y));
  return SetZoomFactor(Z);
}

double TGlyphViewport::FitZoom(const TFloatRect& B, int W, int H) {
  const double w = B.XMax - B.XMin, h = B.YMax - B.YMin;
  if (w != 0 && h != 0) return 0.9 * std::min(W / std::fabs(w), H / std::fabs(h));
  return kInitialZoom;
}

double TGlyphViewport::SelectionZoom(const TFloatRect& R, int W, int H) {
  const double w = std::fabs(R.XMax - R.XMin), h = std::fabs(R.YMax - R.YMin);
  if (w != 0 && h != 0) return 0.75 * std::min(W / w, H / h);
  if (w != 0) return 0.75 * W / w;
  if (h != 0) return 0.75 * H / h;
  return 5;
}

bool TGlyphViewport::FitRect(const TFloatRect& B) {
  const bool changed = SetZoomFactor(FitZoom(B, FW, FH));
  CentreOn((B.XMin + B.XMax) / 2, (B.YMin + B.YMax) / 2);
  return changed;
}

bool TGlyphViewport::ZoomToRect(const TFloatRect& R) {
  const bool changed = SetZoomFactor(SelectionZoom(R, FW, FH));
  CentreOn((R.XMin + R.XMax) / 2, (R.YMin + R.YMax) / 2);
  return changed;
}

void TGlyphViewport::Wheel(bool Down) {
  const int step = TScrollBarState::LargeChange / 3;
  VertBar.Position = std::clamp(VertBar.Position + (Down ? step : -step), VertBar.Min, VertBar.Max);
}

}  // namespace tsy
