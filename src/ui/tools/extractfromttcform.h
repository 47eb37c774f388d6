#pragma once
// The collection extraction wizard: the collection, the destination folder
// and file prefix on the first page, the members to extract on the second.
#include <QDialog>
#include <QStringList>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTreeWidget;

namespace tsy {

class TExtractFromTTCForm : public QDialog {
  Q_OBJECT
public:
  explicit TExtractFromTTCForm(QWidget* Parent = nullptr);

  // Source := FileName; the destination is its folder and the prefix its
  // base name followed by "_".
  void Preselect(const QString& FileName);

  // The values for the extraction, read after the dialog closed with OK.
  QString SourceFile() const { return FSourceFile; }
  QString DestinationFolder() const;
  QString Prefix() const;
  const std::vector<bool>& Selected() const { return FSelected; }
  const std::vector<std::string>& Names() const { return FNames; }

  void Next();
  void Back();
  bool OnFontsPage() const;

  QLineEdit* SourceField() const { return FSource; }
  QLineEdit* DestinationField() const { return FDestination; }
  QLineEdit* PrefixField() const { return FPrefix; }
  QPushButton* NextButton() const { return FNext; }
  QPushButton* BackButton() const { return FBack; }
  QTreeWidget* FontList() const { return FList; }

private:
  void UpdateNext();
  void BrowseSource();
  void BrowseDestination();
  void Finish();

  QStackedWidget* FPages;
  QLineEdit* FSource;
  QLineEdit* FDestination;
  QLineEdit* FPrefix;
  QTreeWidget* FList;
  QPushButton* FBack;
  QPushButton* FNext;
  QString FSourceFile;
  std::vector<std::string> FNames;
  std::vector<bool> FSelected;
};

}  // namespace tsy
