#pragma once
// The "Warning" window of every warning that the user may switch off: the
// message beside the warning icon, "Don't Show this Warning Again", and Yes
// (the default) and No. A ticked box can only be confirmed with Yes.
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tsy {

class TExtendedWarningForm : public QDialog {
  Q_OBJECT
public:
  explicit TExtendedWarningForm(const QString& Message, QWidget* Parent = nullptr);

  bool DontShowAgain() const;
  QCheckBox* DontShowAgainBox() const { return FDontShow; }
  QPushButton* YesButton() const { return FYes; }
  QPushButton* NoButton() const { return FNo; }

  // Shows the warning modally; true for Yes. DontShowAgain receives the box.
  static bool Ask(QWidget* Parent, const QString& Message, bool& DontShowAgain);

private:
  QCheckBox* FDontShow;
  QPushButton* FYes;
  QPushButton* FNo;
};

}  // namespace tsy
