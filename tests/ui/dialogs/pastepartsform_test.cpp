// The Paste Special dialog: OK needs a ticked part, the mapping modes follow
// "Glyph Mappings", and the options read back what is shown.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/pastepartsform.h"
#include "support/screenshot.h"

namespace tsy {
namespace {

TEST(PasteSpecialForm, EnablingAndOptions) {
  TPasteSpecialForm form;
  QPushButton* ok = form.Buttons()->button(QDialogButtonBox::Ok);
  EXPECT_EQ(form.windowTitle(), "Paste Special");
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_FALSE(form.MappingModes()->isEnabled());

  form.OutlinesBox()->setChecked(false);
  form.MetricsBox()->setChecked(false);
  EXPECT_FALSE(ok->isEnabled());
  form.MappingsBox()->setChecked(true);
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_TRUE(form.MappingModes()->isEnabled());
  form.ModeButton(2)->setChecked(true);

  const TPasteSpecialOptions o = form.Options();
  EXPECT_FALSE(o.Outlines);
  EXPECT_FALSE(o.Metrics);
  EXPECT_FALSE(o.Names);
  EXPECT_TRUE(o.Mappings);
  EXPECT_EQ(o.MappingMode, TPasteSpecialOptions::AddMappings);
  test::GrabWidget(&form, "paste_parts");
}

}  // namespace
}  // namespace tsy
