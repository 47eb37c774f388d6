#include "shell/glyphgrid.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

#include "common/numeric.h"
#include "document/fontmanager.h"
#include "document/glyphoverview.h"
#include "fontfile/tables/post.h"

namespace tsy {

namespace {

QFont CaptionFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Sans Serif")});
  font.setPixelSize(10);
  return font;
}

QColor Mix(const QColor& A, const QColor& B) {
  return QColor((A.red() + B.red()) / 2, (A.green() + B.green()) / 2, (A.blue() + B.blue()) / 2);
}

bool HistoryBusy(const TTrueTypeFontManager& Manager) {
  using S = TvnxUndoRedoRepeatStreamer::THistoryState;
  const S state = Manager.History().HistoryState();
  return state == S::Undoing || state == S::Redoing || state == S::Repeating;
}

}  // namespace

TGlyphGrid::TGlyphGrid(TTrueTypeFontManager& Manager, QWidget* Parent) : QAbstractScrollArea(Parent), FManager(Manager) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  UpdateScrollBar();
}

void TGlyphGrid::SetOptions(const TGlyphCellOptions& Options) {
  if (Options == FOptions) return;
  FOptions = Options;
  FOptions.Width = std::max(1, FOptions.Width);
  FOptions.Height = std::max(1, FOptions.Height);
  FGlyphDataValid = false;
  UpdateScrollBar();
  viewport()->update();
}

void TGlyphGrid::SetInitialised(bool On) {
  FInitialised = On;
  viewport()->update();
}

int TGlyphGrid::GlyphCount() const { return int(FManager.Font().GlyphCount()); }

int TGlyphGrid::Columns() const { return std::max(1, (viewport()->width() - 1) / CellWidth()); }

int TGlyphGrid::Rows() const {
  const int n = GlyphCount();
  return n <= 0 ? 1 : (n - 1) / Columns() + 1;
}

QRect TGlyphGrid::CellRect(int Glyph) const {
  const int cols = Columns();
  const int top = (Glyph / cols) * CellHeight() - verticalScrollBar()->value();
  return QRect((Glyph % cols) * CellWidth(), top, CellWidth(), CellHeight());
}

int TGlyphGrid::GlyphAt(QPoint Pos) const {
  if (Pos.x() < 0 || Pos.y() < 0) return -1;
  const int cols = Columns();
  const int col = Pos.x() / CellWidth();
  if (col >= cols) return -1;
  const int row = (Pos.y() + verticalScrollBar()->value()) / CellHeight();
  const qint64 glyph = qint64(row) * cols + col;
  return glyph < GlyphCount() ? int(glyph) : -1;
}

void TGlyphGrid::UpdateScrollBar() {
  const int total = Rows() * CellHeight();
  QScrollBar* bar = verticalScrollBar();
  bar->setRange(0, std::max(0, total - viewport()->height()));
  bar->setPageStep(std::max(CellHeight(), viewport()->height() - CellHeight()));
  bar->setSingleStep(CellHeight() / 3 + 1);
}

void TGlyphGrid::EnsureGlyphData() {
  // Glyphs inserted or removed without a change notification yet: the old
  // lists would be indexed past their end.
  if (FGlyphDataValid && FTypes.size() == FManager.Font().GlyphCount()) return;
  const TTrueTypeFont& font = FManager.Font();
  if (FOptions.ShowCaption)
    FCaptions = BuildGlyphCaptions(font, FOptions.CaptionType, FOptions.Hexadecimal);
  else
    FCaptions.assign(font.GlyphCount(), std::string());
  FTypes = BuildGlyphTypes(font);
  FMapped = BuildMappedGlyphs(font);
  FSamples = BuildSampleCharacters(font);
  FGlyphDataValid = true;
}

void TGlyphGrid::FontChanged() {
  FGlyphDataValid = false;
  FFocused = std::clamp(FFocused, 0, std::max(0, GlyphCount() - 1));
  if (FAnchor >= GlyphCount()) FAnchor = -1;
  UpdateScrollBar();
  viewport()->update();
}

void TGlyphGrid::HistoryFinished() {
  if (!FRepaintPending) return;
  FRepaintPending = false;
  FontChanged();
}

QString TGlyphGrid::Caption(int Glyph) {
  EnsureGlyphData();
  if (Glyph < 0 || size_t(Glyph) >= FCaptions.size()) return {};
  return QString::fromStdString(FCaptions[size_t(Glyph)]);
}

QString TGlyphGrid::HintText(int Glyph) {
  EnsureGlyphData();
  if (Glyph < 0 || size_t(Glyph) >= FTypes.size()) return {};
  const TTablePost* post = FManager.Font().Post();
  return QStringLiteral("Glyph %1 - %2 - %3")
      .arg(QString::fromStdString(FormatOverviewNumber(Glyph, FOptions.Hexadecimal)),
           QLatin1String(GlyphTypeName(FTypes[size_t(Glyph)])),
           post ? QString::fromStdString(post->GetName(size_t(Glyph))) : QString());
}

void TGlyphGrid::resizeEvent(QResizeEvent* Event) {
  QAbstractScrollArea::resizeEvent(Event);
  UpdateScrollBar();
}

void TGlyphGrid::scrollContentsBy(int, int) { viewport()->update(); }

void TGlyphGrid::PaintBandIcon(QPainter& P, QPoint At, int Glyph, int Bookmark, const QColor& Color) {
  const int x = At.x(), y = At.y();
  if (!FMapped[size_t(Glyph)]) {
    // No character leads to this glyph: a small raised square.
    P.fillRect(QRect(x, y, 9, 9), palette().color(QPalette::Button));
    P.setPen(Qt::white);
    P.drawLine(x, y, x + 8, y);
    P.drawLine(x, y, x, y + 8);
    P.setPen(QColor(0x80, 0x80, 0x80));
    P.drawLine(x + 1, y + 8, x + 8, y + 8);
    P.drawLine(x + 8, y + 1, x + 8, y + 8);
  }
  if (Bookmark >= 0) {
    const QRect box(x, y - 1, 9, 11);
    P.fillRect(box, Qt::white);
    P.setPen(kOverviewNavy);
    P.drawRect(box.adjusted(0, 0, -1, -1));
    QFont digit = CaptionFont();
    digit.setPixelSize(9);
    digit.setBold(true);
    P.setFont(digit);
    P.drawText(box, Qt::AlignCenter, QString::number(Bookmark));
    return;
  }
  // A diamond in the caption colour, lit from the top left.
  const QColor light = Mix(Color, Qt::white), dark = Mix(Color, Qt::black);
  const int cx = x + 4, cy = y + 4;
  for (int dy = -2; dy <= 2; ++dy) {
    const int w = 2 - std::abs(dy);
    for (int dx = -w; dx <= w; ++dx) {
      const int side = dx + dy;
      P.setPen(side < 0 ? light : side > 0 ? dark : Color);
      P.drawPoint(cx + dx, cy + dy);
    }
  }
}

void TGlyphGrid::PaintCell(QPainter& P, int Glyph, const QRect& Cell, int Bookmark) {
  const QColor window = palette().color(QPalette::Base);
  const bool selected = FManager.SelectedGlyphs().IsSelected(Glyph);
  // A frame two pixels wide one pixel inside the cell.
  const QRect frame = Cell.adjusted(1, 1, -1, -1);
  P.fillRect(frame, Glyph == FFocused ? QColor(Qt::blue) : selected ? QColor(Qt::black) : window);
  const QRect content = frame.adjusted(2, 2, -2, -2);
  P.fillRect(content, window);
  QRect area = content;
  if (FOptions.ShowCaption) {
    const QRect band(content.left(), content.top(), content.width(), kCaptionHeight);
    P.fillRect(band, palette().color(QPalette::Button));
    P.setPen(Qt::black);
    P.setBrush(Qt::NoBrush);
    P.drawRect(band.adjusted(0, 0, -1, -1));
    const int type = FTypes[size_t(Glyph)];
    const QColor color = FOptions.UseColor ? GlyphTypeColor(type) : QColor(Qt::black);
    PaintBandIcon(P, QPoint(band.left() + 1, band.top() + 3), Glyph, Bookmark, color);
    const QFont font = CaptionFont();
    P.setFont(font);
    P.setPen(color);
    const QString text = ShortenCaption(QString::fromStdString(FCaptions[size_t(Glyph)]), CellWidth() - 22,
                                        QFontMetrics(font));
    P.drawText(QRect(band.left() + 11, band.top() + 1, band.width() - 12, kCaptionHeight - 1),
               Qt::AlignLeft | Qt::AlignTop, text);
    // Band and glyph area share one border line.
    area.setTop(band.top() + kCaptionHeight - 1);
  }
  const QRect inner = area.adjusted(1, 1, -1, -1);
  if (inner.width() > 0 && inner.height() > 0) {
    const int64_t sample = FSamples[size_t(Glyph)];
    const uint64_t print =
        TGlyphCellCache::Fingerprint(FManager.Font(), Glyph, inner.size(), selected, FOptions, sample, window.rgb());
    const QImage* cached = FCache.Find(Glyph, print);
    if (!cached) {
      ++FPicturesDrawn;
      FCache.Store(Glyph, print, DrawGlyphArea(FManager.Font(), Glyph, inner.size(), selected, FOptions, sample, window));
      cached = FCache.Find(Glyph, print);
    }
    P.drawImage(inner.topLeft(), *cached);
  }
  P.setPen(Qt::black);
  P.setBrush(Qt::NoBrush);
  P.drawRect(area.adjusted(0, 0, -1, -1));
}

void TGlyphGrid::paintEvent(QPaintEvent* Event) {
  QPainter p(viewport());
  FLastPainted = 0;
  if (!FInitialised) {
    p.fillRect(Event->rect(), palette().color(QPalette::Base));
    return;
  }
  // The font is half way through an undo step: paint it once it is whole.
  if (HistoryBusy(FManager)) {
    FRepaintPending = true;
    return;
  }
  p.fillRect(Event->rect(), palette().color(QPalette::Base));
  const int n = GlyphCount();
  if (n <= 0) return;
  EnsureGlyphData();
  FFocused = std::clamp(FFocused, 0, n - 1);
  const std::array<int, kBookmarkCount> bookmarks =
      FBookmarkGlyphs ? FBookmarkGlyphs() : std::array<int, kBookmarkCount>{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  const int cols = Columns();
  const int offset = verticalScrollBar()->value();
  const QRect dirty = Event->rect();
  const int firstRow = std::max(0, (dirty.top() + offset) / CellHeight());
  const int lastRow = (dirty.bottom() + offset) / CellHeight();
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int col = 0; col < cols; ++col) {
      const qint64 glyph = qint64(row) * cols + col;
      if (glyph >= n) return;
      const int g = int(glyph);
      int bookmark = -1;
      for (int b = 0; b < kBookmarkCount && bookmark < 0; ++b)
        if (bookmarks[size_t(b)] == g) bookmark = b;
      ++FLastPainted;
      PaintCell(p, g, QRect(col * CellWidth(), row * CellHeight() - offset, CellWidth(), CellHeight()), bookmark);
    }
  }
}

void TGlyphGrid::mousePressEvent(QMouseEvent* Event) {
  const Qt::KeyboardModifiers mods = Event->modifiers();
  const bool extend = mods & (Qt::ControlModifier | Qt::ShiftModifier);
  const int glyph = GlyphAt(Event->position().toPoint());
  if (glyph < 0) {
    if (!extend) {
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
    // The context menu acts on the glyph under the pointer.
    if (!FManager.SelectedGlyphs().IsSelected(glyph) && !extend) FocusGlyph(glyph);
    return;
  }
  if (Event->button() == Qt::LeftButton) SelectCell(glyph, mods);
}

void TGlyphGrid::mouseDoubleClickEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return;
  const int glyph = GlyphAt(Event->position().toPoint());
  if (glyph >= 0) emit glyphActivated(glyph);
}

void TGlyphGrid::keyPressEvent(QKeyEvent* Event) {
  const int n = GlyphCount();
  const Qt::KeyboardModifiers mods = Event->modifiers() & ~Qt::KeypadModifier;
  if (n <= 0) return QAbstractScrollArea::keyPressEvent(Event);
  const int cols = Columns();
  const int pageRows = std::max(1, viewport()->height() / CellHeight());
  int target = std::clamp(FFocused, 0, n - 1);
  switch (Event->key()) {
    case Qt::Key_Left: target -= 1; break;
    case Qt::Key_Right: target += 1; break;
    case Qt::Key_Up: target -= cols; break;
    case Qt::Key_Down: target += cols; break;
    case Qt::Key_PageUp: target -= cols * pageRows; break;
    case Qt::Key_PageDown: target += cols * pageRows; break;
    case Qt::Key_Home: target -= target % cols; break;
    case Qt::Key_End: target = target - target % cols + cols - 1; break;
    default: return QAbstractScrollArea::keyPressEvent(Event);
  }
  // Moves that would leave the grid stop at its edge, in the same column
  // where there is one.
  const int current = std::clamp(FFocused, 0, n - 1);
  if ((Event->key() == Qt::Key_Up || Event->key() == Qt::Key_PageUp) && target < 0) target = current % cols;
  if ((Event->key() == Qt::Key_Down || Event->key() == Qt::Key_PageDown) && target >= n)
    target = (n - 1) / cols > current / cols ? n - 1 : current;
  target = std::clamp(target, 0, n - 1);
  SelectCell(target, mods);
  // Scroll just far enough to show the new cell.
  const QRect cell = CellRect(target);
  QScrollBar* bar = verticalScrollBar();
  if (cell.top() < 0)
    bar->setValue(bar->value() + cell.top());
  else if (cell.bottom() >= viewport()->height())
    bar->setValue(bar->value() + cell.bottom() - viewport()->height() + 1);
}

bool TGlyphGrid::viewportEvent(QEvent* Event) {
  if (Event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(Event);
    const int glyph = GlyphAt(help->pos());
    if (glyph >= 0)
      QToolTip::showText(help->globalPos(), HintText(glyph), viewport(), CellRect(glyph));
    else
      QToolTip::hideText();
    return true;
  }
  return QAbstractScrollArea::viewportEvent(Event);
}

void TGlyphGrid::SelectCell(int Glyph, Qt::KeyboardModifiers Modifiers) {
  if (FFocusing) return;
  const int n = GlyphCount();
  TSelectedGlyphList& selection = FManager.SelectedGlyphs();
  const bool ctrl = Modifiers & Qt::ControlModifier;
  if (Glyph < 0 || Glyph >= n) {
    if (!ctrl && selection.Count() > 0) {
      selection.Clear();
      viewport()->update();
      emit selectionChanged();
    }
    return;
  }
  if (!ctrl) selection.Clear();
  if (Modifiers & Qt::ShiftModifier) {
    if (FAnchor < 0) FAnchor = std::clamp(FFocused, 0, n - 1);
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
  FFocusing = true;
  Glyph = std::clamp(Glyph, 0, n - 1);
  const int row = Glyph / Columns();
  const int firstVisible = verticalScrollBar()->value() / CellHeight();
  if (row < firstVisible || row >= firstVisible + viewport()->height() / CellHeight())
    verticalScrollBar()->setValue(row * CellHeight());
  FManager.SelectedGlyphs().Clear();
  FManager.SelectedGlyphs().SetSelected(Glyph, true);
  FFocused = Glyph;
  FAnchor = -1;
  FFocusing = false;
  viewport()->update();
  emit selectionChanged();
}

}  // namespace tsy
