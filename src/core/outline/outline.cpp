// The outline kinds apart from their glyph records and snapshots.
#include "outline/outline.h"

#include <algorithm>
#include <cmath>

#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"
#include "fontfile/warnings.h"
#include "outline/outline_internal.h"

namespace tsy {

namespace {

thread_local int GRecordGlyphIndex = -1;
thread_local int GMemberDepth = 0;

}  // namespace

void SetRecordGlyphIndex(int Index) { GRecordGlyphIndex = Index; }

void AddRecordWarning(const std::string& Message) {
  if (GRecordGlyphIndex >= 0)
    TWarningCollector::Add(Format("Glyph %d: %s", GRecordGlyphIndex, Message.c_str()));
  else
    TWarningCollector::Add(Message);
}

TMemberDepthGuard::TMemberDepthGuard() : Allowed(++GMemberDepth <= kMaxComponentDepth) {}
TMemberDepthGuard::~TMemberDepthGuard() { --GMemberDepth; }

void TOutlineBase::Assign(const TOutlineBase& Source) {
  if (Source.GetKind() != GetKind())
    throw FontException("Can't duplicate glyph because source and dest glyphs are not the same type.");
  TMemoryStream m;
  Source.WriteGlyphRecord(m);
  m.Seek(0);
  if (m.Size() == 0) {
    // A glyph without drawing writes no record; its copy is the bare kind.
    if (auto* s = dynamic_cast<TOutlineSimple*>(this)) {
      s->Contours.clear();
      s->Instructions.clear();
    } else if (auto* c = dynamic_cast<TOutlineComposite*>(this)) {
      c->Members.clear();
      c->Instructions.clear();
    }
    Bounds = {};
    return;
  }
  ReadGlyphRecord(m);
}

// ---- instructions

void TOutlineInstructed::ReadInstructions(TStream& S) {
  uint8_t b[2] = {};
  S.Read(b, 2);
  const size_t n = size_t(b[0] | b[1] << 8);
  Instructions.assign(n, 0);
  if (n) S.ReadExact(Instructions.data(), n);
}

void TOutlineInstructed::WriteInstructions(TStream& S) const {
  if (Instructions.size() > 0xFFFF) throw ERangeError("Glyph instructions exceed 65535 bytes");
  const uint8_t b[2] = {uint8_t(Instructions.size()), uint8_t(Instructions.size() >> 8)};
  S.Write(b, 2);
  if (!Instructions.empty()) S.Write(Instructions.data(), Instructions.size());
}

// ---- simple

int64_t TOutlineSimple::GetPointCount() const {
  int64_t n = 0;
  for (const TContour& c : Contours) n += int64_t(c.Points.size());
  return n;
}

void TOutlineSimple::AddTransformedContours(TOutlineContours& Target, const TOutlineTransform& T) const {
  const bool identity = T.IsIdentity();
  for (const TContour& c : Contours) {
    TContour& out = Target.emplace_back();
    out.Points = c.Points;
    if (identity) continue;
    for (TTrueTypePoint& p : out.Points) {
      const TRealPoint q = T.Apply(p.X, p.Y);
      p.X = q.X;
      p.Y = q.Y;
    }
  }
}

TFloatRect PointExtents(const TOutlineContours& Contours) {
  bool any = false;
  TFloatRect r;
  for (const TContour& c : Contours)
    for (const TTrueTypePoint& p : c.Points) {
      if (!any) {
        r = {p.X, p.Y, p.X, p.Y};
        any = true;
        continue;
      }
      r.XMin = std::min(r.XMin, p.X);
      r.YMin = std::min(r.YMin, p.Y);
      r.XMax = std::max(r.XMax, p.X);
      r.YMax = std::max(r.YMax, p.Y);
    }
  return r;
}

void TOutlineSimple::UpdateBounds() { Bounds = PointExtents(Contours); }

// ---- composite

int TOutlineComposite::GetComponentDepth() const {
  TMemberDepthGuard guard;
  if (!guard.Allowed) return 0;
  int deepest = 0;
  for (const TCompositeMember& m : Members)
    if (m.Outline) deepest = std::max(deepest, m.Outline->GetComponentDepth());
  return 1 + deepest;
}

int64_t TOutlineComposite::GetCompositeContourCount() const {
  TMemberDepthGuard guard;
  if (!guard.Allowed) return 0;
  int64_t n = 0;
  for (const TCompositeMember& m : Members)
    if (m.Outline) n += m.Outline->GetContourCount() + m.Outline->GetCompositeContourCount();
  return n;
}

int64_t TOutlineComposite::GetCompositePointCount() const {
  TMemberDepthGuard guard;
  if (!guard.Allowed) return 0;
  int64_t n = 0;
  for (const TCompositeMember& m : Members)
    if (m.Outline) n += m.Outline->GetPointCount() + m.Outline->GetCompositePointCount();
  return n;
}

TOutlineTransform TOutlineComposite::MemberTransform(const TCompositeMember& M) {
  TOutlineTransform t;
  t.ScaleX = M.ScaleX;
  t.ScaleY = M.ScaleY;
  t.YFromX = M.Scale01;
  t.XFromY = M.Scale10;
  t.OffsetX = M.OffsetX;
  t.OffsetY = M.OffsetY;
  const bool scaled = M.ScaleX != 1 || M.ScaleY != 1 || M.Scale01 != 0 || M.Scale10 != 0;
  if (scaled && M.ScaledComponentOffset && !M.UnscaledComponentOffset) {
    // Apple's reading of a scaled offset: each offset scaled by the length of
    // the matrix column that maps its axis.
    t.OffsetX *= std::hypot(M.ScaleX, M.Scale10);
    t.OffsetY *= std::hypot(M.ScaleY, M.Scale01);
  }
  return t;
}

void TOutlineComposite::AddMemberContours(TOutlineContours& Target, size_t MemberIndex,
                                          const TOutlineTransform& Transform) const {
  const TCompositeMember& m = Members.at(MemberIndex);
  if (!m.Outline) return;
  TMemberDepthGuard guard;
  if (!guard.Allowed) return;
  m.Outline->AddTransformedContours(Target, Transform.Compose(MemberTransform(m)));
}

void TOutlineComposite::AddTransformedContours(TOutlineContours& Target, const TOutlineTransform& Transform) const {
  for (size_t i = 0; i < Members.size(); ++i) AddMemberContours(Target, i, Transform);
}

bool TOutlineComposite::ReferencesGlyph(int Index) const {
  TMemberDepthGuard guard;
  if (!guard.Allowed) return false;
  for (const TCompositeMember& m : Members)
    if (m.GlyphIndex == Index || (m.Outline && m.Outline->ReferencesGlyph(Index))) return true;
  return false;
}

void TOutlineComposite::UpdateBounds() {
  TOutlineContours flat;
  AddTransformedContours(flat, TOutlineTransform{});
  Bounds = PointExtents(flat);
}

void TOutlineComposite::DecrementReferencesAbove(int Index) {
  for (TCompositeMember& m : Members)
    if (m.GlyphIndex > Index) --m.GlyphIndex;
}

void TOutlineComposite::IncrementReferencesFrom(int Index) {
  for (TCompositeMember& m : Members)
    if (m.GlyphIndex >= Index) {
      if (m.GlyphIndex == 0xFFFF) throw ERangeError("A glyph index cannot exceed 65535");
      ++m.GlyphIndex;
    }
}

int TOutlineComposite::GetMetricsMember() const {
  int result = -1;
  for (const TCompositeMember& m : Members)
    if (m.UseMyMetrics) result = m.GlyphIndex;
  return result;
}

}  // namespace tsy
