#pragma once
// hmtx: advance width and left side bearing of every glyph. In memory every
// glyph has its own entry; the file form shares the last width among a
// trailing run of equal widths.
#include <cstdint>
#include <vector>

#include "fontfile/fonttable.h"

namespace tsy {

struct THmtxMetrics {
  uint16_t AdvanceWidth = 0;
  int16_t LeftSideBearing = 0;
  bool operator==(const THmtxMetrics&) const = default;
};

class TTableHmtx : public TFontTable {
public:
  explicit TTableHmtx(const std::string& Tag = "hmtx");
  const char* ClassName() const override { return "TTableHmtx"; }
  // Reads NumGlyphs entries with NumberOfHMetrics full ones (both set before).
  // A table shorter than that gives 0 for what is missing, with a warning.
  void LoadFromStream(TStream& S) override;
  // Compacts first (which changes NumberOfHMetrics).
  void SaveToStream(TStream& S) const override;

  // Index checks raise "GetHorizontalMetricsLeftSide"; values outside the
  // field's range are range errors.
  uint16_t AdvanceWidth(int Index) const;
  int16_t LeftSideBearing(int Index) const;
  void SetAdvanceWidth(int Index, int64_t Value);
  void SetLeftSideBearing(int Index, int64_t Value);

  void DeleteMetric(int Index);
  void InsertMetric(int Index);
  void SwapMetrics(int A, int B);
  // NumberOfHMetrics for the file form: the entries up to the first glyph of
  // the trailing run of equal widths, never fewer than 2 (or NumGlyphs when
  // that is smaller or compression is off).
  void Compact();

  // The program's own snapshot form: NumGlyphs, NumberOfHMetrics, the body.
  void WriteCounted(TStream& S) const;
  void ReadCounted(TStream& S);
  void AssignMetrics(const TTableHmtx& Other);

  int AverageWidth() const;
  int AverageNonZeroWidth() const;

  std::vector<THmtxMetrics> Metrics;
  uint16_t NumberOfHMetrics = 0;
  uint16_t NumGlyphs = 0;
  bool Compress = true;

private:
  void CheckIndex(int Index) const;
  void ReadBody(TStream& S, bool Warn);
  uint16_t CompactedCount() const;
};

}  // namespace tsy
