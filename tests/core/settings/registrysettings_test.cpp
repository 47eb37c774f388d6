// The settings store over the in-memory backend: defaults, types, damaged
// values, errors, migration, window placement and the platform list.
#include "settings/registrysettings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <thread>
#include <variant>

#include "fontfile/fonttable.h"

#include "settings/platforminformation.h"
#include "settings/windowposition.h"

namespace tsy {
namespace {

using S = TRegistrySettings;
using V = std::variant<bool, int32_t, std::string, double>;

struct TStoreFixture : ::testing::Test {
  std::shared_ptr<TMemorySettingsBackend> Backend = std::make_shared<TMemorySettingsBackend>();
  TRegistrySettings Settings{Backend};
  TStoreFixture() { Settings.SetProgramFolder("/opt/tessary"); }
  std::string Key(const std::string& Sub) { return "Software/Varnel/Tessary/5.0/" + Sub; }
};

std::vector<uint8_t> DoubleBytes(double D) {
  std::vector<uint8_t> b(8);
  std::memcpy(b.data(), &D, 8);  // the build hosts are little-endian
  return b;
}

// The stored form a default must take: booleans and integers as DWORDs,
// reals as 8 raw bytes, strings as text.
TSettingValue StoredForm(const V& Value) {
  if (auto* b = std::get_if<bool>(&Value)) return TSettingValue::FromDWord(*b ? 1 : 0);
  if (auto* i = std::get_if<int32_t>(&Value)) return TSettingValue::FromDWord(static_cast<uint32_t>(*i));
  if (auto* s = std::get_if<std::string>(&Value)) return TSettingValue::FromString(*s);
  return TSettingValue::FromBinary(DoubleBytes(std::get<double>(Value)));
}

struct TSettingCase {
  const char* Key;
  const char* Name;
  V Default;
  std::function<V(S&)> Get;
};

const std::vector<TSettingCase>& AllSettings() {
  static const std::vector<TSettingCase> cases = {
      {"Options", "IgnoreUnsupportedTables", false, [](S& s) -> V { return s.IgnoreUnsupportedTables(); }},
      {"Options", "IgnoreHintingData", false, [](S& s) -> V { return s.IgnoreHintingData(); }},
      {"Options", "RemoveDSIGTable", false, [](S& s) -> V { return s.RemoveDSIGTable(); }},
      {"Options", "RemoveLTSHTable", true, [](S& s) -> V { return s.RemoveLTSHTable(); }},
      {"Options", "RemoveVDMXTable", true, [](S& s) -> V { return s.RemoveVDMXTable(); }},
      {"Options", "RemoveHdmxTable", true, [](S& s) -> V { return s.RemoveHdmxTable(); }},
      {"Options", "ValueHexadecimal", true, [](S& s) -> V { return s.ValueHexadecimal(); }},
      {"Options", "AutoFitGlyphInWindow", true, [](S& s) -> V { return s.AutoFitGlyphInWindow(); }},
      {"Options", "DefaultZoomFactor", 0.1, [](S& s) -> V { return s.DefaultZoomFactor(); }},
      {"Options", "AlwaysCreateBackupCopy", false, [](S& s) -> V { return s.AlwaysCreateBackupCopy(); }},
      {"Options", "CompressHmtxTable", true, [](S& s) -> V { return s.CompressHmtxTable(); }},
      {"Options", "CompressNameTable", true, [](S& s) -> V { return s.CompressNameTable(); }},
      {"Options", "RecalcGlyphBoundingBoxes", false, [](S& s) -> V { return s.RecalcGlyphBoundingBoxes(); }},
      {"Options", "UpdateModifiedDateTimeField", true, [](S& s) -> V { return s.UpdateModifiedDateTimeField(); }},
      {"Options", "RecalcAverageCharWidth", true, [](S& s) -> V { return s.RecalcAverageCharWidth(); }},
      {"Options", "ExcludeMonospacedFonts", true, [](S& s) -> V { return s.ExcludeMonospacedFonts(); }},
      {"Options", "LongAlignedLocalOffsets", true, [](S& s) -> V { return s.LongAlignedLocalOffsets(); }},
      {"Options", "SetLeftSideBearingPointAtX0", true, [](S& s) -> V { return s.SetLeftSideBearingPointAtX0(); }},
      {"Options", "AutoNamingUseFontRevision", true, [](S& s) -> V { return s.AutoNamingUseFontRevision(); }},
      {"Options", "DefaultNamingCopyrightIncluded", true, [](S& s) -> V { return s.DefaultNamingCopyrightIncluded(); }},
      {"Options", "DefaultNamingCopyrightText", std::string("Typeface \xC2\xA9 <your company>. <year>. All Rights Reserved"), [](S& s) -> V { return s.DefaultNamingCopyrightText(); }},
      {"Options", "DefaultNamingTrademarkIncluded", false, [](S& s) -> V { return s.DefaultNamingTrademarkIncluded(); }},
      {"Options", "DefaultNamingTrademarkText", std::string("<font family>\xC2\xAE Trademark of <your company>."), [](S& s) -> V { return s.DefaultNamingTrademarkText(); }},
      {"Options", "DefaultNamingFontDesignerIncluded", false, [](S& s) -> V { return s.DefaultNamingFontDesignerIncluded(); }},
      {"Options", "DefaultNamingFontDesignerText", std::string(), [](S& s) -> V { return s.DefaultNamingFontDesignerText(); }},
      {"Options", "DefaultNamingFontDesignerLinkIncluded", false, [](S& s) -> V { return s.DefaultNamingFontDesignerLinkIncluded(); }},
      {"Options", "DefaultNamingFontDesignerLinkText", std::string("http://www.example.com/fontdesigner.html"), [](S& s) -> V { return s.DefaultNamingFontDesignerLinkText(); }},
      {"Options", "DefaultNamingLicenseAgreementIncluded", false, [](S& s) -> V { return s.DefaultNamingLicenseAgreementIncluded(); }},
      {"Options", "DefaultNamingLicenseAgreementText", std::string(), [](S& s) -> V { return s.DefaultNamingLicenseAgreementText(); }},
      {"Options", "DefaultNamingLicenseAgreementLinkIncluded", false, [](S& s) -> V { return s.DefaultNamingLicenseAgreementLinkIncluded(); }},
      {"Options", "DefaultNamingLicenseAgreementLinkText", std::string("http://www.example.com/licenseagreement.html"), [](S& s) -> V { return s.DefaultNamingLicenseAgreementLinkText(); }},
      {"Interface Settings", "OverviewSingleWidth", int32_t(62), [](S& s) -> V { return s.OverviewSingleWidth(); }},
      {"Interface Settings", "OverviewSingleHeight", int32_t(55), [](S& s) -> V { return s.OverviewSingleHeight(); }},
      {"Interface Settings", "OverviewUseColor", true, [](S& s) -> V { return s.OverviewUseColor(); }},
      {"Interface Settings", "OverviewShowCaption", true, [](S& s) -> V { return s.OverviewShowCaption(); }},
      {"Interface Settings", "OverviewShowSample", true, [](S& s) -> V { return s.OverviewShowSample(); }},
      {"Interface Settings", "OverviewSampleFont", std::string("Arial"), [](S& s) -> V { return s.OverviewSampleFont(); }},
      {"Interface Settings", "OverviewSmoothGlyphs", false, [](S& s) -> V { return s.OverviewSmoothGlyphs(); }},
      {"Interface Settings", "GlyphCaptionType", int32_t(0), [](S& s) -> V { return s.GlyphCaptionType(); }},
      {"Interface Settings", "OverviewUndoLimitMaxCount", int32_t(0), [](S& s) -> V { return s.OverviewUndoLimitMaxCount(); }},
      {"Interface Settings", "OverviewUndoLimitMaxSize", int32_t(0), [](S& s) -> V { return s.OverviewUndoLimitMaxSize(); }},
      {"Interface Settings", "SampleSingleWidth", int32_t(62), [](S& s) -> V { return s.SampleSingleWidth(); }},
      {"Interface Settings", "SampleSingleHeight", int32_t(55), [](S& s) -> V { return s.SampleSingleHeight(); }},
      {"Interface Settings", "SampleFileName", std::string(), [](S& s) -> V { return s.SampleFileName(); }},
      {"Interface Settings", "ChildWindowState", int32_t(0), [](S& s) -> V { return s.ChildWindowState(); }},
      {"Interface Settings", "OpenDialogInitialDir", std::string("/opt/tessary/"), [](S& s) -> V { return s.OpenDialogInitialDir(); }},
      {"Interface Settings", "OpenDialogInitialDirTransform", std::string("/opt/tessary/Transform"), [](S& s) -> V { return s.OpenDialogInitialDirTransform(); }},
      {"Interface Settings", "OpenDialogInitialDirImportImage", std::string("/opt/tessary/"), [](S& s) -> V { return s.OpenDialogInitialDirImportImage(); }},
      {"Interface Settings", "OpenDialogInitialDirNamingField", std::string("/opt/tessary/"), [](S& s) -> V { return s.OpenDialogInitialDirNamingField(); }},
      {"Interface Settings", "OpenDialogInitialDirAutoKerning", std::string("/opt/tessary/"), [](S& s) -> V { return s.OpenDialogInitialDirAutoKerning(); }},
      {"Interface Settings", "OpenDialogInitialDirExtractFromTTC", std::string("/opt/tessary/"), [](S& s) -> V { return s.OpenDialogInitialDirExtractFromTTC(); }},
      {"Preview", "PreviewSampleText", std::string("Varnel \\00A9"), [](S& s) -> V { return s.PreviewSampleText(); }},
      {"Preview", "PreviewSampleFontSize", int32_t(32), [](S& s) -> V { return s.PreviewSampleFontSize(); }},
      {"Preview", "PreviewSampleUseKerning", true, [](S& s) -> V { return s.PreviewSampleUseKerning(); }},
      {"Preview", "ShowToolbarWindowPreview", true, [](S& s) -> V { return s.ShowToolbarWindowPreview(); }},
      {"Preview", "PreviewFontSize", int32_t(24), [](S& s) -> V { return s.PreviewFontSize(); }},
      {"Preview", "PreviewPosLeft", int32_t(-1), [](S& s) -> V { return s.PreviewPosLeft(); }},
      {"Preview", "PreviewPosTop", int32_t(-1), [](S& s) -> V { return s.PreviewPosTop(); }},
      {"Preview", "PreviewPosWidth", int32_t(-1), [](S& s) -> V { return s.PreviewPosWidth(); }},
      {"Preview", "PreviewPosHeight", int32_t(-1), [](S& s) -> V { return s.PreviewPosHeight(); }},
      {"Glyph Edit Window", "ShowConnectionsBetweenPoints", false, [](S& s) -> V { return s.ShowConnectionsBetweenPoints(); }},
      {"Glyph Edit Window", "FilledOutline", true, [](S& s) -> V { return s.FilledOutline(); }},
      {"Glyph Edit Window", "ShowFirstAndLastPointIndicators", false, [](S& s) -> V { return s.ShowFirstAndLastPointIndicators(); }},
      {"Glyph Edit Window", "ShowToolbarWindowTransformation", true, [](S& s) -> V { return s.ShowToolbarWindowTransformation(); }},
      {"Glyph Edit Window", "ShowToolbarWindowBackground", true, [](S& s) -> V { return s.ShowToolbarWindowBackground(); }},
      {"Grid", "ShowGrid", true, [](S& s) -> V { return s.ShowGrid(); }},
      {"Grid", "GridDistance", int32_t(100), [](S& s) -> V { return s.GridDistance(); }},
      {"Grid", "GridDistancePixels", int32_t(16), [](S& s) -> V { return s.GridDistancePixels(); }},
      {"Grid", "GridColor", int32_t(0x00FFA6A6), [](S& s) -> V { return s.GridColor(); }},
      {"Grid", "GridLineStyle", int32_t(0), [](S& s) -> V { return s.GridLineStyle(); }},
      {"Grid", "ShowFixedGridLines", true, [](S& s) -> V { return s.ShowFixedGridLines(); }},
      {"Grid", "FixedGridColor", int32_t(255), [](S& s) -> V { return s.FixedGridColor(); }},
      {"Grid", "FixedGridLineStyle", int32_t(0), [](S& s) -> V { return s.FixedGridLineStyle(); }},
      {"Grid", "ShowBearings", true, [](S& s) -> V { return s.ShowBearings(); }},
      {"Grid", "SnapToGrid", false, [](S& s) -> V { return s.SnapToGrid(); }},
      {"Grid", "ShowUserDefinedGuidelines", true, [](S& s) -> V { return s.ShowUserDefinedGuidelines(); }},
      {"Grid", "SnapToUserDefinedGuidelines", false, [](S& s) -> V { return s.SnapToUserDefinedGuidelines(); }},
      {"Grid", "LockUserDefinedGuidelines", false, [](S& s) -> V { return s.LockUserDefinedGuidelines(); }},
      {"GuideLines", "Color", int32_t(0), [](S& s) -> V { return s.GuideLineColor(); }},
      {"GuideLines", "LineStyle", int32_t(0), [](S& s) -> V { return s.GuideLineStyle(); }},
      {"Validation", "EnableGlyphProblemDetection", true, [](S& s) -> V { return s.EnableGlyphProblemDetection(); }},
      {"Validation", "ShowIntersections", true, [](S& s) -> V { return s.ShowIntersections(); }},
      {"Validation", "ShowWarningPoints", true, [](S& s) -> V { return s.ShowWarningPoints(); }},
      {"Validation", "ValidationMaxNumberOfPoints", int32_t(400), [](S& s) -> V { return s.ValidationMaxNumberOfPoints(); }},
      {"Validation", "ValidationMaxNumberOfContours", int32_t(40), [](S& s) -> V { return s.ValidationMaxNumberOfContours(); }},
      {"Validation", "ValidationMaxNumberOfCompositeGlyphMembers", int32_t(20), [](S& s) -> V { return s.ValidationMaxNumberOfCompositeGlyphMembers(); }},
      {"Validation", "LocalExtremeCoordinatesDetection", false, [](S& s) -> V { return s.LocalExtremeCoordinatesDetection(); }},
      {"Validation", "DiagonalRedundantOnCurvePointsDetection", false, [](S& s) -> V { return s.DiagonalRedundantOnCurvePointsDetection(); }},
      {"Validation", "MaximumRedundantOnCurvePointsDistance", 0.8, [](S& s) -> V { return s.MaximumRedundantOnCurvePointsDistance(); }},
      {"Validation", "DiagonalRedundantOffCurvePointsDetection", false, [](S& s) -> V { return s.DiagonalRedundantOffCurvePointsDetection(); }},
      {"Validation", "MaximumRedundantOffCurvePointsDistance", 0.2, [](S& s) -> V { return s.MaximumRedundantOffCurvePointsDistance(); }},
      {"Validation", "TestDuplicateComponents", true, [](S& s) -> V { return s.TestDuplicateComponents(); }},
      {"Validation", "TestEmptyComponents", true, [](S& s) -> V { return s.TestEmptyComponents(); }},
      {"Validation", "TestDuplicateContours", true, [](S& s) -> V { return s.TestDuplicateContours(); }},
      {"Validation", "TestContoursWithOneOrTwoPoints", true, [](S& s) -> V { return s.TestContoursWithOneOrTwoPoints(); }},
      {"Validation", "TestOffCurveExtremeCoordinates", true, [](S& s) -> V { return s.TestOffCurveExtremeCoordinates(); }},
      {"Validation", "TestRedundantPoints", true, [](S& s) -> V { return s.TestRedundantPoints(); }},
      {"Validation", "TestDuplicateKnots", true, [](S& s) -> V { return s.TestDuplicateKnots(); }},
      {"Validation", "TestIntersectingCoordinates", true, [](S& s) -> V { return s.TestIntersectingCoordinates(); }},
      {"Validation", "TestContoursWithIncorrectDirection", true, [](S& s) -> V { return s.TestContoursWithIncorrectDirection(); }},
      {"Validation", "TestFixDetectedProblems", false, [](S& s) -> V { return s.TestFixDetectedProblems(); }},
      {"ImportImage", "ImportMode", int32_t(0), [](S& s) -> V { return s.ImportMode(); }},
      {"ImportImage", "BitmapPositionOrigin", int32_t(6), [](S& s) -> V { return s.BitmapPositionOrigin(); }},
      {"ImportImage", "BitmapPositionType", int32_t(1), [](S& s) -> V { return s.BitmapPositionType(); }},
      {"ImportImage", "GlyphPositionX", int32_t(0), [](S& s) -> V { return s.GlyphPositionX(); }},
      {"ImportImage", "GlyphPositionY", int32_t(0), [](S& s) -> V { return s.GlyphPositionY(); }},
      {"ImportImage", "InvertBitmap", false, [](S& s) -> V { return s.InvertBitmap(); }},
      {"Warn", "WarnBeforeSortingGlyphs", true, [](S& s) -> V { return s.WarnBeforeSortingGlyphs(); }},
      {"Warn", "WarnBeforeActivatingFixFeature", true, [](S& s) -> V { return s.WarnBeforeActivatingFixFeature(); }},
      {"Warn", "WarnBeforeActivatingRemoveFeature", true, [](S& s) -> V { return s.WarnBeforeActivatingRemoveFeature(); }},
      {"Warn", "WarnBeforeExecutingGlyphTransformProgram", true, [](S& s) -> V { return s.WarnBeforeExecutingGlyphTransformProgram(); }},
      {"Install", "InstallFontsInFontsFolder", true, [](S& s) -> V { return s.InstallFontsInFontsFolder(); }},
      {"Tip of the Day", "CurrentTip", int32_t(0), [](S& s) -> V { return s.CurrentTip(); }},
      {"Tip of the Day", "ShowTipOnStartup", true, [](S& s) -> V { return s.ShowTipOnStartup(); }},
      {"ImportImage", "Erode", int32_t(0), [](S& s) -> V { return s.Erode(); }},
      {"ImportImage", "SmoothFilter", int32_t(1), [](S& s) -> V { return s.SmoothFilter(); }},
      {"ImportImage", "Threshold", int32_t(192), [](S& s) -> V { return s.Threshold(); }},
      {"ImportImage", "MinimumPointsInCountour", int32_t(6), [](S& s) -> V { return s.MinimumPointsInCountour(); }},
      {"ImportImage", "Multiplier", 4.0, [](S& s) -> V { return s.Multiplier(); }},
      {"Find", "TabIndex", int32_t(0), [](S& s) -> V { return s.FindTabIndex(); }},
      {"Find", "PlatformID", int32_t(3), [](S& s) -> V { return s.FindPlatformID(); }},
      {"Find", "PlatformSpecificEncodingID", int32_t(1), [](S& s) -> V { return s.FindPlatformSpecificEncodingID(); }},
      {"Find", "FindLanguageID", int32_t(1033), [](S& s) -> V { return s.FindLanguageID(); }},
  };
  return cases;
}

TEST_F(TStoreFixture, EverySettingReadsItsDefaultAndStoresIt) {
  for (const TSettingCase& c : AllSettings()) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.Get(Settings), c.Default);
    const std::optional<TSettingValue> stored = Backend->Peek(Key(c.Key), c.Name);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(*stored, StoredForm(c.Default));
    EXPECT_EQ(c.Get(Settings), c.Default);  // read back from the store this time
  }
  EXPECT_EQ(Backend->ValueCount(), AllSettings().size());
}

TEST_F(TStoreFixture, ShowGridOnAnEmptyStore) {
  EXPECT_TRUE(Settings.ShowGrid());
  EXPECT_EQ(Backend->Peek(Key("Grid"), "ShowGrid"), TSettingValue::FromDWord(1));
}

TEST_F(TStoreFixture, WrittenValuesAreReadBack) {
  Settings.SetShowGrid(false);
  Settings.SetGridDistance(250);
  Settings.SetPreviewPosLeft(-20);
  Settings.SetOverviewSampleFont("DejaVu Sans \xC3\xA9");
  Settings.SetDefaultZoomFactor(2.5);
  EXPECT_FALSE(Settings.ShowGrid());
  EXPECT_EQ(Settings.GridDistance(), 250);
  EXPECT_EQ(Settings.PreviewPosLeft(), -20);
  EXPECT_EQ(Settings.OverviewSampleFont(), "DejaVu Sans \xC3\xA9");
  EXPECT_EQ(Settings.DefaultZoomFactor(), 2.5);
  // Any non-zero DWORD is true.
  Backend->Put(Key("Grid"), "SnapToGrid", TSettingValue::FromDWord(7));
  EXPECT_TRUE(Settings.SnapToGrid());
  Settings.DeleteSettingValue(Key("Grid"), "GridDistance");
  EXPECT_FALSE(Backend->Peek(Key("Grid"), "GridDistance").has_value());
  EXPECT_EQ(Settings.GridDistance(), 100);
}

TEST_F(TStoreFixture, OverviewCellSizesHaveAFloor) {
  struct Case {
    const char* Name;
    int32_t Stored, Read;
  };
  for (const Case c : {Case{"OverviewSingleWidth", 10, 32}, Case{"OverviewSingleWidth", 40, 40},
                       Case{"OverviewSingleWidth", -5, 32}, Case{"OverviewSingleHeight", 0, 24},
                       Case{"OverviewSingleHeight", 30, 30}}) {
    SCOPED_TRACE(c.Stored);
    Backend->Put(Key("Interface Settings"), c.Name, TSettingValue::FromDWord(uint32_t(c.Stored)));
    const int32_t read = std::string(c.Name) == "OverviewSingleWidth" ? Settings.OverviewSingleWidth()
                                                                       : Settings.OverviewSingleHeight();
    EXPECT_EQ(read, c.Read);
  }
}

// A damaged value raises the read error once and is replaced by the default,
// so the next read works.
TEST_F(TStoreFixture, DamagedValuesReportOnceAndFallBackToTheDefault) {
  struct Case {
    const char* Key;
    const char* Name;
    TSettingValue Stored;
    std::function<V(S&)> Get;
    V Default;
  };
  const Case cases[] = {
      {"Grid", "ShowGrid", TSettingValue::FromString("yes"), [](S& s) -> V { return s.ShowGrid(); }, true},
      {"Grid", "GridDistance", TSettingValue::FromString("100"), [](S& s) -> V { return s.GridDistance(); },
       int32_t(100)},
      {"Grid", "GridDistance", TSettingValue::FromDWord(0), [](S& s) -> V { return s.GridDistance(); }, int32_t(100)},
      {"Grid", "GridDistance", TSettingValue::FromDWord(uint32_t(-50)), [](S& s) -> V { return s.GridDistance(); },
       int32_t(100)},
      {"Grid", "GridDistancePixels", TSettingValue::FromDWord(0), [](S& s) -> V { return s.GridDistancePixels(); },
       int32_t(16)},
      {"Interface Settings", "GlyphCaptionType", TSettingValue::FromDWord(6),
       [](S& s) -> V { return s.GlyphCaptionType(); }, int32_t(0)},
      {"Interface Settings", "OverviewUndoLimitMaxSize", TSettingValue::FromDWord(3000000),
       [](S& s) -> V { return s.OverviewUndoLimitMaxSize(); }, int32_t(0)},
      {"Interface Settings", "OverviewSingleWidth", TSettingValue::FromDWord(100000),
       [](S& s) -> V { return s.OverviewSingleWidth(); }, int32_t(62)},
      {"Interface Settings", "OverviewSampleFont", TSettingValue::FromDWord(1),
       [](S& s) -> V { return s.OverviewSampleFont(); }, std::string("Arial")},
      {"Options", "DefaultZoomFactor", TSettingValue::FromBinary({0, 0, 0x80, 0x3F}),
       [](S& s) -> V { return s.DefaultZoomFactor(); }, 0.1},
      {"Options", "DefaultZoomFactor", TSettingValue::FromBinary(DoubleBytes(0.0)),
       [](S& s) -> V { return s.DefaultZoomFactor(); }, 0.1},
      {"Options", "DefaultZoomFactor", TSettingValue::FromBinary(DoubleBytes(std::nan(""))),
       [](S& s) -> V { return s.DefaultZoomFactor(); }, 0.1},
      {"Validation", "MaximumRedundantOnCurvePointsDistance", TSettingValue::FromDWord(1),
       [](S& s) -> V { return s.MaximumRedundantOnCurvePointsDistance(); }, 0.8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Name));
    Backend->Put(Key(c.Key), c.Name, c.Stored);
    try {
      c.Get(Settings);
      ADD_FAILURE() << "no error";
    } catch (const ERegistrySettings& e) {
      EXPECT_STREQ(e.what(), "Error reading registry values");
    }
    EXPECT_EQ(c.Get(Settings), c.Default);
  }
}

TEST_F(TStoreFixture, MultiplierFallsBackWithoutAnError) {
  Backend->Put(Key("ImportImage"), "Multiplier", TSettingValue::FromBinary({0, 0, 0x80, 0x40}));
  EXPECT_EQ(Settings.Multiplier(), 4.0);
  Backend->FailRead = true;
  EXPECT_EQ(Settings.Multiplier(), 4.0);
  Backend->FailRead = false;
  Settings.SetMultiplier(8.0);
  EXPECT_EQ(Settings.Multiplier(), 8.0);
}

TEST_F(TStoreFixture, BackendFailuresGiveTheFourTexts) {
  auto message = [](auto&& Call) -> std::string {
    try {
      Call();
    } catch (const ERegistrySettings& e) {
      return e.what();
    }
    return "(no error)";
  };
  Backend->FailOpen = true;
  EXPECT_EQ(message([&] { Settings.ShowGrid(); }), "Error opening or creating registry key");
  EXPECT_EQ(message([&] { Settings.SetShowGrid(true); }), "Error opening or creating registry key");
  Backend->FailOpen = false;
  Backend->FailRead = true;
  EXPECT_EQ(message([&] { Settings.GridDistance(); }), "Error reading registry values");
  Backend->FailRead = false;
  Backend->FailWrite = true;
  // A missing value whose default cannot be written is a read failure.
  EXPECT_EQ(message([&] { Settings.GridColor(); }), "Error reading registry values");
  EXPECT_EQ(message([&] { Settings.SetGridColor(1); }), "Error writing registry values");
  Backend->FailWrite = false;
  Backend->FailDelete = true;
  EXPECT_EQ(message([&] { Settings.DeleteSettingValue(Key("Grid"), "GridColor"); }), "Error deleting registry key");
}

TEST(RegistrySettingsInstance, AccessInstanceRequests) {
  TRegistrySettings::InstallBackend(std::make_shared<TMemorySettingsBackend>());
  EXPECT_EQ(TRegistrySettings::AccessInstance(0), nullptr);
  TRegistrySettings* first = TRegistrySettings::AccessInstance(1);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(&TRegistrySettings::Instance(), first);
  EXPECT_EQ(TRegistrySettings::AccessInstance(0), first);
  try {
    TRegistrySettings::AccessInstance(5);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Illegal request 5 in AccessInstance");
  }
  TRegistrySettings::ReleaseInstance();
  EXPECT_EQ(TRegistrySettings::AccessInstance(0), nullptr);
  TRegistrySettings::InstallBackend(nullptr);
}

TEST_F(TStoreFixture, MigrationCopiesTheOldKeyOnlyWhenTheNewOneIsMissing) {
  const std::string old = "Software/Varnel/Tessary/4.0";
  Backend->Put(old + "/Grid", "GridDistance", TSettingValue::FromDWord(50));
  Backend->Put(old + "/Preview", "PreviewSampleText", TSettingValue::FromString("Hello"));
  Backend->Put(old + "/Main Window", "Position", TSettingValue::FromString("1,1"));
  EXPECT_TRUE(Settings.MigrateOldSettings());
  EXPECT_EQ(Settings.GridDistance(), 50);
  EXPECT_EQ(Settings.PreviewSampleText(), "Hello");
  EXPECT_EQ(Backend->Peek(Key("Main Window"), "Position"), TSettingValue::FromString("1,1"));
  EXPECT_TRUE(Backend->Peek(old + "/Grid", "GridDistance").has_value());  // the old key stays

  // Both present: nothing is copied.
  Backend->Put(old + "/Grid", "GridDistance", TSettingValue::FromDWord(25));
  EXPECT_FALSE(Settings.MigrateOldSettings());
  EXPECT_EQ(Settings.GridDistance(), 50);
}

TEST_F(TStoreFixture, MigrationWithoutAnOldKeyDoesNothing) {
  EXPECT_FALSE(Settings.MigrateOldSettings());
  EXPECT_EQ(Backend->ValueCount(), 0u);
}

TEST_F(TStoreFixture, ReadsFromManyThreadsAreSerialised) {
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 500; ++i) {
        if (t == 0) Settings.SetGridDistance(100 + i % 3);
        const int32_t d = Settings.GridDistance();
        if (d < 100 || d > 102) ++wrong;
        if (Settings.ValidationMaxNumberOfPoints() != 400) ++wrong;
      }
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(wrong.load(), 0);
}

TEST(WindowPosition, FormatsBothShapes) {
  TWindowPlacement p{true, false, 203, 188, 807, 573};
  EXPECT_EQ(FormatWindowPosition(p, true), "1,0,203,188,807,573");
  p.Maximized = true;
  EXPECT_EQ(FormatWindowPosition(p, true), "1,1");
  EXPECT_EQ(FormatWindowPosition(p, false), "1,0,203,188,807,573");
  p.Visible = false;
  p.Maximized = false;
  EXPECT_EQ(FormatWindowPosition(p, true), "0,0,203,188,807,573");
}

TEST(WindowPosition, AppliesWhatCanBeRead) {
  struct Case {
    const char* Text;
    bool AllowMaximized;
    TWindowPlacement Expected;
  };
  const TWindowPlacement start{false, false, 1, 2, 3, 4};
  const Case cases[] = {
      {"1,0,10,20,300,400", true, {true, false, 10, 20, 300, 400}},
      {"1,1", true, {true, true, 1, 2, 3, 4}},
      {"1,1,10,20,300,400", false, {true, false, 10, 20, 300, 400}},
      {"1,0,10", true, {true, false, 10, 2, 3, 4}},
      {"1,0,-8,-8,x,400", true, {true, false, -8, -8, 3, 4}},
      {"abc,0,10,20,300,400", true, {false, false, 1, 2, 3, 4}},
      {"", true, {false, false, 1, 2, 3, 4}},
      {"0,0,5,6,7,8,9", true, {false, false, 5, 6, 7, 8}},
      {"1,0,99999999999,5", true, {true, false, 1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    TWindowPlacement p = start;
    ApplyWindowPosition(c.Text, p, c.AllowMaximized);
    EXPECT_EQ(p.Visible, c.Expected.Visible);
    EXPECT_EQ(p.Maximized, c.Expected.Maximized);
    EXPECT_EQ(p.Left, c.Expected.Left);
    EXPECT_EQ(p.Top, c.Expected.Top);
    EXPECT_EQ(p.Width, c.Expected.Width);
    EXPECT_EQ(p.Height, c.Expected.Height);
  }
}

TEST_F(TStoreFixture, WindowPositionRoundTripsThroughTheStore) {
  TWindowPlacement p{true, false, 203, 188, 807, 573};
  SaveWindowPosition(Settings, p, "Main Window", true);
  EXPECT_EQ(Backend->Peek(Key("Main Window"), "Position"), TSettingValue::FromString("1,0,203,188,807,573"));
  TWindowPlacement q;
  EXPECT_TRUE(RestoreWindowPosition(Settings, q, "Main Window", true));
  EXPECT_EQ(q.Left, 203);
  EXPECT_EQ(q.Height, 573);
  EXPECT_TRUE(q.Visible);
  // A missing key changes nothing and is not written.
  TWindowPlacement r{true, false, 1, 2, 3, 4};
  EXPECT_FALSE(RestoreWindowPosition(Settings, r, "Other Window", true));
  EXPECT_EQ(r.Left, 1);
  EXPECT_FALSE(Backend->KeyExists(Key("Other Window")));
  // Failures report nothing.
  Backend->FailWrite = true;
  EXPECT_NO_THROW(SaveWindowPosition(Settings, p, "Main Window", true));
}

TEST_F(TStoreFixture, DefaultPlatformIndex) {
  auto lines = [](std::vector<TEncodingEntry> Entries) {
    TPlatformStrings s;
    for (auto e : Entries) s.push_back({"", e});
    return s;
  };
  Settings.SetFindPlatformID(3);
  Settings.SetFindPlatformSpecificEncodingID(1);
  EXPECT_EQ(DefaultPlatformIndex(Settings, lines({{1, 0}, {3, 0}, {3, 1}})), 2);
  EXPECT_EQ(DefaultPlatformIndex(Settings, lines({{1, 0}, {3, 0}})), 1);
  EXPECT_EQ(DefaultPlatformIndex(Settings, lines({{1, 0}})), 0);
  EXPECT_EQ(DefaultPlatformIndex(Settings, lines({})), -1);
}

TEST(PlatformInformation, BuildKeepsFirstOccurrenceOrder) {
  TPlatformInformation info;
  info.Build({{3, 1}, {1, 0}, {3, 1}}, {{0, 3}, {1, 0}, {3, 10}});
  ASSERT_EQ(info.Count(), 4u);
  EXPECT_EQ(info.Items(0), (TEncodingEntry{3, 1}));
  EXPECT_EQ(info.Items(1), (TEncodingEntry{1, 0}));
  EXPECT_EQ(info.Items(2), (TEncodingEntry{0, 3}));
  EXPECT_EQ(info.Items(3), (TEncodingEntry{3, 10}));
  EXPECT_TRUE(info.Contains(3 | 10 << 16));
  EXPECT_FALSE(info.Contains(10 | 3 << 16));
  info.Add(3 | 1 << 16);
  EXPECT_EQ(info.Count(), 4u);

  TPlatformStrings strings{{"stale", {9, 9}}};
  info.FillStrings(strings, {{3, 1}}, {{4, 7}});
  ASSERT_EQ(strings.size(), 2u);
  EXPECT_EQ(strings[0].Entry, (TEncodingEntry{3, 1}));
  EXPECT_EQ(strings[0].Text, PlatformEncodingName(3, 1));
  EXPECT_EQ(strings[1].Text, "7 OTF Windows NT compatibility mapping");
}

}  // namespace
}  // namespace tsy
