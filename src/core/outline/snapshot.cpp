// Snapshots: the program's own byte form of one outline, written into undo
// items and clipboard data. Integers big-endian, doubles little-endian,
// booleans one byte.
#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"
#include "outline/outline.h"

namespace tsy {

namespace {

void WriteCountedBytes(TStream& S, const std::vector<uint8_t>& B) {
  if (B.size() > 0xFFFF) throw ERangeError("Glyph instructions exceed 65535 bytes");
  WriteUInt16(S, uint16_t(B.size()));
  if (!B.empty()) S.Write(B.data(), B.size());
}

void ReadCountedBytes(TStream& S, std::vector<uint8_t>& B) {
  const uint16_t n = ReadUInt16(S);
  B.assign(n, 0);
  if (n) S.ReadExact(B.data(), n);
}

// Snapshot data may come from the clipboard: a count is checked against the
// bytes that are left before anything is allocated for it.
void NeedBytes(TStream& S, uint64_t Count) {
  if (S.Remaining() < Count) throw EStreamError("Stream read error");
}

}  // namespace

void TOutlineSimple::WriteSnapshot(TStream& S) const {
  WriteInt16(S, CheckedInt16(int64_t(Contours.size()), "contour count"));
  WriteFloatRect(S, Bounds);
  for (const TContour& c : Contours) {
    WriteUInt16(S, CheckedUInt16(int64_t(c.Points.size()), "point count"));
    for (const TTrueTypePoint& p : c.Points) {
      WriteDouble(S, p.X);
      WriteDouble(S, p.Y);
      WriteBoolean(S, p.OnCurve);
    }
  }
  WriteCountedBytes(S, Instructions);
}

void TOutlineSimple::ReadSnapshot(TStream& S) {
  const int n = ReadInt16(S);
  // Zero contours is what a glyph emptied by an edit holds; it reads back.
  if (n < 0) throw FontException(Format("Simple Glyph with %d number of contours", n));
  Contours.clear();
  Bounds = ReadFloatRect(S);
  NeedBytes(S, uint64_t(n) * 2);
  Contours.resize(size_t(n));
  for (TContour& c : Contours) {
    const uint16_t count = ReadUInt16(S);
    NeedBytes(S, uint64_t(count) * 17);
    c.Points.resize(count);
    for (TTrueTypePoint& p : c.Points) {
      p.X = ReadDouble(S);
      p.Y = ReadDouble(S);
      p.OnCurve = ReadBoolean(S);
    }
  }
  ReadCountedBytes(S, Instructions);
}

void TOutlineComposite::WriteSnapshot(TStream& S) const {
  WriteInt16(S, -1);
  WriteFloatRect(S, Bounds);
  WriteUInt16(S, CheckedUInt16(int64_t(Members.size()), "component count"));
  for (const TCompositeMember& m : Members) {
    WriteUInt16(S, m.GlyphIndex);
    WriteBoolean(S, m.ArgsAreXYValues);
    WriteBoolean(S, m.HasTwoByTwo);
    WriteBoolean(S, m.NoOverlap);
    WriteBoolean(S, m.RoundXYToGrid);
    WriteBoolean(S, m.UseMyMetrics);
    WriteDouble(S, m.ScaleX);
    WriteDouble(S, m.ScaleY);
    WriteDouble(S, m.Scale01);
    WriteDouble(S, m.Scale10);
    WriteDouble(S, m.OffsetX);
    WriteDouble(S, m.OffsetY);
    WriteUInt16(S, m.AnchorParent);
    WriteUInt16(S, m.AnchorChild);
    WriteBoolean(S, m.OverlapCompound);
    WriteBoolean(S, m.ScaledComponentOffset);
    WriteBoolean(S, m.UnscaledComponentOffset);
  }
  WriteCountedBytes(S, Instructions);
}

void TOutlineComposite::ReadSnapshot(TStream& S) {
  const int n = ReadInt16(S);
  if (n != -1) throw FontException(Format("Composite Glyph with %d number of contours", n));
  Members.clear();
  Bounds = ReadFloatRect(S);
  const uint16_t count = ReadUInt16(S);
  constexpr uint64_t kMemberSize = 2 + 5 + 6 * 8 + 4 + 3;
  NeedBytes(S, uint64_t(count) * kMemberSize);
  Members.resize(count);
  for (TCompositeMember& m : Members) {
    m.GlyphIndex = ReadUInt16(S);
    m.ArgsAreXYValues = ReadBoolean(S);
    m.HasTwoByTwo = ReadBoolean(S);
    m.NoOverlap = ReadBoolean(S);
    m.RoundXYToGrid = ReadBoolean(S);
    m.UseMyMetrics = ReadBoolean(S);
    m.ScaleX = ReadDouble(S);
    m.ScaleY = ReadDouble(S);
    m.Scale01 = ReadDouble(S);
    m.Scale10 = ReadDouble(S);
    m.OffsetX = ReadDouble(S);
    m.OffsetY = ReadDouble(S);
    // Point numbers are unsigned, as in the glyph record.
    m.AnchorParent = ReadUInt16(S);
    m.AnchorChild = ReadUInt16(S);
    m.OverlapCompound = ReadBoolean(S);
    m.ScaledComponentOffset = ReadBoolean(S);
    m.UnscaledComponentOffset = ReadBoolean(S);
    m.Outline = nullptr;  // resolved by the outline list
  }
  ReadCountedBytes(S, Instructions);
}

}  // namespace tsy
