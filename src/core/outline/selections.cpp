#include "outline/selections.h"

#include <algorithm>

#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"

namespace tsy {

namespace {

uint16_t IndexForStream(int32_t V, const char* What) {
  if (V < 0 || V > 65535) throw ERangeError(Format("%s %d does not fit a selection stream", What, V));
  return uint16_t(V);
}

}  // namespace

// ---- index selections

void TIndexSelection::Add(int32_t Index) {
  if (FPresent.insert(Index).second) FItems.push_back(Index);
}

void TIndexSelection::AddFirst(int32_t Index) {
  if (FPresent.insert(Index).second) FItems.insert(FItems.begin(), Index);
}

void TIndexSelection::Remove(int32_t Index) {
  if (FPresent.erase(Index)) FItems.erase(std::find(FItems.begin(), FItems.end(), Index));
}

int TIndexSelection::IndexOf(int32_t Index) const {
  if (!Contains(Index)) return -1;
  return int(std::find(FItems.begin(), FItems.end(), Index) - FItems.begin());
}

void TIndexSelection::Clear() {
  FItems.clear();
  FPresent.clear();
}

void TIndexSelection::Sort() { std::sort(FItems.begin(), FItems.end()); }

void TIndexSelection::CheckCount(size_t Count) {
  if (Count > 65535) throw ERangeError(Format("A selection of %zu entries does not fit its stream form", Count));
}

void TIndexSelection::SaveIndices(TStream& S) const {
  for (int32_t i : FItems) WriteUInt16(S, IndexForStream(i, "Index"));
}

void TIndexSelection::LoadIndices(TStream& S, uint16_t Count) {
  Clear();
  for (uint16_t i = 0; i < Count; ++i) Add(ReadUInt16(S));
}

void TGlyphSelection::SaveToStream(TStream& S) const {
  CheckCount(size_t(Count()));
  WriteUInt16(S, uint16_t(Count()));
  WriteFloatRect(S, MemberFrame);
  SaveIndices(S);
}

void TGlyphSelection::LoadFromStream(TStream& S) {
  const uint16_t n = ReadUInt16(S);
  MemberFrame = ReadFloatRect(S);
  LoadIndices(S, n);
}

void TGlyphSelection::Assign(const TGlyphSelection& Other) {
  TMemoryStream m;
  Other.SaveToStream(m);
  m.Seek(0);
  LoadFromStream(m);
}

void TContourSelection::SaveToStream(TStream& S) const {
  CheckCount(size_t(Count()));
  WriteUInt16(S, uint16_t(Count()));
  WriteFloatRect(S, SelectionFrame);
  WriteDouble(S, TransformOrigin.X);
  WriteDouble(S, TransformOrigin.Y);
  WriteUInt8(S, HandleMode);
  SaveIndices(S);
}

void TContourSelection::LoadFromStream(TStream& S) {
  const uint16_t n = ReadUInt16(S);
  SelectionFrame = ReadFloatRect(S);
  TransformOrigin.X = ReadDouble(S);
  TransformOrigin.Y = ReadDouble(S);
  HandleMode = ReadUInt8(S);
  LoadIndices(S, n);
}

void TContourSelection::Assign(const TContourSelection& Other) {
  TMemoryStream m;
  Other.SaveToStream(m);
  m.Seek(0);
  LoadFromStream(m);
}

// ---- point selection

void TPointSelection::Add(int32_t Contour, int32_t Point) {
  if (FPresent.insert({Contour, Point}).second) FItems.push_back({Contour, Point});
}

void TPointSelection::Remove(int32_t Contour, int32_t Point) {
  if (FPresent.erase({Contour, Point}))
    FItems.erase(std::find(FItems.begin(), FItems.end(), TPointSelectionItem{Contour, Point}));
}

int TPointSelection::IndexOf(int32_t Contour, int32_t Point) const {
  if (!Contains(Contour, Point)) return -1;
  return int(std::find(FItems.begin(), FItems.end(), TPointSelectionItem{Contour, Point}) - FItems.begin());
}

void TPointSelection::ShiftPointIndices(int32_t Contour, int32_t Point) {
  for (TPointSelectionItem& item : FItems)
    if (item.Contour == Contour && item.Point >= Point) ++item.Point;
  FPresent = std::set<TPointSelectionItem>(FItems.begin(), FItems.end());
}

void TPointSelection::Clear() {
  FItems.clear();
  FPresent.clear();
}

void TPointSelection::Sort() { std::sort(FItems.begin(), FItems.end()); }

void TPointSelection::SaveToStream(TStream& S) const {
  if (FItems.size() > 65535)
    throw ERangeError(Format("A selection of %zu points does not fit its stream form", FItems.size()));
  WriteUInt16(S, uint16_t(FItems.size()));
  for (const TPointSelectionItem& item : FItems) {
    WriteUInt16(S, IndexForStream(item.Contour, "Contour"));
    WriteUInt16(S, IndexForStream(item.Point, "Point"));
  }
}

void TPointSelection::LoadFromStream(TStream& S) {
  const uint16_t n = ReadUInt16(S);
  Clear();
  for (uint16_t i = 0; i < n; ++i) {
    const uint16_t c = ReadUInt16(S);
    const uint16_t p = ReadUInt16(S);
    Add(c, p);
  }
}

void TPointSelection::Assign(const TPointSelection& Other) {
  TMemoryStream m;
  Other.SaveToStream(m);
  m.Seek(0);
  LoadFromStream(m);
}

// ---- glyph list

void TSelectedGlyphList::SetSelected(int32_t Glyph, bool On) {
  auto at = std::lower_bound(FItems.begin(), FItems.end(), Glyph);
  const bool present = at != FItems.end() && *at == Glyph;
  if (On && !present)
    FItems.insert(at, Glyph);
  else if (!On && present)
    FItems.erase(at);
}

void TSelectedGlyphList::Replace(std::vector<int32_t> Glyphs) {
  std::sort(Glyphs.begin(), Glyphs.end());
  Glyphs.erase(std::unique(Glyphs.begin(), Glyphs.end()), Glyphs.end());
  FItems = std::move(Glyphs);
}

bool TSelectedGlyphList::IsSelected(int32_t Glyph) const {
  return std::binary_search(FItems.begin(), FItems.end(), Glyph);
}

void TSelectedGlyphList::SaveToStream(TStream& S) const {
  if (FItems.size() > 65535)
    throw ERangeError(Format("A selection of %zu glyphs does not fit its stream form", FItems.size()));
  WriteUInt16(S, uint16_t(FItems.size()));
  for (int32_t g : FItems) WriteUInt16(S, IndexForStream(g, "Glyph"));
}

void TSelectedGlyphList::LoadFromStream(TStream& S) {
  Clear();
  const uint16_t n = ReadUInt16(S);
  for (uint16_t i = 0; i < n; ++i) SetSelected(ReadUInt16(S), true);
}

void TSelectedGlyphList::Assign(const TSelectedGlyphList& Other) {
  TMemoryStream m;
  Other.SaveToStream(m);
  m.Seek(0);
  LoadFromStream(m);
}

}  // namespace tsy
