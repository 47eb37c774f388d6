#include "controls/spinbutton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

namespace tsy {

// ---------------------------------------------------------------------------
// TvnxTimerSpeedButton

TvnxTimerSpeedButton::TvnxTimerSpeedButton(TArrow Arrow, QWidget* Parent) : QWidget(Parent), FArrow(Arrow) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
  connect(&FRepeatTimer, &QTimer::timeout, this, &TvnxTimerSpeedButton::TimerExpired);
}

void TvnxTimerSpeedButton::SetShowFocus(bool Value) {
  if (Value == FShowFocus) return;
  FShowFocus = Value;
  update();
}

void TvnxTimerSpeedButton::Click() { emit clicked(); }

void TvnxTimerSpeedButton::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton || !isEnabled()) {
    QWidget::mousePressEvent(Event);
    return;
  }
  FDown = true;
  FMouseInside = true;
  update();
  emit pressed();
  // pressed() may have moved the focus or disabled us; repeat only if still held.
  if (FDown) {
    FRepeatTimer.setInterval(InitRepeatPause);
    FRepeatTimer.start();
  }
}

void TvnxTimerSpeedButton::mouseMoveEvent(QMouseEvent* Event) {
  if (!FDown) return;
  const bool inside = rect().contains(Event->position().toPoint());
  if (inside != FMouseInside) {
    FMouseInside = inside;
    update();
  }
}

void TvnxTimerSpeedButton::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton || !FDown) {
    QWidget::mouseReleaseEvent(Event);
    return;
  }
  const bool inside = rect().contains(Event->position().toPoint());
  StopRepeat();
  update();
  if (inside) Click();
}

void TvnxTimerSpeedButton::StopRepeat() {
  FRepeatTimer.stop();
  FDown = false;
  FMouseInside = false;
}

void TvnxTimerSpeedButton::TimerExpired() {
  FRepeatTimer.setInterval(RepeatPause);
  // Repeat only while the half is held and the mouse is over it.
  if (!FDown || !FMouseInside || !isEnabled()) return;
  try {
    Click();
  } catch (...) {
    // A failing step must not go on repeating behind the error message.
    StopRepeat();
    update();
    throw;
  }
}

void TvnxTimerSpeedButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QStyleOptionButton opt;
  opt.initFrom(this);
  opt.features = QStyleOptionButton::None;
  if (FDown && FMouseInside)
    opt.state |= QStyle::State_Sunken;
  else
    opt.state |= QStyle::State_Raised;
  style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &opt, &p, this);

  // The arrow: a small filled triangle centred in the half.
  const QRectF r = rect();
  const double w = qMax(3.0, qMin(r.width() - 6.0, 7.0));
  const double h = qMax(2.0, qMin(w / 2.0 + 0.5, r.height() - 4.0));
  QPointF c = r.center();
  if (FDown && FMouseInside) c += QPointF(1, 1);
  QPainterPath path;
  if (FArrow == arUp) {
    path.moveTo(c.x() - w / 2, c.y() + h / 2);
    path.lineTo(c.x() + w / 2, c.y() + h / 2);
    path.lineTo(c.x(), c.y() - h / 2);
  } else {
    path.moveTo(c.x() - w / 2, c.y() - h / 2);
    path.lineTo(c.x() + w / 2, c.y() - h / 2);
    path.lineTo(c.x(), c.y() + h / 2);
  }
  path.closeSubpath();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  p.drawPath(path);

  if (FShowFocus) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(3, 3, -3, -3);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
  }
}

// ---------------------------------------------------------------------------
// TvnxSpinButton

TvnxSpinButton::TvnxSpinButton(QWidget* Parent)
    : QWidget(Parent),
      FUpButton(new TvnxTimerSpeedButton(TvnxTimerSpeedButton::arUp, this)),
      FDownButton(new TvnxTimerSpeedButton(TvnxTimerSpeedButton::arDown, this)),
      FFocusedButton(FUpButton) {
  // Not a tab stop: the pair takes the focus only when its focus control cannot.
  setFocusPolicy(Qt::NoFocus);
  connect(FUpButton, &TvnxTimerSpeedButton::pressed, this, [this] { ButtonPressed(FUpButton); });
  connect(FDownButton, &TvnxTimerSpeedButton::pressed, this, [this] { ButtonPressed(FDownButton); });
  connect(FUpButton, &TvnxTimerSpeedButton::clicked, this, &TvnxSpinButton::UpClick);
  connect(FDownButton, &TvnxTimerSpeedButton::clicked, this, &TvnxSpinButton::DownClick);
  resize(15, 20);
}

void TvnxSpinButton::resizeEvent(QResizeEvent*) { LayoutButtons(); }

void TvnxSpinButton::LayoutButtons() {
  // The upper half takes half the height; the lower one overlaps it by a pixel.
  const int half = height() / 2;
  FUpButton->setGeometry(0, 0, width(), half);
  FDownButton->setGeometry(0, half - 1, width(), height() - half + 1);
}

void TvnxSpinButton::ButtonPressed(TvnxTimerSpeedButton* Button) {
  QWidget* control = FFocusControl;
  if (control && control->isEnabled() && control->isVisible() && control->focusPolicy() != Qt::NoFocus &&
      !control->hasFocus()) {
    control->setFocus(Qt::OtherFocusReason);
  } else if ((focusPolicy() & Qt::TabFocus) && !hasFocus() && isEnabled()) {
    setFocus(Qt::OtherFocusReason);
  }
  SetFocusedButton(Button);
}

void TvnxSpinButton::SetFocusedButton(TvnxTimerSpeedButton* Button) {
  FFocusedButton = Button;
  FUpButton->SetShowFocus(hasFocus() && Button == FUpButton);
  FDownButton->SetShowFocus(hasFocus() && Button == FDownButton);
}

void TvnxSpinButton::focusInEvent(QFocusEvent* Event) {
  QWidget::focusInEvent(Event);
  SetFocusedButton(FFocusedButton);
}

void TvnxSpinButton::focusOutEvent(QFocusEvent* Event) {
  QWidget::focusOutEvent(Event);
  SetFocusedButton(FFocusedButton);
}

void TvnxSpinButton::keyPressEvent(QKeyEvent* Event) {
  switch (Event->key()) {
    case Qt::Key_Up:
      SetFocusedButton(FUpButton);
      FUpButton->Click();
      break;
    case Qt::Key_Down:
      SetFocusedButton(FDownButton);
      FDownButton->Click();
      break;
    case Qt::Key_Space:
      FFocusedButton->Click();
      break;
    default:
      QWidget::keyPressEvent(Event);
  }
}

}  // namespace tsy
