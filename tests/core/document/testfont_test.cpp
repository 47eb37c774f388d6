// The names a font is tested and installed under.
#include <gtest/gtest.h>

#include "core/document/fontmanager_support.h"
#include "document/testfont.h"
#include "fontfile/fontexception.h"
#include "fontfile/tables/name.h"

namespace tsy {
namespace {

const char* kLiberation = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

std::vector<uint8_t> NameBytes(const TTrueTypeFont& F) {
  TMemoryStream m;
  F.Name()->SaveToStream(m);
  return m.Bytes();
}

std::u16string Get(const TTrueTypeFont& F, uint16_t Language, uint16_t Id) {
  std::u16string s;
  F.Name()->FindPlatform(3, 1)->GetName(Language, Id, s);
  return s;
}

TEST(TestFontNames, OtherSystemLanguageFallsBackToUSEnglishAndRestores) {
  TTrueTypeFont f;
  f.LoadFromFile(kLiberation);
  const auto before = NameBytes(f);
  const std::u16string full = Get(f, kEnglishUS, 4), family = Get(f, kEnglishUS, 1);
  std::vector<TRenamedRecord> renamed;
  ASSERT_TRUE(RenameForTest(f, 0x0413 /* Dutch */, u"TSY Test Font 12345", renamed));
  EXPECT_EQ(Get(f, kEnglishUS, 4), u"TSY Test Font 12345");
  EXPECT_EQ(Get(f, kEnglishUS, 1), u"TSY Test Font 12345");
  EXPECT_NE(Get(f, kEnglishUS, 2), u"TSY Test Font 12345");
  ASSERT_EQ(renamed.size(), 2u);
  EXPECT_EQ(renamed[0].OldText, full);
  EXPECT_EQ(renamed[1].OldText, family);
  RestoreTestNames(f, renamed);
  EXPECT_EQ(NameBytes(f), before);
}

TEST(TestFontNames, FamilyOnlyInEnglishRenamesTheRecordsItWasReadFrom) {
  TTrueTypeFont f;
  f.LoadFromFile(kLiberation);
  TNamePlatformList* ms = f.Name()->FindPlatform(3, 1);
  ms->AddLanguage(0x0407)->SetName(4, u"Liberation Sans Standard");
  const auto before = NameBytes(f);
  std::vector<TRenamedRecord> renamed;
  ASSERT_TRUE(RenameForTest(f, 0x0407, u"T", renamed));
  EXPECT_EQ(Get(f, 0x0407, 4), u"T");
  EXPECT_EQ(Get(f, kEnglishUS, 1), u"T");
  EXPECT_NE(Get(f, kEnglishUS, 4), u"T");
  RestoreTestNames(f, renamed);
  EXPECT_EQ(NameBytes(f), before);
}

TEST(TestFontNames, MissingNamesFailBeforeAnythingChanges) {
  struct Case {
    uint16_t Missing;
    const char* Message;
  };
  for (const Case& c : {Case{4, "Microsoft Naming Field FullFontName is missing"},
                        Case{1, "Microsoft Naming Field FontFamilyName is missing"},
                        Case{2, "Microsoft Naming Field FontSubfamilyName is missing"},
                        Case{3, "Microsoft Naming Field UniqueFontIdentifier is missing"}}) {
    TTrueTypeFont f;
    f.LoadFromFile(kLiberation);
    for (size_t i = 0; i < f.Name()->FindPlatform(3, 1)->Count(); ++i)
      if (f.Name()->FindPlatform(3, 1)->Languages[i]->FindName(c.Missing))
        f.Name()->FindPlatform(3, 1)->Languages[i]->DeleteName(c.Missing);
    const auto before = NameBytes(f);
    std::vector<TRenamedRecord> renamed;
    try {
      RenameForTest(f, kEnglishUS, u"T", renamed);
      ADD_FAILURE() << c.Message;
    } catch (const FontException& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
    EXPECT_EQ(NameBytes(f), before);
  }

  TTrueTypeFont none;
  none.LoadFromFile(kLiberation);
  none.Name()->DeletePlatform(3, 1);
  std::vector<TRenamedRecord> renamed;
  EXPECT_FALSE(RenameForTest(none, kEnglishUS, u"T", renamed));
  EXPECT_FALSE(FontInstallName(none, kEnglishUS).has_value());
}

TEST(TestFontNames, InstallName) {
  TTrueTypeFont f;
  f.LoadFromFile(kLiberation);
  TNamePlatformList* ms = f.Name()->FindPlatform(3, 1);
  EXPECT_EQ(FontInstallName(f, kEnglishUS), u"Liberation Sans");
  EXPECT_EQ(FontInstallName(f, 0x0413), u"Liberation Sans");  // no Dutch names: the English full name
  ms->AddLanguage(0x0413)->SetName(2, u"Standaard");
  EXPECT_EQ(FontInstallName(f, 0x0413), u"Liberation Sans Standaard");  // English family, Dutch subfamily
  ms->FindLanguage(0x0413)->SetName(4, u"Liberation Sans Dutch");
  EXPECT_EQ(FontInstallName(f, 0x0413), u"Liberation Sans Dutch");
  ms->FindLanguage(kEnglishUS)->DeleteName(4);
  EXPECT_FALSE(FontInstallName(f, 0x0413).has_value());
}

TEST(TestFontNames, LocaleLanguages) {
  EXPECT_EQ(FindLocaleLanguage("English", "United States"), 1033);
  EXPECT_EQ(FindLocaleLanguage("Dutch", "Netherlands"), 0x0413);
  EXPECT_TRUE(FindLocaleLanguage("Dutch", "Atlantis").has_value());
  EXPECT_FALSE(FindLocaleLanguage("Klingon", "Qo'noS").has_value());
}

}  // namespace
}  // namespace tsy
