// tsy4: the font editor. Fonts named on the command line are opened at once.
#include <QStringList>

#include "common/heap.h"
#include "settings/qsettingsbackend.h"
#include "settings/registrysettings.h"
#include "shell/mainformtsy4.h"
#include "shell/tsyapplication.h"

int main(int argc, char** argv) {
  tsy::PrepareHeapForLargeFonts();
  tsy::TTsyApplication app(argc, argv);
  // The settings live in $XDG_CONFIG_HOME/Varnel/Tessary.conf.
  tsy::TRegistrySettings::InstallBackend(std::make_shared<tsy::TQSettingsBackend>());
  tsy::TMainFormTSY4 frame;
  frame.show();
  const QStringList arguments = app.arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) frame.OpenFontFile(arguments[i]);
  return app.exec();
}
