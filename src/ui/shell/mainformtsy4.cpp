#include "shell/mainformtsy4.h"

#include "document/openfont.h"
#include "settings/registrysettings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <new>

#include "document/fontmanager.h"
#include "fontfile/fontexception.h"
#include "shell/fontoverviewform.h"
#include "shell/tsyapplication.h"

namespace tsy {

namespace {
constexpr int kMaxRecentFiles = 10;
}

TMainFormTSY4::TMainFormTSY4(QWidget* Parent) : QMainWindow(Parent) {
  setObjectName(QStringLiteral("TMainFormTSY4"));
  setWindowTitle(QStringLiteral("Tessary"));
  FMdiArea = new QMdiArea(this);
  FMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  FMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(FMdiArea);
  connect(FMdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateInterface(); });
  CreateMenus();
  statusBar();
  resize(1000, 700);
  UpdateInterface();
}

TMainFormTSY4::~TMainFormTSY4() {
  // The children go after this part of the frame: their activation changes
  // must no longer reach it.
  FMdiArea->disconnect(this);
  for (TFontOverviewForm* form : Overviews()) form->disconnect(this);
}

void TMainFormTSY4::CreateMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  FOpen = file->addAction(QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O), this, Guarded([this] { OpenCommand(); }));
  FReopen = file->addMenu(QStringLiteral("&Reopen"));
  FSave = file->addAction(QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), this, Guarded([this] {
                            if (FBusy) return;
                            FBusy = true;
                            if (auto* form = ActiveOverview()) form->SaveFont();
                            FBusy = false;
                            UpdateInterface();
                          }));
  FSaveAs = file->addAction(QStringLiteral("Save &As..."), this, Guarded([this] {
                              if (auto* form = ActiveOverview()) form->SaveFontAs();
                              UpdateInterface();
                            }));
  file->addSeparator();
  FClose = file->addAction(QStringLiteral("&Close"), this, Guarded([this] { CloseActive(); }));
  FCloseAll = file->addAction(QStringLiteral("Close A&ll"), this, Guarded([this] { CloseAllFonts(); }));
  file->addSeparator();
  FExit = file->addAction(QStringLiteral("E&xit"), this, Guarded([this] { close(); }));

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  FUndo = edit->addAction(QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), this, Guarded([this] {
                            if (auto* form = ActiveOverview(); form && form->Manager().History().CanUndo())
                              form->Manager().Undo();
                            UpdateInterface();
                          }));
  FRedo = edit->addAction(QStringLiteral("&Redo"), QKeySequence(Qt::CTRL | Qt::Key_Y), this, Guarded([this] {
                            if (auto* form = ActiveOverview(); form && form->Manager().History().CanRedo())
                              form->Manager().Redo();
                            UpdateInterface();
                          }));
  UpdateRecentMenu();
}

TFontOverviewForm* TMainFormTSY4::ActiveOverview() const {
  QMdiSubWindow* active = FMdiArea->activeSubWindow();
  if (!active) {
    // Without an active window (the frame not yet shown), the top one counts;
    // a closed window waiting for its deletion does not.
    const QList<QMdiSubWindow*> list = FMdiArea->subWindowList(QMdiArea::StackingOrder);
    for (auto it = list.rbegin(); it != list.rend() && !active; ++it)
      if (!(*it)->isHidden()) active = *it;
    if (!active) return nullptr;
  }
  return qobject_cast<TFontOverviewForm*>(active->widget());
}

QList<TFontOverviewForm*> TMainFormTSY4::Overviews() const {
  QList<TFontOverviewForm*> result;
  const QList<QMdiSubWindow*> list = FMdiArea->subWindowList(QMdiArea::CreationOrder);
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (auto* form = qobject_cast<TFontOverviewForm*>((*it)->widget())) result.append(form);
  return result;
}

QMdiSubWindow* TMainFormTSY4::SubWindowOf(TFontOverviewForm* Form) const {
  for (QMdiSubWindow* sub : FMdiArea->subWindowList())
    if (sub->widget() == Form) return sub;
  return nullptr;
}

bool TMainFormTSY4::OpenFontFile(const QString& FileName) {
  if (FOpeningFile) {
    QApplication::beep();
    return false;
  }
  FOpeningFile = true;
  struct TClear {
    bool& Flag;
    ~TClear() { Flag = false; }
  } clear{FOpeningFile};
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto manager = std::make_unique<TTrueTypeFontManager>();
  QString text;
  bool failed = false;
  try {
    // The same open steps as tsytool: the load options of the settings,
    // then a default OS/2 table where the font has none.
    LoadFontWithSettings(manager->Font(), FileName.toStdString(), TRegistrySettings::Instance());
  } catch (const FontException& e) {
    failed = true;
    text = QString::fromUtf8(e.what());
  } catch (const ERangeError& e) {
    failed = true;
    text = QString::fromUtf8(e.what());
  } catch (const std::bad_alloc&) {
    failed = true;
    text = QStringLiteral("The system is out of memory. Close some applications and try again.");
  } catch (const EStreamError&) {
    failed = true;
    text = QStringLiteral("Could not read font data.");
  } catch (const std::exception&) {
    failed = true;
  }
  QApplication::restoreOverrideCursor();
  if (failed) {
    TTsyApplication::ShowError(text.isEmpty()
                                   ? QStringLiteral("%1 cannot be identified as a TrueType font file.").arg(FileName)
                                   : QStringLiteral("Error opening %1. %2").arg(FileName, text));
    return false;
  }
  manager->SetFileName(FileName.toStdString());
  RemoveRecentFile(FileName);
  auto* form = new TFontOverviewForm(std::move(manager));
  connect(form, &TFontOverviewForm::stateChanged, this, [this] { UpdateInterface(); });
  connect(form, &TFontOverviewForm::closing, this, [this](const QString& Name) { AddRecentFile(Name); });
  connect(form, &QObject::destroyed, this, [this] { UpdateInterface(); }, Qt::QueuedConnection);
  QMdiSubWindow* sub = FMdiArea->addSubWindow(form);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  const bool only = FMdiArea->subWindowList().size() == 1;
  sub->show();
  if (only) sub->showMaximized();
  FMdiArea->setActiveSubWindow(sub);
  UpdateInterface();
  return true;
}

void TMainFormTSY4::OpenCommand() {
  const QStringList names = QFileDialog::getOpenFileNames(this, QStringLiteral("Open"), QString(),
                                                          QStringLiteral("Font Files (*.ttf *.otf);;All Files (*)"));
  for (const QString& name : names) OpenFontFile(name);
}

void TMainFormTSY4::CloseActive() {
  TFontOverviewForm* form = ActiveOverview();
  if (!form) return;
  // The overview asks about unsaved changes itself when it is closed.
  if (QMdiSubWindow* sub = SubWindowOf(form)) sub->close();
  UpdateInterface();
}

bool TMainFormTSY4::CloseAllFonts() {
  for (TFontOverviewForm* form : Overviews()) {
    QMdiSubWindow* sub = SubWindowOf(form);
    if (sub && !sub->close()) {
      UpdateInterface();
      return false;
    }
  }
  UpdateInterface();
  return true;
}

void TMainFormTSY4::closeEvent(QCloseEvent* Event) {
  if (CloseAllFonts())
    Event->accept();
  else
    Event->ignore();
}

void TMainFormTSY4::AddRecentFile(const QString& FileName) {
  FRecentFiles.removeAll(FileName);
  FRecentFiles.prepend(FileName);
  while (FRecentFiles.size() > kMaxRecentFiles) FRecentFiles.removeLast();
  UpdateRecentMenu();
}

void TMainFormTSY4::RemoveRecentFile(const QString& FileName) {
  FRecentFiles.removeAll(FileName);
  UpdateRecentMenu();
}

void TMainFormTSY4::UpdateRecentMenu() {
  FReopen->clear();
  for (const QString& name : FRecentFiles) {
    QAction* action = FReopen->addAction(name);
    connect(action, &QAction::triggered, this, Guarded([this, name] { ReopenFile(name); }));
  }
  FReopen->setEnabled(!FRecentFiles.isEmpty());
}

void TMainFormTSY4::ReopenFile(const QString& FileName) {
  if (!QFileInfo::exists(FileName)) {
    TTsyApplication::ShowError(QStringLiteral("File not found: %1").arg(FileName));
    RemoveRecentFile(FileName);
    return;
  }
  if (!OpenFontFile(FileName)) RemoveRecentFile(FileName);
}

void TMainFormTSY4::UpdateInterface() {
  TFontOverviewForm* form = ActiveOverview();
  const bool open = form != nullptr;
  FSave->setEnabled(open);
  FSaveAs->setEnabled(open);
  FClose->setEnabled(open);
  FCloseAll->setEnabled(open);
  auto caption = [](const std::string& Text) { return QString::fromStdString(Text); };
  if (open && form->Manager().History().CanUndo()) {
    const QString text = caption(form->Manager().History().UndoCaption());
    FUndo->setText(QStringLiteral("&Undo ") + text);
    FUndo->setToolTip(QStringLiteral("Undo ") + text);
    FUndo->setEnabled(true);
  } else {
    FUndo->setText(QStringLiteral("&Undo"));
    FUndo->setToolTip(QStringLiteral("Can't Undo"));
    FUndo->setEnabled(false);
  }
  if (open && form->Manager().History().CanRedo()) {
    const QString text = caption(form->Manager().History().RedoCaption());
    FRedo->setText(QStringLiteral("&Redo ") + text);
    FRedo->setToolTip(QStringLiteral("Redo ") + text);
    FRedo->setEnabled(true);
  } else {
    FRedo->setText(QStringLiteral("&Redo"));
    FRedo->setToolTip(QStringLiteral("Can't Redo"));
    FRedo->setEnabled(false);
  }
  if (open)
    statusBar()->showMessage(QStringLiteral("%1 glyphs").arg(form->Manager().Font().GlyphCount()));
  else
    statusBar()->clearMessage();
}

}  // namespace tsy
