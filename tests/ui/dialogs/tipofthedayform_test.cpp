// The tip of the day: moving through the tips, wrapping, the missing file,
// and what closing remembers.
#include "dialogs/tipofthedayform.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "common/resources.h"
#include "settings/registrysettings.h"

namespace tsy {
namespace {

struct TTipFixture : ::testing::Test {
  std::shared_ptr<TMemorySettingsBackend> Backend = std::make_shared<TMemorySettingsBackend>();
  TRegistrySettings Settings{Backend};
  QTemporaryDir Dir;

  QString WriteTips(const QByteArray& Text) {
    const QString name = Dir.filePath("tsy.tip");
    QFile file(name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Text);
    return name;
  }
};

TEST_F(TTipFixture, EachOpeningAndNextTipMoveOnAndWrap) {
  const QString file = WriteTips("first\nsecond\n\nthird\n");
  {
    TTipOfTheDayForm form(Settings, nullptr, file);
    EXPECT_EQ(form.windowTitle(), "Tip of the day");
    EXPECT_EQ(form.ShownTip(), "second");  // the stored tip 0 was shown last time
    form.NextButton()->click();
    EXPECT_EQ(form.ShownTip(), "third");  // the empty line is no tip
    form.NextButton()->click();
    EXPECT_EQ(form.ShownTip(), "first");
    EXPECT_EQ(Settings.CurrentTip(), 0);  // nothing is written before closing
    form.ShowOnStartupBox()->setChecked(false);
    form.accept();
  }
  EXPECT_EQ(Settings.CurrentTip(), 0);
  EXPECT_FALSE(Settings.ShowTipOnStartup());
  {
    TTipOfTheDayForm form(Settings, nullptr, file);
    EXPECT_EQ(form.ShownTip(), "second");
    EXPECT_FALSE(form.ShowOnStartupBox()->isChecked());
    form.show();
    QTest::keyClick(&form, Qt::Key_Escape);  // Escape closes and still remembers
    EXPECT_FALSE(form.isVisible());
  }
  EXPECT_EQ(Settings.CurrentTip(), 1);
}

TEST_F(TTipFixture, StoredIndexBeyondTheFileStartsOver) {
  Settings.SetCurrentTip(10);
  TTipOfTheDayForm form(Settings, nullptr, WriteTips("a\nb\nc"));
  EXPECT_EQ(form.ShownTip(), "a");
}

TEST_F(TTipFixture, NoFileOrNoTipsShowsTheFixedLine) {
  for (const QString& file : {Dir.filePath("missing.tip"), WriteTips(""), WriteTips("\n  \n")}) {
    TTipOfTheDayForm form(Settings, nullptr, file);
    EXPECT_EQ(form.ShownTip(), "There are no tips available.");
    form.NextButton()->click();
    EXPECT_EQ(form.ShownTip(), "There are no tips available.");
    EXPECT_EQ(form.CurrentTip(), 0);
  }
}

TEST_F(TTipFixture, TheProgramCarriesItsOwnTips) {
  const QStringList tips = TTipOfTheDayForm::LoadTips(QString::fromStdString(ResourceFile("tsy.tip")));
  EXPECT_GE(tips.size(), 10);
  EXPECT_NE(tips.front(), "There are no tips available.");
}

}  // namespace
}  // namespace tsy
