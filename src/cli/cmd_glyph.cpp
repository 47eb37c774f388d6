#include <cstdio>
#include <cstdlib>
#include <exception>

#include "cli/commands.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/truetypefont.h"

namespace tsytool {

namespace {

// Decimal, or hexadecimal with "0x" or "$".
bool ParseGlyphIndex(const std::string& Text, long& Value) {
  std::string digits = Text;
  int base = 10;
  if (digits.rfind("0x", 0) == 0 || digits.rfind("0X", 0) == 0) {
    digits = digits.substr(2);
    base = 16;
  } else if (digits.rfind("$", 0) == 0) {
    digits = digits.substr(1);
    base = 16;
  }
  if (digits.empty()) return false;
  char* end = nullptr;
  Value = std::strtol(digits.c_str(), &end, base);
  return *end == '\0' && Value >= 0;
}

}  // namespace

int RunGlyph(const std::vector<std::string>& Args) {
  if (Args.size() != 2) throw UsageError("glyph needs FONT and GID");
  long gid = 0;
  if (!ParseGlyphIndex(Args[1], gid)) throw UsageError("GID must be a glyph index");

  tsy::TTrueTypeFont font;
  AttachProgress(font);
  try {
    font.LoadFromFile(Args[0]);
  } catch (const std::exception& e) {
    return Fail(Args[0], e.what());
  }
  if (size_t(gid) >= font.GlyphCount())
    return Fail(Args[0], "glyph " + std::to_string(gid) + " does not exist (the font has " +
                             std::to_string(font.GlyphCount()) + " glyphs)");

  const tsy::TOutlineBase* outline = font.Outlines.Items(size_t(gid));
  // Composites are shown flattened: the points as the glyph draws them.
  tsy::TOutlineContours contours;
  outline->AddTransformedContours(contours, tsy::TOutlineTransform{});
  for (size_t c = 0; c < contours.size(); ++c)
    for (size_t p = 0; p < contours[c].Points.size(); ++p) {
      const tsy::TTrueTypePoint& pt = contours[c].Points[p];
      std::printf("%zu %zu %g %g %s\n", c, p, pt.X, pt.Y, pt.OnCurve ? "on" : "off");
    }

  static const char* const kKinds[] = {"empty", "simple", "composite"};
  std::printf("kind %s", kKinds[outline->GetKind()]);
  if (outline->GetKind() == tsy::okComposite) std::printf(" (%d components)", outline->GetComponentCount());
  std::printf("\n");
  if (const tsy::TTableHmtx* hmtx = font.Hmtx(); hmtx && size_t(gid) < hmtx->Metrics.size()) {
    std::printf("advance width %u\n", unsigned(hmtx->Metrics[size_t(gid)].AdvanceWidth));
    std::printf("left side bearing %d\n", int(hmtx->Metrics[size_t(gid)].LeftSideBearing));
  }
  if (const int source = font.Outlines.FindMetricsSource(int(gid)); source >= 0)
    std::printf("metrics from glyph %d\n", source);
  const tsy::TFloatRect& b = outline->Bounds;
  std::printf("bounding box %g %g %g %g\n", b.XMin, b.YMin, b.XMax, b.YMax);
  return 0;
}

}  // namespace tsytool
