#include "glyphedit/displaypainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <vector>

namespace tsy {

namespace {

QPen PenOf(const TDrawOp& Op) {
  if (Op.Style == TPenStyle::None) return Qt::NoPen;
  QPen pen(ToQColor(Op.Pen));
  pen.setWidth(0);  // one pixel at any transform
  pen.setStyle(Op.Style == TPenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
  return pen;
}

QRect InclusiveRect(const TDrawOp& Op) {
  return QRect(QPoint(Op.Points[0].X, Op.Points[0].Y), QPoint(Op.Points[1].X, Op.Points[1].Y));
}

void DrawPolygons(QPainter& P, const TDrawOp& Op) {
  if (Op.Counts.size() == 1) {
    QPolygon poly(int(Op.Points.size()));
    for (size_t i = 0; i < Op.Points.size(); ++i) poly.setPoint(int(i), Op.Points[i].X, Op.Points[i].Y);
    P.drawPolygon(poly, Qt::WindingFill);
    return;
  }
  // Several polygons in one path, so a counter-running contour cuts a hole.
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  size_t at = 0;
  for (int n : Op.Counts) {
    QPolygonF poly;
    poly.reserve(n);
    for (int i = 0; i < n && at < Op.Points.size(); ++i, ++at) poly << QPointF(Op.Points[at].X, Op.Points[at].Y);
    path.addPolygon(poly);
    path.closeSubpath();
  }
  P.drawPath(path);
}

}  // namespace

void ReplayDisplayList(QPainter& P, const TDisplayList& List) {
  std::vector<QPoint> pixels;
  for (const TDrawOp& op : List.Ops) {
    if (op.Points.empty()) continue;
    P.setCompositionMode(op.NotXor ? QPainter::RasterOp_NotSourceXorDestination : QPainter::CompositionMode_SourceOver);
    P.setPen(PenOf(op));
    P.setBrush(op.Filled ? QBrush(ToQColor(op.Brush)) : QBrush(Qt::NoBrush));
    switch (op.Kind) {
      case TDrawKind::Polygons: DrawPolygons(P, op); break;
      case TDrawKind::Polyline: {
        QPolygon poly(int(op.Points.size()));
        for (size_t i = 0; i < op.Points.size(); ++i) poly.setPoint(int(i), op.Points[i].X, op.Points[i].Y);
        P.drawPolyline(poly);
        break;
      }
      case TDrawKind::Line:
        if (op.Points.size() >= 2)
          P.drawLine(QPoint(op.Points[0].X, op.Points[0].Y), QPoint(op.Points[1].X, op.Points[1].Y));
        break;
      case TDrawKind::Rectangle:
        if (op.Points.size() >= 2) {
          const QRect r = InclusiveRect(op);
          P.drawRect(QRect(r.topLeft(), QSize(r.width() - 1, r.height() - 1)));
        }
        break;
      case TDrawKind::Ellipse:
        if (op.Points.size() >= 2) {
          const QRect r = InclusiveRect(op);
          P.drawEllipse(QRect(r.topLeft(), QSize(r.width() - 1, r.height() - 1)));
        }
        break;
      case TDrawKind::Pixel:
        pixels.clear();
        for (const TIntPoint& q : op.Points) pixels.emplace_back(q.X, q.Y);
        P.drawPoints(pixels.data(), int(pixels.size()));
        break;
      case TDrawKind::FillRect:
        if (op.Points.size() >= 2) P.fillRect(InclusiveRect(op), ToQColor(op.Brush));
        break;
    }
  }
  P.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace tsy
