// The widget tests share one QApplication (the program's own, so that errors
// escaping event handlers reach its handler as they would in the program).
#include <gtest/gtest.h>

#include "common/resources.h"
#include "shell/tsyapplication.h"

namespace {
QtMessageHandler gPreviousHandler = nullptr;

// The offscreen platform reports every window it cannot size by hint; that
// line says nothing about the code under test.
void QuietHandler(QtMsgType Type, const QMessageLogContext& Context, const QString& Message) {
  if (Message.contains(QLatin1String("propagateSizeHints"))) return;
  if (gPreviousHandler) gPreviousHandler(Type, Context, Message);
}
}  // namespace

int main(int argc, char** argv) {
  gPreviousHandler = qInstallMessageHandler(QuietHandler);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  tsy::SetResourceDirectory(TSY_TEST_RESOURCE_DIR);
  tsy::TTsyApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
