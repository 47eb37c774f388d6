#pragma once
// The program's frame window: the menus, the Standard toolbar, the status
// bar and the MDI area that holds one overview window per open font.
// Commands act on the active overview; UpdateInterface brings every action
// into line with it.
#include <QMainWindow>
#include <QHash>
#include <QMessageBox>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QToolBar;
class QUrl;

namespace tsy {

class TFontOverviewForm;
class TGlyphEditForm;
class TRegistrySettings;
class TTrueTypeFontManager;

class TMainFormTSY4 : public QMainWindow {
  Q_OBJECT
public:
  explicit TMainFormTSY4(QWidget* Parent = nullptr);
  ~TMainFormTSY4() override;

  // "Tessary 5.0": the application and frame caption.
  static QString ProductTitle();

  // Opens a font file of any kind the program reads: a font (the load
  // options of the settings apply), a backup (.bak: the font at the offset
  // stored at byte 4, loaded as saved), or a collection (the extraction
  // wizard, preselected with it; no window is opened). AsUntitled names the
  // font "Font<n>.ttf". A failure is shown and gives false.
  bool OpenFontFile(const QString& FileName, bool AsUntitled = false);
  // Asks every overview in turn; stops at the first that refuses.
  bool CloseAllFonts();
  // New Font with the dialog's values; false when a template cannot be read.
  bool CreateNewFont(const QString& FamilyName, const QString& StyleName, bool Symbol);

  // Start-up: the command-line files are opened at the first idle turn, then
  // the tip of the day when the settings ask for it.
  void StartUp(const QStringList& CommandLineFiles);
  // A file handed over by another instance: opened at a later idle turn;
  // the frame comes to the front.
  void ReceiveFile(const QString& FileName);
  // Dropped items: every file in order (folders are skipped); an error in
  // one is shown and the next is handled.
  void OpenDroppedFiles(const QList<QUrl>& Urls);
  const QStringList& PendingFiles() const { return FPendingFiles; }
  // One idle turn: the command line on the first, then one pending file.
  void IdleTurn();

  // The overview of the active window's font (also when a glyph editor of
  // that font is active).
  TFontOverviewForm* ActiveOverview() const;
  // The active window when it is an overview: the glyph commands work there.
  TFontOverviewForm* ActiveOverviewWindow() const;
  // The active window when it is a glyph editor.
  TGlyphEditForm* ActiveGlyphEditor() const;
  // Opens a glyph edit window on Glyph of Form's font.
  void OpenGlyphEditor(TFontOverviewForm* Form, int Glyph);
  QList<TFontOverviewForm*> Overviews() const;
  QMdiArea* MdiArea() const { return FMdiArea; }
  bool IsUntitled(TFontOverviewForm* Form) const { return FUntitled.contains(Form); }

  // Most recently closed files first, at most ten; kept in the settings.
  const QStringList& RecentFiles() const { return FRecentFiles; }
  void AddRecentFile(const QString& FileName);
  void RemoveRecentFile(const QString& FileName);
  void LoadRecentFiles();
  void SaveRecentFiles();
  // The frame's placement ("Main Window") and the toolbar layout.
  void RestoreLayout();
  void SaveLayout();
  static const char* RecentFilesKey();

  QAction* ActionNew() const { return FNew; }
  QAction* ActionInstalledFont() const { return FInstalledFont; }
  QAction* ActionOpen() const { return FOpen; }
  QAction* ActionSave() const { return FSave; }
  QAction* ActionSaveAs() const { return FSaveAs; }
  QAction* ActionSaveAll() const { return FSaveAll; }
  QAction* ActionClose() const { return FClose; }
  QAction* ActionCloseAll() const { return FCloseAll; }
  QAction* ActionUndo() const { return FUndo; }
  QAction* ActionRedo() const { return FRedo; }
  QAction* ActionExtract() const { return FExtract; }
  QAction* ActionTipOfTheDay() const { return FTipOfTheDay; }
  QMenu* ReopenMenu() const { return FReopen; }
  QToolBar* StandardToolbar() const { return FToolbar; }
  QLabel* StatusPanel(int Index) const { return FPanels[Index]; }

  // Brings every menu item, button and status panel into line with the
  // active window.
  void UpdateInterface();

  // The question asked before an untitled font with changes closes;
  // replaceable for tests.
  using TQuestion = std::function<QMessageBox::StandardButton(QWidget* Parent, const QString& Text)>;
  static TQuestion SetQuestion(TQuestion Question);

protected:
  void closeEvent(QCloseEvent* Event) override;
  void dragEnterEvent(QDragEnterEvent* Event) override;
  void dropEvent(QDropEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  // The glyph and clipboard commands (mainform_glyphs.cpp).
  struct TGlyphActions {
    QAction *Cut = nullptr, *Copy = nullptr, *Paste = nullptr, *PasteSpecial = nullptr, *Delete = nullptr;
    QAction *Insert = nullptr, *SelectIncomplete = nullptr, *MakeEmpty = nullptr, *MakeSimple = nullptr;
    QAction *Test = nullptr, *Install = nullptr;
    QAction *ZoomIn = nullptr, *ZoomOut = nullptr, *Fit = nullptr;
  };
  void CreateGlyphActions(QMenu* File, QAction* FileBefore, QMenu* Edit);
  void UpdateGlyphActions();
  void CreateZoomActions(QMenu* View);
  void OptionsCommand();
  TFontOverviewForm* OverviewOfEditor(QWidget* Widget) const;
  void CloseGlyphEditors(TFontOverviewForm* Form);
  void CreateActions();
  void CreateMenus();
  void OpenCommand();
  void InstalledFontCommand();
  void NewFontCommand();
  void ExtractCommand(const QString& Preselected);
  void SaveActive();
  void SaveAll();
  bool SaveForm(TFontOverviewForm* Form);
  void CloseActive();
  void UpdateRecentMenu();
  void ReopenFile(const QString& FileName);
  bool LoadInto(TTrueTypeFontManager& Manager, const QString& FileName, bool Backup, bool& Collection);
  void CreateOverviewWindow(std::unique_ptr<TTrueTypeFontManager> Manager, const QString& Title, bool Untitled);
  bool CloseUntitled(TFontOverviewForm* Form);
  void ScheduleIdle(int DelayMs = 0);
  QMdiSubWindow* SubWindowOf(TFontOverviewForm* Form) const;

  std::unique_ptr<TGlyphActions> FGlyphActions;
  QHash<QAction*, void (*)(TFontOverviewForm&)> FOverviewCommands;
  QMdiArea* FMdiArea = nullptr;
  QToolBar* FToolbar = nullptr;
  QLabel* FPanels[3] = {};
  QProgressBar* FProgress = nullptr;
  QAction* FNew = nullptr;
  QAction* FInstalledFont = nullptr;
  QAction* FOpen = nullptr;
  QAction* FSave = nullptr;
  QAction* FSaveAs = nullptr;
  QAction* FSaveAll = nullptr;
  QAction* FSaveAllButton = nullptr;
  QAction* FClose = nullptr;
  QAction* FCloseAll = nullptr;
  QAction* FExit = nullptr;
  QAction* FUndo = nullptr;
  QAction* FRedo = nullptr;
  QAction* FExtract = nullptr;
  QAction* FTipOfTheDay = nullptr;
  QList<QAction*> FWindowActions;
  QMenu* FReopen = nullptr;
  QStringList FRecentFiles;
  QStringList FCommandLine;
  QStringList FPendingFiles;
  QSet<TFontOverviewForm*> FUntitled;
  int FUntitledCount = 0;
  bool FFirstIdle = true;
  bool FStarted = false;
  bool FIdleScheduled = false;
  bool FOpeningFile = false;
  bool FBusy = false;
  bool FGuidelinesLoaded = false;
};

}  // namespace tsy
