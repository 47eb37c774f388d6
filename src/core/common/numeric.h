#pragma once
// Numeric and geometric helpers shared by the font model, the outline code,
// editing and the automatic tools.
#include <cstdint>
#include <string>

namespace tsy {

struct TIntPoint {
  int32_t X = 0, Y = 0;
  bool operator==(const TIntPoint&) const = default;
};

struct TRealPoint {
  double X = 0, Y = 0;
  bool operator==(const TRealPoint&) const = default;
};

struct TIntRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TIntRect&) const = default;
};

struct TFloatRect {
  double XMin = 0, YMin = 0, XMax = 0, YMax = 0;
  bool operator==(const TFloatRect&) const = default;
};

// The nearest integer, exact halves toward +infinity, after snapping X to four
// decimals so that 2.49996 counts as 2.5. Every real-to-font-integer
// conversion goes through here. Results outside 32 bits are a range error.
int32_t RoundHalfUp(double X);

// Direction of P1->P2 in radians, from +y toward +x, in -pi/2 .. 3pi/2.
double DirectionAngle(TIntPoint P1, TIntPoint P2);
// Turn at P1 in degrees, in (-180, 180].
double TurnAngle(TRealPoint P0, TRealPoint P1, TRealPoint P2);

struct TLineCoefficients {
  bool Vertical = false;
  double Slope = 0, Intercept = 0;  // unset when Vertical
};
TLineCoefficients LineCoefficients(TRealPoint A, TRealPoint B);

inline TRealPoint ToRealPoint(TIntPoint P) { return {double(P.X), double(P.Y)}; }
TIntPoint ToIntPoint(TRealPoint P);
inline TFloatRect ToFloatRect(const TIntRect& R) {
  return {double(R.Left), double(R.Top), double(R.Right), double(R.Bottom)};
}
TIntRect ToIntRect(const TFloatRect& R);

// Colours as 0x00BBGGRR.
using TColor = uint32_t;
TColor MixColors(TColor C1, TColor C2);

// Returns the part of Text before the first Separator and leaves the rest in
// Text; without Separator returns all of Text and leaves it empty.
std::string SplitAtFirst(std::string& Text, const std::string& Separator);

}  // namespace tsy

namespace tsy {
// The direction from P to Q in radians for pixel-like points (y growing
// downward): 0 straight down the y axis, growing counter-clockwise on screen;
// in [-pi/2, 3pi/2). Applied to font units it gives the clockwise angle from
// straight up.
double ScreenAngle(TRealPoint P, TRealPoint Q);
}  // namespace tsy
