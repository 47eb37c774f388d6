// The glyf record forms of simple and composite outlines.
//
// Readers see only the record's own bytes (the loca span) and treat anything
// that does not fit as a broken record: they raise FontException, and the
// outline list turns the glyph into an empty one with a warning.
#include <cstring>

#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"
#include "fontfile/warnings.h"
#include "outline/outline.h"
#include "outline/outline_internal.h"

namespace tsy {

namespace {

// Simple glyph flag bits.
constexpr uint8_t kOnCurve = 0x01, kXShort = 0x02, kYShort = 0x04, kRepeat = 0x08, kXSame = 0x10, kYSame = 0x20;

// Composite flag bits.
constexpr uint16_t kArgsAreWords = 0x0001, kArgsAreXYValues = 0x0002, kRoundXYToGrid = 0x0004,
                   kHaveScale = 0x0008, kMoreComponents = 0x0020, kHaveXYScale = 0x0040,
                   kHaveTwoByTwo = 0x0080, kHaveInstructions = 0x0100, kUseMyMetrics = 0x0200,
                   kOverlapCompound = 0x0400, kScaledComponentOffset = 0x0800,
                   kUnscaledComponentOffset = 0x1000, kNoOverlap = 0x0010;

// Reads big-endian values from a record, never beyond its end.
class TRecordReader {
public:
  TRecordReader(const uint8_t* Data, size_t Size) : FData(Data), FSize(Size) {}
  bool Has(size_t Count) const { return Count <= FSize - FPos; }
  void Need(size_t Count) const {
    if (!Has(Count)) throw FontException("Glyph record is truncated");
  }
  uint8_t U8() { return FData[FPos++]; }
  uint16_t U16() {
    const uint16_t v = uint16_t(FData[FPos] << 8 | FData[FPos + 1]);
    FPos += 2;
    return v;
  }
  int16_t I16() { return int16_t(U16()); }
  const uint8_t* Here() const { return FData + FPos; }
  void Skip(size_t Count) { FPos += Count; }
  size_t Position() const { return FPos; }

private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

void Put16(std::vector<uint8_t>& B, uint16_t V) {
  B.push_back(uint8_t(V >> 8));
  B.push_back(uint8_t(V));
}

int16_t RoundedInt16(double V, const char* What) { return CheckedInt16(RoundHalfUp(V), What); }

void PutBounds(std::vector<uint8_t>& B, const TFloatRect& R) {
  Put16(B, uint16_t(RoundedInt16(R.XMin, "xMin")));
  Put16(B, uint16_t(RoundedInt16(R.YMin, "yMin")));
  Put16(B, uint16_t(RoundedInt16(R.XMax, "xMax")));
  Put16(B, uint16_t(RoundedInt16(R.YMax, "yMax")));
}

TFloatRect ReadBounds(TRecordReader& R) {
  TFloatRect b;
  b.XMin = R.I16();
  b.YMin = R.I16();
  b.XMax = R.I16();
  b.YMax = R.I16();
  return b;
}

}  // namespace

TRecordBytes RecordBytes(TStream& S, std::vector<uint8_t>& Scratch) {
  if (auto* ro = dynamic_cast<TReadOnlyStream*>(&S)) return {ro->Memory() + ro->Position(), size_t(ro->Remaining())};
  if (auto* mem = dynamic_cast<TMemoryStream*>(&S)) return {mem->Memory() + mem->Position(), size_t(mem->Remaining())};
  const uint64_t start = S.Position();
  Scratch.resize(size_t(S.Remaining()));
  S.ReadExact(Scratch.data(), Scratch.size());
  S.Seek(start);
  return {Scratch.data(), Scratch.size()};
}

// ---- simple glyphs

void TOutlineSimple::ReadGlyphRecord(TStream& S) {
  Instructions.clear();
  Contours.clear();
  thread_local std::vector<uint8_t> scratch, flags;
  thread_local std::vector<uint16_t> ends;
  thread_local std::vector<int32_t> xs;
  const uint64_t start = S.Position();
  const TRecordBytes bytes = RecordBytes(S, scratch);
  TRecordReader r(bytes.Data, bytes.Size);

  r.Need(10);
  const int n = r.I16();
  if (n < 1) throw FontException(Format("Simple Glyph with %d number of contours", n));
  Bounds = ReadBounds(r);

  r.Need(2 * size_t(n) + 2);
  ends.resize(size_t(n));
  size_t emptyContours = 0;
  for (int c = 0; c < n; ++c) {
    ends[c] = r.U16();
    if (c > 0 && ends[c] < ends[c - 1]) throw FontException("Contour end points of the glyph record do not rise");
    if (c > 0 && ends[c] == ends[c - 1]) ++emptyContours;
  }
  const uint32_t points = uint32_t(ends[n - 1]) + 1;
  if (points > 0xFFFF) throw FontException("Glyph record with more than 65535 points");

  const uint16_t instructionLength = r.U16();
  r.Need(instructionLength);
  Instructions.assign(r.Here(), r.Here() + instructionLength);
  r.Skip(instructionLength);

  // Flags, with repeat runs. A run that reaches past the last point is cut
  // there: the next bytes are coordinates, never more flags.
  flags.resize(points);
  bool overshoot = false;
  for (uint32_t count = 0; count < points;) {
    r.Need(1);
    const uint8_t f = r.U8();
    uint32_t run = 1;
    if (f & kRepeat) {
      r.Need(1);
      run += r.U8();
    }
    if (run > points - count) {
      run = points - count;
      overshoot = true;
    }
    std::memset(flags.data() + count, f, run);
    count += run;
  }
  if (overshoot) AddRecordWarning("a flag repeat runs past the last point; cut at the last point");

  xs.resize(points);
  int32_t x = 0;
  for (uint32_t i = 0; i < points; ++i) {
    const uint8_t f = flags[i];
    if (f & kXShort) {
      r.Need(1);
      const int32_t d = r.U8();
      x += (f & kXSame) ? d : -d;
    } else if (!(f & kXSame)) {
      r.Need(2);
      x += r.I16();
    }
    xs[i] = x;
  }

  Contours.reserve(size_t(n) - emptyContours);
  int32_t y = 0;
  uint32_t i = 0;
  for (int c = 0; c < n; ++c) {
    if (c > 0 && ends[c] == ends[c - 1]) continue;  // a contour without points: left out
    TContour& contour = Contours.emplace_back();
    contour.Points.resize(uint32_t(ends[c]) + 1 - i);
    for (TTrueTypePoint& p : contour.Points) {
      const uint8_t f = flags[i];
      if (f & kYShort) {
        r.Need(1);
        const int32_t d = r.U8();
        y += (f & kYSame) ? d : -d;
      } else if (!(f & kYSame)) {
        r.Need(2);
        y += r.I16();
      }
      p.X = xs[i];
      p.Y = y;
      p.OnCurve = f & kOnCurve;
      ++i;
    }
  }
  if (emptyContours > 0) AddRecordWarning(Format("%zu contours without points left out", emptyContours));
  S.Seek(start + r.Position());
}

void TOutlineSimple::WriteGlyphRecord(TStream& S) const {
  size_t contours = 0, total = 0;
  for (const TContour& c : Contours)
    if (!c.Points.empty()) {
      ++contours;
      total += c.Points.size();
    }
  // No drawing: the empty record, which reads back as an empty glyph.
  if (contours == 0) return;
  if (contours > 0x7FFF) throw ERangeError(Format("A glyph cannot hold %zu contours", contours));
  if (total > 0xFFFF) throw ERangeError(Format("A glyph cannot hold %zu points", total));
  if (Instructions.size() > 0xFFFF) throw ERangeError("Glyph instructions exceed 65535 bytes");

  thread_local std::vector<uint8_t> out, xb, yb;
  out.clear();
  xb.clear();
  yb.clear();
  Put16(out, uint16_t(contours));
  PutBounds(out, Bounds);
  size_t end = 0;
  for (const TContour& c : Contours)
    if (!c.Points.empty()) {
      end += c.Points.size();
      Put16(out, uint16_t(end - 1));
    }
  Put16(out, uint16_t(Instructions.size()));
  out.insert(out.end(), Instructions.begin(), Instructions.end());

  int32_t px = 0, py = 0;
  int runFlag = -1;
  int runLength = 0;
  auto closeRun = [&] {
    if (runLength == 1) {
      out.push_back(uint8_t(runFlag));
    } else if (runLength > 1) {
      out.push_back(uint8_t(runFlag | kRepeat));
      out.push_back(uint8_t(runLength - 1));
    }
    runLength = 0;
  };
  for (const TContour& c : Contours)
    for (const TTrueTypePoint& p : c.Points) {
      const int32_t rx = RoundHalfUp(p.X), ry = RoundHalfUp(p.Y);
      const int16_t dx = CheckedInt16(int64_t(rx) - px, "x delta");
      const int16_t dy = CheckedInt16(int64_t(ry) - py, "y delta");
      px = rx;
      py = ry;
      uint8_t f = p.OnCurve ? kOnCurve : 0;
      if (dx == 0) {
        f |= kXSame;
      } else if (dx >= -255 && dx <= 255) {
        f |= kXShort | (dx > 0 ? kXSame : 0);
        xb.push_back(uint8_t(dx > 0 ? dx : -dx));
      } else {
        Put16(xb, uint16_t(dx));
      }
      if (dy == 0) {
        f |= kYSame;
      } else if (dy >= -255 && dy <= 255) {
        f |= kYShort | (dy > 0 ? kYSame : 0);
        yb.push_back(uint8_t(dy > 0 ? dy : -dy));
      } else {
        Put16(yb, uint16_t(dy));
      }
      if (f != runFlag || runLength == 256) {
        closeRun();
        runFlag = f;
      }
      ++runLength;
    }
  closeRun();
  out.insert(out.end(), xb.begin(), xb.end());
  out.insert(out.end(), yb.begin(), yb.end());
  S.Write(out.data(), out.size());
}

// ---- composite glyphs

void TOutlineComposite::ReadGlyphRecord(TStream& S) {
  Instructions.clear();
  Members.clear();
  thread_local std::vector<uint8_t> scratch;
  const uint64_t start = S.Position();
  const TRecordBytes bytes = RecordBytes(S, scratch);
  TRecordReader r(bytes.Data, bytes.Size);

  r.Need(10);
  const int n = r.I16();
  if (n != -1) throw FontException(Format("Composite Glyph with %d number of contours", n));
  Bounds = ReadBounds(r);

  uint16_t flags = 0;
  do {
    r.Need(4);
    flags = r.U16();
    TCompositeMember& m = Members.emplace_back();
    m.GlyphIndex = r.U16();
    const bool xy = flags & kArgsAreXYValues;
    int32_t a1, a2;
    if (flags & kArgsAreWords) {
      r.Need(4);
      // Offsets are signed, point numbers unsigned.
      a1 = xy ? int32_t(r.I16()) : int32_t(r.U16());
      a2 = xy ? int32_t(r.I16()) : int32_t(r.U16());
    } else {
      r.Need(2);
      a1 = xy ? int32_t(int8_t(r.U8())) : int32_t(r.U8());
      a2 = xy ? int32_t(int8_t(r.U8())) : int32_t(r.U8());
    }
    if (xy) {
      m.ArgsAreXYValues = true;
      m.OffsetX = a1;
      m.OffsetY = a2;
    } else {
      TWarningCollector::Add("no flagXYValues");
      m.ArgsAreXYValues = false;
      m.AnchorParent = uint16_t(a1);
      m.AnchorChild = uint16_t(a2);
    }
    if (flags & kHaveScale) {
      r.Need(2);
      m.ScaleX = m.ScaleY = F2Dot14ToDouble(r.U16());
    } else if (flags & kHaveXYScale) {
      r.Need(4);
      m.ScaleX = F2Dot14ToDouble(r.U16());
      m.ScaleY = F2Dot14ToDouble(r.U16());
    } else if (flags & kHaveTwoByTwo) {
      r.Need(8);
      m.ScaleX = F2Dot14ToDouble(r.U16());
      m.Scale01 = F2Dot14ToDouble(r.U16());
      m.Scale10 = F2Dot14ToDouble(r.U16());
      m.ScaleY = F2Dot14ToDouble(r.U16());
      m.HasTwoByTwo = true;
    }
    m.NoOverlap = flags & kNoOverlap;
    m.RoundXYToGrid = flags & kRoundXYToGrid;
    m.UseMyMetrics = flags & kUseMyMetrics;
    m.OverlapCompound = flags & kOverlapCompound;
    m.ScaledComponentOffset = flags & kScaledComponentOffset;
    m.UnscaledComponentOffset = flags & kUnscaledComponentOffset;
  } while (flags & kMoreComponents);

  if (flags & kHaveInstructions) {
    // Cut-off instructions are dropped; the members are still good.
    if (r.Has(2)) {
      const uint16_t length = r.U16();
      if (r.Has(length)) {
        Instructions.assign(r.Here(), r.Here() + length);
        r.Skip(length);
      } else {
        AddRecordWarning("composite instructions run past the record; dropped");
      }
    } else {
      AddRecordWarning("composite instructions run past the record; dropped");
    }
  }
  S.Seek(start + r.Position());
}

void TOutlineComposite::WriteGlyphRecord(TStream& S) const {
  if (Members.empty()) return;  // nothing to draw: the empty record
  if (Instructions.size() > 0xFFFF) throw ERangeError("Glyph instructions exceed 65535 bytes");
  thread_local std::vector<uint8_t> out;
  out.clear();
  Put16(out, uint16_t(int16_t(-1)));
  PutBounds(out, Bounds);
  for (size_t i = 0; i < Members.size(); ++i) {
    const TCompositeMember& m = Members[i];
    const bool last = i + 1 == Members.size();
    uint16_t flags = 0;
    if (m.ArgsAreXYValues) {
      if (m.OffsetX < -128 || m.OffsetX > 127 || m.OffsetY < -128 || m.OffsetY > 127) flags |= kArgsAreWords;
      flags |= kArgsAreXYValues;
    } else if (m.AnchorParent > 255 || m.AnchorChild > 255) {
      flags |= kArgsAreWords;
    }
    if (m.RoundXYToGrid) flags |= kRoundXYToGrid;
    if (m.NoOverlap) flags |= kNoOverlap;
    // A matrix with off-diagonal values needs the 2x2 form even when the
    // member was not read with one.
    const bool twoByTwo = m.HasTwoByTwo || m.Scale01 != 0 || m.Scale10 != 0;
    if (twoByTwo)
      flags |= kHaveTwoByTwo;
    else if (m.ScaleX == m.ScaleY && m.ScaleX != 1)
      flags |= kHaveScale;
    else if (m.ScaleX != m.ScaleY)
      flags |= kHaveXYScale;
    if (!last) flags |= kMoreComponents;
    if (m.UseMyMetrics) flags |= kUseMyMetrics;
    if (m.OverlapCompound) flags |= kOverlapCompound;
    if (m.ScaledComponentOffset) flags |= kScaledComponentOffset;
    if (m.UnscaledComponentOffset) flags |= kUnscaledComponentOffset;
    if (last && !Instructions.empty()) flags |= kHaveInstructions;

    Put16(out, flags);
    Put16(out, m.GlyphIndex);
    if (flags & kArgsAreWords) {
      if (m.ArgsAreXYValues) {
        Put16(out, uint16_t(RoundedInt16(m.OffsetX, "component x offset")));
        Put16(out, uint16_t(RoundedInt16(m.OffsetY, "component y offset")));
      } else {
        Put16(out, m.AnchorParent);
        Put16(out, m.AnchorChild);
      }
    } else if (m.ArgsAreXYValues) {
      // Within -128..127 before rounding, so the rounded value fits too.
      out.push_back(uint8_t(int8_t(RoundHalfUp(m.OffsetX))));
      out.push_back(uint8_t(int8_t(RoundHalfUp(m.OffsetY))));
    } else {
      out.push_back(uint8_t(m.AnchorParent));
      out.push_back(uint8_t(m.AnchorChild));
    }
    if (flags & kHaveTwoByTwo) {
      Put16(out, DoubleToF2Dot14(m.ScaleX));
      Put16(out, DoubleToF2Dot14(m.Scale01));
      Put16(out, DoubleToF2Dot14(m.Scale10));
      Put16(out, DoubleToF2Dot14(m.ScaleY));
    } else if (flags & kHaveScale) {
      Put16(out, DoubleToF2Dot14(m.ScaleX));
    } else if (flags & kHaveXYScale) {
      Put16(out, DoubleToF2Dot14(m.ScaleX));
      Put16(out, DoubleToF2Dot14(m.ScaleY));
    }
  }
  if (!Instructions.empty()) {
    Put16(out, uint16_t(Instructions.size()));
    out.insert(out.end(), Instructions.begin(), Instructions.end());
  }
  S.Write(out.data(), out.size());
}

}  // namespace tsy
