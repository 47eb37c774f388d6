#include "fontfile/tables/gasp.h"

#include <algorithm>

#include "fontfile/tables/tablewindow.h"
#include "fontfile/warnings.h"

namespace tsy {

void TTableGasp::AddRange(const TGaspRange& Range) {
  auto at = std::upper_bound(FRanges.begin(), FRanges.end(), Range,
                             [](const TGaspRange& a, const TGaspRange& b) { return a.MaxPPEM < b.MaxPPEM; });
  FRanges.insert(at, Range);
}

void TTableGasp::LoadFromStream(TStream& S) {
  Clear();
  std::vector<uint8_t> holder;
  TReadOnlyStream t = TableWindow(S, holder);
  Version = ReadUInt16(t);
  uint16_t n = ReadUInt16(t);
  const uint64_t fit = t.Size() >= 4 ? (t.Size() - 4) / 4 : 0;
  if (n > fit) {
    TWarningCollector::AddFmt("[gasp] %d ranges do not fit the table; %llu read.", n, (unsigned long long)fit);
    n = uint16_t(fit);
  }
  for (uint16_t i = 0; i < n; ++i) {
    TGaspRange r;
    r.MaxPPEM = ReadUInt16(t);
    r.Behavior = ReadUInt16(t);
    AddRange(r);
  }
}

void TTableGasp::SaveToStream(TStream& S) const {
  WriteUInt16(S, Version);
  WriteUInt16(S, CheckedUInt16(int64_t(FRanges.size()), "gasp range count"));
  for (const TGaspRange& r : FRanges) {
    WriteUInt16(S, r.MaxPPEM);
    WriteUInt16(S, r.Behavior);
  }
}

}  // namespace tsy
