#pragma once
// "Paste Special": which parts of the copied glyphs to paste, and how copied
// character codes meet the codes the font already maps.
#include <QDialog>

#include "document/clipboardcommands.h"

class QCheckBox;
class QDialogButtonBox;
class QGroupBox;
class QRadioButton;

namespace tsy {

class TPasteSpecialForm : public QDialog {
  Q_OBJECT
public:
  explicit TPasteSpecialForm(QWidget* Parent = nullptr);

  TPasteSpecialOptions Options() const;

  QCheckBox* OutlinesBox() const { return FOutlines; }
  QCheckBox* MetricsBox() const { return FMetrics; }
  QCheckBox* NamesBox() const { return FNames; }
  QCheckBox* MappingsBox() const { return FMappings; }
  QGroupBox* MappingModes() const { return FModes; }
  QRadioButton* ModeButton(int Mode) const { return FModeButtons[Mode]; }
  QDialogButtonBox* Buttons() const { return FButtons; }

private:
  void UpdateState();

  QCheckBox* FOutlines;
  QCheckBox* FMetrics;
  QCheckBox* FNames;
  QCheckBox* FMappings;
  QGroupBox* FModes;
  QRadioButton* FModeButtons[3];
  QDialogButtonBox* FButtons;
};

}  // namespace tsy
