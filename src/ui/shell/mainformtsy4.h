#pragma once
// The program's frame window: the menus and the MDI area that holds one
// overview window per open font. Commands act on the active overview.
#include <QMainWindow>
#include <QStringList>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace tsy {

class TFontOverviewForm;

class TMainFormTSY4 : public QMainWindow {
  Q_OBJECT
public:
  explicit TMainFormTSY4(QWidget* Parent = nullptr);
  ~TMainFormTSY4() override;

  // Loads the font and opens its overview; a failure is shown and gives false.
  bool OpenFontFile(const QString& FileName);
  // Asks every overview in turn; stops at the first that refuses.
  bool CloseAllFonts();

  TFontOverviewForm* ActiveOverview() const;
  QList<TFontOverviewForm*> Overviews() const;
  QMdiArea* MdiArea() const { return FMdiArea; }

  // Most recently closed files first, at most ten.
  const QStringList& RecentFiles() const { return FRecentFiles; }
  void AddRecentFile(const QString& FileName);
  void RemoveRecentFile(const QString& FileName);

  QAction* ActionOpen() const { return FOpen; }
  QAction* ActionSave() const { return FSave; }
  QAction* ActionSaveAs() const { return FSaveAs; }
  QAction* ActionClose() const { return FClose; }
  QAction* ActionCloseAll() const { return FCloseAll; }
  QAction* ActionUndo() const { return FUndo; }
  QAction* ActionRedo() const { return FRedo; }
  QMenu* ReopenMenu() const { return FReopen; }

  // Brings every menu item into line with the active font.
  void UpdateInterface();

protected:
  void closeEvent(QCloseEvent* Event) override;

private:
  void CreateMenus();
  void OpenCommand();
  void CloseActive();
  void UpdateRecentMenu();
  void ReopenFile(const QString& FileName);
  QMdiSubWindow* SubWindowOf(TFontOverviewForm* Form) const;

  QMdiArea* FMdiArea = nullptr;
  QAction* FOpen = nullptr;
  QAction* FSave = nullptr;
  QAction* FSaveAs = nullptr;
  QAction* FClose = nullptr;
  QAction* FCloseAll = nullptr;
  QAction* FExit = nullptr;
  QAction* FUndo = nullptr;
  QAction* FRedo = nullptr;
  QMenu* FReopen = nullptr;
  QStringList FRecentFiles;
  bool FOpeningFile = false;
  bool FBusy = false;
};

}  // namespace tsy
