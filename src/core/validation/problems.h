#pragma once
// The glyph problem queries. Each runs on one outline, never changes it, adds
// what it finds to the given selections (and positions, and text lines where
// asked), and returns true when it found something. A query for another kind
// of outline answers false.
#include <string>
#include <vector>

#include "outline/containers.h"
#include "outline/outline.h"
#include "outline/selections.h"

namespace tsy {

using TStringLines = std::vector<std::string>;

// Members equal to an earlier member in glyph, placement and anchors.
bool FindDuplicateComponents(const TOutlineBase& Outline, TGlyphSelection& Selection);
// Members whose glyph is empty.
bool FindEmptyComponents(const TOutlineBase& Outline, TGlyphSelection& Selection);
// Contours that repeat an earlier one (any start point, either direction);
// only the later one is selected.
bool FindDuplicateContours(const TOutlineBase& Outline, TContourSelection& Selection);
// Contours with two points or fewer.
bool FindSmallContours(const TOutlineBase& Outline, TContourSelection& Selection);
// Off-curve points whose curve has an extreme between its ends. Local false:
// only extremes on the outside of the glyph count. For composites the members
// with findings are selected.
bool FindOffCurveExtremes(const TOutlineBase& Outline, TGlyphSelection& Selection, TCoordinateList& Coordinates,
                          bool Local);
// Points that can go without changing the drawn outline: on straight runs,
// coinciding, or (with the diagonal switches) within the given distance of
// the line their neighbours span. The selection ends sorted.
bool FindRedundantPoints(const TOutlineBase& Outline, TPointSelection& Selection, bool DiagonalOnCurve,
                         double MaxOffCurveDistance, double MaxOnCurveDistance, bool DiagonalOffCurve);
// Off-curve points that coincide with a neighbour.
bool FindDuplicateKnots(const TOutlineBase& Outline, TPointSelection& Selection, TStringLines* Lines);
// Contours that cross themselves or reuse a coordinate (Self), and pairs of
// contours that cross or are identical (Pairs). Identical contours alone do
// not make the answer true.
bool FindIntersections(const TOutlineBase& Outline, TContourSelection& Self, TContourSelection& Pairs,
                       TStringLines* Lines, TCoordinateList* Coordinates);
// Members whose contours cross the contours of another member.
bool FindIntersectingComponents(const TOutlineBase& Outline, TGlyphSelection& Selection,
                                TCoordinateList* Coordinates, TStringLines* Lines);
// Contours that run the wrong way for their nesting depth (outer contours
// clockwise, holes counter-clockwise), and pairs that overlap partly.
bool FindWrongDirections(const TOutlineBase& Outline, TContourSelection& Wrong, TContourSelection& Overlap);

// The same searches on a bare contour list, for callers that hold contours
// rather than an outline (flattened members, working copies).
bool FindRedundantPoints(const TOutlineContours& Contours, TPointSelection& Selection, bool DiagonalOnCurve,
                         double MaxOffCurveDistance, double MaxOnCurveDistance, bool DiagonalOffCurve);
// Deletes the selected points from the last to the first, keeping at least
// one point in every contour; returns whether any point went.
bool DeleteSelectedPoints(TOutlineContours& Contours, TPointSelection Selection);

}  // namespace tsy
