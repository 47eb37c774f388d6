#pragma once
// The outline list of a font: one outline per glyph, index = glyph index.
// Built from glyf/loca at load, it is the only copy of the glyph data until a
// save encodes it back.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "outline/outline.h"

namespace tsy {

class TTableMaxp;
class TTableLoca;
class TTableGlyf;

class TFontOutlines {
public:
  size_t Count() const { return FItems.size(); }
  TOutlineBase* Items(size_t Index) const { return FItems.at(Index).get(); }
  void Clear() { FItems.clear(); }

  // Decodes every glyph record. Broken records become empty glyphs with a
  // warning; composites are linked, cycles and runaway nesting cut, and
  // point-matched members converted to offsets.
  void LoadFromTables(const TTableMaxp* Maxp, const TTableLoca* Loca, const TTableGlyf* Glyf);
  // Encodes every outline into glyf, rebuilds loca and sets maxp numGlyphs.
  void SaveToTables(TTableMaxp* Maxp, TTableLoca* Loca, TTableGlyf* Glyf) const;

  // Links every member to the outline it names (none when the index is
  // outside the list), then drops members that close a reference cycle or
  // nest deeper than kMaxComponentDepth, and members whose flattening would
  // exceed the expansion limits, each with a warning. Report also warns about
  // members naming a glyph that does not exist.
  void ResolveReferences(bool Report = false);
  void ResolvePointAnchors();

  void DeleteOutline(int Index);
  void InsertEmptyOutline(int Index);
  void ExchangeOutlines(int A, int B);
  void Decompose(int Index);
  void MakeEmpty(int Index);
  void MakeSimple(int Index);
  void MakeComposite(int Index);
  // Replaces the outline at Index (appends when Index equals Count()).
  void SetOutline(int Index, std::unique_ptr<TOutlineBase> Outline);
  // Replaces the whole list at once (links members once, not per glyph).
  void Assign(std::vector<std::unique_ptr<TOutlineBase>> Items);

  // Per-glyph snapshot framing: uint16 kind code, then the outline's snapshot.
  void ReadSnapshot(int Index, TStream& S);
  void WriteSnapshot(int Index, TStream& S) const;
  // As WriteSnapshot, a composite written as its flattened simple outline.
  void WriteSimpleSnapshot(int Index, TStream& S) const;

  void ClearAllInstructions();
  void ClearInstructions(int Index) { Items(size_t(Index))->ClearInstructions(); }
  void WriteAllInstructions(TStream& S) const;
  void ReadAllInstructions(TStream& S);

  bool IsReferenced(int Index) const;
  // The glyph whose metrics a composite takes, or -1.
  int FindMetricsSource(int Index) const;
  void ScaleOutline(int Index, double Factor);

  std::function<void(int Percent)> OnProgress;
  bool AlignGlyphsTo4 = true;

  // Limits for what one composite may expand to when flattened. No real font
  // comes near them; a hostile one stops there.
  static constexpr int64_t kMaxFlattenedPoints = 1 << 20;
  static constexpr int64_t kMaxFlattenedMembers = 1 << 16;
  // Decoded points per font beyond those of a plain byte-per-point encoding;
  // keeps a file of repeat-flag bombs from taking unbounded memory.
  static constexpr int64_t kPointAllowance = 1 << 22;

private:
  void CheckIndex(int Index) const;
  std::vector<std::unique_ptr<TOutlineBase>> FItems;
};

}  // namespace tsy
