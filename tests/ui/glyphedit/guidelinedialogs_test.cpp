// The guideline and grid dialogs.
#include "glyphedit/guidelinedialogs.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

#include "controls/extendedspinedit.h"
#include "settings/registrysettings.h"
#include "support/modal.h"
#include "support/screenshot.h"

using namespace tsy;

TEST(GuidelineDialogs, GuidelineDialogShowsAndReplacesTheGuideline) {
  TGuideLineSettings g;
  TGuideline* d = &g.Diagonal.Add({10, 20}, {110, 120}, gkDiagonalPoints, 0);
  TGuideLineModifyForm form;
  form.Load(*d);
  EXPECT_EQ(form.LineType(), gkDiagonalPoints);
  EXPECT_EQ(form.Field(2)->ValueDouble(), 110);
  EXPECT_NEAR(form.Field(4)->ValueDouble(), 45, 1e-3);
  EXPECT_TRUE(form.Field(3)->isEnabled());
  EXPECT_FALSE(form.Field(4)->isEnabled());

  form.SetLineType(gkVertical);
  EXPECT_TRUE(form.Field(0)->isEnabled());
  EXPECT_FALSE(form.Field(1)->isEnabled());
  TGuideline* v = form.Apply(g, d);
  EXPECT_EQ(g.Diagonal.Count(), 0u);
  ASSERT_EQ(g.Vertical.Count(), 1u);
  EXPECT_EQ(v, &g.Vertical.Items(0));
  EXPECT_EQ(g.Vertical.Items(0).X, 10);

  // Two equal points name no line: the old guideline stays.
  form.SetLineType(gkDiagonalPoints);
  form.Field(2)->SetValue(10);
  form.Field(3)->SetValue(0);
  form.Field(1)->SetValue(0);
  EXPECT_EQ(form.Apply(g, v), v);
  EXPECT_EQ(g.Vertical.Count(), 1u);
}

TEST(GuidelineDialogs, OptionsListEditsAtOnceAndCancelTakesItBack) {
  TGuideLineSettings& g = *TGuideLineSettings::AccessInstance(1);
  g.ClearAll();
  g.Horizontal.Add(5);
  g.Vertical.Add(7);
  g.Diagonal.Add({0, 0}, {1, 2}, gkDiagonalPoints, 0);
  TRegistrySettings::Instance().SetShowUserDefinedGuidelines(true);
  {
    TGuideLinesForm form;
    ASSERT_EQ(form.List()->count(), 3);
    EXPECT_EQ(form.List()->item(1)->text(), QStringLiteral("Vertical: X = 7"));
    EXPECT_FALSE(form.DeleteButton()->isEnabled());  // nothing selected yet
    test::WhenModal<TGuideLineModifyForm>([](TGuideLineModifyForm* D) {
      D->Field(1)->SetValue(300);
      D->accept();
    });
    form.NewButton()->click();
    ASSERT_EQ(form.List()->count(), 4);
    EXPECT_EQ(form.List()->currentItem()->text(), QStringLiteral("Horizontal: Y = 300"));
    EXPECT_EQ(g.Horizontal.Count(), 2u);

    form.List()->setCurrentRow(0);
    form.DeleteButton()->click();  // the entry now at its place is selected
    EXPECT_EQ(form.List()->currentItem()->text(), QStringLiteral("Horizontal: Y = 300"));
    test::GrabWidget(&form, QStringLiteral("guidelines_options"));
    form.ShowCheck()->setChecked(false);
    EXPECT_FALSE(form.ClearButton()->isEnabled());
    form.reject();
  }
  ASSERT_EQ(g.Horizontal.Count(), 1u);
  EXPECT_EQ(g.Horizontal.Items(0).Y, 5);
  EXPECT_EQ(g.Diagonal.Count(), 1u);
  EXPECT_TRUE(TRegistrySettings::Instance().ShowUserDefinedGuidelines());  // Cancel stores no option
  g.ClearAll();
}

TEST(GuidelineDialogs, GridOptionsMapTheTrackBarsToTheirValues) {
  TRegistrySettings& s = TRegistrySettings::Instance();
  s.SetGridDistance(30);  // not on the scale
  s.SetGridDistancePixels(24);
  TGridForm form;
  EXPECT_EQ(form.DistanceSlider()->value(), 4);
  EXPECT_EQ(form.PixelsSlider()->value(), 8);
  test::GrabWidget(&form, QStringLiteral("grid_options"));
  form.DistanceSlider()->setValue(9);
  form.PixelsSlider()->setValue(0);
  form.accept();
  EXPECT_EQ(s.GridDistance(), 1000);
  EXPECT_EQ(s.GridDistancePixels(), 4);
  s.SetGridDistance(100);
  s.SetGridDistancePixels(16);
}
