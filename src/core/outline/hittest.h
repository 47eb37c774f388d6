#pragma once
// Hit tests and area selections of the glyph edit window, on top of the
// polygon geometry and pixel regions. Each returns true when it selected
// anything; results are added to the given selection.
#include "outline/outline.h"
#include "outline/polypolygon.h"
#include "outline/region.h"
#include "outline/selections.h"

namespace tsy {

// Rect is in font units with YMax the top; bounds inclusive, points rounded.
bool SelectPointsInRect(const TOutlineSimple& Outline, const TFloatRect& Rect, TPointSelection& Selection);
// The free-hand lasso: every point inside the given contour's area.
bool SelectPointsInContourArea(const TOutlineSimple& Outline, const TContour& Lasso, TPointSelection& Selection);
// Every contour whose area holds the device point, innermost first.
bool HitTestContours(const TOutlineSimple& Outline, TIntPoint Origin, double Zoom, TIntPoint DevicePoint,
                     TContourSelection& Selection);
bool SelectContoursInRect(const TOutlineSimple& Outline, const TFloatRect& Rect, TContourSelection& Selection);
bool SelectContoursInside(const TOutlineSimple& Outline, const TContour& Contour, TContourSelection& Selection);
bool AllContoursInside(const TOutlineSimple& Outline, const TContour& Contour);

bool HitTestMembers(const TOutlineComposite& Outline, TIntPoint Origin, double Zoom, TIntPoint DevicePoint,
                    TGlyphSelection& Selection);
bool SelectMembersInRect(const TOutlineComposite& Outline, const TFloatRect& Rect, TGlyphSelection& Selection);
bool SelectMembersInside(const TOutlineComposite& Outline, const TContour& Contour, TGlyphSelection& Selection);

// The region of one contour's polygon (alternate fill) under a mapping;
// empty when the polygon has fewer than three vertices.
TRegion ContourRegion(const TContour& Contour, const TDeviceMapping& Mapping);
// The identity mapping with y kept upward, as the area tests use it.
TDeviceMapping FontUnitMapping();

}  // namespace tsy

namespace tsy {

// What the drawing entry points paint: device polygons, filled with the
// nonzero winding rule so holes of counter-running contours stay open.
// A composite is flattened first with the identity transform.
void BuildOutlinePolygons(const TOutlineBase& Outline, const TDeviceMapping& Mapping, TPolyPolyGon& Target);
void BuildContourPolygon(const TOutlineSimple& Outline, size_t Contour, const TDeviceMapping& Mapping,
                         TPolyPolyGon& Target);
void BuildMemberPolygons(const TOutlineComposite& Outline, size_t Member, const TDeviceMapping& Mapping,
                         TPolyPolyGon& Target);
// The open polyline of a contour (no closing edge), or empty unless the
// contour yields exactly one polygon of more than one vertex.
std::vector<TIntPoint> ContourOutlinePolyline(const TContour& Contour, const TDeviceMapping& Mapping);

}  // namespace tsy
