#include "fontfile/tables/cmap.h"

#include <algorithm>
#include <map>
#include <string>

#include "fontfile/fontexception.h"
#include "fontfile/tables/macglyphs.h"
#include "fontfile/tables/tablewindow.h"
#include "fontfile/warnings.h"

namespace tsy {

// ---- mapping list

void TCharacterToGlyphIndexMappings::Add(uint32_t CharCode, uint16_t GlyphIndex) {
  FItems.push_back({CharCode, GlyphIndex});
  if (FIndexValid) {
    const uint32_t at = uint32_t(FItems.size() - 1);
    FCharIndex[CharCode] = at;
    FGlyphIndex.emplace(GlyphIndex, at);  // keeps an earlier first mapping
  }
}

void TCharacterToGlyphIndexMappings::Delete(size_t Index) {
  FItems.erase(FItems.begin() + long(Index));
  FIndexValid = false;
}

void TCharacterToGlyphIndexMappings::Clear() {
  FItems.clear();
  FCharIndex.clear();
  FGlyphIndex.clear();
  FIndexValid = true;
}

void TCharacterToGlyphIndexMappings::Sort() {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const auto& a, const auto& b) { return a.CharCode < b.CharCode; });
  FIndexValid = false;
}

void TCharacterToGlyphIndexMappings::BuildIndex() const {
  if (FIndexValid) return;
  FCharIndex.clear();
  FGlyphIndex.clear();
  FCharIndex.reserve(FItems.size());
  for (uint32_t i = 0; i < FItems.size(); ++i) {
    FCharIndex[FItems[i].CharCode] = i;
    FGlyphIndex.emplace(FItems[i].GlyphIndex, i);
  }
  FIndexValid = true;
}

bool TCharacterToGlyphIndexMappings::IsCharMapped(uint32_t CharCode) const {
  BuildIndex();
  return FCharIndex.count(CharCode) != 0;
}

int32_t TCharacterToGlyphIndexMappings::GlyphOf(uint32_t CharCode) const {
  BuildIndex();
  auto it = FCharIndex.find(CharCode);
  return it == FCharIndex.end() ? -1 : FItems[it->second].GlyphIndex;
}

int64_t TCharacterToGlyphIndexMappings::CharOf(uint16_t GlyphIndex) const {
  BuildIndex();
  auto it = FGlyphIndex.find(GlyphIndex);
  return it == FGlyphIndex.end() ? -1 : int64_t(FItems[it->second].CharCode);
}

// ---- one subtable: editing and queries

void TCmapEncodingSubTable::RemoveMapping(uint16_t GlyphIndex, uint32_t CharCode) {
  Mappings.Modify([&](auto& v) {
    std::erase_if(v, [&](const auto& m) { return m.GlyphIndex == GlyphIndex && m.CharCode == CharCode; });
  });
}

void TCmapEncodingSubTable::RemoveGlyph(uint16_t GlyphIndex) {
  if (!IsGlyphMapped(GlyphIndex)) return;
  Mappings.Modify([&](auto& v) { std::erase_if(v, [&](const auto& m) { return m.GlyphIndex == GlyphIndex; }); });
}

bool TCmapEncodingSubTable::HasCharInRange(uint32_t Low, uint32_t High) const {
  for (const auto& m : Mappings.All())
    if (m.GlyphIndex != 0 && m.CharCode >= Low && m.CharCode <= High) return true;
  return false;
}

void TCmapEncodingSubTable::CharRange(uint32_t& First, uint32_t& Last) const {
  First = 0xFFFF;
  Last = 0;
  for (const auto& m : Mappings.All()) {
    if (m.GlyphIndex == 0) continue;
    const uint32_t c = std::min<uint32_t>(m.CharCode, 0xFFFF);
    First = std::min(First, c);
    Last = std::max(Last, c);
  }
}

void TCmapEncodingSubTable::RemoveWideChars() {
  Mappings.Modify([](auto& v) { std::erase_if(v, [](const auto& m) { return m.CharCode > 0xFFFF; }); });
}

void TCmapEncodingSubTable::SetFormat(uint16_t NewFormat) {
  if (NewFormat != 12) RemoveWideChars();
  Format = NewFormat;
  RawData.clear();
}

std::vector<TCharacterToGlyphIndexMapping> TCmapEncodingSubTable::SortedUniqueMappings() const {
  std::vector<TCharacterToGlyphIndexMapping> v = Mappings.All();
  std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.CharCode < b.CharCode; });
  // Two mappings of one character would give overlapping segments or groups;
  // the last one is the one lookups answer, so it is the one written.
  size_t out = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    if (out > 0 && v[out - 1].CharCode == v[i].CharCode)
      v[out - 1] = v[i];
    else
      v[out++] = v[i];
  }
  v.resize(out);
  return v;
}

// ---- the list of subtables

TCmapEncodingTableEntry* TCmapMappingTable::Find(uint16_t PlatformID, uint16_t EncodingID) {
  for (auto& e : FItems)
    if (e.PlatformID == PlatformID && e.EncodingID == EncodingID) return &e;
  return nullptr;
}

const TCmapEncodingTableEntry* TCmapMappingTable::Find(uint16_t PlatformID, uint16_t EncodingID) const {
  for (const auto& e : FItems)
    if (e.PlatformID == PlatformID && e.EncodingID == EncodingID) return &e;
  return nullptr;
}

TCmapEncodingSubTable* TCmapMappingTable::Insert(uint16_t PlatformID, uint16_t EncodingID) {
  if (Find(PlatformID, EncodingID)) {
    TWarningCollector::AddFmt(
        "CmapEncodingSubTable with PlatFormID %d and PlatformSpecificEncodingID %d already exists", PlatformID,
        EncodingID);
    return nullptr;
  }
  auto at = std::find_if(FItems.begin(), FItems.end(), [&](const TCmapEncodingTableEntry& e) {
    return e.PlatformID > PlatformID || (e.PlatformID == PlatformID && e.EncodingID > EncodingID);
  });
  TCmapEncodingTableEntry entry;
  entry.PlatformID = PlatformID;
  entry.EncodingID = EncodingID;
  entry.SubTable = std::make_unique<TCmapEncodingSubTable>();
  return FItems.insert(at, std::move(entry))->SubTable.get();
}

TCmapEncodingSubTable* TCmapMappingTable::CreateSubTable(uint16_t PlatformID, uint16_t EncodingID) {
  TCmapEncodingSubTable* t = Insert(PlatformID, EncodingID);
  if (!t) return nullptr;
  if (PlatformID == 0 || PlatformID == 3) {
    t->Format = (PlatformID == 0 && EncodingID == 4) || (PlatformID == 3 && EncodingID == 10) ? 12 : 4;
  } else {
    t->Format = 0;
    for (uint32_t c = 0; c < 256; ++c) t->AddMapping(0, c);
  }
  return t;
}

void TCmapMappingTable::DeleteSubTable(uint16_t PlatformID, uint16_t EncodingID) {
  std::erase_if(FItems, [&](const TCmapEncodingTableEntry& e) {
    return e.PlatformID == PlatformID && e.EncodingID == EncodingID;
  });
}

void TCmapMappingTable::AddMapping(uint16_t PlatformID, uint16_t EncodingID, uint32_t CharCode, uint16_t GlyphIndex) {
  if (CharCode > 0xFFFF) throw ERangeError(Format("Character code %u does not fit 16 bits", CharCode));
  TCmapEncodingTableEntry* e = Find(PlatformID, EncodingID);
  TCmapEncodingSubTable* t = e ? e->SubTable.get() : Insert(PlatformID, EncodingID);
  if (!e) t->Format = 4;
  t->AddMapping(GlyphIndex, CharCode);
}

int32_t TCmapMappingTable::UnicodeGlyph(uint32_t CharCode) const {
  const TCmapEncodingTableEntry* e = CharCode > 0xFFFF ? Find(3, 10) : Find(3, 1);
  return e ? e->SubTable->GlyphOf(CharCode) : -1;
}

int32_t TCmapMappingTable::SymbolGlyph(uint32_t Code) const {
  const TCmapEncodingTableEntry* e = Find(3, 0);
  return e ? e->SubTable->GlyphOf(Code + 0xF000) : -1;
}

int64_t TCmapMappingTable::UnicodeCharOfGlyph(uint16_t GlyphIndex) const {
  const TCmapEncodingTableEntry* e = Find(3, 1);
  return e ? e->SubTable->CharOf(GlyphIndex) : -1;
}

int64_t TCmapMappingTable::SymbolCharOfGlyph(uint16_t GlyphIndex) const {
  const TCmapEncodingTableEntry* e = Find(3, 0);
  if (!e) return -1;
  const int64_t c = e->SubTable->CharOf(GlyphIndex);
  return c >= 0xF000 ? c - 0xF000 : c;
}

bool TCmapMappingTable::IsGlyphMapped(uint16_t GlyphIndex) const {
  for (const auto& e : FItems)
    if (e.SubTable->IsGlyphMapped(GlyphIndex)) return true;
  return false;
}

bool TCmapMappingTable::NextGlyphOfChar(uint16_t PlatformID, uint16_t EncodingID, uint16_t& Glyph,
                                        uint32_t CharCode) const {
  const TCmapEncodingTableEntry* e = Find(PlatformID, EncodingID);
  if (!e) return false;
  const int32_t g = e->SubTable->GlyphOf(CharCode);
  if (g < 0 || g < Glyph) return false;
  Glyph = uint16_t(g);
  return true;
}

void TCmapMappingTable::GetCharRange(uint32_t& First, uint32_t& Last) const {
  const TCmapEncodingTableEntry* e = Find(3, 0);
  if (!e) e = Find(3, 1);
  if (!e) {
    First = Last = 0;
    return;
  }
  e->SubTable->CharRange(First, Last);
}

void TCmapMappingTable::DeleteGlyph(uint16_t GlyphIndex) {
  for (auto& e : FItems)
    e.SubTable->Mappings.Modify([&](auto& v) {
      std::erase_if(v, [&](const auto& m) { return m.GlyphIndex == GlyphIndex; });
      for (auto& m : v)
        if (m.GlyphIndex > GlyphIndex) --m.GlyphIndex;
    });
}

void TCmapMappingTable::InsertGlyph(uint16_t GlyphIndex) {
  for (auto& e : FItems)
    e.SubTable->Mappings.Modify([&](auto& v) {
      for (auto& m : v)
        if (m.GlyphIndex >= GlyphIndex) m.GlyphIndex = CheckedUInt16(int64_t(m.GlyphIndex) + 1, "Glyph index");
    });
}

void TCmapMappingTable::SwapGlyphs(uint16_t A, uint16_t B) {
  for (auto& e : FItems)
    e.SubTable->Mappings.Modify([&](auto& v) {
      for (auto& m : v) {
        if (m.GlyphIndex == A)
          m.GlyphIndex = B;
        else if (m.GlyphIndex == B)
          m.GlyphIndex = A;
      }
    });
}

void TCmapMappingTable::DropInvalidGlyphs(uint32_t Count) {
  for (auto& e : FItems) {
    TCmapEncodingSubTable& t = *e.SubTable;
    bool any = false;
    for (const auto& m : t.Mappings.All()) any |= m.GlyphIndex >= Count;
    if (!any) continue;
    t.Mappings.Modify([&](auto& v) {
      std::erase_if(v, [&](const auto& m) {
        if (m.GlyphIndex < Count) return false;
        TWarningCollector::AddFmt(
            "[fixed] TCmapEncodingSubTable with FSubTableFormat %d has illegal mapping from glyph index %d to "
            "character %d.",
            t.Format, m.GlyphIndex, int(m.CharCode));
        return true;
      });
    });
  }
}

void TCmapMappingTable::WriteGlyphMappings(TStream& S, uint16_t GlyphIndex) const {
  for (size_t i = FItems.size(); i-- > 0;) {
    std::vector<uint32_t> codes;
    for (const auto& m : FItems[i].SubTable->Mappings.All())
      if (m.GlyphIndex == GlyphIndex) codes.push_back(m.CharCode);
    WriteUInt16(S, CheckedUInt16(int64_t(codes.size()), "Mapping count"));
    for (uint32_t c : codes) WriteUInt32(S, c);
  }
}

namespace {

// Adds a mapping read back from the program's own streams. Supplementary
// characters come from format 12 subtables and go back into one; any other
// subtable cannot hold them.
void AddStreamMapping(TCmapEncodingSubTable& T, uint32_t CharCode, uint16_t GlyphIndex) {
  if (CharCode > 0xFFFF && T.Format != 12) {
    TWarningCollector::AddFmt("Character %u does not fit a cmap format %d subtable; mapping to glyph %d skipped.",
                              CharCode, T.Format, GlyphIndex);
    return;
  }
  T.AddMapping(GlyphIndex, CharCode);
}

}  // namespace

void TCmapMappingTable::ReadGlyphMappings(TStream& S, uint16_t GlyphIndex) {
  for (size_t i = FItems.size(); i-- > 0;) {
    const uint16_t n = ReadUInt16(S);
    for (uint16_t k = 0; k < n; ++k) AddStreamMapping(*FItems[i].SubTable, ReadUInt32(S), GlyphIndex);
  }
}

void TCmapMappingTable::WriteMappingsWithIDs(TStream& S, uint16_t GlyphIndex) const {
  const uint64_t at = S.Position();
  WriteUInt16(S, 0);
  int64_t count = 0;
  for (size_t i = FItems.size(); i-- > 0;) {
    for (const auto& m : FItems[i].SubTable->Mappings.All()) {
      if (m.GlyphIndex != GlyphIndex) continue;
      WriteUInt16(S, FItems[i].PlatformID);
      WriteUInt16(S, FItems[i].EncodingID);
      WriteUInt32(S, m.CharCode);
      ++count;
    }
  }
  const uint64_t end = S.Position();
  S.Seek(at);
  WriteUInt16(S, CheckedUInt16(count, "Mapping count"));
  S.Seek(end);
}

void TCmapMappingTable::ReadMappingsWithIDs(TStream& S, uint16_t GlyphIndex, uint32_t Limit, int Mode) {
  if (Mode == 1)
    for (auto& e : FItems) e.SubTable->RemoveGlyph(GlyphIndex);
  const uint16_t n = ReadUInt16(S);
  for (uint16_t k = 0; k < n; ++k) {
    const uint16_t platform = ReadUInt16(S), encoding = ReadUInt16(S);
    const uint32_t code = ReadUInt32(S);
    if (GlyphIndex >= Limit) continue;
    TCmapEncodingTableEntry* e = Find(platform, encoding);
    if (!e) continue;
    TCmapEncodingSubTable& t = *e->SubTable;
    const int32_t old = t.GlyphOf(code);
    if (old > 0) {
      if (Mode == 0) continue;
      t.Mappings.Modify([&](auto& v) { std::erase_if(v, [&](const auto& m) { return m.CharCode == code; }); });
    }
    AddStreamMapping(t, code, GlyphIndex);
  }
}

// ---- the table

void TTableCmap::Clear() {
  Version = 0;
  SubTables.Clear();
}

uint32_t TTableCmap::SubTablePair(size_t Index) const {
  const auto& e = SubTables.Items(Index);
  return (uint32_t(e.EncodingID) << 16) | e.PlatformID;
}

TCmapEncodingSubTable* TTableCmap::FindSubTable(uint16_t PlatformID, uint16_t EncodingID) {
  TCmapEncodingTableEntry* e = SubTables.Find(PlatformID, EncodingID);
  return e ? e->SubTable.get() : nullptr;
}

void TTableCmap::LoadFromStream(TStream& S) {
  Clear();
  std::vector<uint8_t> holder;
  TReadOnlyStream table = TableWindow(S, holder);
  const uint32_t limit = GlyphLimit;
  GlyphLimit = 0;
  Version = ReadUInt16(table);
  const uint16_t count = ReadUInt16(table);
  if (uint64_t(4) + 8ull * count > table.Size()) {
    TWarningCollector::AddFmt("[cmap] %d encoding records do not fit the table; only the complete ones are read.",
                              count);
  }
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t rec = 4 + 8ull * i;
    if (rec + 8 > table.Size()) break;
    table.Seek(rec);
    const uint16_t platform = ReadUInt16(table), encoding = ReadUInt16(table);
    const uint32_t offset = ReadUInt32(table);
    if (offset >= 0x80000000u) throw ERangeError(Format("cmap subtable offset %u out of range", offset));
    if (uint64_t(offset) + 2 > table.Size()) {
      TWarningCollector::AddFmt(
          "[cmap] Subtable of platform %d encoding %d lies outside the table (offset %u); it is left out.", platform,
          encoding, offset);
      continue;
    }
    TCmapEncodingSubTable* t = SubTables.Insert(platform, encoding);
    if (!t) continue;
    TReadOnlyStream sub = table.Sub(offset, table.Size() - offset);
    t->LoadFromStream(sub, limit);
  }
}

void TTableCmap::SaveToStream(TStream& S) const {
  const uint64_t start = S.Position();
  WriteUInt16(S, Version);
  WriteUInt16(S, CheckedUInt16(int64_t(SubTables.Count()), "cmap subtable count"));
  if (SubTables.Count() == 0) return;

  std::vector<TMemoryStream> renders(SubTables.Count());
  std::vector<uint32_t> offsets(SubTables.Count());
  std::vector<bool> kept(SubTables.Count(), false);
  std::map<std::vector<uint8_t>, uint32_t> seen;  // identical renderings share one body
  uint64_t next = 4 + 8ull * SubTables.Count();
  for (size_t i = 0; i < SubTables.Count(); ++i) {
    SubTables.Items(i).SubTable->SaveToStream(renders[i]);
    auto it = seen.find(renders[i].Bytes());
    if (it != seen.end()) {
      offsets[i] = it->second;
      continue;
    }
    if (next > 0xFFFFFFFFull) throw ERangeError("cmap table too large");
    offsets[i] = uint32_t(next);
    kept[i] = true;
    seen.emplace(renders[i].Bytes(), offsets[i]);
    next += renders[i].Size();
  }
  for (size_t i = 0; i < SubTables.Count(); ++i) {
    WriteUInt16(S, SubTables.Items(i).PlatformID);
    WriteUInt16(S, SubTables.Items(i).EncodingID);
    WriteUInt32(S, offsets[i]);
  }
  for (size_t i = 0; i < SubTables.Count(); ++i) {
    if (!kept[i]) continue;
    S.Seek(start + offsets[i]);
    S.Write(renders[i].Memory(), renders[i].Size());
  }
  S.Seek(start + next);
}

void TTableCmap::BuildFromMacRoman(uint16_t PlatformID, uint16_t OldEncodingID, uint16_t NewEncodingID) {
  SubTables.DeleteSubTable(PlatformID, OldEncodingID);
  TCmapEncodingSubTable* target = SubTables.Insert(PlatformID, NewEncodingID);
  if (!target) return;
  target->Format = 4;
  const TCmapEncodingTableEntry* mac = SubTables.Find(1, 0);
  if (!mac) return;
  const auto& all = mac->SubTable->Mappings.All();
  for (size_t i = all.size(); i-- > 0;) {
    const auto& m = all[i];
    const int u = MacRomanToUnicode(int(m.CharCode));
    if (u <= 0) continue;
    if (PlatformID == 3 && NewEncodingID == 1)
      target->AddMapping(m.GlyphIndex, uint32_t(u));
    else if (PlatformID == 3 && NewEncodingID == 0)
      target->AddMapping(m.GlyphIndex, m.CharCode + 0xF000);
  }
}

}  // namespace tsy
