#pragma once
// "Insert Glyphs": how many empty glyphs to insert, and where. The count is
// held to what still fits in a font of at most 65535 glyphs.
#include <QDialog>

class QDialogButtonBox;
class QRadioButton;

namespace tsy {

class TvnxExtendedSpinEdit;

class TInsertGlyphForm : public QDialog {
  Q_OBJECT
public:
  TInsertGlyphForm(int GlyphCount, int SelectedCount, QWidget* Parent = nullptr);

  // The largest count for a position (0 at top, 1 after last, 2 before and
  // 3 after each selected glyph).
  int MaxCount(int Position) const;
  int Count();
  int Position() const;

  TvnxExtendedSpinEdit* CountField() const { return FCount; }
  QRadioButton* PositionButton(int Position) const { return FPositions[Position]; }
  QDialogButtonBox* Buttons() const { return FButtons; }

private:
  void UpdateLimit();

  int FGlyphCount;
  int FSelectedCount;
  TvnxExtendedSpinEdit* FCount;
  QRadioButton* FPositions[4];
  QDialogButtonBox* FButtons;
};

}  // namespace tsy
