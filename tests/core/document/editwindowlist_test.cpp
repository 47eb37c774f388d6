#include "document/editwindowlist.h"

#include <gtest/gtest.h>

#include <map>

using namespace tsy;

namespace {

// A stand-in for an edit window: records what it was told and closes itself
// when its glyph is deleted, as the real window does.
struct FakeWindow {
  TSelectedGlyphEditWindowList& List;
  int32_t Glyph;
  std::vector<TGlyphNotification> Seen;
  bool Closed = false;

  FakeWindow(TSelectedGlyphEditWindowList& L, int32_t G) : List(L), Glyph(G) {
    List.Subscribe(this, G, [this](TGlyphNotification k) { Handle(k); });
  }
  ~FakeWindow() { Close(); }
  void Handle(TGlyphNotification k) {
    Seen.push_back(k);
    if (k == gnDeleted) Close();
    if (k == gnRenumbered && !Closed) Glyph = List.GlyphOfWindow(this);
  }
  void Close() {
    if (Closed) return;
    Closed = true;
    List.Unsubscribe(this, Glyph);
  }
};

}  // namespace

TEST(EditWindowList, SelectionReachesTheOtherWindowsOnly) {
  TSelectedGlyphEditWindowList list;
  FakeWindow a(list, 5), b(list, 5);
  list.SelectPoint(&a, 5, 0, 3);
  EXPECT_TRUE(a.Seen.empty());
  EXPECT_EQ(b.Seen, (std::vector{gnSelectionChanged}));
  EXPECT_TRUE(list.IsPointSelected(5, 0, 3));
  TPointSelection copy;
  list.GetPoints(&b, 5, copy);
  EXPECT_EQ(copy.Count(), 1);
}

TEST(EditWindowList, DeletingARenumbersAndClosesWithoutLeftovers) {
  struct Case {
    int32_t Deleted;
    std::vector<int32_t> Open;
    std::vector<int32_t> After;  // -1: closed
  };
  const Case cases[] = {
      {3, {3, 7}, {-1, 6}},
      {3, {3, 4}, {-1, 3}},  // the renumbered glyph takes the deleted one's index
      {0, {2, 9}, {1, 8}},
  };
  for (const Case& c : cases) {
    TSelectedGlyphEditWindowList list;
    std::vector<std::unique_ptr<FakeWindow>> windows;
    for (int32_t g : c.Open) windows.push_back(std::make_unique<FakeWindow>(list, g));
    for (auto& w : windows) list.SelectContour(nullptr, w->Glyph, 1);  // the manager is never a subscriber
    list.GlyphDeleted(c.Deleted);
    for (size_t i = 0; i < windows.size(); ++i) {
      if (c.After[i] < 0) {
        EXPECT_TRUE(windows[i]->Closed);
      } else {
        EXPECT_FALSE(windows[i]->Closed);
        EXPECT_EQ(windows[i]->Glyph, c.After[i]);
        EXPECT_TRUE(list.IsContourSelected(c.After[i], 1));  // its own entry, not the deleted one
      }
    }
    for (auto& w : windows) w->Close();
    for (int32_t g = 0; g < 10; ++g) EXPECT_FALSE(list.HasEntry(g)) << g;
  }
}

TEST(EditWindowList, InsertingRenumbersEveryWindow) {
  TSelectedGlyphEditWindowList list;
  FakeWindow a(list, 0), b(list, 4);
  list.GlyphInserted(0);
  EXPECT_EQ(a.Glyph, 1);
  EXPECT_EQ(b.Glyph, 5);
  EXPECT_EQ(a.Seen, (std::vector{gnRenumbered}));
}

TEST(EditWindowList, ReopeningStartsFresh) {
  TSelectedGlyphEditWindowList list;
  {
    FakeWindow a(list, 2);
    list.SetEditMode(&a, 2, emPoint);
    list.SelectPoint(&a, 2, 0, 0);
  }
  FakeWindow again(list, 2);
  EXPECT_EQ(list.GetEditMode(&again, 2), emContour);
  EXPECT_FALSE(list.IsPointSelected(2, 0, 0));
}

TEST(EditWindowList, StateChangesNotifyOnlyWhenTheyChangeSomething) {
  TSelectedGlyphEditWindowList list;
  FakeWindow a(list, 1), b(list, 1);
  list.StoreTransformOrigin(&a, 1, {0, 0});
  list.SetHandleKind(&a, 1, 0);
  list.SetSelectionFrame(nullptr, 1, {});
  EXPECT_TRUE(b.Seen.empty());
  list.StoreTransformOrigin(&a, 1, {10, 20});
  list.SetMemberFrame(nullptr, 1, {0, 0, 5, 5});
  EXPECT_EQ(b.Seen, (std::vector{gnStateChanged, gnStateChanged}));
  EXPECT_EQ(a.Seen, (std::vector{gnStateChanged}));  // the manager's frame change reaches every window
  EXPECT_EQ(list.GetTransformOrigin(&b, 1), (TRealPoint{10, 20}));

  list.SelectContour(&a, 1, 0);
  list.SetEditMode(&a, 1, emPoint);  // point mode clears the contour selection
  EXPECT_FALSE(list.IsContourSelected(1, 0));
}

TEST(EditWindowList, ComponentEditsRepaintTheComposites) {
  // Glyph 9 is a composite that uses glyph 4.
  TSelectedGlyphEditWindowList list([](int32_t g) { return g == 4 ? std::vector<int32_t>{9} : std::vector<int32_t>{}; });
  FakeWindow member(list, 4), composite(list, 9), other(list, 5);
  list.GlyphChanged(4);
  EXPECT_EQ(member.Seen, (std::vector{gnGlyphChanged}));
  EXPECT_EQ(composite.Seen, (std::vector{gnGlyphChanged}));
  EXPECT_TRUE(other.Seen.empty());
}

TEST(EditWindowList, DoubleSubscriptionIsADesignProblem) {
  TSelectedGlyphEditWindowList list;
  int window;
  list.Subscribe(&window, 3, nullptr);
  EXPECT_THROW(list.Subscribe(&window, 3, nullptr), std::logic_error);
  list.Subscribe(&window, 3, nullptr, 1);  // other flags may share a window
  EXPECT_EQ(list.GlyphOfWindow(&window), 3);
  list.Unsubscribe(&window, 3);
  list.Unsubscribe(&window, 3);
  EXPECT_EQ(list.GlyphOfWindow(&window), -1);
}

TEST(EditWindowList, WindowCountCountsEachOpenWindowOnce) {
  TSelectedGlyphEditWindowList list;
  EXPECT_EQ(list.WindowCount(), 0);
  FakeWindow a(list, 5), b(list, 5), c(list, 9);
  // A window-less subscriber (the manager) and other flags are no windows.
  list.Subscribe(nullptr, 5, [](TGlyphNotification) {});
  int tool = 0;
  list.Subscribe(&tool, 9, [](TGlyphNotification) {}, 1);
  EXPECT_EQ(list.WindowCount(), 3);
  b.Close();
  EXPECT_EQ(list.WindowCount(), 2);
  // The window of a deleted glyph closes and no longer counts.
  list.GlyphDeleted(9);
  EXPECT_EQ(list.WindowCount(), 1);
}
