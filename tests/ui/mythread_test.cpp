// Worker threads: events arrive on the creating thread, exactly one ending
// event follows a start, and a failing worker still ends.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <stdexcept>

#include "thread/mythread.h"

namespace tsy {
namespace {

class TScriptedWorker : public TMyThread {
public:
  enum TMode { Finish, WaitForStop, Fail };
  explicit TScriptedWorker(TMode Mode) : FMode(Mode) {}

protected:
  void Run() override {
    for (int i = 1; i <= 3; ++i) ReportProgress("step " + std::to_string(i), i * 30);
    if (FMode == Fail) throw std::runtime_error("disk full");
    if (FMode == WaitForStop)
      while (!IsTerminated()) QThread::msleep(1);
  }

private:
  TMode FMode;
};

struct TEvents {
  std::vector<std::string> Progress;
  int Done = 0, Terminated = 0, Failed = 0;
  std::string Error;
  bool OffThread = false;
  int Endings() const { return Done + Terminated + Failed; }
};

void Watch(TMyThread& W, TEvents& E) {
  const QThread* main = QThread::currentThread();
  auto check = [&E, main] { E.OffThread |= QThread::currentThread() != main; };
  W.OnProgress = [&E, check](const std::string& Text, int) {
    check();
    E.Progress.push_back(Text);
  };
  W.OnDone = [&E, check](TMyThread&) { check(), ++E.Done; };
  W.OnTerminated = [&E, check](TMyThread&) { check(), ++E.Terminated; };
  W.OnFailed = [&E, check](TMyThread&, const std::string& Error) {
    check();
    ++E.Failed;
    E.Error = Error;
  };
}

void ProcessUntil(const std::function<bool()>& Condition) {
  QElapsedTimer t;
  t.start();
  while (!Condition() && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(MyThread, EndingEventsOnTheCreatingThread) {
  {
    TScriptedWorker w(TScriptedWorker::Finish);
    TEvents e;
    Watch(w, e);
    w.Start();
    ProcessUntil([&] { return e.Endings() > 0; });
    QCoreApplication::processEvents();
    EXPECT_EQ(e.Done, 1);
    EXPECT_EQ(e.Endings(), 1);
    EXPECT_EQ(e.Progress, (std::vector<std::string>{"step 1", "step 2", "step 3"}));
    EXPECT_EQ(w.Percent(), 90);
    EXPECT_FALSE(e.OffThread);
  }
  {
    TScriptedWorker w(TScriptedWorker::WaitForStop);
    TEvents e;
    Watch(w, e);
    w.Start();
    ProcessUntil([&] { return e.Progress.size() == 3; });
    w.Terminate();
    ProcessUntil([&] { return e.Endings() > 0; });
    EXPECT_EQ(e.Terminated, 1);
    EXPECT_EQ(e.Endings(), 1);
  }
  {
    TScriptedWorker w(TScriptedWorker::Fail);
    TEvents e;
    Watch(w, e);
    w.Start();
    ProcessUntil([&] { return e.Endings() > 0; });
    EXPECT_EQ(e.Failed, 1);
    EXPECT_EQ(e.Endings(), 1);
    EXPECT_EQ(e.Error, "disk full");
    EXPECT_EQ(w.Text(), TMyThread::kFailureText);
  }
}

TEST(MyThread, DestroyedWhileRunningDeliversNothing) {
  TEvents e;
  {
    TScriptedWorker w(TScriptedWorker::WaitForStop);
    Watch(w, e);
    w.Start();
    QThread::msleep(20);
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(e.Endings(), 0);
  EXPECT_TRUE(e.Progress.empty());
}

}  // namespace
}  // namespace tsy
