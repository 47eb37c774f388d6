// Test Font under the offscreen platform: the face is registered under its
// test name while the window shows, and afterwards nothing remains.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontDatabase>

#include "document/fontmanager.h"
#include "fontfile/fontexception.h"
#include "fontfile/tables/name.h"
#include "shell/fonttest.h"

namespace tsy {
namespace {

std::vector<uint8_t> NameBytes(const TTrueTypeFont& F) {
  TMemoryStream m;
  F.Name()->SaveToStream(m);
  return m.Bytes();
}

QStringList TestFiles() { return QDir::temp().entryList({"TSY*.ttf"}, QDir::Files); }

TEST(FontTest, RegistersUnderTheTestNameAndLeavesNoTrace) {
  TTrueTypeFontManager m;
  m.Font().LoadFromFile("/usr/share/fonts/truetype/liberation2/LiberationSerif-Italic.ttf");
  const auto names = NameBytes(m.Font());
  const QStringList filesBefore = TestFiles();
  QString shown;
  int style = -1;
  ASSERT_TRUE(TestFont(m, 1033, [&](const QString& Family, int StyleCode) {
    shown = Family;
    style = StyleCode;
    EXPECT_TRUE(QFontDatabase::families().contains(Family)) << Family.toStdString();
    EXPECT_EQ(TestFiles().size(), filesBefore.size() + 1);
  }));
  EXPECT_TRUE(shown.startsWith("TSY Test Font "));
  const int n = shown.mid(14).toInt();
  EXPECT_GE(n, 10000);
  EXPECT_LT(n, 90000);
  EXPECT_EQ(style, 1);  // italic
  EXPECT_FALSE(QFontDatabase::families().contains(shown));
  EXPECT_EQ(TestFiles(), filesBefore);
  EXPECT_EQ(NameBytes(m.Font()), names);
  EXPECT_FALSE(m.IsModified());
  EXPECT_FALSE(m.History().CanUndo());
}

TEST(FontTest, AMissingNameFailsWithoutAFile) {
  TTrueTypeFontManager m;
  m.Font().LoadFromFile("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf");
  for (auto& language : m.Font().Name()->FindPlatform(3, 1)->Languages)
    if (language->FindName(1)) language->DeleteName(1);
  const auto names = NameBytes(m.Font());
  const QStringList filesBefore = TestFiles();
  bool shown = false;
  try {
    TestFont(m, 1033, [&](const QString&, int) { shown = true; });
    ADD_FAILURE();
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Microsoft Naming Field FontFamilyName is missing");
  }
  EXPECT_FALSE(shown);
  EXPECT_EQ(TestFiles(), filesBefore);
  EXPECT_EQ(NameBytes(m.Font()), names);
}

}  // namespace
}  // namespace tsy
