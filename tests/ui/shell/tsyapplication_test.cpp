// Errors escaping event handlers and slots reach the application's message
// box, and the program goes on.
#include "shell/tsyapplication.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "settings/registrysettings.h"

namespace tsy {
namespace {

// Closes the next modal message box and remembers its text and icon.
struct TMessageBoxCloser {
  QString Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  int Seen = 0;
  void Arm() {
    QTimer::singleShot(0, [this] { CloseWhenShown(); });
  }
  void CloseWhenShown() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      QTimer::singleShot(10, [this] { CloseWhenShown(); });
      return;
    }
    ++Seen;
    Text = box->text();
    Icon = box->icon();
    box->accept();
  }
};

TEST(TsyApplication, ErrorInSlotIsShownInAMessageBoxAndTheProgramGoesOn) {
  ASSERT_NE(qobject_cast<TTsyApplication*>(QCoreApplication::instance()), nullptr);
  QPushButton button("Go");
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] {
    ++clicks;
    throw ERegistrySettings(kSettingsErrorWrite);
  });
  button.show();
  TMessageBoxCloser closer;
  closer.Arm();
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(closer.Seen, 1);
  EXPECT_EQ(closer.Text, "Error writing registry values");
  EXPECT_EQ(closer.Icon, QMessageBox::Critical);

  // The event loop still works: timers fire and a second click is handled.
  bool fired = false;
  QTimer::singleShot(0, [&] { fired = true; });
  closer.Arm();
  QTest::mouseClick(&button, Qt::LeftButton);
  QTest::qWait(20);
  EXPECT_TRUE(fired);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(closer.Seen, 2);
}

TEST(TsyApplication, ErrorsFromTimersAndOfAnyTypeReachTheDisplay) {
  QStringList shown;
  auto previous = TTsyApplication::SetErrorDisplay([&](const QString& m) { shown << m; });
  QObject context;
  QTimer::singleShot(0, &context, [] { throw std::runtime_error("Table head is too short"); });
  QTimer::singleShot(0, &context, [] { throw 42; });
  QTimer::singleShot(0, &context, [] { throw std::runtime_error(""); });
  QTest::qWait(30);
  TTsyApplication::SetErrorDisplay(previous);
  EXPECT_EQ(shown, (QStringList{"Table head is too short", "An unexpected error occurred.",
                                "An unexpected error occurred."}));
}

}  // namespace
}  // namespace tsy
