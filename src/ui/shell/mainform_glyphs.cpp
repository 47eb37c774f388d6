// The frame's glyph side: the Edit menu's glyph and clipboard commands, Test
// and Install in the File menu, and the glyph edit windows that overviews ask
// for. Each edit window lives in the MDI area beside its font's overview and
// closes before the overview that owns its font.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include "clipboard/systemclipboard.h"
#include "dialogs/optionsform.h"
#include "document/clipboardcommands.h"
#include "document/fontmanager.h"
#include "glyphedit/glypheditform.h"
#include "settings/registrysettings.h"
#include "shell/fontoverviewform.h"
#include "shell/mainformtsy4.h"
#include "shell/overviewcommands.h"
#include "shell/tsyapplication.h"

namespace tsy {

void TMainFormTSY4::CreateGlyphActions(QMenu* File, QAction* FileBefore, QMenu* Edit) {
  FGlyphActions = std::make_unique<TGlyphActions>();
  TGlyphActions& a = *FGlyphActions;
  // Commands on the active overview's glyph selection.
  auto make = [this](const QString& Text, const QString& Hint, void (*Command)(TFontOverviewForm&)) {
    auto* action = new QAction(Text, this);
    if (!Hint.isEmpty()) action->setStatusTip(Hint), action->setToolTip(Hint);
    connect(action, &QAction::triggered, this, Guarded([this, Command] {
              if (TFontOverviewForm* form = ActiveOverviewWindow()) Command(*form);
              UpdateInterface();
            }));
    return action;
  };
  a.Cut = make(QStringLiteral("Cu&t"), QStringLiteral("Cut to clipboard"), &overview::Cut);
  // In a glyph editor the same three items work on contours and members.
  auto editorFirst = [this](QAction* Action, void (*Command)(TGlyphEditForm&)) {
    Action->disconnect(this);
    connect(Action, &QAction::triggered, this, Guarded([this, Action, Command] {
              if (TGlyphEditForm* editor = ActiveGlyphEditor())
                Command(*editor);
              else if (TFontOverviewForm* form = ActiveOverviewWindow())
                FOverviewCommands.value(Action)(*form);
              UpdateInterface();
            }));
  };
  a.Cut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
  a.Copy = make(QStringLiteral("&Copy"), QStringLiteral("Copy to clipboard"), &overview::Copy);
  a.Copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  a.Paste = make(QStringLiteral("&Paste"), QStringLiteral("Paste from clipboard"), &overview::Paste);
  a.Paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  a.PasteSpecial = make(QStringLiteral("Paste &Special..."), QString(), &overview::PasteSpecial);
  a.PasteSpecial->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  a.Delete = make(QStringLiteral("&Delete"), QString(), &overview::Delete);
  a.Insert = make(QStringLiteral("&Insert Glyphs..."), QString(), &overview::InsertGlyphs);
  a.SelectIncomplete = make(QStringLiteral("Select &Incomplete"), QString(), [](TFontOverviewForm& Form) {
    Form.Manager().SelectIncomplete();
    Form.Manager().Changed();
  });
  a.MakeEmpty = make(QStringLiteral("Make &Empty"), QStringLiteral("Make empty"), &overview::MakeEmpty);
  a.MakeSimple = make(QStringLiteral("&Make Simple"), QStringLiteral("Make simple"), &overview::MakeSimple);
  FOverviewCommands = {{a.Cut, &overview::Cut}, {a.Copy, &overview::Copy}, {a.Paste, &overview::Paste}};
  editorFirst(a.Cut, [](TGlyphEditForm& E) {
    TSystemClipboard clipboard;
    CutContoursToClipboard(E.Manager(), &E, E.Glyph(), clipboard);
  });
  editorFirst(a.Copy, [](TGlyphEditForm& E) {
    TSystemClipboard clipboard;
    CopyContours(E.Manager(), &E, E.Glyph(), clipboard);
  });
  editorFirst(a.Paste, [](TGlyphEditForm& E) {
    const TSystemClipboard clipboard;
    if (CanPasteContours(E.Manager(), E.Glyph(), clipboard))
      PasteContoursFromClipboard(E.Manager(), E.Glyph(), clipboard);
    else if (CanPasteGlyphsAsMembers(E.Manager(), E.Glyph(), clipboard))
      PasteGlyphsAsMembersFromClipboard(E.Manager(), E.Glyph(), clipboard);
  });
  for (QAction* action : {a.Cut, a.Copy, a.Paste, a.PasteSpecial, a.Delete, a.Insert}) Edit->addAction(action);
  Edit->addSeparator();
  Edit->addAction(a.SelectIncomplete);
  Edit->addSeparator();
  Edit->addAction(a.MakeEmpty);
  Edit->addAction(a.MakeSimple);

  a.Test = new QAction(QStringLiteral("&Test..."), this);
  a.Test->setShortcut(QKeySequence(Qt::Key_F5));
  a.Test->setToolTip(QStringLiteral("Test current font"));
  connect(a.Test, &QAction::triggered, this, Guarded([this] {
            if (TFontOverviewForm* form = ActiveOverview()) overview::TestFont(*form, TRegistrySettings::Instance());
          }));
  a.Install = new QAction(QStringLiteral("&Install..."), this);
  a.Install->setToolTip(QStringLiteral("Install current font"));
  connect(a.Install, &QAction::triggered, this, Guarded([this] {
            TFontOverviewForm* form = ActiveOverview();
            if (!form) return;
            // Only a saved font can be installed: what is on disk is what gets installed.
            if (form->Manager().IsModified() || IsUntitled(form) || form->NeedsNewName()) {
              if (!SaveForm(form)) return;
            }
            overview::InstallFont(*form, TRegistrySettings::Instance());
          }));
  File->insertAction(FileBefore, a.Test);
  File->insertAction(FileBefore, a.Install);
  File->insertSeparator(FileBefore);

  // Paste follows what the clipboard holds, whoever put it there.
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateInterface(); });
}

void TMainFormTSY4::CreateZoomActions(QMenu* View) {
  TGlyphActions& a = *FGlyphActions;
  auto make = [this, View](const QString& Text, void (*Command)(TGlyphEditForm&)) {
    QAction* action = View->addAction(Text, this, Guarded([this, Command] {
                                        if (QMdiSubWindow* sub = FMdiArea->activeSubWindow())
                                          if (auto* editor = qobject_cast<TGlyphEditForm*>(sub->widget())) Command(*editor);
                                      }));
    return action;
  };
  a.ZoomIn = make(QStringLiteral("Zoom &In"), [](TGlyphEditForm& E) { E.SetZoomFactor(E.ZoomFactor() * 2); });
  a.ZoomOut = make(QStringLiteral("Zoom &Out"), [](TGlyphEditForm& E) { E.SetZoomFactor(E.ZoomFactor() / 2); });
  a.Fit = make(QStringLiteral("&Fit to Window"), [](TGlyphEditForm& E) { E.FitOnScreen(); });
  View->addSeparator();
}

void TMainFormTSY4::OptionsCommand() {
  TOptionsForm dialog(TRegistrySettings::Instance(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  // Every open window shows the settings as they are now.
  for (TFontOverviewForm* form : Overviews()) form->ApplySettings();
  for (QMdiSubWindow* sub : FMdiArea->subWindowList())
    if (auto* editor = qobject_cast<TGlyphEditForm*>(sub->widget())) editor->update();
  UpdateInterface();
}

void TMainFormTSY4::UpdateGlyphActions() {
  if (!FGlyphActions) return;
  TGlyphActions& a = *FGlyphActions;
  TFontOverviewForm* form = ActiveOverviewWindow();
  const bool selected = form && form->Manager().SelectedGlyphs().Count() > 0;
  for (QAction* action : {a.Cut, a.Copy, a.Delete, a.MakeEmpty, a.MakeSimple}) action->setEnabled(selected);
  a.Paste->setEnabled(form && overview::CanPaste(*form));
  if (TGlyphEditForm* editor = ActiveGlyphEditor()) {
    const TSystemClipboard clipboard;
    const bool contours = CanCopyContours(editor->Manager(), editor, editor->Glyph());
    a.Cut->setEnabled(contours);
    a.Copy->setEnabled(contours);
    a.Paste->setEnabled(CanPasteContours(editor->Manager(), editor->Glyph(), clipboard) ||
                        CanPasteGlyphsAsMembers(editor->Manager(), editor->Glyph(), clipboard));
  }
  a.PasteSpecial->setEnabled(form && overview::CanPasteSpecial(*form));
  a.Insert->setEnabled(form != nullptr);
  a.SelectIncomplete->setEnabled(form != nullptr);
  const bool open = ActiveOverview() != nullptr;
  a.Test->setEnabled(open);
  a.Install->setEnabled(open);
  QMdiSubWindow* sub = FMdiArea->activeSubWindow();
  const bool editor = sub && qobject_cast<TGlyphEditForm*>(sub->widget());
  for (QAction* action : {a.ZoomIn, a.ZoomOut, a.Fit})
    if (action) action->setEnabled(editor);
}

TGlyphEditForm* TMainFormTSY4::ActiveGlyphEditor() const {
  QMdiSubWindow* active = FMdiArea->activeSubWindow();
  return active ? qobject_cast<TGlyphEditForm*>(active->widget()) : nullptr;
}

TFontOverviewForm* TMainFormTSY4::ActiveOverviewWindow() const {
  QMdiSubWindow* active = FMdiArea->activeSubWindow();
  if (!active) return ActiveOverview();
  return qobject_cast<TFontOverviewForm*>(active->widget());
}

TFontOverviewForm* TMainFormTSY4::OverviewOfEditor(QWidget* Widget) const {
  auto* editor = qobject_cast<TGlyphEditForm*>(Widget);
  if (!editor) return nullptr;
  for (TFontOverviewForm* form : Overviews())
    if (&form->Manager() == &editor->Manager()) return form;
  return nullptr;
}

void TMainFormTSY4::OpenGlyphEditor(TFontOverviewForm* Form, int Glyph) {
  auto* editor = new TGlyphEditForm(Form->Manager(), Glyph);
  QMdiSubWindow* sub = FMdiArea->addSubWindow(editor);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  connect(editor, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, [this] { UpdateInterface(); }); });
  sub->resize(FMdiArea->viewport()->size() * 0.6);
  sub->show();
  FMdiArea->setActiveSubWindow(sub);
  UpdateInterface();
}

void TMainFormTSY4::CloseGlyphEditors(TFontOverviewForm* Form) {
  // The editors use the overview's font: they go first, at once.
  for (QMdiSubWindow* sub : FMdiArea->subWindowList()) {
    auto* editor = qobject_cast<TGlyphEditForm*>(sub->widget());
    if (editor && &editor->Manager() == &Form->Manager()) delete sub;
  }
}

}  // namespace tsy
