#pragma once
// One running program per user: a second start with file names hands them to
// the running instance over a local socket and ends. Names travel as whole,
// absolute paths (the two processes need not share a working folder), one
// message per file, each answered before the next is sent.
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace tsy {

class TSingleInstance : public QObject {
  Q_OBJECT
public:
  // The answer of a receiver that accepted a name.
  static constexpr quint32 kAccepted = 1973;

  // ServerName identifies the program for one user.
  explicit TSingleInstance(const QString& ServerName, QObject* Parent = nullptr);
  ~TSingleInstance() override;

  // The default name: the product and the user's id.
  static QString DefaultServerName();

  // Hands Files (made absolute against the current folder) to a running
  // instance. Looks for it up to Passes times, WaitMs apart; once the first
  // name is accepted the others are sent and true is returned. False when no
  // instance took the first name.
  static bool HandOver(const QString& ServerName, const QStringList& Files, int Passes = 20, int WaitMs = 10);

  // Starts answering hand-overs. Fails (false) while another live instance
  // holds the name; a name left behind by a crashed instance is taken over.
  bool Listen();
  bool IsListening() const;

signals:
  // An accepted absolute path, in arrival order.
  void fileReceived(const QString& FileName);

private:
  void AcceptConnection();

  QString FServerName;
  QLocalServer* FServer = nullptr;
};

}  // namespace tsy
