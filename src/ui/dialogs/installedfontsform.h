#pragma once
// "Installed Fonts": the system's fonts with their files and sizes. Several
// rows may be chosen; the result is their files in list order, at most 20.
#include <QDialog>
#include <QStringList>

#include "fonts/installedfonts.h"

class QDialogButtonBox;
class QLabel;
class QTreeWidget;

namespace tsy {

class TInstalledFontsForm : public QDialog {
  Q_OBJECT
public:
  // Lists Fonts (the system's list by default).
  explicit TInstalledFontsForm(const TFontList& Fonts, QWidget* Parent = nullptr);

  static constexpr int kMaxChosen = 20;

  // The chosen rows' files in the list's current order, at most kMaxChosen.
  QStringList SelectedFiles() const;

  // Clicking a header: the column sorts ascending, or reverses when it is
  // already the sort column.
  void SortByColumn(int Column);

  QTreeWidget* List() const { return FList; }
  QLabel* FileNameLabel() const { return FFileName; }
  QDialogButtonBox* Buttons() const { return FButtons; }

  // "12K": whole kilobytes; a missing file shows 0K.
  static QString SizeText(int64_t Bytes);

protected:
  void showEvent(QShowEvent* Event) override;

private:
  void SelectionChanged();

  QTreeWidget* FList;
  QLabel* FFileName;
  QDialogButtonBox* FButtons;
  int FSortColumn = -1;
  Qt::SortOrder FSortOrder = Qt::AscendingOrder;
};

}  // namespace tsy
