#include "dialogs/fontinstallwizardform.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "settings/registrysettings.h"

namespace tsy {

namespace {

QString Quoted(const QString& S) { return "\"" + S + "\""; }

QLabel* WrappedLabel(const QString& Text, QWidget* Parent) {
  auto* label = new QLabel(Text, Parent);
  label->setWordWrap(true);
  return label;
}

QString FontFolder() { return QString::fromStdString(UserFontFolder()); }

bool SameFolder(const QString& A, const QString& B) {
  return QDir::cleanPath(QFileInfo(A).absoluteFilePath()) == QDir::cleanPath(QFileInfo(B).absoluteFilePath());
}

}  // namespace

TFontInstallWizardForm::TFontInstallWizardForm(TRegistrySettings& Settings, const QString& FileName,
                                               const std::optional<QString>& InstallName, QWidget* Parent,
                                               TInstaller Installer)
    : QDialog(Parent),
      FSettings(Settings),
      FFileName(QFileInfo(FileName).absoluteFilePath()),
      FInstallName(InstallName.value_or(QString())),
      FInstaller(Installer ? std::move(Installer) : TInstaller(&InstallFont)) {
  setWindowTitle("Font Installation Wizard");
  auto* layout = new QVBoxLayout(this);
  FPages = new QStackedWidget(this);
  layout->addWidget(FPages);

  auto* step1 = new QWidget(FPages);
  auto* l1 = new QVBoxLayout(step1);
  l1->addWidget(WrappedLabel("This wizard installs the font for you, so that every program on this desktop can use it.",
                             step1));
  FCopy = new QCheckBox("&Install the font in the user's fonts folder", step1);
  l1->addWidget(FCopy);
  FInstallText = WrappedLabel({}, step1);
  l1->addWidget(FInstallText);
  l1->addWidget(WrappedLabel("Click Next to continue with the installation, or click Cancel to exit this Wizard.", step1));
  l1->addStretch();
  FPages->addWidget(step1);

  auto* step2 = new QWidget(FPages);
  auto* l2 = new QVBoxLayout(step2);
  FSituation = WrappedLabel({}, step2);
  l2->addWidget(FSituation);
  FLaunch = new QCheckBox("&Launch the fonts folder", step2);
  l2->addWidget(FLaunch);
  l2->addWidget(WrappedLabel(
      "Click Next to continue with the installation, or click Back if you want to review any settings.", step2));
  l2->addStretch();
  FPages->addWidget(step2);

  auto* finish = new QWidget(FPages);
  auto* l3 = new QVBoxLayout(finish);
  l3->addWidget(WrappedLabel(
      "Click Finish to complete the installation, or click Back if you want to review or change any settings.",
      finish));
  l3->addWidget(WrappedLabel("The wizard is ready to install the font.\n\n"
                             "Programs that already use an older version of the font may keep showing it until "
                             "they are restarted. If the new version does not show:\n"
                             "-> Close the programs that use the font and open them again.\n"
                             "-> Change the font naming via TSY (see the help file).",
                             finish));
  l3->addStretch();
  FPages->addWidget(finish);

  auto* error = new QWidget(FPages);
  auto* l4 = new QVBoxLayout(error);
  FError = WrappedLabel({}, error);
  l4->addWidget(FError);
  l4->addStretch();
  FPages->addWidget(error);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  FBack = new QPushButton("< &Back", this);
  FNext = new QPushButton("&Next >", this);
  FCancel = new QPushButton("Cancel", this);
  buttons->addWidget(FBack);
  buttons->addWidget(FNext);
  buttons->addWidget(FCancel);
  layout->addLayout(buttons);
  connect(FBack, &QPushButton::clicked, this, &TFontInstallWizardForm::Back);
  connect(FNext, &QPushButton::clicked, this, &TFontInstallWizardForm::Next);
  connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(520, 340);

  if (FInstallName.isEmpty()) {
    FError->setText("Required Microsoft Naming fields are missing.");
    FBack->hide();
    FNext->hide();
    ShowPage(pgError);
    return;
  }
  FInstalledFile = QString::fromStdString(InstalledFontFile(FInstallName.toStdString()));
  FCopy->setChecked(Settings.InstallFontsInFontsFolder());
  FCopy->setVisible(!SameFolder(QFileInfo(FFileName).absolutePath(), FontFolder()));
  connect(FCopy, &QCheckBox::toggled, this, [this](bool On) {
    FSettings.SetInstallFontsInFontsFolder(On);
    UpdateTexts();
  });
  UpdateTexts();
  FBack->hide();
  ShowPage(pgStep1);
}

TFontInstallWizardForm::TPage TFontInstallWizardForm::Page() const { return TPage(FPages->currentIndex()); }
QString TFontInstallWizardForm::InstallText() const { return FInstallText->text(); }
QString TFontInstallWizardForm::SituationText() const { return FSituation->text(); }

QString TFontInstallWizardForm::TargetFile() const {
  // A file already in the font folder stays where it is; elsewhere it is
  // copied there, or linked from there when the box is cleared.
  if (FCopy->isChecked() && !SameFolder(QFileInfo(FFileName).absolutePath(), FontFolder()))
    return QDir(FontFolder()).filePath(QFileInfo(FFileName).fileName());
  return FFileName;
}

void TFontInstallWizardForm::UpdateTexts() {
  const QString target = TargetFile();
  const bool blocked = IsAlreadyInstalled() && FCopy->isChecked() && target != FFileName &&
                       QFileInfo::exists(target) && target != FInstalledFile;
  if (blocked)
    FInstallText->setText("The font named " + Quoted(FInstallName) +
                          " can't be installed because another font with the same filename: " + Quoted(target) +
                          " is already installed in this folder.");
  else
    FInstallText->setText("The font named " + Quoted(FInstallName) + " will be installed and located at: " +
                          Quoted(target) + ".");
  FNext->setEnabled(!blocked);

  QString situation = "The font " + Quoted(FInstallName) +
                      " is already installed. Currently the file is located at: " + Quoted(FInstalledFile) + ".\n";
  if (FInstalledFile != target) {
    situation += "This wizard will install the new version as: " + Quoted(target) + "\n";
    FLaunch->setChecked(true);
  } else {
    situation += "This wizard will install the new version at the same location as the previous version.\n";
    FLaunch->setChecked(false);
  }
  situation += "\nWhen installing a new version, it is recommended to first remove the old version even when you "
               "are 'just' going to overwrite it.\n\nYou can try to remove the previous font through the fonts "
               "folder.";
  FSituation->setText(situation);
}

void TFontInstallWizardForm::ShowPage(TPage Page) {
  FPages->setCurrentIndex(int(Page));
  FBack->setVisible(Page == pgStep2 || Page == pgFinish);
  FNext->setText(Page == pgFinish ? "&Finish" : "&Next >");
}

void TFontInstallWizardForm::Next() {
  switch (Page()) {
    case pgStep1: ShowPage(IsAlreadyInstalled() ? pgStep2 : pgFinish); break;
    case pgStep2:
      if (FLaunch->isChecked()) QDesktopServices::openUrl(QUrl::fromLocalFile(FontFolder()));
      ShowPage(pgFinish);
      break;
    case pgFinish:
      if (Install()) {
        FSettings.SetInstallFontsInFontsFolder(FCopy->isChecked());
        accept();
      }
      break;
    case pgError: break;
  }
}

void TFontInstallWizardForm::Back() {
  switch (Page()) {
    case pgStep2: ShowPage(pgStep1); break;
    case pgFinish: ShowPage(IsAlreadyInstalled() ? pgStep2 : pgStep1); break;
    default: break;
  }
}

bool TFontInstallWizardForm::Install() {
  TFontInstallRequest request;
  request.FileName = FFileName.toStdString();
  request.InstallName = FInstallName.toStdString();
  request.CopyToFontFolder = TargetFile() != FFileName;
  const std::string error = FInstaller(request);
  if (error.empty()) return true;
  QMessageBox::information(this, windowTitle(), "Font installation failed.\n" + QString::fromStdString(error));
  return false;
}

}  // namespace tsy
