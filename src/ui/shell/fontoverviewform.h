#pragma once
// The window of one open font: it owns the font's document manager, shows
// every glyph in a grid, saves the font and asks about unsaved changes when
// it closes.
#include <QMessageBox>
#include <QWidget>
#include <functional>
#include <memory>

namespace tsy {

class TTrueTypeFontManager;
class TGlyphGrid;

class TFontOverviewForm : public QWidget {
  Q_OBJECT
public:
  // Takes the manager of an already loaded font; FileName is the file it
  // came from.
  TFontOverviewForm(std::unique_ptr<TTrueTypeFontManager> Manager, QWidget* Parent = nullptr);
  ~TFontOverviewForm() override;

  TTrueTypeFontManager& Manager() { return *FManager; }
  TGlyphGrid* Grid() const { return FGrid; }

  // Save writes to the font's own file, unless that file is not a TrueType
  // file (an OpenType/CFF font, a backup): then it asks for a name as
  // Save As does, proposing the .ttf name beside it.
  bool SaveFont();
  bool SaveFontAs();
  // Whether Save needs a name first.
  bool NeedsNewName() const;

  // Asks about unsaved changes: true when the window may close.
  bool CanClose();

  // Replaceable for tests: the question with Yes/No/Cancel and the file
  // name dialog (an empty result cancels).
  using TQuestion = std::function<QMessageBox::StandardButton(QWidget* Parent, const QString& Text)>;
  using TSaveName = std::function<QString(QWidget* Parent, const QString& Proposed)>;
  static TQuestion SetQuestion(TQuestion Question);
  static TSaveName SetSaveNameDialog(TSaveName Dialog);

signals:
  // The font, its selection or its modified state changed.
  void stateChanged();
  // The window has agreed to close; Name is the font's file.
  void closing(const QString& Name);

protected:
  void closeEvent(QCloseEvent* Event) override;

private:
  void UpdateTitle();
  void FontChanged();
  bool WriteFont(const QString& FileName);

  std::unique_ptr<TTrueTypeFontManager> FManager;
  TGlyphGrid* FGrid = nullptr;
};

}  // namespace tsy
