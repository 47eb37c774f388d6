#include "glyphview/displaylist.h"

namespace tsy {

void TDisplayList::Line(TIntPoint A, TIntPoint B, TColor Pen, TPenStyle Style, bool NotXor) {
  TDrawOp& op = Ops.emplace_back();
  op.Kind = TDrawKind::Line;
  op.Pen = Pen;
  op.Style = Style;
  op.NotXor = NotXor;
  op.Points = {A, B};
}

void TDisplayList::Polyline(std::vector<TIntPoint> Points, TColor Pen) {
  TDrawOp& op = Ops.emplace_back();
  op.Kind = TDrawKind::Polyline;
  op.Pen = Pen;
  op.Points = std::move(Points);
}

void TDisplayList::Ring(std::vector<TIntPoint> Points, TColor Pen) {
  const int n = int(Points.size());
  Polygons(std::move(Points), {n}, Pen, TPenStyle::Solid, false, 0);
}

void TDisplayList::Pixel(TIntPoint P, TColor C) {
  if (!Ops.empty() && Ops.back().Kind == TDrawKind::Pixel && Ops.back().Pen == C) {
    Ops.back().Points.push_back(P);
    return;
  }
  TDrawOp& op = Ops.emplace_back();
  op.Kind = TDrawKind::Pixel;
  op.Pen = C;
  op.Points = {P};
}

void TDisplayList::FillRect(TIntRect R, TColor C) {
  TDrawOp& op = Ops.emplace_back();
  op.Kind = TDrawKind::FillRect;
  op.Style = TPenStyle::None;
  op.Filled = true;
  op.Brush = C;
  op.Points = {{R.Left, R.Top}, {R.Right, R.Bottom}};
}

void TDisplayList::Rectangle(TIntRect R, TColor Pen, TPenStyle Style, bool Filled, TColor Brush, bool NotXor) {
  TDrawOp& op = Ops.emplace_back();
  op.Kind = TDrawKind::Rectangle;
  op.Pen = Pen;
  op.Style = Style;
  op.Filled = Filled;
  op.Brush = Brush;
  op.NotXor = NotXor;
  op.Points = {{R.Left, R.Top}, {R.Right, R.Bottom}};
}

void TDisplayList::Ellipse(TIntRect R, TColor Pen, bool Filled, TColor Brush, bool NotXor) {
  TDrawOp& op = Ops.emplace_back();
  op.Kind = TDrawKind::Ellipse;
  op.Pen = Pen;
  op.Filled = Filled;
  op.Brush = Brush;
  op.NotXor = NotXor;
  op.Points = {{R.Left, R.Top}, {R.Right, R.Bottom}};
}

void TDisplayList::FilledPolygon(std::vector<TIntPoint> Points, TColor C) {
  const int n = int(Points.size());
  Polygons(std::move(Points), {n}, C, TPenStyle::Solid, true, C);
}

TDrawOp& TDisplayList::Polygons(std::vector<TIntPoint> Points, std::vector<int> Counts, TColor Pen, TPenStyle Style,
                                bool Filled, TColor Brush) {
  TDrawOp& op = Ops.emplace_back();
  op.Kind = TDrawKind::Polygons;
  op.Pen = Pen;
  op.Style = Style;
  op.Filled = Filled;
  op.Brush = Brush;
  op.Points = std::move(Points);
  op.Counts = std::move(Counts);
  return op;
}

}  // namespace tsy
