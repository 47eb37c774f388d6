#pragma once
// Small containers shared by the problem tests, tracing and auto kerning.
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "common/numeric.h"

namespace tsy {

// Coordinate pairs without near-duplicates: a pair closer than 0.01 in both
// X and Y to one already present is not added.
class TCoordinateList {
public:
  void Add(double X, double Y);
  int Count() const { return int(FItems.size()); }
  const TRealPoint& Items(int Index) const { return FItems.at(size_t(Index)); }
  void Clear() { FItems.clear(); }

private:
  std::vector<TRealPoint> FItems;
};

class TIntegers {
public:
  void Add(int32_t V) { FItems.push_back(V); }
  void Delete(int Index);
  int32_t Items(int Index) const { return FItems.at(size_t(Index)); }
  int Count() const { return int(FItems.size()); }

private:
  std::vector<int32_t> FItems;
};

// A grid of integers, row by row, with optional default answers just outside
// (EdgeReturnsDefault) or anywhere outside (OutOfRangeReturnsDefault).
class TDynamicIntegerArray {
public:
  TDynamicIntegerArray(int Rows, int Cols, int32_t Initial);
  int Rows() const { return FRows; }
  int Cols() const { return FCols; }
  int32_t Get(int Row, int Col) const;
  void Set(int Row, int Col, int32_t Value);

  bool EdgeReturnsDefault = false;
  bool OutOfRangeReturnsDefault = false;
  int32_t DefaultValue = 0;

private:
  // The element's position, or -1 for an index answered by the default.
  int64_t Position(int Row, int Col) const;
  int FRows, FCols;
  std::vector<int32_t> FData;
};

}  // namespace tsy
