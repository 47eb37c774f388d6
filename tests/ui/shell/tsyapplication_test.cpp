// Errors escaping event handlers and slots reach the application's message
// box, and the program goes on.
#include "shell/tsyapplication.h"

#include <gtest/gtest.h>

#include <QEvent>
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

// An object whose event handler fails, as a window's handler might.
class TFailingObject : public QObject {
public:
  int Events = 0;
  bool event(QEvent* Event) override {
    if (Event->type() != QEvent::User) return QObject::event(Event);
    ++Events;
    throw ERegistrySettings(kSettingsErrorWrite);
  }
};

TEST(TsyApplication, ErrorEscapingAnEventHandlerIsShownInAMessageBoxAndTheProgramGoesOn) {
  ASSERT_NE(qobject_cast<TTsyApplication*>(QCoreApplication::instance()), nullptr);
  TFailingObject failing;
  TMessageBoxCloser closer;
  closer.Arm();
  QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
  QTest::qWait(50);
  EXPECT_EQ(failing.Events, 1);
  EXPECT_EQ(closer.Seen, 1);
  EXPECT_EQ(closer.Text, "Error writing registry values");
  EXPECT_EQ(closer.Icon, QMessageBox::Critical);

  // The event loop still works: timers fire and the next event is handled.
  bool fired = false;
  QTimer::singleShot(0, [&] { fired = true; });
  closer.Arm();
  QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
  QTest::qWait(50);
  EXPECT_TRUE(fired);
  EXPECT_EQ(failing.Events, 2);
  EXPECT_EQ(closer.Seen, 2);
}

TEST(TsyApplication, GuardedSlotShowsItsErrorAndTheButtonKeepsWorking) {
  QStringList shown;
  auto previous = TTsyApplication::SetErrorDisplay([&](const QString& m) { shown << m; });
  QPushButton button("Go");
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, &button, Guarded([&] {
                     if (++clicks == 1) throw ERegistrySettings(kSettingsErrorRead);
                   }));
  button.show();
  QTest::mouseClick(&button, Qt::LeftButton);
  QTest::mouseClick(&button, Qt::LeftButton);
  TTsyApplication::SetErrorDisplay(previous);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(shown, QStringList{"Error reading registry values"});
  EXPECT_FALSE(button.isDown());
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
