#pragma once
// "New TrueType Font": the family name, the style and the character set of
// a font made from one of the two templates. A Symbol font is always Regular.
#include <QDialog>
#include <QString>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QDialogButtonBox;

namespace tsy {

class TNewTrueTypeFontForm : public QDialog {
  Q_OBJECT
public:
  explicit TNewTrueTypeFontForm(QWidget* Parent = nullptr);

  // The family name trimmed of surrounding blanks.
  QString FamilyName() const;
  // "Regular", "Italic", "Bold" or "Bold Italic"; "Regular" for Symbol.
  QString StyleName() const;
  bool IsSymbol() const;

  QLineEdit* FamilyField() const { return FFamily; }
  QGroupBox* StyleGroup() const { return FStyleBox; }
  QRadioButton* StyleButton(int Index) const;
  QRadioButton* UnicodeButton() const { return FUnicode; }
  QRadioButton* SymbolButton() const { return FSymbol; }
  QDialogButtonBox* Buttons() const { return FButtons; }

private:
  void CharacterSetChanged();

  QLineEdit* FFamily;
  QGroupBox* FStyleBox;
  QButtonGroup* FStyles;
  QRadioButton* FUnicode;
  QRadioButton* FSymbol;
  QDialogButtonBox* FButtons;
};

}  // namespace tsy
