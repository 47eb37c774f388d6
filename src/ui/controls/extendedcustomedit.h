#pragma once
// Single-line text fields that keep their content while disabled. A disabled
// field can show its text greyed (the default) or nothing at all
// (ClearTextWhileDisabled); either way the text that stands for its content
// is kept and comes back when the field is enabled again.
#include <QColor>
#include <QLineEdit>
#include <QString>

namespace tsy {

class TvnxExtendedCustomEdit : public QLineEdit {
  Q_OBJECT
public:
  explicit TvnxExtendedCustomEdit(QWidget* Parent = nullptr);

  QColor ColorEnabled() const { return FColorEnabled; }
  void SetColorEnabled(const QColor& Color);
  QColor ColorDisabled() const { return FColorDisabled; }
  void SetColorDisabled(const QColor& Color);
  // The control's colour: ColorEnabled while enabled, ColorDisabled while not.
  QColor Color() const;
  void SetColor(const QColor& Color);

  bool ClearTextWhileDisabled() const { return FClearTextWhileDisabled; }
  void SetClearTextWhileDisabled(bool Value);

  // The text that stands for the content while the field is disabled (empty
  // while it is enabled).
  QString KeptText() const { return FKeptText; }
  // What the field holds: the kept text while disabled, the shown text otherwise.
  QString ContentText() const;

protected:
  void changeEvent(QEvent* Event) override;
  // Runs after every change of the text, never re-entered while it runs.
  virtual void CheckText();
  // The shared handling of a disabled field whose text is hidden: a new
  // non-empty text becomes the kept text and is not shown.
  void HideNewTextWhileDisabled();
  // Sets the shown text; the change is checked like any other.
  void SetShownText(const QString& Text);
  void SetKeptText(const QString& Text) { FKeptText = Text; }
  bool CheckingText() const { return FChecking; }

private:
  void OnTextChanged();
  void ApplyColor();
  void EnabledChanged();

  QColor FColorEnabled, FColorDisabled;
  bool FClearTextWhileDisabled = false;
  bool FChecking = false;
  bool FWasEnabled = true;
  QString FKeptText;
};

// A plain text field with the disabled-state handling; its text is not checked.
class TvnxExtendedEdit : public TvnxExtendedCustomEdit {
  Q_OBJECT
public:
  explicit TvnxExtendedEdit(QWidget* Parent = nullptr) : TvnxExtendedCustomEdit(Parent) {}
};

}  // namespace tsy
