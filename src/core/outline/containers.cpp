#include "outline/containers.h"

#include <cmath>

#include "fontfile/fontexception.h"

namespace tsy {

void TCoordinateList::Add(double X, double Y) {
  for (const TRealPoint& p : FItems)
    if (std::fabs(p.X - X) < 0.01 && std::fabs(p.Y - Y) < 0.01) return;
  FItems.push_back({X, Y});
}

void TIntegers::Delete(int Index) {
  if (Index < 0 || size_t(Index) >= FItems.size()) throw std::out_of_range("List index out of bounds");
  FItems.erase(FItems.begin() + Index);
}

TDynamicIntegerArray::TDynamicIntegerArray(int Rows, int Cols, int32_t Initial)
    : FRows(std::max(Rows, 0)), FCols(std::max(Cols, 0)), FData(size_t(FRows) * size_t(FCols), Initial) {}

int64_t TDynamicIntegerArray::Position(int Row, int Col) const {
  const bool inside = Row >= 0 && Row < FRows && Col >= 0 && Col < FCols;
  if (inside) return int64_t(Col) + int64_t(Row) * FCols;
  const bool onEdge = Row >= -1 && Row <= FRows && Col >= -1 && Col <= FCols;
  if (OutOfRangeReturnsDefault || (EdgeReturnsDefault && onEdge)) return -1;
  throw std::out_of_range("Wrong Row, Column pair!");
}

int32_t TDynamicIntegerArray::Get(int Row, int Col) const {
  const int64_t p = Position(Row, Col);
  return p < 0 ? DefaultValue : FData[size_t(p)];
}

void TDynamicIntegerArray::Set(int Row, int Col, int32_t Value) {
  const int64_t p = Position(Row, Col);
  if (p >= 0) FData[size_t(p)] = Value;
}

}  // namespace tsy
