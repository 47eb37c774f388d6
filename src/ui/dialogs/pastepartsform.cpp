#include "dialogs/pastepartsform.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tsy {

TPasteSpecialForm::TPasteSpecialForm(QWidget* Parent) : QDialog(Parent) {
  setWindowTitle("Paste Special");
  auto* layout = new QVBoxLayout(this);
  FOutlines = new QCheckBox("Glyph Outline Data", this);
  FMetrics = new QCheckBox("Glyph Metrics", this);
  FNames = new QCheckBox("Glyph Postscript", this);
  FMappings = new QCheckBox("Glyph Mappings", this);
  FOutlines->setChecked(true);
  FMetrics->setChecked(true);
  for (QCheckBox* box : {FOutlines, FMetrics, FNames, FMappings}) {
    layout->addWidget(box);
    connect(box, &QCheckBox::toggled, this, &TPasteSpecialForm::UpdateState);
  }

  FModes = new QGroupBox("Mappings", this);
  auto* modes = new QVBoxLayout(FModes);
  const char* captions[3] = {"Keep same mappings", "Overrule same mappings", "Add mappings"};
  for (int i = 0; i < 3; ++i) {
    FModeButtons[i] = new QRadioButton(captions[i], FModes);
    modes->addWidget(FModeButtons[i]);
  }
  FModeButtons[0]->setChecked(true);
  layout->addWidget(FModes);

  FButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(FButtons);
  UpdateState();
}

void TPasteSpecialForm::UpdateState() {
  const bool any = FOutlines->isChecked() || FMetrics->isChecked() || FNames->isChecked() || FMappings->isChecked();
  FButtons->button(QDialogButtonBox::Ok)->setEnabled(any);
  FModes->setEnabled(FMappings->isChecked());
}

TPasteSpecialOptions TPasteSpecialForm::Options() const {
  TPasteSpecialOptions o;
  o.Outlines = FOutlines->isChecked();
  o.Metrics = FMetrics->isChecked();
  o.Names = FNames->isChecked();
  o.Mappings = FMappings->isChecked();
  for (int i = 0; i < 3; ++i)
    if (FModeButtons[i]->isChecked()) o.MappingMode = TPasteSpecialOptions::TMappingMode(i);
  return o;
}

}  // namespace tsy
