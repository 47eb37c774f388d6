#include "fontfile/tables/hmtx.h"

#include <algorithm>
#include <utility>

#include "fontfile/fontexception.h"
#include "fontfile/warnings.h"

namespace tsy {

TTableHmtx::TTableHmtx(const std::string& Tag) : TFontTable(Tag) { CheckTag("TTableHmtx", "hmtx", Tag); }

void TTableHmtx::LoadFromStream(TStream& S) { ReadBody(S, true); }

void TTableHmtx::ReadBody(TStream& S, bool Warn) {
  Metrics.clear();
  if (NumberOfHMetrics == 0 && NumGlyphs != 0)
    throw FontException("hmtx numberOfHMetrics is zero while numGlyphs>0 !!");
  // A numberOfHMetrics above the glyph count only means the extra entries are
  // never used.
  const uint32_t full = std::min(NumberOfHMetrics, NumGlyphs);
  Metrics.resize(NumGlyphs);
  // Values the table does not hold stay 0; they are never taken from the
  // bytes of whatever follows the table.
  uint32_t missing = 0;
  uint16_t lastWidth = 0;
  for (uint32_t i = 0; i < NumGlyphs; ++i) {
    THmtxMetrics& m = Metrics[i];
    if (i < full) {
      if (S.Remaining() >= 4) {
        m.AdvanceWidth = ReadUInt16(S);
        m.LeftSideBearing = ReadInt16(S);
      } else {
        S.Seek(S.Size());
        ++missing;
      }
      lastWidth = m.AdvanceWidth;
    } else {
      m.AdvanceWidth = lastWidth;
      if (S.Remaining() >= 2)
        m.LeftSideBearing = ReadInt16(S);
      else
        ++missing;
    }
  }
  if (missing > 0 && Warn)
    TWarningCollector::AddFmt("hmtx table too short: %u of %u glyphs have no metrics, set to 0.", missing,
                              unsigned(NumGlyphs));
}

uint16_t TTableHmtx::CompactedCount() const {
  if (!Compress || NumGlyphs < 2) return NumGlyphs;
  const uint16_t w = Metrics[NumGlyphs - 1].AdvanceWidth;
  int i = NumGlyphs - 2;
  while (i >= 1 && Metrics[size_t(i)].AdvanceWidth == w) --i;
  // Stopping at glyph 0 leaves two entries without comparing glyph 0: the
  // count never drops below 2.
  return uint16_t(std::max(i, 0) + 2);
}

void TTableHmtx::Compact() { NumberOfHMetrics = CompactedCount(); }

void TTableHmtx::SaveToStream(TStream& S) const {
  if (Metrics.size() != NumGlyphs)
    throw FontException(Format("hmtx holds %zu metrics for %u glyphs", Metrics.size(), unsigned(NumGlyphs)));
  const_cast<TTableHmtx*>(this)->Compact();
  for (uint32_t i = 0; i < NumGlyphs; ++i) {
    if (i < NumberOfHMetrics) WriteUInt16(S, Metrics[i].AdvanceWidth);
    WriteInt16(S, Metrics[i].LeftSideBearing);
  }
}

void TTableHmtx::CheckIndex(int Index) const {
  if (Index < 0 || size_t(Index) >= Metrics.size()) throw FontException("GetHorizontalMetricsLeftSide");
}

uint16_t TTableHmtx::AdvanceWidth(int Index) const {
  CheckIndex(Index);
  return Metrics[size_t(Index)].AdvanceWidth;
}

int16_t TTableHmtx::LeftSideBearing(int Index) const {
  CheckIndex(Index);
  return Metrics[size_t(Index)].LeftSideBearing;
}

void TTableHmtx::SetAdvanceWidth(int Index, int64_t Value) {
  CheckIndex(Index);
  Metrics[size_t(Index)].AdvanceWidth = CheckedUInt16(Value, "advance width");
}

void TTableHmtx::SetLeftSideBearing(int Index, int64_t Value) {
  CheckIndex(Index);
  Metrics[size_t(Index)].LeftSideBearing = CheckedInt16(Value, "left side bearing");
}

void TTableHmtx::DeleteMetric(int Index) {
  CheckIndex(Index);
  Metrics.erase(Metrics.begin() + Index);
  NumGlyphs = uint16_t(Metrics.size());
}

void TTableHmtx::InsertMetric(int Index) {
  if (Index < 0 || size_t(Index) > Metrics.size()) throw FontException("GetHorizontalMetricsLeftSide");
  if (Metrics.size() >= 0xFFFF) throw ERangeError("A font cannot hold more than 65535 glyph metrics");
  Metrics.insert(Metrics.begin() + Index, THmtxMetrics{});
  NumGlyphs = uint16_t(Metrics.size());
}

void TTableHmtx::SwapMetrics(int A, int B) {
  CheckIndex(A);
  CheckIndex(B);
  std::swap(Metrics[size_t(A)], Metrics[size_t(B)]);
}

void TTableHmtx::WriteCounted(TStream& S) const {
  const_cast<TTableHmtx*>(this)->Compact();
  WriteUInt16(S, NumGlyphs);
  WriteUInt16(S, NumberOfHMetrics);
  SaveToStream(S);
}

void TTableHmtx::ReadCounted(TStream& S) {
  NumGlyphs = ReadUInt16(S);
  NumberOfHMetrics = ReadUInt16(S);
  ReadBody(S, false);
}

void TTableHmtx::AssignMetrics(const TTableHmtx& Other) {
  TMemoryStream m;
  Other.WriteCounted(m);
  m.Seek(0);
  const bool compress = Compress;
  ReadCounted(m);
  Compress = compress;
}

int TTableHmtx::AverageWidth() const {
  if (NumGlyphs == 0 || Metrics.empty()) return 0;
  int64_t sum = 0;
  for (const THmtxMetrics& m : Metrics) sum += m.AdvanceWidth;
  return int(sum / int64_t(Metrics.size()));
}

int TTableHmtx::AverageNonZeroWidth() const {
  int64_t sum = 0, n = 0;
  for (const THmtxMetrics& m : Metrics)
    if (m.AdvanceWidth != 0) {
      sum += m.AdvanceWidth;
      ++n;
    }
  return n == 0 ? 0 : int(sum / n);
}

}  // namespace tsy
