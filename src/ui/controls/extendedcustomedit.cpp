#include "controls/extendedcustomedit.h"

#include <QEvent>
#include <QPalette>

namespace tsy {

TvnxExtendedCustomEdit::TvnxExtendedCustomEdit(QWidget* Parent) : QLineEdit(Parent) {
  const QPalette pal = palette();
  FColorEnabled = pal.color(QPalette::Active, QPalette::Base);
  FColorDisabled = pal.color(QPalette::Active, QPalette::Button);
  FWasEnabled = isEnabled();
  connect(this, &QLineEdit::textChanged, this, &TvnxExtendedCustomEdit::OnTextChanged);
  ApplyColor();
}

void TvnxExtendedCustomEdit::SetColorEnabled(const QColor& Color) {
  FColorEnabled = Color;
  if (isEnabled()) ApplyColor();
}

void TvnxExtendedCustomEdit::SetColorDisabled(const QColor& Color) {
  FColorDisabled = Color;
  if (!isEnabled()) ApplyColor();
}

QColor TvnxExtendedCustomEdit::Color() const { return isEnabled() ? FColorEnabled : FColorDisabled; }

void TvnxExtendedCustomEdit::SetColor(const QColor& Color) {
  if (isEnabled())
    SetColorEnabled(Color);
  else
    SetColorDisabled(Color);
}

void TvnxExtendedCustomEdit::ApplyColor() {
  // The one colour stands for every palette group, so the style cannot swap
  // in its own disabled background.
  QPalette pal = palette();
  pal.setColor(QPalette::Base, Color());
  setPalette(pal);
}

void TvnxExtendedCustomEdit::SetClearTextWhileDisabled(bool Value) {
  if (Value == FClearTextWhileDisabled) return;
  FClearTextWhileDisabled = Value;
  if (isEnabled()) return;
  if (Value) {
    if (!text().isEmpty()) FKeptText = text();
    SetShownText(QString());
  } else {
    SetShownText(FKeptText);
  }
}

QString TvnxExtendedCustomEdit::ContentText() const { return isEnabled() ? text() : FKeptText; }

void TvnxExtendedCustomEdit::changeEvent(QEvent* Event) {
  QLineEdit::changeEvent(Event);
  if (Event->type() == QEvent::EnabledChange && isEnabled() != FWasEnabled) {
    FWasEnabled = isEnabled();
    EnabledChanged();
  }
}

void TvnxExtendedCustomEdit::EnabledChanged() {
  ApplyColor();
  if (!isEnabled()) {
    if (!text().isEmpty()) FKeptText = text();
    if (FClearTextWhileDisabled) SetShownText(QString());
  } else {
    if (FClearTextWhileDisabled && !FKeptText.isEmpty()) SetShownText(FKeptText);
    FKeptText.clear();
  }
}

void TvnxExtendedCustomEdit::SetShownText(const QString& Text) { setText(Text); }

void TvnxExtendedCustomEdit::OnTextChanged() {
  if (FChecking) return;
  FChecking = true;
  try {
    CheckText();
  } catch (...) {
    FChecking = false;
    throw;
  }
  FChecking = false;
}

void TvnxExtendedCustomEdit::HideNewTextWhileDisabled() {
  if (text().isEmpty()) return;
  FKeptText = text();
  setText(QString());
}

void TvnxExtendedCustomEdit::CheckText() {
  if (isEnabled()) return;
  if (FClearTextWhileDisabled)
    HideNewTextWhileDisabled();
  else
    FKeptText = text();  // the shown text is the content; keep the two together
}

}  // namespace tsy
