// The number field driven as a user drives it: keys, buttons, focus, paste,
// and the disabled state with its kept text.
#include "controls/extendedspinedit.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <stdexcept>

#include "controls/spinbutton.h"
#include "shell/tsyapplication.h"

namespace tsy {
namespace {

// A shown, active window holding a number field and a second widget to move
// the focus to.
struct TFieldFixture : ::testing::Test {
  QWidget Window;
  TvnxExtendedSpinEdit* Field = new TvnxExtendedSpinEdit(&Window);
  QLineEdit* Other = new QLineEdit(&Window);

  void SetUp() override {
    auto* layout = new QVBoxLayout(&Window);
    layout->addWidget(Field);
    layout->addWidget(Other);
    Window.show();
    Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    Leave();  // the field starts without the focus
  }
  void Enter(Qt::FocusReason Reason = Qt::TabFocusReason) {
    Field->setFocus(Reason);
    QCoreApplication::processEvents();
  }
  void Leave() {
    Other->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
  }
};

TEST_F(TFieldFixture, FractionalStepsStayInsideLimits) {
  Field->SetMinValue(-2);
  Field->SetMaxValue(1.9999L);
  Field->SetDigits(2);
  Field->SetIncrement(0.1L);
  Field->SetValue(1.5L);
  EXPECT_EQ(Field->text(), "1.50");
  Field->Up();
  EXPECT_EQ(Field->text(), "1.60");
  Field->Up();
  EXPECT_EQ(Field->text(), "1.70");
  Field->SetValue(5);
  EXPECT_EQ(Field->text(), "2.00");
  EXPECT_EQ(Field->Value(), 1.9999L);  // the text reads 2, which is limited
  Field->SetValue(-5);
  EXPECT_EQ(Field->Value(), -2.0L);
}

TEST_F(TFieldFixture, WholeStepsMoveToTheNextWholeNumberFirst) {
  Field->SetIncrement(100);
  Field->SetDigits(1);
  struct Case {
    long double Start;
    bool Up;
    const char* Shown;
  } cases[] = {{250.5L, true, "350"}, {250.5L, false, "151"}, {250, true, "350"},
               {250, false, "150"},   {-0.5L, true, "99"},    {-0.5L, false, "-100"}};
  for (const auto& c : cases) {
    Field->SetValue(c.Start);
    c.Up ? Field->Up() : Field->Down();
    EXPECT_EQ(Field->text(), QString(c.Shown) + ".0") << static_cast<double>(c.Start) << (c.Up ? " up" : " down");
  }
}

TEST_F(TFieldFixture, ArrowKeysAndButtonsStep) {
  Field->SetDigits(0);
  Field->SetValue(10);
  Enter();
  QTest::keyClick(Field, Qt::Key_Up);
  EXPECT_EQ(Field->text(), "11");
  QTest::keyClick(Field, Qt::Key_Down);
  QTest::keyClick(Field, Qt::Key_Down);
  EXPECT_EQ(Field->text(), "9");
  Leave();
  // A click on the upper half steps up once and puts the focus into the field.
  TvnxTimerSpeedButton* up = Field->Button()->UpButton();
  QTest::mouseClick(up, Qt::LeftButton, {}, up->rect().center());
  EXPECT_EQ(Field->text(), "10");
  EXPECT_TRUE(Field->hasFocus());
  TvnxTimerSpeedButton* down = Field->Button()->DownButton();
  QTest::mouseClick(down, Qt::LeftButton, {}, down->rect().center());
  EXPECT_EQ(Field->text(), "9");
}

TEST_F(TFieldFixture, TypedCharactersAreFiltered) {
  Field->SetDigits(0);
  Field->SetValue(12);
  Enter();
  Field->end(false);
  QTest::keyClicks(Field, "a3x");  // letters are refused, digits pass
  EXPECT_EQ(Field->text(), "123");
  QTest::keyClick(Field, Qt::Key_Backspace);
  EXPECT_EQ(Field->text(), "12");
  Field->home(false);
  QTest::keyClick(Field, Qt::Key_Minus);  // a sign in front of digits gives a negative number
  EXPECT_EQ(Field->text(), "-12");
  EXPECT_EQ(Field->Value(), -12.0L);
}

TEST_F(TFieldFixture, UnreadableTextBringsBackTheLastValueAtOnce) {
  Field->SetDigits(2);
  Field->SetValue(7.25L);
  Enter();
  Field->selectAll();
  QTest::keyClick(Field, Qt::Key_Minus);  // "-" alone is not a number
  EXPECT_EQ(Field->text(), "7.25");
  Field->selectAll();
  QTest::keyClick(Field, Qt::Key_Backspace);  // nor is nothing
  EXPECT_EQ(Field->text(), "7.25");
  Leave();
  EXPECT_EQ(Field->text(), "7.25");

  QGuiApplication::clipboard()->setText("abc");
  Enter();
  Field->selectAll();
  Field->paste();
  EXPECT_EQ(Field->text(), "7.25");
  QGuiApplication::clipboard()->setText("3.5");
  Field->selectAll();
  QTest::keyClick(Field, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Field->text(), "3.5");
  EXPECT_EQ(Field->Value(), 3.5L);
}

TEST_F(TFieldFixture, AllowEmptyLeavesEmptyAndMinusStanding) {
  Field->SetAllowEmpty(true);
  Field->SetValue(4);
  Enter();
  Field->selectAll();
  QTest::keyClick(Field, Qt::Key_Minus);
  EXPECT_EQ(Field->text(), "-");
  EXPECT_EQ(Field->Value(), 0.0L);
  QTest::keyClick(Field, Qt::Key_Backspace);
  EXPECT_EQ(Field->text(), "");
  Leave();
  EXPECT_EQ(Field->text(), "");  // an empty text is left alone
  EXPECT_EQ(Field->Value(), 0.0L);
}

TEST_F(TFieldFixture, LeavingRewritesTheTextWithDecimals) {
  Field->SetDigits(2);
  Field->SetMinValue(0);
  Field->SetMaxValue(10);
  Enter();
  Field->selectAll();
  QTest::keyClicks(Field, "42");
  EXPECT_EQ(Field->text(), "42");
  Leave();
  EXPECT_EQ(Field->text(), "10.00");
  EXPECT_EQ(Field->LastValue(), 42.0L);  // the read value; the limit applies when shown
}

TEST_F(TFieldFixture, EnteringSelectsAllUnlessByMouse) {
  Field->SetValue(123);
  Enter(Qt::TabFocusReason);
  EXPECT_EQ(Field->selectedText(), Field->text());
  Leave();
  Enter(Qt::MouseFocusReason);
  EXPECT_TRUE(Field->selectedText().isEmpty());
  Leave();
  Field->SetAutoSelect(false);
  Enter(Qt::TabFocusReason);
  EXPECT_TRUE(Field->selectedText().isEmpty());
}

TEST_F(TFieldFixture, EditorDisabledOnlySteps) {
  Field->SetDigits(0);
  Field->SetValue(5);
  Field->SetEditorEnabled(false);
  Enter();
  Field->end(false);
  QTest::keyClicks(Field, "9");
  QTest::keyClick(Field, Qt::Key_Backspace);
  QGuiApplication::clipboard()->setText("77");
  QTest::keyClick(Field, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Field->text(), "5");
  QTest::keyClick(Field, Qt::Key_Up);
  EXPECT_EQ(Field->text(), "6");
}

TEST_F(TFieldFixture, ReadOnlyDoesNotStep) {
  Field->SetDigits(0);
  Field->SetValue(5);
  Field->SetReadOnly(true);
  Field->Up();
  Enter();
  QTest::keyClick(Field, Qt::Key_Down);
  QTest::keyClicks(Field, "1");
  EXPECT_EQ(Field->text(), "5");
}

TEST_F(TFieldFixture, IntegerTypesPresetLimitsAndWholeNumbers) {
  Field->SetDigits(2);
  Field->SetValue(1.5L);
  Field->setMaxLength(5);
  Field->SetIntegerType(itWord);
  EXPECT_EQ(Field->text(), "2");
  EXPECT_EQ(Field->Digits(), 0);
  EXPECT_EQ(Field->MinValue(), 0.0L);
  EXPECT_EQ(Field->MaxValue(), 65535.0L);
  EXPECT_EQ(Field->maxLength(), 32767);
  Field->SetValue(70000);
  EXPECT_EQ(Field->text(), "65535");
  Field->SetValue(-1);
  EXPECT_EQ(Field->text(), "0");

  struct Case {
    TIntegerType Type;
    long double Min, Max;
  } cases[] = {{itShortint, -128, 127},
               {itSmallint, -32768, 32767},
               {itByte, 0, 255},
               {itLongword, 0, 4294967295.0L},
               {itCardinal_Generic, 0, 4294967295.0L},
               {itInteger_Generic, -2147483648.0L, 2147483647},
               {itInt64, -9223372036854775808.0L, 9223372036854775807.0L}};
  for (const auto& c : cases) {
    Field->SetIntegerType(c.Type);
    EXPECT_EQ(Field->MinValue(), c.Min);
    EXPECT_EQ(Field->MaxValue(), c.Max);
  }
  // A changed limit makes the field user-defined again.
  Field->SetIntegerType(itWord);
  Field->SetMaxValue(65535);
  EXPECT_EQ(Field->IntegerType(), itWord);
  Field->SetMaxValue(100);
  EXPECT_EQ(Field->IntegerType(), itUserDefined);
}

TEST_F(TFieldFixture, CrossedLimitsMoveTheOtherLimit) {
  Field->SetMinValue(10);
  EXPECT_EQ(Field->MaxValue(), 10.0L);  // raised to the new minimum
  Field->SetMaxValue(20);
  Field->SetMaxValue(5);
  EXPECT_EQ(Field->MinValue(), 5.0L);  // lowered to the new maximum
  // Equal limits mean no limit at all.
  Field->SetValue(1000);
  EXPECT_EQ(Field->Value(), 1000.0L);
}

TEST_F(TFieldFixture, MoreDecimalsShowWhatWasSet) {
  Field->SetValue(1.2345L);
  EXPECT_EQ(Field->text(), "1.23");
  Field->SetDigits(4);
  EXPECT_EQ(Field->text(), "1.2345");
}

TEST_F(TFieldFixture, DisabledFieldAnswersFromItsKeptText) {
  Field->SetDigits(2);
  Field->SetValue(8);
  Field->setEnabled(false);
  EXPECT_EQ(Field->KeptText(), "8.00");
  Field->SetValue(0);
  EXPECT_EQ(Field->Value(), 0.0L);
  EXPECT_EQ(Field->text(), "0.00");

  // Hidden text: the field shows nothing but still holds its value.
  Field->SetClearTextWhileDisabled(true);
  EXPECT_EQ(Field->text(), "");
  Field->SetValue(3.5L);
  EXPECT_EQ(Field->text(), "");
  EXPECT_EQ(Field->KeptText(), "3.50");
  EXPECT_EQ(Field->Value(), 3.5L);
  Field->setEnabled(true);
  EXPECT_EQ(Field->text(), "3.50");
  EXPECT_EQ(Field->KeptText(), "");
  Field->setEnabled(false);
  EXPECT_EQ(Field->text(), "");
  Field->SetClearTextWhileDisabled(false);
  EXPECT_EQ(Field->text(), "3.50");
}

TEST_F(TFieldFixture, EnterReachesTheDialogsDefaultButton) {
  QDialog dialog;
  auto* field = new TvnxExtendedSpinEdit(&dialog);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(field);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  field->setFocus();
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(TFieldFixture, LocaleDecimalSeparator) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  Field->SetDigits(2);
  Field->SetValue(1.5L);
  EXPECT_EQ(Field->text(), "1,50");
  Enter();
  Field->selectAll();
  QTest::keyClicks(Field, "2.5");  // '.' is not this locale's separator
  EXPECT_EQ(Field->text(), "25");
  Field->selectAll();
  QTest::keyClicks(Field, "2,5");
  EXPECT_EQ(Field->Value(), 2.5L);
  QLocale::setDefault(QLocale::c());
}

// Holding a half repeats its click after a pause; releasing stops it.
TEST_F(TFieldFixture, HeldButtonRepeats) {
  Field->SetDigits(0);
  Field->SetValue(0);
  TvnxTimerSpeedButton* up = Field->Button()->UpButton();
  QTest::mousePress(up, Qt::LeftButton, {}, up->rect().center());
  EXPECT_TRUE(up->Repeating());
  EXPECT_EQ(Field->text(), "0");  // the press alone does not step
  QElapsedTimer clock;
  clock.start();
  while (Field->text().toInt() < 2 && clock.elapsed() < 10000) QTest::qWait(20);
  QTest::mouseRelease(up, Qt::LeftButton, {}, up->rect().center());
  EXPECT_FALSE(up->Repeating());
  const int held = Field->text().toInt();
  EXPECT_GE(held, 3);  // two repeats and the click of the release
  QTest::qWait(300);
  EXPECT_EQ(Field->text().toInt(), held);
}

TEST_F(TFieldFixture, ErrorInRepeatedClickStopsTheRepeat) {
  QStringList shown;
  auto previous = TTsyApplication::SetErrorDisplay([&](const QString& m) { shown << m; });
  TvnxTimerSpeedButton* down = Field->Button()->DownButton();
  QObject::connect(down, &TvnxTimerSpeedButton::clicked, Field, [] { throw std::runtime_error("step failed"); });
  QTest::mousePress(down, Qt::LeftButton, {}, down->rect().center());
  QElapsedTimer clock;
  clock.start();
  while (shown.isEmpty() && clock.elapsed() < 10000) QTest::qWait(20);
  EXPECT_EQ(shown, QStringList{"step failed"});
  EXPECT_FALSE(down->Repeating());
  QTest::qWait(250);
  EXPECT_EQ(shown.size(), 1);
  TTsyApplication::SetErrorDisplay(previous);
}

TEST(ExtendedEdit, DisabledStateKeepsTheText) {
  TvnxExtendedEdit edit;
  edit.SetColorEnabled(Qt::white);
  edit.SetColorDisabled(Qt::lightGray);
  edit.setText("abc");
  edit.SetClearTextWhileDisabled(true);
  edit.setEnabled(false);
  EXPECT_EQ(edit.text(), "");
  EXPECT_EQ(edit.ContentText(), "abc");
  EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(Qt::lightGray));
  edit.setText("new");  // not shown, but kept
  EXPECT_EQ(edit.text(), "");
  EXPECT_EQ(edit.KeptText(), "new");
  edit.SetColor(Qt::gray);  // sets the disabled colour while disabled
  EXPECT_EQ(edit.ColorDisabled(), QColor(Qt::gray));
  EXPECT_EQ(edit.ColorEnabled(), QColor(Qt::white));
  edit.setEnabled(true);
  EXPECT_EQ(edit.text(), "new");
  EXPECT_EQ(edit.KeptText(), "");
  EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(Qt::white));
  // Without hiding, a disabled plain field shows its text and takes any text.
  edit.SetClearTextWhileDisabled(false);
  edit.setEnabled(false);
  edit.setText("x y");
  EXPECT_EQ(edit.text(), "x y");
  EXPECT_EQ(edit.ContentText(), "x y");
}

}  // namespace
}  // namespace tsy

namespace tsy {
namespace {

// A pair on its own, as a tab stop without a focus control: a press focuses
// the pair, and the keys click the focused half.
TEST(SpinButton, KeysClickTheFocusedHalf) {
  TvnxSpinButton pair;
  pair.setFocusPolicy(Qt::StrongFocus);
  pair.resize(15, 30);
  int ups = 0, downs = 0;
  QObject::connect(&pair, &TvnxSpinButton::UpClick, [&] { ++ups; });
  QObject::connect(&pair, &TvnxSpinButton::DownClick, [&] { ++downs; });
  pair.show();
  pair.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&pair));
  pair.clearFocus();

  TvnxTimerSpeedButton* down = pair.DownButton();
  QTest::mouseClick(down, Qt::LeftButton, {}, down->rect().center());
  EXPECT_TRUE(pair.hasFocus());
  EXPECT_EQ(pair.FocusedButton(), down);
  EXPECT_EQ(downs, 1);
  QTest::keyClick(&pair, Qt::Key_Space);
  EXPECT_EQ(downs, 2);
  QTest::keyClick(&pair, Qt::Key_Up);
  EXPECT_EQ(pair.FocusedButton(), pair.UpButton());
  EXPECT_EQ(ups, 1);
  QTest::keyClick(&pair, Qt::Key_Space);
  EXPECT_EQ(ups, 2);
  // A release outside the half is no click.
  QTest::mousePress(down, Qt::LeftButton, {}, down->rect().center());
  QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(-20, -20));
  EXPECT_EQ(downs, 2);
  // The halves split the height, the lower one overlapping by a pixel.
  EXPECT_EQ(pair.UpButton()->geometry(), QRect(0, 0, 15, 15));
  EXPECT_EQ(down->geometry(), QRect(0, 14, 15, 16));
}

}  // namespace
}  // namespace tsy
