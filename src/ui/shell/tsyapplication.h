#pragma once
// The program's application object. An exception that escapes an event
// handler or a slot ends up here instead of ending the program: its text is
// shown in an error message box and the event loop goes on.
#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

namespace tsy {

class TTsyApplication : public QApplication {
  Q_OBJECT
public:
  TTsyApplication(int& argc, char** argv);

  bool notify(QObject* Receiver, QEvent* Event) override;

  // Shows an error the way the program shows every error that reaches the top.
  using TErrorDisplay = std::function<void(const QString& Message)>;
  // Replaces the display (tests, a status bar); an empty function restores the
  // message box. Returns the previous display.
  static TErrorDisplay SetErrorDisplay(TErrorDisplay Display);
  static void ShowError(const QString& Message);

  // The text shown for an exception: its own message, or a fixed text for
  // exceptions that carry none.
  static QString ExceptionMessage(std::exception_ptr Error);

  // Errors shown so far by this process (for the status line and tests).
  static int ErrorCount();
};

}  // namespace tsy
