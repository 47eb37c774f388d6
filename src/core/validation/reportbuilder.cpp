#include "validation/reportbuilder.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "fontfile/tables/hmtx.h"
#include "fontfile/truetypefont.h"
#include "outline/cleanup.h"
#include "settings/registrysettings.h"

namespace tsy {

namespace {

std::string Fmt(const char* Format, double A, double B) {
  char line[96];
  std::snprintf(line, sizeof line, Format, A, B);
  return line;
}

TStringLines IndexLines(const char* Format, std::vector<int32_t> Indexes) {
  std::sort(Indexes.begin(), Indexes.end());
  TStringLines lines;
  char line[64];
  for (int32_t i : Indexes) {
    std::snprintf(line, sizeof line, Format, int(i));
    lines.push_back(line);
  }
  return lines;
}

template <class TSelection>
std::vector<int32_t> Entries(const TSelection& S) {
  std::vector<int32_t> r;
  for (int i = 0; i < S.Count(); ++i) r.push_back(S.Items(i));
  return r;
}

TStringLines PointLines(const TPointSelection& S) {
  TStringLines lines;
  char line[64];
  for (int i = 0; i < S.Count(); ++i) {
    std::snprintf(line, sizeof line, "Contour index %d; point index %d", int(S.Items(i).Contour),
                  int(S.Items(i).Point));
    lines.push_back(line);
  }
  return lines;
}

void AddPositionLines(TStringLines& Lines, const TCoordinateList& Coordinates) {
  for (int i = 0; i < Coordinates.Count(); ++i)
    Lines.push_back(Fmt("(%4.1f, %4.1f)", Coordinates.Items(i).X, Coordinates.Items(i).Y));
}

}  // namespace

TProblemReportBuilder::TProblemReportBuilder(TTrueTypeFont* AFont, TRegistrySettings* Settings)
    : Font(AFont), FSettings(Settings ? Settings : &TRegistrySettings::Instance()) {}

void TProblemReportBuilder::LoadRedundancySettings() {
  DiagonalRedundantOnCurvePointsDetection = FSettings->DiagonalRedundantOnCurvePointsDetection();
  DiagonalRedundantOffCurvePointsDetection = FSettings->DiagonalRedundantOffCurvePointsDetection();
  MaximumRedundantOnCurvePointsDistance = FSettings->MaximumRedundantOnCurvePointsDistance();
  MaximumRedundantOffCurvePointsDistance = FSettings->MaximumRedundantOffCurvePointsDistance();
}

void TProblemReportBuilder::LoadTestSettings() {
  TestDuplicateComponents = FSettings->TestDuplicateComponents();
  TestEmptyComponents = FSettings->TestEmptyComponents();
  TestDuplicateContours = FSettings->TestDuplicateContours();
  TestContoursWithOneOrTwoPoints = FSettings->TestContoursWithOneOrTwoPoints();
  TestOffCurveExtremeCoordinates = FSettings->TestOffCurveExtremeCoordinates();
  TestRedundantPoints = FSettings->TestRedundantPoints();
  TestDuplicateKnots = FSettings->TestDuplicateKnots();
  TestIntersectingCoordinates = FSettings->TestIntersectingCoordinates();
  TestContoursWithIncorrectDirection = FSettings->TestContoursWithIncorrectDirection();
}

bool TProblemReportBuilder::LocalExtremes() { return FSettings->LocalExtremeCoordinatesDetection(); }

std::string TProblemReportBuilder::GlyphText(int GlyphIndex, int Kind) {
  static const char* const kKinds[] = {"Empty glyph index ", "Simple glyph index ", "Composite glyph index "};
  char index[32];
  if (FSettings->ValueHexadecimal())
    std::snprintf(index, sizeof index, "$%.4x", unsigned(GlyphIndex));
  else
    std::snprintf(index, sizeof index, "%d", GlyphIndex);
  return std::string(kKinds[std::clamp(Kind, 0, 2)]) + index;
}

void TProblemReportBuilder::AddGlyphReport(int GlyphIndex, TRecurReportList& Root) {
  const TOutlineBase& outline = *Font->Outlines.Items(size_t(GlyphIndex));
  TRecurReportList* glyphNode = nullptr;
  auto addTest = [&](const char* Name, int Image, const TStringLines& Lines) {
    if (!glyphNode) glyphNode = Root.AddChild(GlyphText(GlyphIndex, outline.GetKind()), riGlyph);
    glyphNode->AddChild(Name, Image)->AddLines(Lines);
  };

  if (TestDuplicateComponents) {
    TGlyphSelection s;
    if (FindDuplicateComponents(outline, s))
      addTest("Duplicate components", riDuplicate, IndexLines("Component index %d", Entries(s)));
  }
  if (TestEmptyComponents) {
    TGlyphSelection s;
    if (FindEmptyComponents(outline, s))
      addTest("Empty components", riEmptyOrSmall, IndexLines("Component index %d", Entries(s)));
  }
  if (TestDuplicateContours) {
    TContourSelection s;
    if (FindDuplicateContours(outline, s))
      addTest("Duplicate contours", riDuplicate, IndexLines("Contour index %d", Entries(s)));
  }
  if (TestContoursWithOneOrTwoPoints) {
    TContourSelection s;
    if (FindSmallContours(outline, s))
      addTest("Contours with one or two points", riEmptyOrSmall, IndexLines("Contour index %d", Entries(s)));
  }
  if (TestOffCurveExtremeCoordinates) {
    TGlyphSelection s;
    TCoordinateList coords;
    if (FindOffCurveExtremes(outline, s, coords, LocalExtremes())) {
      TStringLines lines = IndexLines("Component index %d", Entries(s));
      AddPositionLines(lines, coords);
      addTest("Off-curve extreme coordinates", riOffCurveExtremes, lines);
    }
  }
  if (TestRedundantPoints) {
    TPointSelection s;
    if (FindRedundantPoints(outline, s, DiagonalRedundantOnCurvePointsDetection,
                            MaximumRedundantOffCurvePointsDistance, MaximumRedundantOnCurvePointsDistance,
                            DiagonalRedundantOffCurvePointsDetection))
      addTest("Redundant points", riRedundantPoints, PointLines(s));
  }
  if (TestDuplicateKnots) {
    TPointSelection s;
    TStringLines found;
    if (FindDuplicateKnots(outline, s, &found)) addTest("Duplicate knots", riDuplicateKnots, PointLines(s));
  }
  bool crossing = false;
  if (TestIntersectingCoordinates) {
    TGlyphSelection members;
    TCoordinateList coords;
    if (FindIntersectingComponents(outline, members, &coords, nullptr)) {
      TStringLines lines = IndexLines("Component index %d", Entries(members));
      AddPositionLines(lines, coords);
      addTest("Intersecting coordinates", riIntersections, lines);
    }
    TContourSelection self, pairs;
    TCoordinateList points;
    if (FindIntersections(outline, self, pairs, nullptr, &points)) {
      crossing = true;
      TStringLines lines;
      AddPositionLines(lines, points);
      addTest("Intersecting coordinates", riIntersections, lines);
    }
  }
  if (TestContoursWithIncorrectDirection) {
    if (crossing) {
      addTest("Contours with incorrect direction", riNotRun,
              {"Unable to perform this test due to previously detected errors"});
    } else {
      TContourSelection wrong, overlap;
      FindWrongDirections(outline, wrong, overlap);
      if (wrong.Count() > 0)
        addTest("Contours with incorrect direction", riWrongDirection, IndexLines("Contour index %d", Entries(wrong)));
    }
  }
}

void TProblemReportBuilder::FollowLeftEdge(int GlyphIndex, int32_t OldLeft) {
  TOutlineBase* o = Font->Outlines.Items(size_t(GlyphIndex));
  o->UpdateBounds();
  const int32_t moved = RoundHalfUp(o->Bounds.XMin) - OldLeft;
  TTableHmtx* hmtx = Font->Hmtx();
  if (moved != 0 && hmtx && size_t(GlyphIndex) < hmtx->Metrics.size())
    hmtx->SetLeftSideBearing(GlyphIndex, int64_t(hmtx->LeftSideBearing(GlyphIndex)) + moved);
}

bool TProblemReportBuilder::FixGlyph(int GlyphIndex) {
  if (!FixProblems) return false;
  TFontOutlines& outlines = Font->Outlines;
  const int32_t oldLeft = RoundHalfUp(outlines.Items(size_t(GlyphIndex))->Bounds.XMin);
  bool changed = false;
  if (TestOffCurveExtremeCoordinates) changed |= AddOnCurveExtremes(outlines, GlyphIndex, LocalExtremes());
  if (TestRedundantPoints)
    changed |= RemoveRedundantPoints(outlines, GlyphIndex, DiagonalRedundantOnCurvePointsDetection,
                                     MaximumRedundantOffCurvePointsDistance, MaximumRedundantOnCurvePointsDistance,
                                     DiagonalRedundantOffCurvePointsDetection);
  if (TestContoursWithOneOrTwoPoints) changed |= RemoveSmallContours(outlines, GlyphIndex);
  if (TestEmptyComponents) changed |= RemoveEmptyComponents(outlines, GlyphIndex);
  if (TestDuplicateComponents) changed |= RemoveDuplicateComponents(outlines, GlyphIndex);
  if (TestDuplicateContours) changed |= RemoveDuplicateContours(outlines, GlyphIndex);
  if (TestContoursWithIncorrectDirection) changed |= CorrectDirections(outlines, GlyphIndex);
  // A removed contour can take the glyph's bounds in, so that an extreme of
  // another contour is now on its outside.
  if (changed && TestOffCurveExtremeCoordinates) AddOnCurveExtremes(outlines, GlyphIndex, LocalExtremes());
  if (!changed) return false;
  // Hinting written for the old points no longer fits.
  outlines.Items(size_t(GlyphIndex))->ClearInstructions();
  FollowLeftEdge(GlyphIndex, oldLeft);
  if (FFixed.size() < outlines.Count()) FFixed.resize(outlines.Count(), false);
  FFixed[size_t(GlyphIndex)] = true;
  return true;
}

void TProblemReportBuilder::RefreshCompositesOfFixedGlyphs() {
  TFontOutlines& outlines = Font->Outlines;
  if (std::find(FFixed.begin(), FFixed.end(), true) == FFixed.end()) return;
  FFixed.resize(outlines.Count(), false);
  // Whether a glyph uses a fixed glyph, directly or through members.
  std::vector<signed char> uses(outlines.Count(), -1);
  std::function<bool(int, int)> usesFixed = [&](int g, int depth) -> bool {
    if (uses[size_t(g)] >= 0) return uses[size_t(g)] != 0;
    bool r = false;
    const TOutlineBase* o = outlines.Items(size_t(g));
    if (o->GetKind() == okComposite && depth <= kMaxComponentDepth)
      for (const TCompositeMember& m : static_cast<const TOutlineComposite*>(o)->Members)
        if (m.GlyphIndex < outlines.Count() && (FFixed[m.GlyphIndex] || usesFixed(m.GlyphIndex, depth + 1))) {
          r = true;
          break;
        }
    uses[size_t(g)] = r ? 1 : 0;
    return r;
  };
  for (size_t g = 0; g < outlines.Count(); ++g) {
    if (outlines.Items(g)->GetKind() != okComposite || !usesFixed(int(g), 0)) continue;
    FollowLeftEdge(int(g), RoundHalfUp(outlines.Items(g)->Bounds.XMin));
  }
  FFixed.assign(FFixed.size(), false);
}

bool TProblemReportBuilder::AddFontReport(TRecurReportList& Root, int Threads,
                                          const std::function<bool(int)>& Progress) {
  const int count = int(Font->Outlines.Count());
  std::vector<std::unique_ptr<TRecurReportList>> parts(static_cast<size_t>(count));
  std::atomic<int> next{0}, done{0};
  std::atomic<bool> stop{false};
  std::exception_ptr failure;
  std::mutex failureLock;
  auto work = [&] {
    try {
      for (int g; !stop && (g = next++) < count;) {
        auto part = std::make_unique<TRecurReportList>();
        AddGlyphReport(g, *part);
        parts[size_t(g)] = std::move(part);
        ++done;
      }
    } catch (...) {
      std::lock_guard<std::mutex> lock(failureLock);
      if (!failure) failure = std::current_exception();
      stop = true;
    }
  };
  Threads = std::clamp(Threads, 1, std::max(1, count));
  std::vector<std::thread> workers;
  for (int t = 1; t < Threads; ++t) workers.emplace_back(work);
  if (Progress) {
    // The calling thread reports progress and takes part in the work between
    // reports.
    while (!stop && next < count) {
      auto part = std::make_unique<TRecurReportList>();
      const int g = next++;
      if (g >= count) break;
      try {
        AddGlyphReport(g, *part);
      } catch (...) {
        std::lock_guard<std::mutex> lock(failureLock);
        if (!failure) failure = std::current_exception();
        stop = true;
        break;
      }
      parts[size_t(g)] = std::move(part);
      ++done;
      if (!Progress(done)) stop = true;
    }
  } else {
    work();
  }
  for (std::thread& t : workers) t.join();
  if (failure) std::rethrow_exception(failure);
  if (stop) return false;
  for (auto& part : parts)
    if (part) Root.TakeChildren(*part);
  return true;
}

}  // namespace tsy
