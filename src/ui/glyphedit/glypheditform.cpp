#include "glyphedit/glypheditform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "document/fontmanager.h"
#include "fontfile/tables/post.h"
#include "glyphedit/displaypainter.h"
#include "glyphedit/guidelinedialogs.h"
#include "glyphview/rulers.h"
#include "glyphview/texts.h"
#include "outline/outline.h"
#include "settings/registrysettings.h"

namespace tsy {

namespace {

QList<TGlyphEditForm*>& OpenForms() {
  static QList<TGlyphEditForm*> forms;
  return forms;
}

TViewPalette Palette(const QWidget* W) {
  TViewPalette p;
  p.Window = FromQColor(W->palette().color(QPalette::Base));
  p.ButtonFace = FromQColor(W->palette().color(QPalette::Button));
  p.GrayText = FromQColor(W->palette().color(QPalette::Disabled, QPalette::Text));
  return p;
}

// States in which a zoom change leaves the interaction alone (normal, the
// zoom tool and its rectangle, armed freehand and measuring tools).
bool ZoomKeepsState(int State) { return State == 0 || State == 2 || State == 3 || State == 33 || State == 35; }

}  // namespace

// ---- Paint box and rulers -----------------------------------------------------

TGlyphPaintBox::TGlyphPaintBox(TGlyphEditForm& Form) : QWidget(&Form), FForm(Form) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers every pixel
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(1, 1);
}

void TGlyphPaintBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  FForm.PaintBoxPaint(p);
}

void TGlyphPaintBox::resizeEvent(QResizeEvent*) { FForm.PaintBoxResized(); }

TGlyphRuler::TGlyphRuler(TGlyphEditForm& Form, Qt::Orientation O) : QWidget(&Form), FForm(Form), FOrientation(O) {
  if (O == Qt::Horizontal)
    setFixedHeight(kThickness);
  else
    setFixedWidth(kThickness);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGlyphRuler::SetImage(QImage Image) {
  FImage = std::move(Image);
  update();
}

void TGlyphRuler::SetMark(int Pos) {
  if (Pos == FMark) return;
  FMark = Pos;
  update();
}

void TGlyphRuler::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (FImage.isNull())
    p.fillRect(rect(), palette().color(QPalette::Button));
  else
    p.drawImage(0, 0, FImage);
  const int extent = FOrientation == Qt::Horizontal ? width() : height();
  if (FMark < 0 || FMark > extent) return;
  QPen pen(palette().color(QPalette::Disabled, QPalette::Text));
  pen.setStyle(Qt::DotLine);
  pen.setWidth(0);
  p.setPen(pen);
  p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  if (FOrientation == Qt::Horizontal)
    p.drawLine(FMark, 0, FMark, height() - 1);
  else
    p.drawLine(0, FMark, width() - 1, FMark);
}

// ---- The window -----------------------------------------------------------------

TGlyphEditForm::TGlyphEditForm(TTrueTypeFontManager& Manager, int Glyph, QWidget* Parent)
    : QWidget(Parent),
      FManager(Manager),
      FGlyph(Glyph),
      FGuidelineDrag(*TGuideLineSettings::AccessInstance(1)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFocusPolicy(Qt::StrongFocus);
  FPaintBox = new TGlyphPaintBox(*this);
  FHorzRuler = new TGlyphRuler(*this, Qt::Horizontal);
  FVertRuler = new TGlyphRuler(*this, Qt::Vertical);
  FHorzBar = new QScrollBar(Qt::Horizontal, this);
  FVertBar = new QScrollBar(Qt::Vertical, this);
  for (QScrollBar* bar : {FHorzBar, FVertBar}) {
    bar->setSingleStep(TScrollBarState::SmallChange);
    bar->setPageStep(TScrollBarState::LargeChange);
    bar->setFocusPolicy(Qt::NoFocus);
  }
  FHorzBar->setFixedHeight(16);
  FVertBar->setFixedWidth(16);
  FHinting = new QLabel(this);
  FHinting->setFixedSize(TGlyphRuler::kThickness, TGlyphRuler::kThickness);
  FHinting->setAlignment(Qt::AlignCenter);
  FHinting->setAutoFillBackground(true);
  FHinting->setBackgroundRole(QPalette::Button);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  grid->addWidget(FHinting, 0, 0);
  grid->addWidget(FHorzRuler, 0, 1);
  grid->addWidget(FVertRuler, 1, 0);
  grid->addWidget(FPaintBox, 1, 1);
  grid->addWidget(FVertBar, 1, 2);
  grid->addWidget(FHorzBar, 2, 1);
  grid->setRowStretch(1, 1);
  grid->setColumnStretch(1, 1);

  connect(FHorzBar, &QScrollBar::valueChanged, this, [this](int V) {
    FView.HorzBar.Position = V;
    Repaint();
  });
  connect(FVertBar, &QScrollBar::valueChanged, this, [this](int V) {
    FView.VertBar.Position = V;
    Repaint();
  });

  GlyphCaption = [this](int G) {
    const TTablePost* post = FManager.Font().Post();
    return post ? post->GetName(size_t(std::max(G, 0))) : std::string();
  };

  // Initialise: caption, registration, the first zoom.
  // A new window is 400 x 400; its paint box is what the rulers and the
  // scroll bars leave (the layout sets it for real once the window shows).
  resize(400, 400);
  const int side = 400 - TGlyphRuler::kThickness - 16;
  FView.SetSize(side, side);
  UpdateCaption();
  FManager.EditWindows().Subscribe(this, FGlyph, [this](TGlyphNotification Kind) { GlyphNotification(Kind); });
  OpenForms().append(this);
  FView.ResetZoom(TGlyphViewport::kInitialZoom);
  FView.UpdateScrollRanges();
  TRegistrySettings& settings = TRegistrySettings::Instance();
  bool autoFit = true;
  double defaultZoom = 0.1;
  try {
    autoFit = settings.AutoFitGlyphInWindow();
    defaultZoom = settings.DefaultZoomFactor();
  } catch (const std::exception&) {
    // a damaged value has been repaired to its default; use the defaults now
  }
  if (autoFit) {
    FitOnScreen();
  } else {
    SetZoomFactor(defaultZoom);
    CentreOnGlyph();
  }
  SyncScrollBars();
  FInitialised = true;
  emit activated();
  DrawRulers();
}

TGlyphEditForm::~TGlyphEditForm() {
  OpenForms().removeAll(this);
  FManager.EditWindows().Unsubscribe(this, FGlyph);
}

void TGlyphEditForm::SwitchToGlyph(int Glyph) {
  if (Glyph == FGlyph || Glyph < 0 || size_t(Glyph) >= FManager.Font().Outlines.Count()) return;
  TSelectedGlyphEditWindowList& list = FManager.EditWindows();
  const uint8_t mode = list.GetEditMode(this, FGlyph);
  SetEditState(0);
  list.Unsubscribe(this, FGlyph);
  FGlyph = Glyph;
  list.Subscribe(this, FGlyph, [this](TGlyphNotification Kind) { GlyphNotification(Kind); });
  list.SetEditMode(this, FGlyph, mode);
  if (mode == emPoint)
    list.ClearPoints(this, FGlyph);
  else
    list.ClearContours(this, FGlyph);
  UpdateCaption();
  Repaint();
  emit stateChanged();
}

void TGlyphEditForm::AddGuidelinesFromSelection() {
  const TOutlineBase* o = Outline();
  if (!o) return;
  const TGlyphViewScene s = Scene();
  if (tsy::AddGuidelinesFromSelection(*TGuideLineSettings::AccessInstance(1), *o, s.EditMode, s.Points,
                                      s.SelectionFrame, s.MemberFrame) > 0)
    RepaintAllGlyphEditors();
}

void TGlyphEditForm::RepaintAllGlyphEditors() {
  for (TGlyphEditForm* f : OpenForms()) f->Repaint();
}

const TOutlineBase* TGlyphEditForm::Outline() const {
  const TFontOutlines& o = FManager.Font().Outlines;
  if (FGlyph < 0 || size_t(FGlyph) >= o.Count()) return nullptr;
  return o.Items(size_t(FGlyph));
}

TGlyphViewScene TGlyphEditForm::Scene() const {
  TGlyphViewScene s;
  const TSelectedGlyphEditWindowList& list = FManager.EditWindows();
  s.Font = &FManager.Font();
  s.Glyph = FGlyph;
  s.EditMode = list.GetEditMode(this, FGlyph);
  list.GetMembers(this, FGlyph, s.Members);
  list.GetContours(this, FGlyph, s.Contours);
  list.GetPoints(this, FGlyph, s.Points);
  s.SelectionFrame = list.GetSelectionFrame(this, FGlyph);
  s.MemberFrame = list.GetMemberFrame(this, FGlyph);
  s.TransformOrigin = list.GetTransformOrigin(this, FGlyph);
  s.HandleKind = list.GetHandleKind(this, FGlyph);
  s.EditState = FEditState;
  s.HideAids = FHideAids;
  s.DragCopy = FDragCopy;
  s.HiddenGuideline = FGuidelineDrag.Hidden(QApplication::keyboardModifiers() & Qt::ControlModifier);
  return s;
}

// ---- Zoom and view ---------------------------------------------------------------

void TGlyphEditForm::SyncScrollBars() {
  const QSignalBlocker bh(FHorzBar), bv(FVertBar);
  FHorzBar->setRange(FView.HorzBar.Min, FView.HorzBar.Max);
  FHorzBar->setValue(FView.HorzBar.Position);
  FHorzBar->setEnabled(FView.HorzBar.Enabled);
  FVertBar->setRange(FView.VertBar.Min, FView.VertBar.Max);
  FVertBar->setValue(FView.VertBar.Position);
  FVertBar->setEnabled(FView.VertBar.Enabled);
}

void TGlyphEditForm::ZoomChanged(bool Changed) {
  SyncScrollBars();
  if (Changed) {
    if (!ZoomKeepsState(FEditState)) SetEditState(0);
    emit showZoomFactor(FView.ZoomFactor());
  }
  Repaint();
}

void TGlyphEditForm::SetZoomFactor(double Z) { ZoomChanged(FView.SetZoomFactor(Z)); }

void TGlyphEditForm::ZoomAtPoint(int X, int Y, double Z) { ZoomChanged(FView.ZoomAtPoint(X, Y, Z)); }

void TGlyphEditForm::FitOnScreen() {
  const TOutlineBase* o = Outline();
  ZoomChanged(FView.FitRect(o ? o->Bounds : TFloatRect{}));
}

void TGlyphEditForm::ZoomToSelection() {
  const TOutlineBase* o = Outline();
  if (!o) return;
  const TGlyphViewScene s = Scene();
  TFloatRect r;
  if (o->GetKind() == okComposite) {
    r = s.MemberFrame;
  } else if (o->GetKind() == okSimple && s.EditMode == emContour) {
    r = s.SelectionFrame;
  } else if (o->GetKind() == okSimple && s.Points.Count() > 0) {
    const auto& simple = static_cast<const TOutlineSimple&>(*o);
    bool first = true;
    for (int i = 0; i < s.Points.Count(); ++i) {
      const TPointSelectionItem& it = s.Points.Items(i);
      if (it.Contour < 0 || size_t(it.Contour) >= simple.Contours.size()) continue;
      const auto& pts = simple.Contours[size_t(it.Contour)].Points;
      if (it.Point < 0 || size_t(it.Point) >= pts.size()) continue;
      const TTrueTypePoint& p = pts[size_t(it.Point)];
      if (first) r = {p.X, p.Y, p.X, p.Y};
      r = {std::min(r.XMin, p.X), std::min(r.YMin, p.Y), std::max(r.XMax, p.X), std::max(r.YMax, p.Y)};
      first = false;
    }
    r = {double(RoundHalfUp(r.XMin)), double(RoundHalfUp(r.YMin)), double(RoundHalfUp(r.XMax)),
         double(RoundHalfUp(r.YMax))};
  }
  ZoomChanged(FView.ZoomToRect(r));
}

void TGlyphEditForm::CentreOnGlyph() {
  const TOutlineBase* o = Outline();
  if (!o) return;
  const double x0 = RoundHalfUp(o->Bounds.XMin), x1 = RoundHalfUp(o->Bounds.XMax);
  const double y0 = RoundHalfUp(o->Bounds.YMin), y1 = RoundHalfUp(o->Bounds.YMax);
  FView.CentreOn((x0 + x1) / 2, (y0 + y1) / 2);
  SyncScrollBars();
  Repaint();
}

void TGlyphEditForm::CentreOn(double X, double Y) {
  FView.CentreOn(X, Y);
  SyncScrollBars();
  Repaint();
}

void TGlyphEditForm::PaintBoxResized() {
  FView.SetSize(FPaintBox->width(), FPaintBox->height());
  FView.UpdateScrollRanges();
  SyncScrollBars();
  Repaint();
}

// ---- Painting ----------------------------------------------------------------------

void TGlyphEditForm::Repaint() {
  FPictureValid = false;
  FPaintBox->update();
}

void TGlyphEditForm::PaintGlyph() {
  RenderPicture();
  FPaintBox->repaint();
}

QString TGlyphEditForm::SelectionStatusText() const {
  const TOutlineBase* o = Outline();
  if (!o) return {};
  const TGlyphViewScene s = Scene();
  return QString::fromStdString(tsy::SelectionStatusText(*o, s.EditMode, s.Members, s.Contours, s.Points));
}

void TGlyphEditForm::UpdateCaption() {
  const TOutlineBase* o = Outline();
  bool hex = true;
  try {
    hex = TRegistrySettings::Instance().ValueHexadecimal();
  } catch (const std::exception&) {
  }
  const std::string caption = GlyphCaption ? GlyphCaption(FGlyph) : std::string();
  setWindowTitle(QString::fromStdString(
      GlyphEditCaption(FManager.FileName(), o ? o->GetKind() : okEmpty, FGlyph, hex, caption)));
}

void TGlyphEditForm::RenderPicture() {
  FPictureValid = true;
  const QSize size = FPaintBox->size();
  if (FPicture.size() != size) FPicture = QImage(size, QImage::Format_RGB32);
  const TViewPalette palette = Palette(this);
  FPicture.fill(ToQColor(palette.Window));
  try {
    emit showEditStatus(QString(), SelectionStatusText());
    const TOutlineBase* o = Outline();
    FHinting->setText(o && o->HasInstructions() ? QStringLiteral("H") : QString());
    UpdateCaption();
    DrawRulers();
    QPainter p(&FPicture);
    const TGlyphViewScene scene = Scene();
    const TGlyphViewOptions options = ReadGlyphViewOptions(TRegistrySettings::Instance());
    if (!FHideAids && FBackgroundVisible && !FBackgroundImage.isNull()) {
      const TIntRect r = BackgroundImageRect(FView, FBackgroundX, FBackgroundY, FBackgroundScale,
                                             FBackgroundImage.width(), FBackgroundImage.height());
      p.drawImage(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), FBackgroundImage);
    }
    TDisplayList list;
    BuildAidsLayer(FView, options, scene, TGuideLineSettings::AccessInstance(1), palette, list);
    BuildGlyphLayer(FView, options, scene, palette, list);
    ReplayDisplayList(p, list);
  } catch (const std::exception& e) {
    // Extreme zoom or a malformed outline: say so and stay usable.
    emit showEditStatus(QString::fromUtf8(e.what()), SelectionStatusText());
    QApplication::beep();
  }
}

void TGlyphEditForm::PaintBoxPaint(QPainter& P) {
  if (!FPictureValid || FPicture.size() != FPaintBox->size()) RenderPicture();
  P.drawImage(0, 0, FPicture);
  // Overlays of the current interaction, on top of the cached picture.
  try {
    if (const auto line = FGuidelineDrag.Feedback(FView)) {
      QPen pen(Qt::black);
      pen.setStyle(Qt::DotLine);
      pen.setWidth(0);
      P.setPen(pen);
      P.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
      P.drawLine(QPoint(line->first.X, line->first.Y), QPoint(line->second.X, line->second.Y));
      P.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
  } catch (const std::exception&) {
    // a feedback line beyond the pixel range is simply not shown
  }
}

void TGlyphEditForm::DrawRulers() {
  const QColor face = palette().color(QPalette::Button);
  const QColor silver = ToQColor(ViewColor::Silver);
  QFont font(QStringLiteral("Times New Roman"));
  font.setPointSize(7);
  {
    const int w = FPaintBox->width(), h = TGlyphRuler::kThickness;
    QImage img(std::max(w, 1), h, QImage::Format_RGB32);
    img.fill(face);
    QPainter p(&img);
    p.setFont(font);
    p.setPen(Qt::black);
    const TRulerMarks marks = HorizontalRulerMarks(FView);
    for (const TRulerLabel& l : marks.Labels) {
      const QString text = QString::fromStdString(l.Text);
      const int tw = p.fontMetrics().horizontalAdvance(text);
      p.drawText(l.Pos - tw / 2, p.fontMetrics().ascent() - 1, text);
    }
    for (const TRulerTick& t : marks.Ticks) {
      p.setPen(Qt::black);
      p.drawLine(t.Pos, h - 1, t.Pos, h - t.Length);
      p.setPen(silver);
      p.drawLine(t.Pos + 1, h - 1, t.Pos + 1, h - t.Length);
    }
    p.setPen(Qt::black);
    p.drawLine(0, h - 1, w - 1, h - 1);
    const QString units = QStringLiteral("units");
    p.fillRect(w - 10 - p.fontMetrics().horizontalAdvance(units) - 2, 0,
               p.fontMetrics().horizontalAdvance(units) + 4, h - 1, face);
    p.drawText(w - 10 - p.fontMetrics().horizontalAdvance(units), p.fontMetrics().ascent() - 1, units);
    p.end();
    FHorzRuler->SetImage(img);
  }
  {
    const int w = TGlyphRuler::kThickness, h = FPaintBox->height();
    QImage img(w, std::max(h, 1), QImage::Format_RGB32);
    img.fill(face);
    QPainter p(&img);
    p.setFont(font);
    const TRulerMarks marks = VerticalRulerMarks(FView);
    const double lineHeight = 0.9 * p.fontMetrics().height();
    p.setPen(Qt::black);
    for (const TRulerLabel& l : marks.Labels) {
      const QString text = QString::fromStdString(l.Text);
      const double total = lineHeight * text.size();
      double y = l.Pos - total / 2 + p.fontMetrics().ascent();
      for (const QChar c : text) {
        const int cw = p.fontMetrics().horizontalAdvance(c);
        p.drawText(QPointF((w - 6) / 2.0 - cw / 2.0, y), QString(c));
        y += lineHeight;
      }
    }
    for (const TRulerTick& t : marks.Ticks) {
      p.setPen(Qt::black);
      p.drawLine(w - 1, t.Pos, w - t.Length, t.Pos);
      p.setPen(silver);
      p.drawLine(w - 1, t.Pos + 1, w - t.Length, t.Pos + 1);
    }
    p.setPen(Qt::black);
    p.drawLine(w - 1, 0, w - 1, h - 1);
    p.end();
    FVertRuler->SetImage(img);
  }
}

// ---- Background image ------------------------------------------------------------

void TGlyphEditForm::LoadBackgroundImage(const QString& FileName) {
  if (FileName == FBackgroundImageFile && !FBackgroundImage.isNull()) return;
  QImageReader reader(FileName);
  reader.setAutoTransform(false);
  QImage image = reader.read();
  if (image.isNull())
    throw std::runtime_error(
        QStringLiteral("%1: %2").arg(FileName, reader.errorString()).toStdString());
  FBackgroundImage = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  // Only a picture that loaded names the image, so a failed file can be retried.
  FBackgroundImageFile = FileName;
  Repaint();
}

void TGlyphEditForm::SetBackgroundImageVisible(bool Value) {
  if (Value == FBackgroundVisible) return;
  FBackgroundVisible = Value;
  PaintGlyph();
}

void TGlyphEditForm::SetBackgroundImageX(int Value) {
  if (Value == FBackgroundX) return;
  FBackgroundX = Value;
  PaintGlyph();
}

void TGlyphEditForm::SetBackgroundImageY(int Value) {
  if (Value == FBackgroundY) return;
  FBackgroundY = Value;
  PaintGlyph();
}

void TGlyphEditForm::SetBackgroundImageScale(double Value) {
  if (Value == FBackgroundScale || !std::isfinite(Value) || Value <= 0) return;
  FBackgroundScale = Value;
  PaintGlyph();
}

// ---- State ---------------------------------------------------------------------------

void TGlyphEditForm::SetEditState(int State) {
  if (State == 0 && FGuidelineDrag.Active()) {
    // Leaving a guideline drag any other way than by releasing cancels it.
    FGuidelineDrag.Abort();
    FPaintBox->unsetCursor();
    Repaint();
  }
  FEditState = State;
}

void TGlyphEditForm::SetHideAids(bool Hide) {
  if (Hide == FHideAids) return;
  FHideAids = Hide;
  if (Hide)
    FPaintBox->setCursor(Qt::BlankCursor);
  else
    FPaintBox->unsetCursor();
  PaintGlyph();
}

void TGlyphEditForm::SetDragCopy(const TOutlineBase* Copy) {
  FDragCopy = Copy;
  Repaint();
}

void TGlyphEditForm::GlyphNotification(int Kind) {
  if (!FInitialised) return;
  switch (Kind) {
    case gnRenumbered:
      FGlyph = FManager.EditWindows().GlyphOfWindow(this);
      UpdateCaption();
      Repaint();
      emit stateChanged();
      break;
    case gnDeleted:
      FInitialised = false;
      FManager.EditWindows().Unsubscribe(this, FGlyph);
      FGlyph = -1;
      QMetaObject::invokeMethod(this, [this] { CloseWindow(); }, Qt::QueuedConnection);
      break;
    default:
      Repaint();
      emit stateChanged();  // the main window recomputes its commands
  }
}

void TGlyphEditForm::CloseWindow() {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
    sub->close();
  else
    close();
}

void TGlyphEditForm::closeEvent(QCloseEvent* Event) {
  SetEditState(0);
  emit closing();
  FInitialised = false;
  QWidget::closeEvent(Event);
}

void TGlyphEditForm::changeEvent(QEvent* Event) {
  if (Event->type() == QEvent::ActivationChange) {
    if (isActiveWindow()) {
      emit activated();
    } else {
      SetEditState(0);
      emit resetDrawingTools();
    }
  }
  QWidget::changeEvent(Event);
}

void TGlyphEditForm::keyPressEvent(QKeyEvent* Event) {
  if (Event->key() == Qt::Key_H && !Event->isAutoRepeat()) {
    SetHideAids(true);
    return;
  }
  if (Event->key() == Qt::Key_Escape && FGuidelineDrag.Active()) {
    SetEditState(0);
    return;
  }
  if (Event->key() == Qt::Key_Control && FGuidelineDrag.Active()) UpdateDragCursor(true);
  QWidget::keyPressEvent(Event);
}

void TGlyphEditForm::keyReleaseEvent(QKeyEvent* Event) {
  if (Event->key() == Qt::Key_H && !Event->isAutoRepeat()) {
    SetHideAids(false);
    return;
  }
  if (Event->key() == Qt::Key_Control && FGuidelineDrag.Active()) UpdateDragCursor(false);
  QWidget::keyReleaseEvent(Event);
}

// ---- Mouse: rulers' marks and guidelines ---------------------------------------------

void TGlyphEditForm::UpdateMouseMarks(QPoint Pos) {
  FHorzRuler->SetMark(Pos.x() >= 0 && Pos.x() <= FPaintBox->width() ? Pos.x() : -1);
  FVertRuler->SetMark(Pos.y() >= 0 && Pos.y() <= FPaintBox->height() ? Pos.y() : -1);
}

void TGlyphEditForm::UpdateDragCursor(bool Ctrl) {
  if (Ctrl) {
    FPaintBox->setCursor(Qt::DragCopyCursor);
    return;
  }
  switch (FGuidelineDrag.State()) {
    case TGuidelineDrag::HorizontalMoving:
    case TGuidelineDrag::NewHorizontal: FPaintBox->setCursor(Qt::SplitVCursor); break;
    case TGuidelineDrag::VerticalMoving:
    case TGuidelineDrag::NewVertical: FPaintBox->setCursor(Qt::SplitHCursor); break;
    default: FPaintBox->setCursor(Qt::SizeAllCursor);
  }
}

void TGlyphEditForm::FinishGuidelineAction(bool Changed) {
  FEditState = 0;
  FPaintBox->unsetCursor();
  if (Changed) RepaintAllGlyphEditors();
  Repaint();
}

static bool GuidelinesEditable() {
  try {
    TRegistrySettings& s = TRegistrySettings::Instance();
    return s.ShowUserDefinedGuidelines() && !s.LockUserDefinedGuidelines();
  } catch (const std::exception&) {
    return false;
  }
}

void TGlyphEditForm::PaintBoxMousePress(QMouseEvent* E) {
  if (E->button() != Qt::LeftButton || FHideAids) return;
  if (!GuidelinesEditable()) return;
  const QPoint p = E->position().toPoint();
  const bool shift = E->modifiers() & Qt::ShiftModifier, ctrl = E->modifiers() & Qt::ControlModifier;
  if (FGuidelineDrag.Press(FView, p.x(), p.y(), shift, ctrl)) FEditState = FGuidelineDrag.State();
}

void TGlyphEditForm::PaintBoxMouseMove(QMouseEvent* E) {
  const QPoint p = E->position().toPoint();
  UpdateMouseMarks(p);
  if (!FGuidelineDrag.Active()) return;
  FGuidelineDrag.Move(FView, p.x(), p.y(), QApplication::startDragDistance());
  FEditState = FGuidelineDrag.State();
  if (FEditState != TGuidelineDrag::HorizontalPressed && FEditState != TGuidelineDrag::VerticalPressed &&
      FEditState != TGuidelineDrag::DiagonalPressed && FEditState != TGuidelineDrag::DiagonalTurnPressed &&
      FEditState != TGuidelineDrag::HorizontalTurnPressed && FEditState != TGuidelineDrag::VerticalTurnPressed)
    UpdateDragCursor(E->modifiers() & Qt::ControlModifier);
  if (!FGuidelineDrag.StatusText().empty())
    emit showEditStatus(QString::fromStdString(FGuidelineDrag.StatusText()), SelectionStatusText());
  Repaint();  // the pressed guideline hides behind its working copy
}

void TGlyphEditForm::PaintBoxMouseRelease(QMouseEvent* E) {
  const QPoint p = E->position().toPoint();
  if (FGuidelineDrag.Active()) {
    FinishGuidelineAction(FGuidelineDrag.Release(FView, p.x(), p.y(), E->modifiers() & Qt::ControlModifier));
  }
  if (FPendingGuidelineEdit) {
    FPendingGuidelineEdit = false;
    EditGuidelineAt(FPendingEditPos);
  }
}

void TGlyphEditForm::PaintBoxDoubleClick(QMouseEvent* E) {
  if (E->button() != Qt::LeftButton || !GuidelinesEditable()) return;
  const QPoint p = E->position().toPoint();
  if (HitTestGuidelines(FView, *TGuideLineSettings::AccessInstance(1), p.x(), p.y()).Guideline) {
    FPendingGuidelineEdit = true;  // opened once the button is up
    FPendingEditPos = p;
  }
}

void TGlyphEditForm::EditGuidelineAt(QPoint Pos) {
  TGuideLineSettings& g = *TGuideLineSettings::AccessInstance(1);
  TGuideline* hit = HitTestGuidelines(FView, g, Pos.x(), Pos.y()).Guideline;
  if (!hit) return;
  EditGuideline(g, hit, this);
  emit stateChanged();
  RepaintAllGlyphEditors();
}

void TGlyphEditForm::PaintBoxWheel(QWheelEvent* E) {
  const int dy = E->angleDelta().y();
  if (dy == 0) return;
  FView.Wheel(dy < 0);
  SyncScrollBars();
  Repaint();
}

void TGlyphEditForm::RulerMousePress(TGlyphRuler* Ruler, QMouseEvent* E) {
  if (E->button() != Qt::LeftButton) return;
  try {
    if (!TRegistrySettings::Instance().ShowUserDefinedGuidelines()) return;
  } catch (const std::exception&) {
    return;
  }
  FGuidelineDrag.PressRuler(Ruler == FHorzRuler);
  FEditState = FGuidelineDrag.State();
  UpdateDragCursor(false);
}

void TGlyphEditForm::RulerMouseMove(TGlyphRuler* Ruler, QMouseEvent* E) {
  const QPoint p = FPaintBox->mapFrom(this, Ruler->mapTo(this, E->position().toPoint()));
  UpdateMouseMarks(p);
  if (!FGuidelineDrag.Active()) return;
  FGuidelineDrag.Move(FView, p.x(), p.y(), QApplication::startDragDistance());
  FPaintBox->update();
}

void TGlyphEditForm::RulerMouseRelease(TGlyphRuler* Ruler, QMouseEvent* E) {
  const QPoint p = FPaintBox->mapFrom(this, Ruler->mapTo(this, E->position().toPoint()));
  if (FGuidelineDrag.Active()) FinishGuidelineAction(FGuidelineDrag.Release(FView, p.x(), p.y(), false));
  if (FPendingOptions) {
    FPendingOptions = false;
    OpenGuidelinesOptions();
  }
}

void TGlyphEditForm::RulerDoubleClick(TGlyphRuler*) {
  FPendingOptions = true;  // opened once the button is up
}

void TGlyphEditForm::OpenGuidelinesOptions() {
  ShowGuidelinesOptions(this);
  emit stateChanged();
  RepaintAllGlyphEditors();
}

}  // namespace tsy
