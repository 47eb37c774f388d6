#pragma once
// The dialogs of the construction aids: one guideline ("Guideline"), the
// list of all guidelines with their options ("Guidelines Options") and the
// grid options ("Grid Options").
#include <QDialog>
#include <vector>

#include "outline/guidelines.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;

namespace tsy {

class TvnxExtendedSpinEdit;

class TGuideLineModifyForm : public QDialog {
  Q_OBJECT
public:
  explicit TGuideLineModifyForm(QWidget* Parent = nullptr);
  // Shows G's type and values.
  void Load(const TGuideline& G);
  int LineType() const;
  void SetLineType(int Type);
  TvnxExtendedSpinEdit* Field(int Index) const { return FFields[size_t(Index)]; }  // x1, y1, x2, y2, angle
  // Replaces G in Settings by a new guideline of the chosen type; returns it.
  TGuideline* Apply(TGuideLineSettings& Settings, const TGuideline* G) const;

private:
  void UpdateEnabled();
  QButtonGroup* FType;
  std::vector<TvnxExtendedSpinEdit*> FFields;
};

// Opens the "Guideline" dialog for G; on OK G is replaced (and points to the
// new guideline) and true is returned.
bool EditGuideline(TGuideLineSettings& Settings, TGuideline*& G, QWidget* Parent);

class TGuideLinesForm : public QDialog {
  Q_OBJECT
public:
  explicit TGuideLinesForm(QWidget* Parent = nullptr);
  QListWidget* List() const { return FList; }
  QPushButton* NewButton() const { return FNew; }
  QPushButton* ModifyButton() const { return FModify; }
  QPushButton* DeleteButton() const { return FDelete; }
  QPushButton* ClearButton() const { return FClear; }
  QCheckBox* ShowCheck() const { return FShow; }
  void accept() override;
  void reject() override;

private:
  void Fill(int Select);
  TGuideline* GuidelineAt(int Row) const;
  void UpdateButtons();
  void NewClick();
  void ModifyClick();
  void DeleteClick();

  std::vector<uint8_t> FSnapshot;
  QListWidget* FList;
  QPushButton *FNew, *FModify, *FDelete, *FClear, *FColor;
  QCheckBox *FShow, *FSnap, *FLock;
  QButtonGroup* FStyle;
  QColor FColorValue;
};
bool ShowGuidelinesOptions(QWidget* Parent);

class TGridForm : public QDialog {
  Q_OBJECT
public:
  static constexpr int kDistances[10] = {5, 10, 20, 25, 50, 100, 200, 400, 500, 1000};
  static constexpr int kPixels[10] = {4, 5, 6, 7, 8, 10, 12, 16, 24, 32};
  explicit TGridForm(QWidget* Parent = nullptr);
  QSlider* DistanceSlider() const { return FDistance; }
  QSlider* PixelsSlider() const { return FPixels; }
  void accept() override;

private:
  void UpdateEnabled();
  QCheckBox *FShowGrid, *FShowFixed;
  QSlider *FDistance, *FPixels;
  QLabel *FDistanceLabel, *FPixelsLabel;
  QButtonGroup *FStyle, *FFixedStyle;
  QPushButton *FColor, *FFixedColor;
  QColor FColorValue, FFixedColorValue;
};
bool ShowGridOptions(QWidget* Parent);

}  // namespace tsy
