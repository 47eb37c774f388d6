// The frame window with real fonts: opening, the overview grid, selection by
// click, undo captions, saving and reloading, and the close prompt.
#include "shell/mainformtsy4.h"

#include <gtest/gtest.h>

#include "settings/registrysettings.h"

#include <QAction>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "document/fontmanager.h"
#include "fontfile/truetypefont.h"
#include "outline/outline.h"
#include "shell/fontoverviewform.h"
#include "shell/glyphgrid.h"
#include "shell/tsyapplication.h"
#include "support/screenshot.h"

namespace tsy {
namespace {

const QString kDejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString kDroid = QStringLiteral("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf");

// Collects shown errors instead of message boxes, and answers the close
// question and the save dialog as a test says.
class TMainFormTSY4Test : public ::testing::Test {
protected:
  void SetUp() override {
    // The recent files outlive a frame in the settings; each test starts
    // with none.
    for (int i = 0; i < 10; ++i)
      if (TRegistrySettings::Instance().PeekString(TMainFormTSY4::RecentFilesKey(), "File_" + std::to_string(i)))
        TRegistrySettings::Instance().DeleteSettingValue(TMainFormTSY4::RecentFilesKey(), "File_" + std::to_string(i));
    // Saving runs the save-time commands of the settings; the tests that
    // look for a change in the saved file keep glyphs where they were put.
    TRegistrySettings::Instance().SetSetLeftSideBearingPointAtX0(false);
    PreviousDisplay = TTsyApplication::SetErrorDisplay([this](const QString& M) { Errors.append(M); });
    PreviousQuestion = TFontOverviewForm::SetQuestion([this](QWidget*, const QString& Text) {
      Questions.append(Text);
      return Answer;
    });
    PreviousSaveName = TFontOverviewForm::SetSaveNameDialog([this](QWidget*, const QString& Proposed) {
      Proposals.append(Proposed);
      return SaveName;
    });
  }
  void TearDown() override {
    TRegistrySettings::Instance().SetSetLeftSideBearingPointAtX0(true);
    TTsyApplication::SetErrorDisplay(PreviousDisplay);
    TFontOverviewForm::SetQuestion(PreviousQuestion);
    TFontOverviewForm::SetSaveNameDialog(PreviousSaveName);
  }
  // A copy in a temporary folder, so saving never touches the system's file.
  QString CopyOf(const QString& Source, const QString& Name) {
    const QString target = Temp.filePath(Name);
    QFile::copy(Source, target);
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return target;
  }
  // A recorded change to the active font: glyph 36 ('A') moves right by 10 units.
  static void ShiftGlyph(TTrueTypeFontManager& M) {
    M.RecordLevel(M.GlyphUndoName(36, "Shift"), [&] { M.ShiftGlyph(36, 10); });
    M.Changed();
  }
  // Where glyph 36 starts: the x of its first point.
  static double FirstX(const TTrueTypeFont& Font) {
    const auto* simple = dynamic_cast<const TOutlineSimple*>(Font.Outlines.Items(36));
    if (!simple || simple->Contours.empty() || simple->Contours[0].Points.empty()) return -1e9;
    return simple->Contours[0].Points[0].X;
  }

  QStringList Errors, Questions, Proposals;
  QMessageBox::StandardButton Answer = QMessageBox::Cancel;
  QString SaveName;
  QTemporaryDir Temp;
  TTsyApplication::TErrorDisplay PreviousDisplay;
  TFontOverviewForm::TQuestion PreviousQuestion;
  TFontOverviewForm::TSaveName PreviousSaveName;
};

TEST_F(TMainFormTSY4Test, OpensAFontIntoAnOverviewWhoseGridShowsTheGlyphs) {
  if (!QFileInfo::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  TMainFormTSY4 frame;
  frame.resize(900, 650);
  frame.show();
  ASSERT_TRUE(frame.OpenFontFile(kDejaVu));
  TFontOverviewForm* form = frame.ActiveOverview();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), "DejaVuSans.ttf[*]");
  EXPECT_FALSE(form->isWindowModified());
  const QImage shot = test::GrabWidget(&frame, "mainwindow_dejavu");
  TGlyphGrid* grid = form->Grid();
  // A screenful of cells, not the whole font.
  EXPECT_GT(grid->LastPaintedCells(), 10);
  EXPECT_LT(grid->LastPaintedCells(), int(form->Manager().Font().GlyphCount()));
  // The cell of glyph 36 ('A' in DejaVu) holds dark outline pixels; glyph 3
  // (space) holds none below its caption.
  auto darkPixels = [&](int Glyph) {
    const QImage cells = grid->viewport()->grab().toImage();
    const QRect cell = grid->CellRect(Glyph).adjusted(4, TGlyphGrid::kCaptionHeight + 6, -5, -5);
    int dark = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x)
        if (qGray(cells.pixel(x, y)) < 80) ++dark;
    return dark;
  };
  EXPECT_GT(darkPixels(36), 20);
  EXPECT_EQ(darkPixels(3), 0);
  EXPECT_FALSE(shot.isNull());
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
}

TEST_F(TMainFormTSY4Test, ClicksSelectGlyphsWithCtrlAddingAndShiftTakingARange) {
  if (!QFileInfo::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  TMainFormTSY4 frame;
  frame.show();
  ASSERT_TRUE(frame.OpenFontFile(kDejaVu));
  TGlyphGrid* grid = frame.ActiveOverview()->Grid();
  const TSelectedGlyphList& sel = frame.ActiveOverview()->Manager().SelectedGlyphs();
  auto click = [&](int Glyph, Qt::KeyboardModifiers Mods = {}) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Mods, grid->CellRect(Glyph).center());
  };
  click(2);
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({2}));
  click(5);
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({5}));
  click(7, Qt::ControlModifier);
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({5, 7}));
  click(7, Qt::ControlModifier);
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({5}));
  click(9, Qt::ShiftModifier);  // from the focused glyph 7
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({7, 8, 9}));
  click(4, Qt::ShiftModifier);  // the anchor stays
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({4, 5, 6, 7}));
  test::GrabWidget(&frame, "mainwindow_selection");
  // A click beside the cells clears the selection.
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    QPoint(grid->Columns() * grid->CellWidth() + 1, 5));
  if (grid->Columns() * grid->CellWidth() + 1 < grid->viewport()->width()) {
    EXPECT_EQ(sel.Count(), 0);
  }
}

TEST_F(TMainFormTSY4Test, UndoAndRedoCarryTheLevelCaptionAndTheTitleShowsTheModifiedState) {
  if (!QFileInfo::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  TMainFormTSY4 frame;
  frame.show();
  ASSERT_TRUE(frame.OpenFontFile(CopyOf(kDejaVu, "a.ttf")));
  TFontOverviewForm* form = frame.ActiveOverview();
  EXPECT_FALSE(frame.ActionUndo()->isEnabled());
  EXPECT_EQ(frame.ActionUndo()->text(), "&Undo");
  ShiftGlyph(form->Manager());
  const QString name = QString::fromStdString(form->Manager().History().UndoCaption());
  EXPECT_FALSE(name.isEmpty());
  EXPECT_TRUE(frame.ActionUndo()->isEnabled());
  EXPECT_EQ(frame.ActionUndo()->text(), "&Undo " + name);
  EXPECT_TRUE(form->isWindowModified());
  frame.ActionUndo()->trigger();
  EXPECT_FALSE(form->isWindowModified());
  EXPECT_EQ(frame.ActionRedo()->text(), "&Redo " + name);
  EXPECT_EQ(frame.ActionUndo()->text(), "&Undo");
  frame.ActionRedo()->trigger();
  EXPECT_TRUE(form->isWindowModified());
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
  Answer = QMessageBox::No;
}

TEST_F(TMainFormTSY4Test, SaveWritesTheFontAndTheSavedFileLoadsWithTheChange) {
  if (!QFileInfo::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  const QString file = CopyOf(kDejaVu, "b.ttf");
  TMainFormTSY4 frame;
  frame.show();
  ASSERT_TRUE(frame.OpenFontFile(file));
  TFontOverviewForm* form = frame.ActiveOverview();
  const double before = FirstX(form->Manager().Font());
  ShiftGlyph(form->Manager());
  frame.ActionSave()->trigger();
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
  EXPECT_FALSE(form->isWindowModified());
  EXPECT_TRUE(Proposals.isEmpty());  // a .ttf is saved in place
  TTrueTypeFont reloaded;
  reloaded.LoadFromFile(file.toStdString());
  EXPECT_EQ(reloaded.GlyphCount(), form->Manager().Font().GlyphCount());
  const double after = FirstX(form->Manager().Font());
  EXPECT_NE(after, before);
  EXPECT_EQ(FirstX(reloaded), after);
}

TEST_F(TMainFormTSY4Test, SavingRunsTheSaveTimeCommandsOfTheSettings) {
  if (!QFileInfo::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  TRegistrySettings::Instance().SetSetLeftSideBearingPointAtX0(true);
  const QString file = CopyOf(kDejaVu, "lsb.ttf");
  TMainFormTSY4 frame;
  frame.show();
  ASSERT_TRUE(frame.OpenFontFile(file));
  TFontOverviewForm* form = frame.ActiveOverview();
  const double before = FirstX(form->Manager().Font());
  ShiftGlyph(form->Manager());
  frame.ActionSave()->trigger();
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
  // The shift moved the outline away from its side bearing; the save-time
  // command puts the glyph's left edge back at its bearing.
  TTrueTypeFont reloaded;
  reloaded.LoadFromFile(file.toStdString());
  EXPECT_EQ(FirstX(reloaded), before);
}

TEST_F(TMainFormTSY4Test, AFontFromAnotherFormatIsSavedUnderANewTrueTypeName) {
  const QString otf = QStringLiteral("/usr/share/fonts/opentype/cantarell/Cantarell-Regular.otf");
  if (!QFileInfo::exists(otf)) GTEST_SKIP() << "Cantarell is not installed";
  const QString file = CopyOf(otf, "c.otf");
  const QByteArray original = [&] { QFile f(file); f.open(QIODevice::ReadOnly); return f.readAll(); }();
  TMainFormTSY4 frame;
  frame.show();
  ASSERT_TRUE(frame.OpenFontFile(file)) << Errors.join("\n").toStdString();
  SaveName.clear();  // cancelled
  frame.ActionSave()->trigger();
  ASSERT_EQ(Proposals.size(), 1);
  EXPECT_EQ(Proposals[0], Temp.filePath("c.ttf"));
  SaveName = Temp.filePath("d");  // no extension: .ttf is added
  frame.ActionSave()->trigger();
  EXPECT_TRUE(QFileInfo::exists(Temp.filePath("d.ttf")));
  EXPECT_EQ(frame.ActiveOverview()->windowTitle(), "d.ttf[*]");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), original);
  TTrueTypeFont reloaded;
  reloaded.LoadFromFile(Temp.filePath("d.ttf").toStdString());
  EXPECT_EQ(reloaded.GlyphCount(), frame.ActiveOverview()->Manager().Font().GlyphCount());
}

TEST_F(TMainFormTSY4Test, ClosingAModifiedFontAsksAndCancelKeepsItOpen) {
  if (!QFileInfo::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  const QString file = CopyOf(kDejaVu, "e.ttf");
  TMainFormTSY4 frame;
  frame.show();
  ASSERT_TRUE(frame.OpenFontFile(file));
  ShiftGlyph(frame.ActiveOverview()->Manager());
  Answer = QMessageBox::Cancel;
  frame.ActionClose()->trigger();
  QTest::qWait(20);
  ASSERT_EQ(Questions.size(), 1);
  EXPECT_EQ(Questions[0], "Do you want to save changes you made to font " + file + "?");
  ASSERT_NE(frame.ActiveOverview(), nullptr);
  EXPECT_TRUE(frame.ActiveOverview()->Manager().IsModified());
  EXPECT_FALSE(frame.close());  // Exit is refused the same way
  EXPECT_EQ(frame.Overviews().size(), 1);
  EXPECT_TRUE(frame.RecentFiles().isEmpty());

  Answer = QMessageBox::No;
  frame.ActionClose()->trigger();
  EXPECT_FALSE(frame.ActionSave()->isEnabled());  // at once, not only after the deletion
  QTest::qWait(20);
  EXPECT_TRUE(frame.Overviews().isEmpty());
  EXPECT_EQ(frame.RecentFiles(), QStringList{file});
  // The file on disk was not written.
  TTrueTypeFont reloaded;
  reloaded.LoadFromFile(file.toStdString());
  TTrueTypeFont original;
  original.LoadFromFile(kDejaVu.toStdString());
  EXPECT_EQ(FirstX(reloaded), FirstX(original));
  // Reopening takes it off the list again.
  ASSERT_TRUE(frame.OpenFontFile(file));
  EXPECT_TRUE(frame.RecentFiles().isEmpty());
}

TEST_F(TMainFormTSY4Test, AnsweringYesSavesBeforeClosing) {
  if (!QFileInfo::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  const QString file = CopyOf(kDejaVu, "f.ttf");
  TMainFormTSY4 frame;
  frame.show();
  ASSERT_TRUE(frame.OpenFontFile(file));
  ShiftGlyph(frame.ActiveOverview()->Manager());
  const double shifted = FirstX(frame.ActiveOverview()->Manager().Font());
  Answer = QMessageBox::Yes;
  EXPECT_TRUE(frame.CloseAllFonts());
  QTest::qWait(20);
  EXPECT_TRUE(frame.Overviews().isEmpty());
  TTrueTypeFont reloaded;
  reloaded.LoadFromFile(file.toStdString());
  EXPECT_EQ(FirstX(reloaded), shifted);
}

TEST_F(TMainFormTSY4Test, OpeningAFileThatIsNoFontShowsTheErrorAndOpensNothing) {
  const QString text = Temp.filePath("notes.ttf");
  {
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("just some words, not a font at all\n");
  }
  TMainFormTSY4 frame;
  EXPECT_FALSE(frame.OpenFontFile(text));
  EXPECT_FALSE(frame.OpenFontFile(Temp.filePath("missing.ttf")));
  ASSERT_EQ(Errors.size(), 2);
  for (const QString& e : Errors)
    EXPECT_TRUE(e.startsWith("Error opening ") || e.endsWith("cannot be identified as a TrueType font file.")) << e.toStdString();
  EXPECT_TRUE(frame.Overviews().isEmpty());
  EXPECT_FALSE(frame.ActionSave()->isEnabled());
}

TEST_F(TMainFormTSY4Test, ALargeFontPaintsOnlyTheVisibleCellsWhereverItIsScrolled) {
  if (!QFileInfo::exists(kDroid)) GTEST_SKIP() << "Droid Sans Fallback is not installed";
  TMainFormTSY4 frame;
  frame.resize(900, 650);
  frame.show();
  ASSERT_TRUE(frame.OpenFontFile(kDroid));
  TGlyphGrid* grid = frame.ActiveOverview()->Grid();
  const int count = int(frame.ActiveOverview()->Manager().Font().GlyphCount());
  ASSERT_GT(count, 40000);
  grid->FocusGlyph(count - 1);
  test::GrabWidget(&frame, "mainwindow_droid_end");
  EXPECT_GT(grid->LastPaintedCells(), 0);
  EXPECT_LT(grid->LastPaintedCells(), 200);
  EXPECT_EQ(grid->GlyphAt(grid->CellRect(count - 1).center()), count - 1);
  EXPECT_EQ(frame.ActiveOverview()->Manager().SelectedGlyphs().Glyphs(), std::vector<int32_t>({count - 1}));
}

TEST_F(TMainFormTSY4Test, TFontOverviewFormDrawsNoOutlinesForAFontWithoutUnitsPerEm) {
  if (!QFileInfo::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  QByteArray bytes = [&] { QFile f(kDejaVu); f.open(QIODevice::ReadOnly); return f.readAll(); }();
  auto u16 = [&](int At) { return (uchar(bytes[At]) << 8) | uchar(bytes[At + 1]); };
  auto u32 = [&](int At) { return (quint32(u16(At)) << 16) | quint32(u16(At + 2)); };
  bool patched = false;
  for (int i = 0; i < u16(4); ++i) {
    const int record = 12 + 16 * i;
    if (bytes.mid(record, 4) != "head") continue;
    const int unitsPerEm = int(u32(record + 8)) + 18;
    bytes[unitsPerEm] = 0;
    bytes[unitsPerEm + 1] = 0;
    patched = true;
  }
  ASSERT_TRUE(patched);
  const QString file = Temp.filePath("zero-em.ttf");
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  TMainFormTSY4 frame;
  frame.show();
  ASSERT_TRUE(frame.OpenFontFile(file)) << Errors.join("\n").toStdString();
  TGlyphGrid* grid = frame.ActiveOverview()->Grid();
  const QImage cells = grid->viewport()->grab().toImage();
  EXPECT_GT(grid->LastPaintedCells(), 10);
  const QRect cell = grid->CellRect(36).adjusted(4, TGlyphGrid::kCaptionHeight + 6, -5, -5);
  int dark = 0;
  for (int y = cell.top(); y <= cell.bottom(); ++y)
    for (int x = cell.left(); x <= cell.right(); ++x)
      if (qGray(cells.pixel(x, y)) < 80) ++dark;
  EXPECT_EQ(dark, 0);
}

}  // namespace
}  // namespace tsy
