// The New Font dialog and the Installed Fonts dialog.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "dialogs/installedfontsform.h"
#include "dialogs/newtruetypefontform.h"
#include "fonts/installedfonts.h"
#include "support/screenshot.h"

namespace tsy {
namespace {

TEST(NewTrueTypeFontForm, SymbolIsAlwaysRegularAndTheNameIsTrimmed) {
  TNewTrueTypeFontForm form;
  form.show();
  EXPECT_FALSE(form.Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
  QTest::keyClicks(form.FamilyField(), "   ");
  EXPECT_FALSE(form.Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
  form.FamilyField()->clear();
  QTest::keyClicks(form.FamilyField(), "  My Family  ");
  EXPECT_TRUE(form.Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
  EXPECT_EQ(form.FamilyName(), "My Family");
  EXPECT_EQ(form.StyleName(), "Regular");
  form.StyleButton(3)->click();
  EXPECT_EQ(form.StyleName(), "Bold Italic");
  EXPECT_FALSE(form.IsSymbol());
  test::GrabWidget(&form, "newfont_dialog");

  form.SymbolButton()->click();
  EXPECT_TRUE(form.IsSymbol());
  EXPECT_FALSE(form.StyleGroup()->isEnabled());
  EXPECT_TRUE(form.StyleButton(0)->isChecked());
  EXPECT_EQ(form.StyleName(), "Regular");
  form.UnicodeButton()->click();
  EXPECT_TRUE(form.StyleGroup()->isEnabled());
  form.StyleButton(2)->click();
  EXPECT_EQ(form.StyleName(), "Bold");
}

TFontList SampleFonts(int Count) {
  TFontList list;
  for (int i = 0; i < Count; ++i)
    list.Add("Font " + std::string(1, char('A' + i)), "/fonts/file" + std::to_string(i) + ".ttf",
             int64_t(100000 - 1000 * i));
  return list;
}

TEST(InstalledFontsForm, ListsFontsWithSizesAndReturnsAtMostTwentyChosen) {
  EXPECT_EQ(TInstalledFontsForm::SizeText(-1), "0K");
  EXPECT_EQ(TInstalledFontsForm::SizeText(2047), "1K");
  EXPECT_EQ(TInstalledFontsForm::SizeText(2048), "2K");

  TInstalledFontsForm form(SampleFonts(25));
  EXPECT_EQ(form.windowTitle(), "Installed Fonts (25)");
  QTreeWidget* list = form.List();
  ASSERT_EQ(list->topLevelItemCount(), 25);
  EXPECT_EQ(list->topLevelItem(0)->text(1), "file0.ttf");
  EXPECT_EQ(list->topLevelItem(0)->text(2), "97K");
  // The first row starts selected, its path shown, OK enabled.
  EXPECT_EQ(form.SelectedFiles(), QStringList{"/fonts/file0.ttf"});
  EXPECT_EQ(form.FileNameLabel()->text(), "/fonts/file0.ttf");
  EXPECT_TRUE(form.Buttons()->button(QDialogButtonBox::Ok)->isEnabled());

  list->selectAll();
  const QStringList chosen = form.SelectedFiles();
  ASSERT_EQ(chosen.size(), 20);
  EXPECT_EQ(chosen.first(), "/fonts/file0.ttf");
  EXPECT_EQ(chosen.last(), "/fonts/file19.ttf");
  list->clearSelection();
  EXPECT_FALSE(form.Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
  EXPECT_TRUE(form.FileNameLabel()->text().isEmpty());
}

TEST(InstalledFontsForm, HeaderClicksSortAndReverse) {
  TFontList fonts;
  fonts.Add("beta", "/f/b.ttf", 5000);
  fonts.Add("Alpha", "/f/a2.ttf", 300000);
  fonts.Add("alpha", "/f/a1.ttf", 40000);
  fonts.Add("Gamma", "/f/g.ttf", -1);
  TInstalledFontsForm form(fonts);
  QTreeWidget* list = form.List();
  auto column = [&](int C) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out.append(list->topLevelItem(i)->text(C));
    return out;
  };
  // Case-insensitive, with the case breaking ties ("Alpha" before "alpha").
  form.SortByColumn(0);
  EXPECT_EQ(column(0), QStringList({"Alpha", "alpha", "beta", "Gamma"}));
  form.SortByColumn(0);
  EXPECT_EQ(column(0), QStringList({"Gamma", "beta", "alpha", "Alpha"}));
  // Sizes compare as numbers, not as their texts.
  form.SortByColumn(2);
  EXPECT_EQ(column(2), QStringList({"0K", "4K", "39K", "292K"}));
  form.SortByColumn(2);
  EXPECT_EQ(column(2), QStringList({"292K", "39K", "4K", "0K"}));
  form.SortByColumn(1);
  EXPECT_EQ(column(1), QStringList({"a1.ttf", "a2.ttf", "b.ttf", "g.ttf"}));
}

TEST(InstalledFontsForm, ShowsTheSystemsFonts) {
  TInstalledFonts fonts;
  fonts.Fonts.Sort();
  TInstalledFontsForm form(fonts.Fonts);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.List()->topLevelItemCount(), int(fonts.Fonts.Count()));
  test::GrabWidget(&form, "installed_fonts_dialog");
}

}  // namespace
}  // namespace tsy
