// The report tree, its saved text, and the report builder's glyph reports
// and repairs over a small font.
#include <gtest/gtest.h>

#include "fontfile/tables/hmtx.h"
#include "fontfile/truetypefont.h"
#include "settings/registrysettings.h"
#include "validation/reportbuilder.h"
#include "core/validation/test_glyphs.h"

namespace tsy {
namespace {

using namespace testglyphs;

TEST(ReportTree, SavedTextIndentsTwoSpacesPerLevel) {
  TRecurReportList root;
  TRecurReportList* glyph = root.AddChild("Simple glyph index 3", riGlyph);
  glyph->AddChild("Redundant points", riRedundantPoints)->AddLines({"Contour index 0; point index 2"});
  TMemoryStream s;
  SaveReportText(s, root);
  const std::string text(s.Bytes().begin(), s.Bytes().end());
  EXPECT_EQ(text, "Simple glyph index 3\r\n  Redundant points\r\n    Contour index 0; point index 2\r\n");
  EXPECT_EQ(root.Items(0).Items(0).Items(0).ImageIndex, riDetail);

  TRecurReportList other;
  other.AddChild("Empty glyph index 4", riGlyph);
  root.TakeChildren(other);
  EXPECT_EQ(root.Count(), 2);
  EXPECT_EQ(other.Count(), 0);
  root.Clear();
  EXPECT_EQ(ReportText(root), "");
}

struct TBuilderFixture : ::testing::Test {
  TRegistrySettings Settings{std::make_shared<TMemorySettingsBackend>()};
  TTrueTypeFont Font;

  // One glyph per problem kind, a clean glyph, and glyph 10 with a figure eight.
  void SetUp() override {
    Fill(Font.Outlines,
         Glyphs(Simple({SquareCW(0, 0, 100)}),                                         // 0 clean
                std::make_unique<TOutlineEmpty>(),                                     // 1 empty
                Composite({Member(0), Member(1), Member(0)}),                          // 2 empty + duplicate member
                Simple({SquareCW(0, 0, 100), SquareCW(0, 0, 100)}),                    // 3 duplicate contour
                Simple({SquareCW(0, 0, 100), Contour({{200, 0}, {210, 0}})}),          // 4 small contour
                Simple({Contour({{10, 0}, {60, 100, false}, {110, 0}})}),              // 5 off-curve extreme
                Simple({Contour({{0, 0}, {0, 100}, {50, 100}, {100, 100}, {100, 0}})}),  // 6 redundant point
                Simple({Contour({{0, 0}, {0, 100}, {50, 100, false}, {50, 100, false}, {100, 200}, {200, 0}})}),  // 7
                Simple({SquareCCW(0, 0, 100), SquareCW(25, 25, 50)}),                  // 8 directions
                Simple({Contour({{0, 0}, {0, 1}})}),                                   // 9 only a small contour
                Simple({Contour({{0, 0}, {100, 100}, {100, 0}, {0, 100}})})));          // 10 figure eight
    auto hmtx = std::make_unique<TTableHmtx>();
    hmtx->Metrics.assign(Font.Outlines.Count(), THmtxMetrics{500, 0});
    hmtx->NumGlyphs = uint16_t(Font.Outlines.Count());
    hmtx->NumberOfHMetrics = hmtx->NumGlyphs;
    for (size_t g = 0; g < Font.Outlines.Count(); ++g)
      hmtx->Metrics[g].LeftSideBearing = int16_t(RoundHalfUp(Font.Outlines.Items(g)->Bounds.XMin));
    Font.AddTable(std::move(hmtx));
  }

  std::string Report(int Glyph, TProblemReportBuilder& B) {
    TRecurReportList root;
    B.AddGlyphReport(Glyph, root);
    return ReportText(root);
  }
};

TEST_F(TBuilderFixture, OneGlyphReportPerProblem) {
  Settings.SetValueHexadecimal(false);
  TProblemReportBuilder b(&Font, &Settings);
  EXPECT_EQ(Report(0, b), "");
  EXPECT_EQ(Report(1, b), "");
  EXPECT_EQ(Report(2, b),
            "Composite glyph index 2\r\n  Duplicate components\r\n    Component index 2\r\n"
            "  Empty components\r\n    Component index 1\r\n");
  EXPECT_EQ(Report(3, b), "Simple glyph index 3\r\n  Duplicate contours\r\n    Contour index 1\r\n");
  EXPECT_EQ(Report(4, b), "Simple glyph index 4\r\n  Contours with one or two points\r\n    Contour index 1\r\n");
  EXPECT_EQ(Report(5, b), "Simple glyph index 5\r\n  Off-curve extreme coordinates\r\n    (60.0, 100.0)\r\n");
  EXPECT_EQ(Report(6, b), "Simple glyph index 6\r\n  Redundant points\r\n    Contour index 0; point index 2\r\n");
  EXPECT_EQ(Report(7, b),
            "Simple glyph index 7\r\n  Duplicate knots\r\n    Contour index 0; point index 2\r\n");
  EXPECT_EQ(Report(8, b),
            "Simple glyph index 8\r\n  Contours with incorrect direction\r\n    Contour index 0\r\n"
            "    Contour index 1\r\n");
  EXPECT_EQ(Report(10, b),
            "Simple glyph index 10\r\n  Intersecting coordinates\r\n    (50.0, 50.0)\r\n"
            "  Contours with incorrect direction\r\n"
            "    Unable to perform this test due to previously detected errors\r\n");
  TRecurReportList root;
  b.AddGlyphReport(10, root);
  EXPECT_EQ(root.Items(0).ImageIndex, riGlyph);
  EXPECT_EQ(root.Items(0).Items(0).ImageIndex, riIntersections);
  EXPECT_EQ(root.Items(0).Items(1).ImageIndex, riNotRun);
}

TEST_F(TBuilderFixture, SwitchesAndHexadecimalIndexes) {
  Settings.SetValueHexadecimal(true);
  TProblemReportBuilder b(&Font, &Settings);
  EXPECT_EQ(Report(10, b).substr(0, 26), "Simple glyph index $000a\r\n");
  b.TestIntersectingCoordinates = false;
  b.TestContoursWithIncorrectDirection = false;
  EXPECT_EQ(Report(10, b), "");
  b.TestEmptyComponents = false;
  EXPECT_EQ(Report(2, b), "Composite glyph index $0002\r\n  Duplicate components\r\n    Component index 2\r\n");
}

TEST_F(TBuilderFixture, RedundancySettingsComeFromTheStore) {
  // (50, 101) is 0.45 units off the diagonal: only the run's settings see it.
  Fill(Font.Outlines, Glyphs(Simple({Contour({{0, 0}, {50, 101}, {100, 200}, {200, 0}})})));
  const int g = int(Font.Outlines.Count()) - 1;
  TProblemReportBuilder fresh(&Font, &Settings);
  EXPECT_EQ(Report(g, fresh), "");
  Settings.SetDiagonalRedundantOnCurvePointsDetection(true);
  TProblemReportBuilder run(&Font, &Settings);
  run.LoadRedundancySettings();
  EXPECT_DOUBLE_EQ(run.MaximumRedundantOnCurvePointsDistance, 0.8);
  EXPECT_DOUBLE_EQ(run.MaximumRedundantOffCurvePointsDistance, 0.2);
  EXPECT_NE(Report(g, run).find("Contour index 0; point index 1"), std::string::npos);
}

TEST_F(TBuilderFixture, FixGlyphRepairsOnlyWhenAsked) {
  TProblemReportBuilder b(&Font, &Settings);
  EXPECT_FALSE(b.FixGlyph(6));
  EXPECT_EQ(Font.Outlines.Items(6)->GetPointCount(), 5);

  b.FixProblems = true;
  static_cast<TOutlineSimple*>(Font.Outlines.Items(6))->Instructions = {0xB0, 0x00};
  EXPECT_TRUE(b.FixGlyph(6));
  EXPECT_EQ(Font.Outlines.Items(6)->GetPointCount(), 4);
  EXPECT_FALSE(Font.Outlines.Items(6)->HasInstructions());
  EXPECT_FALSE(b.FixGlyph(0));  // clean: nothing to do

  EXPECT_TRUE(b.FixGlyph(9));  // its only contour goes: an empty glyph
  EXPECT_EQ(Font.Outlines.Items(9)->GetKind(), okEmpty);
  EXPECT_TRUE(b.FixGlyph(2));
  EXPECT_EQ(Font.Outlines.Items(2)->GetComponentCount(), 1);
  EXPECT_TRUE(b.FixGlyph(8));
  EXPECT_EQ(Report(8, b), "");
  EXPECT_FALSE(b.FixGlyph(10));  // crossings have no repair
}

TEST_F(TBuilderFixture, LeftSideBearingFollowsTheLeftEdge) {
  // A glyph whose leftmost point is an off-curve control point beyond the
  // curve: the repair moves the left edge from -20 to the curve's -10.
  Fill(Font.Outlines, Glyphs(Simple({Contour({{0, 0}, {-20, 50, false}, {0, 100}, {100, 100}, {100, 0}})})));
  const int g = int(Font.Outlines.Count()) - 1;
  TTableHmtx* hmtx = Font.Hmtx();
  hmtx->Metrics.push_back({500, -15});  // origin 5 units right of the left edge
  TProblemReportBuilder b(&Font, &Settings);
  b.FixProblems = true;
  b.LoadRedundancySettings();
  EXPECT_TRUE(b.FixGlyph(g));
  const TOutlineBase* o = Font.Outlines.Items(size_t(g));
  EXPECT_EQ(o->Bounds.XMin, -10);
  EXPECT_EQ(hmtx->LeftSideBearing(g), -5);  // the origin has not moved
  EXPECT_EQ(Report(g, b), "");
}

TEST_F(TBuilderFixture, CompositesFollowARepairedMember) {
  Fill(Font.Outlines, Glyphs(Simple({Contour({{0, 0}, {-20, 50, false}, {0, 100}, {100, 100}, {100, 0}})}),
                             Composite({Member(0, 30, 0)})));
  const int simple = int(Font.Outlines.Count()) - 2, composite = simple + 1;
  auto* c = static_cast<TOutlineComposite*>(Font.Outlines.Items(size_t(composite)));
  c->Members[0].GlyphIndex = uint16_t(simple);
  Font.Outlines.ResolveReferences();
  c->UpdateBounds();
  EXPECT_EQ(c->Bounds.XMin, 10);
  TTableHmtx* hmtx = Font.Hmtx();
  hmtx->Metrics.push_back({500, -20});
  hmtx->Metrics.push_back({500, 10});
  TProblemReportBuilder b(&Font, &Settings);
  b.FixProblems = true;
  EXPECT_TRUE(b.FixGlyph(simple));
  b.RefreshCompositesOfFixedGlyphs();
  EXPECT_EQ(c->Bounds.XMin, 20);
  EXPECT_EQ(hmtx->LeftSideBearing(composite), 20);
}

TEST_F(TBuilderFixture, FontReportOnWorkersMatchesOneThread) {
  TProblemReportBuilder b(&Font, &Settings);
  TRecurReportList one, four;
  EXPECT_TRUE(b.AddFontReport(one, 1));
  EXPECT_TRUE(b.AddFontReport(four, 4));
  EXPECT_EQ(ReportText(one), ReportText(four));
  EXPECT_EQ(one.Count(), 9);  // every glyph but the clean and the empty one

  int calls = 0;
  TRecurReportList stopped;
  EXPECT_FALSE(b.AddFontReport(stopped, 1, [&](int) { return ++calls < 3; }));
  EXPECT_EQ(stopped.Count(), 0);
}

}  // namespace
}  // namespace tsy
