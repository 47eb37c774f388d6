// Handing files to a running instance over the local socket.
#include "instance/singleinstance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <atomic>
#include <thread>

namespace tsy {
namespace {

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "tsyplatform_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
  return app ? *app : *QCoreApplication::instance();
}

QString ServerName(const char* Test) {
  return QStringLiteral("tessary-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(Test);
}

// Runs Work on another thread while this one serves the events.
template <class F>
void WhileServing(F Work) {
  std::atomic<bool> done{false};
  std::thread worker([&] {
    Work();
    done = true;
  });
  QElapsedTimer timer;
  timer.start();
  while (!done && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  QCoreApplication::processEvents();
}

TEST(SingleInstance, HandsOverWholeAbsolutePathsInOrder) {
  App();
  const QString server = ServerName("order");
  TSingleInstance running(server);
  ASSERT_TRUE(running.Listen());
  QStringList received;
  QObject::connect(&running, &TSingleInstance::fileReceived, [&](const QString& Name) { received.append(Name); });
  // A second instance cannot take the name while the first one lives.
  TSingleInstance second(server);
  EXPECT_FALSE(second.Listen());

  // Longer than the 255 characters a length byte could carry.
  const QString longName = "/fonts/" + QString(300, QLatin1Char('n')) + "\u00e9.ttf";
  bool handed = false;
  WhileServing([&] { handed = TSingleInstance::HandOver(server, {"relative/a.ttf", longName}); });
  EXPECT_TRUE(handed);
  EXPECT_EQ(received, QStringList({QDir::current().absoluteFilePath("relative/a.ttf"), longName}));
}

TEST(SingleInstance, NoRunningInstanceTakesNothing) {
  App();
  EXPECT_FALSE(TSingleInstance::HandOver(ServerName("none"), {"/a.ttf"}, 3, 1));
  EXPECT_FALSE(TSingleInstance::HandOver(ServerName("none"), {}, 3, 1));
}

TEST(SingleInstance, ARelativeOrEmptyNameIsRefused) {
  App();
  const QString server = ServerName("refuse");
  TSingleInstance running(server);
  ASSERT_TRUE(running.Listen());
  QStringList received;
  QObject::connect(&running, &TSingleInstance::fileReceived, [&](const QString& Name) { received.append(Name); });
  std::vector<quint32> answers;
  WhileServing([&] {
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(2000)) return;
    for (const QByteArray& name : {QByteArray("a.ttf"), QByteArray(), QByteArray("/b.ttf")}) {
      QByteArray message;
      QDataStream out(&message, QIODevice::WriteOnly);
      out << quint32(name.size());
      socket.write(message + name);
      socket.waitForBytesWritten(2000);
      while (socket.bytesAvailable() < 4 && socket.waitForReadyRead(2000)) {
      }
      QDataStream in(socket.read(4));
      quint32 answer = 0;
      in >> answer;
      answers.push_back(answer);
    }
  });
  EXPECT_EQ(answers, std::vector<quint32>({0, 0, TSingleInstance::kAccepted}));
  EXPECT_EQ(received, QStringList{"/b.ttf"});
}

}  // namespace
}  // namespace tsy
