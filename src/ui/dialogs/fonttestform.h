#pragma once
// "Test Font": a text window set in the font under test, as the desktop
// renders it. The text typed here is kept for the next test.
#include <QDialog>
#include <QFont>

class QComboBox;
class QPlainTextEdit;
class QToolButton;
class QPushButton;

namespace tsy {

class TRegistrySettings;
class TvnxExtendedSpinEdit;

class TFontTestForm : public QDialog {
  Q_OBJECT
public:
  // StyleCode: bit 0 italic, bit 1 bold, shown on the style buttons.
  // SampleFile empty: "tsypreview.txt" in the user's data folder.
  TFontTestForm(TRegistrySettings& Settings, const QString& Family, int StyleCode, QWidget* Parent = nullptr,
                const QString& SampleFile = {});

  static QStringList DefaultText();
  static QString DefaultSampleFile();

  QPlainTextEdit* Editor() const { return FEditor; }
  TvnxExtendedSpinEdit* SizeField() const { return FSize; }
  QToolButton* StyleButton(int Index) const { return FStyles[Index]; }  // bold, italic, underline, strike out
  QComboBox* WritingSystems() const { return FWritingSystems; }
  QFont TextFont() const { return FFont; }

  void done(int Result) override;

private:
  void ApplyFont();
  void SizeTextChanged();
  void Print();

  TRegistrySettings& FSettings;
  QString FSampleFile;
  QFont FFont;
  TvnxExtendedSpinEdit* FSize;
  QToolButton* FStyles[4];
  QComboBox* FWritingSystems;
  QPushButton* FPrint;
  QPlainTextEdit* FEditor;
};

}  // namespace tsy
