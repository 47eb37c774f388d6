// The font overview window on real fonts: the grid's layout and captions,
// selection, keys, bookmarks, the editor limit, the picture cache, saving
// with backups and the Save As questions.
#include "shell/fontoverviewform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "document/backupfile.h"
#include "document/fontmanager.h"
#include "document/glyphoverview.h"
#include "fontfile/primitives.h"
#include "fontfile/truetypefont.h"
#include "settings/registrysettings.h"
#include "shell/bookmarkstore.h"
#include "shell/glyphcellpainter.h"
#include "shell/glyphgrid.h"
#include "shell/tsyapplication.h"
#include "support/screenshot.h"

namespace tsy {
namespace {

const QString kDejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
constexpr int kA = 36;  // 'A' in DejaVu Sans

QByteArray ReadAll(const QString& File) {
  QFile f(File);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class TFontOverviewTest : public ::testing::Test {
protected:
  void SetUp() override {
    TRegistrySettings& s = TRegistrySettings::Instance();
    s.SetSetLeftSideBearingPointAtX0(false);
    TBookmarkStore::SetFileName(Temp.filePath("bookmarks.txt"));
    PreviousDisplay = TTsyApplication::SetErrorDisplay([this](const QString& M) { Errors.append(M); });
    PreviousQuestion = TFontOverviewForm::SetQuestion([this](QWidget*, const QString& Text) {
      Questions.append(Text);
      return Answers.isEmpty() ? QMessageBox::Cancel : Answers.takeFirst();
    });
    PreviousSaveName = TFontOverviewForm::SetSaveNameDialog([this](QWidget*, const QString& Proposed) {
      Proposals.append(Proposed);
      return SaveNames.isEmpty() ? QString() : SaveNames.takeFirst();
    });
  }
  void TearDown() override {
    // Put back every option a test changed.
    TRegistrySettings& s = TRegistrySettings::Instance();
    s.SetSetLeftSideBearingPointAtX0(true);
    s.SetAlwaysCreateBackupCopy(false);
    s.SetOverviewSingleWidth(62);
    s.SetOverviewSingleHeight(55);
    s.SetOverviewShowCaption(true);
    s.SetGlyphCaptionType(0);
    s.SetOverviewSmoothGlyphs(false);
    TFontOverviewForm::SetFontFolders({});
    TBookmarkStore::SetFileName(QString());
    TTsyApplication::SetErrorDisplay(PreviousDisplay);
    TFontOverviewForm::SetQuestion(PreviousQuestion);
    TFontOverviewForm::SetSaveNameDialog(PreviousSaveName);
  }
  QString CopyOf(const QString& Source, const QString& Name) {
    const QString target = Temp.filePath(Name);
    QFile::copy(Source, target);
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return target;
  }
  // A shown overview of File (DejaVu Sans unless told otherwise).
  std::unique_ptr<TFontOverviewForm> Open(const QString& File) {
    auto manager = std::make_unique<TTrueTypeFontManager>();
    manager->Font().LoadFromFile(File.toStdString());
    manager->SetFileName(File.toStdString());
    auto form = std::make_unique<TFontOverviewForm>(std::move(manager));
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form->resize(700, 500);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
  }
  void Click(TGlyphGrid* Grid, int Glyph, Qt::KeyboardModifiers Mods = {}) {
    QTest::mouseClick(Grid->viewport(), Qt::LeftButton, Mods, Grid->CellRect(Glyph).center());
  }
  // Undo and redo swap the glyph's snapshot with the one recorded.
  static void SwapGlyph(TTrueTypeFontManager& M, TStream& S) {
    const int g = ReadUInt16(S);
    TMemoryStream& out = M.History().AddUndoItem([&M](TUndoRedoRepeatItem&, TStream& In) { SwapGlyph(M, In); });
    WriteUInt16(out, uint16_t(g));
    M.Font().Outlines.WriteSnapshot(g, out);
    M.Font().Outlines.ReadSnapshot(g, S);
  }
  // A recorded change: the glyph moves right by 40 units.
  static void Shift(TTrueTypeFontManager& M, int Glyph) {
    M.RecordLevel(M.GlyphUndoName(Glyph, "Shift"), [&] {
      TMemoryStream& s = M.History().AddUndoItem([&M](TUndoRedoRepeatItem&, TStream& In) { SwapGlyph(M, In); });
      WriteUInt16(s, uint16_t(Glyph));
      M.Font().Outlines.WriteSnapshot(Glyph, s);
      M.ShiftGlyph(Glyph, 40);
    });
    M.Changed();
  }
  static QAction* Find(QMenu* Menu, const QString& Text) {
    for (QAction* a : Menu->actions()) {
      if (a->text() == Text) return a;
      if (a->menu())
        if (QAction* inner = Find(a->menu(), Text)) return inner;
    }
    return nullptr;
  }

  QTemporaryDir Temp;
  QStringList Errors, Questions, Proposals, SaveNames;
  QList<QMessageBox::StandardButton> Answers;
  TTsyApplication::TErrorDisplay PreviousDisplay;
  TFontOverviewForm::TQuestion PreviousQuestion;
  TFontOverviewForm::TSaveName PreviousSaveName;
};

#define REQUIRE_DEJAVU() \
  if (!QFileInfo::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed"

TEST_F(TFontOverviewTest, LayoutKeepsOneColumnWhenNarrowAndOneRowWithoutGlyphs) {
  REQUIRE_DEJAVU();
  auto form = Open(kDejaVu);
  TGlyphGrid* grid = form->Grid();
  EXPECT_EQ(grid->CellWidth(), 62);
  EXPECT_EQ(grid->CellHeight(), 55 + 15);
  form->resize(30, 300);
  QCoreApplication::processEvents();
  EXPECT_EQ(grid->Columns(), 1);
  EXPECT_EQ(grid->Rows(), int(form->Manager().Font().GlyphCount()));

  // A font without a single glyph: one empty row, nothing painted, no focus
  // to clamp into.
  auto empty = std::make_unique<TTrueTypeFontManager>();
  empty->SetFileName(Temp.filePath("empty.ttf").toStdString());
  TFontOverviewForm none(std::move(empty));
  none.setAttribute(Qt::WA_DeleteOnClose, false);
  none.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&none));
  none.Grid()->viewport()->grab();
  EXPECT_EQ(none.Grid()->Rows(), 1);
  EXPECT_EQ(none.Grid()->LastPaintedCells(), 0);
  EXPECT_EQ(none.Grid()->GlyphAt(QPoint(5, 5)), -1);
  QTest::keyClick(none.Grid(), Qt::Key_Right);
  QTest::keyClick(none.Grid(), Qt::Key_End, Qt::ControlModifier);
  none.ToggleBookmark(1);
  EXPECT_EQ(none.OpenGlyphEditors(), 0);
}

TEST_F(TFontOverviewTest, ClicksAndCursorKeysSelectLikeTheGrid) {
  REQUIRE_DEJAVU();
  auto form = Open(kDejaVu);
  TGlyphGrid* grid = form->Grid();
  const TSelectedGlyphList& sel = form->Manager().SelectedGlyphs();
  QSignalSpy changes(form.get(), &TFontOverviewForm::stateChanged);
  Click(grid, 5);
  Click(grid, 2, Qt::ShiftModifier);
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({2, 3, 4, 5}));
  Click(grid, 3, Qt::ControlModifier);
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({2, 4, 5}));
  Click(grid, 7);
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({7}));
  EXPECT_GE(changes.count(), 4);
  // Cursor keys move the focus and select as a click does; Shift extends.
  QTest::keyClick(grid, Qt::Key_Right);
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({8}));
  QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
  const int below = 8 + grid->Columns();
  EXPECT_EQ(sel.Count(), below - 8 + 1);
  EXPECT_EQ(grid->FocusedGlyph(), below);
  QTest::keyClick(grid, Qt::Key_Up);
  QTest::keyClick(grid, Qt::Key_Up);
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({8 % grid->Columns()}));  // stops in the top row
  // Ctrl+End and Ctrl+Home focus the last and the first glyph.
  const int last = int(form->Manager().Font().GlyphCount()) - 1;
  QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({last}));
  EXPECT_TRUE(grid->viewport()->rect().intersects(grid->CellRect(last)));
  QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({0}));
  // A right click on an unselected glyph focuses it for the context menu.
  QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, grid->CellRect(4).center());
  EXPECT_EQ(sel.Glyphs(), std::vector<int32_t>({4}));
  EXPECT_EQ(grid->HintText(kA), "Glyph $0024 - simple with dependancy - A");  // used by accented A
}

TEST_F(TFontOverviewTest, EnterOpensEditorsUpToTenPerFontAndDoubleClickAlwaysOne) {
  REQUIRE_DEJAVU();
  auto form = Open(kDejaVu);
  QSignalSpy requests(form.get(), &TFontOverviewForm::openGlyphRequested);
  int windows[10];
  for (int i = 0; i < 8; ++i) form->Manager().EditWindows().Subscribe(&windows[i], 100 + i, [](TGlyphNotification) {});
  Click(form->Grid(), 10);
  Click(form->Grid(), 14, Qt::ShiftModifier);
  QTest::keyClick(form->Grid(), Qt::Key_Return);
  ASSERT_EQ(requests.count(), 2);
  EXPECT_EQ(requests[0][0].toInt(), 10);
  EXPECT_EQ(requests[1][0].toInt(), 11);
  for (int i = 8; i < 10; ++i) form->Manager().EditWindows().Subscribe(&windows[i], 100 + i, [](TGlyphNotification) {});
  requests.clear();
  QTest::keyClick(form->Grid(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(requests.count(), 0);
  QTest::mouseDClick(form->Grid()->viewport(), Qt::LeftButton, {}, form->Grid()->CellRect(kA).center());
  ASSERT_EQ(requests.count(), 1);
  EXPECT_EQ(requests[0][0].toInt(), kA);
  // "Edit" in the context menu is the same command as Enter.
  std::unique_ptr<QMenu> menu(form->CreateContextMenu());
  QAction* edit = Find(menu.get(), "&Edit");
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(edit->isEnabled());
  form->Manager().SelectedGlyphs().Clear();
  menu.reset(form->CreateContextMenu());
  EXPECT_FALSE(Find(menu.get(), "&Edit")->isEnabled());
}

TEST_F(TFontOverviewTest, BookmarkKeysToggleGoAndAreWrittenToTheFile) {
  REQUIRE_DEJAVU();
  auto form = Open(kDejaVu);
  TGlyphGrid* grid = form->Grid();
  form->FocusGlyph(kA);
  QTest::keyClick(grid, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(TBookmarkStore::Bookmarks().Items(3), (TBookmark{0x41, -1}));
  EXPECT_EQ(form->BookmarkGlyph(3), kA);
  EXPECT_TRUE(ReadAll(Temp.filePath("bookmarks.txt")).startsWith("; \n; \n; \n$0041; \n"));
  // On a glyph without a character, with the key as a US keyboard reports
  // Shift+3: the bookmark takes the glyph index.
  int unmapped = 1;
  while (CharacterOfGlyph(form->Manager().Font(), unmapped) >= 0) ++unmapped;
  form->FocusGlyph(unmapped);
  QTest::keyClick(grid, Qt::Key_NumberSign, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(TBookmarkStore::Bookmarks().Items(3), (TBookmark{-1, unmapped}));
  QTest::keyClick(grid, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(TBookmarkStore::Bookmarks().Items(3), TBookmark{});
  form->FocusGlyph(kA);
  QTest::keyClick(grid, Qt::Key_5, Qt::ControlModifier | Qt::ShiftModifier);
  form->FocusGlyph(700);
  QTest::keyClick(grid, Qt::Key_5, Qt::ControlModifier);
  EXPECT_EQ(form->Manager().SelectedGlyphs().Glyphs(), std::vector<int32_t>({kA}));
  std::unique_ptr<QMenu> menu(form->CreateContextMenu());
  QMenu* toggle = Find(menu.get(), "&Toggle Bookmarks")->menu();
  QMenu* go = Find(menu.get(), "&Goto Bookmarks")->menu();
  EXPECT_TRUE(toggle->actions()[5]->isChecked());
  EXPECT_FALSE(toggle->actions()[3]->isChecked());
  EXPECT_TRUE(go->actions()[5]->isEnabled());
  EXPECT_FALSE(go->actions()[3]->isEnabled());
  // The bookmarks belong to the program: a fresh read of the file finds them.
  TBookmarkStore::SetFileName(Temp.filePath("bookmarks.txt"));
  EXPECT_EQ(TBookmarkStore::Bookmarks().Items(5), (TBookmark{0x41, -1}));
}

TEST_F(TFontOverviewTest, ADamagedBookmarkFileIsReportedAndKeptAside) {
  const QString file = Temp.filePath("bookmarks.txt");
  const QByteArray damaged = "$0041; \n\x01\x02 garbage\n; $0007\n";
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(damaged);
  }
  TBookmarkStore::SetFileName(file);
  EXPECT_EQ(TBookmarkStore::Bookmarks().Items(0), (TBookmark{0x41, -1}));
  EXPECT_EQ(TBookmarkStore::Bookmarks().Items(2), (TBookmark{-1, 7}));
  QCoreApplication::processEvents();
  ASSERT_EQ(Errors.size(), 1);
  EXPECT_TRUE(Errors[0].contains("line 2")) << Errors[0].toStdString();
  EXPECT_EQ(ReadAll(file + ".damaged"), damaged);
  TBookmarkStore::Save();
  EXPECT_TRUE(ReadAll(file).startsWith("$0041; \n; \n; $0007\n"));
  EXPECT_EQ(ReadAll(file + ".damaged"), damaged);
}

TEST_F(TFontOverviewTest, CaptionMenuSwitchesCaptionsAndTheirVisibility) {
  REQUIRE_DEJAVU();
  auto form = Open(kDejaVu);
  TGlyphGrid* grid = form->Grid();
  EXPECT_EQ(grid->Caption(kA), "A");
  struct Case {
    const char* Item;
    QString Expected;
  };
  // DejaVu maps 'A' in two subtables of each Unicode platform.
  const Case cases[] = {{"&Microsoft Mappings", "$0041-$0041"}, {"&Glyph Index", "$0024"},
                        {"&Unicode Mappings", "$0041-$0041"},   {"Ma&cintosh Mappings", "$0041"},
                        {"&ISO Mappings", ""},            {"&Postscript Name", "A"}};
  for (const Case& c : cases) {
    std::unique_ptr<QMenu> menu(form->CreateContextMenu());
    Find(menu.get(), c.Item)->trigger();
    EXPECT_EQ(grid->Caption(kA), c.Expected) << c.Item;
    menu.reset(form->CreateContextMenu());
    EXPECT_TRUE(Find(menu.get(), c.Item)->isChecked()) << c.Item;
  }
  std::unique_ptr<QMenu> menu(form->CreateContextMenu());
  Find(menu.get(), "&Visible")->trigger();
  EXPECT_EQ(grid->CellHeight(), 55);
  EXPECT_EQ(grid->Caption(kA), "");
  menu.reset(form->CreateContextMenu());
  EXPECT_FALSE(Find(menu.get(), "&Visible")->isChecked());
  EXPECT_FALSE(Find(menu.get(), "&Postscript Name")->isChecked());
  Find(menu.get(), "&Glyph Index")->trigger();  // shows them again
  EXPECT_EQ(grid->CellHeight(), 70);
  // The number format follows ValueHexadecimal.
  TRegistrySettings::Instance().SetValueHexadecimal(false);
  form->ApplySettings();
  EXPECT_EQ(grid->Caption(kA), "36");
  EXPECT_EQ(grid->HintText(kA), "Glyph 36 - simple with dependancy - A");
  TRegistrySettings::Instance().SetValueHexadecimal(true);
}

TEST_F(TFontOverviewTest, ShortenedCaptionsEndInDots) {
  QFont font;
  font.setPixelSize(10);
  const QFontMetrics m(font);
  const QString longText = QStringLiteral("uni0041uni0042uni0043");
  const int width = m.horizontalAdvance(longText);
  EXPECT_EQ(ShortenCaption(longText, width, m), longText);
  const QString cut = ShortenCaption(longText, width / 2, m);
  EXPECT_TRUE(cut.endsWith("...")) << cut.toStdString();
  EXPECT_TRUE(longText.startsWith(cut.chopped(3)));
  EXPECT_LE(m.horizontalAdvance(cut), width / 2);
  // One more character would not have fitted.
  EXPECT_GT(m.horizontalAdvance(longText.left(cut.size() - 2) + "..."), width / 2);
  EXPECT_EQ(ShortenCaption(longText, 1, m), "...");
}

TEST_F(TFontOverviewTest, NumericPadResizesCellsWithinTheOptionRange) {
  REQUIRE_DEJAVU();
  auto form = Open(kDejaVu);
  QTest::keyClick(form->Grid(), Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(form->Grid()->CellWidth(), 78);    // 62 * 1.25 = 77.5
  EXPECT_EQ(form->Grid()->CellHeight(), 69 + 15);  // 55 * 1.25 = 68.75
  for (int i = 0; i < 10; ++i) QTest::keyClick(form->Grid(), Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(TRegistrySettings::Instance().OverviewSingleWidth(), 200);
  EXPECT_EQ(TRegistrySettings::Instance().OverviewSingleHeight(), 200);
  for (int i = 0; i < 20; ++i) QTest::keyClick(form->Grid(), Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(form->Grid()->CellWidth(), 32);
  EXPECT_EQ(form->Grid()->CellHeight(), 24 + 15);
  // The minus of the main keyboard is not the numeric pad's.
  QTest::keyClick(form->Grid(), Qt::Key_Plus);
  EXPECT_EQ(form->Grid()->CellWidth(), 32);
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
}

TEST_F(TFontOverviewTest, OnlyTheCellOfAChangedGlyphIsDrawnAgain) {
  REQUIRE_DEJAVU();
  auto form = Open(CopyOf(kDejaVu, "cache.ttf"));
  TGlyphGrid* grid = form->Grid();
  grid->viewport()->grab();
  const int first = grid->PicturesDrawn();
  EXPECT_GE(first, grid->LastPaintedCells());
  grid->viewport()->grab();
  EXPECT_EQ(grid->PicturesDrawn(), first);  // all copied
  const QImage before = grid->viewport()->grab().toImage().copy(grid->CellRect(kA));
  Shift(form->Manager(), kA);
  const QImage after = grid->viewport()->grab().toImage().copy(grid->CellRect(kA));
  EXPECT_EQ(grid->PicturesDrawn(), first + 1);
  EXPECT_NE(before, after);
  form->Manager().Undo();
  const QImage undone = grid->viewport()->grab().toImage().copy(grid->CellRect(kA));
  EXPECT_EQ(grid->PicturesDrawn(), first + 2);
  EXPECT_EQ(undone, before);
  Answers = {QMessageBox::No};
}

TEST_F(TFontOverviewTest, APaintDuringAnUndoStepWaitsForTheEndOfTheStep) {
  REQUIRE_DEJAVU();
  auto form = Open(CopyOf(kDejaVu, "undo.ttf"));
  TGlyphGrid* grid = form->Grid();
  TTrueTypeFontManager& m = form->Manager();
  bool pendingDuringUndo = false;
  int paintedDuringUndo = -1;
  m.RecordLevel("Probe", [&] {
    m.History().AddUndoItem([&](TUndoRedoRepeatItem&, TStream&) {
      // Something makes the window paint while the font is half restored.
      grid->viewport()->repaint();
      pendingDuringUndo = grid->RepaintPending();
      paintedDuringUndo = grid->LastPaintedCells();
    });
  });
  m.Undo();
  EXPECT_TRUE(pendingDuringUndo);
  EXPECT_EQ(paintedDuringUndo, 0);
  EXPECT_FALSE(grid->RepaintPending());
  grid->viewport()->grab();
  EXPECT_GT(grid->LastPaintedCells(), 10);
  Answers = {QMessageBox::No};
}

TEST_F(TFontOverviewTest, SmoothGlyphsAreReducedFromTwiceTheSize) {
  REQUIRE_DEJAVU();
  // 4 x 1 to 2 x 1: x = 1 samples source 1.5, the mean of 100 and 200.
  QImage source(4, 1, QImage::Format_RGB32);
  const int grays[] = {0, 100, 200, 250};
  for (int x = 0; x < 4; ++x) source.setPixel(x, 0, qRgb(grays[x], grays[x], 255 - grays[x]));
  const QImage reduced = ReduceBilinear(source, QSize(2, 1));
  EXPECT_EQ(reduced.pixel(0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(reduced.pixel(1, 0), qRgb(150, 150, 105));

  TTrueTypeFont font;
  font.LoadFromFile(kDejaVu.toStdString());
  auto grays_in = [](const QImage& I) {
    int mid = 0, dark = 0;
    for (int y = 0; y < I.height(); ++y)
      for (int x = 0; x < I.width(); ++x) {
        const int g = qGray(I.pixel(x, y));
        mid += g > 30 && g < 225;
        dark += g <= 30;
      }
    return std::pair(mid, dark);
  };
  TGlyphCellOptions options;
  const auto plain = grays_in(DrawGlyphArea(font, kA, QSize(54, 48), false, options, -1, Qt::white));
  options.Smooth = true;
  const auto smooth = grays_in(DrawGlyphArea(font, kA, QSize(54, 48), false, options, -1, Qt::white));
  EXPECT_EQ(plain.first, 0);
  EXPECT_GT(plain.second, 50);
  EXPECT_GT(smooth.first, 20);
  EXPECT_GT(smooth.second, 20);
}

TEST_F(TFontOverviewTest, SaveWithBackupKeepsThePreviousFileAfterTheHeader) {
  REQUIRE_DEJAVU();
  const QString file = CopyOf(kDejaVu, "a.ttf");
  const QByteArray original = ReadAll(file);
  TRegistrySettings::Instance().SetAlwaysCreateBackupCopy(true);
  auto form = Open(file);
  Shift(form->Manager(), kA);
  ASSERT_TRUE(form->SaveFont());
  const QByteArray backup = ReadAll(Temp.filePath("a.bak"));
  ASSERT_EQ(backup.size(), 208 + original.size());
  EXPECT_EQ(backup.mid(4, 4), QByteArray("\xD0\0\0\0", 4));
  EXPECT_EQ(backup.mid(208), original);
  EXPECT_NE(ReadAll(file), original);
  EXPECT_FALSE(form->isWindowModified());
  // The next save keeps the file as this save left it.
  const QByteArray saved = ReadAll(file);
  Shift(form->Manager(), kA);
  ASSERT_TRUE(form->SaveFont());
  EXPECT_EQ(ReadAll(Temp.filePath("a.bak")).mid(208), saved);
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
}

TEST_F(TFontOverviewTest, SaveAsAddsTheSuffixBeforeAskingAboutAnExistingFile) {
  REQUIRE_DEJAVU();
  const QString file = CopyOf(kDejaVu, "b.ttf");
  const QString existing = CopyOf(kDejaVu, "x.ttf");
  const QByteArray old = ReadAll(existing);
  auto form = Open(file);
  Shift(form->Manager(), kA);
  // "x" becomes x.ttf, which exists: the question names it; No asks again.
  SaveNames = {Temp.filePath("x"), QString()};
  Answers = {QMessageBox::No};
  EXPECT_FALSE(form->SaveFontAs());
  ASSERT_EQ(Questions.size(), 1);
  EXPECT_EQ(Questions[0], existing + " already exists.\nDo you want to replace it?");
  EXPECT_EQ(Proposals.size(), 2);
  EXPECT_EQ(Proposals[1], existing);
  EXPECT_EQ(ReadAll(existing), old);
  EXPECT_TRUE(form->Manager().IsModified());
  // Yes writes it, without a backup even when backups are on.
  TRegistrySettings::Instance().SetAlwaysCreateBackupCopy(true);
  SaveNames = {Temp.filePath("x")};
  Answers = {QMessageBox::Yes};
  EXPECT_TRUE(form->SaveFontAs());
  EXPECT_NE(ReadAll(existing), old);
  EXPECT_FALSE(QFileInfo::exists(Temp.filePath("x.bak")));
  EXPECT_EQ(form->windowTitle(), "x.ttf[*]");
  EXPECT_FALSE(form->Manager().IsModified());
}

TEST_F(TFontOverviewTest, AFailedWriteKeepsTheFontModifiedWithTheMessage) {
  REQUIRE_DEJAVU();
  auto form = Open(CopyOf(kDejaVu, "c.ttf"));
  Shift(form->Manager(), kA);
  const QString target = Temp.filePath("missing-folder/c2.ttf");
  SaveNames = {target};
  EXPECT_FALSE(form->SaveFontAs());
  ASSERT_EQ(Errors.size(), 1);
  EXPECT_EQ(Errors[0], "Cannot save font file " + target +
                           " (the file is probably in use by Windows or another application).");
  EXPECT_TRUE(form->Manager().IsModified());
  EXPECT_TRUE(form->isWindowModified());
  // The new name stays; the next Save tries it again.
  EXPECT_EQ(QString::fromStdString(form->Manager().FileName()), target);
  Answers = {QMessageBox::No};
}

TEST_F(TFontOverviewTest, UntitledFontsAndFontFoldersAskFirst) {
  REQUIRE_DEJAVU();
  auto form = Open(CopyOf(kDejaVu, "d.ttf"));
  form->SetUntitled(true);
  SaveNames = {QString()};
  EXPECT_FALSE(form->SaveFont());
  EXPECT_EQ(Proposals.size(), 1);
  // Saving into a font folder is questioned; Cancel ends, No asks again.
  QDir(Temp.path()).mkpath("fonts/truetype");
  TFontOverviewForm::SetFontFolders({Temp.filePath("FONTS")});
  SaveNames = {Temp.filePath("fonts/truetype/e.ttf"), Temp.filePath("fonts/truetype/e.ttf")};
  Answers = {QMessageBox::No, QMessageBox::Cancel};
  EXPECT_FALSE(form->SaveFont());
  ASSERT_EQ(Questions.size(), 2);
  EXPECT_EQ(Questions[0], "Saving fonts in Windows fonts folder could confuse your system. Continue anyway?");
  EXPECT_FALSE(QFileInfo::exists(Temp.filePath("fonts/truetype/e.ttf")));
  SaveNames = {Temp.filePath("fonts/truetype/e.ttf")};
  Answers = {QMessageBox::Yes};
  EXPECT_TRUE(form->SaveFont());
  EXPECT_FALSE(form->Untitled());
  EXPECT_TRUE(QFileInfo::exists(Temp.filePath("fonts/truetype/e.ttf")));
}

TEST_F(TFontOverviewTest, ScreenshotsOfCaptionsSelectionAndBookmarks) {
  REQUIRE_DEJAVU();
  auto form = Open(kDejaVu);
  TGlyphGrid* grid = form->Grid();
  form->FocusGlyph(kA);
  form->ToggleBookmark(2);
  form->FocusGlyph(0);
  form->ToggleBookmark(7);
  Click(grid, kA + 3);
  Click(grid, kA + 6, Qt::ShiftModifier);
  Click(grid, kA + 5, Qt::ControlModifier);
  const QImage names = test::GrabWidget(form.get(), "overview_postscript_names");
  EXPECT_FALSE(names.isNull());
  // The caption marks are a few pixels: a magnified copy of the first cells
  // and of the bookmarked 'A' to look at.
  if (!test::ScreenshotDirectory().isEmpty()) {
    const QRect a = grid->CellRect(kA).united(grid->CellRect(kA + 3)).translated(grid->viewport()->pos());
    names.copy(0, 0, 5 * grid->CellWidth(), grid->CellHeight()).scaled(QSize(5 * grid->CellWidth(), grid->CellHeight()) * 4)
        .save(QDir(test::ScreenshotDirectory()).filePath("overview_marks_zoom.png"));
    names.copy(a).scaled(a.size() * 4).save(QDir(test::ScreenshotDirectory()).filePath("overview_bookmark_zoom.png"));
  }
  std::unique_ptr<QMenu> menu(form->CreateContextMenu());
  Find(menu.get(), "&Microsoft Mappings")->trigger();
  TRegistrySettings::Instance().SetOverviewSmoothGlyphs(true);
  form->ApplySettings();
  const QImage mappings = test::GrabWidget(form.get(), "overview_microsoft_smooth");
  if (!test::ScreenshotDirectory().isEmpty()) {
    const QRect a = grid->CellRect(kA).united(grid->CellRect(kA + 3)).translated(grid->viewport()->pos());
    mappings.copy(a).scaled(a.size() * 4).save(QDir(test::ScreenshotDirectory()).filePath("overview_smooth_zoom.png"));
  }
  EXPECT_NE(names, mappings);
  // Glyphs without a character carry the raised square.
  int unmapped = 1;
  while (CharacterOfGlyph(form->Manager().Font(), unmapped) >= 0) ++unmapped;
  form->FocusGlyph(unmapped);
  const QImage plain = test::GrabWidget(form.get(), "overview_unmapped");
  if (!test::ScreenshotDirectory().isEmpty()) {
    const QRect u = grid->CellRect(unmapped).united(grid->CellRect(unmapped + 2)).translated(grid->viewport()->pos());
    plain.copy(u).scaled(u.size() * 4).save(QDir(test::ScreenshotDirectory()).filePath("overview_unmapped_zoom.png"));
  }
}

}  // namespace
}  // namespace tsy
