#pragma once
// Moving, copying, turning and creating guidelines with the mouse. The
// pressed guideline stays in its list until the drag is released, so a drag
// that is cancelled (Esc, a zoom change, losing the window) leaves every
// guideline as it was.
#include <optional>
#include <string>

#include "glyphview/viewport.h"
#include "outline/guidelines.h"

namespace tsy {

class TGuidelineDrag {
public:
  // Interaction states of the edit window that belong to guidelines.
  enum TState : int {
    None = 0,
    DiagonalPressed = 19,
    DiagonalMoving = 20,
    DiagonalTurnPressed = 21,
    Turning = 22,
    NewHorizontal = 23,
    HorizontalPressed = 24,
    HorizontalMoving = 25,
    HorizontalTurnPressed = 26,
    NewVertical = 27,
    VerticalPressed = 28,
    VerticalMoving = 29,
    VerticalTurnPressed = 30,
  };

  explicit TGuidelineDrag(TGuideLineSettings& Guidelines) : FGuidelines(Guidelines) {}

  TState State() const { return FState; }
  bool Active() const { return FState != None; }

  // A press on a guideline at pixel (X, Y); Shift without Ctrl turns it.
  // False when no guideline is there.
  bool Press(const TGlyphViewport& View, int X, int Y, bool Shift, bool Ctrl);
  // A press on a ruler starts a new guideline at once.
  void PressRuler(bool HorizontalRuler);
  // Mouse moves in paint-box pixels; DragDistance is the system's threshold
  // before a press becomes a drag.
  void Move(const TGlyphViewport& View, int X, int Y, int DragDistance);
  // Ends the drag and changes the guidelines; true when they changed. Ctrl
  // keeps the pressed guideline (a copy is added instead).
  bool Release(const TGlyphViewport& View, int X, int Y, bool Ctrl);
  // Cancels: nothing changes.
  void Abort() { FState = None; FPressed = nullptr; }

  // The guideline the working copy stands for while it is dragged (the
  // window does not draw it), or nullptr.
  const TGuideline* Hidden(bool Ctrl) const;
  // The dotted feedback line in pixels, when one shows.
  std::optional<std::pair<TIntPoint, TIntPoint>> Feedback(const TGlyphViewport& View) const;
  // The status text while a guideline turns; empty otherwise.
  std::string StatusText() const { return FStatus; }

  // The working line of a turn or a diagonal move (for tests and snapping).
  TRealPoint WorkingPoint() const { return FPoint; }
  double WorkingAngle() const { return FAngle; }

private:
  void StartTurn(const TGlyphViewport& View);
  void UpdateTurn(const TGlyphViewport& View, int X, int Y);

  TGuideLineSettings& FGuidelines;
  TState FState = None;
  TGuideline* FPressed = nullptr;
  int FPressX = 0, FPressY = 0;
  int FMouseX = 0, FMouseY = 0;
  TRealPoint FPoint;  // diagonal: the working point; turn: the pivot
  double FAngle = 0;
  std::string FStatus;
};

class TOutlineBase;
class TPointSelection;

// Guidelines through what is selected in a glyph (the G key): in point mode
// through one point (a vertical and a horizontal line) or two points (one
// line through both); in contour mode and for composites along the four
// sides of the selection frame (left, bottom, right, top). Returns how many
// were added.
int AddGuidelinesFromSelection(TGuideLineSettings& Guidelines, const TOutlineBase& Outline, uint8_t EditMode,
                               const TPointSelection& Points, const TFloatRect& SelectionFrame,
                               const TFloatRect& MemberFrame);

}  // namespace tsy
