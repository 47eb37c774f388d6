// The options dialog over an in-memory store: what it shows, what OK writes,
// that Cancel writes nothing, and the removal warning.
#include "dialogs/optionsform.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "controls/extendedcustomedit.h"
#include "controls/extendedspinedit.h"
#include "dialogs/extendedwarningform.h"
#include "settings/registrysettings.h"
#include "shell/tsyapplication.h"
#include "support/modal.h"

namespace tsy {
namespace {

struct TOptionsFixture : ::testing::Test {
  std::shared_ptr<TMemorySettingsBackend> Backend = std::make_shared<TMemorySettingsBackend>();
  TRegistrySettings Settings{Backend};

  template <class T>
  static T* Find(TOptionsForm& Form, const char* Name) {
    T* widget = Form.findChild<T*>(Name);
    EXPECT_NE(widget, nullptr) << Name;
    return widget;
  }
  static void Press(TOptionsForm& Form, QDialogButtonBox::StandardButton Which) {
    Find<QDialogButtonBox>(Form, "Buttons")->button(Which)->click();
  }
  // Clicks a check box as the user does (on the box, so clicked() fires).
  static void ClickBox(QCheckBox* Box) { QTest::mouseClick(Box, Qt::LeftButton, {}, QPoint(8, Box->height() / 2)); }
};

TEST_F(TOptionsFixture, HasTheNinePagesInOrder) {
  TOptionsForm form(Settings);
  EXPECT_EQ(form.windowTitle(), "Options");
  EXPECT_EQ(TOptionsForm::PageNames(), (QStringList{"General", "Sample", "Font", "Overview", "Glyph", "Edit",
                                                    "Naming", "Validation", "Advanced"}));
  for (const QString& name : TOptionsForm::PageNames()) {
    ASSERT_TRUE(form.ShowPage(name));
    EXPECT_EQ(form.CurrentPage(), name);
    EXPECT_NE(form.Page(name), nullptr);
  }
  EXPECT_FALSE(form.ShowPage("Nope"));
}

TEST_F(TOptionsFixture, ShowsStoredValuesIncludingTheOnesThatAreNotOneToOne) {
  Settings.SetRemoveLTSHTable(false);
  Settings.SetDefaultZoomFactor(0.25);
  Settings.SetAutoFitGlyphInWindow(false);
  Settings.SetOverviewUndoLimitMaxCount(77);
  Settings.SetOverviewUndoLimitMaxSize(0);
  Settings.SetCompressHmtxTable(false);
  Settings.SetDefaultNamingTrademarkIncluded(false);
  Settings.SetDiagonalRedundantOffCurvePointsDetection(true);
  Settings.SetGlyphCaptionType(5);
  Settings.SetChildWindowState(2);
  Settings.SetWarnBeforeActivatingFixFeature(false);
  TOptionsForm form(Settings);

  EXPECT_FALSE(Find<QCheckBox>(form, "RemoveLTSHTable")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>(form, "RemoveVDMXTable")->isChecked());  // a default
  EXPECT_EQ(Find<TvnxExtendedSpinEdit>(form, "DefaultZoomFactor")->text(), "25.0");
  EXPECT_TRUE(Find<QRadioButton>(form, "ZoomFactorChoice")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>(form, "UndoLimitMaxCountBox")->isChecked());
  EXPECT_EQ(Find<TvnxExtendedSpinEdit>(form, "OverviewUndoLimitMaxCount")->text(), "77");
  EXPECT_FALSE(Find<QCheckBox>(form, "UndoLimitMaxSizeBox")->isChecked());  // a stored 0
  EXPECT_FALSE(Find<TvnxExtendedSpinEdit>(form, "OverviewUndoLimitMaxSize")->isEnabled());
  EXPECT_FALSE(Find<QCheckBox>(form, "ExcludeMonospacedFonts")->isEnabled());
  EXPECT_FALSE(Find<TvnxExtendedEdit>(form, "DefaultNamingTrademarkText")->isEnabled());
  EXPECT_TRUE(Find<TvnxExtendedEdit>(form, "DefaultNamingCopyrightText")->isEnabled());
  EXPECT_EQ(Find<TvnxExtendedEdit>(form, "DefaultNamingCopyrightText")->text(),
            QString::fromUtf8("Typeface \xC2\xA9 <your company>. <year>. All Rights Reserved"));
  EXPECT_FALSE(Find<TvnxExtendedSpinEdit>(form, "MaximumRedundantOnCurvePointsDistance")->isEnabled());
  EXPECT_TRUE(Find<TvnxExtendedSpinEdit>(form, "MaximumRedundantOffCurvePointsDistance")->isEnabled());
  EXPECT_EQ(Find<TvnxExtendedSpinEdit>(form, "MaximumRedundantOffCurvePointsDistance")->text(), "0.20");
  EXPECT_EQ(Find<QComboBox>(form, "GlyphCaptionType")->currentIndex(), 5);
  EXPECT_TRUE(Find<QRadioButton>(form, "ChildWindowState2")->isChecked());
  EXPECT_EQ(Find<TvnxExtendedSpinEdit>(form, "OverviewSingleWidth")->text(), "62");
  EXPECT_EQ(Find<QComboBox>(form, "OverviewSampleFont")->currentText(), "Arial");
  QListWidget* warn = form.WarnList();
  ASSERT_EQ(warn->count(), 4);
  EXPECT_EQ(warn->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(warn->item(1)->checkState(), Qt::Unchecked);

  // Dependent fields follow their check boxes.
  Find<QCheckBox>(form, "CompressHmtxTable")->setChecked(true);
  EXPECT_TRUE(Find<QCheckBox>(form, "ExcludeMonospacedFonts")->isEnabled());
  Find<QRadioButton>(form, "AutoFitGlyphInWindow")->setChecked(true);
  EXPECT_FALSE(Find<TvnxExtendedSpinEdit>(form, "DefaultZoomFactor")->isEnabled());
}

TEST_F(TOptionsFixture, OkWritesEveryValue) {
  TOptionsForm form(Settings);
  Find<QCheckBox>(form, "ValueHexadecimal")->setChecked(false);
  Find<QCheckBox>(form, "ShowGrid")->setChecked(false);
  Find<QRadioButton>(form, "ZoomFactorChoice")->setChecked(true);
  Find<TvnxExtendedSpinEdit>(form, "DefaultZoomFactor")->setText("250");
  Find<QCheckBox>(form, "UndoLimitMaxCountBox")->setChecked(true);
  Find<TvnxExtendedSpinEdit>(form, "OverviewUndoLimitMaxCount")->setText("50");
  Find<TvnxExtendedSpinEdit>(form, "OverviewSingleWidth")->setText("300");  // beyond the field's 200
  Find<TvnxExtendedSpinEdit>(form, "GridDistance")->setText("25");
  Find<QCheckBox>(form, "DiagonalRedundantOnCurvePointsDetection")->setChecked(true);
  Find<TvnxExtendedSpinEdit>(form, "MaximumRedundantOnCurvePointsDistance")->SetValue(1.5L);
  Find<QCheckBox>(form, "DefaultNamingFontDesignerIncluded")->setChecked(true);
  Find<TvnxExtendedEdit>(form, "DefaultNamingFontDesignerText")->setText("A. Designer");
  Find<TvnxExtendedEdit>(form, "SampleFileName")->setText("/tmp/sample.ttf");
  Find<QComboBox>(form, "GlyphCaptionType")->setCurrentIndex(3);
  Find<QRadioButton>(form, "ChildWindowState1")->setChecked(true);
  Find<QRadioButton>(form, "LocalExtremeCoordinatesDetection")->setChecked(true);
  form.WarnList()->item(3)->setCheckState(Qt::Unchecked);

  EXPECT_TRUE(Settings.ValueHexadecimal());  // nothing is written before OK
  Press(form, QDialogButtonBox::Ok);
  EXPECT_EQ(form.result(), QDialog::Accepted);

  EXPECT_FALSE(Settings.ValueHexadecimal());
  EXPECT_FALSE(Settings.ShowGrid());
  EXPECT_FALSE(Settings.AutoFitGlyphInWindow());
  EXPECT_DOUBLE_EQ(Settings.DefaultZoomFactor(), 2.5);
  EXPECT_EQ(Settings.OverviewUndoLimitMaxCount(), 50);
  EXPECT_EQ(Settings.OverviewUndoLimitMaxSize(), 0);  // unchecked
  EXPECT_EQ(Settings.OverviewSingleWidth(), 200);
  EXPECT_EQ(Settings.GridDistance(), 25);
  EXPECT_TRUE(Settings.DiagonalRedundantOnCurvePointsDetection());
  EXPECT_DOUBLE_EQ(Settings.MaximumRedundantOnCurvePointsDistance(), 1.5);
  EXPECT_TRUE(Settings.DefaultNamingFontDesignerIncluded());
  EXPECT_EQ(Settings.DefaultNamingFontDesignerText(), "A. Designer");
  EXPECT_EQ(Settings.SampleFileName(), "/tmp/sample.ttf");
  EXPECT_EQ(Settings.GlyphCaptionType(), 3);
  EXPECT_EQ(Settings.ChildWindowState(), 1);
  EXPECT_TRUE(Settings.LocalExtremeCoordinatesDetection());
  EXPECT_FALSE(Settings.WarnBeforeExecutingGlyphTransformProgram());
  EXPECT_TRUE(Settings.WarnBeforeSortingGlyphs());
  // Untouched values go back as they were.
  EXPECT_EQ(Settings.DefaultNamingCopyrightText(), "Typeface \xC2\xA9 <your company>. <year>. All Rights Reserved");
  EXPECT_DOUBLE_EQ(Settings.MaximumRedundantOffCurvePointsDistance(), 0.2);
  EXPECT_EQ(Settings.OverviewSampleFont(), "Arial");
}

TEST_F(TOptionsFixture, CancelWritesNothing) {
  Settings.SetGridDistance(40);
  Settings.SetDefaultNamingCopyrightText("mine");
  TOptionsForm form(Settings);
  Find<TvnxExtendedSpinEdit>(form, "GridDistance")->setText("25");
  Find<TvnxExtendedEdit>(form, "DefaultNamingCopyrightText")->setText("other");
  Find<QCheckBox>(form, "ShowGrid")->setChecked(false);
  Press(form, QDialogButtonBox::Cancel);
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_EQ(Settings.GridDistance(), 40);
  EXPECT_EQ(Settings.DefaultNamingCopyrightText(), "mine");
  EXPECT_TRUE(Settings.ShowGrid());
}

TEST_F(TOptionsFixture, RemovalBoxesWarnUntilToldNotTo) {
  TOptionsForm form(Settings);
  form.show();
  form.ShowPage("Font");
  QCheckBox* hinting = Find<QCheckBox>(form, "IgnoreHintingData");
  QCheckBox* dsig = Find<QCheckBox>(form, "RemoveDSIGTable");
  QCheckBox* unsupported = Find<QCheckBox>(form, "IgnoreUnsupportedTables");

  // No: the box goes back to unchecked.
  QString message;
  test::WhenModal<TExtendedWarningForm>([&](TExtendedWarningForm* w) {
    message = w->findChild<QLabel*>("Message")->text();
    EXPECT_EQ(w->windowTitle(), "Warning");
    w->NoButton()->click();
  });
  ClickBox(hinting);
  EXPECT_EQ(message,
            "This option will be used for all fonts openend with the Tessary. Are you sure you want to select this "
            "option?");
  EXPECT_FALSE(hinting->isChecked());

  // Yes with "Don't Show this Warning Again": checked, and the Advanced line goes off.
  test::WhenModal<TExtendedWarningForm>([&](TExtendedWarningForm* w) {
    w->DontShowAgainBox()->setChecked(true);
    EXPECT_FALSE(w->NoButton()->isEnabled());  // a ticked box can only be confirmed
    w->YesButton()->click();
  });
  ClickBox(dsig);
  EXPECT_TRUE(dsig->isChecked());
  EXPECT_EQ(form.WarnList()->item(2)->checkState(), Qt::Unchecked);

  // No more warnings in this dialog; unchecking never warns.
  ClickBox(unsupported);
  EXPECT_TRUE(unsupported->isChecked());
  ClickBox(dsig);
  EXPECT_FALSE(dsig->isChecked());

  EXPECT_TRUE(Settings.WarnBeforeActivatingRemoveFeature());  // only OK stores
  Press(form, QDialogButtonBox::Ok);
  EXPECT_FALSE(Settings.WarnBeforeActivatingRemoveFeature());
  EXPECT_TRUE(Settings.IgnoreUnsupportedTables());
  EXPECT_FALSE(Settings.RemoveDSIGTable());
  EXPECT_FALSE(Settings.IgnoreHintingData());
}

TEST_F(TOptionsFixture, NoWarningWhenSwitchedOff) {
  Settings.SetWarnBeforeActivatingRemoveFeature(false);
  TOptionsForm form(Settings);
  form.show();
  form.ShowPage("Font");
  QCheckBox* hinting = Find<QCheckBox>(form, "IgnoreHintingData");
  ClickBox(hinting);  // a modal warning here would block the test
  EXPECT_TRUE(hinting->isChecked());
}

TEST_F(TOptionsFixture, FailingWriteKeepsTheDialogOpenAndReportsTheError) {
  QStringList shown;
  auto previous = TTsyApplication::SetErrorDisplay([&](const QString& m) { shown << m; });
  TOptionsForm form(Settings);
  form.show();
  Backend->FailWrite = true;
  // A real click: the error leaves the slot inside event delivery.
  QTest::mouseClick(Find<QDialogButtonBox>(form, "Buttons")->button(QDialogButtonBox::Ok), Qt::LeftButton);
  TTsyApplication::SetErrorDisplay(previous);
  EXPECT_TRUE(form.isVisible());
  EXPECT_NE(form.result(), QDialog::Accepted);
  ASSERT_FALSE(shown.isEmpty());
  EXPECT_EQ(shown.back(), "Error writing registry values");
}

}  // namespace
}  // namespace tsy
