#pragma once
// The "Progress" window of a collection extraction: the extraction runs on
// a worker thread while this modal window shows its steps. "Cancel" asks the
// worker to stop between members; the window closes when the worker ends.
#include <QDialog>
#include <QString>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tsy {

struct TExtractionJob {
  std::string FileName, Folder, Prefix;
  std::vector<bool> Selected;
  std::vector<std::string> Names;
};

class TExportFromTTCThread;

class TExtractionProgressForm : public QDialog {
  Q_OBJECT
public:
  explicit TExtractionProgressForm(TExtractionJob Job, QWidget* Parent = nullptr);
  ~TExtractionProgressForm() override;

  // Starts the worker and runs the window until it ends. Accepted when every
  // selected member was written, rejected after a cancel or an error.
  int exec() override;

  // The worker's error text, empty when none.
  QString ErrorText() const { return FError; }
  const std::vector<std::string>& Written() const { return FWritten; }
  QLabel* TextLabel() const { return FText; }
  QProgressBar* Bar() const { return FBar; }
  QPushButton* CancelButton() const { return FCancel; }

  // The text shown when the worker fails.
  static QString FailureText();

protected:
  void reject() override;

private:
  void Progress(const QString& Text, int Percent);
  void WorkerEnded();

  TExtractionJob FJob;
  std::unique_ptr<TExportFromTTCThread> FWorker;
  bool FStop = false;
  QLabel* FText;
  QProgressBar* FBar;
  QPushButton* FCancel;
  QString FError;
  std::vector<std::string> FWritten;
  bool FWorkerDone = false;
};

}  // namespace tsy
