// The frame's glyph commands with real fonts: copy in one font and paste in
// another through the desktop clipboard, the overview's keys, and glyph edit
// windows that close with their font.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

#include "document/fontmanager.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/head.h"
#include "glyphedit/glypheditform.h"
#include "settings/registrysettings.h"
#include "shell/fontoverviewform.h"
#include "shell/glyphgrid.h"
#include "shell/mainformtsy4.h"
#include "shell/tsyapplication.h"
#include "support/screenshot.h"

namespace tsy {
namespace {

QAction* FindAction(QWidget* Owner, const QString& Text) {
  for (QAction* a : Owner->findChildren<QAction*>())
    if (a->text() == Text) return a;
  return nullptr;
}

std::vector<uint8_t> Snapshot(const TTrueTypeFont& F, int G) {
  TMemoryStream m;
  F.Outlines.WriteSnapshot(G, m);
  return m.Bytes();
}

class FrameGlyphCommands : public ::testing::Test {
protected:
  void SetUp() override {
    Previous = TTsyApplication::SetErrorDisplay([this](const QString& M) { Errors.append(M); });
  }
  void TearDown() override { TTsyApplication::SetErrorDisplay(Previous); }
  QStringList Errors;
  TTsyApplication::TErrorDisplay Previous;
};

TEST_F(FrameGlyphCommands, CopyInOneFontPasteInAnotherAndUndo) {
  TMainFormTSY4 frame;
  frame.resize(1000, 700);
  ASSERT_TRUE(frame.OpenFontFile("/usr/share/fonts/truetype/freefont/FreeSans.ttf"));
  TFontOverviewForm* source = frame.ActiveOverview();
  ASSERT_TRUE(frame.OpenFontFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
  TFontOverviewForm* target = frame.ActiveOverview();
  ASSERT_NE(source, target);

  frame.MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(source->parentWidget()));
  source->Manager().SelectedGlyphs().SetSelected(36, true);
  frame.UpdateInterface();
  QAction* copy = FindAction(&frame, "&Copy");
  QAction* paste = FindAction(&frame, "&Paste");
  ASSERT_TRUE(copy && paste);
  ASSERT_TRUE(copy->isEnabled());
  copy->trigger();

  frame.MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(target->parentWidget()));
  target->Manager().SelectedGlyphs().SetSelected(50, true);
  frame.UpdateInterface();
  ASSERT_TRUE(paste->isEnabled());
  const auto before = Snapshot(target->Manager().Font(), 50);
  paste->trigger();
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
  EXPECT_NE(Snapshot(target->Manager().Font(), 50), before);
  EXPECT_EQ(target->Manager().History().UndoCaption(), "Paste Glyph Data");
  FindAction(&frame, "&Undo Paste Glyph Data")->trigger();
  EXPECT_EQ(Snapshot(target->Manager().Font(), 50), before);
}

TEST_F(FrameGlyphCommands, OverviewKeysAndContextMenu) {
  TMainFormTSY4 frame;
  ASSERT_TRUE(frame.OpenFontFile("/usr/share/fonts/truetype/freefont/FreeSans.ttf"));
  TFontOverviewForm* form = frame.ActiveOverview();
  TTrueTypeFontManager& m = form->Manager();
  const size_t count = m.Font().GlyphCount();
  m.SelectedGlyphs().SetSelected(40, true);
  QTest::keyClick(form->Grid(), Qt::Key_Backspace);
  EXPECT_EQ(m.Font().Outlines.Items(40)->GetKind(), okEmpty);
  EXPECT_EQ(m.History().UndoCaption(), "Make Empty");
  m.SelectedGlyphs().Clear();
  m.SelectedGlyphs().SetSelected(40, true);
  QTest::keyClick(form->Grid(), Qt::Key_Delete);
  EXPECT_EQ(m.Font().GlyphCount(), count - 1);
  EXPECT_EQ(m.History().UndoCaption(), "Delete Glyphs");
  m.Undo();
  m.Undo();
  EXPECT_EQ(m.Font().GlyphCount(), count);
  EXPECT_NE(m.Font().Outlines.Items(40)->GetKind(), okEmpty);
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
}

TEST_F(FrameGlyphCommands, EditorsOpenOnRequestAndCloseWithTheirFont) {
  auto frame = std::make_unique<TMainFormTSY4>();
  frame->resize(1000, 700);
  ASSERT_TRUE(frame->OpenFontFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
  TFontOverviewForm* form = frame->ActiveOverview();
  form->Manager().SelectedGlyphs().SetSelected(36, true);
  form->Manager().SelectedGlyphs().SetSelected(37, true);
  QTest::keyClick(form->Grid(), Qt::Key_Return);
  int editors = 0;
  for (QMdiSubWindow* sub : frame->MdiArea()->subWindowList())
    if (qobject_cast<TGlyphEditForm*>(sub->widget())) ++editors;
  EXPECT_EQ(editors, 2);
  // With an editor active, the font's overview is still the active font.
  EXPECT_EQ(frame->ActiveOverview(), form);
  EXPECT_EQ(frame->ActiveOverviewWindow(), nullptr);
  frame->show();
  test::GrabWidget(frame.get(), "frame_with_glyph_editors");
  // Destroying the frame with editors open must not touch a freed font.
  frame.reset();
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
}

TEST_F(FrameGlyphCommands, PasteInAnEditorAddsCopiedGlyphsAsMembers) {
  TMainFormTSY4 frame;
  frame.resize(1000, 700);
  ASSERT_TRUE(frame.OpenFontFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
  TFontOverviewForm* form = frame.ActiveOverview();
  TTrueTypeFontManager& m = form->Manager();
  const int a = m.Font().Cmap()->UnicodeGlyph('A'), space = m.Font().Cmap()->UnicodeGlyph(' ');
  m.SelectedGlyphs().SetSelected(a, true);
  frame.UpdateInterface();
  FindAction(&frame, "&Copy")->trigger();

  frame.OpenGlyphEditor(form, space);
  ASSERT_NE(frame.ActiveGlyphEditor(), nullptr);
  frame.UpdateInterface();
  QAction* paste = FindAction(&frame, "&Paste");
  ASSERT_TRUE(paste->isEnabled());
  paste->trigger();
  const auto* composite = dynamic_cast<const TOutlineComposite*>(m.Font().Outlines.Items(size_t(space)));
  ASSERT_NE(composite, nullptr);
  ASSERT_EQ(composite->Members.size(), 1u);
  EXPECT_EQ(composite->Members[0].GlyphIndex, a);
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
  EXPECT_NE(FindAction(&frame, "&Options..."), nullptr);
}

}  // namespace
}  // namespace tsy
