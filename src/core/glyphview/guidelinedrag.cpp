#include "glyphview/guidelinedrag.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "fontfile/fontexception.h"
#include "document/editwindowlist.h"
#include "glyphview/layers.h"
#include "outline/outline.h"
#include "outline/selections.h"

namespace tsy {

namespace {
double RoundedY(const TGlyphViewport& V, int Y) { return RoundHalfUp(V.ScreenToFontY(Y)); }
double RoundedX(const TGlyphViewport& V, int X) { return RoundHalfUp(V.ScreenToFontX(X)); }
}  // namespace

bool TGuidelineDrag::Press(const TGlyphViewport& View, int X, int Y, bool Shift, bool Ctrl) {
  const TGuidelineHit hit = HitTestGuidelines(View, FGuidelines, X, Y);
  if (!hit.Guideline) return false;
  const bool turn = Shift && !Ctrl;
  FPressed = hit.Guideline;
  FPressX = FMouseX = X;
  FPressY = FMouseY = Y;
  FStatus.clear();
  switch (hit.Kind) {
    case gkHorizontal: FState = turn ? HorizontalTurnPressed : HorizontalPressed; break;
    case gkVertical: FState = turn ? VerticalTurnPressed : VerticalPressed; break;
    default: {
      FState = turn ? DiagonalTurnPressed : DiagonalPressed;
      const auto& d = static_cast<const TGuidelineDiagonal&>(*hit.Guideline);
      FPoint = ToRealPoint(d.Point1);
      FAngle = d.GetAngle();
    }
  }
  return true;
}

void TGuidelineDrag::PressRuler(bool HorizontalRuler) {
  FPressed = nullptr;
  FStatus.clear();
  FState = HorizontalRuler ? NewHorizontal : NewVertical;
  FMouseX = FMouseY = -1;  // nothing shows until the mouse moves
}

void TGuidelineDrag::StartTurn(const TGlyphViewport& View) {
  const int cx = View.Width() / 2, cy = View.Height() / 2;
  if (FState == HorizontalTurnPressed) {
    FPoint = {View.ScreenToFontX(cx), double(static_cast<TGuidelineHorizontal*>(FPressed)->Y)};
    FAngle = 0;
  } else if (FState == VerticalTurnPressed) {
    FPoint = {double(static_cast<TGuidelineVertical*>(FPressed)->X), View.ScreenToFontY(cy)};
    FAngle = 90;
  } else {
    // Pivot where the line crosses the window's middle lines, whichever
    // crossing lies nearer the centre.
    const auto& d = static_cast<const TGuidelineDiagonal&>(*FPressed);
    const auto onRow = CrossHorizontal(d, View.ScreenToFontY(cy));
    const auto onColumn = CrossVertical(d, View.ScreenToFontX(cx));
    double rowDistance = INFINITY, columnDistance = INFINITY;
    try {
      if (onRow) rowDistance = std::fabs(View.FontToScreenX(onRow->X) - cx);
      if (onColumn) columnDistance = std::fabs(View.FontToScreenY(onColumn->Y) - cy);
    } catch (const ERangeError&) {
      // a crossing beyond 32-bit pixels is simply far away
    }
    if (onRow && (rowDistance <= columnDistance || !onColumn))
      FPoint = *onRow;
    else if (onColumn)
      FPoint = *onColumn;
    else
      FPoint = ToRealPoint(d.Point1);
    FAngle = d.GetAngle();
  }
  FState = Turning;
}

void TGuidelineDrag::UpdateTurn(const TGlyphViewport& View, int X, int Y) {
  const TRealPoint pivot{double(RoundHalfUp(FPoint.X)), double(RoundHalfUp(FPoint.Y))};
  const TRealPoint mouse{RoundedX(View, X), RoundedY(View, Y)};
  if (pivot == mouse) return;  // no direction yet
  const double screenDegrees = ScreenAngle(pivot, mouse) * 360 / (2 * std::numbers::pi);
  FAngle = 90 - screenDegrees;
  if (FAngle < 0) FAngle += 360;
  FStatus = Format("Diagonal guideline: point 1 (%d, %d) angle %1.3f degrees", int(pivot.X), int(pivot.Y),
                   screenDegrees);
}

void TGuidelineDrag::Move(const TGlyphViewport& View, int X, int Y, int DragDistance) {
  FMouseX = X;
  FMouseY = Y;
  const bool farEnough = std::abs(X - FPressX) + std::abs(Y - FPressY) >= DragDistance;
  switch (FState) {
    case HorizontalPressed:
      if (farEnough) FState = HorizontalMoving;
      break;
    case VerticalPressed:
      if (farEnough) FState = VerticalMoving;
      break;
    case DiagonalPressed:
      if (farEnough) FState = DiagonalMoving;
      break;
    case HorizontalTurnPressed:
    case VerticalTurnPressed:
    case DiagonalTurnPressed:
      if (farEnough) StartTurn(View);
      break;
    default: break;
  }
  if (FState == DiagonalMoving) FPoint = {RoundedX(View, X), RoundedY(View, Y)};
  if (FState == Turning) UpdateTurn(View, X, Y);
}

const TGuideline* TGuidelineDrag::Hidden(bool Ctrl) const {
  if (FState == Turning) return FPressed;
  if ((FState == HorizontalMoving || FState == VerticalMoving || FState == DiagonalMoving) && !Ctrl) return FPressed;
  return nullptr;
}

std::optional<std::pair<TIntPoint, TIntPoint>> TGuidelineDrag::Feedback(const TGlyphViewport& View) const {
  const int w = View.Width(), h = View.Height();
  switch (FState) {
    case NewHorizontal:
    case HorizontalMoving: {
      if (FState == NewHorizontal && FMouseY < 0) return std::nullopt;
      const int y = View.FontToScreenY(RoundedY(View, FMouseY));
      return std::pair{TIntPoint{0, y}, TIntPoint{w - 1, y}};
    }
    case NewVertical:
    case VerticalMoving: {
      if (FState == NewVertical && FMouseX < 0) return std::nullopt;
      const int x = View.FontToScreenX(RoundedX(View, FMouseX));
      return std::pair{TIntPoint{x, 0}, TIntPoint{x, h - 1}};
    }
    case DiagonalMoving:
    case Turning: {
      const TGuidelineDiagonal working({RoundHalfUp(FPoint.X), RoundHalfUp(FPoint.Y)}, {}, gkDiagonalAngle, FAngle);
      return ClipDiagonal(View, working);
    }
    default: return std::nullopt;
  }
}

bool TGuidelineDrag::Release(const TGlyphViewport& View, int X, int Y, bool Ctrl) {
  Move(View, X, Y, INT32_MAX);  // the last position counts, without starting a drag
  const TState state = FState;
  TGuideline* pressed = FPressed;
  FState = None;
  FPressed = nullptr;
  FStatus.clear();
  const bool insideX = X >= 0 && X < View.Width(), insideY = Y >= 0 && Y < View.Height();
  const int px = View.FontToScreenX(RoundedX(View, X)), py = View.FontToScreenY(RoundedY(View, Y));
  switch (state) {
    case HorizontalMoving:
      if (!Ctrl) FGuidelines.RemoveGuideline(pressed);
      if (insideX && insideY) FGuidelines.Horizontal.Add(RoundedY(View, Y));
      return true;
    case VerticalMoving:
      if (!Ctrl) FGuidelines.RemoveGuideline(pressed);
      if (insideX && insideY) FGuidelines.Vertical.Add(RoundedX(View, X));
      return true;
    case DiagonalMoving:
      if (!Ctrl) FGuidelines.RemoveGuideline(pressed);
      if (insideX && insideY)
        FGuidelines.Diagonal.Add({RoundHalfUp(FPoint.X), RoundHalfUp(FPoint.Y)}, {}, gkDiagonalAngle, FAngle);
      return true;
    case Turning:
      // The turned guideline replaces the pressed one only now.
      FGuidelines.RemoveGuideline(pressed);
      FGuidelines.Diagonal.Add({RoundHalfUp(FPoint.X), RoundHalfUp(FPoint.Y)}, {}, gkDiagonalAngle, FAngle);
      return true;
    case NewHorizontal:
      if (py >= 0 && py < View.Height()) FGuidelines.Horizontal.Add(RoundedY(View, Y));
      return py >= 0 && py < View.Height();
    case NewVertical:
      if (px >= 0 && px < View.Width()) FGuidelines.Vertical.Add(RoundedX(View, X));
      return px >= 0 && px < View.Width();
    default: return false;  // a press without a drag
  }
}

int AddGuidelinesFromSelection(TGuideLineSettings& G, const TOutlineBase& Outline, uint8_t EditMode,
                               const TPointSelection& Points, const TFloatRect& SelectionFrame,
                               const TFloatRect& MemberFrame) {
  auto sides = [&](const TFloatRect& F) {
    G.Vertical.Add(F.XMin);
    G.Horizontal.Add(F.YMin);
    G.Vertical.Add(F.XMax);
    G.Horizontal.Add(F.YMax);
    return 4;
  };
  if (Outline.GetKind() == okComposite) return sides(MemberFrame);
  if (Outline.GetKind() != okSimple) return 0;
  if (EditMode != emPoint) return sides(SelectionFrame);
  const auto& simple = static_cast<const TOutlineSimple&>(Outline);
  std::vector<TIntPoint> picked;
  for (int i = 0; i < Points.Count(); ++i) {
    const TPointSelectionItem& it = Points.Items(i);
    if (it.Contour < 0 || size_t(it.Contour) >= simple.Contours.size()) return 0;
    const auto& pts = simple.Contours[size_t(it.Contour)].Points;
    if (it.Point < 0 || size_t(it.Point) >= pts.size()) return 0;
    picked.push_back({RoundHalfUp(pts[size_t(it.Point)].X), RoundHalfUp(pts[size_t(it.Point)].Y)});
  }
  if (picked.size() == 1) {
    G.Vertical.Add(picked[0].X);
    G.Horizontal.Add(picked[0].Y);
    return 2;
  }
  if (picked.size() != 2) return 0;
  if (picked[0].X == picked[1].X) {
    G.Vertical.Add(picked[0].X);
  } else if (picked[0].Y == picked[1].Y) {
    G.Horizontal.Add(picked[0].Y);
  } else {
    G.Diagonal.Add(picked[0], picked[1], gkDiagonalPoints, 0);
  }
  return 1;
}

}  // namespace tsy
