// The glyph commands of the document manager: what each does, its undo name,
// that undo gives back the exact state and redo the exact result, and the
// renumbering of every table when glyphs are inserted or deleted.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/document/glyphcommands_support.h"
#include "fontfile/fontexception.h"

namespace tsy {
namespace {

using tsytest::BuildCommandFont;
using tsytest::CommandStateOf;
using tsytest::TCommandState;

const int kWindow = 0;  // identity of the test's edit window

struct TFixture {
  TTrueTypeFontManager M;
  explicit TFixture(int Glyphs = 12) { BuildCommandFont(M, Glyphs); }
  void Open(int G) { M.EditWindows().Subscribe(&kWindow, G, [](TGlyphNotification) {}); }
  TOutlineSimple& Simple(int G) { return dynamic_cast<TOutlineSimple&>(*M.Font().Outlines.Items(size_t(G))); }
  TOutlineComposite& Composite(int G) {
    return dynamic_cast<TOutlineComposite&>(*M.Font().Outlines.Items(size_t(G)));
  }
  int Kind(int G) { return M.Font().Outlines.Items(size_t(G))->GetKind(); }
  int Lsb(int G) { return M.Font().Hmtx()->LeftSideBearing(G); }
  int Advance(int G) { return M.Font().Hmtx()->AdvanceWidth(G); }
  std::string Name(int G) { return M.Font().Post()->GetName(size_t(G)); }
  int Unicode(uint32_t C) { return M.Font().Cmap()->UnicodeGlyph(C); }
  int KernValue(int L, int R) {
    const TTableKern* k = M.Font().Kern();
    const int i = k->FindPair(uint16_t(L), uint16_t(R));
    return i < 0 ? 0 : k->Pair(size_t(i)).Value;
  }
  void SelectGlyphs(std::initializer_list<int> Glyphs) {
    M.SelectedGlyphs().Clear();
    for (int g : Glyphs) M.SelectedGlyphs().SetSelected(g, true);
  }
};

// ---------------------------------------------------------------------------
// Per-glyph commands, one table: each case selects, runs, checks the result;
// the test then checks the undo name and that undo and redo are exact.

struct TGlyphCase {
  const char* Label;
  int Glyph;
  const char* Suffix;
  std::function<void(TFixture&)> Select;
  std::function<void(TFixture&)> Run;
  std::function<void(TFixture&)> Check;
};

void SelectContours(TFixture& F, int G, std::initializer_list<int> C) {
  for (int c : C) F.M.EditWindows().SelectContour(&kWindow, G, c);
  F.M.UpdateSelectionFrame(G);
}

void SelectPoints(TFixture& F, int G, std::initializer_list<std::pair<int, int>> P) {
  for (auto [c, p] : P) F.M.EditWindows().SelectPoint(&kWindow, G, c, p);
}

TTrueTypePoint Pt(TFixture& F, int G, int C, int P) { return F.Simple(G).Contours[size_t(C)].Points[size_t(P)]; }

const std::vector<TGlyphCase>& GlyphCases() {
  static const std::vector<TGlyphCase> cases = {
      {"move points", 2, "Move Points", [](TFixture& F) { SelectPoints(F, 2, {{0, 0}, {0, 1}}); },
       [](TFixture& F) { F.M.MovePoints(2, -30, 5); },
       [](TFixture& F) {
         EXPECT_EQ(Pt(F, 2, 0, 0), (TTrueTypePoint{70, 5, true}));
         EXPECT_EQ(Pt(F, 2, 0, 2), (TTrueTypePoint{400, 700, true}));
         EXPECT_EQ(F.Lsb(2), 70);  // follows the new XMin
       }},
      {"move contour right moves the bearing", 1, "Move Contours", [](TFixture& F) { SelectContours(F, 1, {0}); },
       [](TFixture& F) { F.M.MoveContours(1, 100, 0); },
       [](TFixture& F) {
         EXPECT_EQ(F.Simple(1).Bounds.XMin, 150);
         EXPECT_EQ(F.Lsb(1), 150);
         EXPECT_EQ(F.M.EditWindows().GetSelectionFrame(&kWindow, 1).XMin, 150);
       }},
      {"move members", 3, "Move Composite Glyph Members",
       [](TFixture& F) { F.M.EditWindows().SelectMember(&kWindow, 3, 1); },
       [](TFixture& F) { F.M.MoveMembers(3, 10, -20); },
       [](TFixture& F) {
         EXPECT_EQ(F.Composite(3).Members[1].OffsetX, 310);
         EXPECT_EQ(F.Composite(3).Members[1].OffsetY, -20);
         EXPECT_EQ(F.Composite(3).Members[0].OffsetX, 0);
       }},
      {"stretch keeps the bearing", 1, "Stretch Contours", [](TFixture& F) { SelectContours(F, 1, {0}); },
       [](TFixture& F) {
         F.M.SetTransformOrigin(1, 8);  // right-bottom: XMin moves
         F.M.StretchContours(1, 2, 1);
       },
       [](TFixture& F) {
         EXPECT_EQ(F.Simple(1).Bounds.XMin, -350);
         EXPECT_EQ(F.Simple(1).Bounds.XMax, 450);
         EXPECT_EQ(F.Lsb(1), 50);
       }},
      {"mirror reverses the direction", 1, "Stretch Contours", [](TFixture& F) { SelectContours(F, 1, {0}); },
       [](TFixture& F) {
         F.M.SetTransformOrigin(1, 6);  // left-bottom
         F.M.StretchContours(1, -1, 1);
       },
       [](TFixture& F) {
         // Mirrored about x = 50 and reversed: still clockwise.
         EXPECT_GT(F.Simple(1).Contours[0].GetDirection(), 0);
         EXPECT_EQ(F.Simple(1).Bounds.XMin, -350);
         EXPECT_EQ(F.Simple(1).Bounds.XMax, 50);
       }},
      {"rotate about the top pivot", 1, "Rotate Contours", [](TFixture& F) { SelectContours(F, 1, {0}); },
       [](TFixture& F) {
         F.M.SetTransformOrigin(1, 1);  // top: x is the frame's centre
         F.M.RotateContours(1, M_PI / 2);
       },
       [](TFixture& F) {
         // (50, 0) about (250, 600), a quarter turn counter-clockwise.
         const TTrueTypePoint p = Pt(F, 1, 0, 0);
         EXPECT_NEAR(p.X, 850, 1e-9);
         EXPECT_NEAR(p.Y, 400, 1e-9);
       }},
      {"skew", 1, "Skew Contours", [](TFixture& F) { SelectContours(F, 1, {0}); },
       [](TFixture& F) { F.M.SkewContours(1, 0, 0, 0.2, 0.1); },
       [](TFixture& F) {
         // (50, 600): x = 50 - 600 * 0.2 = -70, then y = 600 + (0 - -70) * 0.1 = 607.
         const TTrueTypePoint p = Pt(F, 1, 0, 1);
         EXPECT_NEAR(p.X, -70, 1e-9);
         EXPECT_NEAR(p.Y, 607, 1e-9);
       }},
      {"set point coordinates", 2, "Move Points", [](TFixture& F) { SelectPoints(F, 2, {{1, 2}}); },
       [](TFixture& F) { F.M.SetPointCoordinates(2, 250, 999, false, false, true, true); },
       [](TFixture& F) { EXPECT_EQ(Pt(F, 2, 1, 2), (TTrueTypePoint{300, 999, false})); }},
      {"off-curve", 2, "Off-Curve Points", [](TFixture& F) { SelectPoints(F, 2, {{0, 1}, {0, 3}}); },
       [](TFixture& F) { F.M.SetPointsOnCurve(2, false); },
       [](TFixture& F) {
         EXPECT_FALSE(Pt(F, 2, 0, 1).OnCurve);
         EXPECT_TRUE(Pt(F, 2, 0, 2).OnCurve);
         EXPECT_FALSE(Pt(F, 2, 0, 3).OnCurve);
       }},
      {"delete points selected out of order", 5, "Delete Points",
       [](TFixture& F) {
         F.Simple(5).Contours[0].Points.push_back({10, 10, false});
         F.Simple(5).Contours[0].Points.push_back({15, 15, false});
         SelectPoints(F, 5, {{0, 5}, {0, 2}});
       },
       [](TFixture& F) { F.M.DeletePoints(5); },
       [](TFixture& F) {
         // Points 2 and 5 went, not 2 and whatever moved into 5's place.
         const auto& p = F.Simple(5).Contours[0].Points;
         ASSERT_EQ(p.size(), 4u);
         EXPECT_EQ(p[2], (TTrueTypePoint{70, 0, true}));
         EXPECT_EQ(p[3], (TTrueTypePoint{10, 10, false}));
       }},
      {"delete every point empties the glyph", 1, "Delete Points",
       [](TFixture& F) { SelectPoints(F, 1, {{0, 3}, {0, 0}, {0, 2}, {0, 1}}); },
       [](TFixture& F) { F.M.DeletePoints(1); }, [](TFixture& F) { EXPECT_EQ(F.Kind(1), okEmpty); }},
      {"delete contours", 2, "Delete Contours", [](TFixture& F) { SelectContours(F, 2, {1}); },
       [](TFixture& F) { F.M.DeleteContours(2); },
       [](TFixture& F) {
         ASSERT_EQ(F.Simple(2).Contours.size(), 1u);
         EXPECT_EQ(F.Simple(2).Contours[0], tsytest::Box(100, 0, 400, 700));
       }},
      {"delete every member", 3, "Delete Composite Glyph Members",
       [](TFixture& F) {
         F.M.EditWindows().SelectMember(&kWindow, 3, 1);
         F.M.EditWindows().SelectMember(&kWindow, 3, 0);
       },
       [](TFixture& F) { F.M.DeleteMembers(3); }, [](TFixture& F) { EXPECT_EQ(F.Kind(3), okEmpty); }},
      {"add points", 1, "Add Points", [](TFixture& F) { SelectPoints(F, 1, {{0, 3}, {0, 1}}); },
       [](TFixture& F) { F.M.AddPoints(1); },
       [](TFixture& F) {
         const auto& p = F.Simple(1).Contours[0].Points;
         ASSERT_EQ(p.size(), 6u);
         EXPECT_EQ(p[2], (TTrueTypePoint{250, 600, true}));  // between 1 and the old 2
         EXPECT_EQ(p[5], (TTrueTypePoint{250, 0, true}));    // between the last and the first
         TPointSelection sel;
         F.M.EditWindows().GetPoints(&kWindow, 1, sel);
         EXPECT_TRUE(sel.Contains(0, 2) && sel.Contains(0, 5) && sel.Count() == 2);
       }},
      {"change direction", 2, "Change Contour Direction", [](TFixture& F) { SelectContours(F, 2, {1}); },
       [](TFixture& F) { F.M.ChangeContourDirection(2); },
       [](TFixture& F) {
         EXPECT_LT(F.Simple(2).Contours[1].GetDirection(), 0);
         EXPECT_GT(F.Simple(2).Contours[0].GetDirection(), 0);
       }},
      {"set first point", 1, "Set First Point", [](TFixture& F) { SelectPoints(F, 1, {{0, 2}}); },
       [](TFixture& F) { F.M.SetFirstPoint(1); },
       [](TFixture& F) {
         EXPECT_EQ(Pt(F, 1, 0, 0), (TTrueTypePoint{450, 600, true}));
         EXPECT_TRUE(F.M.EditWindows().IsPointSelected(1, 0, 0));
       }},
      {"send to back", 2, "Send To Back", [](TFixture& F) { SelectContours(F, 2, {0}); },
       [](TFixture& F) { F.M.ChangeContourOrder(2, TTrueTypeFontManager::coSendToBack); },
       [](TFixture& F) {
         EXPECT_EQ(F.Simple(2).Contours[1], tsytest::Box(100, 0, 400, 700));
         EXPECT_TRUE(F.M.EditWindows().IsContourSelected(2, 1));
       }},
      {"bring forward", 2, "Bring Forward", [](TFixture& F) { SelectContours(F, 2, {1}); },
       [](TFixture& F) { F.M.ChangeContourOrder(2, TTrueTypeFontManager::coBringForward); },
       [](TFixture& F) { EXPECT_EQ(F.Simple(2).Contours[0], tsytest::Box(200, 100, 300, 600)); }},
      {"join", 2, "Join Contours", [](TFixture& F) { SelectPoints(F, 2, {{1, 2}, {0, 1}}); },
       [](TFixture& F) { F.M.JoinContours(2); },
       [](TFixture& F) {
         ASSERT_EQ(F.Simple(2).Contours.size(), 1u);
         const auto& p = F.Simple(2).Contours[0].Points;
         ASSERT_EQ(p.size(), 8u);
         // Inner 0..2, outer 1..3, outer 0, inner 3.
         EXPECT_EQ(p[2], (TTrueTypePoint{300, 600, true}));
         EXPECT_EQ(p[3], (TTrueTypePoint{100, 700, true}));
         EXPECT_EQ(p[6], (TTrueTypePoint{100, 0, true}));
         EXPECT_EQ(p[7], (TTrueTypePoint{300, 100, true}));
       }},
      {"split", 1, "Split Contours", [](TFixture& F) { SelectPoints(F, 1, {{0, 3}, {0, 1}}); },
       [](TFixture& F) { F.M.SplitContour(1); },
       [](TFixture& F) {
         ASSERT_EQ(F.Simple(1).Contours.size(), 2u);
         EXPECT_EQ(F.Simple(1).Contours[0].Points.size(), 3u);  // 0, 1, 3
         EXPECT_EQ(F.Simple(1).Contours[1].Points.size(), 3u);  // 1, 2, 3
         EXPECT_EQ(Pt(F, 1, 1, 0), (TTrueTypePoint{50, 600, true}));
       }},
      {"duplicate contours", 2, "Copy contours", [](TFixture& F) { SelectContours(F, 2, {1}); },
       [](TFixture& F) { F.M.DuplicateContours(2, 500, 0); },
       [](TFixture& F) {
         ASSERT_EQ(F.Simple(2).Contours.size(), 3u);
         EXPECT_EQ(F.Simple(2).Contours[2], tsytest::Box(700, 100, 800, 600));
         EXPECT_TRUE(F.M.EditWindows().IsContourSelected(2, 2));
         EXPECT_FALSE(F.M.EditWindows().IsContourSelected(2, 1));
       }},
      {"duplicate members", 3, " Copy glyph members",
       [](TFixture& F) { F.M.EditWindows().SelectMember(&kWindow, 3, 0); },
       [](TFixture& F) { F.M.DuplicateMembers(3, 0, 800); },
       [](TFixture& F) {
         ASSERT_EQ(F.Composite(3).Members.size(), 3u);
         EXPECT_EQ(F.Composite(3).Members[2].GlyphIndex, 1);
         EXPECT_EQ(F.Composite(3).Members[2].OffsetY, 800);
       }},
      {"change bearings", 1, "Change Bearings", [](TFixture&) {},
       [](TFixture& F) { F.M.ChangeBearings(1, 520.9, -10.7); },
       [](TFixture& F) {
         EXPECT_EQ(F.Lsb(1), 60);  // 50 - trunc(-10.7)
         EXPECT_EQ(F.Advance(1), 530);
         EXPECT_EQ(F.Simple(1).Bounds.XMin, 50);
       }},
      {"add a member to an empty glyph", 0, "Add Composite Glyph Member", [](TFixture&) {},
       [](TFixture& F) { F.M.AddCompositeGlyphMembers(0, {2, -1, 0, 99}); },
       [](TFixture& F) {
         ASSERT_EQ(F.Kind(0), okComposite);
         ASSERT_EQ(F.Composite(0).Members.size(), 1u);
         EXPECT_EQ(F.Composite(0).Members[0].GlyphIndex, 2);
         EXPECT_TRUE(F.M.EditWindows().IsMemberSelected(0, 0));
       }},
      {"remove small contours empties the glyph", 1, "Remove Contours With One And Two Points",
       [](TFixture& F) { F.Simple(1).Contours[0].Points.resize(2); },
       [](TFixture& F) { F.M.CleanUpGlyph(1, TTrueTypeFontManager::cuRemoveSmallContours); },
       [](TFixture& F) { EXPECT_EQ(F.Kind(1), okEmpty); }},
      {"correct directions", 2, "Correct Contour Directions",
       [](TFixture& F) { F.Simple(2).Contours[0].Reverse(); },  // outer counter-clockwise, hole clockwise
       [](TFixture& F) { F.M.CorrectContourDirections(2); },
       [](TFixture& F) {
         EXPECT_GT(F.Simple(2).Contours[0].GetDirection(), 0);
         EXPECT_LT(F.Simple(2).Contours[1].GetDirection(), 0);
         EXPECT_TRUE(F.M.EditWindows().IsContourSelected(2, 0));
         EXPECT_TRUE(F.M.EditWindows().IsContourSelected(2, 1));
       }},
  };
  return cases;
}

TEST(GlyphCommands, EachCommandUndoesAndRedoesExactly) {
  for (const TGlyphCase& c : GlyphCases()) {
    SCOPED_TRACE(c.Label);
    TFixture f;
    f.Open(c.Glyph);
    c.Select(f);
    const TCommandState before = CommandStateOf(f.M.Font());
    c.Run(f);
    ASSERT_TRUE(f.M.History().CanUndo());
    EXPECT_EQ(f.M.History().UndoCaption(), f.M.GlyphUndoName(c.Glyph, c.Suffix));
    EXPECT_EQ(f.M.History().UndoList().size(), 1u);
    c.Check(f);
    const TCommandState after = CommandStateOf(f.M.Font());
    EXPECT_NE(after, before);
    f.M.Undo();
    EXPECT_EQ(CommandStateOf(f.M.Font()), before);
    f.M.Redo();
    EXPECT_EQ(CommandStateOf(f.M.Font()), after);
    c.Check(f);
  }
}

// Negated factors take the other order of the two passes, so a skew and its
// negation cancel; in the same order they would leave the points several
// units off.
TEST(GlyphCommands, SkewWithNegatedFactorsCancels) {
  TFixture f;
  f.Open(2);
  SelectContours(f, 2, {0, 1});
  const TOutlineContours before = f.Simple(2).Contours;
  f.M.SkewContours(2, 12.5, 300, 0.2, 0.1);
  f.M.SkewContours(2, 12.5, 300, -0.2, -0.1);
  for (size_t c = 0; c < before.size(); ++c)
    for (size_t p = 0; p < before[c].Points.size(); ++p) {
      EXPECT_NEAR(f.Simple(2).Contours[c].Points[p].X, before[c].Points[p].X, 1e-9);
      EXPECT_NEAR(f.Simple(2).Contours[c].Points[p].Y, before[c].Points[p].Y, 1e-9);
    }
}

TEST(GlyphCommands, PreconditionsAndNonFiniteValuesRecordNothing) {
  TFixture f;
  f.Open(1);
  f.Open(3);
  const TCommandState start = CommandStateOf(f.M.Font());
  f.M.MoveContours(1, 10, 0);                           // nothing selected
  SelectContours(f, 1, {0});
  f.M.MoveMembers(1, 10, 0);                            // not a composite
  f.M.RotateContours(1, std::nan(""));                  // not a number
  f.M.SkewContours(1, 0, 0, INFINITY, 0);               // a flat frame's factor
  f.M.StretchContours(1, 1e308, 1e308);                 // overflows the coordinates
  f.M.MoveSelectionAnchorTo(1, 4, INFINITY, 0);
  f.M.SetPointCoordinates(1, NAN, 0, true, true, false, false);
  f.M.SplitContour(1);                                  // needs two points
  f.M.CleanUpGlyph(3, TTrueTypeFontManager::cuRemoveSmallContours);  // wrong kind
  f.M.ChangeContourOrder(1, TTrueTypeFontManager::coBringForward);   // already first
  EXPECT_FALSE(f.M.History().CanUndo());
  EXPECT_EQ(CommandStateOf(f.M.Font()), start);
}

TEST(GlyphCommands, RepeatRunsTheTransformAgainOnTheSameItems) {
  TFixture f;
  f.Open(2);
  SelectContours(f, 2, {1});
  f.M.MoveContours(2, 0, 10);
  f.M.EditWindows().ClearContours(&kWindow, 2);  // repeat brings its own selection
  f.M.Repeat(2);
  EXPECT_EQ(f.Simple(2).Contours[1], tsytest::Box(200, 130, 300, 630));
  EXPECT_EQ(f.Simple(2).Contours[0], tsytest::Box(100, 0, 400, 700));
  EXPECT_EQ(f.M.History().UndoList().size(), 3u);
  f.M.Undo(3);
  EXPECT_EQ(f.Simple(2).Contours[1], tsytest::Box(200, 100, 300, 600));
}

TEST(GlyphCommands, MoveAnchorOntoPoint) {
  TFixture f;
  f.Open(1);
  SelectContours(f, 1, {0});
  f.M.MoveSelectionAnchorTo(1, 8, 1000, 1000);  // right-bottom
  EXPECT_EQ(f.Simple(1).Bounds.XMax, 1000);
  EXPECT_EQ(f.Simple(1).Bounds.YMin, 1000);
}

TEST(GlyphCommands, InstructionsGoInALevelOfTheirOwn) {
  TFixture f;
  f.Open(4);
  SelectPoints(f, 4, {{0, 0}});
  const TCommandState start = CommandStateOf(f.M.Font());
  f.M.MovePoints(4, 5, 5);
  ASSERT_EQ(f.M.History().UndoList().size(), 2u);
  EXPECT_EQ(f.M.History().UndoList()[0]->Name(), f.M.GlyphUndoName(4, "Remove Hinting"));
  EXPECT_EQ(f.M.History().UndoList()[1]->Name(), f.M.GlyphUndoName(4, "Move Points"));
  EXPECT_FALSE(f.Simple(4).HasInstructions());
  f.M.Undo();
  EXPECT_FALSE(f.Simple(4).HasInstructions());
  EXPECT_EQ(Pt(f, 4, 0, 0), (TTrueTypePoint{10, 10, true}));
  f.M.Undo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), start);
  // Change Bearings leaves the instructions alone.
  f.M.ChangeBearings(4, 0, 200);
  EXPECT_TRUE(f.Simple(4).HasInstructions());
}

TEST(GlyphCommands, AddingAMemberThatUsesTheGlyphIsRefused) {
  TFixture f;
  f.Open(1);
  // 3 uses 1 directly; 0 becomes a composite of 3, so uses 1 through it.
  f.M.AddCompositeGlyphMembers(0, {3});
  ASSERT_EQ(f.Kind(0), okComposite);
  f.M.History().Clear();
  f.M.AddCompositeGlyphMembers(1, {3, 0});  // simple: nothing happens at all
  EXPECT_FALSE(f.M.History().CanUndo());
  f.M.AddCompositeGlyphMembers(3, {0, 3});
  EXPECT_EQ(f.Composite(3).Members.size(), 2u);  // neither 0 (uses 3) nor 3 itself
  EXPECT_EQ(f.Kind(3), okComposite);
}

TEST(GlyphCommands, CompositePropertiesCommit) {
  TFixture f;
  f.Open(3);
  TOutlineComposite copy;
  copy.Members = f.Composite(3).Members;
  EXPECT_FALSE(f.M.CommitCompositeGlyphProperties(3, 0, copy));
  copy.Members[0].ScaleX = 2;
  const TCommandState before = CommandStateOf(f.M.Font());
  ASSERT_TRUE(f.M.CommitCompositeGlyphProperties(3, 0, copy));
  EXPECT_EQ(f.M.History().UndoCaption(), f.M.GlyphUndoName(3, "Edit Composite Glyph Properties"));
  EXPECT_EQ(f.Composite(3).Members[0].ScaleX, 2);
  EXPECT_EQ(f.Composite(3).Members[0].Outline, f.M.Font().Outlines.Items(1));
  f.M.Undo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), before);
  copy.Members[0].GlyphIndex = 3;  // itself
  EXPECT_THROW(f.M.CommitCompositeGlyphProperties(3, 0, copy), FontException);
}

TEST(GlyphCommands, GlyphPropertiesCommitInOneLevel) {
  TFixture f;
  TTableCmap cmap;
  cmap.Assign(*f.M.Font().Cmap());
  cmap.SubTables.Find(3, 1)->SubTable->AddMapping(2, 0x42);
  const TCommandState before = CommandStateOf(f.M.Font());
  ASSERT_TRUE(f.M.CommitGlyphProperties(2, &cmap, 7, 777, "two"));
  EXPECT_EQ(f.M.History().UndoList().size(), 1u);
  EXPECT_EQ(f.Unicode(0x42), 2);
  EXPECT_EQ(f.Lsb(2), 7);
  EXPECT_EQ(f.Advance(2), 777);
  EXPECT_EQ(f.Name(2), "two");
  f.M.Undo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), before);
  EXPECT_FALSE(f.M.CommitGlyphProperties(2, nullptr, f.Lsb(2), f.Advance(2), f.Name(2)));
}

// ---------------------------------------------------------------------------
// Whole-glyph commands

TEST(GlyphCommands, DeletingGlyphsRenumbersEveryTable) {
  TFixture f;
  f.Open(9);
  f.SelectGlyphs({3, 7});
  const TCommandState before = CommandStateOf(f.M.Font());
  f.M.DeleteGlyphs();
  EXPECT_EQ(f.M.History().UndoCaption(), "Delete Glyphs");
  EXPECT_EQ(f.M.Font().GlyphCount(), 10u);
  EXPECT_EQ(f.Unicode(0x41), 7);
  EXPECT_EQ(f.Unicode(0xC4), -1);
  EXPECT_EQ(f.Name(7), "g9");
  EXPECT_EQ(f.Advance(7), 609);
  EXPECT_EQ(f.KernValue(7, 1), -20);
  EXPECT_EQ(f.KernValue(4, 5), 15);  // 5-6 moved down by one
  EXPECT_EQ(f.M.Font().Kern()->PairCount(), 2u);
  EXPECT_EQ(f.M.EditWindows().GlyphOfWindow(&kWindow), 7);
  EXPECT_EQ(f.M.SelectedGlyphs().Count(), 0);
  f.M.Undo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), before);
  EXPECT_EQ(f.Unicode(0x41), 9);
  EXPECT_EQ(f.M.SelectedGlyphs().Glyphs(), (std::vector<int32_t>{3, 7}));
  f.M.Redo();
  EXPECT_EQ(f.Unicode(0x41), 7);
  EXPECT_EQ(f.M.Font().GlyphCount(), 10u);
}

TEST(GlyphCommands, DeletingAUsedGlyphDecomposesItsUserAndOneUndoRestoresAll) {
  TFixture f;
  TOutlineContours drawn;
  f.M.Font().Outlines.Items(3)->AddTransformedContours(drawn, TOutlineTransform{});
  f.SelectGlyphs({2});
  const TCommandState before = CommandStateOf(f.M.Font());
  f.M.DeleteGlyphs();
  // The composite (now glyph 2) is simple and looks the same.
  ASSERT_EQ(f.Kind(2), okSimple);
  EXPECT_EQ(f.Simple(2).Contours, drawn);
  EXPECT_EQ(f.Unicode(0xC4), 2);
  f.M.Undo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), before);
  ASSERT_EQ(f.Kind(3), okComposite);
  EXPECT_EQ(f.Composite(3).Members[1].Outline, f.M.Font().Outlines.Items(2));
  EXPECT_EQ(f.Name(2), "g2");
}

TEST(GlyphCommands, CutCopiesBeforeDeleting) {
  TFixture f;
  f.SelectGlyphs({1, 5});
  std::vector<int32_t> copied;
  size_t countWhenCopied = 0;
  f.M.CutGlyphs([&](TTrueTypeFontManager& M, const TSelectedGlyphList& G) {
    copied = G.Glyphs();
    countWhenCopied = M.Font().GlyphCount();
  });
  EXPECT_EQ(copied, (std::vector<int32_t>{1, 5}));
  EXPECT_EQ(countWhenCopied, 12u);
  EXPECT_EQ(f.M.Font().GlyphCount(), 10u);
  EXPECT_EQ(f.M.History().UndoCaption(), "Cut Glyphs");
}

TEST(GlyphCommands, InsertingBeforeEachSelected) {
  TFixture f;
  f.SelectGlyphs({5, 10});
  const TCommandState before = CommandStateOf(f.M.Font());
  f.M.InsertGlyphs(2, TTrueTypeFontManager::ipBeforeEachSelected);
  EXPECT_EQ(f.M.SelectedGlyphs().Glyphs(), (std::vector<int32_t>{5, 6, 12, 13}));
  EXPECT_EQ(f.Name(7), "g5");
  EXPECT_EQ(f.Name(14), "g10");
  EXPECT_EQ(f.Name(5), "");
  EXPECT_EQ(f.Advance(12), 512);  // the average width
  EXPECT_EQ(f.Unicode(0x41), 9 + 2);
  EXPECT_EQ(f.KernValue(7, 8), 15);
  EXPECT_EQ(f.M.Font().Maxp()->numGlyphs, 16);
  EXPECT_FALSE(f.M.History().CanRepeat());
  f.M.Undo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), before);
  EXPECT_EQ(f.M.SelectedGlyphs().Count(), 0);
}

TEST(GlyphCommands, InsertingAfterEachSelectedAndAfterLast) {
  TFixture f;
  f.SelectGlyphs({0, 3});
  f.M.InsertGlyphs(1, TTrueTypeFontManager::ipAfterEachSelected);
  EXPECT_EQ(f.M.SelectedGlyphs().Glyphs(), (std::vector<int32_t>{1, 5}));
  EXPECT_EQ(f.Composite(4).Members[1].GlyphIndex, 3);  // the composite and its members moved up
  f.M.InsertGlyphs(3, TTrueTypeFontManager::ipAfterLast);
  EXPECT_EQ(f.M.SelectedGlyphs().Glyphs(), (std::vector<int32_t>{14, 15, 16}));
}

TEST(GlyphCommands, InsertAtTopRepeatedTwice) {
  TFixture f;
  f.SelectGlyphs({4});
  f.M.InsertGlyphs(1, TTrueTypeFontManager::ipAtTop);
  f.M.Repeat(2);
  EXPECT_EQ(f.M.Font().GlyphCount(), 15u);
  for (int g = 0; g < 3; ++g) EXPECT_EQ(f.Kind(g), okEmpty) << g;
  EXPECT_EQ(f.Name(3), "g0");
  EXPECT_EQ(f.Unicode(0x41), 12);
  EXPECT_EQ(f.M.History().UndoList().size(), 3u);
  f.M.Undo(3);
  EXPECT_EQ(f.M.Font().GlyphCount(), 12u);
  EXPECT_EQ(f.Unicode(0x41), 9);
}

TEST(GlyphCommands, InsertBeyondTheGlyphLimitIsRefusedBeforeAnyChange) {
  TFixture f;
  const TCommandState before = CommandStateOf(f.M.Font());
  EXPECT_THROW(f.M.InsertGlyphs(65535 - 12 + 1, TTrueTypeFontManager::ipAfterLast), FontException);
  f.SelectGlyphs({1, 2});
  EXPECT_THROW(f.M.InsertGlyphs(32762, TTrueTypeFontManager::ipBeforeEachSelected), FontException);
  EXPECT_EQ(CommandStateOf(f.M.Font()), before);
  EXPECT_FALSE(f.M.History().CanUndo());
}

// The second insertion would raise a kerning index past 65535: the first
// stays done, the level is closed and undoes cleanly.
TEST(GlyphCommands, InsertFailingPartWayStaysUndoable) {
  TFixture f;
  f.M.Font().Kern()->AddPair({2, 65534, 5});
  const TCommandState before = CommandStateOf(f.M.Font());
  EXPECT_THROW(f.M.InsertGlyphs(2, TTrueTypeFontManager::ipAtTop), ERangeError);
  EXPECT_EQ(f.M.Font().GlyphCount(), 13u);
  EXPECT_EQ(f.M.History().HistoryState(), TvnxUndoRedoRepeatStreamer::THistoryState::Idle);
  ASSERT_TRUE(f.M.History().CanUndo());
  f.M.Undo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), before);
}

TEST(GlyphCommands, MakeEmptyAndMakeSimple) {
  TFixture f;
  f.SelectGlyphs({0, 1, 3});
  TOutlineContours drawn;
  f.M.Font().Outlines.Items(3)->AddTransformedContours(drawn, TOutlineTransform{});
  const TCommandState before = CommandStateOf(f.M.Font());
  f.M.MakeSimple();
  EXPECT_EQ(f.M.History().UndoCaption(), "Make Simple");
  ASSERT_EQ(f.Kind(3), okSimple);
  EXPECT_EQ(f.Simple(3).Contours, drawn);
  EXPECT_EQ(f.Kind(1), okSimple);
  f.M.Undo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), before);
  EXPECT_EQ(f.M.SelectedGlyphs().Glyphs(), (std::vector<int32_t>{3}));
  f.SelectGlyphs({0, 1, 3});
  f.M.MakeEmpty();
  EXPECT_EQ(f.M.History().UndoCaption(), "Make Empty");
  EXPECT_EQ(f.Kind(1), okEmpty);
  EXPECT_EQ(f.Kind(3), okEmpty);
  f.M.Undo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), before);
}

// Raw tables that index glyphs cannot follow a renumbering; undo puts them back.
TEST(GlyphCommands, DroppedGlyphIndexedTablesComeBackOnUndo) {
  TFixture f;
  auto gsub = std::make_unique<TTableUnknown>("GSUB");
  TMemoryStream m;
  m.Write("\x00\x01\x00\x00", 4);
  m.Seek(0);
  gsub->LoadFromStream(m);
  f.M.Font().AddTable(std::move(gsub));
  f.SelectGlyphs({6});
  const TCommandState before = CommandStateOf(f.M.Font());
  f.M.DeleteGlyphs();
  EXPECT_EQ(f.M.Font().FindTable("GSUB"), nullptr);
  f.M.Undo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), before);
  f.M.InsertGlyphs(2, TTrueTypeFontManager::ipBeforeEachSelected);
  const TCommandState inserted = CommandStateOf(f.M.Font());
  EXPECT_EQ(f.M.Font().FindTable("GSUB"), nullptr);
  f.M.Undo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), before);
  f.M.Redo();
  EXPECT_EQ(CommandStateOf(f.M.Font()), inserted);
}

}  // namespace
}  // namespace tsy

namespace tsy {
namespace {

// A real font: deleting a letter that accented letters are built from,
// undoing back to the exact state the font was loaded in, and saving.
TEST(GlyphCommandsRealFont, DeleteSaveReloadAndUndo) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  TTrueTypeFont& font = m.Font();
  const int a = font.Cmap()->UnicodeGlyph(0x41), b = font.Cmap()->UnicodeGlyph(0x42);
  const int aGrave = font.Cmap()->UnicodeGlyph(0xC0);
  ASSERT_TRUE(a > 3 && b > a && aGrave > a);
  ASSERT_EQ(font.Outlines.Items(size_t(aGrave))->GetKind(), okComposite);
  TOutlineContours drawn;
  font.Outlines.Items(size_t(aGrave))->AddTransformedContours(drawn, TOutlineTransform{});
  const size_t count = font.GlyphCount();
  const TCommandState before = CommandStateOf(font);

  m.SelectedGlyphs().SetSelected(3, true);
  m.SelectedGlyphs().SetSelected(a, true);
  m.DeleteGlyphs();
  EXPECT_EQ(font.Cmap()->UnicodeGlyph(0x42), b - 2);
  EXPECT_EQ(font.Cmap()->UnicodeGlyph(0x41), -1);
  const int aGraveNow = font.Cmap()->UnicodeGlyph(0xC0);
  ASSERT_EQ(aGraveNow, aGrave - 2);
  ASSERT_EQ(font.Outlines.Items(size_t(aGraveNow))->GetKind(), okSimple);
  EXPECT_EQ(static_cast<TOutlineSimple*>(font.Outlines.Items(size_t(aGraveNow)))->Contours, drawn);

  m.Undo();
  EXPECT_EQ(CommandStateOf(font), before);

  // Redone and saved (which brings the header tables up to date), the file
  // reads back with the glyphs renumbered.
  m.Redo();
  TMemoryStream saved;
  font.SaveToStream(saved);
  saved.Seek(0);
  TTrueTypeFont reloaded;
  reloaded.LoadFromStream(saved);
  EXPECT_EQ(reloaded.GlyphCount(), count - 2);
  EXPECT_EQ(reloaded.Cmap()->UnicodeGlyph(0x42), b - 2);
  EXPECT_EQ(reloaded.Post()->GetName(size_t(b - 2)), "B");
  EXPECT_EQ(reloaded.Maxp()->numGlyphs, count - 2);
}

TEST(GlyphCommands, ProblemQueriesForMenus) {
  TTrueTypeFontManager m;
  BuildCommandFont(m);
  auto& simple = dynamic_cast<TOutlineSimple&>(*m.Font().Outlines.Items(2));
  EXPECT_TRUE(m.GlyphHasWrongDirections(2));  // the hole runs clockwise
  EXPECT_FALSE(m.GlyphHasWrongDirections(1));
  EXPECT_FALSE(m.GlyphHasCleanUpProblem(2, TTrueTypeFontManager::cuRemoveDuplicateContours));
  simple.Contours.push_back(simple.Contours[0]);
  EXPECT_TRUE(m.GlyphHasCleanUpProblem(2, TTrueTypeFontManager::cuRemoveDuplicateContours));
  EXPECT_FALSE(m.GlyphHasCleanUpProblem(3, TTrueTypeFontManager::cuRemoveDuplicateComponents));
  m.CleanUpGlyph(2, TTrueTypeFontManager::cuRemoveDuplicateContours);
  EXPECT_EQ(simple.Contours.size(), 2u);
  EXPECT_EQ(m.History().UndoCaption(), m.GlyphUndoName(2, "Remove Duplicate Contours"));
}

}  // namespace
}  // namespace tsy
