#pragma once
// The drawing layers of the glyph edit window as device geometry: the aids
// (grid, reference lines, bearings, guidelines, outside area) and the glyph
// (outline, selection marks, point markers, warning and crossing marks).
#include <optional>
#include <vector>

#include "glyphview/displaylist.h"
#include "glyphview/viewport.h"
#include "outline/guidelines.h"
#include "outline/polypolygon.h"
#include "outline/selections.h"

namespace tsy {

class TTrueTypeFont;
class TOutlineBase;
class TRegistrySettings;

// The options the drawing reads, fetched once per paint.
struct TGlyphViewOptions {
  bool ShowGrid = true;
  int GridDistance = 100;
  int GridDistancePixels = 16;
  TColor GridColor = 0x00FFA6A6;
  int GridLineStyle = 0;
  bool ShowFixedGridLines = true;
  TColor FixedGridColor = 0x0000FF;
  int FixedGridLineStyle = 0;
  bool ShowBearings = true;
  bool ShowUserDefinedGuidelines = true;
  TColor GuideLineColor = 0;
  int GuideLineStyle = 0;
  bool FilledOutline = true;
  bool ShowConnectionsBetweenPoints = false;
  bool ShowFirstAndLastPointIndicators = false;
  bool ShowWarningPoints = true;
  bool ShowIntersections = true;
  bool EnableGlyphProblemDetection = true;
  int ValidationMaxNumberOfPoints = 400;
  int ValidationMaxNumberOfContours = 40;
  int ValidationMaxNumberOfCompositeGlyphMembers = 20;
  bool LocalExtremeCoordinatesDetection = false;
  bool DiagonalRedundantOnCurvePointsDetection = false;
  double MaximumRedundantOffCurvePointsDistance = 0.2;
  double MaximumRedundantOnCurvePointsDistance = 0.8;
  bool DiagonalRedundantOffCurvePointsDetection = false;
};
// A damaged stored value reads as its default (the store repairs it).
TGlyphViewOptions ReadGlyphViewOptions(TRegistrySettings& Settings);

// The desktop colours the drawing borrows.
struct TViewPalette {
  TColor Window = ViewColor::White;
  TColor ButtonFace = 0xF0F0F0;
  TColor GrayText = ViewColor::Grey;
};

// Interaction states the drawing cares about (the numbers the editing code
// uses for them).
namespace EditStates {
constexpr int Normal = 0;
constexpr int MovingContours = 13;
constexpr int Transforming = 15;
constexpr int DraggingPoints = 12;
constexpr int DraggingMembers = 32;
}  // namespace EditStates

// Everything about one window's glyph that the drawing reads.
struct TGlyphViewScene {
  const TTrueTypeFont* Font = nullptr;
  int Glyph = 0;
  uint8_t EditMode = 1;
  TGlyphSelection Members;
  TContourSelection Contours;
  TPointSelection Points;
  TFloatRect SelectionFrame, MemberFrame;
  TRealPoint TransformOrigin;
  uint8_t HandleKind = 1;
  int EditState = EditStates::Normal;
  bool HideAids = false;
  // The working copy that follows the mouse while something is dragged.
  const TOutlineBase* DragCopy = nullptr;
  // A guideline being moved or turned: drawn by its working copy instead.
  const TGuideline* HiddenGuideline = nullptr;
};

// The outline of Scene's glyph, or nullptr when the index is out of range.
const TOutlineBase* SceneOutline(const TGlyphViewScene& Scene);

// Grid, reference lines, bearings, guidelines and the outside area, in that
// order (the background image goes below them and is the window's own).
void BuildAidsLayer(const TGlyphViewport& View, const TGlyphViewOptions& Options, const TGlyphViewScene& Scene,
                    const TGuideLineSettings* Guidelines, const TViewPalette& Palette, TDisplayList& Out);
// The outline and everything drawn on it.
void BuildGlyphLayer(const TGlyphViewport& View, const TGlyphViewOptions& Options, const TGlyphViewScene& Scene,
                     const TViewPalette& Palette, TDisplayList& Out);

// The device mapping of outline drawing for the current view.
TDeviceMapping OutlineMapping(const TGlyphViewport& View);

// Screen rectangle (right/bottom exclusive) an image of Width x Height pixels
// covers when its lower-left corner sits at (X, Y) font units with Scale
// font units per image pixel.
TIntRect BackgroundImageRect(const TGlyphViewport& View, int X, int Y, double Scale, int Width, int Height);

// A diagonal guideline's infinite line cut to the paint box; an end that
// cannot be computed is (0, 0).
std::pair<TIntPoint, TIntPoint> ClipDiagonal(const TGlyphViewport& View, const TGuidelineDiagonal& D);

// Which guideline is under paint-box pixel (X, Y): horizontal ones first,
// then vertical, then diagonal; 3 pixels either way.
struct TGuidelineHit {
  int Kind = -1;  // gkHorizontal, gkVertical, gkDiagonalAngle (any diagonal); -1 none
  int Index = -1;
  TGuideline* Guideline = nullptr;
};
TGuidelineHit HitTestGuidelines(const TGlyphViewport& View, TGuideLineSettings& Guidelines, int X, int Y);

}  // namespace tsy
