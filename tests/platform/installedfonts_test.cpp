// The installed-font list from fontconfig, checked against the font files
// the test machine has installed.
#include <gtest/gtest.h>

#include <strings.h>

#include <filesystem>

#include "fonts/installedfonts.h"

using namespace tsy;

TEST(InstalledFonts, ListsTrueTypeAndOpenTypeFontsWithTheirFiles) {
  TInstalledFonts installed;
  const TFontList& list = installed.Fonts;
  ASSERT_GT(list.Count(), 0u);
  bool dejaVu = false, cff = false;
  for (size_t i = 0; i < list.Count(); ++i) {
    const TFontInfo& f = list.Items(i);
    EXPECT_FALSE(f.FontName.empty()) << f.FileName;
    EXPECT_TRUE(std::filesystem::path(f.FileName).is_absolute()) << f.FileName;
    EXPECT_EQ(f.FileSize, int64_t(std::filesystem::file_size(f.FileName))) << f.FileName;
    const std::string ext = std::filesystem::path(f.FileName).extension().string();
    EXPECT_TRUE(ext == ".ttf" || ext == ".otf" || ext == ".ttc" || ext == ".otc" || ext == ".TTF" || ext == ".OTF")
        << f.FileName;
    // Type 1 and bitmap fonts are not listed.
    EXPECT_NE(ext, ".t1");
    EXPECT_NE(ext, ".pfb");
    if (f.FontName == "DejaVu Sans" && f.FileName.ends_with("DejaVuSans.ttf")) dejaVu = true;
    if (f.FileName.ends_with("FreeSerif.otf")) cff = true;
  }
  if (std::filesystem::exists("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")) EXPECT_TRUE(dejaVu);
  if (std::filesystem::exists("/usr/share/fonts/opentype/freefont/FreeSerif.otf")) EXPECT_TRUE(cff);
  // Sorted by name.
  for (size_t i = 1; i < list.Count(); ++i)
    EXPECT_LE(strcasecmp(list.Items(i - 1).FontName.c_str(), list.Items(i).FontName.c_str()), 0);
}
