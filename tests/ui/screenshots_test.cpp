// Screenshots of the options pages and the number field in its states, for a
// developer to look at (set TSY_SCREENSHOT_DIR). The checks here are the ones
// a picture shows at a glance: nothing is cut off.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QTest>

#include "controls/extendedcustomedit.h"
#include "controls/extendedspinedit.h"
#include "controls/spinbutton.h"
#include "dialogs/extendedwarningform.h"
#include "dialogs/optionsform.h"
#include "dialogs/tipofthedayform.h"
#include "settings/registrysettings.h"
#include "support/screenshot.h"

namespace tsy {
namespace {

// Every button and unwrapped label of Page gets at least the width its text needs.
void ExpectNothingClipped(QWidget* Page, const QString& Where) {
  for (QAbstractButton* button : Page->findChildren<QAbstractButton*>()) {
    if (!button->isVisible() || button->text().isEmpty()) continue;
    EXPECT_GE(button->width(), button->sizeHint().width()) << Where.toStdString() << ": " << button->text().toStdString();
  }
  for (QLabel* label : Page->findChildren<QLabel*>()) {
    if (!label->isVisible() || label->wordWrap() || label->text().isEmpty()) continue;
    EXPECT_GE(label->width(), label->sizeHint().width()) << Where.toStdString() << ": " << label->text().toStdString();
  }
}

void ExpectSaved(const QImage& Image, const QString& Name) {
  ASSERT_FALSE(Image.isNull()) << Name.toStdString();
  const QString folder = test::ScreenshotDirectory();
  if (folder.isEmpty()) return;
  const QImage back(QDir(folder).filePath(Name + ".png"));
  EXPECT_EQ(back.size(), Image.size()) << Name.toStdString();
}

TEST(Screenshots, OptionsPages) {
  TRegistrySettings settings(std::make_shared<TMemorySettingsBackend>());
  TOptionsForm form(settings);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  for (const QString& name : TOptionsForm::PageNames()) {
    form.ShowPage(name);
    QCoreApplication::processEvents();
    const QString file = "options-" + name.toLower();
    ExpectSaved(test::GrabWidget(&form, file), file);
    ExpectNothingClipped(form.Page(name), name);
  }
}

TEST(Screenshots, NumberFieldStates) {
  QWidget panel;
  auto* form = new QFormLayout(&panel);
  auto add = [&](const char* caption) {
    auto* field = new TvnxExtendedSpinEdit;
    form->addRow(caption, field);
    return field;
  };
  add("Initial:");
  TvnxExtendedSpinEdit* decimals = add("Two decimals:");
  decimals->SetValue(1.5L);
  TvnxExtendedSpinEdit* word = add("Word:");
  word->SetIntegerType(itWord);
  word->SetValue(65535);
  TvnxExtendedSpinEdit* negative = add("Four decimals:");
  negative->SetDigits(4);
  negative->SetValue(-0.1234L);
  TvnxExtendedSpinEdit* disabled = add("Disabled:");
  disabled->SetValue(42);
  disabled->setEnabled(false);
  TvnxExtendedSpinEdit* hidden = add("Disabled, hidden:");
  hidden->SetClearTextWhileDisabled(true);
  hidden->SetValue(42);
  hidden->setEnabled(false);
  TvnxExtendedSpinEdit* selected = add("Focused:");
  selected->SetValue(1234567.89L);
  auto* edit = new TvnxExtendedEdit;
  edit->setText("Plain text field");
  form->addRow("Text field:", edit);
  panel.resize(320, panel.sizeHint().height());
  panel.show();
  panel.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
  selected->setFocus(Qt::TabFocusReason);
  ExpectSaved(test::GrabWidget(&panel, "numberfield-states"), "numberfield-states");
  // The buttons sit inside the field's frame and the text stops before them.
  for (auto* field : panel.findChildren<TvnxExtendedSpinEdit*>()) {
    const QRect button = field->Button()->geometry();
    EXPECT_TRUE(field->rect().contains(button));
    EXPECT_GE(button.height(), 14);
    EXPECT_GE(field->textMargins().right(), TvnxExtendedSpinEdit::ButtonWidth);
  }
}

TEST(Screenshots, SmallDialogs) {
  TRegistrySettings settings(std::make_shared<TMemorySettingsBackend>());
  TTipOfTheDayForm tip(settings);
  tip.show();
  ExpectSaved(test::GrabWidget(&tip, "tip-of-the-day"), "tip-of-the-day");
  ExpectNothingClipped(&tip, "tip");
  TExtendedWarningForm warning("This option will be used for all fonts openend with the Tessary. Are you sure you "
                               "want to select this option?");
  warning.show();
  ExpectSaved(test::GrabWidget(&warning, "warning"), "warning");
  ExpectNothingClipped(&warning, "warning");
}

}  // namespace
}  // namespace tsy
