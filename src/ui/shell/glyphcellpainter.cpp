#include "shell/glyphcellpainter.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "common/numeric.h"
#include "document/glyphoverview.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/truetypefont.h"
#include "outline/hittest.h"

namespace tsy {

const QColor kOverviewNavy(0, 0, 0x80);

QColor GlyphTypeColor(int Type) {
  switch (Type) {
    case 0: return QColor(0x80, 0x80, 0x80);
    case 1: return QColor(0xFF, 0x00, 0xFF);
    case 2: return QColor(0x00, 0x80, 0x00);
    case 3: return QColor(0xFF, 0x00, 0x00);
    case 4: return QColor(0x00, 0x00, 0xFF);
    case 5: return QColor(0x80, 0x00, 0x80);
    default: return QColor(Qt::black);
  }
}

namespace {

// The left side bearing of the glyph whose metrics apply, 0 without metrics.
double MetricsLsb(const TTrueTypeFont& Font, int Glyph) {
  const TTableHmtx* hmtx = Font.Hmtx();
  if (!hmtx) return 0;
  try {
    return hmtx->LeftSideBearing(MetricsGlyph(Font, Glyph));
  } catch (const std::exception&) {
    // A glyph past the metrics keeps its outline where it stands.
    return 0;
  }
}

void DrawOutline(QImage& Image, const TOutlineBase& Outline, double Scale, int OriginX, int Baseline,
                 const QColor& Ink) {
  TDeviceMapping mapping;
  mapping.Zoom = Scale;
  mapping.OriginX = OriginX;
  mapping.OriginY = Baseline;
  TPolyPolyGon polygons;
  BuildOutlinePolygons(Outline, mapping, polygons);
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  size_t at = 0;
  for (int count : polygons.PolygonCounts) {
    if (count <= 0 || at + size_t(count) > polygons.Points.size()) break;
    path.moveTo(polygons.Points[at].X, polygons.Points[at].Y);
    for (int i = 1; i < count; ++i) path.lineTo(polygons.Points[at + size_t(i)].X, polygons.Points[at + size_t(i)].Y);
    path.closeSubpath();
    at += size_t(count);
  }
  QPainter p(&Image);
  p.setPen(QPen(Ink, 0));
  p.setBrush(Ink);
  p.drawPath(path);
}

}  // namespace

QImage DrawGlyphArea(const TTrueTypeFont& Font, int Glyph, QSize Area, bool Selected,
                     const TGlyphCellOptions& Options, int64_t SampleChar, const QColor& Window) {
  QImage image(Area, QImage::Format_RGB32);
  const QColor background = Selected ? kOverviewNavy : Window;
  image.fill(background);
  if (Area.isEmpty() || Glyph < 0 || size_t(Glyph) >= Font.GlyphCount()) return image;
  const TOutlineBase& outline = *Font.Outlines.Items(size_t(Glyph));
  const int baseline = RoundHalfUp(Area.height() * 0.75);

  if (Options.ShowSample && outline.GetKind() == okEmpty) {
    if (SampleChar < 0 || SampleChar > 0x10FFFF) return image;
    const int points = RoundHalfUp(Area.height() / 2.0);
    if (points <= 0) return image;
    QFont font(Options.SampleFont);
    // Sizes are in points of a 96 dpi screen, whatever the image's own
    // resolution says.
    font.setPixelSize(std::max(1, RoundHalfUp(points * 96.0 / 72.0)));
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Selected ? QColor(100, 100, 40) : QColor(180, 180, 240));
    const int top = baseline - RoundHalfUp(points * 1.2) - 1;
    const char32_t code = char32_t(SampleChar);
    p.drawText(QRect(8, top, Area.width() + 1000, Area.height() * 2), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
               QString::fromUcs4(&code, 1));
    return image;
  }

  const TTableHead* head = Font.Head();
  const int unitsPerEm = head ? head->unitsPerEm : 0;
  // No em size, no scale: the cell stays blank rather than dividing by zero.
  if (unitsPerEm <= 0 || outline.GetKind() == okEmpty) return image;
  const double scale = Area.height() * 0.65 / unitsPerEm;
  const double xMin = RoundHalfUp(outline.Bounds.XMin);
  const double shift = std::nearbyint((xMin - MetricsLsb(Font, Glyph)) * scale);
  const int originX = int(Area.width() / 5 - shift);
  const QColor ink = Selected ? Window : QColor(Qt::black);
  if (!Options.Smooth) {
    DrawOutline(image, outline, scale, originX, baseline, ink);
    return image;
  }
  QImage large(Area * 2, QImage::Format_RGB32);
  large.fill(background);
  DrawOutline(large, outline, scale * 2, originX * 2, RoundHalfUp(Area.height() * 2 * 0.75), ink);
  return ReduceBilinear(large, Area);
}

QImage ReduceBilinear(const QImage& Source, QSize Target) {
  QImage out(Target, QImage::Format_RGB32);
  if (Target.isEmpty()) return out;
  const QImage src = Source.convertToFormat(QImage::Format_RGB32);
  const int ws = src.width(), hs = src.height();
  if (ws <= 0 || hs <= 0) {
    out.fill(Qt::white);
    return out;
  }
  const int64_t stepX = int64_t(ws - 1) * 32768 / Target.width();
  const int64_t stepY = int64_t(hs - 1) * 32768 / Target.height();
  for (int y = 0; y < Target.height(); ++y) {
    const int64_t fy = int64_t(y) * stepY;
    const int sy = int(fy >> 15);
    const int64_t wy = fy & 32767;
    const auto* row0 = reinterpret_cast<const QRgb*>(src.constScanLine(std::min(sy, hs - 1)));
    const auto* row1 = reinterpret_cast<const QRgb*>(src.constScanLine(std::min(sy + 1, hs - 1)));
    auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < Target.width(); ++x) {
      const int64_t fx = int64_t(x) * stepX;
      const int sx0 = std::min(int(fx >> 15), ws - 1);
      const int sx1 = std::min(sx0 + 1, ws - 1);
      const int64_t wx = fx & 32767;
      auto channel = [&](int Shift) {
        const int64_t a = (row0[sx0] >> Shift) & 0xFF, b = (row0[sx1] >> Shift) & 0xFF;
        const int64_t c = (row1[sx0] >> Shift) & 0xFF, d = (row1[sx1] >> Shift) & 0xFF;
        const int64_t top = a * (32768 - wx) + b * wx;
        const int64_t bottom = c * (32768 - wx) + d * wx;
        return int((top * (32768 - wy) + bottom * wy) >> 30);
      };
      dst[x] = qRgb(channel(16), channel(8), channel(0));
    }
  }
  return out;
}

QString ShortenCaption(const QString& Text, int MaxWidth, const QFontMetrics& Metrics) {
  if (Metrics.horizontalAdvance(Text) <= MaxWidth) return Text;
  const QString dots = QStringLiteral("...");
  // The longest prefix that fits with the dots; widths grow with the prefix,
  // so a binary search finds what removing one character at a time would.
  int low = 0, high = int(Text.size()) - 1;
  while (low < high) {
    const int mid = (low + high + 1) / 2;
    if (Metrics.horizontalAdvance(Text.left(mid) + dots) <= MaxWidth)
      low = mid;
    else
      high = mid - 1;
  }
  return Text.left(low) + dots;
}

}  // namespace tsy
