#pragma once
// The up/down button pair of the number field. Each half is a flat button
// that repeats its click while it is held: the first repeat comes after
// 400 ms, then one every 100 ms, and the release inside the half clicks once
// more.
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tsy {

class TvnxTimerSpeedButton : public QWidget {
  Q_OBJECT
public:
  enum TArrow { arUp, arDown };
  explicit TvnxTimerSpeedButton(TArrow Arrow, QWidget* Parent = nullptr);

  static constexpr int InitRepeatPause = 400;  // ms before the first repeat
  static constexpr int RepeatPause = 100;      // ms between repeats

  bool IsDown() const { return FDown; }
  bool Repeating() const { return FRepeatTimer.isActive(); }
  void SetShowFocus(bool Value);
  // Raises the click; an exception leaves through the caller.
  void Click();

signals:
  void pressed();
  void clicked();

protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;

private:
  void TimerExpired();
  void StopRepeat();

  TArrow FArrow;
  bool FDown = false;        // the mouse was pressed on the half and is held
  bool FMouseInside = false; // and is over it now
  bool FShowFocus = false;
  QTimer FRepeatTimer;
};

class TvnxSpinButton : public QWidget {
  Q_OBJECT
public:
  explicit TvnxSpinButton(QWidget* Parent = nullptr);

  // The control that takes the focus when a half is pressed.
  QWidget* FocusControl() const { return FFocusControl; }
  void SetFocusControl(QWidget* Control) { FFocusControl = Control; }

  TvnxTimerSpeedButton* UpButton() const { return FUpButton; }
  TvnxTimerSpeedButton* DownButton() const { return FDownButton; }
  TvnxTimerSpeedButton* FocusedButton() const { return FFocusedButton; }

signals:
  void UpClick();
  void DownClick();

protected:
  void resizeEvent(QResizeEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;

private:
  void ButtonPressed(TvnxTimerSpeedButton* Button);
  void SetFocusedButton(TvnxTimerSpeedButton* Button);
  void LayoutButtons();

  TvnxTimerSpeedButton* FUpButton;
  TvnxTimerSpeedButton* FDownButton;
  TvnxTimerSpeedButton* FFocusedButton;
  QPointer<QWidget> FFocusControl;
};

}  // namespace tsy
