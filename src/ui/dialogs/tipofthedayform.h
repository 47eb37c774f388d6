#pragma once
// "Tip of the day": one line of the tips file at a time. Every opening and
// every "Next tip" moves on by one, wrapping to the first past the last; on
// closing the dialog remembers the tip shown and whether it should open at
// the next start.
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tsy {

class TRegistrySettings;

class TTipOfTheDayForm : public QDialog {
  Q_OBJECT
public:
  // TipFile empty: "tsy.tip" in the resources folder.
  TTipOfTheDayForm(TRegistrySettings& Settings, QWidget* Parent = nullptr, const QString& TipFile = {});

  // The tips of a file, one per non-empty line; the fixed "no tips" line when
  // the file cannot be read or holds none.
  static QStringList LoadTips(const QString& FileName);

  int CurrentTip() const { return FCurrent; }
  QString ShownTip() const;
  QCheckBox* ShowOnStartupBox() const { return FShowOnStartup; }
  QPushButton* NextButton() const { return FNext; }

  void NextTip();

  void done(int Result) override;

private:
  TRegistrySettings& FSettings;
  QStringList FTips;
  int FCurrent = 0;
  QLabel* FTipText;
  QCheckBox* FShowOnStartup;
  QPushButton* FNext;
};

}  // namespace tsy
