#pragma once
// Quadratic outlines in font units become integer polygons in device pixels:
// the mapping, adaptive flattening of curves, and the exact extents of drawn
// curves. Painting the polygons is the user interface's business.
#include <cstdint>
#include <vector>

#include "common/numeric.h"
#include "outline/contour.h"

namespace tsy {

// Font units to device pixels, y growing downward on the device.
struct TDeviceMapping {
  int32_t OriginX = 0, OriginY = 0;
  double Zoom = 1;
  int32_t OffsetX = 0, OffsetY = 0;  // font units, applied before zooming
  double ScaleX = 1, ScaleY = 1, YFromX = 0, XFromY = 0;

  // The device position of a font point (unrounded); with KeepFractions false
  // the font point is rounded to whole units first.
  TRealPoint Map(double X, double Y, bool KeepFractions) const;
};

class TPolyPolyGon {
public:
  bool KeepFractions = false;
  TDeviceMapping Mapping;

  std::vector<TIntPoint> Points;
  std::vector<int> PolygonCounts;

  void Reset();
  int PointCount() const { return int(Points.size()); }
  int PolygonCount() const { return int(PolygonCounts.size()); }
  // Appends the polygon of one contour; fewer than two vertices add nothing.
  void AddContour(const TContour& Contour);
  void AddContours(const TOutlineContours& Contours);
  // Repeats the first point at the end of the last polygon.
  void ClosePolygon();
  // The first polygon's points.
  std::vector<TIntPoint> FirstPolygon() const;
  // The extents of the drawn contour in font units.
  TFloatRect GetCurveBounds(const TContour& Contour);

private:
  enum class TMode { Polygon, Bounds };
  void Walk(const TContour& Contour, TMode Mode);
  void LineTo(const TTrueTypePoint& P);
  void CurveTo(const TTrueTypePoint& Q, const TTrueTypePoint& P);
  void Visit(TRealPoint Device);
  void Subdivide(TRealPoint S, TRealPoint C, TRealPoint E, double T, double Step, TRealPoint Lower, TRealPoint Upper,
                 int Depth);
  void SubdivideBounds(TRealPoint S, TRealPoint C, TRealPoint E, double T0, double T1, TRealPoint A, TRealPoint B,
                       int Depth);

  TMode FMode = TMode::Polygon;
  TRealPoint FPen;  // font units
  int FCurrentCount = 0;
  bool FBoundsEmpty = true;
  double FMinX = 0, FMaxX = 0, FMinY = 0, FMaxY = 0;
};

// Union of the contours' curve bounds, starting from contour 0.
TFloatRect GetCurveBounds(const TOutlineContours& Contours);

}  // namespace tsy
