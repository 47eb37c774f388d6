#pragma once
// The selections that glyph commands work on: composite members, contours and
// points of one glyph, and glyphs of a font. Entries are indices into an
// outline the caller holds; the containers know nothing of the glyph itself.
// Their stream forms appear byte-exact inside undo records and clipboard data.
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "common/numeric.h"
#include "fontfile/stream.h"

namespace tsy {

// An index selection in insertion order with set semantics.
class TIndexSelection {
public:
  void Add(int32_t Index);
  void Remove(int32_t Index);
  int IndexOf(int32_t Index) const;
  bool Contains(int32_t Index) const { return FPresent.count(Index) != 0; }
  int Count() const { return int(FItems.size()); }
  int32_t Items(int Position) const { return FItems.at(size_t(Position)); }
  void Clear();
  void Sort();

protected:
  void AddFirst(int32_t Index);
  void SaveIndices(TStream& S) const;
  void LoadIndices(TStream& S, uint16_t Count);
  static void CheckCount(size_t Count);

private:
  std::vector<int32_t> FItems;
  std::set<int32_t> FPresent;
};

// Members of a composite glyph, by member index.
class TGlyphSelection : public TIndexSelection {
public:
  TFloatRect MemberFrame;

  void SaveToStream(TStream& S) const;
  void LoadFromStream(TStream& S);
  void Assign(const TGlyphSelection& Other);
};

// Contours of a simple glyph, with the frame, pivot and handle kind the edit
// window shows for them.
class TContourSelection : public TIndexSelection {
public:
  TFloatRect SelectionFrame;
  TRealPoint TransformOrigin;
  uint8_t HandleMode = 0;  // 1 scale handles, 2 rotate and skew handles

  using TIndexSelection::AddFirst;
  void SaveToStream(TStream& S) const;
  void LoadFromStream(TStream& S);
  void Assign(const TContourSelection& Other);
};

struct TPointSelectionItem {
  int32_t Contour = 0;
  int32_t Point = 0;
  bool operator==(const TPointSelectionItem&) const = default;
  auto operator<=>(const TPointSelectionItem&) const = default;
};

// Points of a simple glyph as (contour, point) pairs.
class TPointSelection {
public:
  void Add(int32_t Contour, int32_t Point);
  void Remove(int32_t Contour, int32_t Point);
  int IndexOf(int32_t Contour, int32_t Point) const;
  bool Contains(int32_t Contour, int32_t Point) const { return FPresent.count({Contour, Point}) != 0; }
  // After a point was inserted at Point of Contour.
  void ShiftPointIndices(int32_t Contour, int32_t Point);
  int Count() const { return int(FItems.size()); }
  const TPointSelectionItem& Items(int Position) const { return FItems.at(size_t(Position)); }
  void Clear();
  void Sort();
  void SaveToStream(TStream& S) const;
  void LoadFromStream(TStream& S);
  void Assign(const TPointSelection& Other);

private:
  std::vector<TPointSelectionItem> FItems;
  std::set<TPointSelectionItem> FPresent;
};

// Glyphs of a font, always ascending.
class TSelectedGlyphList {
public:
  void SetSelected(int32_t Glyph, bool On);
  bool IsSelected(int32_t Glyph) const;
  int Count() const { return int(FItems.size()); }
  int32_t Items(int Position) const { return FItems.at(size_t(Position)); }
  const std::vector<int32_t>& Glyphs() const { return FItems; }
  void Clear() { FItems.clear(); }
  // The whole selection at once (any order, repeats ignored): selecting or
  // inverting every glyph of a large font one by one would be quadratic.
  void Replace(std::vector<int32_t> Glyphs);
  void SaveToStream(TStream& S) const;
  void LoadFromStream(TStream& S);
  void Assign(const TSelectedGlyphList& Other);

private:
  std::vector<int32_t> FItems;
};

}  // namespace tsy
