// tsy4: the font editor. A start with file names while the program already
// runs hands them to the running instance and ends; otherwise the frame
// opens them at its first idle turn.
#include <QStringList>

#include "common/heap.h"
#include "instance/singleinstance.h"
#include "settings/qsettingsbackend.h"
#include "settings/registrysettings.h"
#include "shell/mainformtsy4.h"
#include "shell/tsyapplication.h"

int main(int argc, char** argv) {
  tsy::PrepareHeapForLargeFonts();
  tsy::TTsyApplication app(argc, argv);
  app.setApplicationName(tsy::TMainFormTSY4::ProductTitle());
  const QStringList files = app.arguments().mid(1);
  const QString serverName = tsy::TSingleInstance::DefaultServerName();
  // Only a start with files looks for a running instance; a start without
  // any is a new instance of its own.
  if (!files.isEmpty() && tsy::TSingleInstance::HandOver(serverName, files)) return 0;

  // The settings live in $XDG_CONFIG_HOME/Varnel/Tessary.conf.
  tsy::TRegistrySettings::InstallBackend(std::make_shared<tsy::TQSettingsBackend>());
  tsy::TRegistrySettings::Instance().MigrateOldSettings();
  tsy::TMainFormTSY4 frame;
  tsy::TSingleInstance instance(serverName);
  QObject::connect(&instance, &tsy::TSingleInstance::fileReceived, &frame, &tsy::TMainFormTSY4::ReceiveFile);
  instance.Listen();
  frame.show();
  frame.StartUp(files);
  return app.exec();
}
