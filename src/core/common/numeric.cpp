#include "common/numeric.h"

#include <cmath>
#include <numbers>

#include "fontfile/fontexception.h"

namespace tsy {

int32_t RoundHalfUp(double X) {
  // Nearly every coordinate is already whole: no rounding to do.
  if (X >= -2147483648.0 && X <= 2147483647.0) {
    const int32_t whole = int32_t(X);
    if (double(whole) == X) return whole;
  }
  double result;
  const double scaled = X * 10000.0;
  if (std::isfinite(scaled) && std::fabs(scaled) < 9.0e18) {
    const int64_t r = int64_t(std::nearbyint(scaled));  // halves to even
    // floor((r + 5000) / 10000) in integers
    const int64_t n = r + 5000;
    int64_t q = n / 10000;
    if (n % 10000 != 0 && n < 0) --q;
    result = double(q);
  } else {
    result = std::nearbyint(X);
  }
  if (!(result >= -2147483648.0 && result <= 2147483647.0))
    throw ERangeError(Format("%g does not fit a 32-bit integer", X));
  return int32_t(result);
}

double DirectionAngle(TIntPoint P1, TIntPoint P2) {
  const double dx = double(P2.X) - P1.X, dy = double(P2.Y) - P1.Y;
  if (dx == 0 && dy == 0) return 0;
  if (dy != 0) {
    double a = std::atan(dx / dy);
    if (dy < 0) a += std::numbers::pi;
    return a;
  }
  return dx > 0 ? std::numbers::pi / 2 : 3 * std::numbers::pi / 2;
}

double TurnAngle(TRealPoint P0, TRealPoint P1, TRealPoint P2) {
  const double rad = 180.0 / std::numbers::pi;
  double a = (std::atan2(P2.Y - P1.Y, P2.X - P1.X) - std::atan2(P1.Y - P0.Y, P1.X - P0.X)) * rad;
  while (a <= -180.0) a += 360.0;
  while (a > 180.0) a -= 360.0;
  return a;
}

TLineCoefficients LineCoefficients(TRealPoint A, TRealPoint B) {
  TLineCoefficients c;
  if (A.X == B.X) {
    c.Vertical = true;
    return c;
  }
  c.Slope = (B.Y - A.Y) / (B.X - A.X);
  c.Intercept = A.Y - A.X * c.Slope;
  return c;
}

TIntPoint ToIntPoint(TRealPoint P) { return {RoundHalfUp(P.X), RoundHalfUp(P.Y)}; }

TIntRect ToIntRect(const TFloatRect& R) {
  return {RoundHalfUp(R.XMin), RoundHalfUp(R.YMin), RoundHalfUp(R.XMax), RoundHalfUp(R.YMax)};
}

TColor MixColors(TColor C1, TColor C2) {
  TColor out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint32_t a = (C1 >> shift) & 0xFF, b = (C2 >> shift) & 0xFF;
    out |= ((a + b) / 2) << shift;
  }
  return out;
}

std::string SplitAtFirst(std::string& Text, const std::string& Separator) {
  const size_t at = Separator.empty() ? std::string::npos : Text.find(Separator);
  if (at == std::string::npos) {
    std::string all = std::move(Text);
    Text.clear();
    return all;
  }
  std::string head = Text.substr(0, at);
  Text.erase(0, at + Separator.size());
  return head;
}

}  // namespace tsy

namespace tsy {
double ScreenAngle(TRealPoint P, TRealPoint Q) {
  const double dx = Q.X - P.X, dy = Q.Y - P.Y;
  if (dx == 0 && dy == 0) return 0;
  if (dy == 0) return dx > 0 ? std::numbers::pi / 2 : 3 * std::numbers::pi / 2;
  double a = std::atan(dx / dy);
  if (dy < 0) a += std::numbers::pi;
  return a;
}
}  // namespace tsy
