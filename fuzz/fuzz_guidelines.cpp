// Reads arbitrary bytes as "guidelines.dat", the file each start of the
// program reads, then writes what loaded and reads that again: it must load
// the same guidelines. Also the guidelines are drawn (clipped to a paint box)
// and hit, as every window does with whatever the file held.
#include <cstdint>
#include <cstdlib>
#include <exception>

#include "fontfile/stream.h"
#include "glyphview/layers.h"
#include "outline/guidelines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  tsy::TGuideLineSettings g;
  tsy::TReadOnlyStream in(Data, Size);
  g.LoadFromStream(in);
  tsy::TMemoryStream out;
  g.SaveToStream(out);
  out.Seek(0);
  tsy::TGuideLineSettings again;
  again.LoadFromStream(out);
  if (again.Horizontal.Count() != g.Horizontal.Count() || again.Vertical.Count() != g.Vertical.Count() ||
      again.Diagonal.Count() != g.Diagonal.Count())
    std::abort();
  tsy::TGlyphViewport view;
  view.SetSize(300, 200);
  view.ResetZoom(10);
  view.UpdateScrollRanges();
  tsy::TDisplayList list;
  tsy::TGlyphViewOptions options;
  options.ShowGrid = options.ShowFixedGridLines = options.ShowBearings = false;
  try {
    tsy::BuildAidsLayer(view, options, {}, &g, {}, list);
    tsy::HitTestGuidelines(view, g, 150, 100);
  } catch (const std::exception&) {
    // a coordinate beyond the pixel range is reported, never wrapped
  }
  return 0;
}
