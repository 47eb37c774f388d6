#pragma once
// Runs the glyph problem tests for one glyph at a time on one font: the
// findings go into a report tree, and in repair mode the repairs of the
// enabled tests are applied first.
#include <atomic>
#include <functional>
#include <string>

#include "validation/problems.h"
#include "validation/reporttree.h"

namespace tsy {

class TTrueTypeFont;
class TRegistrySettings;

class TProblemReportBuilder {
public:
  // Settings null: the process-wide store.
  explicit TProblemReportBuilder(TTrueTypeFont* Font = nullptr, TRegistrySettings* Settings = nullptr);

  TTrueTypeFont* Font = nullptr;  // not owned
  bool FixProblems = false;

  bool TestDuplicateComponents = true;
  bool TestEmptyComponents = true;
  bool TestDuplicateContours = true;
  bool TestContoursWithOneOrTwoPoints = true;
  bool TestOffCurveExtremeCoordinates = true;
  bool TestRedundantPoints = true;
  bool TestDuplicateKnots = true;
  bool TestIntersectingCoordinates = true;
  bool TestContoursWithIncorrectDirection = true;

  bool DiagonalRedundantOnCurvePointsDetection = false;
  bool DiagonalRedundantOffCurvePointsDetection = false;
  double MaximumRedundantOnCurvePointsDistance = 0;
  double MaximumRedundantOffCurvePointsDistance = 0;

  // Copies the four redundant-point parameters from the settings, as a
  // validation run over the font does.
  void LoadRedundancySettings();
  // Sets the nine test switches from the settings.
  void LoadTestSettings();

  // Runs the enabled tests on one glyph and appends its findings under Root:
  // one glyph node (only when something was found), a node per test that
  // found something, a line per finding. Reads only the font.
  void AddGlyphReport(int GlyphIndex, TRecurReportList& Root);
  // With FixProblems on, applies the repairs of the enabled tests to one
  // glyph, drops its instructions when it changed, recomputes its bounds and
  // moves its left side bearing along with its left edge. Returns whether
  // anything changed.
  bool FixGlyph(int GlyphIndex);
  // After FixGlyph over many glyphs: composites that use a changed glyph get
  // fresh bounds and a left side bearing that follows their left edge.
  void RefreshCompositesOfFixedGlyphs();

  // Every glyph's report under Root, in glyph order; the glyphs are shared
  // out over Threads workers (the tests only read). Progress, when set, is
  // told the number of glyphs done and may answer false to stop; returns
  // whether the run went to the end.
  bool AddFontReport(TRecurReportList& Root, int Threads, const std::function<bool(int Done)>& Progress = {});

private:
  bool LocalExtremes();
  std::string GlyphText(int GlyphIndex, int Kind);
  void FollowLeftEdge(int GlyphIndex, int32_t OldLeft);

  TRegistrySettings* FSettings;
  std::vector<bool> FFixed;
};

}  // namespace tsy
