// tsy4: the font editor. Fonts named on the command line are opened at once.
#include <QStringList>

#include "shell/mainformtsy4.h"
#include "shell/tsyapplication.h"

int main(int argc, char** argv) {
  tsy::TTsyApplication app(argc, argv);
  tsy::TMainFormTSY4 frame;
  frame.show();
  const QStringList arguments = app.arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) frame.OpenFontFile(arguments[i]);
  return app.exec();
}
