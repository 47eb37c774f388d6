#pragma once
// "Font Installation Wizard": installs the saved font for the user, as a copy
// in the user's font folder or as a link to the file where it lies, and
// replaces an installed older version of the same name.
#include <QDialog>
#include <functional>
#include <optional>

#include "fonts/fontinstaller.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace tsy {

class TRegistrySettings;

class TFontInstallWizardForm : public QDialog {
  Q_OBJECT
public:
  enum TPage { pgStep1 = 0, pgStep2 = 1, pgFinish = 2, pgError = 3 };
  // The installer; replaceable for tests. Returns an error text, empty on success.
  using TInstaller = std::function<std::string(const TFontInstallRequest&)>;

  // InstallName empty: the font has no usable name records (the error page).
  TFontInstallWizardForm(TRegistrySettings& Settings, const QString& FileName, const std::optional<QString>& InstallName,
                         QWidget* Parent = nullptr, TInstaller Installer = {});

  TPage Page() const;
  QString InstallText() const;
  QString SituationText() const;
  QCheckBox* CopyBox() const { return FCopy; }
  QCheckBox* LaunchBox() const { return FLaunch; }
  QPushButton* BackButton() const { return FBack; }
  QPushButton* NextButton() const { return FNext; }
  QString TargetFile() const;
  bool IsAlreadyInstalled() const { return !FInstalledFile.isEmpty(); }

  void Next();
  void Back();

private:
  void ShowPage(TPage Page);
  void UpdateTexts();
  bool Install();

  TRegistrySettings& FSettings;
  QString FFileName;
  QString FInstallName;
  QString FInstalledFile;
  TInstaller FInstaller;
  QStackedWidget* FPages;
  QLabel* FInstallText;
  QLabel* FSituation;
  QLabel* FError;
  QCheckBox* FCopy;
  QCheckBox* FLaunch;
  QPushButton* FBack;
  QPushButton* FNext;
  QPushButton* FCancel;
};

}  // namespace tsy
