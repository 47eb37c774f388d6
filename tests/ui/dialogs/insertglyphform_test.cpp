// The insert dialog keeps the font at or below 65535 glyphs.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>

#include "controls/extendedspinedit.h"
#include "dialogs/insertglyphform.h"

namespace tsy {
namespace {

TEST(InsertGlyphForm, LimitsFollowThePosition) {
  TInsertGlyphForm form(65000, 4);
  EXPECT_EQ(form.windowTitle(), "Insert Glyphs");
  EXPECT_EQ(form.Position(), 1);
  EXPECT_EQ(form.Count(), 1);
  EXPECT_EQ(form.MaxCount(0), 535);
  EXPECT_EQ(form.MaxCount(3), 133);
  form.CountField()->SetValue(500);
  EXPECT_EQ(form.Count(), 500);
  form.PositionButton(2)->setChecked(true);
  EXPECT_EQ(form.Count(), 133);  // lowered to the limit

  TInsertGlyphForm none(10, 0);
  EXPECT_FALSE(none.PositionButton(2)->isEnabled());
  EXPECT_FALSE(none.PositionButton(3)->isEnabled());

  TInsertGlyphForm full(65535, 0);
  EXPECT_FALSE(full.Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
}

}  // namespace
}  // namespace tsy
