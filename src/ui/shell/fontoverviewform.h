#pragma once
// The window of one open font: it owns the font's document manager, shows
// every glyph in a grid, keeps the glyph selection, opens glyph editors,
// manages the program-wide bookmarks, saves the font (with a backup copy
// when asked) and asks about unsaved changes when it closes.
#include <QMessageBox>
#include <QWidget>
#include <functional>
#include <memory>

class QMenu;

namespace tsy {

class TTrueTypeFontManager;
class TGlyphGrid;

class TFontOverviewForm : public QWidget {
  Q_OBJECT
public:
  // Takes the manager of an already loaded font whose file name is set;
  // the window is initialised at once.
  TFontOverviewForm(std::unique_ptr<TTrueTypeFontManager> Manager, QWidget* Parent = nullptr);
  ~TFontOverviewForm() override;

  TTrueTypeFontManager& Manager() { return *FManager; }
  TGlyphGrid* Grid() const { return FGrid; }
  bool Initialised() const { return FInitialised; }

  // Cell size, captions, colours and the history's undo limits from the
  // settings, again (after the options dialog, a caption or size change).
  void ApplySettings();

  // A new font has no file yet: Save asks for a name. Cleared by a
  // successful write.
  bool Untitled() const { return FUntitled; }
  void SetUntitled(bool On) { FUntitled = On; }

  // Save writes to the font's own file (a backup of the old file first when
  // the settings ask for one), unless the font is untitled or its file is
  // not a TrueType file (an OpenType/CFF font, a backup): then it asks for a
  // name as Save As does, proposing the .ttf name beside it.
  bool SaveFont();
  bool SaveFontAs();
  // Whether Save needs a name first.
  bool NeedsNewName() const;

  // Asks about unsaved changes: true when the window may close.
  bool CanClose();

  // Scrolls to the glyph and makes it the only selected, focused glyph.
  void FocusGlyph(int Glyph);
  // Asks for an editor of each selected glyph, in selection order, as long
  // as the font has fewer than ten editors open. Returns how many it asked.
  int OpenGlyphEditors();
  static constexpr int kMaxGlyphEditors = 10;

  // Bookmark N (0..9) for the focused glyph; the glyph bookmark N leads to
  // in this font (-1: none); going there.
  void ToggleBookmark(int N);
  int BookmarkGlyph(int N) const;
  void GotoBookmark(int N);

  // The grid's context menu as it would open now (caller owns it).
  QMenu* CreateContextMenu();

  // Replaceable for tests: the questions with Yes/No(/Cancel) and the file
  // name dialog (an empty result cancels).
  using TQuestion = std::function<QMessageBox::StandardButton(QWidget* Parent, const QString& Text)>;
  using TSaveName = std::function<QString(QWidget* Parent, const QString& Proposed)>;
  static TQuestion SetQuestion(TQuestion Question);
  static TSaveName SetSaveNameDialog(TSaveName Dialog);
  // Folders where saving a font is warned about (the font folders of the
  // system and the user); replaceable for tests.
  static QStringList FontFolders();
  static void SetFontFolders(const QStringList& Folders);

signals:
  // The font, its selection or its modified state changed.
  void stateChanged();
  // The window has agreed to close; Name is the font's file.
  void closing(const QString& Name);
  // A glyph editor is wanted for Glyph (double click, Enter, "Edit").
  void openGlyphRequested(int Glyph);

protected:
  void closeEvent(QCloseEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  void UpdateTitle();
  void FontChanged();
  void HistoryFinished();
  bool WriteFont(const QString& FileName);
  bool HandleKey(QKeyEvent* Event);
  void ScaleCells(double Factor);
  void SetCaptionType(int Type);
  void ToggleCaptions();
  QMessageBox::StandardButton Ask(const QString& Text, QMessageBox::StandardButtons Buttons);

  std::unique_ptr<TTrueTypeFontManager> FManager;
  TGlyphGrid* FGrid = nullptr;
  bool FInitialised = false;
  bool FUntitled = false;
};

}  // namespace tsy
