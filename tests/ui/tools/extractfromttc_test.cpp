// The collection extraction wizard and its progress window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "fontfile/truetypefont.h"
#include "support/collectionfile.h"
#include "support/modal.h"
#include "support/screenshot.h"
#include "tools/extractfromttcform.h"
#include "tools/extractionprogressform.h"

namespace tsy {
namespace {

const QString kSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString kBold = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
const QString kMono = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf");

class TExtractWizardTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const QString& f : {kSans, kBold, kMono})
      if (!QFileInfo::exists(f)) GTEST_SKIP() << "DejaVu fonts are not installed";
    Collection = Temp.filePath("sample.ttc");
    ASSERT_TRUE(test::WriteCollectionFile({kSans, kBold, kMono}, Collection));
  }
  QTemporaryDir Temp;
  QString Collection;
};

TEST_F(TExtractWizardTest, NextNeedsACollectionAndADestination) {
  TExtractFromTTCForm wizard;
  EXPECT_EQ(wizard.PrefixField()->text(), "_");
  EXPECT_FALSE(wizard.NextButton()->isEnabled());
  wizard.Preselect(Collection);
  EXPECT_EQ(wizard.DestinationField()->text(), Temp.path() + "/");
  EXPECT_EQ(wizard.PrefixField()->text(), "sample_");
  EXPECT_TRUE(wizard.NextButton()->isEnabled());
  test::GrabWidget(&wizard, "extract_wizard_page1");

  wizard.DestinationField()->clear();
  EXPECT_FALSE(wizard.NextButton()->isEnabled());
  // Changing the source alone does not bring Next back without a folder.
  wizard.SourceField()->setText(Collection + " ");
  wizard.SourceField()->setText(Collection);
  EXPECT_FALSE(wizard.NextButton()->isEnabled());
  wizard.DestinationField()->setText(Temp.path());
  EXPECT_TRUE(wizard.NextButton()->isEnabled());
  wizard.SourceField()->setText(kSans);  // a font, not a collection
  EXPECT_FALSE(wizard.NextButton()->isEnabled());
  wizard.Next();
  EXPECT_FALSE(wizard.OnFontsPage());
}

TEST_F(TExtractWizardTest, ListsTheMembersAndFollowsThePrefix) {
  TExtractFromTTCForm wizard;
  wizard.show();
  wizard.Preselect(Collection);
  wizard.NextButton()->click();
  ASSERT_TRUE(wizard.OnFontsPage());
  EXPECT_EQ(wizard.NextButton()->text(), "&Finish");
  EXPECT_TRUE(wizard.BackButton()->isVisible());
  QTreeWidget* list = wizard.FontList();
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_EQ(list->topLevelItem(0)->text(0), "DejaVu Sans");
  EXPECT_EQ(list->topLevelItem(1)->text(0), "DejaVu Sans Bold");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(list->topLevelItem(i)->text(1), QStringLiteral("sample_%1.ttf").arg(i));
    EXPECT_EQ(list->topLevelItem(i)->checkState(0), Qt::Checked);
  }
  test::GrabWidget(&wizard, "extract_wizard_page2");

  wizard.BackButton()->click();
  EXPECT_FALSE(wizard.OnFontsPage());
  EXPECT_EQ(wizard.NextButton()->text(), "&Next >");
  wizard.PrefixField()->setText("x-");
  wizard.NextButton()->click();
  EXPECT_EQ(list->topLevelItem(2)->text(1), "x-2.ttf");
}

TEST_F(TExtractWizardTest, FinishNeedsAFontCreatesTheFolderAndTheWorkerWritesTheChosenMembers) {
  TExtractFromTTCForm wizard;
  wizard.show();
  wizard.Preselect(Collection);
  const QString target = Temp.filePath("out/deeper");
  wizard.DestinationField()->setText(target);
  wizard.NextButton()->click();
  QTreeWidget* list = wizard.FontList();
  for (int i = 0; i < 3; ++i) list->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
  QString message;
  test::WhenModal<QMessageBox>([&](QMessageBox* Box) {
    message = Box->text();
    Box->accept();
  });
  wizard.NextButton()->click();
  EXPECT_EQ(message, "No TrueType fonts selected.");
  EXPECT_TRUE(wizard.isVisible());
  EXPECT_EQ(wizard.result(), 0);

  list->topLevelItem(1)->setCheckState(0, Qt::Checked);
  wizard.NextButton()->click();
  EXPECT_EQ(wizard.result(), QDialog::Accepted);
  EXPECT_TRUE(QFileInfo(target).isDir());
  EXPECT_EQ(wizard.Selected(), std::vector<bool>({false, true, false}));

  TExtractionProgressForm progress({wizard.SourceFile().toStdString(), wizard.DestinationFolder().toStdString(),
                                    wizard.Prefix().toStdString(), wizard.Selected(), wizard.Names()});
  EXPECT_EQ(progress.exec(), QDialog::Accepted);
  EXPECT_TRUE(progress.ErrorText().isEmpty());
  EXPECT_EQ(QDir(target).entryList(QDir::Files), QStringList{"sample_1.ttf"});
  TTrueTypeFont extracted;
  extracted.LoadFromFile(QDir(target).filePath("sample_1.ttf").toStdString());
  TTrueTypeFont original;
  original.LoadFromFile(kBold.toStdString());
  EXPECT_EQ(extracted.GlyphCount(), original.GlyphCount());
}

TEST_F(TExtractWizardTest, AWorkerErrorEndsTheProgressWindowWithItsText) {
  // The collection disappears between the wizard and the worker.
  TExtractionProgressForm progress({Temp.filePath("gone.ttc").toStdString(), Temp.path().toStdString(), "p",
                                    {true}, {"x"}});
  EXPECT_EQ(progress.exec(), QDialog::Rejected);
  EXPECT_FALSE(progress.ErrorText().isEmpty());
  EXPECT_EQ(progress.TextLabel()->text(), TExtractionProgressForm::FailureText());
}

}  // namespace
}  // namespace tsy
