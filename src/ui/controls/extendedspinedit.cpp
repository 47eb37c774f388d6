#include "controls/extendedspinedit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QStyle>
#include <cmath>

#include "controls/numbertext.h"
#include "controls/spinbutton.h"

namespace tsy {

namespace {

QString DecimalSeparator() { return QLocale().decimalPoint(); }

struct TIntegerLimits {
  long double Min, Max;
};

TIntegerLimits LimitsOf(TIntegerType Type) {
  switch (Type) {
    case itInteger_Generic:
    case itLongint: return {-2147483648.0L, 2147483647.0L};
    case itCardinal_Generic:
    case itLongword: return {0.0L, 4294967295.0L};
    case itShortint: return {-128.0L, 127.0L};
    case itSmallint: return {-32768.0L, 32767.0L};
    case itInt64: return {-9223372036854775808.0L, 9223372036854775807.0L};
    case itByte: return {0.0L, 255.0L};
    case itWord: return {0.0L, 65535.0L};
    case itUserDefined: break;
  }
  return {0.0L, 0.0L};
}

}  // namespace

TvnxExtendedSpinEdit::TvnxExtendedSpinEdit(QWidget* Parent)
    : TvnxExtendedCustomEdit(Parent), FButton(new TvnxSpinButton(this)) {
  FButton->SetFocusControl(this);
  FButton->setCursor(Qt::ArrowCursor);
  connect(FButton, &TvnxSpinButton::UpClick, this, &TvnxExtendedSpinEdit::Up);
  connect(FButton, &TvnxSpinButton::DownClick, this, &TvnxExtendedSpinEdit::Down);
  // Typed text must never run under the buttons.
  setTextMargins(0, 0, ButtonWidth + 2, 0);
  setText(QStringLiteral("0"));
  LayoutButton();
}

// ---------------------------------------------------------------------------
// Value, limits and text

QString TvnxExtendedSpinEdit::FormatValue(long double X) const {
  QString text = QString::fromStdString(FormatNumberText(LimitValue(X), FDigits));
  const QString separator = DecimalSeparator();
  if (separator != QLatin1String(".")) text.replace(QLatin1Char('.'), separator);
  return text;
}

long double TvnxExtendedSpinEdit::LimitValue(long double X) const {
  if (FMinValue == FMaxValue) return X;
  if (X < FMinValue) return FMinValue;
  if (X > FMaxValue) return FMaxValue;
  return X;
}

std::optional<long double> TvnxExtendedSpinEdit::ReadText(const QString& Text) const {
  QString text = Text;
  const QString separator = DecimalSeparator();
  if (separator != QLatin1String(".")) {
    // Only the locale's separator counts; a '.' there is as wrong as a letter.
    if (text.contains(QLatin1Char('.'))) return std::nullopt;
    text.replace(separator, QLatin1String("."));
  }
  return ParseNumberText(text.toStdString());
}

bool TvnxExtendedSpinEdit::IsEmptyText(const QString& Text) const {
  return Text.isEmpty() || Text == QLatin1String("-");
}

void TvnxExtendedSpinEdit::SetValue(long double X) {
  FLastValue = X;
  SetShownText(FormatValue(X));
}

long double TvnxExtendedSpinEdit::Value() {
  long double value;
  if (isEnabled()) {
    const QString t = text();
    if (IsEmptyText(t)) {
      value = 0;
    } else if (const auto read = ReadText(t)) {
      value = *read;
      FLastValue = value;
    } else {
      value = FLastValue;
      SetValue(FLastValue);
    }
  } else if (const auto read = ReadText(KeptText())) {
    value = *read;
    FLastValue = value;
  } else {
    value = FLastValue;
    SetValue(FLastValue);
  }
  return LimitValue(value);
}

void TvnxExtendedSpinEdit::CheckText() {
  if (!isEnabled() && ClearTextWhileDisabled()) {
    HideNewTextWhileDisabled();
    return;
  }
  const QString t = text();
  if (!(FAllowEmpty && IsEmptyText(t)) && !ReadText(t)) SetShownText(FormatValue(FLastValue));
  if (!isEnabled()) SetKeptText(text());
}

void TvnxExtendedSpinEdit::SetMinValue(long double Value) {
  if (Value == FMinValue) return;
  FIntegerType = itUserDefined;
  FMinValue = Value;
  if (FMaxValue < Value) FMaxValue = Value;
}

void TvnxExtendedSpinEdit::SetMaxValue(long double Value) {
  if (Value == FMaxValue) return;
  FIntegerType = itUserDefined;
  FMaxValue = Value;
  if (FMinValue > Value) FMinValue = Value;
}

void TvnxExtendedSpinEdit::SetDigits(int Value) {
  Value = std::clamp(Value, 0, 18);
  if (Value == FDigits) return;
  const bool showsLast = ContentText() == FormatValue(FLastValue);
  FDigits = Value;
  Reformat(showsLast);
}

void TvnxExtendedSpinEdit::SetIntegerType(TIntegerType Type) {
  FIntegerType = Type;
  if (Type == itUserDefined) return;
  const bool showsLast = ContentText() == FormatValue(FLastValue);
  const TIntegerLimits limits = LimitsOf(Type);
  FMinValue = limits.Min;
  FMaxValue = limits.Max;
  FDigits = 0;
  setMaxLength(32767);
  Reformat(showsLast);
}

void TvnxExtendedSpinEdit::Reformat(bool ShowsLastValue) {
  // A text that is just the formatted last value is redrawn from that value,
  // so more decimals show what was set, not zeros.
  if (FAllowEmpty && IsEmptyText(ContentText())) return;
  SetShownText(FormatValue(ShowsLastValue ? FLastValue : Value()));
}

// ---------------------------------------------------------------------------
// Stepping

void TvnxExtendedSpinEdit::Up() { Step(true); }
void TvnxExtendedSpinEdit::Down() { Step(false); }

void TvnxExtendedSpinEdit::Step(bool Upward) {
  if (FReadOnly) {
    QApplication::beep();
    return;
  }
  const long double v = Value();
  const long double s = FIncrement;
  long double result;
  if (std::fabs(s) >= 1)
    result = Upward ? std::floor(v) + s : std::ceil(v) - s;
  else
    result = Upward ? v + s : v - s;
  SetShownText(FormatValue(result));
}

// ---------------------------------------------------------------------------
// Editing state

void TvnxExtendedSpinEdit::SetEditorEnabled(bool Value) {
  FEditorEnabled = Value;
  UpdateEditorState();
}

void TvnxExtendedSpinEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  UpdateEditorState();
}

void TvnxExtendedSpinEdit::UpdateEditorState() {
  // The line edit's own read-only state blocks typing, cutting, pasting and
  // dropping; stepping is governed by FReadOnly alone.
  QLineEdit::setReadOnly(!CanEditText());
}

void TvnxExtendedSpinEdit::keyPressEvent(QKeyEvent* Event) {
  switch (Event->key()) {
    case Qt::Key_Up:
      Up();
      Event->accept();
      return;
    case Qt::Key_Down:
      Down();
      Event->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // The line edit reports returnPressed and passes the key on to the
      // dialog, so its default button acts.
      QLineEdit::keyPressEvent(Event);
      Event->ignore();
      return;
    case Qt::Key_Escape:
      Event->ignore();
      return;
    default: break;
  }
  if (Event->matches(QKeySequence::Paste) || Event->matches(QKeySequence::Cut)) {
    if (!CanEditText()) {
      QApplication::beep();
      Event->accept();
      return;
    }
    QLineEdit::keyPressEvent(Event);
    return;
  }
  if ((Event->key() == Qt::Key_Backspace || Event->key() == Qt::Key_Delete) && !FEditorEnabled) {
    QApplication::beep();
    Event->accept();
    return;
  }
  // Shortcuts (select all, copy, undo) are not typed characters.
  const Qt::KeyboardModifiers shortcutModifiers = Qt::ControlModifier | Qt::MetaModifier;
  const QString typed = Event->text();
  if (!(Event->modifiers() & shortcutModifiers) && !typed.isEmpty()) {
    const QString separator = DecimalSeparator();
    bool allowed = true;
    for (const QChar c : typed) {
      const char16_t u = c.unicode();
      if (u < 32 && u != u'\r') continue;  // control characters pass
      if (u == 127) continue;              // Delete, handled above
      const bool numberChar = (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || separator.contains(c);
      if (!numberChar || !FEditorEnabled) allowed = false;
    }
    if (!allowed) {
      QApplication::beep();
      Event->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(Event);
}

void TvnxExtendedSpinEdit::focusInEvent(QFocusEvent* Event) {
  QLineEdit::focusInEvent(Event);
  if (Event->reason() == Qt::MouseFocusReason || Event->reason() == Qt::PopupFocusReason ||
      Event->reason() == Qt::ActiveWindowFocusReason)
    return;
  if (FAutoSelect)
    selectAll();
  else
    deselect();
}

void TvnxExtendedSpinEdit::focusOutEvent(QFocusEvent* Event) {
  // A context menu or another window taking the focus is not leaving the field.
  if (Event->reason() != Qt::PopupFocusReason && Event->reason() != Qt::ActiveWindowFocusReason && isEnabled()) {
    if (text().isEmpty() && !FAllowEmpty) SetShownText(FormatValue(FLastValue));
    if (!(FAllowEmpty && text().isEmpty())) SetShownText(FormatValue(Value()));
  }
  QLineEdit::focusOutEvent(Event);
}

// ---------------------------------------------------------------------------
// Layout

void TvnxExtendedSpinEdit::resizeEvent(QResizeEvent* Event) {
  QLineEdit::resizeEvent(Event);
  LayoutButton();
}

void TvnxExtendedSpinEdit::LayoutButton() {
  const int frame = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
  FButton->setGeometry(width() - ButtonWidth - frame, frame, ButtonWidth, height() - 2 * frame);
}

int TvnxExtendedSpinEdit::MinimumHeight() const {
  // Room for the text with a little air, and for two usable arrow halves.
  const QFontMetrics fm(font());
  const QFontMetrics system(QApplication::font());
  const int textHeight = fm.height();
  const int border = 1;
  return 4 * border + textHeight + std::min(textHeight, system.height()) / 4 + 2;
}

QSize TvnxExtendedSpinEdit::sizeHint() const {
  QSize size = QLineEdit::sizeHint();
  size.setHeight(std::max(size.height(), MinimumHeight()));
  return size;
}

QSize TvnxExtendedSpinEdit::minimumSizeHint() const {
  QSize size = QLineEdit::minimumSizeHint();
  size.setHeight(std::max(size.height(), MinimumHeight()));
  size.setWidth(std::max(size.width(), ButtonWidth + 24));
  return size;
}

}  // namespace tsy
