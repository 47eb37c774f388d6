#include "shell/mainformtsy4.h"

#include "glyphedit/guidelinesfile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QToolBar>
#include <new>

#include "dialogs/installedfontsform.h"
#include "dialogs/newtruetypefontform.h"
#include "dialogs/tipofthedayform.h"
#include "document/fontmanager.h"
#include "document/newfont.h"
#include "document/openfont.h"
#include "fontfile/collection.h"
#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"
#include "fontfile/truetypefont.h"
#include "fonts/installedfonts.h"
#include "settings/registrysettings.h"
#include "settings/windowposition.h"
#include "shell/fontoverviewform.h"
#include "shell/tsyapplication.h"
#include "tools/extractfromttcform.h"
#include "tools/extractionprogressform.h"

namespace tsy {

namespace {

constexpr int kMaxRecentFiles = 10;
const char* const kRecentKey = "Software/Varnel/Tessary/5.0/Most Recently Used Files";
const char* const kToolbarsKey = "Software/Varnel/Tessary/5.0/Toolbars";

TMainFormTSY4::TQuestion& Question() {
  static TMainFormTSY4::TQuestion question;
  return question;
}

// Clears a flag on every way out of a scope.
struct TFlagGuard {
  bool& Flag;
  explicit TFlagGuard(bool& F) : Flag(F) { Flag = true; }
  ~TFlagGuard() { Flag = false; }
};

int64_t NowLongDateTime() {
  // Seconds since 1904-01-01 00:00, in whole seconds.
  const QDateTime epoch(QDate(1904, 1, 1), QTime(0, 0));
  return epoch.secsTo(QDateTime::currentDateTime());
}

}  // namespace

TMainFormTSY4::TQuestion TMainFormTSY4::SetQuestion(TQuestion NewQuestion) {
  TQuestion previous = std::move(Question());
  Question() = std::move(NewQuestion);
  return previous;
}

QString TMainFormTSY4::ProductTitle() { return QStringLiteral("Tessary 5.0"); }

const char* TMainFormTSY4::RecentFilesKey() { return kRecentKey; }

TMainFormTSY4::TMainFormTSY4(QWidget* Parent) : QMainWindow(Parent) {
  setObjectName(QStringLiteral("TMainFormTSY4"));
  setWindowTitle(ProductTitle());
  setAcceptDrops(true);
  FMdiArea = new QMdiArea(this);
  FMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  FMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(FMdiArea);
  connect(FMdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateInterface(); });
  CreateActions();
  CreateMenus();

  // Panel 0 takes hints and messages, panel 1 the edit status, panel 2 the
  // glyph count; the progress bar covers them while a font loads.
  const int widths[3] = {305, 200, 94};
  for (int i = 0; i < 3; ++i) {
    FPanels[i] = new QLabel(this);
    FPanels[i]->setMinimumWidth(i == 1 ? 0 : widths[i]);
    statusBar()->addWidget(FPanels[i], i == 1 ? 1 : 0);
  }
  FProgress = new QProgressBar(this);
  FProgress->setRange(0, 100);
  FProgress->hide();
  statusBar()->addWidget(FProgress, 1);

  LoadRecentFiles();
  resize(1000, 700);
  RestoreLayout();
  UpdateInterface();
}

void TMainFormTSY4::RestoreLayout() {
  // Each piece is optional: a missing or damaged value leaves the default.
  TRegistrySettings& settings = TRegistrySettings::Instance();
  TWindowPlacement placement;
  if (RestoreWindowPosition(settings, placement, "Main Window", true)) {
    if (placement.Width > 0 && placement.Height > 0)
      setGeometry(placement.Left, placement.Top, placement.Width, placement.Height);
    if (placement.Maximized) setWindowState(windowState() | Qt::WindowMaximized);
  }
  if (auto state = settings.PeekString(kToolbarsKey, "State"))
    restoreState(QByteArray::fromBase64(QByteArray::fromStdString(*state)));
}

void TMainFormTSY4::SaveLayout() {
  TRegistrySettings& settings = TRegistrySettings::Instance();
  TWindowPlacement placement;
  placement.Visible = true;
  placement.Maximized = isMaximized();
  const QRect normal = isMaximized() ? normalGeometry() : geometry();
  placement.Left = normal.left(), placement.Top = normal.top();
  placement.Width = normal.width(), placement.Height = normal.height();
  SaveWindowPosition(settings, placement, "Main Window", true);
  settings.TryWriteString(kToolbarsKey, "State", saveState().toBase64().toStdString());
}

TMainFormTSY4::~TMainFormTSY4() {
  // The children go after this part of the frame: their activation changes
  // must no longer reach it.
  FMdiArea->disconnect(this);
  // Glyph editors use their overview's font: they go before the overviews.
  for (TFontOverviewForm* form : Overviews()) CloseGlyphEditors(form);
  for (TFontOverviewForm* form : Overviews()) {
    form->disconnect(this);
    form->removeEventFilter(this);
  }
  // Nothing here may fail the shutdown: each store reports by its result.
  if (FGuidelinesLoaded) SaveProgramGuidelines();
  SaveRecentFiles();
  SaveLayout();
}

void TMainFormTSY4::CreateActions() {
  auto make = [this](const QString& Text, const QString& Hint, auto Body) {
    auto* action = new QAction(Text, this);
    if (!Hint.isEmpty()) action->setStatusTip(Hint), action->setToolTip(Hint);
    connect(action, &QAction::triggered, this, Guarded(Body));
    return action;
  };
  FNew = make(QStringLiteral("&New..."), QStringLiteral("Create a new file..."), [this] { NewFontCommand(); });
  FNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  FInstalledFont = make(QStringLiteral("&Installed Font..."), QStringLiteral("Open an installed font..."),
                        [this] { InstalledFontCommand(); });
  FInstalledFont->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  FOpen = make(QStringLiteral("&Font File..."), QStringLiteral("Open an existing font file..."), [this] { OpenCommand(); });
  FOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  FSave = make(QStringLiteral("&Save"), QStringLiteral("Save current font file"), [this] { SaveActive(); });
  FSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  FSaveAs = make(QStringLiteral("Save &As..."), QString(), [this] {
    if (auto* form = ActiveOverview())
      if (form->SaveFontAs()) FUntitled.remove(form);
    UpdateInterface();
  });
  FSaveAll = make(QStringLiteral("Sa&ve All"), QString(), [this] { SaveAll(); });
  FSaveAllButton = make(QStringLiteral("Save All"), QStringLiteral("Save all font files"), [this] { SaveAll(); });
  FClose = make(QStringLiteral("&Close"), QStringLiteral("Close current font file"), [this] { CloseActive(); });
  FCloseAll = make(QStringLiteral("C&lose All"), QString(), [this] { CloseAllFonts(); });
  FExit = make(QStringLiteral("E&xit"), QString(), [this] { close(); });
  FUndo = make(QStringLiteral("&Undo"), QString(), [this] {
    if (auto* form = ActiveOverview(); form && form->Manager().History().CanUndo()) form->Manager().Undo();
    UpdateInterface();
  });
  FUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  FRedo = make(QStringLiteral("&Redo"), QString(), [this] {
    if (auto* form = ActiveOverview(); form && form->Manager().History().CanRedo()) form->Manager().Redo();
    UpdateInterface();
  });
  FRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
  FExtract = make(QStringLiteral("&Extract from TTC..."), QString(), [this] { ExtractCommand(QString()); });

  // The standard icons of the desktop theme stand for the buttons' pictures.
  FNew->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
  FOpen->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  FSave->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
  FSaveAllButton->setIcon(style()->standardIcon(QStyle::SP_DriveFDIcon));
  FClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  FUndo->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
  FRedo->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
  FInstalledFont->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
}

void TMainFormTSY4::CreateMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(FNew);
  QMenu* open = file->addMenu(QStringLiteral("&Open"));
  open->addAction(FInstalledFont);
  open->addAction(FOpen);
  FReopen = file->addMenu(QStringLiteral("&Reopen"));
  file->addSeparator();
  file->addAction(FSave);
  file->addAction(FSaveAs);
  file->addAction(FSaveAll);
  file->addSeparator();
  file->addAction(FClose);
  QAction* closeBefore = FClose;
  file->addAction(FCloseAll);
  file->addSeparator();
  file->addAction(FExit);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  edit->addAction(FUndo);
  edit->addAction(FRedo);
  edit->addSeparator();
  CreateGlyphActions(file, closeBefore, edit);

  FToolbar = new QToolBar(QStringLiteral("Standard"), this);
  FToolbar->setObjectName(QStringLiteral("ToolbarMenu"));
  for (QAction* action : {FNew, FOpen, FInstalledFont, FSave, FSaveAllButton, FClose}) FToolbar->addAction(action);
  FToolbar->addSeparator();
  FToolbar->addAction(FUndo);
  FToolbar->addAction(FRedo);
  addToolBar(Qt::TopToolBarArea, FToolbar);

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  CreateZoomActions(view);
  QMenu* bars = view->addMenu(QStringLiteral("&Toolbars"));
  QAction* standard = FToolbar->toggleViewAction();
  standard->setText(QStringLiteral("&Standard"));
  bars->addAction(standard);
  QAction* status = bars->addAction(QStringLiteral("Stat&usbar"));
  status->setCheckable(true);
  status->setChecked(true);
  connect(status, &QAction::toggled, this, [this](bool On) { statusBar()->setVisible(On); });

  QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
  tools->addAction(FExtract);
  tools->addSeparator();
  tools->addAction(QStringLiteral("&Options..."), this, Guarded([this] { OptionsCommand(); }));

  QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
  FWindowActions = {window->addAction(QStringLiteral("&Cascade"), FMdiArea, &QMdiArea::cascadeSubWindows),
                    window->addAction(QStringLiteral("&Tile Horizontal"), this,
                                      [this] {
                                        // Full-width windows stacked from top to bottom.
                                        const QList<QMdiSubWindow*> list = FMdiArea->subWindowList();
                                        if (list.isEmpty()) return;
                                        const int h = FMdiArea->viewport()->height() / int(list.size());
                                        int y = 0;
                                        for (QMdiSubWindow* sub : list) {
                                          sub->showNormal();
                                          sub->setGeometry(0, y, FMdiArea->viewport()->width(), h);
                                          y += h;
                                        }
                                      }),
                    window->addAction(QStringLiteral("Tile &Vertical"), FMdiArea, &QMdiArea::tileSubWindows),
                    window->addAction(QStringLiteral("&Minimize All"), this, [this] {
                      for (QMdiSubWindow* sub : FMdiArea->subWindowList()) sub->showMinimized();
                    })};
  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  FTipOfTheDay = help->addAction(QStringLiteral("&Tip of the Day..."), this, Guarded([this] {
    TTipOfTheDayForm tip(TRegistrySettings::Instance(), this);
    tip.exec();
  }));
  help->addAction(QStringLiteral("&About..."), this, [this] {
    QMessageBox::about(this, QStringLiteral("About"),
                       ProductTitle() + QStringLiteral("\nAn editor for TrueType fonts."));
  });
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
  if (auto* form = qobject_cast<TFontOverviewForm*>(active->widget())) return form;
  return OverviewOfEditor(active->widget());
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

bool TMainFormTSY4::LoadInto(TTrueTypeFontManager& Manager, const QString& FileName, bool Backup, bool& Collection) {
  QString text;
  try {
    const std::string name = FileName.toStdString();
    if (Backup) {
      LoadBackupFont(Manager.Font(), name);
    } else if (TTrueTypeCollection::IsCollectionFile(name)) {
      Collection = true;
      return true;
    } else {
      LoadFontWithSettings(Manager.Font(), name, TRegistrySettings::Instance());
    }
    return true;
  } catch (const FontException& e) {
    text = QString::fromUtf8(e.what());
  } catch (const ERangeError& e) {
    text = QString::fromUtf8(e.what());
  } catch (const std::bad_alloc&) {
    text = QStringLiteral("The system is out of memory. Close some applications and try again.");
  } catch (const EStreamError&) {
    text = QStringLiteral("Could not read font data.");
  } catch (const std::exception&) {
  }
  TTsyApplication::ShowError(text.isEmpty()
                                 ? QStringLiteral("%1 cannot be identified as a TrueType font file.").arg(FileName)
                                 : QStringLiteral("Error opening %1. %2").arg(FileName, text));
  return false;
}

bool TMainFormTSY4::OpenFontFile(const QString& FileName, bool AsUntitled) {
  if (FOpeningFile) {
    QApplication::beep();
    return false;
  }
  TFlagGuard opening(FOpeningFile);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto manager = std::make_unique<TTrueTypeFontManager>();
  manager->Font().SetProgressHandler([this](TTrueTypeFont&, const std::string&, int Percent) {
    FProgress->setVisible(Percent > 0);
    if (Percent > 0) FProgress->setValue(Percent);
  });
  bool collection = false;
  const bool loaded = LoadInto(*manager, FileName, IsBackupFileName(FileName.toStdString()), collection);
  manager->Font().SetProgressHandler(nullptr);
  FProgress->hide();
  QApplication::restoreOverrideCursor();
  if (!loaded) return false;
  if (collection) {
    // A collection is never a document: its manager goes at once and the
    // wizard takes over.
    manager.reset();
    ExtractCommand(FileName);
    return true;
  }
  QString title = FileName;
  if (AsUntitled)
    title = QStringLiteral("Font%1.ttf").arg(++FUntitledCount);
  else
    RemoveRecentFile(FileName);
  CreateOverviewWindow(std::move(manager), title, AsUntitled);
  return true;
}

void TMainFormTSY4::CreateOverviewWindow(std::unique_ptr<TTrueTypeFontManager> Manager, const QString& Title,
                                         bool Untitled) {
  Manager->SetFileName(Title.toStdString());
  auto* form = new TFontOverviewForm(std::move(Manager));
  if (Untitled) {
    FUntitled.insert(form);
    form->installEventFilter(this);
  }
  connect(form, &TFontOverviewForm::stateChanged, this, [this] { UpdateInterface(); });
  connect(form, &TFontOverviewForm::openGlyphRequested, this,
          [this, form](int Glyph) { Guarded([this, form, Glyph] { OpenGlyphEditor(form, Glyph); })(); });
  connect(form, &TFontOverviewForm::closing, this, [this, form](const QString& Name) {
    CloseGlyphEditors(form);
    if (!FUntitled.contains(form)) AddRecentFile(Name);
  });
  connect(form, &QObject::destroyed, this, [this, form] {
    FUntitled.remove(form);
    QTimer::singleShot(0, this, [this] { UpdateInterface(); });
  });
  QMdiSubWindow* sub = FMdiArea->addSubWindow(form);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  const bool only = FMdiArea->subWindowList().size() == 1;
  sub->show();
  if (only) sub->showMaximized();
  FMdiArea->setActiveSubWindow(sub);
  UpdateInterface();
}

bool TMainFormTSY4::CreateNewFont(const QString& FamilyName, const QString& StyleName, bool Symbol) {
  const QString file =
      QString::fromStdString(TemplateFontFileName(Symbol ? TTemplateKind::Symbol : TTemplateKind::Unicode));
  auto manager = std::make_unique<TTrueTypeFontManager>();
  try {
    LoadFontWithSettings(manager->Font(), file.toStdString(), TRegistrySettings::Instance());
    ApplyNewFontValues(manager->Font(), FamilyName.toStdString(), StyleName.toStdString(), NowLongDateTime());
  } catch (const std::exception&) {
    TTsyApplication::ShowError(QStringLiteral("The specified file cannot be identified as a TrueType font file."));
    return false;
  }
  CreateOverviewWindow(std::move(manager), QStringLiteral("Font%1.ttf").arg(++FUntitledCount), true);
  return true;
}

void TMainFormTSY4::NewFontCommand() {
  TNewTrueTypeFontForm dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  CreateNewFont(dialog.FamilyName(), dialog.StyleName(), dialog.IsSymbol());
  UpdateInterface();
}

void TMainFormTSY4::OpenCommand() {
  TRegistrySettings& settings = TRegistrySettings::Instance();
  const QStringList names = QFileDialog::getOpenFileNames(
      this, QStringLiteral("Open"), QString::fromStdString(settings.OpenDialogInitialDir()),
      QStringLiteral("Font Files (*.ttf *.otf *.ttc);;Backup Font Files (*.bak)"));
  if (names.isEmpty()) return;
  settings.SetOpenDialogInitialDir(QFileInfo(names.first()).absolutePath().toStdString());
  for (const QString& name : names) OpenFontFile(name);
  UpdateInterface();
}

void TMainFormTSY4::InstalledFontCommand() {
  if (FBusy) return;
  QStringList files;
  {
    TFlagGuard busy(FBusy);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::unique_ptr<TInstalledFontsForm> dialog;
    try {
      TInstalledFonts fonts;
      fonts.Fonts.Sort();
      dialog = std::make_unique<TInstalledFontsForm>(fonts.Fonts, this);
    } catch (...) {
      QApplication::restoreOverrideCursor();
      throw;
    }
    QApplication::restoreOverrideCursor();
    if (dialog->exec() != QDialog::Accepted) return;
    files = dialog->SelectedFiles();
  }
  for (const QString& name : files) OpenFontFile(name);
  UpdateInterface();
}

void TMainFormTSY4::ExtractCommand(const QString& Preselected) {
  TExtractFromTTCForm wizard(this);
  wizard.Preselect(Preselected);
  if (wizard.exec() != QDialog::Accepted) return;
  TExtractionJob job{wizard.SourceFile().toStdString(), wizard.DestinationFolder().toStdString(),
                     wizard.Prefix().toStdString(), wizard.Selected(), wizard.Names()};
  TExtractionProgressForm progress(std::move(job), this);
  progress.exec();
  if (!progress.ErrorText().isEmpty())
    TTsyApplication::ShowError(TExtractionProgressForm::FailureText() + QLatin1Char('\n') + progress.ErrorText());
}

bool TMainFormTSY4::SaveForm(TFontOverviewForm* Form) {
  // An untitled font has no file yet: it is always saved under a new name.
  if (FUntitled.contains(Form)) {
    if (!Form->SaveFontAs()) return false;
    FUntitled.remove(Form);
    return true;
  }
  return Form->SaveFont();
}

void TMainFormTSY4::SaveActive() {
  if (FBusy) return;
  {
    TFlagGuard busy(FBusy);
    if (auto* form = ActiveOverview()) SaveForm(form);
  }
  UpdateInterface();
}

void TMainFormTSY4::SaveAll() {
  if (FBusy) return;
  {
    TFlagGuard busy(FBusy);
    for (TFontOverviewForm* form : Overviews()) SaveForm(form);
  }
  UpdateInterface();
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

bool TMainFormTSY4::CloseUntitled(TFontOverviewForm* Form) {
  if (!Form->Manager().IsModified()) return true;
  const QString text = QStringLiteral("Do you want to save changes you made to font %1?")
                           .arg(QString::fromStdString(Form->Manager().FileName()));
  const QMessageBox::StandardButton answer =
      Question() ? Question()(this, text)
                 : QMessageBox::question(this, QStringLiteral("Confirm"), text,
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (answer == QMessageBox::Yes) return SaveForm(Form);
  return answer == QMessageBox::No;
}

bool TMainFormTSY4::eventFilter(QObject* Watched, QEvent* Event) {
  // An untitled font must never be written under its made-up name: its close
  // question is answered here, with a name asked for on Yes.
  if (Event->type() == QEvent::Close) {
    auto* form = qobject_cast<TFontOverviewForm*>(Watched);
    if (form && FUntitled.contains(form)) {
      if (!CloseUntitled(form)) {
        Event->ignore();
        return true;
      }
      if (FUntitled.contains(form)) {
        // Still untitled: the user declined to save. The window closes
        // without the overview's own question and stays off the recent list.
        Event->accept();
        return true;
      }
      // Saved under a real name: the overview closes as any other.
    }
  }
  return QMainWindow::eventFilter(Watched, Event);
}

void TMainFormTSY4::closeEvent(QCloseEvent* Event) {
  if (CloseAllFonts())
    Event->accept();
  else
    Event->ignore();
}

void TMainFormTSY4::dragEnterEvent(QDragEnterEvent* Event) {
  if (Event->mimeData()->hasUrls()) Event->acceptProposedAction();
}

void TMainFormTSY4::dropEvent(QDropEvent* Event) {
  const QList<QUrl> urls = Event->mimeData()->urls();
  Event->acceptProposedAction();
  OpenDroppedFiles(urls);
}

void TMainFormTSY4::OpenDroppedFiles(const QList<QUrl>& Urls) {
  for (const QUrl& url : Urls) {
    if (!url.isLocalFile()) continue;
    const QString name = url.toLocalFile();
    if (QFileInfo(name).isDir()) continue;
    try {
      OpenFontFile(name);
    } catch (...) {
      TTsyApplication::ShowException(std::current_exception());
    }
  }
  UpdateInterface();
}

void TMainFormTSY4::StartUp(const QStringList& CommandLineFiles) {
  // Names are kept whole and absolute, as the recent-files list shows them.
  FCommandLine.clear();
  for (const QString& name : CommandLineFiles) FCommandLine.append(QFileInfo(name).absoluteFilePath());
  FStarted = true;
  // The program-wide guidelines; an unreadable file is left alone at exit.
  LoadProgramGuidelines();
  FGuidelinesLoaded = true;
  ScheduleIdle();
}

void TMainFormTSY4::ReceiveFile(const QString& FileName) {
  if (!FileName.isEmpty()) FPendingFiles.append(FileName);
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  ScheduleIdle();
}

void TMainFormTSY4::ScheduleIdle(int DelayMs) {
  if (FIdleScheduled) return;
  FIdleScheduled = true;
  QTimer::singleShot(DelayMs, this, [this] {
    FIdleScheduled = false;
    IdleTurn();
  });
}

void TMainFormTSY4::IdleTurn() {
  if (FFirstIdle && FStarted) {
    FFirstIdle = false;
    for (const QString& name : std::as_const(FCommandLine)) OpenFontFile(name);
    FCommandLine.clear();
    if (TRegistrySettings::Instance().ShowTipOnStartup()) {
      TTipOfTheDayForm tip(TRegistrySettings::Instance(), this);
      tip.exec();
    }
  }
  if (!FOpeningFile && !FPendingFiles.isEmpty()) {
    OpenFontFile(FPendingFiles.takeFirst());
    UpdateInterface();
  }
  // While an open is in progress (a wizard or dialog of it may be up), look
  // again a little later instead of spinning.
  if (!FPendingFiles.isEmpty()) ScheduleIdle(FOpeningFile ? 100 : 0);
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

void TMainFormTSY4::LoadRecentFiles() {
  FRecentFiles.clear();
  TRegistrySettings& settings = TRegistrySettings::Instance();
  for (int i = 0; i < kMaxRecentFiles; ++i)
    if (auto name = settings.PeekString(kRecentKey, "File_" + std::to_string(i)); name && !name->empty())
      FRecentFiles.append(QString::fromStdString(*name));
  UpdateRecentMenu();
}

void TMainFormTSY4::SaveRecentFiles() {
  // Failures are only reported by the result of each write: the list is a
  // convenience, never a reason to stop.
  TRegistrySettings& settings = TRegistrySettings::Instance();
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    const std::string name = "File_" + std::to_string(i);
    if (i < FRecentFiles.size()) {
      settings.TryWriteString(kRecentKey, name, FRecentFiles[i].toStdString());
    } else if (settings.PeekString(kRecentKey, name)) {
      try {
        settings.DeleteSettingValue(kRecentKey, name);
      } catch (const std::exception&) {
      }
    }
  }
}

void TMainFormTSY4::UpdateRecentMenu() {
  FReopen->clear();
  for (const QString& name : std::as_const(FRecentFiles)) {
    QAction* action = FReopen->addAction(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
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
  UpdateInterface();
}

void TMainFormTSY4::UpdateInterface() {
  try {
    TFontOverviewForm* form = ActiveOverview();
    const bool open = form != nullptr;
    for (QAction* action : {FSave, FSaveAs, FSaveAll, FClose, FCloseAll}) action->setEnabled(open);
    bool anyModified = false;
    for (TFontOverviewForm* each : Overviews()) anyModified = anyModified || each->Manager().IsModified();
    FSaveAllButton->setEnabled(anyModified);
    for (QAction* action : std::as_const(FWindowActions)) action->setEnabled(!FMdiArea->subWindowList().isEmpty());
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
    UpdateGlyphActions();
    if (open) {
      FPanels[1]->clear();
      FPanels[2]->setText(QStringLiteral("%1 glyphs").arg(form->Manager().Font().GlyphCount()));
    } else {
      FPanels[2]->clear();
    }
  } catch (const std::exception& e) {
    // Never a dialog from here: the text goes to the status bar.
    FPanels[0]->setText(QString::fromUtf8(e.what()));
    QApplication::beep();
  }
}

}  // namespace tsy
