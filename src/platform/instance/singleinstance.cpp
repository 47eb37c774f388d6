#include "instance/singleinstance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <unistd.h>

namespace tsy {

namespace {

constexpr int kTimeoutMs = 2000;
// A name longer than any path the system accepts is not a file name.
constexpr quint32 kMaxNameBytes = 64 * 1024;

// One message: the UTF-8 bytes of the path, preceded by their count (32-bit,
// big-endian). The answer is one 32-bit number.
bool SendName(QLocalSocket& Socket, const QString& FileName) {
  const QByteArray bytes = FileName.toUtf8();
  QByteArray message;
  QDataStream out(&message, QIODevice::WriteOnly);
  out << quint32(bytes.size());
  message.append(bytes);
  Socket.write(message);
  // A local socket may have written everything at once: waiting is only
  // needed, and only meaningful, while bytes are pending.
  while (Socket.bytesToWrite() > 0)
    if (!Socket.waitForBytesWritten(kTimeoutMs)) return false;
  while (Socket.bytesAvailable() < 4)
    if (!Socket.waitForReadyRead(kTimeoutMs)) return false;
  QDataStream in(Socket.read(4));
  quint32 answer = 0;
  in >> answer;
  return answer == TSingleInstance::kAccepted;
}

}  // namespace

TSingleInstance::TSingleInstance(const QString& ServerName, QObject* Parent)
    : QObject(Parent), FServerName(ServerName) {}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::DefaultServerName() { return QStringLiteral("Tessary-5.0-%1").arg(getuid()); }

bool TSingleInstance::HandOver(const QString& ServerName, const QStringList& Files, int Passes, int WaitMs) {
  if (Files.isEmpty()) return false;
  QStringList absolute;
  for (const QString& name : Files) absolute.append(QFileInfo(name).absoluteFilePath());
  for (int pass = 0; pass < Passes; ++pass) {
    QThread::msleep(WaitMs);
    QLocalSocket socket;
    socket.connectToServer(ServerName);
    if (!socket.waitForConnected(kTimeoutMs)) continue;
    if (!SendName(socket, absolute.first())) continue;
    // The others are sent without waiting on their fate, as the first one
    // shows the receiver is there.
    for (qsizetype i = 1; i < absolute.size(); ++i) SendName(socket, absolute[i]);
    socket.disconnectFromServer();
    return true;
  }
  return false;
}

bool TSingleInstance::Listen() {
  if (FServer) return true;
  // Listening replaces a socket file of the same name, so a live instance
  // must be asked first: it answers a connection, a crashed one's file does
  // not and is cleared.
  {
    QLocalSocket probe;
    probe.connectToServer(FServerName);
    if (probe.waitForConnected(200)) return false;
  }
  QLocalServer::removeServer(FServerName);
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(FServerName)) {
    delete server;
    return false;
  }
  FServer = server;
  connect(FServer, &QLocalServer::newConnection, this, &TSingleInstance::AcceptConnection);
  return true;
}

bool TSingleInstance::IsListening() const { return FServer && FServer->isListening(); }

void TSingleInstance::AcceptConnection() {
  while (QLocalSocket* socket = FServer->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      for (;;) {
        if (socket->bytesAvailable() < 4) return;
        QDataStream head(socket->peek(4));
        quint32 length = 0;
        head >> length;
        if (length > kMaxNameBytes) {
          socket->abort();
          return;
        }
        if (socket->bytesAvailable() < 4 + qint64(length)) return;
        socket->read(4);
        const QString name = QString::fromUtf8(socket->read(length));
        // Only a whole absolute path means the same file here as there.
        const bool accepted = !name.isEmpty() && QDir::isAbsolutePath(name);
        QByteArray answer;
        QDataStream out(&answer, QIODevice::WriteOnly);
        out << quint32(accepted ? kAccepted : 0);
        socket->write(answer);
        socket->flush();
        if (accepted) emit fileReceived(name);
      }
    });
  }
}

}  // namespace tsy
