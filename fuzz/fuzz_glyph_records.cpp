// Decodes arbitrary glyph records as the glyphs of one small font, then uses
// every outline the way the editor does: flatten, measure, snapshot, encode.
// Input: byte 0 gives the glyph count (1..32), the next count bytes the
// record lengths, the rest the records one after another.
#include <algorithm>
#include <cstdint>
#include <exception>

#include "fontfile/tables/glyf.h"
#include "fontfile/tables/loca.h"
#include "fontfile/tables/maxp.h"
#include "outline/fontoutlines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  using namespace tsy;
  if (Size < 1) return 0;
  const size_t count = Data[0] % 32 + 1;
  if (Size < 1 + count) return 0;
  TTableMaxp maxp;
  TTableLoca loca;
  TTableGlyf glyf;
  maxp.numGlyphs = uint16_t(count);
  const uint8_t* records = Data + 1 + count;
  const size_t available = Size - 1 - count;
  glyf.Data.Write(records, available);
  size_t at = 0;
  for (size_t i = 0; i < count; ++i) {
    loca.AddOffset(uint32_t(at));
    at = std::min(available, at + Data[1 + i]);
  }
  loca.AddOffset(uint32_t(at));
  loca.NumGlyphs = uint16_t(count);

  TFontOutlines outlines;
  try {
    outlines.LoadFromTables(&maxp, &loca, &glyf);
  } catch (const std::exception&) {
    return 0;
  }
  for (size_t i = 0; i < outlines.Count(); ++i) {
    TOutlineBase* o = outlines.Items(i);
    TOutlineContours flat;
    o->AddTransformedContours(flat, TOutlineTransform{});
    o->GetComponentDepth();
    o->GetCompositePointCount();
    o->GetCompositeContourCount();
    outlines.FindMetricsSource(int(i));
    outlines.IsReferenced(int(i));
    try {
      TMemoryStream snapshot;
      outlines.WriteSnapshot(int(i), snapshot);
      snapshot.Seek(0);
      outlines.ReadSnapshot(int(i), snapshot);
    } catch (const std::exception&) {
    }
  }
  try {
    outlines.SaveToTables(&maxp, &loca, &glyf);
    outlines.LoadFromTables(&maxp, &loca, &glyf);
  } catch (const std::exception&) {
  }
  return 0;
}
