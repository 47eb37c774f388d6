#include "dialogs/insertglyphform.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/extendedspinedit.h"

namespace tsy {

namespace {
constexpr int kMaxGlyphs = 65535;
}

TInsertGlyphForm::TInsertGlyphForm(int GlyphCount, int SelectedCount, QWidget* Parent)
    : QDialog(Parent), FGlyphCount(GlyphCount), FSelectedCount(SelectedCount) {
  setWindowTitle("Insert Glyphs");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  FCount = new TvnxExtendedSpinEdit(this);
  FCount->SetDigits(0);
  FCount->SetMinValue(1);
  FCount->SetValue(1);
  form->addRow("&Count:", FCount);
  layout->addLayout(form);

  auto* group = new QGroupBox("Position", this);
  auto* positions = new QVBoxLayout(group);
  const char* captions[4] = {"At top", "After last glyph", "Before each selected glyph", "After each selected glyph"};
  for (int i = 0; i < 4; ++i) {
    FPositions[i] = new QRadioButton(captions[i], group);
    positions->addWidget(FPositions[i]);
  }
  FPositions[1]->setChecked(true);
  FPositions[2]->setEnabled(SelectedCount > 0);
  FPositions[3]->setEnabled(SelectedCount > 0);
  layout->addWidget(group);

  FButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(FButtons);
  for (QRadioButton* b : FPositions) connect(b, &QRadioButton::toggled, this, &TInsertGlyphForm::UpdateLimit);
  UpdateLimit();
}

int TInsertGlyphForm::MaxCount(int Position) const {
  const int room = std::max(0, kMaxGlyphs - FGlyphCount);
  if (Position >= 2) return FSelectedCount > 0 ? room / FSelectedCount : 0;
  return room;
}

int TInsertGlyphForm::Position() const {
  for (int i = 0; i < 4; ++i)
    if (FPositions[i]->isChecked()) return i;
  return 1;
}

int TInsertGlyphForm::Count() { return int(FCount->Value()); }

void TInsertGlyphForm::UpdateLimit() {
  const int limit = MaxCount(Position());
  // A full font leaves nothing to insert: OK stays off.
  FCount->SetMaxValue(std::max(1, limit));
  FCount->SetValue(std::min<long double>(FCount->LastValue(), std::max(1, limit)));
  FButtons->button(QDialogButtonBox::Ok)->setEnabled(limit >= 1);
}

}  // namespace tsy
