#include "tools/extractionprogressform.h"

#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <exception>

#include "fontfile/collection.h"

namespace tsy {

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
    FCancel->setEnabled(false);
    FText->setText(QStringLiteral("Cancelling operation..."));
  });
}

TExtractionProgressForm::~TExtractionProgressForm() {
  if (FThread) {
    FStop = true;
    FThread->wait();
    delete FThread;
  }
}

int TExtractionProgressForm::exec() {
  // The worker reports through queued calls, so the window only changes in
  // the thread that owns it; the results are handed over when it ends.
  FThread = QThread::create([this] {
    TTrueTypeCollection collection;
    collection.Names = FJob.Names;
    collection.Selected = FJob.Selected;
    collection.StopRequested = [this] { return FStop.load(); };
    collection.OnProgress = [this](const std::string& Text, int Percent) {
      const QString text = QString::fromStdString(Text);
      QMetaObject::invokeMethod(this, [this, text, Percent] { Progress(text, Percent); }, Qt::QueuedConnection);
    };
    QString error;
    try {
      collection.Extract(FJob.FileName, FJob.Folder, FJob.Prefix);
    } catch (const std::exception& e) {
      error = QString::fromUtf8(e.what());
    } catch (...) {
      error = QStringLiteral("Unknown error");
    }
    std::vector<std::string> written = collection.Written;
    QMetaObject::invokeMethod(this, [this, error, written] {
      FError = error;
      FWritten = written;
      WorkerEnded();
    }, Qt::QueuedConnection);
  });
  FThread->start();
  return QDialog::exec();
}

void TExtractionProgressForm::Progress(const QString& Text, int Percent) {
  if (FStop) return;
  if (FText->text() != Text) FText->setText(Text);
  FBar->setValue(Percent);
}

void TExtractionProgressForm::WorkerEnded() {
  FWorkerDone = true;
  FThread->wait();
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
