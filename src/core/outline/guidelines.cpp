#include "outline/guidelines.h"

#include <cmath>
#include <filesystem>
#include <numbers>
#include <stdexcept>

#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"

namespace tsy {

std::string TGuidelineHorizontal::GetDescription() const { return Format("Horizontal: Y = %d", Y); }

std::string TGuidelineVertical::GetDescription() const { return Format("Vertical: X = %d", X); }

std::string TGuidelineDiagonal::GetDescription() const {
  switch (Kind) {
    case gkDiagonalAngle: return Format("Diagonal: point(%d, %d) angle(%1.3f)", Point1.X, Point1.Y, Angle);
    case gkDiagonalPoints:
      return Format("Diagonal: point1(%d, %d) point2(%d, %d)", Point1.X, Point1.Y, Point2.X, Point2.Y);
    default: return "Unknown guideline";
  }
}

double TGuidelineDiagonal::GetAngle() const {
  double a = Kind == gkDiagonalPoints
                 ? 90 - ScreenAngle(ToRealPoint(Point1), ToRealPoint(Point2)) * 360 / (2 * std::numbers::pi)
                 : Angle;
  if (a < 0) a += 360;
  return a;
}

TRealPoint TGuidelineDiagonal::SecondPoint() const {
  if (Kind == gkDiagonalPoints) return ToRealPoint(Point2);
  const double a = GetAngle() * std::numbers::pi / 180;
  double c = std::cos(a), s = std::sin(a);
  if (std::fabs(c) < 0.00001) c = 0;
  if (std::fabs(s) < 0.00001) s = 0;
  return {Point1.X + c, Point1.Y + s};
}

int TGuidelinesHorizontal::HitTest(double Top, double Bottom) const {
  for (size_t i = Count(); i-- > 0;)
    if (Bottom < Items(i).Y && Items(i).Y < Top) return int(i);
  return -1;
}

int TGuidelinesVertical::HitTest(double Right, double Left) const {
  for (size_t i = Count(); i-- > 0;)
    if (Left < Items(i).X && Items(i).X < Right) return int(i);
  return -1;
}

double DistanceToLine(const TGuidelineDiagonal& D, TRealPoint P) {
  const TRealPoint a = ToRealPoint(D.Point1), b = D.SecondPoint();
  const double len = std::hypot(b.X - a.X, b.Y - a.Y);
  if (len == 0) return std::hypot(P.X - a.X, P.Y - a.Y);
  return std::fabs((b.X - a.X) * (a.Y - P.Y) - (a.X - P.X) * (b.Y - a.Y)) / len;
}

int TGuidelinesDiagonal::HitTest(TRealPoint P, double Tolerance) const {
  for (size_t i = 0; i < Count(); ++i)
    if (DistanceToLine(Items(i), P) < Tolerance) return int(i);
  return -1;
}

std::optional<TRealPoint> CrossVertical(const TGuidelineDiagonal& D, double X) {
  const TRealPoint a = ToRealPoint(D.Point1), b = D.SecondPoint();
  if (a.X == b.X) return std::nullopt;
  return TRealPoint{X, a.Y + (X - a.X) * (b.Y - a.Y) / (b.X - a.X)};
}

std::optional<TRealPoint> CrossHorizontal(const TGuidelineDiagonal& D, double Y) {
  const TRealPoint a = ToRealPoint(D.Point1), b = D.SecondPoint();
  if (a.Y == b.Y) return std::nullopt;
  return TRealPoint{a.X + (Y - a.Y) * (b.X - a.X) / (b.Y - a.Y), Y};
}

TRealPoint PerpendicularFoot(const TGuidelineDiagonal& D, TRealPoint P) {
  const TRealPoint a = ToRealPoint(D.Point1), b = D.SecondPoint();
  const double dx = b.X - a.X, dy = b.Y - a.Y, len2 = dx * dx + dy * dy;
  if (len2 == 0) return a;
  const double t = ((P.X - a.X) * dx + (P.Y - a.Y) * dy) / len2;
  return {a.X + t * dx, a.Y + t * dy};
}

TGuideLineSettings* TGuideLineSettings::AccessInstance(int Request) {
  static std::unique_ptr<TGuideLineSettings> instance;
  switch (Request) {
    case 0: return instance.get();
    case 1:
      if (!instance) instance.reset(new TGuideLineSettings);
      return instance.get();
    case 2: instance.reset(); return nullptr;
    default: throw std::invalid_argument(Format("Illegal request %d in AccessInstance", Request));
  }
}

void TGuideLineSettings::ClearAll() {
  Horizontal.Clear();
  Vertical.Clear();
  Diagonal.Clear();
}

bool TGuideLineSettings::RemoveGuideline(const TGuideline* G) {
  return Horizontal.Remove(G) || Vertical.Remove(G) || Diagonal.Remove(G);
}

void TGuideLineSettings::LoadFromStream(TStream& S) {
  ClearAll();
  auto readCoordinate = [&](std::optional<int32_t>& Out) {
    const double v = ReadDouble(S);
    // Coordinates beyond the 16-bit design space are damage, not guidelines.
    if (std::isfinite(v) && std::fabs(v) <= 1e6) Out = RoundHalfUp(v);
  };
  const uint16_t nh = ReadUInt16(S);
  for (uint16_t i = 0; i < nh && S.Remaining() >= 8; ++i) {
    std::optional<int32_t> y;
    readCoordinate(y);
    if (y) Horizontal.Append(std::make_unique<TGuidelineHorizontal>(*y));
  }
  if (S.Remaining() < 2) return;
  const uint16_t nv = ReadUInt16(S);
  for (uint16_t i = 0; i < nv && S.Remaining() >= 8; ++i) {
    std::optional<int32_t> x;
    readCoordinate(x);
    if (x) Vertical.Append(std::make_unique<TGuidelineVertical>(*x));
  }
  if (S.Remaining() < 2) return;
  const uint16_t nd = ReadUInt16(S);
  for (uint16_t i = 0; i < nd && S.Remaining() >= 5 * 8 + 4; ++i) {
    std::optional<int32_t> x1, y1, x2, y2;
    readCoordinate(x1);
    readCoordinate(y1);
    readCoordinate(x2);
    readCoordinate(y2);
    const double angle = ReadDouble(S);
    const uint32_t kind = ReadUInt32(S);
    if (!x1 || !y1 || !x2 || !y2 || !std::isfinite(angle)) continue;
    if (kind != gkDiagonalAngle && kind != gkDiagonalPoints) continue;
    if (kind == gkDiagonalPoints && *x1 == *x2 && *y1 == *y2) continue;
    Diagonal.Add({*x1, *y1}, {*x2, *y2}, uint8_t(kind), angle);
  }
}

void TGuideLineSettings::SaveToStream(TStream& S) const {
  auto count = [](size_t n) {
    if (n > 65535) throw ERangeError(Format("%zu guidelines do not fit the guidelines file", n));
    return uint16_t(n);
  };
  WriteUInt16(S, count(Horizontal.Count()));
  for (size_t i = 0; i < Horizontal.Count(); ++i) WriteDouble(S, Horizontal.Items(i).Y);
  WriteUInt16(S, count(Vertical.Count()));
  for (size_t i = 0; i < Vertical.Count(); ++i) WriteDouble(S, Vertical.Items(i).X);
  // A diagonal that names no line is left out rather than written as
  // something the next start would have to skip.
  auto writable = [](const TGuidelineDiagonal& d) {
    if (d.Kind == gkDiagonalPoints) return !(d.Point1 == d.Point2);
    return d.Kind == gkDiagonalAngle && std::isfinite(d.Angle);
  };
  size_t n = 0;
  for (size_t i = 0; i < Diagonal.Count(); ++i) n += writable(Diagonal.Items(i));
  WriteUInt16(S, count(n));
  for (size_t i = 0; i < Diagonal.Count(); ++i) {
    const TGuidelineDiagonal& d = Diagonal.Items(i);
    if (!writable(d)) continue;
    WriteDouble(S, d.Point1.X);
    WriteDouble(S, d.Point1.Y);
    WriteDouble(S, d.Point2.X);
    WriteDouble(S, d.Point2.Y);
    WriteDouble(S, d.GetAngle());
    WriteUInt32(S, d.Kind);
  }
}

bool TGuideLineSettings::LoadFromFile(const std::string& FileName) {
  FLoadFailed = false;
  FFailedFile.clear();
  std::error_code ec;
  if (!std::filesystem::exists(FileName, ec)) {
    ClearAll();
    return true;
  }
  try {
    TReadOnlyStream s(ReadWholeFile(FileName));
    LoadFromStream(s);
    return true;
  } catch (const std::exception&) {
    ClearAll();
    FLoadFailed = true;
    FFailedFile = FileName;
    return false;
  }
}

bool TGuideLineSettings::SaveToFile(const std::string& FileName) const {
  if (FLoadFailed && FileName == FFailedFile) return false;
  try {
    TMemoryStream m;
    SaveToStream(m);
    WriteFileAtomically(FileName, m.Bytes());
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace tsy
