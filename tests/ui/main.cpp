// The widget tests share one QApplication (the program's own, so that errors
// escaping event handlers reach its handler as they would in the program).
#include <gtest/gtest.h>

#include "common/resources.h"
#include "shell/tsyapplication.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  tsy::SetResourceDirectory(TSY_TEST_RESOURCE_DIR);
  tsy::TTsyApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
