#pragma once
// What a paint of the glyph edit window draws, as a list of simple device
// operations in paint order. Core builds the list; the window replays it with
// its painter. Keeping the geometry here lets tests check every layer without
// a display.
#include <cstdint>
#include <vector>

#include "common/numeric.h"

namespace tsy {

enum class TDrawKind : uint8_t {
  Polygons,   // Points split by Counts; filled with the nonzero winding rule
  Polyline,   // open
  Line,       // Points[0] to Points[1], both end pixels drawn
  Rectangle,  // Points[0] = left/top, Points[1] = right/bottom, both inclusive
  Ellipse,    // inside the rectangle as above
  Pixel,      // one pixel per point
  FillRect,   // brush only; right/bottom inclusive
};

enum class TPenStyle : uint8_t { Solid, Dotted, None };

struct TDrawOp {
  TDrawKind Kind = TDrawKind::Line;
  TColor Pen = 0;
  TPenStyle Style = TPenStyle::Solid;
  bool Filled = false;
  TColor Brush = 0;
  // Inverted with the NOT-XOR mix (selection frames and feedback lines).
  bool NotXor = false;
  std::vector<TIntPoint> Points;
  std::vector<int> Counts;
};

class TDisplayList {
public:
  std::vector<TDrawOp> Ops;

  void Clear() { Ops.clear(); }
  void Line(TIntPoint A, TIntPoint B, TColor Pen, TPenStyle Style = TPenStyle::Solid, bool NotXor = false);
  void Polyline(std::vector<TIntPoint> Points, TColor Pen);
  // A closed outline, not filled.
  void Ring(std::vector<TIntPoint> Points, TColor Pen);
  void Pixel(TIntPoint P, TColor C);
  void FillRect(TIntRect R, TColor C);
  void Rectangle(TIntRect R, TColor Pen, TPenStyle Style, bool Filled, TColor Brush, bool NotXor);
  void Ellipse(TIntRect R, TColor Pen, bool Filled, TColor Brush, bool NotXor);
  void FilledPolygon(std::vector<TIntPoint> Points, TColor C);
  TDrawOp& Polygons(std::vector<TIntPoint> Points, std::vector<int> Counts, TColor Pen, TPenStyle Style, bool Filled,
                    TColor Brush);
};

// Windows-style colour values used by the view (low byte red).
namespace ViewColor {
constexpr TColor Black = 0x000000;
constexpr TColor White = 0xFFFFFF;
constexpr TColor Grey = 0x808080;
constexpr TColor Silver = 0xC0C0C0;
constexpr TColor Red = 0x0000FF;
constexpr TColor Purple = 0x800080;
constexpr TColor Green = 0x008000;
constexpr TColor Navy = 0x800000;
}  // namespace ViewColor

}  // namespace tsy
