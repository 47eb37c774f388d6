#pragma once
// Points and contours of simple glyphs, and what can be done to them as
// geometry: editing the ring, direction, offsetting edges, comparison,
// normalising and a plain-text dump.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/numeric.h"

namespace tsy {

struct TTrueTypePoint {
  double X = 0, Y = 0;
  bool OnCurve = true;  // false: a quadratic off-curve control point
  bool operator==(const TTrueTypePoint&) const = default;
};

// An affine point transform:
//   x' = ScaleX * x + XFromY * y + OffsetX
//   y' = YFromX * x + ScaleY * y + OffsetY
// A full 2x2 matrix, so composite members that shear or rotate by any angle
// are placed exactly as the glyph record says.
struct TOutlineTransform {
  double OffsetX = 0, OffsetY = 0, ScaleX = 1, ScaleY = 1, YFromX = 0, XFromY = 0;

  TRealPoint Apply(double X, double Y) const {
    return {ScaleX * X + XFromY * Y + OffsetX, YFromX * X + ScaleY * Y + OffsetY};
  }
  // This transform applied after Inner.
  TOutlineTransform Compose(const TOutlineTransform& Inner) const;
  bool IsIdentity() const {
    return OffsetX == 0 && OffsetY == 0 && ScaleX == 1 && ScaleY == 1 && YFromX == 0 && XFromY == 0;
  }
};

// A closed contour: the last point connects back to the first.
class TContour {
public:
  std::vector<TTrueTypePoint> Points;

  size_t Count() const { return Points.size(); }
  bool operator==(const TContour&) const = default;

  void AddPoint(const TTrueTypePoint& P) { Points.push_back(P); }
  void InsertPoint(size_t Index, const TTrueTypePoint& P);
  void DeletePoint(size_t Index);
  void Clear() { Points.clear(); }
  void Reverse();
  // Moves the first point to the end Count times.
  void RotateStart(int Count);
  void Scale(double Factor);
  void Transform(const TOutlineTransform& T);
  // Extents of all points, control points included; zeros when empty.
  TFloatRect GetPointBounds() const;
  // About +360 for a clockwise ring (y up), -360 counter-clockwise.
  double GetDirection() const;
  // Moves every edge sideways by whole font units.
  void Offset(int AmountX, int AmountY);
  // The same ring, from any start point, in either direction.
  bool IsEqual(const TContour& Other) const;
  // Rounds the coordinates and makes implied on-curve points explicit.
  void Normalize();
  void StartOnCurve();
  std::string Describe() const;

  static double GetBearing(TRealPoint A, TRealPoint B);
  static double GetTurn(TRealPoint A, TRealPoint B, TRealPoint C);
  // The implied on-curve point between two off-curve points.
  static TTrueTypePoint GetMidpoint(const TTrueTypePoint& A, const TTrueTypePoint& B);
  static void SetToMidpoint(const TTrueTypePoint& A, const TTrueTypePoint& B, TTrueTypePoint& Target);
};

using TOutlineContours = std::vector<TContour>;

void ScaleContours(TOutlineContours& Contours, double Factor);
void TransformContours(TOutlineContours& Contours, const TOutlineTransform& T);
TFloatRect GetPointBounds(const TOutlineContours& Contours);
void NormalizeAll(TOutlineContours& Contours);
void StartAllOnCurve(TOutlineContours& Contours);
void OffsetAll(TOutlineContours& Contours, int AmountX, int AmountY);
std::string DescribeContours(const TOutlineContours& Contours);

// Where the infinite lines through (A1, A2) and (B1, B2) meet, by the rules
// the problem tests rely on; nothing when they do not.
std::optional<TRealPoint> LineIntersection(TRealPoint A1, TRealPoint A2, TRealPoint B1, TRealPoint B2);

}  // namespace tsy
