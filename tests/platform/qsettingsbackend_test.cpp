// The INI settings backend: every value kind survives a write, a new backend
// on the same file and a read; damaged text reads as damaged.
#include "settings/qsettingsbackend.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "settings/registrysettings.h"

namespace tsy {
namespace {

struct TIniFixture : ::testing::Test {
  QTemporaryDir Dir;
  std::string File() const { return (Dir.path() + "/Varnel/Tessary.conf").toStdString(); }
  std::shared_ptr<TQSettingsBackend> Open() const { return std::make_shared<TQSettingsBackend>(File()); }
  std::string Key(const std::string& Sub) const { return "Software/Varnel/Tessary/5.0/" + Sub; }
};

TEST_F(TIniFixture, EveryKindRoundTripsThroughTheFile) {
  const std::string key = Key("Test");
  struct Case {
    const char* Name;
    TSettingValue Value;
  };
  double tenth = 0.1;
  std::vector<uint8_t> tenthBytes(8);
  std::memcpy(tenthBytes.data(), &tenth, 8);
  const Case cases[] = {
      {"DWordZero", TSettingValue::FromDWord(0)},
      {"DWordMinusOne", TSettingValue::FromDWord(0xFFFFFFFFu)},
      {"DWordMax", TSettingValue::FromDWord(0x7FFFFFFFu)},
      {"DWordMin", TSettingValue::FromDWord(0x80000000u)},
      {"DWordColour", TSettingValue::FromDWord(0x00FFA6A6u)},
      {"StringEmpty", TSettingValue::FromString("")},
      {"StringUtf8", TSettingValue::FromString("Typeface \xC2\xA9 <your company>. <year>.")},
      {"StringCommas", TSettingValue::FromString("1,0,203,188,807,573")},
      {"StringAt", TSettingValue::FromString("@ByteArray(not really)")},
      {"StringSpecials", TSettingValue::FromString("a=b; c\\d \"q\" [x] #h")},
      {"StringNewline", TSettingValue::FromString("line one\nline two")},
      {"StringPath", TSettingValue::FromString("/home/user/Fonts/")},
      {"BinaryDouble", TSettingValue::FromBinary(tenthBytes)},
      {"BinaryShort", TSettingValue::FromBinary({0, 0, 0x80, 0x3F})},
      {"BinaryZeros", TSettingValue::FromBinary(std::vector<uint8_t>(8, 0))},
  };
  {
    auto backend = Open();
    for (const Case& c : cases) backend->WriteValue(key, c.Name, c.Value);
  }
  auto backend = Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(backend->ReadValue(key, c.Name, c.Value.Kind), c.Value);
  }
  EXPECT_FALSE(backend->ReadValue(key, "Missing", TSettingKind::DWord).has_value());
  backend->DeleteValue(key, "DWordZero");
  EXPECT_FALSE(Open()->ReadValue(key, "DWordZero", TSettingKind::DWord).has_value());
}

TEST_F(TIniFixture, TheStoreOverTheFile) {
  {
    TRegistrySettings settings(Open());
    EXPECT_TRUE(settings.ShowGrid());  // writes the default
    settings.SetGridDistance(250);
    settings.SetPreviewPosLeft(-8);
    settings.SetDefaultZoomFactor(2.5);
    settings.SetOverviewSampleFont("DejaVu Sans");
    settings.SetSnapToGrid(true);
  }
  TRegistrySettings settings(Open());
  EXPECT_TRUE(settings.ShowGrid());
  EXPECT_EQ(settings.GridDistance(), 250);
  EXPECT_EQ(settings.PreviewPosLeft(), -8);
  EXPECT_EQ(settings.DefaultZoomFactor(), 2.5);
  EXPECT_EQ(settings.OverviewSampleFont(), "DejaVu Sans");
  EXPECT_TRUE(settings.SnapToGrid());

  // The file keeps the registry-style path and plain numbers a person can edit.
  QFile f(QString::fromStdString(File()));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray text = f.readAll();
  EXPECT_TRUE(text.contains("Varnel\\Tessary\\5.0\\Grid\\GridDistance=250")) << text.toStdString();
}

TEST_F(TIniFixture, HandEditedDamageReadsAsDamaged) {
  QDir().mkpath(Dir.path() + "/Varnel");
  QFile f(QString::fromStdString(File()));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[Software]\n"
          "Varnel\\Tessary\\5.0\\Grid\\GridDistance=lots\n"
          "Varnel\\Tessary\\5.0\\Grid\\GridDistancePixels=0\n"
          "Varnel\\Tessary\\5.0\\Grid\\GridColor=99999999999\n"
          "Varnel\\Tessary\\5.0\\Options\\DefaultZoomFactor=0.5\n"
          "Varnel\\Tessary\\5.0\\Interface%20Settings\\OverviewSingleWidth=40\n");
  f.close();
  TRegistrySettings settings(Open());
  EXPECT_THROW(settings.GridDistance(), ERegistrySettings);
  EXPECT_EQ(settings.GridDistance(), 100);
  EXPECT_THROW(settings.GridDistancePixels(), ERegistrySettings);
  EXPECT_EQ(settings.GridDistancePixels(), 16);
  EXPECT_THROW(settings.GridColor(), ERegistrySettings);
  EXPECT_EQ(settings.GridColor(), 0x00FFA6A6);
  // Doubles are kept as 8 bytes; plain text is not one.
  EXPECT_THROW(settings.DefaultZoomFactor(), ERegistrySettings);
  EXPECT_EQ(settings.DefaultZoomFactor(), 0.1);
  EXPECT_EQ(settings.OverviewSingleWidth(), 40);
}

TEST_F(TIniFixture, MigrationCopiesTheOldGroup) {
  {
    auto backend = Open();
    backend->WriteValue("Software/Varnel/Tessary/4.0/Grid", "GridDistance", TSettingValue::FromDWord(50));
    backend->WriteValue("Software/Varnel/Tessary/4.0/Main Window", "Position", TSettingValue::FromString("1,1"));
  }
  TRegistrySettings settings(Open());
  EXPECT_TRUE(settings.MigrateOldSettings());
  EXPECT_EQ(settings.GridDistance(), 50);
  EXPECT_EQ(Open()->ReadValue(Key("Main Window"), "Position", TSettingKind::String),
            TSettingValue::FromString("1,1"));
  EXPECT_FALSE(settings.MigrateOldSettings());
}

TEST(QSettingsBackendDefault, LivesInTheUserConfigFolder) {
  qputenv("XDG_CONFIG_HOME", "/tmp/tessary-config-test");
  EXPECT_EQ(TQSettingsBackend::DefaultFileName(), "/tmp/tessary-config-test/Varnel/Tessary.conf");
}

}  // namespace
}  // namespace tsy
