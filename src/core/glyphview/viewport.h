#pragma once
// The glyph edit window's view as numbers: font units <-> paint-box pixels
// under a zoom factor and two scroll positions, the zoom operations and the
// scroll ranges. No window is needed, so every rule can be checked headless;
// the window mirrors the two bar states into its scroll bars.
#include <cstdint>

#include "common/numeric.h"

namespace tsy {

struct TScrollBarState {
  int32_t Min = 0, Max = 0, Position = 0;
  bool Enabled = false;
  static constexpr int SmallChange = 10;
  static constexpr int LargeChange = 200;
};

class TGlyphViewport {
public:
  static constexpr double kMinZoom = 0.001;
  static constexpr double kMaxZoom = 10;
  // The editable coordinate space on both axes.
  static constexpr int kSpaceMin = -16384;
  static constexpr int kSpaceMax = 16383;
  // Where a new window starts before its first fit.
  static constexpr double kInitialZoom = 0.2;

  // Paint-box size in pixels; negative sizes count as 0.
  void SetSize(int W, int H);
  int Width() const { return FW; }
  int Height() const { return FH; }

  double ZoomFactor() const { return FZoom; }
  // Sets the factor without touching ranges or positions (a new window).
  void ResetZoom(double Z) { FZoom = Z; }

  TScrollBarState HorzBar, VertBar;

  double ViewOffsetX() const { return (HorzBar.Position - FW / 2.0) / FZoom; }
  double ViewOffsetY() const { return (VertBar.Position - FH / 2.0) / FZoom; }

  // Rounding to nearest, halves to even; beyond 32 bits a range error.
  int32_t FontToScreenX(double X) const;
  int32_t FontToScreenY(double Y) const;
  TIntPoint FontToScreen(double X, double Y) const { return {FontToScreenX(X), FontToScreenY(Y)}; }
  double ScreenToFontX(double X) const { return X / FZoom + ViewOffsetX(); }
  double ScreenToFontY(double Y) const { return -Y / FZoom - ViewOffsetY(); }

  // Positions a bar so the view offset becomes X (Y); a position outside the
  // bar's range widens the range to reach it.
  void SetViewOffsetX(double X);
  void SetViewOffsetY(double Y);
  // Shows font point (X, Y) at the middle of the paint box.
  void CentreOn(double X, double Y);

  // Recomputes both bars' ranges for the current zoom and size; positions
  // are kept inside the new range.
  void UpdateScrollRanges();
  // Clamps Z into [kMinZoom, kMaxZoom]; false (and nothing changes) when the
  // clamped value is the current one. Scroll positions scale with the zoom
  // so the same font point stays put relative to the scroll origin.
  bool SetZoomFactor(double Z);
  // Centres the view on the font point under pixel (X, Y), then zooms.
  bool ZoomAtPoint(int X, int Y, double Z);
  // Fits Bounds (font units) with a 10% margin and centres it; a flat or
  // empty box gives the initial zoom.
  bool FitRect(const TFloatRect& Bounds);
  // Zooms to a selection's box: 75% of the window, zoom 5 for a single point
  // or nothing, one axis when the box is flat in the other.
  bool ZoomToRect(const TFloatRect& R);
  // The mouse wheel scrolls a third of a page; Down is toward smaller y.
  void Wheel(bool Down);

  // The zoom FitRect and ZoomToRect would choose for a paint box of W x H.
  static double FitZoom(const TFloatRect& Bounds, int W, int H);
  static double SelectionZoom(const TFloatRect& R, int W, int H);

private:
  void SetBarPosition(TScrollBarState& Bar, double Position);
  void UpdateRange(TScrollBarState& Bar, int Extent) const;

  int FW = 0, FH = 0;
  double FZoom = kInitialZoom;
};

// Rounds to the nearest integer, halves to even, as screen positions do;
// outside 32 bits (or not a number) a range error.
int32_t RoundToEven32(double V);

}  // namespace tsy
