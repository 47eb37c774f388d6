// Converts the PostScript outlines of real fonts and checks the result two
// ways: every cubic curve against the quadratic pieces it became (sampled
// along the whole curve, not only at its middle), and the saved TrueType
// font in FreeType against the original (every glyph loads, same glyph
// count, exact glyph boxes within the tolerance). Prints the largest deviation.
//
// Arguments: fonts, a collection member written FILE#N.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "fontfile/cff/cubicquad.h"
#include "fontfile/collection.h"
#include "fontfile/fontexception.h"
#include "fontfile/tables/cff.h"
#include "fontfile/truetypefont.h"

using namespace tsy;

namespace {

TRealPoint Cubic(const TRealPoint (&P)[4], double t) {
  const double u = 1 - t;
  return {u * u * u * P[0].X + 3 * u * u * t * P[1].X + 3 * u * t * t * P[2].X + t * t * t * P[3].X,
          u * u * u * P[0].Y + 3 * u * u * t * P[1].Y + 3 * u * t * t * P[2].Y + t * t * t * P[3].Y};
}

double SegmentDistance(TRealPoint P, TRealPoint A, TRealPoint B) {
  const double dx = B.X - A.X, dy = B.Y - A.Y, l = dx * dx + dy * dy;
  double t = l > 0 ? ((P.X - A.X) * dx + (P.Y - A.Y) * dy) / l : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(P.X - (A.X + t * dx), P.Y - (A.Y + t * dy));
}

// The largest distance from the cubic to the polyline of its quadratic pieces.
double Deviation(const TRealPoint (&P)[4], const TTrueTypePoint* Q, size_t N) {
  std::vector<TRealPoint> poly{P[0]};
  TRealPoint s = P[0];
  for (size_t i = 0; i + 1 < N; i += 2) {
    for (int k = 1; k <= 16; ++k) {
      const double t = k / 16.0, u = 1 - t;
      poly.push_back({u * u * s.X + 2 * u * t * Q[i].X + t * t * Q[i + 1].X,
                      u * u * s.Y + 2 * u * t * Q[i].Y + t * t * Q[i + 1].Y});
    }
    s = {Q[i + 1].X, Q[i + 1].Y};
  }
  double worst = 0;
  for (int k = 1; k < 32; ++k) {
    const TRealPoint c = Cubic(P, k / 32.0);
    double best = 1e300;
    for (size_t j = 0; j + 1 < poly.size(); ++j) best = std::min(best, SegmentDistance(c, poly[j], poly[j + 1]));
    worst = std::max(worst, best);
  }
  return worst;
}

struct TResult {
  double Worst = 0;
  double WorstMiddle = 0;
  std::string Where;
  long Cubics = 0;
};

// The CFF table of the font whose directory is at DirOffset.
TReadOnlyStream FindCff(const TReadOnlyStream& File, uint64_t DirOffset) {
  TReadOnlyStream s = File.Sub(0, File.Size());
  s.Seek(DirOffset + 4);
  const uint16_t n = ReadUInt16(s);
  for (uint16_t i = 0; i < n; ++i) {
    s.Seek(DirOffset + 12 + 16 * uint64_t(i));
    const TTag tag = ReadTag(s);
    ReadUInt32(s);
    const uint32_t offset = ReadUInt32(s), length = ReadUInt32(s);
    if (tag == "CFF ") return File.Sub(offset, length);
  }
  throw FontException("no CFF table");
}

}  // namespace

int main(int argc, char** argv) {
  FT_Library lib;
  FT_Init_FreeType(&lib);
  const std::string out = (std::filesystem::temp_directory_path() / ("tsy_cff_check_" + std::to_string(getpid()) + ".ttf")).string();
  int failures = 0;
  TResult all;
  for (int a = 1; a < argc; ++a) {
    std::string file = argv[a];
    long member = -1;
    if (const size_t h = file.rfind('#'); h != std::string::npos) member = std::stol(file.substr(h + 1)), file.resize(h);
    if (!std::filesystem::exists(file)) {
      std::printf("skip %s (not installed)\n", file.c_str());
      continue;
    }
    std::string error;
    TResult r;
    try {
      const auto bytes = ReadWholeFile(file);
      const TReadOnlyStream whole(bytes);
      uint64_t dir = 0;
      if (member >= 0) dir = TTrueTypeCollection::ReadOffsets(whole).at(size_t(member));
      TReadOnlyStream cffBytes = FindCff(whole, dir);
      TTableCFF cff;
      cff.LoadFromStream(cffBytes);
      int glyph = 0;
      cff.Glyphs.OnCubic = [&](const TRealPoint(&P)[4], const TTrueTypePoint* Q, size_t N) {
        ++r.Cubics;
        const double d = Deviation(P, Q, N);
        if (d > r.Worst) r.Worst = d, r.Where = "glyph " + std::to_string(glyph);
      };
      for (; glyph < cff.GlyphCount(); ++glyph) {
        TOutlineSimple o;
        cff.BuildOutline(glyph, o);
      }

      TTrueTypeFont font;
      TReadOnlyStream s(bytes);
      font.LoadFromStream(s, dir);
      font.SaveToFile(out);

      FT_Face a, b;
      if (FT_New_Face(lib, file.c_str(), member < 0 ? 0 : member, &a) != 0) throw FontException("FreeType: original");
      if (FT_New_Face(lib, out.c_str(), 0, &b) != 0) {
        FT_Done_Face(a);
        throw FontException("FreeType cannot open the saved font");
      }
      if (a->num_glyphs != b->num_glyphs) error = "glyph count differs";
      const FT_Int32 flags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
      for (FT_Long g = 0; error.empty() && g < a->num_glyphs; ++g) {
        if (FT_Load_Glyph(a, FT_UInt(g), flags) != 0) continue;
        FT_BBox ba, bb;
        FT_Outline_Get_BBox(&a->glyph->outline, &ba);
        const int contoursA = a->glyph->outline.n_contours;
        if (FT_Load_Glyph(b, FT_UInt(g), flags) != 0) {
          error = "glyph " + std::to_string(g) + " does not load in the saved font";
          break;
        }
        FT_Outline_Get_BBox(&b->glyph->outline, &bb);
        // The exact boxes of the curves: the conversion's deviation (a little
        // above the tolerance at worst, see the printed maximum) plus the
        // rounding of the points bound the shift of each edge.
        const double slack = kCubicTolerance + 1.5;
        const bool emptyA = contoursA == 0, emptyB = b->glyph->outline.n_contours == 0;
        if (emptyA != emptyB && !(emptyB && ba.xMin == ba.xMax)) {
          error = "glyph " + std::to_string(g) + " lost or gained its contours";
        } else if (!emptyA && !emptyB &&
                   (std::fabs(double(ba.xMin - bb.xMin)) > slack || std::fabs(double(ba.yMin - bb.yMin)) > slack ||
                    std::fabs(double(ba.xMax - bb.xMax)) > slack || std::fabs(double(ba.yMax - bb.yMax)) > slack)) {
          error = "glyph " + std::to_string(g) + " box moved";
        }
      }
      FT_Done_Face(a);
      FT_Done_Face(b);
    } catch (const std::exception& e) {
      error = e.what();
    }
    std::printf("%s%s: %ld cubics, largest deviation %.3f units (%s)%s%s\n", argv[a], "", r.Cubics, r.Worst,
                r.Where.c_str(), error.empty() ? "" : " FAIL: ", error.c_str());
    if (r.Worst > all.Worst) all.Worst = r.Worst, all.Where = std::string(argv[a]) + " " + r.Where;
    all.Cubics += r.Cubics;
    if (!error.empty()) ++failures;
  }
  std::filesystem::remove(out);
  FT_Done_FreeType(lib);
  std::printf("%ld cubics in all, largest deviation %.3f units at %s; %d fonts failed\n", all.Cubics, all.Worst,
              all.Where.c_str(), failures);
  return failures == 0 ? 0 : 1;
}
