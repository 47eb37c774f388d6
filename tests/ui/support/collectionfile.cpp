#include "support/collectionfile.h"

#include <QFile>
#include <QList>

namespace tsy::test {

namespace {
quint32 Get32(const QByteArray& B, qsizetype At) {
  return quint32(uchar(B[At])) << 24 | quint32(uchar(B[At + 1])) << 16 | quint32(uchar(B[At + 2])) << 8 |
         quint32(uchar(B[At + 3]));
}
void Set32(QByteArray& B, qsizetype At, quint32 V) {
  for (int i = 0; i < 4; ++i) B[At + i] = char(V >> (24 - 8 * i));
}
void Append32(QByteArray& B, quint32 V) {
  B.append(4, '\0');
  Set32(B, B.size() - 4, V);
}
}  // namespace

bool WriteCollectionFile(const QStringList& Fonts, const QString& Target) {
  QList<QByteArray> members;
  for (const QString& name : Fonts) {
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly)) return false;
    members.append(f.readAll());
  }
  QByteArray out("ttcf");
  Append32(out, 0x00010000);
  Append32(out, quint32(members.size()));
  quint32 at = 12 + 4 * quint32(members.size());
  for (QByteArray& m : members) {
    const int tables = (uchar(m[4]) << 8) | uchar(m[5]);
    for (int t = 0; t < tables; ++t) {
      const qsizetype entry = 12 + 16 * t + 8;
      Set32(m, entry, Get32(m, entry) + at);
    }
    Append32(out, at);
    while (m.size() % 4) m.append('\0');
    at += quint32(m.size());
  }
  for (const QByteArray& m : members) out.append(m);
  QFile f(Target);
  return f.open(QIODevice::WriteOnly) && f.write(out) == out.size();
}

}  // namespace tsy::test
