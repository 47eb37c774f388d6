// The test window: its starting state, and the sample text and settings it
// keeps for the next test, any Unicode text included.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>

#include "controls/extendedspinedit.h"
#include "dialogs/fonttestform.h"
#include "settings/registrysettings.h"
#include "support/screenshot.h"

namespace tsy {
namespace {

TEST(FontTestForm, KeepsTextSizeAndPlaceForTheNextTest) {
  QTemporaryDir dir;
  const QString sample = dir.filePath("tsypreview.txt");
  TRegistrySettings settings(std::make_shared<TMemorySettingsBackend>());
  {
    TFontTestForm form(settings, "DejaVu Sans", 3, nullptr, sample);
    EXPECT_EQ(form.windowTitle(), "Test Font");
    EXPECT_EQ(form.Editor()->toPlainText(), TFontTestForm::DefaultText().join('\n'));
    EXPECT_EQ(form.TextFont().pointSize(), 24);
    EXPECT_TRUE(form.StyleButton(0)->isChecked());  // bold shown
    EXPECT_TRUE(form.StyleButton(1)->isChecked());  // italic shown
    EXPECT_FALSE(form.TextFont().bold());           // the text starts plain
    EXPECT_GT(form.WritingSystems()->count(), 0);
    form.SizeField()->setText("3");  // out of range: ignored
    EXPECT_EQ(form.TextFont().pointSize(), 24);
    form.SizeField()->setText("40");
    EXPECT_EQ(form.TextFont().pointSize(), 40);
    form.Editor()->setPlainText(QString::fromUtf8("Ωμέγα ∑ 漢字\nsecond line"));
    form.setGeometry(10, 20, 700, 420);
    test::GrabWidget(&form, "font_test_form");
    form.done(QDialog::Accepted);
  }
  EXPECT_EQ(settings.PreviewFontSize(), 40);
  EXPECT_EQ(settings.PreviewPosWidth(), 700);
  TFontTestForm again(settings, "DejaVu Sans", 0, nullptr, sample);
  EXPECT_EQ(again.Editor()->toPlainText(), QString::fromUtf8("Ωμέγα ∑ 漢字\nsecond line"));
  EXPECT_EQ(again.TextFont().pointSize(), 40);
  EXPECT_EQ(again.geometry().width(), 700);
}

}  // namespace
}  // namespace tsy
