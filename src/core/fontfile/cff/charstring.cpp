#include "fontfile/cff/charstring.h"

#include <algorithm>
#include <cmath>

#include "fontfile/cff/cubicquad.h"
#include "fontfile/fontexception.h"

namespace tsy {

namespace {

// Subroutine nesting allowed by the charstring format.
constexpr int kMaxSubroutineDepth = 10;
// Operators one glyph may execute, its subroutines and accent parts included.
constexpr int64_t kMaxGlyphOperators = 1 << 20;
// Coordinates beyond this cannot come from a real font; they would only
// overflow the glyph record later.
constexpr double kMaxCoordinate = 1e7;

// Type 1 and Type 2 names for codes 161 and above of the standard encoding,
// as string ids: the standard strings list them in encoding order.
constexpr uint8_t kUpperCodes[] = {161, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171, 172, 173, 174,
                                   175, 177, 178, 179, 180, 182, 183, 184, 185, 186, 187, 188, 189, 191,
                                   193, 194, 195, 196, 197, 198, 199, 200, 202, 203, 205, 206, 207, 208,
                                   225, 227, 232, 233, 234, 235, 241, 245, 248, 249, 250, 251};

int StandardEncodingSID(int Code) {
  if (Code >= 32 && Code <= 126) return Code - 31;
  const auto* end = std::end(kUpperCodes);
  const auto* it = std::find(std::begin(kUpperCodes), end, Code);
  return it == end ? -1 : int(96 + (it - std::begin(kUpperCodes)));
}

}  // namespace

int StandardEncodingGlyph(const std::vector<uint16_t>& GlyphSIDs, int Code) {
  const int sid = StandardEncodingSID(Code);
  if (sid < 0) return -1;
  for (size_t g = 0; g < GlyphSIDs.size(); ++g)
    if (GlyphSIDs[g] == sid) return int(g);
  return -1;
}

void TCFFSubroutines::ComputeBias(int CharstringType) {
  const size_t n = Items.size();
  Bias = CharstringType == 1 ? 0 : n < 1240 ? 107 : n < 33900 ? 1131 : 32768;
}

double TCFFGlyphSubroutines::Pop() {
  if (FCount == 0) throw FontException("Stack underflow");
  return FStack[--FCount];
}

void TCFFGlyphSubroutines::Push(double V) {
  if (FCount >= kCFFMaxOperands) throw FontException("Stack overflow");
  FStack[FCount++] = V;
}

void TCFFGlyphSubroutines::DropBottom(int N) {
  std::copy(FStack + N, FStack + FCount, FStack);
  FCount -= N;
}

void TCFFGlyphSubroutines::TakeWidth(bool WidthPresent) {
  if (FWidthDone) return;
  FWidthDone = true;
  // The advance width comes from hmtx; the charstring's copy is dropped.
  if (WidthPresent && FCount > 0) DropBottom(1);
}

void TCFFGlyphSubroutines::CheckEmpty() {
  if (FCount != 0) throw FontException(Format("Expected no more Stack items %d", FCount));
}

void TCFFGlyphSubroutines::RequireContour() {
  if (!FHasContour) throw FontException(Format("[TTableCFF] Glyph %d draws before its first moveto.", FGlyphIndex));
}

TTrueTypePoint& TCFFGlyphSubroutines::AddPoint(double X, double Y, bool OnCurve) {
  if (!(std::fabs(X) <= kMaxCoordinate && std::fabs(Y) <= kMaxCoordinate))
    throw FontException(Format("[TTableCFF] Glyph %d has coordinates out of range.", FGlyphIndex));
  if (--PointBudget < 0) throw FontException("[TTableCFF] The charstrings draw far more points than any font holds.");
  FContour.Points.push_back({X, Y, OnCurve});
  return FContour.Points.back();
}

void TCFFGlyphSubroutines::CloseContour() {
  if (!FHasContour) return;
  FHasContour = false;
  auto& pts = FContour.Points;
  // A path closes back to its start implicitly; an explicit copy of the
  // start point is not a point of its own.
  if (pts.size() > 1 && pts.back().OnCurve && pts.back().X == pts.front().X && pts.back().Y == pts.front().Y)
    pts.pop_back();
  // A moveto followed by another moveto or endchar draws nothing.
  if (pts.size() > 1) {
    // PostScript outer contours run counter-clockwise, TrueType ones clockwise.
    std::reverse(pts.begin(), pts.end());
    FOutline->Contours.push_back(std::move(FContour));
  }
  FContour = TContour{};
}

void TCFFGlyphSubroutines::MoveTo(double Dx, double Dy) {
  CloseContour();
  FX += Dx;
  FY += Dy;
  FHasContour = true;
  AddPoint(FX + FOffsetX, FY + FOffsetY, true);
}

void TCFFGlyphSubroutines::LineTo(double Dx, double Dy) {
  RequireContour();
  FX += Dx;
  FY += Dy;
  AddPoint(FX + FOffsetX, FY + FOffsetY, true);
}

void TCFFGlyphSubroutines::CurveTo(double Dx1, double Dy1, double Dx2, double Dy2, double Dx3, double Dy3) {
  RequireContour();
  const TTrueTypePoint& last = FContour.Points.back();
  TRealPoint p[4];
  p[0] = {last.X, last.Y};
  p[1] = {FX + Dx1 + FOffsetX, FY + Dy1 + FOffsetY};
  p[2] = {p[1].X + Dx2, p[1].Y + Dy2};
  p[3] = {p[2].X + Dx3, p[2].Y + Dy3};
  FX = p[3].X - FOffsetX;
  FY = p[3].Y - FOffsetY;
  for (const TRealPoint& q : p)
    if (!(std::fabs(q.X) <= kMaxCoordinate && std::fabs(q.Y) <= kMaxCoordinate))
      throw FontException(Format("[TTableCFF] Glyph %d has coordinates out of range.", FGlyphIndex));
  auto& pts = FContour.Points;
  const size_t before = pts.size();
  AppendCubicAsQuadratic(pts, p[0], p[1], p[2], p[3]);
  PointBudget -= int64_t(pts.size() - before);
  if (PointBudget < 0) throw FontException("[TTableCFF] The charstrings draw far more points than any font holds.");
  if (OnCubic) OnCubic(p, pts.data() + before, pts.size() - before);
}

const TCFFSubroutines& TCFFGlyphSubroutines::LocalFor(int Index) const {
  if (!CIDKeyed) return LocalSubrs;
  const size_t fd = size_t(Index) < FDSelect.size() ? FDSelect[size_t(Index)] : 0;
  if (fd >= FDLocalSubrs.size())
    throw FontException(Format("[TTableCFF] Glyph %d names a missing font dict %zu.", Index, fd));
  return FDLocalSubrs[fd];
}

TCFFGlyphSubroutines::TRunEnd TCFFGlyphSubroutines::Run(TCFFSpan Span, const TCFFSubroutines& Local) {
  Data.CheckRange(Span.Offset, Span.Length, "charstring");
  const uint8_t* p = Data.Data() + Span.Offset;
  const uint8_t* const end = p + Span.Length;
  auto need = [&](ptrdiff_t N) {
    if (end - p < N) throw FontException("[TTableCFF] A charstring operand runs past its end.");
  };
  auto arg = [&](int I) { return FStack[I]; };
  auto hint = [&](bool) {
    TakeWidth(FCount % 2 == 1);
    FStemCount += (FCount + 1) / 2;
    Clear();
  };
  while (p < end) {
    const uint8_t b0 = *p++;
    if (b0 >= 32 || b0 == 28) {
      if (b0 <= 246 && b0 != 28) {
        Push(int(b0) - 139);
      } else if (b0 <= 250 && b0 != 28) {
        need(1);
        Push((int(b0) - 247) * 256 + *p++ + 108);
      } else if (b0 <= 254 && b0 != 28) {
        need(1);
        Push(-(int(b0) - 251) * 256 - *p++ - 108);
      } else if (b0 == 28) {
        need(2);
        Push(int16_t(p[0] << 8 | p[1]));
        p += 2;
      } else {  // 255: 16.16 fixed point
        need(4);
        Push(int32_t(uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]) / 65536.0);
        p += 4;
      }
      continue;
    }
    if (++FGlyphOperators > kMaxGlyphOperators || --OperatorBudget < 0)
      throw FontException(Format("[TTableCFF] Glyph %d runs too long.", FGlyphIndex));
    switch (b0) {
      case 1:   // hstem
      case 3:   // vstem
      case 18:  // hstemhm
      case 23:  // vstemhm
        hint(true);
        break;
      case 19:  // hintmask
      case 20:  // cntrmask
        // Operands here are vertical stems without their own operator; an
        // odd count carries the width in front of them.
        TakeWidth(FCount % 2 == 1);
        FStemCount += (FCount + 1) / 2;
        if (FMaskBytes == 0) FMaskBytes = (FStemCount + 7) / 8;
        if (FMaskBytes == 0) throw FontException(Format("[TTableCFF] Glyph %d has a hint mask without stems.", FGlyphIndex));
        need(FMaskBytes);
        p += FMaskBytes;
        Clear();
        break;
      case 21:  // rmoveto
        TakeWidth(FCount % 2 == 1);
        if (FCount < 2) throw FontException("Stack underflow");
        MoveTo(arg(FCount - 2), arg(FCount - 1));
        FCount -= 2;
        CheckEmpty();
        break;
      case 22:  // hmoveto
      case 4:   // vmoveto
        if (!FWidthDone && FCount > 2) throw FontException("Problem!");
        TakeWidth(FCount == 2);
        if (FCount < 1) throw FontException("Stack underflow");
        if (b0 == 22) MoveTo(arg(FCount - 1), 0);
        else MoveTo(0, arg(FCount - 1));
        FCount -= 1;
        CheckEmpty();
        break;
      case 5:  // rlineto
        if (FCount < 2) throw FontException("Stack underflow");
        for (int i = 0; i + 1 < FCount; i += 2) LineTo(arg(i), arg(i + 1));
        FCount %= 2;
        CheckEmpty();
        break;
      case 6:  // hlineto
      case 7: {  // vlineto
        if (FCount < 1) throw FontException("Stack underflow");
        bool horizontal = b0 == 6;
        for (int i = 0; i < FCount; ++i, horizontal = !horizontal)
          horizontal ? LineTo(arg(i), 0) : LineTo(0, arg(i));
        Clear();
        break;
      }
      case 8: {  // rrcurveto
        if (FCount < 6) throw FontException("Stack underflow");
        int i = 0;
        for (; i + 6 <= FCount; i += 6) CurveTo(arg(i), arg(i + 1), arg(i + 2), arg(i + 3), arg(i + 4), arg(i + 5));
        FCount -= i;
        CheckEmpty();
        break;
      }
      case 24: {  // rcurveline
        if (FCount < 8) throw FontException("Stack underflow");
        int i = 0;
        for (; FCount - i >= 8; i += 6) CurveTo(arg(i), arg(i + 1), arg(i + 2), arg(i + 3), arg(i + 4), arg(i + 5));
        LineTo(arg(i), arg(i + 1));
        FCount -= i + 2;
        CheckEmpty();
        break;
      }
      case 25: {  // rlinecurve
        if (FCount < 8) throw FontException("Stack underflow");
        int i = 0;
        for (; FCount - i >= 8; i += 2) LineTo(arg(i), arg(i + 1));
        CurveTo(arg(i), arg(i + 1), arg(i + 2), arg(i + 3), arg(i + 4), arg(i + 5));
        FCount -= i + 6;
        CheckEmpty();
        break;
      }
      case 26:    // vvcurveto
      case 27: {  // hhcurveto
        if (FCount < 4) throw FontException("Stack underflow");
        int i = 0;
        double extra = 0;
        if (FCount % 4 == 1) extra = arg(i++);
        for (; i + 4 <= FCount; i += 4) {
          if (b0 == 26) CurveTo(extra, arg(i), arg(i + 1), arg(i + 2), 0, arg(i + 3));
          else CurveTo(arg(i), extra, arg(i + 1), arg(i + 2), arg(i + 3), 0);
          extra = 0;
        }
        FCount -= i;
        CheckEmpty();
        break;
      }
      case 30:    // vhcurveto
      case 31: {  // hvcurveto
        if (FCount < 4) throw FontException("Stack underflow");
        bool horizontal = b0 == 31;
        int i = 0;
        for (; i + 4 <= FCount; i += 4, horizontal = !horizontal) {
          const bool last = FCount - (i + 4) == 1;
          const double e = last ? arg(i + 4) : 0;
          if (horizontal) CurveTo(arg(i), 0, arg(i + 1), arg(i + 2), e, arg(i + 3));
          else CurveTo(0, arg(i), arg(i + 1), arg(i + 2), arg(i + 3), e);
          if (last) ++i;
        }
        FCount -= i;
        CheckEmpty();
        break;
      }
      case 10:    // callsubr
      case 29: {  // callgsubr
        const TCFFSubroutines* subrs = b0 == 10 ? &Local : GlobalSubrs;
        const double n = Pop() + (subrs ? subrs->Bias : 0);
        if (!subrs || !(n >= 0) || n >= double(subrs->Items.size()))
          throw FontException(Format("[TTableCFF] Glyph %d calls the missing %s subroutine %.0f.", FGlyphIndex,
                                     b0 == 10 ? "local" : "global", n));
        if (FDepth >= kMaxSubroutineDepth) throw FontException(Format("Subroutine stack limit exceeeded %d", FDepth));
        ++FDepth;
        const TRunEnd e = Run(subrs->Items[size_t(n)], Local);
        --FDepth;
        if (e == TRunEnd::EndChar) return e;
        break;
      }
      case 11:  // return
        if (FDepth == 0) throw FontException("Subroutine stack misses return operand.");
        return TRunEnd::Return;
      case 14:  // endchar
        TakeWidth(FCount % 2 == 1);
        if (FCount >= 4) {
          FSeac = true;
          std::copy(FStack + FCount - 4, FStack + FCount, FSeacArgs);
        }
        CloseContour();
        Clear();
        return TRunEnd::EndChar;
      case 12: {
        need(1);
        const uint8_t b1 = *p++;
        switch (b1) {
          case 0: break;  // dotsection
          case 3: {       // and
            const double b = Pop(), a = Pop();
            Push(a != 0 && b != 0 ? 1 : 0);
            break;
          }
          case 4: {  // or
            const double b = Pop(), a = Pop();
            Push(a != 0 || b != 0 ? 1 : 0);
            break;
          }
          case 5: Push(Pop() == 0 ? 1 : 0); break;  // not
          case 9: Push(std::fabs(Pop())); break;    // abs
          case 10: {                                // add
            const double b = Pop(), a = Pop();
            Push(a + b);
            break;
          }
          case 11: {  // sub
            const double b = Pop(), a = Pop();
            Push(a - b);
            break;
          }
          case 12: {  // div
            const double b = Pop(), a = Pop();
            if (b == 0) throw FontException(Format("[TTableCFF] Glyph %d divides by zero.", FGlyphIndex));
            Push(a / b);
            break;
          }
          case 14: Push(-Pop()); break;  // neg
          case 15: {                     // eq
            const double b = Pop(), a = Pop();
            Push(a == b ? 1 : 0);
            break;
          }
          case 18: Pop(); break;  // drop
          case 20: {              // put
            const double i = Pop(), v = Pop();
            if (!(i >= 0 && i <= 32)) throw FontException(Format("[TTableCFF] Transient index %.0f out of range.", i));
            Transient[int(i)] = v;
            break;
          }
          case 21: {  // get
            const double i = Pop();
            if (!(i >= 0 && i <= 32)) throw FontException(Format("[TTableCFF] Transient index %.0f out of range.", i));
            Push(Transient[int(i)]);
            break;
          }
          case 22: {  // ifelse
            const double v2 = Pop(), v1 = Pop(), s2 = Pop(), s1 = Pop();
            Push(v1 <= v2 ? s1 : s2);
            break;
          }
          case 23:  // random: a value in (0, 1], reproducible from load to load
            FRandom ^= FRandom << 13;
            FRandom ^= FRandom >> 17;
            FRandom ^= FRandom << 5;
            Push((double(FRandom % 65536) + 1) / 65536.0);
            break;
          case 24: {  // mul
            const double b = Pop(), a = Pop();
            Push(a * b);
            break;
          }
          case 26: {  // sqrt
            const double a = Pop();
            if (a < 0) throw FontException(Format("[TTableCFF] Glyph %d takes the root of a negative number.", FGlyphIndex));
            Push(std::sqrt(a));
            break;
          }
          case 27: {  // dup
            const double a = Pop();
            Push(a);
            Push(a);
            break;
          }
          case 28: {  // exch
            const double b = Pop(), a = Pop();
            Push(b);
            Push(a);
            break;
          }
          case 29: {  // index
            double i = Pop();
            if (!(i >= 0)) i = 0;  // a negative index copies the top element
            if (i >= FCount) throw FontException("Stack underflow");
            Push(FStack[FCount - 1 - int(i)]);
            break;
          }
          case 30: {  // roll
            const double jv = Pop(), nv = Pop();
            if (!(nv >= 0) || nv > FCount) throw FontException("Stack underflow");
            const int n = int(nv);
            if (n > 0 && std::isfinite(jv)) {
              int j = int(std::fmod(jv, n));
              if (j < 0) j += n;
              std::rotate(FStack + FCount - n, FStack + FCount - j, FStack + FCount);
            }
            break;
          }
          case 34: {  // hflex
            if (FCount < 7) throw FontException("Stack underflow");
            const double dy2 = arg(2);
            CurveTo(arg(0), 0, arg(1), dy2, arg(3), 0);
            CurveTo(arg(4), 0, arg(5), -dy2, arg(6), 0);
            DropBottom(7);
            CheckEmpty();
            break;
          }
          case 35: {  // flex; the flex depth is a rendering hint
            if (FCount < 13) throw FontException("Stack underflow");
            CurveTo(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5));
            CurveTo(arg(6), arg(7), arg(8), arg(9), arg(10), arg(11));
            DropBottom(13);
            CheckEmpty();
            break;
          }
          case 36: {  // hflex1
            if (FCount < 9) throw FontException("Stack underflow");
            CurveTo(arg(0), arg(1), arg(2), arg(3), arg(4), 0);
            CurveTo(arg(5), 0, arg(6), arg(7), arg(8), -(arg(1) + arg(3) + arg(7)));
            DropBottom(9);
            CheckEmpty();
            break;
          }
          case 37: {  // flex1
            if (FCount < 11) throw FontException("Stack underflow");
            double dx = 0, dy = 0;
            for (int i = 0; i < 10; i += 2) dx += arg(i), dy += arg(i + 1);
            CurveTo(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5));
            if (std::fabs(dx) > std::fabs(dy)) CurveTo(arg(6), arg(7), arg(8), arg(9), arg(10), -dy);
            else CurveTo(arg(6), arg(7), arg(8), arg(9), -dx, arg(10));
            DropBottom(11);
            CheckEmpty();
            break;
          }
          default:
            if (b1 >= 38) throw FontException(Format("Wrong Type 2 Operator bytes %d %d", 12, int(b1)));
            break;  // reserved: the operands stay
        }
        break;
      }
      default:
        break;  // reserved operators 0, 2, 9, 13, 15, 16, 17
    }
  }
  return TRunEnd::End;
}

void TCFFGlyphSubroutines::Draw(int Index, const TCFFSubroutines& Local, double OffsetX, double OffsetY,
                                bool AllowSeac) {
  FCount = 0;
  FStemCount = 0;
  FMaskBytes = 0;
  FDepth = 0;
  FWidthDone = false;
  FHasContour = false;
  FContour = TContour{};
  FX = FY = 0;
  FOffsetX = OffsetX;
  FOffsetY = OffsetY;
  FSeac = false;
  Run(CharStrings[size_t(Index)], Local);
  CloseContour();
  if (!FSeac) return;
  if (!AllowSeac) throw FontException(Format("[TTableCFF] Glyph %d nests accented glyphs.", FGlyphIndex));
  if (CIDKeyed) throw FontException(Format("[TTableCFF] Glyph %d is an accented glyph in a CID-keyed font.", FGlyphIndex));
  const double adx = FSeacArgs[0], ady = FSeacArgs[1];
  const int base = StandardEncodingGlyph(GlyphSIDs, int(FSeacArgs[2]));
  const int accent = StandardEncodingGlyph(GlyphSIDs, int(FSeacArgs[3]));
  if (base < 0 || accent < 0 || size_t(base) >= CharStrings.size() || size_t(accent) >= CharStrings.size())
    throw FontException(Format("[TTableCFF] Glyph %d names base %.0f and accent %.0f that the font does not have.",
                               FGlyphIndex, FSeacArgs[2], FSeacArgs[3]));
  Draw(base, LocalFor(base), OffsetX, OffsetY, false);
  Draw(accent, LocalFor(accent), OffsetX + adx, OffsetY + ady, false);
}

void TCFFGlyphSubroutines::BuildOutline(int Index, TOutlineSimple& Outline) {
  if (Index < 0 || size_t(Index) >= CharStrings.size())
    throw FontException(Format("[TTableCFF] Glyph %d does not exist.", Index));
  FOutline = &Outline;
  FGlyphIndex = Index;
  FGlyphOperators = 0;
  try {
    Draw(Index, LocalFor(Index), 0, 0, true);
  } catch (...) {
    FOutline = nullptr;
    throw;
  }
  FOutline = nullptr;
  CleanConvertedContours(Outline.Contours);
  Outline.UpdateBounds();
}

namespace {

double LineDistance(const TTrueTypePoint& P, const TTrueTypePoint& A, const TTrueTypePoint& B) {
  const double dx = B.X - A.X, dy = B.Y - A.Y, len = std::hypot(dx, dy);
  if (len == 0) return std::hypot(P.X - A.X, P.Y - A.Y);
  return std::fabs((P.X - A.X) * dy - (P.Y - A.Y) * dx) / len;
}

// Whether P projects onto the segment A-B (not beyond either end).
bool Between(const TTrueTypePoint& P, const TTrueTypePoint& A, const TTrueTypePoint& B) {
  const double dx = B.X - A.X, dy = B.Y - A.Y;
  const double t = (P.X - A.X) * dx + (P.Y - A.Y) * dy;
  return t >= 0 && t <= dx * dx + dy * dy;
}

bool SameRounded(const TTrueTypePoint& A, const TTrueTypePoint& B) {
  return std::lround(A.X) == std::lround(B.X) && std::lround(A.Y) == std::lround(B.Y);
}

bool CleanPass(std::vector<TTrueTypePoint>& Pts) {
  const size_t n = Pts.size();
  if (n < 3) return false;
  std::vector<bool> drop(n, false);
  bool any = false;
  size_t kept = n;
  // Each decision looks at the nearest points still kept on either side.
  auto prevKept = [&](size_t i) {
    for (size_t k = 1; k < n; ++k) {
      const size_t j = (i + n - k) % n;
      if (!drop[j]) return j;
    }
    return i;
  };
  auto nextKept = [&](size_t i) {
    for (size_t k = 1; k < n; ++k) {
      const size_t j = (i + k) % n;
      if (!drop[j]) return j;
    }
    return i;
  };
  for (size_t i = 0; i < n && kept > 2; ++i) {
    const TTrueTypePoint& b = Pts[i];
    const TTrueTypePoint& a = Pts[prevKept(i)];
    const TTrueTypePoint& c = Pts[nextKept(i)];
    bool redundant = false;
    if (SameRounded(a, b)) {
      // Coinciding points: an off-curve one adds nothing next to an on-curve
      // one, and of two on-curve points one is enough.
      redundant = !b.OnCurve || a.OnCurve;
    } else if (a.OnCurve && c.OnCurve) {
      const double limit = b.OnCurve ? 0.8 : 0.2;
      redundant = LineDistance(b, a, c) <= limit && Between(b, a, c);
    }
    if (redundant) {
      drop[i] = true;
      any = true;
      --kept;
    }
  }
  if (!any) return false;
  size_t w = 0;
  for (size_t i = 0; i < n; ++i)
    if (!drop[i]) Pts[w++] = Pts[i];
  Pts.resize(w);
  return true;
}

}  // namespace

void CleanConvertedContours(TOutlineContours& Contours) {
  for (TContour& c : Contours)
    while (CleanPass(c.Points)) {
    }
  std::erase_if(Contours, [](const TContour& C) { return C.Points.size() < 2; });
}

}  // namespace tsy
