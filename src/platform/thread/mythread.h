#pragma once
// The base of the program's worker threads: the work runs in Run on its own
// thread; progress, completion, cancellation and failure are delivered on the
// thread that created the worker (the user interface's), and a stop request
// is read by the work between its steps.
#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace tsy {

class TMyThread {
public:
  using TNotifyEvent = std::function<void(TMyThread& Sender)>;
  using TProgressEvent = std::function<void(const std::string& Text, int Percent)>;
  using TFailureEvent = std::function<void(TMyThread& Sender, const std::string& Error)>;

  TMyThread();
  // Asks the work to stop and waits for it: no event arrives afterwards.
  virtual ~TMyThread();
  TMyThread(const TMyThread&) = delete;
  TMyThread& operator=(const TMyThread&) = delete;

  void Start();
  // The stop request; the work reads it between its steps.
  void Terminate() { FTerminated = true; }
  bool IsTerminated() const { return FTerminated; }
  bool IsRunning() const { return FThread && FThread->isRunning(); }
  void Wait();

  const std::string& Text() const { return FText; }
  int Percent() const { return FPercent; }

  // Each runs on the creating thread. Exactly one of OnDone (the work ended),
  // OnTerminated (it stopped on request) and OnFailed (it raised) follows a
  // start, unless the worker is destroyed first.
  TNotifyEvent OnDone;
  TNotifyEvent OnTerminated;
  TFailureEvent OnFailed;
  // Ignored once a stop has been requested.
  TProgressEvent OnProgress;

  static constexpr const char* kFailureText = "An exception occured. The operation is cancelled.";

protected:
  // The work itself, on the worker thread.
  virtual void Run() = 0;
  void ReportProgress(const std::string& Text, int Percent);

private:
  void Execute();
  template <class F>
  void Deliver(F&& Call);

  std::unique_ptr<QThread> FThread;
  // Deliveries go through this object: once it is gone (the worker
  // destroyed), queued deliveries are dropped.
  std::unique_ptr<QObject> FReceiver;
  std::atomic<bool> FTerminated{false};
  std::string FText;
  int FPercent = 0;
};

}  // namespace tsy
