// A long random run of glyph commands over the small command font: every
// recorded level, undone one by one, gives back the exact state it was
// recorded on, and redoing them all gives back the final state.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <random>

#include "core/document/glyphcommands_support.h"

namespace tsy {
namespace {

using tsytest::CommandStateOf;
using tsytest::TCommandState;

struct TRandomRun {
  std::mt19937 Rng;
  TTrueTypeFontManager M;
  std::deque<int> Windows;
  explicit TRandomRun(uint32_t Seed) : Rng(Seed) { tsytest::BuildCommandFont(M); }
  int Next(int N) { return N <= 0 ? 0 : int(Rng() % uint32_t(N)); }
  double Coord() { return double(Next(200) - 100); }

  // A window on G with a random selection of what G has.
  void SelectSomething(int G) {
    TSelectedGlyphEditWindowList& w = M.EditWindows();
    if (!w.HasEntry(G)) {
      Windows.push_back(0);
      w.Subscribe(&Windows.back(), G, [](TGlyphNotification) {});
    }
    w.ClearContours(nullptr, G);
    w.ClearPoints(nullptr, G);
    w.ClearMembers(nullptr, G);
    const TOutlineBase* o = M.Font().Outlines.Items(size_t(G));
    if (const auto* s = dynamic_cast<const TOutlineSimple*>(o)) {
      const int n = int(s->Contours.size());
      for (int k = Next(3) + 1; k > 0 && n > 0; --k) {
        const int c = Next(n);
        w.SelectContour(nullptr, G, c);
        if (!s->Contours[size_t(c)].Points.empty())
          w.SelectPoint(nullptr, G, c, Next(int(s->Contours[size_t(c)].Points.size())));
      }
    } else if (const auto* c = dynamic_cast<const TOutlineComposite*>(o)) {
      for (int k = Next(2) + 1; k > 0 && !c->Members.empty(); --k) w.SelectMember(nullptr, G, Next(int(c->Members.size())));
    }
    M.UpdateSelectionFrame(G);
    M.SetTransformOrigin(G, Next(9));
  }

  void Step() {
    const int count = int(M.Font().GlyphCount());
    const int g = Next(count);
    SelectSomething(g);
    M.SelectedGlyphs().Clear();
    for (int k = Next(3) + 1; k > 0; --k) M.SelectedGlyphs().SetSelected(Next(count), true);
    switch (Next(27)) {
      case 0: M.InsertGlyphs(Next(3) + 1, Next(4)); break;
      case 1: if (count > 6) M.DeleteGlyphs(); break;
      case 2: M.MakeEmpty(); break;
      case 3: M.MakeSimple(); break;
      case 4: M.MovePoints(g, Coord(), Coord()); break;
      case 5: M.MoveContours(g, Coord(), Coord()); break;
      case 6: M.MoveMembers(g, Coord(), Coord()); break;
      case 7: M.StretchContours(g, Next(2) ? -0.5 : 1.5, 0.75); break;
      case 8: M.RotateContours(g, double(Next(360)) * M_PI / 180); break;
      case 9: M.SkewContours(g, Coord(), Coord(), 0.1 * (Next(5) - 2), 0.1 * (Next(5) - 2)); break;
      case 10: M.SetPointCoordinates(g, Coord(), Coord(), Next(2), Next(2), Next(2), Next(2)); break;
      case 11: M.SetPointsOnCurve(g, Next(2)); break;
      case 12: M.DeletePoints(g); break;
      case 13: M.AddPoints(g); break;
      case 14: M.SetFirstPoint(g); break;
      case 15: M.DeleteContours(g); break;
      case 16: M.DeleteMembers(g); break;
      case 17: M.ChangeContourDirection(g); break;
      case 18: M.ChangeContourOrder(g, TTrueTypeFontManager::TContourOrder(Next(4))); break;
      case 19: M.JoinContours(g); break;
      case 20: M.SplitContour(g); break;
      case 21: M.DuplicateContours(g, Coord(), Coord()); break;
      case 22: M.DuplicateMembers(g, Coord(), Coord()); break;
      case 23: M.ChangeBearings(g, Coord(), Coord() + 600); break;
      case 24: M.AddCompositeGlyphMembers(g, {Next(count), Next(count)}); break;
      case 25: M.CleanUpGlyph(g, TTrueTypeFontManager::TCleanUpOperation(Next(6))); break;
      case 26: M.CorrectContourDirections(g); break;
    }
    if (M.History().CanRepeat() && Next(8) == 0) M.Repeat();
  }
};

TEST(GlyphCommandsRandom, EveryLevelUndoesToItsStateAndRedoesToTheEnd) {
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE(seed);
    TRandomRun run(seed);
    std::map<size_t, TCommandState> states;
    states[0] = CommandStateOf(run.M.Font());
    for (int i = 0; i < 500; ++i) {
      run.Step();
      // A hinting level and its command's level come as a pair: only the
      // state after both is known.
      states[run.M.History().UndoList().size()] = CommandStateOf(run.M.Font());
    }
    const size_t levels = run.M.History().UndoList().size();
    ASSERT_GT(levels, 50u);  // the run did exercise the history
    const TCommandState end = CommandStateOf(run.M.Font());
    for (size_t n = levels; n-- > 0;) {
      run.M.Undo();
      if (auto it = states.find(n); it != states.end()) {
        ASSERT_EQ(CommandStateOf(run.M.Font()), it->second) << n;
      }
    }
    run.M.Redo(int(levels));
    EXPECT_EQ(CommandStateOf(run.M.Font()), end);
  }
}

}  // namespace
}  // namespace tsy
