#pragma once
// The window in which one glyph of one open font is shown and edited: the
// view (zoom, scrolling, rulers, the drawing layers), the guidelines that
// every such window shares, the background image, and its life with the
// font's edit-window list. Editing points with the mouse builds on it.
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "glyphview/guidelinedrag.h"
#include "glyphview/layers.h"
#include "glyphview/viewport.h"

class QLabel;
class QScrollBar;

namespace tsy {

class TTrueTypeFontManager;
class TGlyphPaintBox;
class TGlyphRuler;

class TGlyphEditForm : public QWidget {
  Q_OBJECT
public:
  // Registers with the manager's edit-window list for Glyph and opens at the
  // fitted or the default zoom, as the settings say.
  TGlyphEditForm(TTrueTypeFontManager& Manager, int Glyph, QWidget* Parent = nullptr);
  ~TGlyphEditForm() override;

  TTrueTypeFontManager& Manager() const { return FManager; }
  int Glyph() const { return FGlyph; }
  bool IsInitialised() const { return FInitialised; }

  // Zoom and view (the main window's zoom field and commands call these).
  double ZoomFactor() const { return FView.ZoomFactor(); }
  void SetZoomFactor(double Z);
  void ZoomAtPoint(int X, int Y, double Z);
  void FitOnScreen();
  void ZoomToSelection();
  void CentreOnGlyph();
  // Shows font point (X, Y) at the middle of the paint box.
  void CentreOn(double X, double Y);
  const TGlyphViewport& View() const { return FView; }

  // Shows another glyph in this window (previous / next glyph): the window's
  // edit mode goes along and the new glyph's selection of that kind starts
  // empty.
  void SwitchToGlyph(int Glyph);
  // Guidelines through the selected points or along the selection frame.
  void AddGuidelinesFromSelection();

  // Invalidates the picture; the next paint rebuilds it.
  void Repaint();
  // Rebuilds the picture at once.
  void PaintGlyph();
  // Every open glyph edit window of the program (guidelines are shared).
  static void RepaintAllGlyphEditors();

  QString SelectionStatusText() const;
  QString Caption() const { return windowTitle(); }
  // The glyph's caption as the overview shows it; the default gives the
  // glyph's PostScript name.
  std::function<std::string(int Glyph)> GlyphCaption;
  void UpdateCaption();

  // Background image. LoadBackgroundImage raises the reader's error and then
  // keeps the previous image and file name, so the same file can be tried
  // again.
  void LoadBackgroundImage(const QString& FileName);
  QString BackgroundImageFile() const { return FBackgroundImageFile; }
  const QImage& BackgroundImage() const { return FBackgroundImage; }
  bool BackgroundImageVisible() const { return FBackgroundVisible; }
  void SetBackgroundImageVisible(bool Value);
  int BackgroundImageX() const { return FBackgroundX; }
  void SetBackgroundImageX(int Value);
  int BackgroundImageY() const { return FBackgroundY; }
  void SetBackgroundImageY(int Value);
  double BackgroundImageScale() const { return FBackgroundScale; }
  void SetBackgroundImageScale(double Value);

  // Interaction state, as the editing code sets it.
  int EditState() const { return FEditState; }
  void SetEditState(int State);
  bool HideAids() const { return FHideAids; }
  void SetHideAids(bool Hide);
  // A working copy drawn instead of the glyph while it is dragged.
  void SetDragCopy(const TOutlineBase* Copy);

  // The pieces of the window (tests, the editing code).
  TGlyphPaintBox* PaintBox() const { return FPaintBox; }
  TGlyphRuler* HorizontalRuler() const { return FHorzRuler; }
  TGlyphRuler* VerticalRuler() const { return FVertRuler; }
  QScrollBar* HorizontalScrollBar() const { return FHorzBar; }
  QScrollBar* VerticalScrollBar() const { return FVertBar; }
  QLabel* HintingPanel() const { return FHinting; }
  const QImage& Picture() const { return FPicture; }
  TGuidelineDrag& GuidelineDrag() { return FGuidelineDrag; }

  // Called by the paint box and the rulers.
  void PaintBoxPaint(class QPainter& Painter);
  void PaintBoxResized();
  void PaintBoxMousePress(class QMouseEvent* Event);
  void PaintBoxMouseMove(class QMouseEvent* Event);
  void PaintBoxMouseRelease(class QMouseEvent* Event);
  void PaintBoxDoubleClick(class QMouseEvent* Event);
  void PaintBoxWheel(class QWheelEvent* Event);
  void RulerMousePress(TGlyphRuler* Ruler, class QMouseEvent* Event);
  void RulerMouseMove(TGlyphRuler* Ruler, class QMouseEvent* Event);
  void RulerMouseRelease(TGlyphRuler* Ruler, class QMouseEvent* Event);
  void RulerDoubleClick(TGlyphRuler* Ruler);

signals:
  void showEditStatus(const QString& Text0, const QString& Text1);
  void showZoomFactor(double Factor);
  void stateChanged();
  void activated();
  void closing();
  void resetDrawingTools();

protected:
  void keyPressEvent(class QKeyEvent* Event) override;
  void keyReleaseEvent(class QKeyEvent* Event) override;
  void closeEvent(class QCloseEvent* Event) override;
  void changeEvent(class QEvent* Event) override;

private:
  void GlyphNotification(int Kind);
  void SyncScrollBars();
  void ZoomChanged(bool Changed);
  void RenderPicture();
  void DrawRulers();
  TGlyphViewScene Scene() const;
  const TOutlineBase* Outline() const;
  void UpdateMouseMarks(QPoint PaintBoxPos);
  void FinishGuidelineAction(bool Changed);
  void UpdateDragCursor(bool Ctrl);
  void EditGuidelineAt(QPoint Pos);
  void OpenGuidelinesOptions();
  void CloseWindow();

  TTrueTypeFontManager& FManager;
  int FGlyph;
  bool FInitialised = false;
  TGlyphViewport FView;
  TGuidelineDrag FGuidelineDrag;
  int FEditState = 0;
  bool FHideAids = false;
  const TOutlineBase* FDragCopy = nullptr;
  bool FPendingGuidelineEdit = false;
  QPoint FPendingEditPos;
  bool FPendingOptions = false;

  QImage FPicture;
  bool FPictureValid = false;

  QString FBackgroundImageFile;
  QImage FBackgroundImage;
  bool FBackgroundVisible = false;
  int FBackgroundX = 0, FBackgroundY = 0;
  double FBackgroundScale = 1.0;

  TGlyphPaintBox* FPaintBox = nullptr;
  TGlyphRuler* FHorzRuler = nullptr;
  TGlyphRuler* FVertRuler = nullptr;
  QScrollBar* FHorzBar = nullptr;
  QScrollBar* FVertBar = nullptr;
  QLabel* FHinting = nullptr;
};

// The drawing surface between the rulers and the scroll bars.
class TGlyphPaintBox : public QWidget {
  Q_OBJECT
public:
  explicit TGlyphPaintBox(TGlyphEditForm& Form);

protected:
  void paintEvent(class QPaintEvent*) override;
  void resizeEvent(class QResizeEvent*) override;
  void mousePressEvent(class QMouseEvent* E) override { FForm.PaintBoxMousePress(E); }
  void mouseMoveEvent(class QMouseEvent* E) override { FForm.PaintBoxMouseMove(E); }
  void mouseReleaseEvent(class QMouseEvent* E) override { FForm.PaintBoxMouseRelease(E); }
  void mouseDoubleClickEvent(class QMouseEvent* E) override { FForm.PaintBoxDoubleClick(E); }
  void wheelEvent(class QWheelEvent* E) override { FForm.PaintBoxWheel(E); }

private:
  TGlyphEditForm& FForm;
};

// One ruler: labels and ticks in font units, and the mark of the mouse.
class TGlyphRuler : public QWidget {
  Q_OBJECT
public:
  static constexpr int kThickness = 18;
  TGlyphRuler(TGlyphEditForm& Form, Qt::Orientation Orientation);
  Qt::Orientation Orientation() const { return FOrientation; }
  void SetImage(QImage Image);
  const QImage& Image() const { return FImage; }
  // The mouse position along the ruler, or -1 for none.
  void SetMark(int Pos);
  int Mark() const { return FMark; }

protected:
  void paintEvent(class QPaintEvent*) override;
  void mousePressEvent(class QMouseEvent* E) override { FForm.RulerMousePress(this, E); }
  void mouseMoveEvent(class QMouseEvent* E) override { FForm.RulerMouseMove(this, E); }
  void mouseReleaseEvent(class QMouseEvent* E) override { FForm.RulerMouseRelease(this, E); }
  void mouseDoubleClickEvent(class QMouseEvent*) override { FForm.RulerDoubleClick(this); }

private:
  TGlyphEditForm& FForm;
  Qt::Orientation FOrientation;
  QImage FImage;
  int FMark = -1;
};

}  // namespace tsy
