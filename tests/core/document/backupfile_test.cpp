// The backup copy written before a save: header layout, the old file
// following it, and the cases where no backup is made.
#include "document/backupfile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fontbuilder.h"

namespace tsy {
namespace {

TEST(BackupFile, HeaderHoldsVersionOffsetAndPaddedNoteThenTheOldFile) {
  const std::string dir = tsytest::MakeTempDir();
  const std::string font = dir + "/a.ttf";
  const tsytest::Bytes old = tsytest::BuildSfnt(tsytest::MinimalFontTables());
  tsytest::WriteFileBytes(font, old);
  ASSERT_TRUE(CreateBackup(font));
  const tsytest::Bytes backup = tsytest::ReadFileBytes(dir + "/a.bak");
  ASSERT_EQ(backup.size(), 208 + old.size());
  EXPECT_EQ(tsytest::Bytes(backup.begin(), backup.begin() + 8), (tsytest::Bytes{1, 0, 0, 0, 208, 0, 0, 0}));
  const std::string note(backup.begin() + 8, backup.begin() + 208);
  EXPECT_EQ(note.rfind(kBackupNote, 0), 0u);
  EXPECT_EQ(note.find_first_not_of(' ', std::string(kBackupNote).size()), std::string::npos);
  EXPECT_EQ(tsytest::Bytes(backup.begin() + 208, backup.end()), old);
  EXPECT_EQ(BackupFontOffset(backup), 208);
}

TEST(BackupFile, NamesAndTheCasesWithoutABackup) {
  EXPECT_EQ(BackupFileName("/x/font.ttf"), "/x/font.bak");
  EXPECT_EQ(BackupFileName("/x/font.v2.TTF"), "/x/font.v2.bak");
  EXPECT_EQ(BackupFileName("/x/font"), "/x/font.bak");
  const std::string dir = tsytest::MakeTempDir();
  // A backup would overwrite the file itself.
  tsytest::WriteFileBytes(dir + "/b.BAK", {1, 2, 3});
  EXPECT_FALSE(CreateBackup(dir + "/b.BAK"));
  EXPECT_EQ(tsytest::ReadFileBytes(dir + "/b.BAK"), (tsytest::Bytes{1, 2, 3}));
  // Nothing on disk yet: nothing to keep, and no error.
  EXPECT_FALSE(CreateBackup(dir + "/new.ttf"));
  EXPECT_FALSE(std::filesystem::exists(dir + "/new.bak"));
  EXPECT_EQ(BackupFontOffset({1, 0, 0, 0}), -1);
  EXPECT_EQ(BackupFontOffset({1, 0, 0, 0, 208, 0, 0, 0}), -1);
}

}  // namespace
}  // namespace tsy
