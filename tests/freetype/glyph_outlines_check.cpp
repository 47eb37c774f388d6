// Every glyph of every installed glyf-based TrueType font, decoded by our
// outline model, against FreeType's unscaled, unhinted outline of the same
// glyph (composites flattened on both sides); and every outline's glyph
// record re-encoded and decoded again gives the same outline.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fontfile/tables/hmtx.h"
#include "fontfile/truetypefont.h"
#include "outline/fontoutlines.h"

namespace fs = std::filesystem;
using namespace tsy;

namespace {

struct TCounts {
  long Glyphs = 0, Compared = 0, FreeTypeRejected = 0, Mismatches = 0, RecordMismatches = 0;
};

bool HasMatrix(const TOutlineBase* O, int Depth = 0) {
  auto* c = dynamic_cast<const TOutlineComposite*>(O);
  if (!c || Depth > kMaxComponentDepth) return false;
  for (const TCompositeMember& m : c->Members) {
    if (m.ScaleX != 1 || m.ScaleY != 1 || m.Scale01 != 0 || m.Scale10 != 0) return true;
    if (HasMatrix(m.Outline, Depth + 1)) return true;
  }
  return false;
}

// FreeType's outline against ours; an empty string when they agree.
std::string CompareWithFreeType(const FT_Outline& Ft, const TOutlineContours& Ours, double Tolerance) {
  if (Ft.n_contours != int(Ours.size()))
    return "contours: FreeType " + std::to_string(Ft.n_contours) + ", ours " + std::to_string(Ours.size());
  int p = 0;
  for (int c = 0; c < Ft.n_contours; ++c) {
    const int end = Ft.contours[c];
    const TContour& ours = Ours[size_t(c)];
    if (end - p + 1 != int(ours.Points.size()))
      return "contour " + std::to_string(c) + " points: FreeType " + std::to_string(end - p + 1) + ", ours " +
             std::to_string(ours.Points.size());
    for (const TTrueTypePoint& q : ours.Points) {
      const FT_Vector v = Ft.points[p];
      const bool on = FT_CURVE_TAG(Ft.tags[p]) == FT_CURVE_TAG_ON;
      if (std::fabs(double(v.x) - q.X) > Tolerance || std::fabs(double(v.y) - q.Y) > Tolerance || on != q.OnCurve) {
        char buf[160];
        std::snprintf(buf, sizeof buf, "point %d: FreeType (%ld, %ld, %s), ours (%g, %g, %s)", p, long(v.x),
                      long(v.y), on ? "on" : "off", q.X, q.Y, q.OnCurve ? "on" : "off");
        return buf;
      }
      ++p;
    }
  }
  return {};
}

// FreeType moves an outline so that the glyph's origin lies at x = 0: by the
// stored xMin minus the left side bearing, or for a composite that takes its
// metrics from a member, by that member's own origin (its offset aside).
double Origin(const TTrueTypeFont& Font, int Glyph, int Depth = 0) {
  const TOutlineBase* o = Font.Outlines.Items(size_t(Glyph));
  if (auto* c = dynamic_cast<const TOutlineComposite*>(o); c && Depth < kMaxComponentDepth) {
    const TCompositeMember* metrics = nullptr;
    for (const TCompositeMember& m : c->Members)
      if (m.UseMyMetrics && m.Outline) metrics = &m;
    if (metrics) return Origin(Font, metrics->GlyphIndex, Depth + 1);
  }
  const TTableHmtx* hmtx = Font.Hmtx();
  const double lsb = hmtx && size_t(Glyph) < hmtx->Metrics.size() ? hmtx->Metrics[size_t(Glyph)].LeftSideBearing : 0;
  return o->Bounds.XMin - lsb;
}

bool SameMembers(const TCompositeGlyph& A, const TCompositeGlyph& B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i) {
    const TCompositeMember &a = A[i], &b = B[i];
    if (a.GlyphIndex != b.GlyphIndex || a.ArgsAreXYValues != b.ArgsAreXYValues || a.OffsetX != b.OffsetX ||
        a.OffsetY != b.OffsetY || a.ScaleX != b.ScaleX || a.ScaleY != b.ScaleY || a.Scale01 != b.Scale01 ||
        a.Scale10 != b.Scale10 || a.UseMyMetrics != b.UseMyMetrics || a.RoundXYToGrid != b.RoundXYToGrid ||
        a.NoOverlap != b.NoOverlap || a.OverlapCompound != b.OverlapCompound ||
        a.ScaledComponentOffset != b.ScaledComponentOffset || a.UnscaledComponentOffset != b.UnscaledComponentOffset)
      return false;
  }
  return true;
}

// decode(encode(outline)) is the outline.
bool RecordRoundTrips(const TOutlineBase& O) {
  TMemoryStream m;
  O.WriteGlyphRecord(m);
  m.Seek(0);
  auto back = O.Create();
  if (m.Size() > 0) back->ReadGlyphRecord(m);
  if (m.Position() > m.Size() || (m.Size() - m.Position()) > 0) return false;
  if (!(back->Bounds == O.Bounds)) return false;
  if (auto* s = dynamic_cast<const TOutlineSimple*>(&O)) {
    auto* t = dynamic_cast<const TOutlineSimple*>(back.get());
    return t->Contours == s->Contours && t->Instructions == s->Instructions;
  }
  if (auto* c = dynamic_cast<const TOutlineComposite*>(&O)) {
    auto* t = dynamic_cast<const TOutlineComposite*>(back.get());
    return SameMembers(c->Members, t->Members) && t->Instructions == c->Instructions;
  }
  return m.Size() == 0;
}

bool IsGlyfFont(const std::string& Path) {
  FILE* f = std::fopen(Path.c_str(), "rb");
  if (!f) return false;
  unsigned char h[12];
  bool glyf = false;
  if (std::fread(h, 1, 12, f) == 12) {
    const int n = h[4] << 8 | h[5];
    for (int i = 0; i < n && !glyf; ++i) {
      unsigned char e[16];
      if (std::fread(e, 1, 16, f) != 16) break;
      glyf = std::string(reinterpret_cast<char*>(e), 4) == "glyf";
    }
  }
  std::fclose(f);
  return glyf;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/usr/share/fonts";
  std::vector<std::string> fonts;
  for (const auto& e : fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied)) {
    if (!e.is_regular_file()) continue;
    std::string ext = e.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (ext == ".ttf" && IsGlyfFont(e.path().string())) fonts.push_back(e.path().string());
  }
  std::sort(fonts.begin(), fonts.end());
  if (fonts.empty()) {
    std::fprintf(stderr, "no glyf-based fonts below %s\n", folder.c_str());
    return 1;
  }

  FT_Library lib;
  FT_Init_FreeType(&lib);
  TCounts total;
  int failedFonts = 0;
  for (const std::string& path : fonts) {
    TCounts counts;
    TTrueTypeFont font;
    try {
      font.LoadFromFile(path);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "FAIL %s: does not load: %s\n", path.c_str(), e.what());
      ++failedFonts;
      continue;
    }
    FT_Face face;
    if (FT_New_Face(lib, path.c_str(), 0, &face) != 0) {
      std::fprintf(stderr, "FAIL %s: FreeType cannot open it\n", path.c_str());
      ++failedFonts;
      continue;
    }
    if (size_t(face->num_glyphs) != font.GlyphCount()) {
      std::fprintf(stderr, "FAIL %s: FreeType has %ld glyphs, we have %zu\n", path.c_str(), long(face->num_glyphs),
                   font.GlyphCount());
      ++failedFonts;
    }
    const long n = std::min<long>(face->num_glyphs, long(font.GlyphCount()));
    for (long gid = 0; gid < n; ++gid) {
      ++counts.Glyphs;
      const TOutlineBase* outline = font.Outlines.Items(size_t(gid));
      if (!RecordRoundTrips(*outline)) {
        if (counts.RecordMismatches++ < 3)
          std::fprintf(stderr, "FAIL %s glyph %ld: the re-encoded record decodes differently\n", path.c_str(), gid);
      }
      if (FT_Load_Glyph(face, FT_UInt(gid), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
          face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
        ++counts.FreeTypeRejected;
        continue;
      }
      ++counts.Compared;
      TOutlineContours flat;
      TOutlineTransform shift;
      shift.OffsetX = -Origin(font, int(gid));
      outline->AddTransformedContours(flat, shift);
      // FreeType applies component matrices in 16.16 fixed point and rounds
      // each product, so transformed points may differ by one unit.
      const double tolerance = HasMatrix(outline) ? 1.0 : 0.0;
      const std::string diff = CompareWithFreeType(face->glyph->outline, flat, tolerance);
      if (!diff.empty() && counts.Mismatches++ < 3)
        std::fprintf(stderr, "FAIL %s glyph %ld: %s\n", path.c_str(), gid, diff.c_str());
    }
    FT_Done_Face(face);
    if (counts.Mismatches || counts.RecordMismatches) ++failedFonts;
    total.Glyphs += counts.Glyphs;
    total.Compared += counts.Compared;
    total.FreeTypeRejected += counts.FreeTypeRejected;
    total.Mismatches += counts.Mismatches;
    total.RecordMismatches += counts.RecordMismatches;
  }
  FT_Done_FreeType(lib);
  std::printf("%zu fonts, %ld glyphs: %ld compared with FreeType (%ld rejected by FreeType), %ld differ from "
              "FreeType, %ld records do not round-trip; %d fonts failed\n",
              fonts.size(), total.Glyphs, total.Compared, total.FreeTypeRejected, total.Mismatches,
              total.RecordMismatches, failedFonts);
  return failedFonts == 0 && total.Compared > 0 ? 0 : 1;
}
