// The installation wizard's pages and texts, with the installer replaced.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdlib>

#include "dialogs/fontinstallwizardform.h"
#include "settings/registrysettings.h"
#include "support/modal.h"
#include "support/screenshot.h"

namespace tsy {
namespace {

class FontInstallWizard : public ::testing::Test {
protected:
  void SetUp() override { setenv("XDG_DATA_HOME", FDir.path().toUtf8().constData(), 1); }
  void TearDown() override { unsetenv("XDG_DATA_HOME"); }
  QTemporaryDir FDir;
  TRegistrySettings FSettings{std::make_shared<TMemorySettingsBackend>()};
};

TEST_F(FontInstallWizard, WithoutNamesOnlyTheErrorShows) {
  TFontInstallWizardForm w(FSettings, "/tmp/x.ttf", std::nullopt);
  EXPECT_EQ(w.Page(), TFontInstallWizardForm::pgError);
  EXPECT_TRUE(w.NextButton()->isHidden());
  EXPECT_TRUE(w.BackButton()->isHidden());
}

TEST_F(FontInstallWizard, PagesTextsAndInstall) {
  std::vector<TFontInstallRequest> requests;
  std::string answer = "disk full";
  TFontInstallWizardForm w(FSettings, "/tmp/work/My Font.ttf", QString("Tessary Wizard Probe"), nullptr,
                           [&](const TFontInstallRequest& R) {
                             requests.push_back(R);
                             return answer;
                           });
  const QString target = FDir.path() + "/fonts/My Font.ttf";
  EXPECT_EQ(w.windowTitle(), "Font Installation Wizard");
  EXPECT_EQ(w.Page(), TFontInstallWizardForm::pgStep1);
  EXPECT_FALSE(w.CopyBox()->isHidden());
  EXPECT_TRUE(w.CopyBox()->isChecked());
  EXPECT_EQ(w.InstallText(),
            "The font named \"Tessary Wizard Probe\" will be installed and located at: \"" + target + "\".");
  w.CopyBox()->setChecked(false);
  EXPECT_FALSE(FSettings.InstallFontsInFontsFolder());
  EXPECT_TRUE(w.InstallText().endsWith("\"/tmp/work/My Font.ttf\"."));
  w.CopyBox()->setChecked(true);
  test::GrabWidget(&w, "install_wizard_step1");

  w.Next();  // not installed yet: straight to the last page
  EXPECT_EQ(w.Page(), TFontInstallWizardForm::pgFinish);
  EXPECT_EQ(w.NextButton()->text(), "&Finish");
  EXPECT_FALSE(w.BackButton()->isHidden());
  w.Back();
  EXPECT_EQ(w.Page(), TFontInstallWizardForm::pgStep1);
  EXPECT_TRUE(w.BackButton()->isHidden());
  w.Next();

  // A failure is shown and the wizard stays open on its page.
  test::WhenModal<QMessageBox>([](QMessageBox* box) {
    EXPECT_TRUE(box->text().startsWith("Font installation failed."));
    box->accept();
  });
  w.Next();
  EXPECT_EQ(w.Page(), TFontInstallWizardForm::pgFinish);
  EXPECT_EQ(w.result(), 0);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].CopyToFontFolder);
  EXPECT_EQ(requests[0].InstallName, "Tessary Wizard Probe");

  answer.clear();
  w.Next();
  EXPECT_EQ(w.result(), int(QDialog::Accepted));
}

}  // namespace
}  // namespace tsy
