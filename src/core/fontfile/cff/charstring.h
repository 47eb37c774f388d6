#pragma once
// Type 2 charstrings: the subroutine lists and the interpreter that draws a
// glyph into a simple outline, every cubic curve turned into quadratic pieces.
#include <cstdint>
#include <functional>
#include <vector>

#include "common/numeric.h"
#include "fontfile/cff/cffdata.h"
#include "outline/outline.h"

namespace tsy {

// One INDEX of subroutines and the bias added to every subroutine number.
class TCFFSubroutines {
public:
  std::vector<TCFFSpan> Items;
  int Bias = 0;
  // 107, 1131 or 32768 by the number of entries; 0 for Type 1 charstrings.
  void ComputeBias(int CharstringType);
};

// Sees every cubic curve with the quadratic points it became (off-curve
// control and on-curve end, alternating); for measuring the conversion.
using TCubicObserver = std::function<void(const TRealPoint (&Cubic)[4], const TTrueTypePoint* Pieces, size_t Count)>;

// The charstrings with their subroutines and the interpreter state.
class TCFFGlyphSubroutines {
public:
  TCFFData Data;
  std::vector<TCFFSpan> CharStrings;
  TCFFSubroutines LocalSubrs;
  const TCFFSubroutines* GlobalSubrs = nullptr;  // not owned
  // CID-keyed fonts: one set of local subroutines per font dict, and the
  // font dict of every glyph.
  bool CIDKeyed = false;
  std::vector<TCFFSubroutines> FDLocalSubrs;
  std::vector<uint8_t> FDSelect;
  // The string id of every glyph (from the charset), to find the base and
  // accent of an accented glyph; empty when the charset is unknown.
  std::vector<uint16_t> GlyphSIDs;
  // Put and get storage; kept from glyph to glyph as the format defines it.
  double Transient[33] = {};
  TCubicObserver OnCubic;

  // Work limits for the whole font, set by the table from its size: hostile
  // subroutine trees or curves cannot run for ever or fill the memory.
  int64_t OperatorBudget = 0;
  int64_t PointBudget = 0;

  // Draws charstring Index into the empty Outline, cleans it up and updates
  // its bounds. Errors raise FontException.
  void BuildOutline(int Index, TOutlineSimple& Outline);

private:
  enum class TRunEnd { End, Return, EndChar };
  TRunEnd Run(TCFFSpan Span, const TCFFSubroutines& Local);
  void Draw(int Index, const TCFFSubroutines& Local, double OffsetX, double OffsetY, bool AllowSeac);
  const TCFFSubroutines& LocalFor(int Index) const;

  double Pop();
  void Push(double V);
  void Clear() { FCount = 0; }
  // Drops the bottom operand (the advance width) at the first
  // stack-clearing operator when WidthPresent says so.
  void TakeWidth(bool WidthPresent);
  void CheckEmpty();
  void DropBottom(int N);

  void MoveTo(double Dx, double Dy);
  void LineTo(double Dx, double Dy);
  void CurveTo(double Dx1, double Dy1, double Dx2, double Dy2, double Dx3, double Dy3);
  void CloseContour();
  TTrueTypePoint& AddPoint(double X, double Y, bool OnCurve);
  void RequireContour();

  // Per-glyph state.
  double FStack[kCFFMaxOperands] = {};
  int FCount = 0;
  int FStemCount = 0;
  int FMaskBytes = 0;
  int FDepth = 0;
  bool FWidthDone = false;
  int64_t FGlyphOperators = 0;
  int FGlyphIndex = 0;
  TOutlineSimple* FOutline = nullptr;
  bool FHasContour = false;
  TContour FContour;
  double FX = 0, FY = 0;
  double FOffsetX = 0, FOffsetY = 0;
  // An accented glyph's endchar operands: adx ady bchar achar.
  bool FSeac = false;
  double FSeacArgs[4] = {};
  uint32_t FRandom = 0x2545F491;
};

// The glyph index of the standard-encoding code Code through the charset, or -1.
int StandardEncodingGlyph(const std::vector<uint16_t>& GlyphSIDs, int Code);

// Removes what the conversion leaves redundant: points that coincide once
// rounded, on-curve points within 0.8 units of the line between their
// on-curve neighbours, and off-curve points within 0.2 units of the line
// between their on-curve neighbours.
void CleanConvertedContours(TOutlineContours& Contours);

}  // namespace tsy
