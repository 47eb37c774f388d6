#include "tools/extractionprogressform.h"

#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "fontfile/collection.h"
#include "thread/mythread.h"

namespace tsy {

// The extraction as a worker: the collection is read and its members written
// on the worker thread; what was written is handed over when it ends.
class TExportFromTTCThread : public TMyThread {
public:
  explicit TExportFromTTCThread(const TExtractionJob& Job) : FJob(Job) {}
  std::vector<std::string> Written;

protected:
  void Run() override {
    TTrueTypeCollection collection;
    collection.Names = FJob.Names;
    collection.Selected = FJob.Selected;
    collection.StopRequested = [this] { return IsTerminated(); };
    collection.OnProgress = [this](const std::string& Text, int Percent) { ReportProgress(Text, Percent); };
    try {
      collection.Extract(FJob.FileName, FJob.Folder, FJob.Prefix);
    } catch (...) {
      Written = collection.Written;
      throw;
    }
    Written = collection.Written;
  }

private:
  TExtractionJob FJob;
};

QString TExtractionProgressForm::FailureText() { return QString::fromLatin1(TMyThread::kFailureText); }

TExtractionProgressForm::TExtractionProgressForm(TExtractionJob Job, QWidget* Parent)
    : QDialog(Parent), FJob(std::move(Job)) {
  setWindowTitle(QStringLiteral("Extracting TrueType Fonts"));
  auto* layout = new QVBoxLayout(this);
  FText = new QLabel(this);
  FText->setMinimumWidth(360);
  FBar = new QProgressBar(this);
  FBar->setRange(0, 100);
  FCancel = new QPushButton(QStringLiteral("Cancel"), this);
  layout->addWidget(FText);
  layout->addWidget(FBar);
  layout->addWidget(FCancel, 0, Qt::AlignRight);
  connect(FCancel, &QPushButton::clicked, this, [this] {
    FStop = true;
    if (FWorker) FWorker->Terminate();
    FCancel->setEnabled(false);
    FText->setText(QStringLiteral("Cancelling operation..."));
  });
}

// The worker stops and is waited for before the window goes.
TExtractionProgressForm::~TExtractionProgressForm() = default;

int TExtractionProgressForm::exec() {
  FWorker = std::make_unique<TExportFromTTCThread>(FJob);
  FWorker->OnProgress = [this](const std::string& Text, int Percent) {
    Progress(QString::fromStdString(Text), Percent);
  };
  auto ended = [this](const QString& Error) {
    FError = Error;
    FWritten = FWorker->Written;
    WorkerEnded();
  };
  FWorker->OnDone = [ended](TMyThread&) { ended({}); };
  FWorker->OnTerminated = [ended](TMyThread&) { ended({}); };
  FWorker->OnFailed = [ended](TMyThread&, const std::string& Error) {
    ended(Error.empty() ? QStringLiteral("Unknown error") : QString::fromStdString(Error));
  };
  FWorker->Start();
  return QDialog::exec();
}

void TExtractionProgressForm::Progress(const QString& Text, int Percent) {
  if (FStop) return;
  if (FText->text() != Text) FText->setText(Text);
  FBar->setValue(Percent);
}

void TExtractionProgressForm::WorkerEnded() {
  FWorkerDone = true;
  FWorker->Wait();
  if (!FError.isEmpty()) {
    FText->setText(FailureText());
    FBar->setValue(100);
    QDialog::reject();
  } else if (FStop) {
    QDialog::reject();
  } else {
    accept();
  }
}

void TExtractionProgressForm::reject() {
  // Escape and the close box cancel like the button; the window stays until
  // the worker has stopped.
  if (FWorkerDone) {
    QDialog::reject();
    return;
  }
  FCancel->click();
}

}  // namespace tsy
