#include "shell/bookmarkstore.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>

#include "common/resources.h"
#include "fontfile/stream.h"
#include "shell/tsyapplication.h"

namespace tsy {

namespace {
struct TState {
  QString FileName;
  bool Loaded = false;
  TBookmarks Bookmarks;
};
TState& State() {
  static TState state;
  return state;
}

QString DefaultFileName() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("bookmarks.txt"));
}

void Load(TState& S) {
  S.Loaded = true;
  QString file = TBookmarkStore::FileName();
  // Before the user has bookmarks of his own, the copy shipped with the
  // program (if any) provides them.
  if (!QFileInfo::exists(file) && S.FileName.isEmpty()) {
    const QString shipped = QString::fromStdString(ResourceFile("bookmarks.txt"));
    if (QFileInfo::exists(shipped)) file = shipped;
  }
  const TBookmarkLoadResult result = LoadBookmarks(S.Bookmarks, file.toStdString());
  if (!result.Damaged()) return;
  // Keep the damaged file as it is, so that saving the readable bookmarks
  // over it loses nothing.
  const QString kept = TBookmarkStore::FileName() + QStringLiteral(".damaged");
  try {
    WriteFileAtomically(kept.toStdString(), *ReadWholeFile(file.toStdString()));
  } catch (const std::exception&) {
  }
  QString where;
  if (!result.Problem.empty())
    where = QString::fromStdString(result.Problem);
  else {
    QStringList lines;
    for (int line : result.BadLines) lines << QString::number(line);
    where = QStringLiteral("line ") + lines.join(QStringLiteral(", "));
  }
  const QString message = QStringLiteral("The bookmark file %1 is damaged (%2). The readable bookmarks were kept; "
                                         "a copy of the file was saved as %3.")
                              .arg(file, where, kept);
  // Not from inside a paint: the report waits for the event loop.
  QTimer::singleShot(0, [message] { TTsyApplication::ShowError(message); });
}
}  // namespace

TBookmarks& TBookmarkStore::Bookmarks() {
  TState& s = State();
  if (!s.Loaded) Load(s);
  return s.Bookmarks;
}

void TBookmarkStore::Save() {
  const QString file = FileName();
  try {
    QDir().mkpath(QFileInfo(file).absolutePath());
    SaveBookmarks(Bookmarks(), file.toStdString());
  } catch (const std::exception&) {
  }
}

QString TBookmarkStore::FileName() {
  const TState& s = State();
  return s.FileName.isEmpty() ? DefaultFileName() : s.FileName;
}

void TBookmarkStore::SetFileName(const QString& Name) {
  TState& s = State();
  s.FileName = Name;
  s.Loaded = false;
  s.Bookmarks.Clear();
}

}  // namespace tsy
