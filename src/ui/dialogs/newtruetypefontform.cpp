#include "dialogs/newtruetypefontform.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tsy {

namespace {
const char* const kStyles[] = {"Regular", "Italic", "Bold", "Bold Italic"};
}

TNewTrueTypeFontForm::TNewTrueTypeFontForm(QWidget* Parent) : QDialog(Parent) {
  setWindowTitle(QStringLiteral("New TrueType Font"));
  auto* layout = new QVBoxLayout(this);

  auto* nameBox = new QGroupBox(QStringLiteral(" Font family &name "), this);
  auto* nameLayout = new QVBoxLayout(nameBox);
  FFamily = new QLineEdit(nameBox);
  nameLayout->addWidget(FFamily);
  layout->addWidget(nameBox);

  auto* row = new QHBoxLayout;
  FStyleBox = new QGroupBox(QStringLiteral(" &Font style "), this);
  auto* styleLayout = new QVBoxLayout(FStyleBox);
  FStyles = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    auto* button = new QRadioButton(QString::fromLatin1(kStyles[i]), FStyleBox);
    FStyles->addButton(button, i);
    styleLayout->addWidget(button);
  }
  FStyles->button(0)->setChecked(true);
  row->addWidget(FStyleBox);

  auto* setBox = new QGroupBox(QStringLiteral(" &Character set "), this);
  auto* setLayout = new QVBoxLayout(setBox);
  FUnicode = new QRadioButton(QStringLiteral("Unicode (characters)"), setBox);
  FSymbol = new QRadioButton(QStringLiteral("Symbol (signs, signatures)"), setBox);
  FUnicode->setChecked(true);
  setLayout->addWidget(FUnicode);
  setLayout->addWidget(FSymbol);
  setLayout->addStretch();
  row->addWidget(setBox);
  layout->addLayout(row);

  FButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(FButtons);
  connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(FSymbol, &QRadioButton::toggled, this, [this] { CharacterSetChanged(); });
  // A font without a family name would get empty names, the PostScript name
  // included, which no font may have.
  auto nameChanged = [this] { FButtons->button(QDialogButtonBox::Ok)->setEnabled(!FamilyName().isEmpty()); };
  connect(FFamily, &QLineEdit::textChanged, this, nameChanged);
  nameChanged();
  FFamily->setFocus();
}

QRadioButton* TNewTrueTypeFontForm::StyleButton(int Index) const {
  return qobject_cast<QRadioButton*>(FStyles->button(Index));
}

void TNewTrueTypeFontForm::CharacterSetChanged() {
  if (FSymbol->isChecked()) FStyles->button(0)->setChecked(true);
  FStyleBox->setEnabled(!FSymbol->isChecked());
}

QString TNewTrueTypeFontForm::FamilyName() const { return FFamily->text().trimmed(); }

QString TNewTrueTypeFontForm::StyleName() const {
  if (IsSymbol()) return QStringLiteral("Regular");
  const int id = FStyles->checkedId();
  return QString::fromLatin1(kStyles[id >= 0 && id < 4 ? id : 0]);
}

bool TNewTrueTypeFontForm::IsSymbol() const { return FSymbol->isChecked(); }

}  // namespace tsy
