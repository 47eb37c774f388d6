#pragma once
// User-defined guidelines: horizontal, vertical and diagonal lines in font
// units shared by every glyph edit window, kept in "guidelines.dat" between
// runs.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/numeric.h"
#include "fontfile/stream.h"

namespace tsy {

enum TGuidelineKind : uint32_t { gkHorizontal = 0, gkVertical = 1, gkDiagonalAngle = 2, gkDiagonalPoints = 3 };

class TGuideline {
public:
  virtual ~TGuideline() = default;
  virtual std::string GetDescription() const = 0;
};

class TGuidelineHorizontal : public TGuideline {
public:
  explicit TGuidelineHorizontal(int32_t Y) : Y(Y) {}
  std::string GetDescription() const override;
  int32_t Y;
};

class TGuidelineVertical : public TGuideline {
public:
  explicit TGuidelineVertical(int32_t X) : X(X) {}
  std::string GetDescription() const override;
  int32_t X;
};

class TGuidelineDiagonal : public TGuideline {
public:
  TGuidelineDiagonal(TIntPoint P1, TIntPoint P2, uint8_t Kind, double Angle)
      : Point1(P1), Point2(P2), Angle(Angle), Kind(Kind) {}
  std::string GetDescription() const override;
  // Counter-clockwise from +x, in [0, 360).
  double GetAngle() const;
  // A second point on the line (Point2, or one unit along the angle).
  TRealPoint SecondPoint() const;

  TIntPoint Point1, Point2;
  double Angle;
  uint8_t Kind;
};

// An ordered, owning list of guidelines of one class.
template <class T>
class TGuidelineList {
public:
  size_t Count() const { return FItems.size(); }
  T& Items(size_t Index) const { return *FItems.at(Index); }
  void Delete(size_t Index) { FItems.erase(FItems.begin() + long(Index)); }
  bool Remove(const TGuideline* G) {
    for (size_t i = 0; i < FItems.size(); ++i)
      if (FItems[i].get() == G) {
        Delete(i);
        return true;
      }
    return false;
  }
  void Clear() { FItems.clear(); }
  T& Append(std::unique_ptr<T> G) { return *FItems.emplace_back(std::move(G)); }

private:
  std::vector<std::unique_ptr<T>> FItems;
};

class TGuidelinesHorizontal : public TGuidelineList<TGuidelineHorizontal> {
public:
  TGuidelineHorizontal& Add(double Y) { return Append(std::make_unique<TGuidelineHorizontal>(RoundHalfUp(Y))); }
  // The last guideline with Bottom < Y < Top, or -1.
  int HitTest(double Top, double Bottom) const;
};

class TGuidelinesVertical : public TGuidelineList<TGuidelineVertical> {
public:
  TGuidelineVertical& Add(double X) { return Append(std::make_unique<TGuidelineVertical>(RoundHalfUp(X))); }
  // The last guideline with Left < X < Right, or -1.
  int HitTest(double Right, double Left) const;
};

class TGuidelinesDiagonal : public TGuidelineList<TGuidelineDiagonal> {
public:
  TGuidelineDiagonal& Add(TIntPoint P1, TIntPoint P2, uint8_t Kind, double Angle) {
    return Append(std::make_unique<TGuidelineDiagonal>(P1, P2, Kind, Angle));
  }
  // The first guideline whose line passes closer than Tolerance, or -1.
  int HitTest(TRealPoint P, double Tolerance) const;
};

// Where a diagonal's line crosses x = X or y = Y; nothing when parallel.
std::optional<TRealPoint> CrossVertical(const TGuidelineDiagonal& D, double X);
std::optional<TRealPoint> CrossHorizontal(const TGuidelineDiagonal& D, double Y);
TRealPoint PerpendicularFoot(const TGuidelineDiagonal& D, TRealPoint P);
double DistanceToLine(const TGuidelineDiagonal& D, TRealPoint P);

class TGuideLineSettings {
public:
  // 1: the instance, created on first use; 0: the instance or nullptr; 2: forget it.
  static TGuideLineSettings* AccessInstance(int Request);

  TGuidelinesHorizontal Horizontal;
  TGuidelinesVertical Vertical;
  TGuidelinesDiagonal Diagonal;

  void ClearAll();
  bool RemoveGuideline(const TGuideline* G);
  // Unreadable entries (non-finite numbers, unknown kinds, a diagonal through
  // two equal points) are skipped; a short stream gives the complete entries.
  void LoadFromStream(TStream& S);
  void SaveToStream(TStream& S) const;
  // False when an existing file could not be read; the lists then stay empty
  // and SaveToFile refuses to overwrite that file, so nothing is lost.
  bool LoadFromFile(const std::string& FileName);
  // Written beside the target and renamed over it.
  bool SaveToFile(const std::string& FileName) const;

private:
  bool FLoadFailed = false;
  std::string FFailedFile;
};

}  // namespace tsy
