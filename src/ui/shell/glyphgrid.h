#pragma once
// The scrolling grid of the font overview: one cell per glyph, row by row.
// Only the cells inside the viewport are painted, and each glyph picture is
// kept once drawn, so a font of tens of thousands of glyphs scrolls as
// smoothly as a small one.
#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>

namespace tsy {

class TTrueTypeFontManager;

class TGlyphGrid : public QAbstractScrollArea {
  Q_OBJECT
public:
  explicit TGlyphGrid(TTrueTypeFontManager& Manager, QWidget* Parent = nullptr);

  static constexpr int kCaptionHeight = 15;
  int CellWidth() const { return FCellWidth; }
  int CellHeight() const { return FCellHeight; }
  int Columns() const;
  int Rows() const;
  int GlyphCount() const;
  // The glyph under a viewport position, or -1 outside the glyph cells.
  int GlyphAt(QPoint ViewportPos) const;
  // The cell of a glyph in viewport coordinates (may lie outside it).
  QRect CellRect(int Glyph) const;
  int FocusedGlyph() const { return FFocused; }
  // Scrolls the glyph into view, selects only it and focuses it.
  void FocusGlyph(int Glyph);

  // Cells painted by the last paint (for tests and the benchmark of scrolling).
  int LastPaintedCells() const { return FLastPainted; }
  // The font changed: drop the pictures and lay out the grid again.
  void FontChanged();
  // The selection changed outside the grid.
  void SelectionChanged() { viewport()->update(); }

signals:
  void selectionChanged();

protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void scrollContentsBy(int Dx, int Dy) override;

private:
  void UpdateScrollBar();
  void SelectCell(int Glyph, Qt::KeyboardModifiers Modifiers);
  // The glyph drawn into an image of the area's size; selected glyphs are
  // drawn light on navy.
  QImage GlyphImage(int Glyph, QSize Area, bool Selected);

  TTrueTypeFontManager& FManager;
  int FCellWidth = 72;
  int FCellHeight = 72 + kCaptionHeight;
  int FFocused = 0;
  int FAnchor = -1;
  int FLastPainted = 0;
  // Key: glyph index * 2 + selected.
  QHash<qint64, QImage> FImages;
  QSize FImageArea;
};

}  // namespace tsy
