#include "outline/fontoutlines.h"

#include <algorithm>
#include <cmath>

#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"
#include "fontfile/tables/glyf.h"
#include "fontfile/tables/loca.h"
#include "fontfile/tables/maxp.h"
#include "fontfile/warnings.h"
#include "outline/outline_internal.h"

namespace tsy {

namespace {

// Clears the glyph index that record warnings name when a read ends.
struct TRecordIndexScope {
  explicit TRecordIndexScope(int Index) { SetRecordGlyphIndex(Index); }
  ~TRecordIndexScope() { SetRecordGlyphIndex(-1); }
};

// The kind code names the class; cheaper than a dynamic_cast on every glyph.
TOutlineComposite* AsComposite(TOutlineBase* O) {
  return O && O->GetKind() == okComposite ? static_cast<TOutlineComposite*>(O) : nullptr;
}

}  // namespace

void TFontOutlines::CheckIndex(int Index) const {
  if (Index < 0 || size_t(Index) >= FItems.size())
    throw std::out_of_range(Format("Glyph index %d out of range (0..%zu)", Index, FItems.size()));
}

void TFontOutlines::LoadFromTables(const TTableMaxp* Maxp, const TTableLoca* Loca, const TTableGlyf* Glyf) {
  Clear();
  if (!Maxp || !Loca || !Glyf) throw FontException("Maxp, Glyf and/ or Loca table(s) missing!");
  const uint32_t numGlyphs = Maxp->numGlyphs;
  const uint64_t glyfSize = Glyf->Data.Size();
  const uint8_t* glyf = Glyf->Data.Memory();
  int64_t pointBudget = int64_t(glyfSize) + kPointAllowance;
  bool budgetSpent = false;
  FItems.reserve(numGlyphs);
  int lastProgress = -1;
  for (uint32_t i = 0; i < numGlyphs; ++i) {
    uint32_t begin = 0, end = 0;
    if (size_t(i) + 1 < Loca->OffsetCount()) {
      begin = Loca->Offsets[i];
      end = Loca->Offsets[i + 1];
    }
    std::unique_ptr<TOutlineBase> outline;
    if (begin == end) {
      outline = std::make_unique<TOutlineEmpty>();
    } else if (end < begin || end > glyfSize) {
      TWarningCollector::AddFmt("[fixed] Glyph index %u offsets not correct: GlyphOffsetBegin %u GlyphOffsetEnd %u", i,
                                begin, end);
      outline = std::make_unique<TOutlineEmpty>();
    } else {
      TReadOnlyStream record(glyf + begin, end - begin);
      const int16_t contours = end - begin >= 2 ? int16_t(glyf[begin] << 8 | glyf[begin + 1]) : 0;
      if (contours > 0)
        outline = std::make_unique<TOutlineSimple>();
      else if (contours == -1)
        outline = std::make_unique<TOutlineComposite>();
      if (!outline) {
        TWarningCollector::AddFmt("Unexpected number of contours %d in glyph %u", int(contours), i);
        outline = std::make_unique<TOutlineEmpty>();
      } else {
        TRecordIndexScope scope{int(i)};
        try {
          outline->ReadGlyphRecord(record);
          pointBudget -= outline->GetPointCount();
          if (pointBudget < 0) {
            if (!budgetSpent)
              TWarningCollector::AddFmt("Glyph %u: the glyph data decodes to far more points than it has bytes; "
                                        "this and later such glyphs loaded as empty glyphs", i);
            budgetSpent = true;
            pointBudget += outline->GetPointCount();
            outline = std::make_unique<TOutlineEmpty>();
          }
        } catch (const std::exception& e) {
          TWarningCollector::AddFmt("Glyph %u: broken glyph record (%s); loaded as an empty glyph", i, e.what());
          outline = std::make_unique<TOutlineEmpty>();
        }
      }
    }
    FItems.push_back(std::move(outline));
    if (OnProgress) {
      const int p = 20 + int(std::lround(double(i) / numGlyphs * 80));
      if (p != lastProgress) OnProgress(p);
      lastProgress = p;
    }
  }
  ResolveReferences(true);
  ResolvePointAnchors();
}

void TFontOutlines::SaveToTables(TTableMaxp* Maxp, TTableLoca* Loca, TTableGlyf* Glyf) const {
  if (!Maxp || !Loca || !Glyf) throw FontException("Maxp, Glyf and/ or Loca table(s) missing!");
  if (FItems.size() > 0xFFFF) throw ERangeError(Format("A font cannot hold %zu glyphs", FItems.size()));
  Maxp->numGlyphs = uint16_t(FItems.size());
  // One allocation for all records: an upper bound of the encoded size
  // (a point takes at most a flag byte and two words). Pages of the bound
  // that are never written are never touched.
  uint64_t bound = 0;
  for (const auto& outline : FItems)
    bound += 16 + 2 * uint64_t(outline->GetContourCount()) + 5 * uint64_t(outline->GetPointCount()) +
             16 * uint64_t(outline->GetComponentCount()) + uint64_t(outline->GetInstructionSize());
  Glyf->ClearData();
  Glyf->Data.Bytes().reserve(bound);
  Loca->ClearOffsets();
  Loca->Offsets.reserve(FItems.size() + 1);
  Loca->NumGlyphs = uint16_t(FItems.size());
  TMemoryStream& data = Glyf->Data;
  const uint32_t alignment = AlignGlyphsTo4 ? 4 : 2;
  for (const auto& outline : FItems) {
    if (data.Position() > 0xFFFFFFFFu) throw ERangeError("Glyph data exceed 4 GiB");
    Loca->AddOffset(uint32_t(data.Position()));
    outline->WriteGlyphRecord(data);
    PadStream(data, alignment);
  }
  if (data.Position() > 0xFFFFFFFFu) throw ERangeError("Glyph data exceed 4 GiB");
  Loca->AddOffset(uint32_t(data.Position()));
  Loca->ChooseFormat();
}

void TFontOutlines::ResolveReferences(bool Report) {
  const size_t n = FItems.size();
  for (size_t g = 0; g < n; ++g) {
    TOutlineComposite* c = AsComposite(FItems[g].get());
    if (!c) continue;
    for (TCompositeMember& m : c->Members) {
      m.Outline = m.GlyphIndex < n ? FItems[m.GlyphIndex].get() : nullptr;
      // Kept as it is, so saving loses nothing; it simply draws nothing.
      if (!m.Outline && Report)
        TWarningCollector::AddFmt("Glyph %zu: component refers to glyph %u, which does not exist", g,
                                  unsigned(m.GlyphIndex));
    }
  }

  // One iterative depth-first walk over the member graph (a chain of
  // thousands of composites must not exhaust the stack). A member that leads
  // back to a glyph still on the walk closes a cycle and is dropped. When a
  // glyph is finished its depth and flattened size are known from its
  // members', so members that would pass the limits are dropped there.
  enum : uint8_t { kNew, kOnWalk, kDone };
  std::vector<uint8_t> state(n, kNew);
  std::vector<int> depth(n, 0);
  std::vector<int64_t> points(n, 0), visits(n, 0);
  struct TFrame {
    uint32_t Glyph;
    size_t Member;
  };
  std::vector<TFrame> stack;
  auto drop = [&](TOutlineComposite* c, size_t member, uint32_t glyph, const char* why) {
    TWarningCollector::AddFmt("Glyph %u: component %zu (glyph %u) %s; dropped", glyph, member,
                              unsigned(c->Members[member].GlyphIndex), why);
    c->Members.erase(c->Members.begin() + long(member));
  };
  for (uint32_t root = 0; root < n; ++root) {
    if (state[root] != kNew) continue;
    if (!AsComposite(FItems[root].get())) {
      state[root] = kDone;
      points[root] = FItems[root]->GetPointCount();
      continue;
    }
    state[root] = kOnWalk;
    stack.push_back({root, 0});
    while (!stack.empty()) {
      TFrame& f = stack.back();
      TOutlineComposite* c = AsComposite(FItems[f.Glyph].get());
      if (f.Member < c->Members.size()) {
        const TCompositeMember& m = c->Members[f.Member];
        if (!m.Outline) {
          ++f.Member;
          continue;
        }
        const uint32_t child = m.GlyphIndex;
        if (state[child] == kOnWalk) {
          drop(c, f.Member, f.Glyph, "refers back to the glyph itself");
          continue;
        }
        if (state[child] == kNew) {
          if (!AsComposite(FItems[child].get())) {
            state[child] = kDone;
            points[child] = FItems[child]->GetPointCount();
          } else {
            state[child] = kOnWalk;
            stack.push_back({child, 0});
            continue;
          }
        }
        ++f.Member;
        continue;
      }
      // All members finished: check the limits in member order.
      int d = 0;
      int64_t p = 0, v = 0;
      for (size_t k = 0; k < c->Members.size();) {
        const TCompositeMember& m = c->Members[k];
        if (!m.Outline) {
          ++v;
          ++k;
          continue;
        }
        const uint32_t child = m.GlyphIndex;
        if (depth[child] + 1 > kMaxComponentDepth) {
          drop(c, k, f.Glyph, "nests components too deeply");
          continue;
        }
        if (p + points[child] > kMaxFlattenedPoints || v + 1 + visits[child] > kMaxFlattenedMembers) {
          drop(c, k, f.Glyph, "would expand the glyph beyond any real glyph's size");
          continue;
        }
        d = std::max(d, depth[child]);
        p += points[child];
        v += 1 + visits[child];
        ++k;
      }
      depth[f.Glyph] = d + 1;
      points[f.Glyph] = p;
      visits[f.Glyph] = v;
      state[f.Glyph] = kDone;
      stack.pop_back();
      if (!stack.empty()) ++stack.back().Member;
    }
  }
}

void TFontOutlines::ResolvePointAnchors() {
  for (auto& item : FItems) {
    TOutlineComposite* c = AsComposite(item.get());
    if (!c) continue;
    for (size_t k = 0; k < c->Members.size(); ++k) {
      TCompositeMember& m = c->Members[k];
      if (m.ArgsAreXYValues) continue;
      auto pointAt = [](const TOutlineContours& Contours, uint32_t Number, double& X, double& Y) {
        X = Y = 0;
        for (const TContour& ct : Contours) {
          if (Number < ct.Points.size()) {
            X = RoundHalfUp(ct.Points[Number].X);
            Y = RoundHalfUp(ct.Points[Number].Y);
            return;
          }
          Number -= uint32_t(ct.Points.size());
        }
      };
      TOutlineContours whole, member;
      c->AddTransformedContours(whole, TOutlineTransform{});
      c->AddMemberContours(member, k, TOutlineTransform{});
      double px, py, cx, cy;
      pointAt(whole, m.AnchorParent, px, py);
      pointAt(member, m.AnchorChild, cx, cy);
      m.ArgsAreXYValues = true;
      m.OffsetX = px - cx;
      m.OffsetY = py - cy;
    }
  }
}

void TFontOutlines::DeleteOutline(int Index) {
  CheckIndex(Index);
  // Members naming the deleted glyph go on naming whatever glyph moves into
  // its index, which may close a cycle: only then is the full check needed.
  const bool referenced = IsReferenced(Index);
  FItems.erase(FItems.begin() + Index);
  for (auto& item : FItems)
    if (TOutlineComposite* c = AsComposite(item.get())) {
      c->DecrementReferencesAbove(Index);
      // Members must never keep pointing at the freed outline.
      if (!referenced)
        for (TCompositeMember& m : c->Members)
          m.Outline = m.GlyphIndex < FItems.size() ? FItems[m.GlyphIndex].get() : nullptr;
    }
  if (referenced) ResolveReferences();
}

void TFontOutlines::InsertEmptyOutline(int Index) {
  if (Index < 0 || size_t(Index) > FItems.size())
    throw std::out_of_range(Format("Glyph index %d out of range (0..%zu)", Index, FItems.size()));
  if (FItems.size() >= 0xFFFF) throw ERangeError("A font cannot hold more than 65535 glyphs");
  for (auto& item : FItems)
    if (TOutlineComposite* c = AsComposite(item.get())) c->IncrementReferencesFrom(Index);
  FItems.insert(FItems.begin() + Index, std::make_unique<TOutlineEmpty>());
  // Every member keeps its outline: the references moved with the glyphs and
  // nothing names the new empty glyph, so links, cycles and sizes are as they
  // were (no relinking, which made inserting thousands of glyphs quadratic).
}

void TFontOutlines::ExchangeOutlines(int A, int B) {
  CheckIndex(A);
  CheckIndex(B);
  std::swap(FItems[size_t(A)], FItems[size_t(B)]);
  for (auto& item : FItems)
    if (TOutlineComposite* c = AsComposite(item.get()))
      for (TCompositeMember& m : c->Members) {
        if (m.GlyphIndex == A)
          m.GlyphIndex = uint16_t(B);
        else if (m.GlyphIndex == B)
          m.GlyphIndex = uint16_t(A);
      }
  ResolveReferences();
}

void TFontOutlines::Decompose(int Index) {
  CheckIndex(Index);
  const TOutlineComposite* c = AsComposite(FItems[size_t(Index)].get());
  if (!c) return;
  auto simple = std::make_unique<TOutlineSimple>();
  c->AddTransformedContours(simple->Contours, TOutlineTransform{});
  simple->Bounds = c->Bounds;
  if (simple->Contours.empty())
    FItems[size_t(Index)] = std::make_unique<TOutlineEmpty>();
  else
    FItems[size_t(Index)] = std::move(simple);
  ResolveReferences();
}

void TFontOutlines::SetOutline(int Index, std::unique_ptr<TOutlineBase> Outline) {
  if (size_t(Index) == FItems.size() && Index >= 0) {
    if (FItems.size() >= 0xFFFF) throw ERangeError("A font cannot hold more than 65535 glyphs");
    FItems.push_back(std::move(Outline));
  } else {
    CheckIndex(Index);
    FItems[size_t(Index)] = std::move(Outline);
  }
  ResolveReferences();
}

void TFontOutlines::Assign(std::vector<std::unique_ptr<TOutlineBase>> Items) {
  if (Items.size() > 0xFFFF) throw ERangeError("A font cannot hold more than 65535 glyphs");
  FItems = std::move(Items);
  ResolveReferences();
}

void TFontOutlines::MakeEmpty(int Index) { SetOutline(Index, std::make_unique<TOutlineEmpty>()); }
void TFontOutlines::MakeSimple(int Index) { SetOutline(Index, std::make_unique<TOutlineSimple>()); }
void TFontOutlines::MakeComposite(int Index) { SetOutline(Index, std::make_unique<TOutlineComposite>()); }

void TFontOutlines::ReadSnapshot(int Index, TStream& S) {
  CheckIndex(Index);
  const uint16_t code = ReadUInt16(S);
  std::unique_ptr<TOutlineBase> outline;
  switch (code & 0xFF) {
    case okSimple: outline = std::make_unique<TOutlineSimple>(); break;
    case okComposite: outline = std::make_unique<TOutlineComposite>(); break;
    default: outline = std::make_unique<TOutlineEmpty>(); break;
  }
  outline->ReadSnapshot(S);
  FItems[size_t(Index)] = std::move(outline);
  ResolveReferences();
}

void TFontOutlines::WriteSnapshot(int Index, TStream& S) const {
  CheckIndex(Index);
  const TOutlineBase* o = FItems[size_t(Index)].get();
  WriteUInt16(S, uint16_t(o->GetKind()));
  o->WriteSnapshot(S);
}

void TFontOutlines::WriteSimpleSnapshot(int Index, TStream& S) const {
  CheckIndex(Index);
  const TOutlineBase* o = FItems[size_t(Index)].get();
  if (o->GetKind() != okComposite) return WriteSnapshot(Index, S);
  TOutlineSimple flat;
  o->AddTransformedContours(flat.Contours, TOutlineTransform{});
  flat.Bounds = o->Bounds;
  WriteUInt16(S, okSimple);
  flat.WriteSnapshot(S);
}

void TFontOutlines::ClearAllInstructions() {
  for (auto& item : FItems) item->ClearInstructions();
}

void TFontOutlines::WriteAllInstructions(TStream& S) const {
  // This list's 16-bit values are little-endian.
  auto put16 = [&](size_t V) {
    const uint8_t b[2] = {uint8_t(V), uint8_t(V >> 8)};
    S.Write(b, 2);
  };
  size_t count = 0;
  for (const auto& item : FItems)
    if (item->HasInstructions()) ++count;
  put16(count);
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i]->HasInstructions()) {
      put16(i);
      FItems[i]->WriteInstructions(S);
    }
}

void TFontOutlines::ReadAllInstructions(TStream& S) {
  auto get16 = [&] {
    uint8_t b[2] = {};
    S.ReadExact(b, 2);
    return int(b[0] | b[1] << 8);
  };
  const int count = get16();
  for (int k = 0; k < count; ++k) {
    const int index = get16();
    CheckIndex(index);
    FItems[size_t(index)]->ReadInstructions(S);
  }
}

bool TFontOutlines::IsReferenced(int Index) const {
  for (const auto& item : FItems)
    if (item->ReferencesGlyph(Index)) return true;
  return false;
}

int TFontOutlines::FindMetricsSource(int Index) const {
  // Follows the metrics members down; the walk is bounded like any nesting.
  int result = -1;
  for (int step = 0; step <= kMaxComponentDepth; ++step) {
    if (Index < 0 || size_t(Index) >= FItems.size()) break;
    const TOutlineComposite* c = AsComposite(FItems[size_t(Index)].get());
    if (!c) break;
    const int m = c->GetMetricsMember();
    if (m < 0) break;
    result = m;
    Index = m;
  }
  return result;
}

void TFontOutlines::ScaleOutline(int Index, double Factor) {
  CheckIndex(Index);
  auto* s = dynamic_cast<TOutlineSimple*>(FItems[size_t(Index)].get());
  if (!s) return;
  for (TContour& c : s->Contours)
    for (TTrueTypePoint& p : c.Points) {
      p.X *= Factor;
      p.Y *= Factor;
    }
  TFloatRect& b = s->Bounds;
  b = {double(RoundHalfUp(b.XMin * Factor)), double(RoundHalfUp(b.YMin * Factor)),
       double(RoundHalfUp(b.XMax * Factor)), double(RoundHalfUp(b.YMax * Factor))};
}

}  // namespace tsy
