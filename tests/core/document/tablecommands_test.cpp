// Every table command over a real font: OK without a change and Cancel record
// nothing; a change records one named level whose undo gives back the old
// table bytes and whose redo gives back the edited ones.
#include <gtest/gtest.h>

#include "core/document/fontmanager_support.h"
#include "fontfile/tables/hmtx.h"

namespace tsy {
namespace {

using tsytest::StateOf;
using tsytest::TFontState;
using tsytest::TScriptedEditor;
using TCommand = bool (TTrueTypeFontManager::*)(TFontTableEditor&);

struct TCommandCase {
  const char* Label;
  TCommand Command;
  const char* UndoName;
  std::function<void(TScriptedEditor&)> Change;
  std::function<void(TTrueTypeFontManager&)> Prepare = {};  // shapes the font before the command
  std::function<void(const TTrueTypeFont&)> Check = {};     // what the change must have done
};

std::vector<TCommandCase> Cases() {
  auto removeTable = [](const char* Tag) {
    return [Tag](TTrueTypeFontManager& M) { M.Font().RemoveTable(Tag); };
  };
  auto addPclt = [](TTrueTypeFontManager& M) { M.Font().AddTable(std::make_unique<TTablePCLT>()); };
  auto has = [](const char* Tag, bool Expected) {
    return [Tag, Expected](const TTrueTypeFont& F) { EXPECT_EQ(F.FindTable(Tag) != nullptr, Expected) << Tag; };
  };
  return {
      {"gasp changed", &TTrueTypeFontManager::EditGrayscale, "Edit Grayscale",
       [](TScriptedEditor& E) { E.Gasp = [](TTableGasp& T) { T.AddRange({200, 3}); }; }},
      {"gasp emptied", &TTrueTypeFontManager::EditGrayscale, "Edit Grayscale",
       [](TScriptedEditor& E) { E.Gasp = [](TTableGasp& T) { T.Clear(); }; }, nullptr, has("gasp", false)},
      {"gasp created", &TTrueTypeFontManager::EditGrayscale, "Edit Grayscale",
       [](TScriptedEditor& E) { E.Gasp = [](TTableGasp& T) { T.AddRange({0xFFFF, 2}); }; }, removeTable("gasp"),
       has("gasp", true)},
      {"kern pair changed", &TTrueTypeFontManager::EditKerning, "Edit Kerning",
       [](TScriptedEditor& E) { E.Kerning = [](TTableKern& T) { T.Pair(0).Value += 7; }; }},
      {"kern emptied", &TTrueTypeFontManager::EditKerning, "Edit Kerning",
       [](TScriptedEditor& E) { E.Kerning = [](TTableKern& T) { T.Clear(); }; }, nullptr, has("kern", false)},
      {"kern created", &TTrueTypeFontManager::EditKerning, "Edit Kerning",
       [](TScriptedEditor& E) { E.Kerning = [](TTableKern& T) { T.AddPair({3, 4, -40}); }; }, removeTable("kern"),
       has("kern", true)},
      {"PCLT created", &TTrueTypeFontManager::EditPCL5, "Edit PCL5",
       [](TScriptedEditor& E) {
         E.Pcl5 = [](TTablePCLT& T, bool& Include) {
           T.pitch = 600;
           Include = true;
         };
       },
       nullptr, has("PCLT", true)},
      {"PCLT changed", &TTrueTypeFontManager::EditPCL5, "Edit PCL5",
       [](TScriptedEditor& E) { E.Pcl5 = [](TTablePCLT& T, bool&) { T.SetTypeface("Changed"); }; }, addPclt},
      {"PCLT excluded", &TTrueTypeFontManager::EditPCL5, "Edit PCL5",
       [](TScriptedEditor& E) { E.Pcl5 = [](TTablePCLT&, bool& Include) { Include = false; }; }, addPclt,
       has("PCLT", false)},
      {"name changed", &TTrueTypeFontManager::EditNaming, "Edit Naming",
       [](TScriptedEditor& E) { E.Naming = [](TTableName& T) { T.Names.SetName(3, 1, u"Renamed", 4, 0x409); }; }},
      {"mapping added", &TTrueTypeFontManager::EditCharacterMappings, "Edit Character Mappings",
       [](TScriptedEditor& E) {
         E.Mappings = [](TTableCmap& T) { T.FindSubTable(3, 1)->AddMapping(5, 0xE123); };
       }},
      {"subtable deleted", &TTrueTypeFontManager::EditCharacterMappings, "Edit Character Mappings",
       [](TScriptedEditor& E) {
         E.Mappings = [](TTableCmap& T) {
           const uint32_t pair = T.SubTablePair(0);
           T.DeleteSubTable(uint16_t(pair), uint16_t(pair >> 16));  // platform low, encoding high
         };
       }},
      {"platforms removed", &TTrueTypeFontManager::EditPlatforms, "Edit Platforms",
       [](TScriptedEditor& E) {
         E.Platforms = [](TTableCmap& C, TTableName& N) {
           C.DeleteSubTable(3, 1);
           N.DeletePlatform(N.Platform(0).PlatformID, N.Platform(0).EncodingID);
         };
       }},
      {"platforms: name only", &TTrueTypeFontManager::EditPlatforms, "Edit Platforms",
       [](TScriptedEditor& E) {
         E.Platforms = [](TTableCmap&, TTableName& N) { N.Names.SetName(3, 1, u"Only name", 1, 0x409); };
       }},
      {"OS/2 setting", &TTrueTypeFontManager::EditFontSettings, "Edit Font Settings",
       [](TScriptedEditor& E) {
         E.Settings = [](TTableOS_2& O, TTableHead&, TTableHhea&, TTablePost&) { O.usWeightClass += 100; };
       }},
      {"head setting", &TTrueTypeFontManager::EditFontSettings, "Edit Font Settings",
       [](TScriptedEditor& E) {
         E.Settings = [](TTableOS_2&, TTableHead& H, TTableHhea&, TTablePost&) { H.macStyle ^= 1; };
       }},
      {"hhea setting", &TTrueTypeFontManager::EditFontSettings, "Edit Font Settings",
       [](TScriptedEditor& E) {
         E.Settings = [](TTableOS_2&, TTableHead&, TTableHhea& H, TTablePost&) { H.lineGap += 12; };
       }},
      {"post setting", &TTrueTypeFontManager::EditFontSettings, "Edit Font Settings",
       [](TScriptedEditor& E) {
         E.Settings = [](TTableOS_2&, TTableHead&, TTableHhea&, TTablePost& P) { P.italicAngle -= 0x8000; };
       }},
      {"OS/2 created by settings", &TTrueTypeFontManager::EditFontSettings, "Edit Font Settings",
       [](TScriptedEditor& E) {
         E.Settings = [](TTableOS_2& O, TTableHead&, TTableHhea&, TTablePost&) { O.usWeightClass = 700; };
       },
       removeTable("OS/2"), has("OS/2", true)},
      {"glyph name", &TTrueTypeFontManager::EditPostscriptNames, "Edit Postscript Names",
       [](TScriptedEditor& E) { E.PostNames = [](TTablePost& T) { T.SetName(3, "renamedglyph"); }; }},
      {"glyph names dropped", &TTrueTypeFontManager::EditPostscriptNames, "Edit Postscript Names",
       [](TScriptedEditor& E) { E.PostNames = [](TTablePost& T) { T.SetHasGlyphNames(false); }; }},
      {"hinting removed", &TTrueTypeFontManager::EditFontTables, "Delete Tables",
       [](TScriptedEditor& E) { E.Tables = [](std::vector<std::string>&, bool& Hinting) { Hinting = true; }; },
       nullptr,
       [](const TTrueTypeFont& F) {
         EXPECT_FALSE(F.FindTable("cvt ") || F.FindTable("prep") || F.FindTable("fpgm"));
         for (size_t g = 0; g < F.GlyphCount(); ++g) ASSERT_FALSE(F.Outlines.Items(g)->HasInstructions()) << g;
       }},
      {"raw tables deleted", &TTrueTypeFontManager::EditFontTables, "Delete Tables",
       [](TScriptedEditor& E) {
         E.Tables = [](std::vector<std::string>& Tags, bool&) { Tags = {"GPOS", "FFTM"}; };
       },
       nullptr,
       [](const TTrueTypeFont& F) {
         EXPECT_FALSE(F.FindTable("GPOS"));
         EXPECT_FALSE(F.FindTable("FFTM"));
         EXPECT_TRUE(F.FindTable("GSUB"));
       }},
  };
}

class TableCommandTest : public ::testing::TestWithParam<TCommandCase> {};

TEST_P(TableCommandTest, RecordsOnlyChangesAndUndoesThemExactly) {
  const TCommandCase& c = GetParam();
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  if (c.Prepare) c.Prepare(m);
  const TFontState before = StateOf(m.Font());

  TScriptedEditor untouched;
  EXPECT_FALSE((m.*c.Command)(untouched)) << "OK without a change";
  TScriptedEditor cancelled;
  c.Change(cancelled);
  cancelled.Ok = false;
  EXPECT_FALSE((m.*c.Command)(cancelled)) << "Cancel";
  EXPECT_FALSE(m.History().CanUndo());
  EXPECT_FALSE(m.IsModified());
  ASSERT_TRUE(StateOf(m.Font()) == before);

  TScriptedEditor editor;
  c.Change(editor);
  ASSERT_TRUE((m.*c.Command)(editor));
  EXPECT_EQ(m.History().UndoCaption(), c.UndoName);
  EXPECT_EQ(m.History().UndoList().size(), 1u);
  EXPECT_TRUE(m.IsModified());
  if (c.Check) c.Check(m.Font());
  const TFontState edited = StateOf(m.Font());
  ASSERT_FALSE(edited == before);

  m.Undo();
  EXPECT_TRUE(StateOf(m.Font()) == before) << "undo";
  EXPECT_FALSE(m.IsModified());
  EXPECT_EQ(m.History().RedoCaption(), c.UndoName);
  m.Redo();
  EXPECT_TRUE(StateOf(m.Font()) == edited) << "redo";
  if (c.Check) c.Check(m.Font());
  m.Undo();
  EXPECT_TRUE(StateOf(m.Font()) == before) << "second undo";
}

INSTANTIATE_TEST_SUITE_P(Commands, TableCommandTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<TCommandCase>& I) {
                           std::string n;
                           for (const char* p = I.param.Label; *p; ++p)
                             n += std::isalnum(uint8_t(*p)) ? *p : '_';
                           return n;
                         });

// The notifications each command sends once it changed something.
TEST(TableCommands, NotifiesAsEachCommandRequires) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  int changes = 0, windowNotes = 0;
  m.OnChange = [&](TTrueTypeFontManager&) { ++changes; };
  int dummy = 0;
  m.EditWindows().Subscribe(&dummy, 5, [&](TGlyphNotification K) { windowNotes += K == gnGlyphChanged; });

  TScriptedEditor e;
  e.Gasp = [](TTableGasp& T) { T.AddRange({300, 1}); };
  e.Kerning = [](TTableKern& T) { T.Pair(0).Value -= 3; };
  e.Naming = [](TTableName& T) { T.Names.SetName(3, 1, u"x", 2, 0x409); };
  e.Pcl5 = [](TTablePCLT&, bool& Include) { Include = true; };
  ASSERT_TRUE(m.EditGrayscale(e) && m.EditKerning(e) && m.EditNaming(e) && m.EditPCL5(e));
  EXPECT_EQ(changes, 0) << "grayscale, kerning, naming and PCL5 tell nobody";

  e.Mappings = [](TTableCmap& T) { T.FindSubTable(3, 1)->AddMapping(7, 0xE001); };
  ASSERT_TRUE(m.EditCharacterMappings(e));
  EXPECT_EQ(changes, 1);
  e.Settings = [](TTableOS_2& O, TTableHead&, TTableHhea&, TTablePost&) { O.fsType ^= 8; };
  ASSERT_TRUE(m.EditFontSettings(e));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(windowNotes, 1) << "font settings refresh every glyph window";

  // Postscript names: the overview is told also when nothing was recorded.
  TScriptedEditor cancel;
  cancel.Ok = false;
  EXPECT_FALSE(m.EditPostscriptNames(cancel));
  EXPECT_EQ(changes, 3);

  // Undo notifies like the command did.
  changes = 0;
  m.Undo();  // font settings
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(windowNotes, 2);
  m.Undo(5);  // mappings, PCL5, naming, kerning, grayscale
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(m.History().CanUndo());

  m.ShowFontInformation(cancel);
  EXPECT_EQ(cancel.InformationShown, 1);
  EXPECT_FALSE(m.History().CanUndo());
  m.EditWindows().Unsubscribe(&dummy, 5);
}

// Only tables kept as raw bytes can be deleted; typed ones stay.
TEST(TableCommands, DeleteTablesLeavesTypedTablesAlone) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  TScriptedEditor e;
  e.Tables = [](std::vector<std::string>& Tags, bool&) { Tags = {"cmap", "head", "NONE"}; };
  EXPECT_FALSE(m.EditFontTables(e));
  EXPECT_TRUE(m.Font().FindTable("cmap"));
  EXPECT_FALSE(m.History().CanUndo());
}

// Hinting removal and deleted tables come back with one undo, as the same
// classes, and go again with one redo.
TEST(TableCommands, HintingAndRawTablesInOneLevel) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  ASSERT_TRUE(m.HasGlyphInstructions());
  TScriptedEditor e;
  e.Tables = [](std::vector<std::string>& Tags, bool& Hinting) {
    Tags = {"GDEF"};
    Hinting = true;
  };
  const TFontState before = StateOf(m.Font());
  ASSERT_TRUE(m.EditFontTables(e));
  EXPECT_EQ(m.History().UndoList().size(), 1u);
  EXPECT_FALSE(m.HasGlyphInstructions());
  m.Undo();
  EXPECT_TRUE(StateOf(m.Font()) == before);
  EXPECT_STREQ(m.Font().FindTable("fpgm")->ClassName(), "TTableHinting");
  EXPECT_STREQ(m.Font().FindTable("GDEF")->ClassName(), "TTableUnknown");
  m.Redo();
  EXPECT_FALSE(m.Font().FindTable("prep") || m.Font().FindTable("GDEF") || m.HasGlyphInstructions());
}

}  // namespace
}  // namespace tsy
