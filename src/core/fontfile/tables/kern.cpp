#include "fontfile/tables/kern.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "fontfile/fontexception.h"
#include "fontfile/tables/tablewindow.h"
#include "fontfile/warnings.h"

namespace tsy {

namespace {

bool Less(const TKerningPair& A, const TKerningPair& B) {
  return A.Left < B.Left || (A.Left == B.Left && A.Right < B.Right);
}

uint32_t Key(uint16_t L, uint16_t R) { return (uint32_t(L) << 16) | R; }

}  // namespace

void TTableKern::Clear() {
  FPairs.clear();
  FSorted = true;
  Edited();
}

void TTableKern::AddPair(const TKerningPair& Pair) {
  if (FPairs.size() >= kMaxPairs)
    throw FontException(Format("[%s] Can't have more than %d kerning pairs", ClassName(), int(kMaxPairs)));
  // Pairs read from a file keep the file's order, which need not be sorted;
  // then the first greater pair is found by walking.
  auto at = FSorted ? std::upper_bound(FPairs.begin(), FPairs.end(), Pair, Less)
                    : std::find_if(FPairs.begin(), FPairs.end(), [&](const TKerningPair& p) { return Less(Pair, p); });
  FPairs.insert(at, Pair);
  Edited();
}

int TTableKern::FindPair(uint16_t Left, uint16_t Right) const {
  for (size_t i = 0; i < FPairs.size(); ++i)
    if (FPairs[i].Left == Left && FPairs[i].Right == Right) return int(i);
  return -1;
}

void TTableKern::DeletePair(size_t Index) {
  FPairs.erase(FPairs.begin() + long(Index));
  Edited();
}

bool TTableKern::GlyphEditOfKeptBytes() const {
  if (FKeptBytes.empty()) return false;
  TWarningCollector::Add("[kern] The kern table kept byte for byte is not renumbered with the glyphs.");
  return true;
}

void TTableKern::InsertGlyph(uint16_t Index) {
  if (GlyphEditOfKeptBytes()) return;
  for (auto& p : FPairs) {
    if (p.Left >= Index) p.Left = CheckedUInt16(int64_t(p.Left) + 1, "Kerning glyph index");
    if (p.Right >= Index) p.Right = CheckedUInt16(int64_t(p.Right) + 1, "Kerning glyph index");
  }
  Edited();
}

void TTableKern::DeleteGlyph(uint16_t Index) {
  if (GlyphEditOfKeptBytes()) return;
  std::erase_if(FPairs, [&](const TKerningPair& p) { return p.Left == Index || p.Right == Index; });
  for (auto& p : FPairs) {
    if (p.Left > Index) --p.Left;
    if (p.Right > Index) --p.Right;
  }
  Edited();
}

void TTableKern::SwapGlyphs(uint16_t A, uint16_t B) {
  if (GlyphEditOfKeptBytes()) return;
  auto swap = [&](uint16_t& g) {
    if (g == A)
      g = B;
    else if (g == B)
      g = A;
  };
  for (auto& p : FPairs) {
    swap(p.Left);
    swap(p.Right);
  }
  FSorted = std::is_sorted(FPairs.begin(), FPairs.end(), Less);
}

void TTableKern::WritePairsOfGlyphs(TStream& S, const std::vector<uint16_t>& Glyphs) const {
  const std::unordered_set<uint16_t> set(Glyphs.begin(), Glyphs.end());
  const uint64_t at = S.Position();
  WriteUInt16(S, 0);
  int64_t count = 0;
  for (size_t i = FPairs.size(); i-- > 0;) {
    const TKerningPair& p = FPairs[i];
    if (!set.count(p.Left) && !set.count(p.Right)) continue;
    WriteUInt16(S, p.Left);
    WriteUInt16(S, p.Right);
    WriteInt16(S, p.Value);
    ++count;
  }
  const uint64_t end = S.Position();
  S.Seek(at);
  WriteUInt16(S, CheckedUInt16(count, "Kerning pair count"));
  S.Seek(end);
}

void TTableKern::ReadPairs(TStream& S) {
  const uint16_t n = ReadUInt16(S);
  for (uint16_t i = 0; i < n; ++i) {
    TKerningPair p;
    p.Left = ReadUInt16(S);
    p.Right = ReadUInt16(S);
    p.Value = ReadInt16(S);
    AddPair(p);
  }
}

void TTableKern::LoadFromStream(TStream& S) {
  FPairs.clear();
  FKeptBytes.clear();
  FSorted = true;
  Coverage = 1;
  std::vector<uint8_t> holder;
  TReadOnlyStream t = TableWindow(S, holder);
  Version = ReadUInt16(t);
  const uint16_t nTables = ReadUInt16(t);
  uint64_t at = 4;
  bool found = false;
  for (uint32_t i = 0; i < nTables; ++i) {
    if (at + 6 > t.Size()) {
      TWarningCollector::AddFmt("[kern] Subtable %u lies past the end of the table; reading stops.", i);
      break;
    }
    t.Seek(at);
    const uint16_t version = ReadUInt16(t), length = ReadUInt16(t), coverage = ReadUInt16(t);
    const int format = coverage >> 8;
    const uint64_t next = at + length;
    if (format != 0) {
      if (format == 2)
        TWarningCollector::AddFmt("Unsupported Kern FormatType %d Version %d.", format, version);
      else
        TWarningCollector::AddFmt("Unknown Kern FormatType %d Version %d.", format, version);
    } else if (version != 0) {
      TWarningCollector::AddFmt("Unsupported Kern SubtableVersion: FormatType %d SubtableVersion %d.", format, version);
    } else if (!found) {
      found = true;
      Coverage = coverage;
      const uint16_t nPairs = ReadUInt16(t), searchRange = ReadUInt16(t), entrySelector = ReadUInt16(t),
                     rangeShift = ReadUInt16(t);
      const TSearchParams p = CalcSearchParams(nPairs, 6);
      if (searchRange != p.SearchRange)
        TWarningCollector::AddFmt("Integrity: Kern SubtableFormat0 SearchRange not correct (%d should be %d).",
                                  searchRange, p.SearchRange);
      if (entrySelector != p.EntrySelector)
        TWarningCollector::AddFmt("Integrity: Kern SubtableFormat0 EntrySelector not correct (%d should be %d).",
                                  entrySelector, p.EntrySelector);
      if (rangeShift != p.RangeShift)
        TWarningCollector::AddFmt("Integrity: Kern SubtableFormat0 RangeShift not correct (%d should be %d).",
                                  rangeShift, p.RangeShift);
      if (nPairs > kMaxPairs) {
        // Such tables exist (the 16-bit length field wraps); their bytes are
        // kept as they are rather than dropped at the next save.
        TWarningCollector::AddFmt("Corrupted kern table. Too many kerning pairs %d while %d is the maximum.", nPairs,
                                  int(kMaxPairs));
        TWarningCollector::Add("[kern] The table is kept byte for byte and its pairs cannot be edited.");
        FKeptBytes.assign(t.Memory(), t.Memory() + t.Size());
        return;
      }
      const uint64_t pairsAt = at + 14;
      std::unordered_set<uint32_t> seen;
      bool warnedDuplicate = false;
      for (uint32_t k = 0; k < nPairs; ++k) {
        if (pairsAt + 6ull * k + 6 > t.Size()) {
          TWarningCollector::AddFmt("[kern] Only %u of %d kerning pairs fit the table.", k, nPairs);
          break;
        }
        t.Seek(pairsAt + 6ull * k);
        TKerningPair pair;
        pair.Left = ReadUInt16(t);
        pair.Right = ReadUInt16(t);
        pair.Value = ReadInt16(t);
        // A repeated pair is dropped; the pairs after it are still read.
        if (!seen.insert(Key(pair.Left, pair.Right)).second) {
          if (!warnedDuplicate) TWarningCollector::Add("kern table has same kerning pair twice (or more).");
          warnedDuplicate = true;
          continue;
        }
        FPairs.push_back(pair);
      }
      FSorted = std::is_sorted(FPairs.begin(), FPairs.end(), Less);
    }
    if (length == 0) break;  // a zero length would loop on the same bytes
    at = next;
  }
}

void TTableKern::SaveToStream(TStream& S) const {
  if (!FKeptBytes.empty()) {
    S.Write(FKeptBytes.data(), FKeptBytes.size());
    return;
  }
  WriteUInt16(S, Version);
  if (FPairs.empty()) {
    WriteUInt16(S, 0);
    return;
  }
  if (FPairs.size() > kMaxPairs)
    throw FontException(Format("[%s] Can't have more than %d kerning pairs", ClassName(), int(kMaxPairs)));
  WriteUInt16(S, 1);
  WriteUInt16(S, 0);
  WriteUInt16(S, uint16_t(14 + 6 * FPairs.size()));
  // Format 0 lookups binary-search the pairs, so they go out sorted whatever
  // order reading or glyph swapping left them in.
  WriteUInt16(S, uint16_t(Coverage & 0x00FF));
  WriteUInt16(S, uint16_t(FPairs.size()));
  const TSearchParams p = CalcSearchParams(uint32_t(FPairs.size()), 6);
  WriteUInt16(S, p.SearchRange);
  WriteUInt16(S, p.EntrySelector);
  WriteUInt16(S, p.RangeShift);
  std::vector<TKerningPair> sorted = FPairs;
  std::stable_sort(sorted.begin(), sorted.end(), Less);
  for (const TKerningPair& pair : sorted) {
    WriteUInt16(S, pair.Left);
    WriteUInt16(S, pair.Right);
    WriteInt16(S, pair.Value);
  }
}

}  // namespace tsy
