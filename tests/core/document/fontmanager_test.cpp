// The document manager itself: events, undo batches, selection helpers, the
// save-time commands, glyph shifting and the automatic removal of hinting.
#include <gtest/gtest.h>

#include "core/document/fontmanager_support.h"
#include "document/undodata.h"
#include "fontfile/tables/hmtx.h"
#include "settings/registrysettings.h"

namespace tsy {
namespace {

using tsytest::StateOf;
using tsytest::TFontState;

std::vector<uint8_t> OutlineBytes(const TTrueTypeFont& F) {
  TMemoryStream m;
  for (size_t g = 0; g < F.GlyphCount(); ++g) F.Outlines.WriteSnapshot(int(g), m);
  return m.Bytes();
}

// The glyph's points relative to its origin (x = XMin - lsb): what is
// drawn. Leaves the stored box alone.
TOutlineContours Drawn(const TTrueTypeFont& F, int G) {
  TOutlineContours c;
  F.Outlines.Items(size_t(G))->AddTransformedContours(c, TOutlineTransform{});
  TOutlineTransform t;
  t.OffsetX = -(GetPointBounds(c).XMin - F.Hmtx()->LeftSideBearing(G));
  TransformContours(c, t);
  return c;
}

TEST(FontManager, FileNameEventOnlyOnChange) {
  TTrueTypeFontManager m;
  std::vector<std::string> names;
  m.OnFileNameChange = [&](TTrueTypeFontManager& Sender, const std::string& Name) {
    EXPECT_EQ(&Sender, &m);
    names.push_back(Name);
  };
  m.SetFileName("Font1.ttf");
  m.SetFileName("Font1.ttf");
  m.SetFileName("/tmp/a.ttf");
  EXPECT_EQ(names, (std::vector<std::string>{"Font1.ttf", "/tmp/a.ttf"}));
  EXPECT_EQ(m.FileName(), "/tmp/a.ttf");
}

// Undo(3) with two levels: two steps, then the history's refusal; the
// after-event comes in every case.
TEST(FontManager, UndoBatchesFireTheirEventsAlsoOnFailure) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  int before = 0, after = 0;
  m.OnBeforeUndo = [&](TTrueTypeFontManager&) { ++before; };
  m.OnAfterUndo = [&](TTrueTypeFontManager&) { ++after; };
  tsytest::TScriptedEditor e;
  e.Gasp = [](TTableGasp& T) { T.AddRange({400, 2}); };
  e.Naming = [](TTableName& T) { T.Names.SetName(3, 1, u"n", 1, 0x409); };
  const TFontState start = StateOf(m.Font());
  ASSERT_TRUE(m.EditGrayscale(e) && m.EditNaming(e));

  try {
    m.Undo(3);
    FAIL() << "a third step cannot be undone";
  } catch (const EvnxUndoRedoRepeatStreamerError& Error) {
    EXPECT_STREQ(Error.what(), "Can't perform this operation.");
  }
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
  EXPECT_TRUE(StateOf(m.Font()) == start);
  EXPECT_EQ(m.History().RedoList().size(), 2u);

  m.Redo(2);
  EXPECT_EQ(after, 2);
  EXPECT_THROW(m.Repeat(), EvnxUndoRedoRepeatStreamerError);
  EXPECT_EQ(after, 3);
}

// Repeat(Count) runs the repeat level Count times.
TEST(FontManager, RepeatRunsCountSteps) {
  TTrueTypeFontManager m;
  int runs = 0;
  TUndoRedoHandler again = [&](TUndoRedoRepeatItem&, TStream&) {
    ++runs;
    m.History().AddUndoItem([](TUndoRedoRepeatItem&, TStream&) {});
  };
  m.RecordLevel("Step", [&] {
    m.History().AddUndoItem([](TUndoRedoRepeatItem&, TStream&) {});
    m.History().AddRepeatItem(again);
  });
  m.Repeat(3);
  EXPECT_EQ(runs, 3);
  EXPECT_EQ(m.History().UndoList().size(), 4u);
}

// A failing body still closes its level.
TEST(FontManager, RecordLevelClosesOnFailure) {
  TTrueTypeFontManager m;
  EXPECT_THROW(m.RecordLevel("Broken", [&] {
    m.History().AddUndoItem([](TUndoRedoRepeatItem&, TStream&) {});
    throw std::runtime_error("fails");
  }),
               std::runtime_error);
  EXPECT_EQ(m.History().HistoryState(), TvnxUndoRedoRepeatStreamer::THistoryState::Idle);
  EXPECT_EQ(m.History().UndoCaption(), "Broken");
}

TEST(FontManager, SelectionHelpers) {
  TTrueTypeFontManager m;
  int changes = 0;
  m.OnChange = [&](TTrueTypeFontManager&) { ++changes; };
  m.SelectAllGlyphs(true);
  EXPECT_EQ(changes, 0) << "nothing happens without glyphs";

  tsytest::LoadManagerFont(m);
  const auto* cmap = dynamic_cast<const TTableCmap*>(m.Font().FindTable("cmap"));
  const int space = cmap->UnicodeGlyph(0x20), letterA = cmap->UnicodeGlyph(0x41);
  ASSERT_GT(space, 0);
  ASSERT_GT(letterA, 0);
  ASSERT_EQ(m.Font().Outlines.Items(size_t(space))->GetKind(), okEmpty);
  m.Font().Outlines.MakeEmpty(letterA);

  const int n = int(m.Font().GlyphCount());
  m.SelectAllGlyphs(true);
  EXPECT_EQ(m.SelectedGlyphs().Count(), n);
  m.SelectedGlyphs().SetSelected(3, false);
  m.InvertSelection();
  EXPECT_EQ(m.SelectedGlyphs().Glyphs(), std::vector<int32_t>{3});
  m.SelectAllGlyphs(false);
  EXPECT_EQ(m.SelectedGlyphs().Count(), 0);

  m.SelectedGlyphs().SetSelected(space, true);
  m.SelectIncomplete();
  EXPECT_TRUE(m.SelectedGlyphs().IsSelected(letterA));
  EXPECT_FALSE(m.SelectedGlyphs().IsSelected(space)) << "blank characters are complete when empty";
  for (int32_t g : m.SelectedGlyphs().Glyphs()) EXPECT_EQ(m.Font().Outlines.Items(size_t(g))->GetKind(), okEmpty);
  EXPECT_EQ(changes, 4);
}

TEST(FontManager, PlatformInformationFromNameThenCmap) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  m.FillPlatformInformation();
  ASSERT_GT(m.PlatformInformation().Count(), 0u);
  const auto* cmap = dynamic_cast<const TTableCmap*>(m.Font().FindTable("cmap"));
  for (size_t i = 0; i < cmap->SubTables.Count(); ++i)
    EXPECT_TRUE(m.PlatformInformation().Contains(
        TEncodingEntry{cmap->SubTables.Items(i).PlatformID, cmap->SubTables.Items(i).EncodingID}.Pair()));
}

// Every glyph ends with its leftmost point at its bearing, nothing drawn
// moves (composites included), and one undo brings back every point and
// bearing, also the bearing of an empty glyph.
TEST(FontManager, LeftSideBearingAtX0KeepsDrawingsAndUndoes) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  TTrueTypeFont& f = m.Font();
  const auto* cmap = dynamic_cast<const TTableCmap*>(f.FindTable("cmap"));
  const int space = cmap->UnicodeGlyph(0x20);
  int composite = -1, member = -1;
  for (size_t g = 0; g < f.GlyphCount() && composite < 0; ++g)
    if (auto* c = dynamic_cast<TOutlineComposite*>(f.Outlines.Items(g)))
      if (!c->Members.empty() && f.Outlines.Items(c->Members[0].GlyphIndex)->GetKind() == okSimple)
        composite = int(g), member = c->Members[0].GlyphIndex;
  ASSERT_GE(composite, 0);
  // A member whose origin is off x = 0, and an empty glyph with a bearing.
  f.Hmtx()->SetLeftSideBearing(member, f.Hmtx()->LeftSideBearing(member) + 25);
  f.Hmtx()->SetLeftSideBearing(space, 37);
  // A box from the file that does not match the points: brought up to date,
  // and back after undo.
  TOutlineBase* stale = f.Outlines.Items(size_t(member));
  stale->Bounds.XMax += 3;
  const TFloatRect staleBox = stale->Bounds;

  std::vector<TOutlineContours> drawn;
  for (size_t g = 0; g < f.GlyphCount(); ++g) drawn.push_back(Drawn(f, int(g)));
  const std::vector<uint8_t> outlines = OutlineBytes(f);
  const TFontState state = StateOf(f);

  m.SetLeftSideBearingAtX0();
  EXPECT_EQ(m.History().UndoCaption(), "Set Left Side Bearing at x=0");
  EXPECT_EQ(f.Hmtx()->LeftSideBearing(space), 0);
  for (size_t g = 0; g < f.GlyphCount(); ++g) {
    ASSERT_EQ(Drawn(f, int(g)), drawn[g]) << "glyph " << g;
    if (f.Outlines.Items(g)->GetKind() != okEmpty) {
      ASSERT_EQ(f.Outlines.Items(g)->Bounds.XMin, f.Hmtx()->LeftSideBearing(int(g))) << "glyph " << g;
    }
  }
  const std::vector<uint8_t> shifted = OutlineBytes(f);
  EXPECT_NE(shifted, outlines);

  EXPECT_EQ(stale->Bounds.XMax - stale->Bounds.XMin, staleBox.XMax - 3 - staleBox.XMin) << "box up to date";
  m.Undo();
  EXPECT_EQ(f.Hmtx()->LeftSideBearing(space), 37);
  EXPECT_EQ(stale->Bounds, staleBox);
  EXPECT_EQ(OutlineBytes(f), outlines);
  EXPECT_TRUE(StateOf(f) == state);
  m.Redo();
  EXPECT_EQ(f.Hmtx()->LeftSideBearing(space), 0);
  EXPECT_EQ(OutlineBytes(f), shifted);
}

TEST(FontManager, ShiftGlyphMovesEveryKindByTheSameAmount) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  TTrueTypeFont& f = m.Font();
  const int space = dynamic_cast<const TTableCmap*>(f.FindTable("cmap"))->UnicodeGlyph(0x20);
  f.Hmtx()->SetLeftSideBearing(space, 12);
  m.ShiftGlyph(space, 5);
  EXPECT_EQ(f.Hmtx()->LeftSideBearing(space), 7);
  m.ShiftGlyph(space, -5);
  EXPECT_EQ(f.Hmtx()->LeftSideBearing(space), 12);
}

// A composite whose member is mirrored or scaled stays where it was when the
// member glyph is shifted.
TEST(FontManager, ShiftGlyphKeepsScaledMembersInPlace) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  TTrueTypeFont& f = m.Font();
  for (size_t g = 0; g < f.GlyphCount(); ++g) {
    auto* c = dynamic_cast<TOutlineComposite*>(f.Outlines.Items(g));
    if (!c || c->Members.empty() || !c->Members[0].Outline || c->Members[0].Outline->GetKind() != okSimple) continue;
    TCompositeMember& member = c->Members[0];
    member.ScaleX = -0.5;
    member.Scale01 = 0.25;
    TOutlineContours before, after;
    c->AddTransformedContours(before, {});
    m.ShiftGlyph(member.GlyphIndex, 40);
    c->AddTransformedContours(after, {});
    ASSERT_EQ(before.size(), after.size());
    for (size_t k = 0; k < before.size(); ++k)
      for (size_t p = 0; p < before[k].Count(); ++p) {
        EXPECT_NEAR(after[k].Points[p].X, before[k].Points[p].X, 1e-9);
        EXPECT_NEAR(after[k].Points[p].Y, before[k].Points[p].Y, 1e-9);
      }
    return;
  }
  FAIL() << "no composite glyph in the font";
}

// The frame of the selected contours follows a shift; the origin goes to
// its centre.
TEST(FontManager, ShiftGlyphUpdatesTheSelectionFrame) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  const int a = dynamic_cast<const TTableCmap*>(m.Font().FindTable("cmap"))->UnicodeGlyph(0x41);
  int window = 0;
  m.EditWindows().Subscribe(&window, a, [](TGlyphNotification) {});
  m.EditWindows().SelectContour(&window, a, 0);
  m.UpdateSelectionFrame(a);
  const TFloatRect before = m.EditWindows().GetSelectionFrame(&window, a);
  m.ShiftGlyph(a, 100);
  const TFloatRect after = m.EditWindows().GetSelectionFrame(&window, a);
  EXPECT_DOUBLE_EQ(after.XMin, before.XMin + 100);
  EXPECT_DOUBLE_EQ(after.XMax, before.XMax + 100);
  const TRealPoint origin = m.EditWindows().GetTransformOrigin(&window, a);
  EXPECT_DOUBLE_EQ(origin.X, (after.XMin + after.XMax) / 2);
  EXPECT_DOUBLE_EQ(origin.Y, (after.YMin + after.YMax) / 2);
  m.EditWindows().Unsubscribe(&window, a);
}

TEST(FontManager, ModifiedDateRecordsOnlyAChange) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  auto* head = m.Font().Head();
  const int64_t old = head->modified;
  m.Clock = [&] { return old; };
  EXPECT_FALSE(m.UpdateModifiedDateTime());
  EXPECT_FALSE(m.History().CanUndo());
  m.Clock = [&] { return old + 3600; };
  EXPECT_TRUE(m.UpdateModifiedDateTime());
  EXPECT_EQ(head->modified, old + 3600);
  EXPECT_EQ(m.History().UndoCaption(), "Update Modified DateTime field");
  m.Undo();
  EXPECT_EQ(m.Font().Head()->modified, old);
}

TEST(FontManager, DefaultClockIsNow) {
  TTrueTypeFontManager m;
  // 2020-01-01 is 3,786,825,600 seconds after 1904-01-01.
  EXPECT_GT(m.Clock(), int64_t(3786825600));
  EXPECT_LT(m.Clock(), int64_t(3786825600) + int64_t(100) * 366 * 86400);
}

// Two saves in a row with both settings on: each save adds the bearing
// level; the date level only when the time stamp moved.
TEST(FontManager, SaveTimeCommandsFollowTheSettings) {
  TRegistrySettings& settings = TRegistrySettings::Instance();
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  int64_t now = 1000;
  m.Clock = [&] { return now; };
  m.RunSaveTimeCommands(settings);
  m.History().MarkSaved();
  EXPECT_EQ(m.History().UndoList().size(), 2u);
  m.RunSaveTimeCommands(settings);
  EXPECT_EQ(m.History().UndoList().size(), 3u) << "same second: no date level";
  now = 1001;
  m.RunSaveTimeCommands(settings);
  EXPECT_EQ(m.History().UndoList().size(), 5u);
  settings.SetSetLeftSideBearingPointAtX0(false);
  settings.SetUpdateModifiedDateTimeField(false);
  now = 1002;
  m.RunSaveTimeCommands(settings);
  EXPECT_EQ(m.History().UndoList().size(), 5u);
  TRegistrySettings::ReleaseInstance();
}

TEST(FontManager, GlyphUndoNamesFollowTheHexadecimalSetting) {
  TTrueTypeFontManager m;
  EXPECT_EQ(m.GlyphUndoName(65, "Move Points"), "Glyph $0041 - Move Points");
  TRegistrySettings::Instance().SetValueHexadecimal(false);
  EXPECT_EQ(m.GlyphUndoName(65, "Move Points"), "Glyph 65 - Move Points");
  TRegistrySettings::ReleaseInstance();
}

TEST(FontManager, GlyphHintingRemovedAsItsOwnLevel) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  TTrueTypeFont& f = m.Font();
  int g = -1;
  for (size_t i = 0; i < f.GlyphCount() && g < 0; ++i)
    if (f.Outlines.Items(i)->HasInstructions()) g = int(i);
  ASSERT_GE(g, 0);
  int window = 0, notes = 0;
  m.EditWindows().Subscribe(&window, g, [&](TGlyphNotification K) { notes += K == gnGlyphChanged; });
  const TFontState before = StateOf(f);

  EXPECT_TRUE(m.RemoveGlyphHintingIfNeeded(g));
  EXPECT_FALSE(f.Outlines.Items(size_t(g))->HasInstructions());
  EXPECT_EQ(m.History().UndoCaption(), m.GlyphUndoName(g, "Remove Hinting"));
  EXPECT_FALSE(m.RemoveGlyphHintingIfNeeded(g)) << "nothing left to remove";
  EXPECT_EQ(m.History().UndoList().size(), 1u);

  m.Undo();
  EXPECT_TRUE(StateOf(f) == before);
  m.Redo();
  EXPECT_FALSE(f.Outlines.Items(size_t(g))->HasInstructions());
  m.Undo();
  EXPECT_TRUE(StateOf(f) == before);
  EXPECT_EQ(notes, 3);
  m.EditWindows().Unsubscribe(&window, g);
}

// The edit-window list asks the manager which glyphs use a glyph.
TEST(FontManager, GlyphUsersFollowCompositesTransitively) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  TTrueTypeFont& f = m.Font();
  for (size_t g = 0; g < f.GlyphCount(); ++g)
    if (auto* c = dynamic_cast<TOutlineComposite*>(f.Outlines.Items(g))) {
      const int used = c->Members.at(0).GlyphIndex;
      const std::vector<int32_t> users = m.GlyphUsers(used);
      EXPECT_NE(std::find(users.begin(), users.end(), int32_t(g)), users.end());
      for (int32_t u : users) EXPECT_NE(u, used);
      return;
    }
  FAIL() << "no composite glyph in the font";
}

}  // namespace
}  // namespace tsy
