#include "shell/glyphgrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "document/fontmanager.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hmtx.h"
#include "outline/hittest.h"

namespace tsy {

namespace {
const QColor kNavy(0, 0, 0x80);
// Pictures beyond this many are dropped all at once; a screenful is far less.
constexpr int kMaxCachedImages = 4000;
}  // namespace

TGlyphGrid::TGlyphGrid(TTrueTypeFontManager& Manager, QWidget* Parent) : QAbstractScrollArea(Parent), FManager(Manager) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setBackgroundRole(QPalette::Base);
  setFocusPolicy(Qt::StrongFocus);
  UpdateScrollBar();
}

int TGlyphGrid::GlyphCount() const { return int(FManager.Font().GlyphCount()); }

int TGlyphGrid::Columns() const { return std::max(1, (viewport()->width() - 1) / FCellWidth); }

int TGlyphGrid::Rows() const {
  const int n = GlyphCount();
  return n <= 0 ? 1 : (n - 1) / Columns() + 1;
}

QRect TGlyphGrid::CellRect(int Glyph) const {
  const int cols = Columns();
  const int top = (Glyph / cols) * FCellHeight - verticalScrollBar()->value();
  return QRect((Glyph % cols) * FCellWidth, top, FCellWidth, FCellHeight);
}

int TGlyphGrid::GlyphAt(QPoint Pos) const {
  if (Pos.x() < 0 || Pos.y() < 0) return -1;
  const int cols = Columns();
  const int col = Pos.x() / FCellWidth;
  if (col >= cols) return -1;
  const int row = (Pos.y() + verticalScrollBar()->value()) / FCellHeight;
  const qint64 glyph = qint64(row) * cols + col;
  return glyph < GlyphCount() ? int(glyph) : -1;
}

void TGlyphGrid::UpdateScrollBar() {
  const int total = Rows() * FCellHeight;
  QScrollBar* bar = verticalScrollBar();
  bar->setRange(0, std::max(0, total - viewport()->height()));
  bar->setPageStep(std::max(FCellHeight, viewport()->height() - FCellHeight));
  bar->setSingleStep(FCellHeight / 3 + 1);
}

void TGlyphGrid::FontChanged() {
  FImages.clear();
  FFocused = std::clamp(FFocused, 0, std::max(0, GlyphCount() - 1));
  if (FAnchor >= GlyphCount()) FAnchor = -1;
  UpdateScrollBar();
  viewport()->update();
}

void TGlyphGrid::resizeEvent(QResizeEvent* Event) {
  QAbstractScrollArea::resizeEvent(Event);
  UpdateScrollBar();
}

void TGlyphGrid::scrollContentsBy(int, int) { viewport()->update(); }

QImage TGlyphGrid::GlyphImage(int Glyph, QSize Area, bool Selected) {
  if (Area != FImageArea) {
    FImages.clear();
    FImageArea = Area;
  }
  const qint64 key = qint64(Glyph) * 2 + (Selected ? 1 : 0);
  auto found = FImages.constFind(key);
  if (found != FImages.constEnd()) return *found;

  QImage image(Area, QImage::Format_ARGB32_Premultiplied);
  const QColor window = palette().color(QPalette::Base);
  image.fill(Selected ? kNavy : window);
  const TTrueTypeFont& font = FManager.Font();
  const TTableHead* head = font.Head();
  const int unitsPerEm = head ? head->unitsPerEm : 0;
  // A font without a usable em size has no scale to draw with: the cell
  // stays blank rather than dividing by zero.
  if (unitsPerEm > 0 && Glyph < int(font.GlyphCount()) && Area.height() > 0) {
    const TOutlineBase* outline = font.Outlines.Items(size_t(Glyph));
    const double scale = Area.height() * 0.65 / unitsPerEm;
    const TTableHmtx* hmtx = font.Hmtx();
    double lsb = 0;
    try {
      if (hmtx) lsb = hmtx->LeftSideBearing(Glyph);
    } catch (const std::exception&) {
      // A glyph past the metrics keeps its outline where it stands.
    }
    const double xMin = std::floor(outline->Bounds.XMin + 0.5);
    TDeviceMapping mapping;
    mapping.Zoom = scale;
    mapping.OriginX = int32_t(Area.width() / 5 - std::nearbyint((xMin - lsb) * scale));
    mapping.OriginY = int32_t(std::floor(Area.height() * 0.75 + 0.5));
    TPolyPolyGon polygons;
    BuildOutlinePolygons(*outline, mapping, polygons);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    size_t at = 0;
    for (int count : polygons.PolygonCounts) {
      if (count <= 0 || at + size_t(count) > polygons.Points.size()) break;
      path.moveTo(polygons.Points[at].X, polygons.Points[at].Y);
      for (int i = 1; i < count; ++i) path.lineTo(polygons.Points[at + i].X, polygons.Points[at + i].Y);
      path.closeSubpath();
      at += size_t(count);
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Selected ? window : QColor(Qt::black));
    p.drawPath(path);
  }
  if (FImages.size() >= kMaxCachedImages) FImages.clear();
  FImages.insert(key, image);
  return image;
}

void TGlyphGrid::paintEvent(QPaintEvent* Event) {
  QPainter p(viewport());
  const QColor window = palette().color(QPalette::Base);
  const QColor face = palette().color(QPalette::Button);
  p.fillRect(Event->rect(), window);
  FLastPainted = 0;
  const int n = GlyphCount();
  if (n <= 0) return;
  FFocused = std::min(FFocused, n - 1);
  const int cols = Columns();
  const int offset = verticalScrollBar()->value();
  const QRect dirty = Event->rect();
  const int firstRow = std::max(0, (dirty.top() + offset) / FCellHeight);
  const int lastRow = (dirty.bottom() + offset) / FCellHeight;
  const TSelectedGlyphList& selection = FManager.SelectedGlyphs();
  const QFont captionFont = font();
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int col = 0; col < cols; ++col) {
      const qint64 glyph = qint64(row) * cols + col;
      if (glyph >= n) return;
      const int g = int(glyph);
      const QRect cell(col * FCellWidth, row * FCellHeight - offset, FCellWidth, FCellHeight);
      ++FLastPainted;
      const bool selected = selection.IsSelected(g);
      // Focus frame two pixels wide, one pixel inside the cell.
      const QRect frame = cell.adjusted(1, 1, -1, -1);
      const QColor frameColor = g == FFocused && selected ? QColor(Qt::blue) : selected ? QColor(Qt::black) : window;
      p.fillRect(frame, frameColor);
      const QRect content = frame.adjusted(2, 2, -2, -2);
      p.fillRect(content, window);
      // Caption band, sharing its bottom border with the glyph area.
      const QRect band(content.left(), content.top(), content.width(), kCaptionHeight);
      p.fillRect(band, face);
      p.setPen(Qt::black);
      p.drawRect(band.adjusted(0, 0, -1, -1));
      p.setFont(captionFont);
      const QString caption = QStringLiteral("$%1").arg(g, 4, 16, QLatin1Char('0'));
      p.drawText(band.adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                 p.fontMetrics().elidedText(caption, Qt::ElideRight, band.width() - 6));
      const QRect area(content.left(), band.bottom(), content.width(), content.bottom() - band.bottom() + 1);
      const QRect inner = area.adjusted(1, 1, -1, -1);
      if (inner.width() > 0 && inner.height() > 0) p.drawImage(inner.topLeft(), GlyphImage(g, inner.size(), selected));
      p.setPen(Qt::black);
      p.setBrush(Qt::NoBrush);
      p.drawRect(area.adjusted(0, 0, -1, -1));
    }
  }
}

void TGlyphGrid::mousePressEvent(QMouseEvent* Event) {
  const Qt::KeyboardModifiers mods = Event->modifiers();
  const int glyph = GlyphAt(Event->position().toPoint());
  if (glyph < 0) {
    if (!(mods & (Qt::ControlModifier | Qt::ShiftModifier))) {
      FAnchor = -1;
      if (FManager.SelectedGlyphs().Count() > 0) {
        FManager.SelectedGlyphs().Clear();
        viewport()->update();
        emit selectionChanged();
      }
    }
    return;
  }
  if (Event->button() == Qt::RightButton) {
    if (!FManager.SelectedGlyphs().IsSelected(glyph) && !(mods & (Qt::ControlModifier | Qt::ShiftModifier)))
      FocusGlyph(glyph);
    return;
  }
  if (Event->button() == Qt::LeftButton) SelectCell(glyph, mods);
}

void TGlyphGrid::SelectCell(int Glyph, Qt::KeyboardModifiers Modifiers) {
  TSelectedGlyphList& selection = FManager.SelectedGlyphs();
  if (!(Modifiers & Qt::ControlModifier)) selection.Clear();
  if (Modifiers & Qt::ShiftModifier) {
    if (FAnchor < 0) FAnchor = std::clamp(FFocused, 0, GlyphCount() - 1);
    // Ascending order keeps each insertion at the end of the sorted list.
    for (int g = std::min(FAnchor, Glyph); g <= std::max(FAnchor, Glyph); ++g) selection.SetSelected(g, true);
  } else {
    selection.SetSelected(Glyph, !selection.IsSelected(Glyph));
    FAnchor = -1;
  }
  FFocused = Glyph;
  viewport()->update();
  emit selectionChanged();
}

void TGlyphGrid::FocusGlyph(int Glyph) {
  const int n = GlyphCount();
  if (n <= 0) return;
  Glyph = std::clamp(Glyph, 0, n - 1);
  const int row = Glyph / Columns();
  const int firstVisible = verticalScrollBar()->value() / FCellHeight;
  if (row < firstVisible || row >= firstVisible + viewport()->height() / FCellHeight)
    verticalScrollBar()->setValue(row * FCellHeight);
  FManager.SelectedGlyphs().Clear();
  FManager.SelectedGlyphs().SetSelected(Glyph, true);
  FFocused = Glyph;
  FAnchor = -1;
  viewport()->update();
  emit selectionChanged();
}

}  // namespace tsy
