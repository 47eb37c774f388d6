#pragma once
// Acting on modal dialogs from a test: the action runs once the dialog of the
// wanted type is the active modal widget (polled from the event loop that the
// dialog's exec() runs).
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace tsy::test {

template <class TDialog>
void WhenModal(std::function<void(TDialog*)> Action, int TriesLeft = 500) {
  QTimer::singleShot(TriesLeft == 500 ? 0 : 10, [Action, TriesLeft] {
    if (auto* dialog = qobject_cast<TDialog*>(QApplication::activeModalWidget())) {
      Action(dialog);
      return;
    }
    if (TriesLeft > 0) WhenModal<TDialog>(Action, TriesLeft - 1);
  });
}

}  // namespace tsy::test
