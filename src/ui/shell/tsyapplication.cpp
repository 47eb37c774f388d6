#include "shell/tsyapplication.h"

#include <QMessageBox>
#include <new>

namespace tsy {

namespace {
TTsyApplication::TErrorDisplay& Display() {
  static TTsyApplication::TErrorDisplay display;
  return display;
}
int gErrorCount = 0;
}  // namespace

TTsyApplication::TTsyApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Tessary"));
  setOrganizationName(QStringLiteral("Varnel"));
}

bool TTsyApplication::notify(QObject* Receiver, QEvent* Event) {
  try {
    return QApplication::notify(Receiver, Event);
  } catch (...) {
    // Nothing may leave here: Qt cannot unwind through its event loop.
    try {
      ShowException(std::current_exception());
    } catch (...) {
    }
    return false;
  }
}

QString TTsyApplication::ExceptionMessage(std::exception_ptr Error) {
  try {
    std::rethrow_exception(Error);
  } catch (const std::bad_alloc&) {
    return QStringLiteral("Out of memory.");
  } catch (const std::exception& e) {
    const QString text = QString::fromUtf8(e.what());
    if (!text.isEmpty()) return text;
  } catch (...) {
  }
  return QStringLiteral("An unexpected error occurred.");
}

TTsyApplication::TErrorDisplay TTsyApplication::SetErrorDisplay(TErrorDisplay NewDisplay) {
  TErrorDisplay previous = std::move(Display());
  Display() = std::move(NewDisplay);
  return previous;
}

void TTsyApplication::ShowError(const QString& Message) {
  ++gErrorCount;
  if (Display()) {
    Display()(Message);
    return;
  }
  QString title = QApplication::applicationDisplayName();
  if (title.isEmpty()) title = QStringLiteral("Tessary");
  QMessageBox::critical(QApplication::activeWindow(), title, Message);
}

void TTsyApplication::ShowException(std::exception_ptr Error) { ShowError(ExceptionMessage(Error)); }

int TTsyApplication::ErrorCount() { return gErrorCount; }

}  // namespace tsy
