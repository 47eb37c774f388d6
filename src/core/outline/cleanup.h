#pragma once
// Clean-up operations: the repairs of the problems the glyph tests find.
// Each works on one glyph of the outline list, answers false and changes
// nothing when the glyph is not of the kind it applies to, and otherwise
// returns whether it changed the glyph. The caller recomputes the bounds and
// drops the glyph's instructions when it changed.
#include "outline/fontoutlines.h"

namespace tsy {

// Splits curves at their extremes so that each extreme is an on-curve point
// (Local false: only extremes on the outside of the glyph). Rounds every
// coordinate of the glyph even when it adds nothing; reports a change when
// an extreme was found or a point count changed.
bool AddOnCurveExtremes(TFontOutlines& Outlines, int Index, bool Local);
// Deletes the points FindRedundantPoints selects, never a contour's last one.
bool RemoveRedundantPoints(TFontOutlines& Outlines, int Index, bool DiagonalOnCurve, double MaxOffCurveDistance,
                           double MaxOnCurveDistance, bool DiagonalOffCurve);
// Deletes contours that repeat an earlier one.
bool RemoveDuplicateContours(TFontOutlines& Outlines, int Index);
// Deletes contours of two points or fewer; a glyph left without contours
// becomes an empty glyph.
bool RemoveSmallContours(TFontOutlines& Outlines, int Index);
// Deletes members equal to an earlier member.
bool RemoveDuplicateComponents(TFontOutlines& Outlines, int Index);
// Deletes members whose glyph is empty; a composite left without members
// becomes an empty glyph.
bool RemoveEmptyComponents(TFontOutlines& Outlines, int Index);
// Reverses contours that run the wrong way, leaving alone those that cross
// themselves or others, reuse coordinates or duplicate each other.
bool CorrectDirections(TFontOutlines& Outlines, int Index);

}  // namespace tsy
