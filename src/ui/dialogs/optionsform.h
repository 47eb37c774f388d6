#pragma once
// "Options": a plain editor of the settings store on nine pages. The dialog
// reads every value when it opens and writes all of them, one after another,
// only when it closes with OK. Each editing widget is named after the setting
// it edits (for example the check box "IgnoreHintingData").
#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QListWidget;
class QListWidgetItem;
class QRadioButton;
class QStackedWidget;
class QButtonGroup;

namespace tsy {

class TRegistrySettings;
class TvnxExtendedEdit;
class TvnxExtendedSpinEdit;

class TOptionsForm : public QDialog {
  Q_OBJECT
public:
  explicit TOptionsForm(TRegistrySettings& Settings, QWidget* Parent = nullptr);

  static QStringList PageNames();
  // Shows the page with the given name; false when there is none.
  bool ShowPage(const QString& Name);
  QWidget* Page(const QString& Name) const;
  QString CurrentPage() const;

  // The checked list of the "Advanced" page.
  QListWidget* WarnList() const { return FWarnList; }

  // Writes every value to the store (what OK does before closing).
  void SaveSettings();

private:
  struct TBoolBinding {
    QCheckBox* Box;
    bool (TRegistrySettings::*Get)();
    void (TRegistrySettings::*Set)(bool);
  };
  struct TIntBinding {
    TvnxExtendedSpinEdit* Field;
    int32_t (TRegistrySettings::*Get)();
    void (TRegistrySettings::*Set)(int32_t);
  };
  struct TTextBinding {
    TvnxExtendedEdit* Edit;
    std::string (TRegistrySettings::*Get)();
    void (TRegistrySettings::*Set)(const std::string&);
  };

  QWidget* BuildGeneralPage();
  QWidget* BuildSamplePage();
  QWidget* BuildFontPage();
  QWidget* BuildOverviewPage();
  QWidget* BuildGlyphPage();
  QWidget* BuildEditPage();
  QWidget* BuildNamingPage();
  QWidget* BuildValidationPage();
  QWidget* BuildAdvancedPage();

  QCheckBox* BoolBox(const QString& Caption, const char* Name, bool (TRegistrySettings::*Get)(),
                     void (TRegistrySettings::*Set)(bool));
  TvnxExtendedSpinEdit* IntField(const char* Name, int32_t Min, int32_t Max, int32_t (TRegistrySettings::*Get)(),
                                 void (TRegistrySettings::*Set)(int32_t));
  TvnxExtendedSpinEdit* NumberField(const char* Name, double Min, double Max, int Digits, double Increment);
  // A check box that enables a field only while it is checked.
  void EnableWhileChecked(QCheckBox* Box, QWidget* Field);
  void RemovalBoxClicked(QCheckBox* Box, bool Checked);
  void LoadSettings();
  void OkClicked();

  TRegistrySettings& FSettings;
  QListWidget* FPageList;
  QStackedWidget* FPages;
  std::vector<TBoolBinding> FBools;
  std::vector<TIntBinding> FInts;
  std::vector<TTextBinding> FTexts;

  // The values that are not one-to-one.
  QButtonGroup* FChildWindowState;
  QCheckBox* FUndoCountBox;
  TvnxExtendedSpinEdit* FUndoCount;
  QCheckBox* FUndoSizeBox;
  TvnxExtendedSpinEdit* FUndoSize;
  TvnxExtendedEdit* FSampleFile;
  QComboBox* FSampleFont;
  QComboBox* FCaptionType;
  QRadioButton* FZoomAutoFit;
  QRadioButton* FZoomFactorChoice;
  TvnxExtendedSpinEdit* FZoomFactor;
  TvnxExtendedSpinEdit* FOnCurveDistance;
  TvnxExtendedSpinEdit* FOffCurveDistance;
  QRadioButton* FExtremeGlobal;
  QRadioButton* FExtremeLocal;
  QListWidget* FWarnList;
};

}  // namespace tsy
