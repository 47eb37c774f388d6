#include "support/screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace tsy::test {

QString ScreenshotDirectory() { return qEnvironmentVariable("TSY_SCREENSHOT_DIR"); }

QImage GrabWidget(QWidget* Widget, const QString& Name) {
  Widget->ensurePolished();
  if (!Widget->isVisible()) Widget->show();
  QCoreApplication::processEvents();
  const QImage image = Widget->grab().toImage();
  const QString folder = ScreenshotDirectory();
  if (!folder.isEmpty() && QDir().mkpath(folder)) image.save(QDir(folder).filePath(Name + ".png"), "PNG");
  return image;
}

}  // namespace tsy::test
