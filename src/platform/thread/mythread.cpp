#include "thread/mythread.h"

#include <QMetaObject>
#include <exception>

namespace tsy {

TMyThread::TMyThread() : FReceiver(std::make_unique<QObject>()) {}

TMyThread::~TMyThread() {
  FTerminated = true;
  Wait();
  // Deliveries still queued go with the receiver.
  FReceiver.reset();
}

void TMyThread::Start() {
  if (IsRunning()) return;
  Wait();
  FTerminated = false;
  FThread.reset(QThread::create([this] { Execute(); }));
  FThread->start();
}

void TMyThread::Wait() {
  if (FThread) FThread->wait();
}

template <class F>
void TMyThread::Deliver(F&& Call) {
  QMetaObject::invokeMethod(FReceiver.get(), std::forward<F>(Call), Qt::QueuedConnection);
}

void TMyThread::ReportProgress(const std::string& Text, int Percent) {
  if (FTerminated) return;
  Deliver([this, Text, Percent] {
    if (FTerminated) return;
    FText = Text;
    FPercent = Percent;
    if (OnProgress) OnProgress(Text, Percent);
  });
}

void TMyThread::Execute() {
  std::string error;
  bool failed = false;
  try {
    Run();
  } catch (const std::exception& e) {
    failed = true;
    error = e.what();
  } catch (...) {
    failed = true;
    error = "Unknown error";
  }
  if (failed) {
    // A failing worker still ends: the window waiting for it must close.
    Deliver([this, error] {
      FText = kFailureText;
      FPercent = 100;
      if (OnProgress) OnProgress(FText, FPercent);
      if (OnFailed) OnFailed(*this, error);
    });
  } else if (FTerminated) {
    Deliver([this] {
      if (OnTerminated) OnTerminated(*this);
    });
  } else {
    Deliver([this] {
      if (FTerminated) {
        if (OnTerminated) OnTerminated(*this);
      } else if (OnDone) {
        OnDone(*this);
      }
    });
  }
}

}  // namespace tsy
