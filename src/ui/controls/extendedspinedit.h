#pragma once
// The number field of every dialog and toolbar: a real value shown with a
// fixed number of decimals, kept within limits, with filtered keys and a pair
// of up/down buttons that step the value and repeat while held. Dialogs read
// the value as a real number and round it themselves where they need whole
// numbers.
#include <optional>

#include "controls/extendedcustomedit.h"

namespace tsy {

class TvnxSpinButton;

enum TIntegerType {
  itInteger_Generic,
  itCardinal_Generic,
  itShortint,
  itSmallint,
  itLongint,
  itInt64,
  itByte,
  itWord,
  itLongword,
  itUserDefined
};

class TvnxExtendedSpinEdit : public TvnxExtendedCustomEdit {
  Q_OBJECT
public:
  explicit TvnxExtendedSpinEdit(QWidget* Parent = nullptr);

  static constexpr int ButtonWidth = 15;

  // The value in the field, limited (see GetValue in the .cpp).
  long double Value();
  double ValueDouble() { return static_cast<double>(Value()); }
  // Sets the last value (not limited) and shows it limited.
  void SetValue(long double X);

  long double MinValue() const { return FMinValue; }
  void SetMinValue(long double Value);
  long double MaxValue() const { return FMaxValue; }
  void SetMaxValue(long double Value);
  long double Increment() const { return FIncrement; }
  void SetIncrement(long double Value) { FIncrement = Value; }
  int Digits() const { return FDigits; }
  void SetDigits(int Value);
  bool AllowEmpty() const { return FAllowEmpty; }
  void SetAllowEmpty(bool Value) { FAllowEmpty = Value; }
  // False: the text cannot be typed, cut or pasted; the buttons still step.
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value);
  // Read-only: nothing changes the value, not even stepping (which beeps).
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // Select the whole text when the field is entered other than by a click.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TIntegerType IntegerType() const { return FIntegerType; }
  void SetIntegerType(TIntegerType Type);

  // The last value set or successfully read from the text.
  long double LastValue() const { return FLastValue; }

  // Text of a value: limited, fixed-point, Digits decimals, locale separator.
  QString FormatValue(long double X) const;
  long double LimitValue(long double X) const;

  void Up();
  void Down();

  TvnxSpinButton* Button() const { return FButton; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

protected:
  void CheckText() override;
  void keyPressEvent(QKeyEvent* Event) override;
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

private:
  std::optional<long double> ReadText(const QString& Text) const;
  bool IsEmptyText(const QString& Text) const;
  void Step(bool Upward);
  void Reformat(bool ShowsLastValue);
  void UpdateEditorState();
  void LayoutButton();
  int MinimumHeight() const;
  bool CanEditText() const { return FEditorEnabled && !FReadOnly; }

  TvnxSpinButton* FButton;
  long double FLastValue = 0;
  long double FMinValue = 0, FMaxValue = 0;
  long double FIncrement = 1;
  int FDigits = 2;
  bool FAllowEmpty = false;
  bool FEditorEnabled = true;
  bool FReadOnly = false;
  bool FAutoSelect = true;
  TIntegerType FIntegerType = itUserDefined;
};

}  // namespace tsy
