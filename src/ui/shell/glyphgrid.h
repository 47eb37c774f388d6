#pragma once
// The scrolling grid of the font overview: one cell per glyph, row by row,
// each with a caption band and the glyph's picture. Only the cells inside
// the viewport are painted; captions, glyph types and the other per-glyph
// data are computed once per font change, and each cell's picture is kept
// until its glyph or its look changes, so a font of 65,535 glyphs scrolls
// as smoothly as a small one.
#include <QAbstractScrollArea>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

#include "shell/glyphcellcache.h"
#include "shell/glyphcellpainter.h"

namespace tsy {

class TTrueTypeFontManager;

class TGlyphGrid : public QAbstractScrollArea {
  Q_OBJECT
public:
  explicit TGlyphGrid(TTrueTypeFontManager& Manager, QWidget* Parent = nullptr);

  static constexpr int kCaptionHeight = 15;
  static constexpr int kBookmarkCount = 10;
  // For each bookmark the glyph it leads to in this font (-1: none); asked
  // once per paint.
  using TBookmarkGlyphs = std::function<std::array<int, kBookmarkCount>()>;

  // Cell size, captions and drawing options; lays the grid out again.
  void SetOptions(const TGlyphCellOptions& Options);
  const TGlyphCellOptions& Options() const { return FOptions; }
  void SetBookmarkGlyphs(TBookmarkGlyphs Provider) { FBookmarkGlyphs = std::move(Provider); }
  // Nothing is painted before the window is initialised or once it closes.
  void SetInitialised(bool On);
  bool Initialised() const { return FInitialised; }

  int CellWidth() const { return FOptions.Width; }
  int CellHeight() const { return FOptions.Height + (FOptions.ShowCaption ? kCaptionHeight : 0); }
  int Columns() const;
  int Rows() const;
  int GlyphCount() const;
  // The glyph under a viewport position, or -1 outside the glyph cells.
  int GlyphAt(QPoint ViewportPos) const;
  // The cell of a glyph in viewport coordinates (may lie outside it).
  QRect CellRect(int Glyph) const;
  int FocusedGlyph() const { return FFocused; }
  int RangeAnchor() const { return FAnchor; }
  // Scrolls the glyph into view, selects only it and focuses it.
  void FocusGlyph(int Glyph);
  // The cell selection of a click or a cursor key, with its modifier keys.
  void SelectCell(int Glyph, Qt::KeyboardModifiers Modifiers);

  // The caption shown for a glyph (before it is cut to the column).
  QString Caption(int Glyph);
  // The hint of a glyph cell: "Glyph $0041 - simple - A".
  QString HintText(int Glyph);

  // Cells painted by the last paint, and pictures drawn (not copied from the
  // cache) since the grid was created.
  int LastPaintedCells() const { return FLastPainted; }
  int PicturesDrawn() const { return FPicturesDrawn; }
  // A paint was skipped while the history was busy.
  bool RepaintPending() const { return FRepaintPending; }

  // The font changed: per-glyph data is computed again, the layout updated;
  // pictures are checked against their glyphs when next painted.
  void FontChanged();
  // After an undo, redo or repeat: the skipped paint is made up.
  void HistoryFinished();
  // The selection changed outside the grid.
  void SelectionChanged() { viewport()->update(); }

signals:
  void selectionChanged();
  // Double click on a glyph cell.
  void glyphActivated(int Glyph);

protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  bool viewportEvent(QEvent* Event) override;
  void scrollContentsBy(int Dx, int Dy) override;

private:
  void UpdateScrollBar();
  void EnsureGlyphData();
  void PaintCell(QPainter& P, int Glyph, const QRect& Cell, int Bookmark);
  void PaintBandIcon(QPainter& P, QPoint At, int Glyph, int Bookmark, const QColor& Color);

  TTrueTypeFontManager& FManager;
  TGlyphCellOptions FOptions;
  TBookmarkGlyphs FBookmarkGlyphs;
  bool FInitialised = false;
  bool FRepaintPending = false;
  bool FFocusing = false;
  int FFocused = 0;
  int FAnchor = -1;
  int FLastPainted = 0;
  int FPicturesDrawn = 0;

  // Per-glyph data of the current font, valid until the next change.
  bool FGlyphDataValid = false;
  std::vector<std::string> FCaptions;
  std::vector<uint8_t> FTypes;
  std::vector<bool> FMapped;
  std::vector<int64_t> FSamples;
  TGlyphCellCache FCache;
};

}  // namespace tsy
