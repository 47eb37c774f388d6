// Reading and writing the encoding subtable formats 0, 2, 4, 6 and 12, and
// keeping the bytes of the formats that are not decoded.
#include <algorithm>
#include <array>

#include "fontfile/fontexception.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/warnings.h"

namespace tsy {

namespace {

// Hostile subtables can describe millions of duplicate or out-of-range
// mappings; one warning each would bury the list. After this many the rest
// are counted and reported once.
constexpr int kMaxWarningsPerSubTable = 200;

class TWarningBudget {
public:
  template <class... A>
  void Add(const char* Fmt, A... Args) {
    if (++FCount <= kMaxWarningsPerSubTable) TWarningCollector::AddFmt(Fmt, Args...);
  }
  ~TWarningBudget() {
    if (FCount > kMaxWarningsPerSubTable)
      TWarningCollector::AddFmt("[cmap] %d further warnings about this subtable were left out.",
                                FCount - kMaxWarningsPerSubTable);
  }

private:
  int FCount = 0;
};

// The window of a subtable whose length field says Length: the stated length
// when it is plausible, otherwise everything up to the end of the cmap table
// (fonts with a wrapped 16-bit length exist).
TReadOnlyStream Bounded(const TReadOnlyStream& S, uint64_t Length, uint64_t Minimum) {
  if (Length >= Minimum && Length <= S.Size()) return S.Sub(0, Length);
  if (Length > S.Size())
    TWarningCollector::AddFmt("[cmap] Subtable length %llu runs past the end of the table; reading up to the end.",
                              (unsigned long long)Length);
  return S.Sub(0, S.Size());
}

void PatchLength16(TStream& S, uint64_t Start) {
  const uint64_t end = S.Position();
  S.Seek(Start + 2);
  WriteUInt16(S, CheckedUInt16(int64_t(end - Start), "cmap subtable length"));
  S.Seek(end);
}

}  // namespace

bool TCmapEncodingSubTable::AcceptGlyph(uint32_t Glyph, uint32_t Limit) const {
  if (Limit != 0 && Glyph >= Limit) {
    TWarningCollector::AddFmt("[cmap encoding format %d] A character maps to an invalid glyphindex %d.", Format,
                              int(Glyph));
    return false;
  }
  return true;
}

void TCmapEncodingSubTable::LoadFromStream(TReadOnlyStream& S, uint32_t Limit) {
  Mappings.Clear();
  RawData.clear();
  Language = 0;
  S.Seek(0);
  Format = ReadUInt16(S);
  switch (Format) {
    case 0: ReadFormat0(S, Limit); break;
    case 2: ReadFormat2(S, Limit); break;
    case 4: ReadFormat4(S, Limit); break;
    case 6: ReadFormat6(S, Limit); break;
    case 12: ReadFormat12(S, Limit); break;
    default:
      TWarningCollector::AddFmt("Unsupported cmap encoding format: Format %d", Format);
      ReadRaw(S);
      break;
  }
}

void TCmapEncodingSubTable::ReadRaw(TReadOnlyStream& S) {
  // Formats 8 and up carry a 32-bit length after a reserved word, format 14
  // right after the format; the older ones a 16-bit length.
  uint64_t length;
  S.Seek(2);
  if (Format == 14) {
    length = ReadUInt32(S);
  } else if (Format >= 8) {
    S.Seek(4);
    length = ReadUInt32(S);
  } else {
    length = ReadUInt16(S);
  }
  if (length < 2 || length > S.Size()) {
    TWarningCollector::AddFmt("[cmap] Length %llu of the format %d subtable does not fit the table; kept up to the "
                              "end of the table.",
                              (unsigned long long)length, Format);
    length = S.Size();
  }
  RawData.assign(S.Memory(), S.Memory() + length);
}

void TCmapEncodingSubTable::ReadFormat0(TReadOnlyStream& S, uint32_t Limit) {
  const uint16_t length = ReadUInt16(S);
  Language = ReadUInt16(S);
  if (length == 0) return;
  if (length != 262) throw FontException(tsy::Format("Length Cmap Format 0 Expecting 262 bytes instead of %d bytes", length));
  if (S.Size() < 262) TWarningCollector::Add("[cmap] Format 0 subtable is cut short; missing glyph bytes read as 0.");
  for (uint32_t c = 0; c < 256; ++c) {
    const uint8_t g = ReadUInt8(S);
    if (AcceptGlyph(g, Limit)) AddMapping(g, c);
  }
}

void TCmapEncodingSubTable::ReadFormat2(TReadOnlyStream& S, uint32_t Limit) {
  const uint16_t length = ReadUInt16(S);
  Language = ReadUInt16(S);
  if (length < 512) return;
  TReadOnlyStream sub = Bounded(S, length, 518);
  sub.Seek(6);
  std::array<uint16_t, 256> keys;
  for (uint16_t& k : keys) k = ReadUInt16(sub);
  constexpr uint64_t headers = 518;
  TWarningBudget budget;
  bool zeroDone = false;
  for (uint32_t h = 0; h < 256; ++h) {
    const uint16_t key = keys[h];
    if (key == 0) {
      if (zeroDone) continue;
      zeroDone = true;
    }
    const uint64_t at = headers + key;
    if (at + 8 > sub.Size()) {
      budget.Add("[cmap] Format 2 sub-header of high byte %d lies outside the subtable.", int(h));
      continue;
    }
    sub.Seek(at);
    const uint16_t firstCode = ReadUInt16(sub), entryCount = ReadUInt16(sub);
    const int16_t idDelta = ReadInt16(sub);
    const uint64_t rangeField = sub.Position();
    const uint16_t idRangeOffset = ReadUInt16(sub);
    if (entryCount == 0) continue;
    const uint64_t array = rangeField + idRangeOffset;
    for (uint32_t k = 0; k < entryCount; ++k) {
      const uint32_t c = uint32_t(firstCode) + k;
      if (c >= 256) break;
      if (array + 2 * k + 2 > sub.Size()) {
        budget.Add("[cmap] Format 2 glyph array of high byte %d runs past the subtable.", int(h));
        break;
      }
      sub.Seek(array + 2 * k);
      const uint16_t v = ReadUInt16(sub);
      if (v == 0) continue;
      const uint16_t glyph = uint16_t(v + idDelta);
      if (AcceptGlyph(glyph, Limit)) AddMapping(glyph, h * 256 + c);
    }
  }
}

void TCmapEncodingSubTable::ReadFormat4(TReadOnlyStream& S, uint32_t Limit) {
  const uint16_t length = ReadUInt16(S);
  Language = ReadUInt16(S);
  const uint16_t segCountX2 = ReadUInt16(S);
  const uint16_t searchRange = ReadUInt16(S), entrySelector = ReadUInt16(S), rangeShift = ReadUInt16(S);
  uint32_t segCount = segCountX2 / 2;
  const TSearchParams p = CalcSearchParams(segCount, 2);
  if (searchRange != p.SearchRange)
    TWarningCollector::AddFmt("Integrity: Cmap SubtableFormat4 SearchRange not correct (%d should be %d).",
                              searchRange, p.SearchRange);
  if (entrySelector != p.EntrySelector)
    TWarningCollector::AddFmt("Integrity: Cmap SubtableFormat4 EntrySelector not correct (%d should be %d).",
                              entrySelector, p.EntrySelector);
  if (rangeShift != p.RangeShift)
    TWarningCollector::AddFmt("Integrity: Cmap SubtableFormat4 RangeShift not correct (%d should be %d).", rangeShift,
                              p.RangeShift);
  if (segCount == 0) throw FontException("Cmap Format 4 NumberOfSegments=0 !");
  TReadOnlyStream sub = Bounded(S, length, 16 + 8ull * segCount);
  if (16 + 8ull * segCount > sub.Size()) {
    const uint32_t fit = uint32_t(sub.Size() >= 16 ? (sub.Size() - 16) / 8 : 0);
    TWarningCollector::AddFmt("[cmap] Format 4 segment arrays of %u segments do not fit the subtable; %u read.",
                              segCount, fit);
    segCount = fit;
    if (segCount == 0) return;
  }
  const uint64_t endAt = 14, padAt = 14 + 2ull * segCount, startAt = padAt + 2, deltaAt = startAt + 2ull * segCount,
                 rangeAt = deltaAt + 2ull * segCount;
  sub.Seek(padAt);
  if (const uint16_t pad = ReadUInt16(sub); pad != 0)
    TWarningCollector::AddFmt("[cmap encoding format 4] ReservedPad in cmap should be 0 but is %d", pad);

  TWarningBudget budget;
  // Overlapping segments can name the same characters many times over; the
  // work stays proportional to what one subtable can map.
  uint64_t work = 0;
  constexpr uint64_t kWorkLimit = 4 * 65536;
  for (uint32_t i = 0; i < segCount; ++i) {
    auto at = [&](uint64_t base) {
      sub.Seek(base + 2ull * i);
      return ReadUInt16(sub);
    };
    const uint16_t endCode = at(endAt), startCode = at(startAt), idRangeOffset = at(rangeAt);
    const int16_t idDelta = int16_t(at(deltaAt));
    // The last segment is the closing 0xFFFF one in a sound table; a table
    // whose last segment holds real characters still has them read.
    if (i + 1 == segCount && startCode == 0xFFFF) break;
    if (endCode < startCode) continue;
    for (uint32_t c = startCode; c <= endCode; ++c) {
      if (++work > kWorkLimit) {
        TWarningCollector::Add("[cmap] Format 4 segments overlap too much; the remaining segments are skipped.");
        return;
      }
      uint16_t glyph;
      if (idRangeOffset == 0) {
        glyph = uint16_t(c + uint16_t(idDelta));
      } else {
        const uint64_t pos = rangeAt + 2ull * i + idRangeOffset + 2ull * (c - startCode);
        if (pos + 2 > sub.Size()) {
          budget.Add("[cmap] Format 4 glyph array position of character %d lies outside the subtable.", int(c));
          continue;
        }
        sub.Seek(pos);
        const uint16_t v = ReadUInt16(sub);
        glyph = v != 0 && idDelta != 0 ? uint16_t(v + uint16_t(idDelta)) : v;
      }
      if (!AcceptGlyph(glyph, Limit)) continue;
      if (Mappings.IsCharMapped(c)) {
        budget.Add("Format 4 - Can't map character %d to index %d because character is already mapped.", int(c),
                   int(glyph));
        continue;
      }
      AddMapping(glyph, c);
    }
  }
}

void TCmapEncodingSubTable::ReadFormat6(TReadOnlyStream& S, uint32_t Limit) {
  const uint16_t length = ReadUInt16(S);
  Language = ReadUInt16(S);
  if (length == 0) return;
  const uint16_t firstCode = ReadUInt16(S), entryCount = ReadUInt16(S);
  if (entryCount == 0) return;
  TReadOnlyStream sub = Bounded(S, length, 10 + 2ull * entryCount);
  sub.Seek(10);
  for (uint32_t k = 0; k < entryCount; ++k) {
    const uint32_t c = uint32_t(firstCode) + k;
    if (10 + 2ull * k + 2 > sub.Size()) {
      TWarningCollector::AddFmt("[cmap] Format 6 glyph array is cut short after %u of %d entries.", k, entryCount);
      break;
    }
    if (c > 0xFFFF) {
      TWarningCollector::Add("[cmap] Format 6 entries beyond character 0xFFFF are skipped.");
      break;
    }
    const uint16_t glyph = ReadUInt16(sub);
    if (AcceptGlyph(glyph, Limit)) AddMapping(glyph, c);
  }
}

void TCmapEncodingSubTable::ReadFormat12(TReadOnlyStream& S, uint32_t Limit) {
  ReadUInt16(S);  // reserved
  const uint32_t length = ReadUInt32(S);
  Language = ReadUInt32(S);
  uint32_t nGroups = ReadUInt32(S);
  TReadOnlyStream sub = Bounded(S, length, 16);
  const uint64_t fit = sub.Size() >= 16 ? (sub.Size() - 16) / 12 : 0;
  if (nGroups > fit) {
    TWarningCollector::AddFmt("[cmap] Format 12 group count %u does not fit the subtable; %llu groups read.", nGroups,
                              (unsigned long long)fit);
    nGroups = uint32_t(fit);
  }
  TWarningBudget budget;
  uint64_t work = 0;
  constexpr uint64_t kWorkLimit = 4ull * 0x110000;
  sub.Seek(16);
  for (uint32_t i = 0; i < nGroups; ++i) {
    sub.Seek(16 + 12ull * i);
    const uint32_t startChar = ReadUInt32(sub), endChar = ReadUInt32(sub), startGlyph = ReadUInt32(sub);
    if (endChar < startChar || endChar > 0x10FFFF) {
      budget.Add("[cmap] Format 12 group %u (characters %u to %u) is not valid and is skipped.", i, startChar,
                 endChar);
      continue;
    }
    for (uint64_t c = startChar; c <= endChar; ++c) {
      if (++work > kWorkLimit) {
        TWarningCollector::Add("[cmap] Format 12 groups overlap too much; the remaining groups are skipped.");
        return;
      }
      const uint64_t glyph = uint64_t(startGlyph) + (c - startChar);
      if (glyph > 0xFFFF) {
        budget.Add("[cmap] Format 12 group %u maps beyond glyph 65535; the rest of the group is skipped.", i);
        break;
      }
      if (!AcceptGlyph(uint32_t(glyph), Limit)) continue;
      if (Mappings.IsCharMapped(uint32_t(c))) {
        budget.Add("[cmap] Format 12 maps character %u twice; the later mapping is skipped.", uint32_t(c));
        continue;
      }
      AddMapping(uint16_t(glyph), uint32_t(c));
    }
  }
}

// ---- writing

void TCmapEncodingSubTable::SaveToStream(TStream& S) const {
  if (IsRaw()) {
    S.Write(RawData.data(), RawData.size());
    return;
  }
  const auto m = SortedUniqueMappings();
  switch (Format) {
    case 0: WriteFormat0(S, m); break;
    case 2: WriteFormat2(S, m); break;
    case 4: WriteFormat4(S, m); break;
    case 6: WriteFormat6(S, m); break;
    case 12: WriteFormat12(S, m); break;
    default:
      throw FontException(tsy::Format("Unsupported cmap encoding format: Format %d Version %d", this->Format, int(Language)));
  }
}

void TCmapEncodingSubTable::WriteFormat0(TStream& S, const std::vector<TCharacterToGlyphIndexMapping>& M) const {
  const uint64_t start = S.Position();
  WriteUInt16(S, 0);
  WriteUInt16(S, 0);
  WriteUInt16(S, CheckedUInt16(Language, "cmap language"));
  std::array<uint8_t, 256> glyphs{};
  for (const auto& m : M) {
    if (m.CharCode > 255) continue;
    if (m.GlyphIndex > 255) {
      TWarningCollector::AddFmt(
          "[cmap format 0] Character %u maps to glyph %d, which a byte cannot hold; it is written unmapped.",
          m.CharCode, m.GlyphIndex);
      continue;
    }
    glyphs[m.CharCode] = uint8_t(m.GlyphIndex);
  }
  S.Write(glyphs.data(), glyphs.size());
  PatchLength16(S, start);
}

void TCmapEncodingSubTable::WriteFormat6(TStream& S, const std::vector<TCharacterToGlyphIndexMapping>& M) const {
  const uint64_t start = S.Position();
  WriteUInt16(S, 6);
  WriteUInt16(S, 0);
  WriteUInt16(S, CheckedUInt16(Language, "cmap language"));
  // The trimmed array covers the lowest to the highest mapped code; an empty
  // subtable still gets its firstCode and entryCount so it stays well formed.
  std::vector<TCharacterToGlyphIndexMapping> m;
  for (const auto& x : M)
    if (x.CharCode <= 0xFFFF) m.push_back(x);
  if (m.empty()) {
    WriteUInt16(S, 0);
    WriteUInt16(S, 0);
  } else {
    const uint32_t first = m.front().CharCode, last = m.back().CharCode;
    std::vector<uint16_t> glyphs(last - first + 1, 0);
    for (const auto& x : m) glyphs[x.CharCode - first] = x.GlyphIndex;
    WriteUInt16(S, uint16_t(first));
    WriteUInt16(S, CheckedUInt16(int64_t(glyphs.size()), "cmap format 6 entry count"));
    for (uint16_t g : glyphs) WriteUInt16(S, g);
  }
  PatchLength16(S, start);
}

void TCmapEncodingSubTable::WriteFormat12(TStream& S, const std::vector<TCharacterToGlyphIndexMapping>& M) const {
  const uint64_t start = S.Position();
  WriteUInt16(S, 12);
  WriteUInt16(S, 0);
  WriteUInt32(S, 0);
  WriteUInt32(S, Language);
  WriteUInt32(S, 0);
  uint32_t groups = 0;
  for (size_t i = 0; i < M.size();) {
    size_t j = i;
    while (j + 1 < M.size() && M[j + 1].CharCode == M[j].CharCode + 1 && M[j + 1].GlyphIndex == M[j].GlyphIndex + 1)
      ++j;
    WriteUInt32(S, M[i].CharCode);
    WriteUInt32(S, M[j].CharCode);
    WriteUInt32(S, M[i].GlyphIndex);
    ++groups;
    i = j + 1;
  }
  const uint64_t end = S.Position();
  S.Seek(start + 4);
  WriteUInt32(S, uint32_t(end - start));
  S.Seek(start + 12);
  WriteUInt32(S, groups);
  S.Seek(end);
}

std::vector<TCmapFormat4Segment> SegmentFormat4(const std::vector<TCharacterToGlyphIndexMapping>& M) {
  std::vector<TCmapFormat4Segment> out;
  const size_t n = M.size();
  auto C = [&](size_t k) { return int64_t(M[k].CharCode & 0xFFFF); };
  auto G = [&](size_t k) { return int64_t(M[k].GlyphIndex); };
  size_t s = 0;
  while (s < n) {
    size_t e1 = s;
    while (e1 + 1 < n && C(e1 + 1) - C(s) == int64_t(e1 + 1 - s) && G(e1 + 1) - G(s) == int64_t(e1 + 1 - s)) ++e1;
    TCmapFormat4Segment seg;
    seg.First = s;
    if (e1 - s >= 3 || e1 == n - 1 || C(e1 + 1) - C(s) != int64_t(e1 + 1 - s)) {
      seg.Last = e1;
      seg.IsDelta = true;
    } else {
      size_t e2 = e1;
      while (e2 + 1 < n && C(e2 + 1) - C(s) == int64_t(e2 + 1 - s)) ++e2;
      size_t end = e2;
      if (e2 - s >= 9) {
        // A long delta run inside the character run is cheaper as a segment of
        // its own: the range segment stops before it.
        size_t g = s;
        for (;;) {
          size_t i = g;
          while (i + 1 < n && M[i + 1].CharCode == M[i].CharCode + 1 && G(i + 1) == G(i) + 1) ++i;
          if (i - g + 1 >= 9) {
            end = g - 1;
            break;
          }
          if (i + 1 < n && M[i + 1].CharCode - M[i].CharCode == 1) {
            g = i + 1;
            continue;
          }
          break;
        }
      }
      seg.Last = end;
      seg.IsDelta = false;
    }
    if (M[seg.First].CharCode > 0xFFFF || M[seg.Last].CharCode > 0xFFFF)
      throw ERangeError(tsy::Format("Character %u does not fit a cmap format 4 subtable", M[seg.Last].CharCode));
    seg.StartCode = uint16_t(M[seg.First].CharCode);
    seg.EndCode = uint16_t(M[seg.Last].CharCode);
    out.push_back(seg);
    s = seg.Last + 1;
  }
  TCmapFormat4Segment closing;
  closing.StartCode = closing.EndCode = 0xFFFF;
  closing.IsDelta = true;
  closing.IsClosing = true;
  out.push_back(closing);
  return out;
}

void TCmapEncodingSubTable::WriteFormat4(TStream& S, const std::vector<TCharacterToGlyphIndexMapping>& All) const {
  // 0xFFFF is the closing segment's own character and never a real mapping.
  std::vector<TCharacterToGlyphIndexMapping> M;
  M.reserve(All.size());
  for (const auto& m : All) {
    if (m.CharCode > 0xFFFF)
      throw ERangeError(tsy::Format("Character %u does not fit a cmap format 4 subtable", m.CharCode));
    if (m.CharCode != 0xFFFF) M.push_back(m);
  }
  const std::vector<TCmapFormat4Segment> segs = SegmentFormat4(M);

  if (segs.size() >= 0x8000) throw ERangeError("Too many cmap format 4 segments");
  // Every idRangeOffset points inside the subtable, so it fits 16 bits
  // whenever the subtable's length does (checked when the length is patched).
  std::vector<uint16_t> rangeOffsets(segs.size(), 0);
  uint64_t d = 0;
  for (size_t j = 0; j < segs.size(); ++j) {
    if (segs[j].IsDelta) continue;
    rangeOffsets[j] = uint16_t(std::min<uint64_t>(2 * (segs.size() - j + d), 0xFFFF));
    d += segs[j].Last - segs[j].First + 1;
  }

  const uint64_t start = S.Position();
  const uint32_t segCount = uint32_t(segs.size());
  WriteUInt16(S, 4);
  WriteUInt16(S, 0);
  WriteUInt16(S, CheckedUInt16(Language, "cmap language"));
  WriteUInt16(S, uint16_t(2 * segCount));
  const TSearchParams p = CalcSearchParams(segCount, 2);
  WriteUInt16(S, p.SearchRange);
  WriteUInt16(S, p.EntrySelector);
  WriteUInt16(S, p.RangeShift);
  for (const auto& s : segs) WriteUInt16(S, s.EndCode);
  WriteUInt16(S, 0);
  for (const auto& s : segs) WriteUInt16(S, s.StartCode);
  for (const auto& s : segs) {
    uint16_t delta = 0;
    if (s.IsClosing)
      delta = 1;
    else if (s.IsDelta)
      delta = uint16_t(M[s.First].GlyphIndex - M[s.First].CharCode);
    WriteUInt16(S, delta);
  }
  for (uint16_t r : rangeOffsets) WriteUInt16(S, r);
  for (const auto& s : segs)
    if (!s.IsDelta)
      for (size_t k = s.First; k <= s.Last; ++k) WriteUInt16(S, M[k].GlyphIndex);
  PatchLength16(S, start);
}

namespace {

struct TFormat2Group {
  bool Used = false;
  uint16_t FirstCode = 0, LastCode = 0, EntryCount = 0;
  int16_t IdDelta = 0;
  bool Shared = false;  // uses another group's glyph array
  bool Target = false;  // another group uses this group's glyph array
  int SharedWith = -1;
  uint16_t SharedStart = 0;
  std::array<uint16_t, 256> Glyphs{};
};

}  // namespace

void TCmapEncodingSubTable::WriteFormat2(TStream& S, const std::vector<TCharacterToGlyphIndexMapping>& M) const {
  std::vector<TFormat2Group> groups(256);
  for (const auto& m : M) {
    if (m.CharCode > 0xFFFF) throw ERangeError(tsy::Format("Character %u does not fit a cmap format 2 subtable", m.CharCode));
    TFormat2Group& g = groups[m.CharCode >> 8];
    const uint16_t low = uint16_t(m.CharCode & 0xFF);
    if (!g.Used) {
      g.Used = true;
      g.FirstCode = g.LastCode = low;
    }
    g.FirstCode = std::min(g.FirstCode, low);  // sorted input: the first one is the lowest
    g.LastCode = std::max(g.LastCode, low);
    g.Glyphs[low] = m.GlyphIndex;
  }
  for (auto& g : groups)
    if (g.Used) g.EntryCount = uint16_t(g.LastCode - g.FirstCode + 1);

  // A group may reuse a window of another group's glyph array with its own
  // idDelta. Every position must then decode to exactly its own mapping: an
  // empty slot (0) only over an empty slot, a mapped one only over a mapped
  // one. A group whose array is used by others is never redirected itself.
  for (int L = 1; L <= 256; ++L) {
    for (int j = 255; j >= 0; --j) {
      TFormat2Group& gj = groups[size_t(j)];
      if (!gj.Used || gj.EntryCount != L || gj.Target || gj.Shared) continue;
      bool done = false;
      for (int k = 0; k < j && !done; ++k) {
        TFormat2Group& gk = groups[size_t(k)];
        if (!gk.Used || gk.Shared || gk.EntryCount < L) continue;
        for (int t = gk.FirstCode; t + L - 1 <= gk.LastCode && !done; ++t) {
          const uint16_t first = gj.Glyphs[gj.FirstCode], base = gk.Glyphs[size_t(t)];
          if (first == 0 || base == 0) continue;
          const uint16_t delta = uint16_t(first - base);
          bool ok = true;
          for (int i = 1; i < L && ok; ++i) {
            const uint16_t vk = gk.Glyphs[size_t(t + i)], vj = gj.Glyphs[size_t(gj.FirstCode + i)];
            ok = vk == 0 ? vj == 0 : vj != 0 && vj == uint16_t(vk + delta);
          }
          if (ok) {
            gj.Shared = true;
            gj.SharedWith = k;
            gj.SharedStart = uint16_t(t);
            gj.IdDelta = int16_t(delta);
            gk.Target = true;
            done = true;
          }
        }
      }
    }
  }

  // Sub-header numbers: high byte 0 always has sub-header 0.
  std::array<int, 256> number{};
  int count = 1;
  for (int h = 1; h < 256; ++h) number[size_t(h)] = groups[size_t(h)].Used ? count++ : 0;
  std::vector<int> order{0};
  for (int h = 1; h < 256; ++h)
    if (groups[size_t(h)].Used) order.push_back(h);
  std::array<uint64_t, 256> arrayPos{};
  uint64_t a = 0;
  for (int h : order) {
    if (groups[size_t(h)].Shared) continue;
    arrayPos[size_t(h)] = a;
    a += 2ull * groups[size_t(h)].EntryCount;
  }

  const uint64_t start = S.Position();
  WriteUInt16(S, 2);
  WriteUInt16(S, 0);
  WriteUInt16(S, CheckedUInt16(Language, "cmap language"));
  for (int h = 0; h < 256; ++h) WriteUInt16(S, uint16_t(8 * number[size_t(h)]));
  for (size_t n = 0; n < order.size(); ++n) {
    const TFormat2Group& g = groups[size_t(order[n])];
    uint64_t pos = arrayPos[size_t(order[n])];
    if (g.Shared) pos = arrayPos[size_t(g.SharedWith)] + 2ull * (g.SharedStart - groups[size_t(g.SharedWith)].FirstCode);
    WriteUInt16(S, g.FirstCode);
    WriteUInt16(S, g.EntryCount);
    WriteInt16(S, g.IdDelta);
    WriteUInt16(S, CheckedUInt16(int64_t((order.size() - n) * 8 - 6 + pos), "cmap format 2 idRangeOffset"));
  }
  for (int h : order) {
    const TFormat2Group& g = groups[size_t(h)];
    if (g.Shared) continue;
    for (uint32_t c = g.FirstCode; c < uint32_t(g.FirstCode) + g.EntryCount; ++c) WriteUInt16(S, g.Glyphs[c]);
  }
  PatchLength16(S, start);
}

}  // namespace tsy
