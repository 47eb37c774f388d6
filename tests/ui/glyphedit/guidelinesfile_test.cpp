// "guidelines.dat" in the user's data folder across program runs.
#include "glyphedit/guidelinesfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "outline/guidelines.h"

using namespace tsy;

TEST(GuidelinesFile, SavedAtExitReadAtStartAndNeverOverAnUnreadableFile) {
  QStandardPaths::setTestModeEnabled(true);  // a private data folder
  const QString file = GuidelinesFilePath();
  QDir(QFileInfo(file).absolutePath()).removeRecursively();
  TGuideLineSettings& g = *TGuideLineSettings::AccessInstance(1);
  g.ClearAll();
  g.Vertical.Add(42);
  ASSERT_TRUE(SaveProgramGuidelines());  // creates the folder
  g.ClearAll();
  ASSERT_TRUE(LoadProgramGuidelines());
  ASSERT_EQ(g.Vertical.Count(), 1u);
  EXPECT_EQ(g.Vertical.Items(0).X, 42);

  // A file that exists but cannot be read loads nothing and is left alone.
  QFile::remove(file);
  ASSERT_TRUE(QDir().mkpath(file));
  EXPECT_FALSE(LoadProgramGuidelines());
  EXPECT_FALSE(SaveProgramGuidelines());
  EXPECT_TRUE(QFileInfo(file).isDir());
  QDir(QFileInfo(file).absolutePath()).removeRecursively();
  g.ClearAll();
  QStandardPaths::setTestModeEnabled(false);
}
