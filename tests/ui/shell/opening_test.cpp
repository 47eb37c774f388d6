// The frame opening every kind of file: backups, collections, new fonts from
// the templates, dropped files and files handed over by another instance,
// and the recent-files list kept in the settings.
#include "shell/mainformtsy4.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include "dialogs/tipofthedayform.h"
#include "document/fontmanager.h"
#include "fontfile/tables/head.h"
#include "fontfile/truetypefont.h"
#include "settings/registrysettings.h"
#include "shell/fontoverviewform.h"
#include "shell/tsyapplication.h"
#include "support/collectionfile.h"
#include "support/modal.h"
#include "support/screenshot.h"
#include "tools/extractfromttcform.h"

namespace tsy {
namespace {

const QString kDejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString kDejaVuBold = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");

void ClearRecentFiles() {
  TRegistrySettings& settings = TRegistrySettings::Instance();
  for (int i = 0; i < 10; ++i)
    if (settings.PeekString(TMainFormTSY4::RecentFilesKey(), "File_" + std::to_string(i)))
      settings.DeleteSettingValue(TMainFormTSY4::RecentFilesKey(), "File_" + std::to_string(i));
}

class TOpeningTest : public ::testing::Test {
protected:
  void SetUp() override {
    ClearRecentFiles();
    TRegistrySettings::Instance().SetSetLeftSideBearingPointAtX0(false);
    PreviousDisplay = TTsyApplication::SetErrorDisplay([this](const QString& M) { Errors.append(M); });
    PreviousQuestion = TFontOverviewForm::SetQuestion([this](QWidget*, const QString& Text) {
      Questions.append(Text);
      return Answer;
    });
    PreviousFrameQuestion = TMainFormTSY4::SetQuestion([this](QWidget*, const QString& Text) {
      FrameQuestions.append(Text);
      return Answer;
    });
    PreviousSaveName = TFontOverviewForm::SetSaveNameDialog([this](QWidget*, const QString& Proposed) {
      Proposals.append(Proposed);
      return SaveName;
    });
  }
  void TearDown() override {
    ClearRecentFiles();
    TRegistrySettings::Instance().SetSetLeftSideBearingPointAtX0(true);
    TTsyApplication::SetErrorDisplay(PreviousDisplay);
    TFontOverviewForm::SetQuestion(PreviousQuestion);
    TMainFormTSY4::SetQuestion(PreviousFrameQuestion);
    TFontOverviewForm::SetSaveNameDialog(PreviousSaveName);
  }
  QByteArray Bytes(const QString& File) {
    QFile f(File);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QString Write(const QString& Name, const QByteArray& Data) {
    const QString target = Temp.filePath(Name);
    QFile f(target);
    f.open(QIODevice::WriteOnly);
    f.write(Data);
    return target;
  }
  // A backup: 4 bytes of our own, the little-endian offset, padding, the font.
  QString Backup(const QString& Name, const QByteArray& Font) {
    QByteArray b("TSY4");
    const quint32 offset = 24;
    for (int i = 0; i < 4; ++i) b.append(char(offset >> (8 * i)));
    b.append(16, '\x5A');
    return Write(Name, b + Font);
  }
  static void Modify(TTrueTypeFontManager& M) {
    M.RecordLevel(M.GlyphUndoName(1, "Shift"), [&] { M.ShiftGlyph(1, 10); });
    M.Changed();
  }

  QStringList Errors, Questions, FrameQuestions, Proposals;
  QMessageBox::StandardButton Answer = QMessageBox::Cancel;
  QString SaveName;
  QTemporaryDir Temp;
  TTsyApplication::TErrorDisplay PreviousDisplay;
  TFontOverviewForm::TQuestion PreviousQuestion;
  TMainFormTSY4::TQuestion PreviousFrameQuestion;
  TFontOverviewForm::TSaveName PreviousSaveName;
};

TEST_F(TOpeningTest, ABackupLoadsAsSavedAndSaveAsksForTheTrueTypeName) {
  if (!QFileInfo::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  const QString file = Backup("Sans.bak", Bytes(kDejaVu));
  TRegistrySettings& settings = TRegistrySettings::Instance();
  settings.SetIgnoreHintingData(true);
  TMainFormTSY4 frame;
  frame.show();
  const bool opened = frame.OpenFontFile(file);
  settings.SetIgnoreHintingData(false);
  ASSERT_TRUE(opened) << Errors.join("\n").toStdString();
  TFontOverviewForm* form = frame.ActiveOverview();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), "Sans.bak[*]");
  // The load options do not touch a backup: its hinting stays.
  EXPECT_TRUE(form->Manager().Font().HasGlyphInstructions());
  EXPECT_NE(form->Manager().Font().FindTable("fpgm"), nullptr);

  Modify(form->Manager());
  SaveName = Temp.filePath("Sans.ttf");
  frame.ActionSave()->trigger();
  ASSERT_EQ(Proposals, QStringList{Temp.filePath("Sans.ttf")});
  TTrueTypeFont saved;
  saved.LoadFromFile(SaveName.toStdString());
  EXPECT_EQ(saved.GlyphCount(), form->Manager().Font().GlyphCount());
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();

  // A backup whose offset points outside the file is an error, not a crash.
  QByteArray bad = Bytes(file);
  bad[4] = '\xFF', bad[5] = '\xFF', bad[6] = '\xFF', bad[7] = '\x0F';
  EXPECT_FALSE(frame.OpenFontFile(Write("bad.bak", bad)));
  ASSERT_EQ(Errors.size(), 1);
  EXPECT_TRUE(Errors[0].startsWith("Error opening " + Temp.filePath("bad.bak") + ". ")) << Errors[0].toStdString();
}

TEST_F(TOpeningTest, ACollectionOpensTheWizardPreselectedAndNoWindow) {
  if (!QFileInfo::exists(kDejaVuBold)) GTEST_SKIP() << "DejaVu Sans Bold is not installed";
  const QString file = Temp.filePath("pair.ttc");
  ASSERT_TRUE(test::WriteCollectionFile({kDejaVu, kDejaVuBold}, file));
  TMainFormTSY4 frame;
  frame.show();
  QString source, destination, prefix;
  bool nextEnabled = false;
  test::WhenModal<TExtractFromTTCForm>([&](TExtractFromTTCForm* Wizard) {
    source = Wizard->SourceField()->text();
    destination = Wizard->DestinationField()->text();
    prefix = Wizard->PrefixField()->text();
    nextEnabled = Wizard->NextButton()->isEnabled();
    Wizard->reject();
  });
  EXPECT_TRUE(frame.OpenFontFile(file));
  EXPECT_EQ(source, file);
  EXPECT_EQ(destination, Temp.path() + "/");
  EXPECT_EQ(prefix, "pair_");
  EXPECT_TRUE(nextEnabled);
  EXPECT_TRUE(frame.Overviews().isEmpty());
  EXPECT_TRUE(frame.RecentFiles().isEmpty());
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
}

TEST_F(TOpeningTest, ExtractFromTTCWritesTheChosenMembersAndOpensNone) {
  if (!QFileInfo::exists(kDejaVuBold)) GTEST_SKIP() << "DejaVu Sans Bold is not installed";
  const QString file = Temp.filePath("pair.ttc");
  ASSERT_TRUE(test::WriteCollectionFile({kDejaVu, kDejaVuBold}, file));
  TMainFormTSY4 frame;
  frame.show();
  test::WhenModal<TExtractFromTTCForm>([&](TExtractFromTTCForm* Wizard) {
    Wizard->Preselect(file);
    Wizard->DestinationField()->setText(Temp.filePath("out"));
    Wizard->NextButton()->click();
    Wizard->NextButton()->click();  // Finish with both members
  });
  frame.ActionExtract()->trigger();
  EXPECT_EQ(QDir(Temp.filePath("out")).entryList(QDir::Files), QStringList({"pair_0.ttf", "pair_1.ttf"}));
  EXPECT_TRUE(frame.Overviews().isEmpty());
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
}

TEST_F(TOpeningTest, NewFontsAreUntitledNumberedAndNeverWrittenUnderTheirMadeUpName) {
  TMainFormTSY4 frame;
  frame.show();
  ASSERT_TRUE(frame.CreateNewFont("Test Sans", "Bold", false)) << Errors.join("\n").toStdString();
  ASSERT_TRUE(frame.CreateNewFont("Signs", "Regular", true)) << Errors.join("\n").toStdString();
  const QList<TFontOverviewForm*> forms = frame.Overviews();
  ASSERT_EQ(forms.size(), 2);
  TFontOverviewForm* symbol = forms[0];  // the newest first
  TFontOverviewForm* bold = forms[1];
  EXPECT_EQ(bold->windowTitle(), "Font1.ttf[*]");
  EXPECT_EQ(symbol->windowTitle(), "Font2.ttf[*]");
  EXPECT_TRUE(frame.IsUntitled(bold));
  EXPECT_EQ(bold->Manager().Font().GlyphCount(), 653u);
  EXPECT_EQ(symbol->Manager().Font().GlyphCount(), 226u);
  EXPECT_EQ(bold->Manager().Font().Head()->macStyle, 1);
  EXPECT_EQ(bold->Manager().Font().Head()->fontRevision, 0x00010000);
  EXPECT_GT(bold->Manager().Font().Head()->created, 0);
  EXPECT_EQ(frame.StatusPanel(2)->text(), "226 glyphs");
  frame.MdiArea()->setActiveSubWindow(frame.MdiArea()->subWindowList().first());
  EXPECT_EQ(frame.StatusPanel(2)->text(), "653 glyphs");
  test::GrabWidget(&frame, "mainwindow_new_font");
  frame.MdiArea()->setActiveSubWindow(frame.MdiArea()->subWindowList().last());

  // Save asks for a name even though the title ends in .ttf; cancelling it
  // writes nothing.
  const QString cwdFile = QDir::current().filePath("Font2.ttf");
  SaveName.clear();
  frame.ActionSave()->trigger();
  EXPECT_EQ(Proposals.size(), 1);
  EXPECT_FALSE(QFileInfo::exists(cwdFile));
  EXPECT_TRUE(frame.IsUntitled(symbol));

  // Closing a changed untitled font asks once; "No" closes it, and it does
  // not enter the recent files.
  Modify(bold->Manager());
  frame.MdiArea()->setActiveSubWindow(frame.MdiArea()->subWindowList().first());
  Answer = QMessageBox::No;
  EXPECT_TRUE(frame.CloseAllFonts());
  QTest::qWait(20);
  EXPECT_EQ(FrameQuestions.size(), 1);
  EXPECT_TRUE(Questions.isEmpty());
  EXPECT_TRUE(frame.Overviews().isEmpty());
  EXPECT_TRUE(frame.RecentFiles().isEmpty());
  EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("Font1.ttf")));

  // The numbers are not reused in one run; Yes saves under the chosen name,
  // after which the font is a titled one.
  ASSERT_TRUE(frame.CreateNewFont("Third", "Italic", false));
  EXPECT_EQ(frame.ActiveOverview()->windowTitle(), "Font3.ttf[*]");
  Modify(frame.ActiveOverview()->Manager());
  SaveName = Temp.filePath("third.ttf");
  Answer = QMessageBox::Yes;
  EXPECT_TRUE(frame.CloseAllFonts());
  QTest::qWait(20);
  EXPECT_TRUE(QFileInfo::exists(SaveName));
  EXPECT_EQ(frame.RecentFiles(), QStringList{SaveName});
}

TEST_F(TOpeningTest, RecentFilesLiveInTheSettingsAndKeepTen) {
  {
    TMainFormTSY4 frame;
    for (int i = 0; i < 12; ++i) frame.AddRecentFile(QStringLiteral("/fonts/f%1.ttf").arg(i));
    frame.AddRecentFile("/fonts/f3.ttf");  // back to the top, once
    EXPECT_EQ(frame.RecentFiles().size(), 10);
  }
  TMainFormTSY4 next;
  ASSERT_EQ(next.RecentFiles().size(), 10);
  EXPECT_EQ(next.RecentFiles().first(), "/fonts/f3.ttf");
  EXPECT_EQ(next.RecentFiles()[1], "/fonts/f11.ttf");
  EXPECT_EQ(next.RecentFiles().count("/fonts/f3.ttf"), 1);
  EXPECT_FALSE(next.RecentFiles().contains("/fonts/f0.ttf"));
  EXPECT_TRUE(next.ReopenMenu()->isEnabled());
  // A missing file is reported and leaves the list.
  next.ReopenMenu()->actions().first()->trigger();
  ASSERT_EQ(Errors, QStringList{"File not found: /fonts/f3.ttf"});
  EXPECT_FALSE(next.RecentFiles().contains("/fonts/f3.ttf"));
}

TEST_F(TOpeningTest, PlacementAndToolbarsCarryOverToTheNextStart) {
  {
    TMainFormTSY4 frame;
    frame.show();
    frame.setGeometry(40, 50, 812, 577);
    frame.StandardToolbar()->hide();
  }
  TMainFormTSY4 next;
  next.show();
  EXPECT_EQ(next.geometry(), QRect(40, 50, 812, 577));
  EXPECT_TRUE(next.StandardToolbar()->isHidden());
  next.StandardToolbar()->show();
}

TEST_F(TOpeningTest, DroppedFilesOpenInOrderAndFoldersAreIgnored) {
  if (!QFileInfo::exists(kDejaVuBold)) GTEST_SKIP() << "DejaVu Sans is not installed";
  TMainFormTSY4 frame;
  frame.show();
  EXPECT_TRUE(frame.acceptDrops());
  frame.OpenDroppedFiles(
      {QUrl::fromLocalFile(Temp.path()), QUrl::fromLocalFile(kDejaVu), QUrl::fromLocalFile(kDejaVuBold)});
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
  const QList<TFontOverviewForm*> forms = frame.Overviews();
  ASSERT_EQ(forms.size(), 2);
  EXPECT_EQ(forms[1]->windowTitle(), "DejaVuSans.ttf[*]");
  EXPECT_EQ(forms[0]->windowTitle(), "DejaVuSans-Bold.ttf[*]");
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
}

TEST_F(TOpeningTest, CommandLineAndHandedOverFilesOpenAtIdleTurns) {
  if (!QFileInfo::exists(kDejaVuBold)) GTEST_SKIP() << "DejaVu Sans is not installed";
  TRegistrySettings::Instance().SetShowTipOnStartup(false);
  const QString copy = Write("local.ttf", Bytes(kDejaVu));
  const QString previous = QDir::currentPath();
  QDir::setCurrent(Temp.path());
  TMainFormTSY4 frame;
  frame.show();
  frame.StartUp({"local.ttf"});
  QDir::setCurrent(previous);
  EXPECT_TRUE(frame.Overviews().isEmpty());  // nothing before the first idle turn
  QTest::qWait(20);
  ASSERT_EQ(frame.Overviews().size(), 1);
  // The name was made whole: closing files it under its full path.
  EXPECT_EQ(QString::fromStdString(frame.ActiveOverview()->Manager().FileName()), copy);

  frame.ReceiveFile(kDejaVu);
  frame.ReceiveFile(kDejaVuBold);
  EXPECT_EQ(frame.PendingFiles().size(), 2);
  frame.IdleTurn();
  EXPECT_EQ(frame.Overviews().size(), 2);
  EXPECT_EQ(frame.PendingFiles(), QStringList{kDejaVuBold});
  QTest::qWait(20);
  EXPECT_EQ(frame.Overviews().size(), 3);
  EXPECT_TRUE(frame.PendingFiles().isEmpty());
  TRegistrySettings::Instance().SetShowTipOnStartup(true);
}

TEST_F(TOpeningTest, ActionsFollowTheActiveFont) {
  if (!QFileInfo::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  TMainFormTSY4 frame;
  frame.show();
  for (QAction* a : {frame.ActionSave(), frame.ActionSaveAs(), frame.ActionSaveAll(), frame.ActionClose(),
                     frame.ActionCloseAll(), frame.ActionUndo()})
    EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  for (QAction* a : {frame.ActionNew(), frame.ActionOpen(), frame.ActionInstalledFont(), frame.ActionExtract()})
    EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
  ASSERT_TRUE(frame.OpenFontFile(kDejaVu));
  EXPECT_TRUE(frame.ActionSaveAll()->isEnabled());
  // The toolbar's Save All waits for a change.
  QAction* saveAllButton = nullptr;
  for (QAction* a : frame.StandardToolbar()->actions())
    if (a->toolTip() == "Save all font files") saveAllButton = a;
  ASSERT_NE(saveAllButton, nullptr);
  EXPECT_FALSE(saveAllButton->isEnabled());
  Modify(frame.ActiveOverview()->Manager());
  EXPECT_TRUE(saveAllButton->isEnabled());
  EXPECT_EQ(frame.StatusPanel(2)->text(),
            QStringLiteral("%1 glyphs").arg(frame.ActiveOverview()->Manager().Font().GlyphCount()));
  test::GrabWidget(&frame, "mainwindow_font_open");
  bool tipShown = false;
  test::WhenModal<TTipOfTheDayForm>([&](TTipOfTheDayForm* Tip) {
    tipShown = true;
    Tip->reject();
  });
  frame.ActionTipOfTheDay()->trigger();
  EXPECT_TRUE(tipShown);
  Answer = QMessageBox::No;
  frame.CloseAllFonts();
}

}  // namespace
}  // namespace tsy
