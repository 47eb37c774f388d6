#pragma once
// The outline of one glyph: empty, simple (contours of quadratic points plus
// instructions) or composite (placed references to other glyphs plus
// instructions), with the glyf record and snapshot forms of each.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/numeric.h"
#include "fontfile/stream.h"
#include "outline/contour.h"

namespace tsy {

// Composite nesting deeper than this is cut at load; every recursion through
// members also stops there, so a reference cycle made later cannot run away.
constexpr int kMaxComponentDepth = 16;

enum TOutlineKind : int { okEmpty = 0, okSimple = 1, okComposite = 2 };

class TOutlineBase {
public:
  virtual ~TOutlineBase() = default;
  TOutlineBase() = default;
  TOutlineBase(const TOutlineBase&) = delete;
  TOutlineBase& operator=(const TOutlineBase&) = delete;

  // The box the glyph record header carries; recomputed only by UpdateBounds.
  TFloatRect Bounds;

  virtual int GetComponentDepth() const { return 0; }
  virtual int GetComponentCount() const { return 0; }
  virtual int64_t GetCompositeContourCount() const { return 0; }
  virtual int64_t GetCompositePointCount() const { return 0; }
  virtual int GetContourCount() const { return 0; }
  virtual int64_t GetPointCount() const { return 0; }
  // The glyph's own instruction bytes (a composite does not add its members').
  virtual int GetInstructionSize() const { return 0; }
  // A new outline of the same kind.
  virtual std::unique_ptr<TOutlineBase> Create() const = 0;
  // Appends transformed copies of the glyph's contours (members flattened).
  virtual void AddTransformedContours(TOutlineContours& Target, const TOutlineTransform& Transform) const = 0;
  virtual void ClearInstructions() {}
  virtual bool HasInstructions() const { return false; }
  // Length-prefixed (little-endian) instruction bytes of the instruction list.
  virtual void ReadInstructions(TStream& S) {}
  virtual void WriteInstructions(TStream& S) const {}
  // The glyf record; reading sees the record's bytes from S's position to its
  // end and raises FontException for a record it cannot use.
  virtual void ReadGlyphRecord(TStream& S) = 0;
  virtual void WriteGlyphRecord(TStream& S) const = 0;
  // The program's own byte form for undo and the clipboard.
  virtual void ReadSnapshot(TStream& S) = 0;
  virtual void WriteSnapshot(TStream& S) const = 0;
  virtual int GetKind() const { return okEmpty; }
  virtual bool ReferencesGlyph(int Index) const { return false; }
  // Sets Bounds to the point extents (of the flattened glyph for composites).
  virtual void UpdateBounds() = 0;

  // Copies Source of the same kind through its glyph record: coordinates end
  // up rounded and composite members unresolved.
  void Assign(const TOutlineBase& Source);
};

class TOutlineEmpty : public TOutlineBase {
public:
  std::unique_ptr<TOutlineBase> Create() const override { return std::make_unique<TOutlineEmpty>(); }
  void AddTransformedContours(TOutlineContours&, const TOutlineTransform&) const override {}
  void ReadGlyphRecord(TStream&) override {}
  void WriteGlyphRecord(TStream&) const override {}
  void ReadSnapshot(TStream&) override {}
  void WriteSnapshot(TStream&) const override {}
  void UpdateBounds() override { Bounds = {}; }
};

// Shared by the two kinds that carry TrueType instructions.
class TOutlineInstructed : public TOutlineBase {
public:
  std::vector<uint8_t> Instructions;

  int GetInstructionSize() const override { return int(Instructions.size()); }
  void ClearInstructions() override { Instructions.clear(); }
  bool HasInstructions() const override { return !Instructions.empty(); }
  void ReadInstructions(TStream& S) override;
  void WriteInstructions(TStream& S) const override;
};

class TOutlineSimple : public TOutlineInstructed {
public:
  TOutlineContours Contours;

  int GetContourCount() const override { return int(Contours.size()); }
  int64_t GetPointCount() const override;
  std::unique_ptr<TOutlineBase> Create() const override { return std::make_unique<TOutlineSimple>(); }
  void AddTransformedContours(TOutlineContours& Target, const TOutlineTransform& Transform) const override;
  void ReadGlyphRecord(TStream& S) override;
  // A glyph without points writes an empty record; contours without points
  // are left out.
  void WriteGlyphRecord(TStream& S) const override;
  void ReadSnapshot(TStream& S) override;
  void WriteSnapshot(TStream& S) const override;
  int GetKind() const override { return okSimple; }
  void UpdateBounds() override;
};

class TCompositeMember {
public:
  const TOutlineBase* Outline = nullptr;  // glyph GlyphIndex of the same font; not owned
  uint16_t GlyphIndex = 0;
  bool ArgsAreXYValues = true;  // false: placed by point matching
  bool HasTwoByTwo = false;
  bool NoOverlap = false;
  bool RoundXYToGrid = false;
  bool UseMyMetrics = false;
  // x' = ScaleX * x + Scale10 * y, y' = Scale01 * x + ScaleY * y; the record
  // stores them in the order ScaleX, Scale01, Scale10, ScaleY.
  double ScaleX = 1, ScaleY = 1, Scale01 = 0, Scale10 = 0;
  double OffsetX = 0, OffsetY = 0;
  // Point numbers for point matching; unsigned in the record.
  uint16_t AnchorParent = 0, AnchorChild = 0;
  bool OverlapCompound = false;
  bool ScaledComponentOffset = false;
  bool UnscaledComponentOffset = false;
};

using TCompositeGlyph = std::vector<TCompositeMember>;

class TOutlineComposite : public TOutlineInstructed {
public:
  TCompositeGlyph Members;

  int GetComponentDepth() const override;
  int GetComponentCount() const override { return int(Members.size()); }
  int64_t GetCompositeContourCount() const override;
  int64_t GetCompositePointCount() const override;
  std::unique_ptr<TOutlineBase> Create() const override { return std::make_unique<TOutlineComposite>(); }
  void AddTransformedContours(TOutlineContours& Target, const TOutlineTransform& Transform) const override;
  void ReadGlyphRecord(TStream& S) override;
  // A composite without members writes an empty record.
  void WriteGlyphRecord(TStream& S) const override;
  void ReadSnapshot(TStream& S) override;
  void WriteSnapshot(TStream& S) const override;
  int GetKind() const override { return okComposite; }
  bool ReferencesGlyph(int Index) const override;
  void UpdateBounds() override;

  // Appends one member's contours placed by its transform after Transform.
  void AddMemberContours(TOutlineContours& Target, size_t MemberIndex, const TOutlineTransform& Transform) const;
  void DecrementReferencesAbove(int Index);
  void IncrementReferencesFrom(int Index);
  // GlyphIndex of the last member that lends the glyph its metrics, or -1.
  int GetMetricsMember() const;
  // The placement of a member relative to the composite.
  static TOutlineTransform MemberTransform(const TCompositeMember& Member);
};


// Adds a warning about the glyph whose record is being read, naming it when
// the reader knows its index.
void AddRecordWarning(const std::string& Message);
// Sets the glyph index that AddRecordWarning names (-1: unknown).
void SetRecordGlyphIndex(int Index);

}  // namespace tsy
