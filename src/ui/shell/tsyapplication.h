#pragma once
// The program's application object. An exception that escapes an event
// handler or a slot ends up here instead of ending the program: its text is
// shown in an error message box and the event loop goes on.
//
// notify() is the last line: Qt's widget code is not built to clean up after
// an exception passing through it (an escaped error leaks the event objects
// of the frames it crossed). Commands and dialog buttons therefore connect
// through Guarded(), which shows the error right where the slot ends.
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

  // Shows the exception's text the same way.
  static void ShowException(std::exception_ptr Error);

  // Errors shown so far by this process (for the status line and tests).
  static int ErrorCount();
};

// A slot body that reports its own errors: connect(button, &QPushButton::clicked,
// this, Guarded([this] { ... })). The wrapped callable takes no arguments.
template <class TFunction>
auto Guarded(TFunction Function) {
  return [Function = std::move(Function)]() mutable {
    try {
      Function();
    } catch (...) {
      TTsyApplication::ShowException(std::current_exception());
    }
  };
}

}  // namespace tsy
