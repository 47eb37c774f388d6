// Installing for the user into a private data folder: the font is listed by
// fontconfig afterwards, uninstalling takes it away, and no failure leaves a
// file behind or removes the file being installed.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fontfile/tables/name.h"
#include "fontfile/truetypefont.h"
#include "fonts/fontinstaller.h"

namespace tsy {
namespace {

namespace fs = std::filesystem;

const char* kProbeName = "Tessary Install Probe";

class FontInstaller : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(FDir.isValid());
    const std::string root = FDir.path().toStdString();
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
    fs::create_directories(root + "/work");
    // A font under a name no installed font has.
    TTrueTypeFont f;
    f.LoadFromFile("/usr/share/fonts/truetype/freefont/FreeSans.ttf");
    TNameLanguageList* en = f.Name()->FindPlatform(3, 1)->FindLanguage(1033);
    en->SetName(1, u"Tessary Install Probe");
    en->SetName(4, u"Tessary Install Probe");
    FSource = root + "/work/probe.ttf";
    f.SaveToFile(FSource);
  }
  void TearDown() override {
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CACHE_HOME");
  }

  QTemporaryDir FDir;
  std::string FSource;
};

TEST_F(FontInstaller, CopyLinkAndUninstall) {
  EXPECT_EQ(UserFontFolder(), FDir.path().toStdString() + "/data/fonts");
  const std::string target = UserFontFolder() + "/probe.ttf";

  ASSERT_EQ(InstallFont({FSource, kProbeName, true}), "");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
  EXPECT_TRUE(IsFontFileInstalled(target));
  EXPECT_EQ(InstalledFontFile(kProbeName), target);

  // The same font again, now as a link to where it lies: it replaces the copy.
  ASSERT_EQ(InstallFont({FSource, kProbeName, false}), "");
  EXPECT_TRUE(fs::is_symlink(target));
  EXPECT_TRUE(IsFontFileInstalled(target));
  EXPECT_TRUE(fs::exists(FSource));

  EXPECT_TRUE(UninstallFont(target));
  EXPECT_FALSE(fs::exists(fs::symlink_status(target)));
  EXPECT_TRUE(InstalledFontFile(kProbeName).empty());
  EXPECT_TRUE(fs::exists(FSource));
  // Files outside the font folder are never deleted.
  EXPECT_FALSE(UninstallFont(FSource));
  EXPECT_TRUE(fs::exists(FSource));
}

TEST_F(FontInstaller, TheFileBeingInstalledIsNeverRemoved) {
  fs::create_directories(UserFontFolder());
  const std::string inFolder = UserFontFolder() + "/probe.ttf";
  fs::copy_file(FSource, inFolder);
  ASSERT_EQ(InstallFont({inFolder, kProbeName, true}), "");
  EXPECT_TRUE(fs::exists(inFolder));
  EXPECT_TRUE(IsFontFileInstalled(inFolder));
  // Installed again from elsewhere under the same file name: the folder's
  // copy is the older version and is replaced, the source stays.
  ASSERT_EQ(InstallFont({FSource, kProbeName, true}), "");
  EXPECT_TRUE(fs::exists(inFolder));
  EXPECT_TRUE(fs::exists(FSource));
}

TEST_F(FontInstaller, AFailedInstallLeavesNothingBehind) {
  const std::string bad = FDir.path().toStdString() + "/work/bad.ttf";
  std::ofstream(bad) << "this is not a font";
  EXPECT_NE(InstallFont({bad, "Bad", true}), "");
  EXPECT_FALSE(fs::exists(UserFontFolder() + "/bad.ttf"));
  EXPECT_TRUE(fs::exists(bad));
  EXPECT_NE(InstallFont({FDir.path().toStdString() + "/work/missing.ttf", "Missing", true}), "");
}

}  // namespace
}  // namespace tsy
