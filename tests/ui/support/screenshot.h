#pragma once
// Pictures of widgets for a developer to look at: QWidget::grab() saved as
// PNG into the folder named by TSY_SCREENSHOT_DIR. Without that variable
// nothing is written.
#include <QImage>
#include <QString>

class QWidget;

namespace tsy::test {

// The folder, or empty when screenshots are not wanted.
QString ScreenshotDirectory();

// Grabs Widget (laid out and polished first) and, when a folder is set, writes
// <folder>/<Name>.png. Returns the grabbed picture.
QImage GrabWidget(QWidget* Widget, const QString& Name);

}  // namespace tsy::test
