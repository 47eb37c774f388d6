// The whole-glyph commands of the overview: insert, delete, cut, make empty
// and make simple, with the renumbering of every table that names glyphs.
#include <algorithm>
#include <set>

#include "document/glyphcommands_internal.h"
#include "fontfile/primitives.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/kern.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/post.h"

namespace tsy {

namespace {

constexpr size_t kMaxGlyphs = 0xFFFF;

void WriteGlyphList(TStream& S, const std::vector<int32_t>& Glyphs) {
  WriteUInt16(S, CheckedUInt16(int64_t(Glyphs.size()), "glyph count"));
  for (int32_t g : Glyphs) WriteUInt16(S, CheckedUInt16(g, "glyph index"));
}

std::vector<int32_t> ReadGlyphList(TStream& S) {
  std::vector<int32_t> glyphs(ReadUInt16(S));
  for (int32_t& g : glyphs) g = ReadUInt16(S);
  std::sort(glyphs.begin(), glyphs.end());
  glyphs.erase(std::unique(glyphs.begin(), glyphs.end()), glyphs.end());
  return glyphs;
}

}  // namespace

// ---------------------------------------------------------------------------
// One glyph slot in every table

int TTrueTypeFontManager::InsertAdvanceWidth() const {
  const TTableOS_2* os2 = FFont.OS2();
  return os2 ? std::max<int>(0, os2->xAvgCharWidth) : 0;
}

int TTrueTypeFontManager::MaxGlyphReference() const {
  int most = -1;
  if (const TTableKern* kern = FFont.Kern())
    for (size_t k = 0; k < kern->PairCount(); ++k)
      most = std::max({most, int(kern->Pair(k).Left), int(kern->Pair(k).Right)});
  if (const TTableCmap* cmap = FFont.Cmap())
    for (size_t t = 0; t < cmap->SubTables.Count(); ++t)
      for (const auto& m : cmap->SubTables.Items(t).SubTable->Mappings.All()) most = std::max(most, int(m.GlyphIndex));
  return most;
}

void TTrueTypeFontManager::InsertGlyphSlot(int Index, int AdvanceWidth, bool CheckReferences) {
  if (FFont.GlyphCount() >= kMaxGlyphs) throw FontException("A font cannot hold more than 65535 glyphs");
  // Every check before the first change: a slot is inserted in all tables or
  // in none, so an insert that fails part way still undoes cleanly. Only a
  // table naming glyphs near 65535 can fail; the caller knows when that may be.
  auto raisedTooFar = [&](uint16_t Glyph) { return Glyph >= Index && Glyph >= 0xFFFF; };
  if (const TTableKern* kern = FFont.Kern(); CheckReferences && kern)
    for (size_t k = 0; k < kern->PairCount(); ++k)
      if (raisedTooFar(kern->Pair(k).Left) || raisedTooFar(kern->Pair(k).Right))
        throw ERangeError("Kerning glyph index out of range: a pair names glyph 65535");
  if (const TTableCmap* cmap = FFont.Cmap(); CheckReferences && cmap)
    for (size_t t = 0; t < cmap->SubTables.Count(); ++t)
      for (const auto& m : cmap->SubTables.Items(t).SubTable->Mappings.All())
        if (raisedTooFar(m.GlyphIndex)) throw ERangeError("Glyph index out of range: a mapping names glyph 65535");
  FEditWindows.GlyphInserted(Index);
  FFont.InsertEmptyGlyph(Index);
  if (TTableHmtx* hmtx = FFont.Hmtx(); hmtx && size_t(Index) <= hmtx->Metrics.size()) {
    hmtx->InsertMetric(Index);
    hmtx->SetAdvanceWidth(Index, AdvanceWidth);
  }
  if (TTablePost* post = FFont.Post()) post->InsertName(size_t(Index));
  if (TTableKern* kern = FFont.Kern()) kern->InsertGlyph(uint16_t(Index));
  if (TTableCmap* cmap = FFont.Cmap()) cmap->InsertGlyph(uint16_t(Index));
}

void TTrueTypeFontManager::DeleteGlyphSlot(int Index) {
  FEditWindows.GlyphDeleted(Index);
  FFont.DeleteGlyph(Index);
  if (TTableHmtx* hmtx = FFont.Hmtx(); hmtx && size_t(Index) < hmtx->Metrics.size()) hmtx->DeleteMetric(Index);
  if (TTablePost* post = FFont.Post()) post->DeleteName(size_t(Index));
  if (TTableKern* kern = FFont.Kern()) kern->DeleteGlyph(uint16_t(Index));
  if (TTableCmap* cmap = FFont.Cmap()) cmap->DeleteGlyph(uint16_t(Index));
}

// Raw tables that name glyphs by index cannot follow a renumbering and are
// dropped by it; recording them first lets undo bring them back.
void TTrueTypeFontManager::RecordGlyphIndexedTables() {
  for (const std::string& tag : FFont.GlyphIndexedRawTables()) RecordAndRemoveTable(tag);
}

// ---------------------------------------------------------------------------
// Insert

std::vector<int32_t> TTrueTypeFontManager::DoInsertGlyphs(int Count, int Position,
                                                          const std::vector<int32_t>& Selected) {
  // The undo item is filled at the end, also when an insertion fails part
  // way: the glyphs inserted so far are then deleted by undo.
  std::vector<int32_t> inserted;
  // Recorded first, so that undo deletes the glyphs before it brings the
  // tables back (a deletion would drop them again).
  RecordGlyphIndexedTables();
  TMemoryStream& undo =
      FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { UndoInsertGlyphs(S); });
  const int advance = InsertAdvanceWidth();
  const uint64_t total = uint64_t(Count) * (Position == ipAtTop || Position == ipAfterLast ? 1 : Selected.size());
  const bool check = int64_t(MaxGlyphReference()) + int64_t(total) >= int64_t(kMaxGlyphs);
  // Insertions after the first land above the earlier ones, except at the
  // top, where each pushes the earlier ones up: those end as 0 .. n - 1.
  auto insertAt = [&](int Index) {
    InsertGlyphSlot(Index, advance, check);
    inserted.push_back(Index);
  };
  auto finish = [&] {
    if (Position == ipAtTop)
      for (size_t k = 0; k < inserted.size(); ++k) inserted[k] = int32_t(k);
    WriteGlyphList(undo, inserted);
  };
  try {
    switch (Position) {
      case ipAtTop:
        for (int i = 0; i < Count; ++i) insertAt(0);
        break;
      case ipAfterLast:
        for (int i = 0; i < Count; ++i) insertAt(int(FFont.GlyphCount()));
        break;
      case ipBeforeEachSelected:
      case ipAfterEachSelected:
        for (size_t k = 0; k < Selected.size(); ++k) {
          const int at = Selected[k] + Count * int(k) + (Position == ipAfterEachSelected ? 1 : 0);
          for (int i = 0; i < Count; ++i) insertAt(at + i);
        }
        break;
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return inserted;
}

void TTrueTypeFontManager::InsertGlyphs(int Count, int Position) {
  if (Count <= 0 || Position < ipAtTop || Position > ipAfterEachSelected) return;
  std::vector<int32_t> selected;
  for (int32_t g : FSelectedGlyphs.Glyphs())
    if (g >= 0 && size_t(g) < FFont.GlyphCount()) selected.push_back(g);
  const bool perSelected = Position == ipBeforeEachSelected || Position == ipAfterEachSelected;
  if (perSelected && selected.empty()) return;
  // Refused before anything changes: glyph indices are 16 bits wide.
  const uint64_t adding = uint64_t(Count) * (perSelected ? selected.size() : 1);
  if (FFont.GlyphCount() + adding > kMaxGlyphs)
    throw FontException(Format("Cannot insert %llu glyphs: a font holds at most 65535 glyphs and this one has %zu.",
                               static_cast<unsigned long long>(adding), FFont.GlyphCount()));
  std::vector<int32_t> inserted;
  try {
    RecordLevel("Insert Glyphs", [&] {
      if (Position == ipAtTop)
        if (TMemoryStream* r =
                FHistory.AddRepeatItem([this](TUndoRedoRepeatItem&, TStream& S) { RepeatInsertGlyphs(S); })) {
          WriteUInt16(*r, uint16_t(Count));
          WriteUInt16(*r, uint16_t(Position));
          FSelectedGlyphs.SaveToStream(*r);
        }
      inserted = DoInsertGlyphs(Count, Position, selected);
    });
  } catch (...) {
    Changed();
    throw;
  }
  FSelectedGlyphs.Clear();
  for (int32_t g : inserted) FSelectedGlyphs.SetSelected(g, true);
  Changed();
}

void TTrueTypeFontManager::RepeatInsertGlyphs(TStream& Data) {
  const int count = ReadUInt16(Data);
  const int position = ReadUInt16(Data);
  if (position != ipAtTop) throw EStreamError(Format("Insert position %d cannot be repeated", position));
  if (FFont.GlyphCount() + size_t(count) > kMaxGlyphs)
    throw FontException(Format("Cannot insert %d glyphs: a font holds at most 65535 glyphs and this one has %zu.",
                               count, FFont.GlyphCount()));
  DoInsertGlyphs(count, position, {});
  Changed();
}

void TTrueTypeFontManager::UndoInsertGlyphs(TStream& Data) {
  const std::vector<int32_t> glyphs = ReadGlyphList(Data);
  DeleteGlyphList(glyphs);
  FSelectedGlyphs.Clear();
  Changed();
}

// ---------------------------------------------------------------------------
// Delete

void TTrueTypeFontManager::DeleteGlyphList(const std::vector<int32_t>& Glyphs) {
  std::vector<int32_t> s;
  for (int32_t g : Glyphs)
    if (g >= 0 && size_t(g) < FFont.GlyphCount()) s.push_back(g);
  std::sort(s.begin(), s.end());
  s.erase(std::unique(s.begin(), s.end()), s.end());
  if (s.empty()) return;
  const std::set<int32_t> set(s.begin(), s.end());
  RecordGlyphIndexedTables();

  // A: composites outside the set that use a glyph of it become simple.
  {
    TMemoryStream& a = FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { RestoreComposites(S); });
    std::vector<int32_t> users;
    for (size_t i = 0; i < FFont.GlyphCount(); ++i) {
      if (set.count(int32_t(i))) continue;
      const auto* c = dynamic_cast<const TOutlineComposite*>(FFont.Outlines.Items(i));
      if (c && std::any_of(c->Members.begin(), c->Members.end(),
                           [&](const TCompositeMember& M) { return set.count(M.GlyphIndex) != 0; }))
        users.push_back(int32_t(i));
    }
    WriteUInt16(a, CheckedUInt16(int64_t(users.size()), "glyph count"));
    for (int32_t i : users) {
      WriteUInt16(a, uint16_t(i));
      FFont.Outlines.WriteSnapshot(i, a);
    }
    // Their flattened form needs the members still in place: build them all
    // before any glyph changes.
    for (int32_t i : users) FFont.Outlines.Decompose(i);
  }

  // B: everything the deleted glyphs carry, from the highest to the lowest.
  {
    TMemoryStream& b = FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { RestoreGlyphData(S); });
    const TTablePost* post = FFont.Post();
    const TTableHmtx* hmtx = FFont.Hmtx();
    const TTableCmap* cmap = FFont.Cmap();
    const TTableKern* kern = FFont.Kern();
    WriteUInt16(b, uint16_t(s.size()));
    for (auto it = s.rbegin(); it != s.rend(); ++it) {
      const int g = *it;
      WriteUInt16(b, uint16_t(g));
      FFont.Outlines.WriteSnapshot(g, b);
      if (post && post->HasGlyphNames()) WriteShortString(b, post->GetName(size_t(g)));
      const bool metrics = hmtx && size_t(g) < hmtx->Metrics.size();
      WriteInt32(b, metrics ? hmtx->LeftSideBearing(g) : 0);
      WriteInt32(b, metrics ? hmtx->AdvanceWidth(g) : 0);
      if (cmap) cmap->SubTables.WriteGlyphMappings(b, uint16_t(g));
    }
    if (kern) {
      std::vector<uint16_t> glyphs(s.begin(), s.end());
      kern->WritePairsOfGlyphs(b, glyphs);
    }
  }

  // C: the slots to re-create.
  WriteGlyphList(FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { RecreateGlyphSlots(S); }), s);

  for (auto it = s.rbegin(); it != s.rend(); ++it) DeleteGlyphSlot(*it);
}

void TTrueTypeFontManager::RecreateGlyphSlots(TStream& Data) {
  const std::vector<int32_t> glyphs = ReadGlyphList(Data);
  if (FFont.GlyphCount() + glyphs.size() > kMaxGlyphs)
    throw EStreamError("The glyphs to restore do not fit the font");
  WriteGlyphList(FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { DeleteGlyphsAgain(S); }), glyphs);
  FSelectedGlyphs.Clear();
  for (int32_t g : glyphs) {
    InsertGlyphSlot(std::min<int>(g, int(FFont.GlyphCount())), 0, true);
    FSelectedGlyphs.SetSelected(g, true);
  }
}

void TTrueTypeFontManager::RestoreGlyphData(TStream& Data) {
  TTablePost* post = FFont.Post();
  TTableHmtx* hmtx = FFont.Hmtx();
  TTableCmap* cmap = FFont.Cmap();
  TTableKern* kern = FFont.Kern();
  const int n = ReadUInt16(Data);
  std::vector<int> restored;
  for (int k = 0; k < n; ++k) {
    const int g = ReadUInt16(Data);
    if (size_t(g) >= FFont.GlyphCount()) throw EStreamError(Format("Glyph index %d out of range", g));
    FFont.Outlines.ReadSnapshot(g, Data);
    if (post && post->HasGlyphNames()) {
      const std::string name = ReadShortString(Data);
      if (size_t(g) < post->NameCount()) post->SetName(size_t(g), name);
    }
    const int32_t lsb = ReadInt32(Data), advance = ReadInt32(Data);
    if (hmtx && size_t(g) < hmtx->Metrics.size()) {
      hmtx->SetLeftSideBearing(g, lsb);
      hmtx->SetAdvanceWidth(g, advance);
    }
    if (cmap) cmap->SubTables.ReadGlyphMappings(Data, uint16_t(g));
    restored.push_back(g);
  }
  if (kern) kern->ReadPairs(Data);
  FFont.Outlines.ResolveReferences();
  for (int g : restored) FEditWindows.GlyphChanged(g);
}

void TTrueTypeFontManager::RestoreComposites(TStream& Data) {
  const int n = ReadUInt16(Data);
  for (int k = 0; k < n; ++k) {
    const int g = ReadUInt16(Data);
    if (size_t(g) >= FFont.GlyphCount()) throw EStreamError(Format("Glyph index %d out of range", g));
    FFont.Outlines.ReadSnapshot(g, Data);
    FEditWindows.GlyphChanged(g);
  }
  FFont.Outlines.ResolveReferences();
  Changed();
}

void TTrueTypeFontManager::DeleteGlyphsAgain(TStream& Data) {
  DeleteGlyphList(ReadGlyphList(Data));
  FSelectedGlyphs.Clear();
  Changed();
}

void TTrueTypeFontManager::DeleteGlyphs() {
  if (FSelectedGlyphs.Count() == 0) return;
  const std::vector<int32_t> glyphs = FSelectedGlyphs.Glyphs();
  try {
    RecordLevel("Delete Glyphs", [&] { DeleteGlyphList(glyphs); });
  } catch (...) {
    Changed();
    throw;
  }
  FSelectedGlyphs.Clear();
  Changed();
}

void TTrueTypeFontManager::CutGlyphs(const TGlyphCopyEvent& CopyToClipboard) {
  if (FSelectedGlyphs.Count() == 0) return;
  const std::vector<int32_t> glyphs = FSelectedGlyphs.Glyphs();
  // Copied before the level opens: a copy that fails leaves no empty level.
  if (CopyToClipboard) CopyToClipboard(*this, FSelectedGlyphs);
  try {
    RecordLevel("Cut Glyphs", [&] { DeleteGlyphList(glyphs); });
  } catch (...) {
    Changed();
    throw;
  }
  FSelectedGlyphs.Clear();
  Changed();
}

// ---------------------------------------------------------------------------
// Make empty, make simple

void TTrueTypeFontManager::ReplaceSelectedGlyphs(const std::string& Name, bool Decompose) {
  if (FSelectedGlyphs.Count() == 0) return;
  std::vector<int32_t> affected;
  for (int32_t g : FSelectedGlyphs.Glyphs()) {
    if (g < 0 || size_t(g) >= FFont.GlyphCount()) continue;
    const int kind = FFont.Outlines.Items(size_t(g))->GetKind();
    if (Decompose ? kind == okComposite : kind != okEmpty) affected.push_back(g);
  }
  try {
    RecordLevel(Name, [&] {
      TMemoryStream& s =
          FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { SwapGlyphSnapshots(S); });
      WriteUInt16(s, CheckedUInt16(int64_t(affected.size()), "glyph count"));
      for (int32_t g : affected) {
        WriteUInt16(s, uint16_t(g));
        FFont.Outlines.WriteSnapshot(g, s);
      }
      // Every decomposition is built while all members are still in place.
      for (int32_t g : affected) {
        if (Decompose)
          FFont.Outlines.Decompose(g);
        else
          FFont.Outlines.MakeEmpty(g);
      }
    });
  } catch (...) {
    Changed();
    throw;
  }
  for (int32_t g : affected) FEditWindows.GlyphChanged(g);
  Changed();
}

void TTrueTypeFontManager::SwapGlyphSnapshots(TStream& Data) {
  const int n = ReadUInt16(Data);
  TMemoryStream& s = FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { SwapGlyphSnapshots(S); });
  WriteUInt16(s, uint16_t(n));
  FSelectedGlyphs.Clear();
  std::vector<int> touched;
  for (int k = 0; k < n; ++k) {
    const int g = ReadUInt16(Data);
    if (size_t(g) >= FFont.GlyphCount()) throw EStreamError(Format("Glyph index %d out of range", g));
    FSelectedGlyphs.SetSelected(g, true);
    WriteUInt16(s, uint16_t(g));
    FFont.Outlines.WriteSnapshot(g, s);
    FFont.Outlines.ReadSnapshot(g, Data);
    touched.push_back(g);
  }
  FFont.Outlines.ResolveReferences();
  for (int g : touched) FEditWindows.GlyphChanged(g);
  Changed();
}

void TTrueTypeFontManager::MakeEmpty() { ReplaceSelectedGlyphs("Make Empty", false); }

void TTrueTypeFontManager::MakeSimple() { ReplaceSelectedGlyphs("Make Simple", true); }

}  // namespace tsy
