#include "shell/fontoverviewform.h"
#include "shell/overviewcommands.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>

#include "common/numeric.h"
#include "document/backupfile.h"
#include "document/fontmanager.h"
#include "document/openfont.h"
#include "fontfile/fontexception.h"
#include "settings/registrysettings.h"
#include "shell/bookmarkstore.h"
#include "shell/glyphgrid.h"
#include "shell/tsyapplication.h"

namespace tsy {

namespace {
TFontOverviewForm::TQuestion& Question() {
  static TFontOverviewForm::TQuestion question;
  return question;
}
TFontOverviewForm::TSaveName& SaveNameDialog() {
  static TFontOverviewForm::TSaveName dialog;
  return dialog;
}
QStringList& FontFolderOverride() {
  static QStringList folders;
  return folders;
}
QString Native(const std::string& Name) { return QString::fromStdString(Name); }

// The digit of Ctrl+0..9, also when Shift turned it into the symbol above it
// on the keyboard; -1 for any other key.
int DigitOfKey(int Key) {
  if (Key >= Qt::Key_0 && Key <= Qt::Key_9) return Key - Qt::Key_0;
  static const int kShifted[] = {Qt::Key_ParenRight, Qt::Key_Exclam,     Qt::Key_At,        Qt::Key_NumberSign,
                                 Qt::Key_Dollar,     Qt::Key_Percent,    Qt::Key_AsciiCircum, Qt::Key_Ampersand,
                                 Qt::Key_Asterisk,   Qt::Key_ParenLeft};
  for (int d = 0; d < 10; ++d)
    if (Key == kShifted[d]) return d;
  return -1;
}

struct TWaitCursor {
  TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
};
}  // namespace

TFontOverviewForm::TQuestion TFontOverviewForm::SetQuestion(TQuestion NewQuestion) {
  TQuestion previous = std::move(Question());
  Question() = std::move(NewQuestion);
  return previous;
}

TFontOverviewForm::TSaveName TFontOverviewForm::SetSaveNameDialog(TSaveName Dialog) {
  TSaveName previous = std::move(SaveNameDialog());
  SaveNameDialog() = std::move(Dialog);
  return previous;
}

QStringList TFontOverviewForm::FontFolders() {
  if (!FontFolderOverride().isEmpty()) return FontFolderOverride();
  return {QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(QStringLiteral("fonts")),
          QDir::home().filePath(QStringLiteral(".fonts")), QStringLiteral("/usr/share/fonts"),
          QStringLiteral("/usr/local/share/fonts")};
}

void TFontOverviewForm::SetFontFolders(const QStringList& Folders) { FontFolderOverride() = Folders; }

TFontOverviewForm::TFontOverviewForm(std::unique_ptr<TTrueTypeFontManager> Manager, QWidget* Parent)
    : QWidget(Parent), FManager(std::move(Manager)) {
  setAttribute(Qt::WA_DeleteOnClose);
  FGrid = new TGlyphGrid(*FManager, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FGrid);
  connect(FGrid, &TGlyphGrid::selectionChanged, this, &TFontOverviewForm::stateChanged);
  // A double click opens an editor whatever the number already open.
  connect(FGrid, &TGlyphGrid::glyphActivated, this, &TFontOverviewForm::openGlyphRequested);
  FGrid->viewport()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(FGrid->viewport(), &QWidget::customContextMenuRequested, this, [this](const QPoint& At) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(FGrid->viewport()->mapToGlobal(At));
  });
  // The window sees the grid's keys first.
  FGrid->installEventFilter(this);
  FGrid->SetBookmarkGlyphs([this] { return TBookmarkStore::Bookmarks().BookmarkGlyphs(FManager->Font()); });
  // The manager's events call back into this window, which outlives none of
  // them: the manager is destroyed with it.
  FManager->OnChange = [this](TTrueTypeFontManager&) { FontChanged(); };
  FManager->OnAfterUndo = [this](TTrueTypeFontManager&) { HistoryFinished(); };
  FManager->OnFileNameChange = [this](TTrueTypeFontManager&, const std::string&) { UpdateTitle(); };
  UpdateTitle();
  try {
    ApplySettings();
  } catch (...) {
    // A damaged setting has been reset to its default; the window goes on
    // with the cells it has.
    TTsyApplication::ShowException(std::current_exception());
  }
  FInitialised = true;
  FGrid->SetInitialised(true);
  resize(640, 480);
}

TFontOverviewForm::~TFontOverviewForm() {
  FManager->OnChange = nullptr;
  FManager->OnAfterUndo = nullptr;
  FManager->OnFileNameChange = nullptr;
}

void TFontOverviewForm::ApplySettings() {
  TRegistrySettings& s = TRegistrySettings::Instance();
  TGlyphCellOptions options;
  options.Width = s.OverviewSingleWidth();
  options.Height = s.OverviewSingleHeight();
  options.ShowCaption = s.OverviewShowCaption();
  options.UseColor = s.OverviewUseColor();
  options.ShowSample = s.OverviewShowSample();
  options.SampleFont = Native(s.OverviewSampleFont());
  options.Smooth = s.OverviewSmoothGlyphs();
  options.CaptionType = s.GlyphCaptionType();
  options.Hexadecimal = s.ValueHexadecimal();
  FGrid->SetOptions(options);
  FManager->History().SetMaxCount(s.OverviewUndoLimitMaxCount());
  FManager->History().SetMaxSize(s.OverviewUndoLimitMaxSize() * 1024);
  // Bookmarks or captions may have changed without a font change.
  FGrid->FontChanged();
}

void TFontOverviewForm::UpdateTitle() {
  setWindowTitle(QFileInfo(Native(FManager->FileName())).fileName() + QStringLiteral("[*]"));
  setWindowModified(FManager->IsModified());
}

void TFontOverviewForm::FontChanged() {
  FGrid->FontChanged();
  UpdateTitle();
  emit stateChanged();
}

void TFontOverviewForm::HistoryFinished() {
  FGrid->HistoryFinished();
  FontChanged();
}

// ---- Selection, editors, bookmarks

void TFontOverviewForm::FocusGlyph(int Glyph) { FGrid->FocusGlyph(Glyph); }

int TFontOverviewForm::OpenGlyphEditors() {
  const std::vector<int32_t> selected = FManager->SelectedGlyphs().Glyphs();
  const int n = std::min(int(selected.size()), kMaxGlyphEditors - FManager->EditWindows().WindowCount());
  for (int i = 0; i < n; ++i) emit openGlyphRequested(selected[size_t(i)]);
  return std::max(n, 0);
}

int TFontOverviewForm::BookmarkGlyph(int N) const { return TBookmarkStore::Bookmarks().BookmarkGlyph(FManager->Font(), N); }

void TFontOverviewForm::ToggleBookmark(int N) {
  if (FManager->Font().GlyphCount() == 0) return;
  const int focused = std::min(FGrid->FocusedGlyph(), int(FManager->Font().GlyphCount()) - 1);
  TBookmarkStore::Bookmarks().ToggleBookmark(FManager->Font(), N, focused);
  TBookmarkStore::Save();
  ApplySettings();
  // The bookmarks belong to every open font: the other grids show the new
  // marks as well.
  for (QWidget* widget : QApplication::allWidgets())
    if (auto* grid = qobject_cast<TGlyphGrid*>(widget); grid && grid != FGrid) grid->viewport()->update();
}

void TFontOverviewForm::GotoBookmark(int N) {
  const int glyph = BookmarkGlyph(N);
  if (glyph >= 0) FocusGlyph(glyph);
}

// ---- Settings changed from the window

void TFontOverviewForm::ScaleCells(double Factor) {
  TRegistrySettings& s = TRegistrySettings::Instance();
  // Kept inside the sizes the options dialog offers: a larger value would be
  // refused by the next read of the setting.
  s.SetOverviewSingleWidth(std::clamp(RoundHalfUp(s.OverviewSingleWidth() * Factor), 32, 200));
  s.SetOverviewSingleHeight(std::clamp(RoundHalfUp(s.OverviewSingleHeight() * Factor), 24, 200));
  ApplySettings();
}

void TFontOverviewForm::SetCaptionType(int Type) {
  TRegistrySettings& s = TRegistrySettings::Instance();
  s.SetOverviewShowCaption(true);
  s.SetGlyphCaptionType(Type);
  ApplySettings();
}

void TFontOverviewForm::ToggleCaptions() {
  TRegistrySettings& s = TRegistrySettings::Instance();
  s.SetOverviewShowCaption(!s.OverviewShowCaption());
  ApplySettings();
}

// ---- Context menu and keys

QMenu* TFontOverviewForm::CreateContextMenu() {
  auto* menu = new QMenu(this);
  const int selected = FManager->SelectedGlyphs().Count();
  QAction* edit = menu->addAction(QStringLiteral("&Edit"), this, Guarded([this] { OpenGlyphEditors(); }));
  edit->setEnabled(selected > 0);
  auto command = [this](void (*Command)(TFontOverviewForm&)) {
    return Guarded([this, Command] {
      Command(*this);
      emit stateChanged();
    });
  };
  QAction* cut = menu->addAction(QStringLiteral("Cu&t"), this, command(&overview::Cut));
  cut->setShortcut(QKeySequence::Cut);
  cut->setEnabled(selected > 0);
  QAction* copy = menu->addAction(QStringLiteral("&Copy"), this, command(&overview::Copy));
  copy->setShortcut(QKeySequence::Copy);
  copy->setEnabled(selected > 0);
  QAction* paste = menu->addAction(QStringLiteral("&Paste"), this, command(&overview::Paste));
  paste->setShortcut(QKeySequence::Paste);
  paste->setEnabled(overview::CanPaste(*this));
  menu->addAction(QStringLiteral("&Add"), this, command(&overview::AddGlyph));
  menu->addAction(QStringLiteral("&Delete"), this, command(&overview::Delete))->setEnabled(selected > 0);
  menu->addSeparator();

  TRegistrySettings& s = TRegistrySettings::Instance();
  QMenu* caption = menu->addMenu(QStringLiteral("Ca&ption"));
  auto* group = new QActionGroup(caption);
  const bool shown = s.OverviewShowCaption();
  const int type = s.GlyphCaptionType();
  const char* const kCaptionNames[] = {"&Postscript Name",  "&Unicode Mappings",   "Ma&cintosh Mappings",
                                       "&ISO Mappings",     "&Microsoft Mappings", "&Glyph Index"};
  for (int t = 0; t < 6; ++t) {
    QAction* a = caption->addAction(QLatin1String(kCaptionNames[t]), this, Guarded([this, t] { SetCaptionType(t); }));
    a->setCheckable(true);
    a->setChecked(shown && type == t);
    group->addAction(a);
  }
  caption->addSeparator();
  QAction* visible = caption->addAction(QStringLiteral("&Visible"), this, Guarded([this] { ToggleCaptions(); }));
  visible->setCheckable(true);
  visible->setChecked(shown);

  QMenu* toggle = menu->addMenu(QStringLiteral("&Toggle Bookmarks"));
  QMenu* go = menu->addMenu(QStringLiteral("&Goto Bookmarks"));
  for (int n = 0; n < TBookmarks::kCount; ++n) {
    const QString name = QStringLiteral("Bookmark &%1").arg(n);
    const bool leads = BookmarkGlyph(n) >= 0;
    QAction* t = toggle->addAction(name, this, Guarded([this, n] { ToggleBookmark(n); }));
    t->setCheckable(true);
    t->setChecked(leads);
    QAction* g = go->addAction(name, this, Guarded([this, n] { GotoBookmark(n); }));
    g->setEnabled(leads);
  }
  menu->addSeparator();
  // The shortcut is shown here; the key itself is handled with the others.
  QAction* all = menu->addAction(QStringLiteral("Select &All"), this, Guarded([this] {
                                   FManager->SelectAllGlyphs(true);
                                   FGrid->SelectionChanged();
                                 }));
  all->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  all->setShortcutContext(Qt::WidgetShortcut);
  menu->addAction(QStringLiteral("Clear &Selection"), this, Guarded([this] {
                    FManager->SelectedGlyphs().Clear();
                    FManager->Changed();
                  }));
  // GLYPH COMMANDS: "&Import Image..." and "&Properties..." go here with the
  // image tracing and the glyph properties dialog.
  return menu;
}

bool TFontOverviewForm::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == FGrid && Event->type() == QEvent::KeyPress) {
    try {
      if (HandleKey(static_cast<QKeyEvent*>(Event))) return true;
    } catch (...) {
      TTsyApplication::ShowException(std::current_exception());
      return true;
    }
  }
  return QWidget::eventFilter(Watched, Event);
}

bool TFontOverviewForm::HandleKey(QKeyEvent* Event) {
  const Qt::KeyboardModifiers mods = Event->modifiers() & ~Qt::KeypadModifier;
  const bool keypad = Event->modifiers() & Qt::KeypadModifier;
  const int key = Event->key();
  const int digit = DigitOfKey(key);
  if (mods == Qt::NoModifier) {
    if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
      if (key == Qt::Key_Delete)
        overview::Delete(*this);
      else
        overview::MakeEmpty(*this);
      emit stateChanged();
      return true;
    }
    if (keypad && key == Qt::Key_Plus) return ScaleCells(1.25), true;
    if (keypad && key == Qt::Key_Minus) return ScaleCells(0.8), true;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return OpenGlyphEditors(), true;
  }
  if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && digit >= 0) return ToggleBookmark(digit), true;
  if (mods == Qt::ControlModifier && digit >= 0) return GotoBookmark(digit), true;
  if (mods == Qt::ControlModifier && key == Qt::Key_Home) return FocusGlyph(0), true;
  if (mods == Qt::ControlModifier && key == Qt::Key_End) return FocusGlyph(int(FManager->Font().GlyphCount()) - 1), true;
  if (mods == Qt::ControlModifier && key == Qt::Key_A) {
    FManager->SelectAllGlyphs(true);
    FGrid->SelectionChanged();
    return true;
  }
  // GLYPH COMMANDS: Alt+Enter (glyph properties) goes here.
  return false;
}

// ---- Saving

QMessageBox::StandardButton TFontOverviewForm::Ask(const QString& Text, QMessageBox::StandardButtons Buttons) {
  if (Question()) return Question()(this, Text);
  const QMessageBox::StandardButton first = (Buttons & QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
  return QMessageBox::question(this, QStringLiteral("Confirm"), Text, Buttons, first);
}

bool TFontOverviewForm::NeedsNewName() const {
  return QFileInfo(Native(FManager->FileName())).suffix().compare(QLatin1String("ttf"), Qt::CaseInsensitive) != 0;
}

bool TFontOverviewForm::SaveFont() {
  if (FUntitled || NeedsNewName()) return SaveFontAs();
  const QString file = Native(FManager->FileName());
  if (TRegistrySettings::Instance().AlwaysCreateBackupCopy()) CreateBackup(file.toStdString());
  return WriteFont(file);
}

bool TFontOverviewForm::SaveFontAs() {
  const QFileInfo current(Native(FManager->FileName()));
  QString proposed = current.dir().filePath(current.completeBaseName() + QStringLiteral(".ttf"));
  QString name;
  for (;;) {
    if (SaveNameDialog())
      name = SaveNameDialog()(this, proposed);
    else
      name = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), proposed, QStringLiteral("Font files (*.ttf)"),
                                          nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return false;
    // The suffix comes first, so that the question below is about the file
    // that will really be written.
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".ttf");
    proposed = name;
    const QFileInfo chosen(name);
    const bool sameFile = chosen.absoluteFilePath() == current.absoluteFilePath();
    const QString folder = chosen.absolutePath() + QLatin1Char('/');
    const QStringList fontFolders = FontFolders();
    const bool inFontFolder = std::any_of(fontFolders.begin(), fontFolders.end(), [&](const QString& F) {
      return folder.startsWith(QDir(F).absolutePath() + QLatin1Char('/'), Qt::CaseInsensitive);
    });
    if (inFontFolder && !sameFile) {
      const QMessageBox::StandardButton answer =
          Ask(QStringLiteral("Saving fonts in Windows fonts folder could confuse your system. Continue anyway?"),
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      if (answer == QMessageBox::Cancel) return false;
      if (answer != QMessageBox::Yes) continue;
    }
    if (chosen.exists() && !sameFile &&
        Ask(QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(name),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
      continue;
    break;
  }
  FManager->SetFileName(name.toStdString());
  return WriteFont(name);
}

bool TFontOverviewForm::WriteFont(const QString& FileName) {
  TWaitCursor wait;
  try {
    TRegistrySettings& settings = TRegistrySettings::Instance();
    PrepareFontForSave(FManager->Font(), settings);
    FManager->RunSaveTimeCommands(settings);
    FManager->Font().SaveToFile(FileName.toStdString());
  } catch (const EStreamError&) {
    TTsyApplication::ShowError(
        QStringLiteral("Cannot save font file %1 (the file is probably in use by Windows or another application).")
            .arg(FileName));
    UpdateTitle();
    emit stateChanged();
    return false;
  } catch (...) {
    TTsyApplication::ShowException(std::current_exception());
    UpdateTitle();
    emit stateChanged();
    return false;
  }
  FManager->History().MarkSaved();
  FUntitled = false;
  UpdateTitle();
  emit stateChanged();
  return true;
}

bool TFontOverviewForm::CanClose() {
  if (!FManager->IsModified()) return true;
  const QString text = QStringLiteral("Do you want to save changes you made to font %1?").arg(Native(FManager->FileName()));
  const QMessageBox::StandardButton answer = Ask(text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Yes) return SaveFont();
  return answer == QMessageBox::No;
}

void TFontOverviewForm::closeEvent(QCloseEvent* Event) {
  if (!CanClose()) {
    Event->ignore();
    return;
  }
  emit closing(Native(FManager->FileName()));
  // The next font window opens the way this one was left.
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) try {
      TRegistrySettings::Instance().SetChildWindowState(frame->isMaximized() ? 2 : frame->isMinimized() ? 1 : 0);
    } catch (const std::exception&) {
    }
  FInitialised = false;
  FGrid->SetInitialised(false);
  Event->accept();
}

}  // namespace tsy
