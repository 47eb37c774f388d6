#include "glyphedit/guidelinesfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/resources.h"
#include "outline/guidelines.h"

namespace tsy {

QString GuidelinesFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/guidelines.dat");
}

bool LoadProgramGuidelines() {
  TGuideLineSettings& g = *TGuideLineSettings::AccessInstance(1);
  QString file = GuidelinesFilePath();
  if (!QFileInfo::exists(file)) {
    const QString shipped = QString::fromStdString(ResourceFile("guidelines.dat"));
    if (!QFileInfo::exists(shipped)) {
      g.ClearAll();
      return true;
    }
    // The shipped copy seeds the lists; a failure there must not block the
    // user's own file from being written later.
    TGuideLineSettings seed;
    if (!seed.LoadFromFile(shipped.toStdString())) return true;
    file = shipped;
  }
  return g.LoadFromFile(file.toStdString());
}

bool SaveProgramGuidelines() {
  const QString file = GuidelinesFilePath();
  QDir().mkpath(QFileInfo(file).absolutePath());
  return TGuideLineSettings::AccessInstance(1)->SaveToFile(file.toStdString());
}

}  // namespace tsy
