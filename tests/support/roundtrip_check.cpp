// Saves every TrueType and OpenType font below a folder through
// `tsytool save` and checks each result independently of our own loader:
// the same tables with the same bytes (head's checkSumAdjustment aside), a
// whole-file checksum of 0xB1B0AFBA, and FreeType loads it with the same
// character maps and glyph names. Tables the editor rebuilds on save (cmap,
// name, kern, post) are compared by their decoded content instead.
//
// The glyph tables are rebuilt from the outlines on save, so their bytes may
// change; they are compared by what they mean: every glyph's outline and
// advance as FreeType loads them, every glyph's instruction bytes, every
// glyph's metrics; head and hhea byte for byte apart from the values a save
// recomputes (checkSumAdjustment, indexToLocFormat, numberOfHMetrics).
// Fonts with CFF outlines come back as TrueType fonts; for them the outline
// tables are left to the CFF conversion check.
//
// The values a save derives from the glyphs (head bounding box, hhea
// extremes, maxp statistics, OS/2 character range and average width) are
// masked in that comparison and instead recomputed here from the glyph
// records of the saved file, which they must match. Saving the saved file
// again must give the same bytes (a fixed point), apart from head's modified
// date and the checksums that follow from it.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/fontbuilder.h"

namespace fs = std::filesystem;
using tsytest::Bytes;

namespace {

std::map<std::string, Bytes> TablesOf(const Bytes& B, std::string& Error) {
  std::map<std::string, Bytes> out;
  if (B.size() < 12) {
    Error = "file shorter than an offset table";
    return out;
  }
  const uint16_t n = tsytest::ReadBE16(B, 4);
  for (uint16_t i = 0; i < n; ++i) {
    const size_t e = 12 + 16 * size_t(i);
    if (e + 16 > B.size()) {
      Error = "directory runs past the end";
      return out;
    }
    const std::string tag(B.begin() + long(e), B.begin() + long(e) + 4);
    const uint32_t offset = tsytest::ReadBE32(B, e + 8), length = tsytest::ReadBE32(B, e + 12);
    if (uint64_t(offset) + length > B.size()) {
      Error = "table " + tag + " runs past the end";
      return out;
    }
    Bytes body(B.begin() + offset, B.begin() + offset + length);
    if (tag == "head" && body.size() >= 12) std::fill(body.begin() + 8, body.begin() + 12, 0);
    out[tag] = std::move(body);
  }
  return out;
}

// Every character map FreeType offers (by platform and encoding), and every
// glyph name.
struct TFreeTypeView {
  std::map<std::pair<int, int>, std::vector<std::pair<FT_ULong, FT_UInt>>> Maps;
  std::vector<std::string> GlyphNames;
  bool operator==(const TFreeTypeView&) const = default;
};

TFreeTypeView FreeTypeView(FT_Library Lib, const std::string& Path, std::string& Error) {
  TFreeTypeView view;
  FT_Face face;
  if (FT_New_Face(Lib, Path.c_str(), 0, &face) != 0) {
    Error = "FreeType cannot load it";
    return view;
  }
  for (int i = 0; i < face->num_charmaps; ++i) {
    FT_CharMap cm = face->charmaps[i];
    if (FT_Set_Charmap(face, cm) != 0) continue;
    auto& map = view.Maps[{cm->platform_id, cm->encoding_id}];
    FT_UInt gid;
    for (FT_ULong c = FT_Get_First_Char(face, &gid); gid != 0; c = FT_Get_Next_Char(face, c, &gid))
      map.emplace_back(c, gid);
  }
  if (FT_HAS_GLYPH_NAMES(face)) {
    char buf[256];
    for (FT_Long g = 0; g < face->num_glyphs; ++g)
      view.GlyphNames.emplace_back(FT_Get_Glyph_Name(face, FT_UInt(g), buf, sizeof buf) == 0 ? buf : "");
  }
  FT_Done_Face(face);
  return view;
}

// name: every record's string bytes by (platform, encoding, language, name
// ID), wherever the storage put them.
std::map<std::vector<uint16_t>, Bytes> NameRecords(const Bytes& T) {
  std::map<std::vector<uint16_t>, Bytes> out;
  if (T.size() < 6) return out;
  const uint16_t count = tsytest::ReadBE16(T, 2), storage = tsytest::ReadBE16(T, 4);
  for (uint16_t i = 0; i < count && 6 + 12 * size_t(i) + 12 <= T.size(); ++i) {
    const size_t r = 6 + 12 * size_t(i);
    std::vector<uint16_t> key;
    for (int k = 0; k < 4; ++k) key.push_back(tsytest::ReadBE16(T, r + 2 * size_t(k)));
    const size_t len = tsytest::ReadBE16(T, r + 8), at = size_t(storage) + tsytest::ReadBE16(T, r + 10);
    out[key] = at + len <= T.size() ? Bytes(T.begin() + long(at), T.begin() + long(at + len)) : Bytes{};
  }
  return out;
}

// kern: the pairs of the first horizontal format 0 subtable, in sorted order.
std::map<std::pair<uint16_t, uint16_t>, uint16_t> KernPairs(const Bytes& T, uint16_t& Coverage) {
  std::map<std::pair<uint16_t, uint16_t>, uint16_t> out;
  Coverage = 0;
  if (T.size() < 4) return out;
  const uint16_t n = tsytest::ReadBE16(T, 2);
  size_t at = 4;
  for (uint16_t i = 0; i < n && at + 14 <= T.size(); ++i) {
    const uint16_t length = tsytest::ReadBE16(T, at + 2), coverage = tsytest::ReadBE16(T, at + 4);
    if ((coverage >> 8) == 0) {
      Coverage = coverage;
      const uint16_t pairs = tsytest::ReadBE16(T, at + 6);
      for (uint16_t k = 0; k < pairs && at + 14 + 6 * size_t(k) + 6 <= T.size(); ++k) {
        const size_t p = at + 14 + 6 * size_t(k);
        out.emplace(std::make_pair(tsytest::ReadBE16(T, p), tsytest::ReadBE16(T, p + 2)), tsytest::ReadBE16(T, p + 4));
      }
      break;
    }
    if (length == 0) break;
    at += length;
  }
  return out;
}

// Tables rebuilt at every save, compared by their decoded values below.
bool IsGlyphTable(const std::string& Tag) { return Tag == "glyf" || Tag == "loca" || Tag == "hmtx"; }

// Zeroes the fields a save recomputes.
void MaskRecomputed(std::map<std::string, Bytes>& Tables) {
  auto zero = [&](const char* Tag, size_t From, size_t To) {
    if (auto t = Tables.find(Tag); t != Tables.end() && t->second.size() >= To)
      std::fill(t->second.begin() + long(From), t->second.begin() + long(To), 0);
  };
  zero("head", 36, 44);  // xMin, yMin, xMax, yMax
  zero("head", 50, 52);  // indexToLocFormat
  zero("hhea", 10, 18);  // advanceWidthMax, minLeftSideBearing, minRightSideBearing, xMaxExtent
  zero("hhea", 34, 36);  // numberOfHMetrics
  zero("maxp", 6, 14);   // maxPoints, maxContours, maxCompositePoints, maxCompositeContours
  zero("maxp", 26, 32);  // maxSizeOfInstructions, maxComponentElements, maxComponentDepth
  zero("OS/2", 2, 4);    // xAvgCharWidth
  zero("OS/2", 64, 68);  // usFirstCharIndex, usLastCharIndex
}

uint16_t Get16(const Bytes& B, size_t Offset) { return Offset + 2 <= B.size() ? tsytest::ReadBE16(B, Offset) : 0; }

// (advance width, left side bearing) of every glyph, read independently.
std::vector<std::pair<uint16_t, int16_t>> Metrics(const std::map<std::string, Bytes>& T) {
  std::vector<std::pair<uint16_t, int16_t>> out;
  auto hhea = T.find("hhea"), maxp = T.find("maxp"), hmtx = T.find("hmtx");
  if (hhea == T.end() || maxp == T.end() || hmtx == T.end()) return out;
  const uint16_t full = Get16(hhea->second, 34), glyphs = Get16(maxp->second, 4);
  uint16_t width = 0;
  for (uint32_t i = 0; i < glyphs; ++i) {
    if (i < full) {
      width = Get16(hmtx->second, 4 * i);
      out.emplace_back(width, int16_t(Get16(hmtx->second, 4 * i + 2)));
    } else {
      out.emplace_back(width, int16_t(Get16(hmtx->second, 4 * size_t(full) + 2 * (i - full))));
    }
  }
  return out;
}

// The instruction bytes of every glyph record, read independently.
std::vector<Bytes> Instructions(const std::map<std::string, Bytes>& T) {
  std::vector<Bytes> out;
  auto head = T.find("head"), maxp = T.find("maxp"), loca = T.find("loca"), glyf = T.find("glyf");
  if (head == T.end() || maxp == T.end() || loca == T.end() || glyf == T.end()) return out;
  const bool longOffsets = Get16(head->second, 50) == 1;
  const Bytes& g = glyf->second;
  auto offset = [&](uint32_t i) -> size_t {
    return longOffsets ? (4 * i + 4 <= loca->second.size() ? tsytest::ReadBE32(loca->second, 4 * i) : 0)
                       : size_t(Get16(loca->second, 2 * i)) * 2;
  };
  for (uint32_t i = 0; i < Get16(maxp->second, 4); ++i) {
    const size_t begin = offset(i), end = offset(i + 1);
    Bytes instructions;
    if (begin + 10 <= end && end <= g.size()) {
      const int16_t contours = int16_t(Get16(g, begin));
      size_t p = begin + 10;
      if (contours > 0) {
        p += 2 * size_t(contours);
      } else {
        uint16_t flags = 0x20;
        bool withInstructions = false;
        while ((flags & 0x20) && p + 4 <= end) {
          flags = Get16(g, p);
          p += 4 + ((flags & 1) ? 4 : 2) + ((flags & 8) ? 2 : (flags & 0x40) ? 4 : (flags & 0x80) ? 8 : 0);
          withInstructions = flags & 0x100;
        }
        if (!withInstructions) p = end;
      }
      if (p + 2 <= end) {
        const size_t n = Get16(g, p);
        if (p + 2 + n <= end) instructions.assign(g.begin() + long(p + 2), g.begin() + long(p + 2 + n));
      }
    }
    out.push_back(std::move(instructions));
  }
  return out;
}

// What one glyph record says, read independently of our own loader.
struct TGlyphFacts {
  int16_t XMin = 0, YMin = 0, XMax = 0, YMax = 0;
  int64_t Points = 0, Contours = 0;          // simple glyphs
  std::vector<uint16_t> Components;          // composite glyphs
  bool Composite = false, MetricsFromComponent = false;
};

std::vector<TGlyphFacts> GlyphFacts(const std::map<std::string, Bytes>& T) {
  std::vector<TGlyphFacts> out;
  auto head = T.find("head"), maxp = T.find("maxp"), loca = T.find("loca"), glyf = T.find("glyf");
  if (head == T.end() || maxp == T.end() || loca == T.end() || glyf == T.end()) return out;
  const bool longOffsets = Get16(head->second, 50) == 1;
  const Bytes& g = glyf->second;
  auto offset = [&](uint32_t i) -> size_t {
    return longOffsets ? (4 * i + 4 <= loca->second.size() ? tsytest::ReadBE32(loca->second, 4 * i) : 0)
                       : size_t(Get16(loca->second, 2 * i)) * 2;
  };
  for (uint32_t i = 0; i < Get16(maxp->second, 4); ++i) {
    TGlyphFacts f;
    const size_t begin = offset(i), end = std::min(offset(i + 1), g.size());
    if (begin + 10 <= end) {
      const int16_t contours = int16_t(Get16(g, begin));
      f.XMin = int16_t(Get16(g, begin + 2)), f.YMin = int16_t(Get16(g, begin + 4));
      f.XMax = int16_t(Get16(g, begin + 6)), f.YMax = int16_t(Get16(g, begin + 8));
      if (contours > 0) {
        f.Contours = contours;
        f.Points = int64_t(Get16(g, begin + 10 + 2 * size_t(contours - 1))) + 1;
      } else if (contours == -1) {
        f.Composite = true;
        size_t p = begin + 10;
        uint16_t flags = 0x20;
        while ((flags & 0x20) && p + 4 <= end) {
          flags = Get16(g, p);
          f.Components.push_back(Get16(g, p + 2));
          f.MetricsFromComponent |= (flags & 0x200) != 0;
          p += 4 + ((flags & 1) ? 4 : 2) + ((flags & 8) ? 2 : (flags & 0x40) ? 4 : (flags & 0x80) ? 8 : 0);
        }
      }
    }
    out.push_back(std::move(f));
  }
  return out;
}

// The summary values of the saved file against those its glyphs imply.
std::string SummaryDifference(FT_Library Lib, const std::string& Path, const std::map<std::string, Bytes>& T) {
  // A font still in PostScript outlines is written back as it was read.
  if (!T.count("glyf")) return "";
  const auto facts = GlyphFacts(T);
  const auto metrics = Metrics(T);
  const auto instructions = Instructions(T);
  const size_t n = facts.size();
  // Flattened counts and nesting depth of every glyph, through its components.
  std::vector<int64_t> points(n, -1), contours(n, -1), depth(n, -1);
  std::function<void(size_t, int)> flatten = [&](size_t i, int level) {
    if (points[i] >= 0) return;
    points[i] = facts[i].Points, contours[i] = facts[i].Contours, depth[i] = 0;
    if (!facts[i].Composite || level > 32) return;
    int64_t p = 0, c = 0, d = 0;
    for (uint16_t m : facts[i].Components) {
      if (m >= n) continue;
      flatten(m, level + 1);
      p += std::max<int64_t>(points[m], 0), c += std::max<int64_t>(contours[m], 0), d = std::max(d, depth[m]);
    }
    points[i] = p, contours[i] = c, depth[i] = d + 1;
  };
  int64_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  bool anyBox = false, anyExtent = false;
  int64_t maxAdvance = 0, minLsb = 0, minRsb = 0, maxExtent = 0;
  int64_t maxPoints = 0, maxContours = 0, maxCPoints = 0, maxCContours = 0, maxElements = 0, maxDepth = 0, maxInstr = 0;
  for (size_t i = 0; i < n; ++i) {
    const TGlyphFacts& f = facts[i];
    flatten(i, 0);
    if (f.XMin || f.YMin || f.XMax || f.YMax) {
      if (!anyBox) xMin = f.XMin, yMin = f.YMin, xMax = f.XMax, yMax = f.YMax;
      xMin = std::min<int64_t>(xMin, f.XMin), yMin = std::min<int64_t>(yMin, f.YMin);
      xMax = std::max<int64_t>(xMax, f.XMax), yMax = std::max<int64_t>(yMax, f.YMax);
      anyBox = true;
    }
    const auto [aw, lsb] = i < metrics.size() ? metrics[i] : std::pair<uint16_t, int16_t>{0, 0};
    maxAdvance = std::max<int64_t>(maxAdvance, aw);
    if (contours[i] > 0 && !f.MetricsFromComponent) {
      const int64_t w = int64_t(f.XMax) - f.XMin, rsb = int64_t(aw) - lsb - w, extent = lsb + w;
      if (!anyExtent) minLsb = lsb, minRsb = rsb, maxExtent = extent;
      minLsb = std::min<int64_t>(minLsb, lsb), minRsb = std::min(minRsb, rsb), maxExtent = std::max(maxExtent, extent);
      anyExtent = true;
    }
    maxPoints = std::max(maxPoints, f.Points), maxContours = std::max(maxContours, f.Contours);
    if (f.Composite) {
      maxCPoints = std::max(maxCPoints, points[i]), maxCContours = std::max(maxCContours, contours[i]);
      maxElements = std::max<int64_t>(maxElements, int64_t(f.Components.size()));
      maxDepth = std::max(maxDepth, depth[i]);
    }
    if (i < instructions.size()) maxInstr = std::max<int64_t>(maxInstr, int64_t(instructions[i].size()));
  }
  for (const char* tag : {"fpgm", "prep"})
    if (auto t = T.find(tag); t != T.end()) maxInstr = std::max<int64_t>(maxInstr, int64_t(t->second.size()));

  auto check = [](const std::map<std::string, Bytes>& T, const char* Tag, size_t Offset, int64_t Expected, bool Signed,
                  const char* Field) -> std::string {
    auto t = T.find(Tag);
    if (t == T.end() || t->second.size() < Offset + 2) return "";
    const uint16_t raw = Get16(t->second, Offset);
    const int64_t value = Signed ? int64_t(int16_t(raw)) : int64_t(raw);
    if (value == Expected) return "";
    return std::string(Field) + " is " + std::to_string(value) + ", the glyphs give " + std::to_string(Expected);
  };
  std::string e;
  auto add = [&](std::string s) {
    if (e.empty()) e = std::move(s);
  };
  add(check(T, "head", 36, xMin, true, "head xMin"));
  add(check(T, "head", 38, yMin, true, "head yMin"));
  add(check(T, "head", 40, xMax, true, "head xMax"));
  add(check(T, "head", 42, yMax, true, "head yMax"));
  if (T.count("hmtx")) {
    add(check(T, "hhea", 10, maxAdvance, false, "hhea advanceWidthMax"));
    add(check(T, "hhea", 12, minLsb, true, "hhea minLeftSideBearing"));
    add(check(T, "hhea", 14, minRsb, true, "hhea minRightSideBearing"));
    add(check(T, "hhea", 16, maxExtent, true, "hhea xMaxExtent"));
  }
  if (auto m = T.find("maxp"); m != T.end() && m->second.size() >= 32) {
    add(check(T, "maxp", 6, maxPoints, false, "maxp maxPoints"));
    add(check(T, "maxp", 8, maxContours, false, "maxp maxContours"));
    add(check(T, "maxp", 10, maxCPoints, false, "maxp maxCompositePoints"));
    add(check(T, "maxp", 12, maxCContours, false, "maxp maxCompositeContours"));
    add(check(T, "maxp", 26, maxInstr, false, "maxp maxSizeOfInstructions"));
    add(check(T, "maxp", 28, maxElements, false, "maxp maxComponentElements"));
    add(check(T, "maxp", 30, maxDepth, false, "maxp maxComponentDepth"));
  }
  // OS/2 character range: the lowest and highest code of the Microsoft
  // symbol map, else of the Microsoft Unicode map, mapped to a glyph other
  // than 0 (FreeType's walk skips those), capped at 0xFFFF.
  if (T.count("OS/2") && e.empty()) {
    std::string ftError;
    const TFreeTypeView view = FreeTypeView(Lib, Path, ftError);
    const std::vector<std::pair<FT_ULong, FT_UInt>>* map = nullptr;
    if (auto m = view.Maps.find({3, 0}); m != view.Maps.end())
      map = &m->second;
    else if (auto u = view.Maps.find({3, 1}); u != view.Maps.end())
      map = &u->second;
    int64_t first = 0, last = 0;
    if (map) {
      first = 0xFFFF;
      for (const auto& [code, gid] : *map) {
        first = std::min<int64_t>(first, std::min<FT_ULong>(code, 0xFFFF));
        last = std::max<int64_t>(last, std::min<FT_ULong>(code, 0xFFFF));
      }
    }
    add(check(T, "OS/2", 64, first, false, "OS/2 usFirstCharIndex"));
    add(check(T, "OS/2", 66, last, false, "OS/2 usLastCharIndex"));
  }
  return e;
}

// Two saves of the same font: identical apart from head's checkSumAdjustment
// and modified date and head's checksum in the directory.
std::string FixedPointDifference(Bytes A, Bytes B) {
  if (A.size() != B.size()) return "saving again changes the file size";
  for (Bytes* f : {&A, &B}) {
    const uint16_t n = tsytest::ReadBE16(*f, 4);
    for (uint16_t i = 0; i < n && 12 + 16 * size_t(i) + 16 <= f->size(); ++i) {
      const size_t e = 12 + 16 * size_t(i);
      if (std::string(f->begin() + long(e), f->begin() + long(e) + 4) != "head") continue;
      std::fill(f->begin() + long(e) + 4, f->begin() + long(e) + 8, 0);
      const size_t at = tsytest::ReadBE32(*f, e + 8);
      if (at + 36 > f->size()) return "head table cut off";
      std::fill(f->begin() + long(at) + 8, f->begin() + long(at) + 12, 0);
      std::fill(f->begin() + long(at) + 28, f->begin() + long(at) + 36, 0);
    }
  }
  if (A == B) return "";
  const size_t at = size_t(std::mismatch(A.begin(), A.end(), B.begin()).first - A.begin());
  return "saving again changes byte " + std::to_string(at);
}

// Every glyph's outline (points, on/off, contour ends) and advance, unscaled
// and unhinted, as FreeType loads it.
std::string GlyphDifference(FT_Library Lib, const std::string& Before, const std::string& After) {
  FT_Face a, b;
  if (FT_New_Face(Lib, Before.c_str(), 0, &a) != 0) return {};
  if (FT_New_Face(Lib, After.c_str(), 0, &b) != 0) {
    FT_Done_Face(a);
    return "FreeType cannot load it";
  }
  std::string diff;
  if (a->num_glyphs != b->num_glyphs) diff = "glyph count differs";
  const FT_Int32 flags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
  for (FT_Long gid = 0; diff.empty() && gid < a->num_glyphs; ++gid) {
    if (FT_Load_Glyph(a, FT_UInt(gid), flags) != 0) continue;  // broken before: nothing to keep
    if (FT_Load_Glyph(b, FT_UInt(gid), flags) != 0) {
      diff = "glyph " + std::to_string(gid) + " no longer loads";
      break;
    }
    const FT_Outline &p = a->glyph->outline, &q = b->glyph->outline;
    bool same = p.n_points == q.n_points && p.n_contours == q.n_contours &&
                a->glyph->metrics.horiAdvance == b->glyph->metrics.horiAdvance;
    for (int i = 0; same && i < p.n_contours; ++i) same = p.contours[i] == q.contours[i];
    for (int i = 0; same && i < p.n_points; ++i)
      same = p.points[i].x == q.points[i].x && p.points[i].y == q.points[i].y &&
             FT_CURVE_TAG(p.tags[i]) == FT_CURVE_TAG(q.tags[i]);
    if (!same) diff = "glyph " + std::to_string(gid) + " differs";
  }
  FT_Done_Face(a);
  FT_Done_Face(b);
  return diff;
}

// The tables whose bytes may change on save, compared by what they say.
std::string CompareRebuilt(const std::string& Tag, const Bytes& A, const Bytes& B) {
  if (Tag == "name") return NameRecords(A) == NameRecords(B) ? "" : "name records differ";
  if (Tag == "kern") {
    uint16_t ca, cb;
    const auto pa = KernPairs(A, ca), pb = KernPairs(B, cb);
    if (pa != pb) return "kern pairs differ";
    if ((ca & 0xFF) != (cb & 0xFF)) return "kern coverage differs";
    return "";
  }
  // post: the header; the names are compared through FreeType.
  if (Tag == "post") return A.size() >= 32 && B.size() >= 32 && std::equal(A.begin(), A.begin() + 32, B.begin()) ? ""
                                                                                                    : "post header differs";
  if (Tag == "cmap") return "";  // compared through FreeType's character maps
  return A == B ? "" : "table " + Tag + " differs";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tsy_roundtrip_check TSYTOOL FOLDER\n");
    return 2;
  }
  const std::string tool = argv[1];
  std::vector<std::string> fonts;
  for (const auto& entry : fs::recursive_directory_iterator(argv[2], fs::directory_options::skip_permission_denied)) {
    if (!entry.is_regular_file()) continue;
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (ext == ".ttf" || ext == ".otf") fonts.push_back(entry.path().string());
  }
  std::sort(fonts.begin(), fonts.end());
  if (fonts.empty()) {
    std::fprintf(stderr, "no fonts below %s\n", argv[2]);
    return 1;
  }

  FT_Library lib;
  FT_Init_FreeType(&lib);
  const std::string dir = tsytest::MakeTempDir();
  const std::string out = dir + "/out.ttf", out2 = dir + "/out2.ttf";
  int failures = 0;
  for (const std::string& font : fonts) {
    std::string error;
    const std::string cmd = "'" + tool + "' save '" + font + "' '" + out + "'";
    const int status = std::system(cmd.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      error = "tsytool save failed";
    } else {
      const Bytes in = tsytest::ReadFileBytes(font), saved = tsytest::ReadFileBytes(out);
      auto a = TablesOf(in, error);
      auto b = error.empty() ? TablesOf(saved, error) : decltype(a){};
      // PostScript outlines are converted on opening: the outlines, maxp and
      // the side bearings change by design (tsy_cff_conversion_check measures
      // the outlines); advance widths, glyph count and every other table
      // must come through unchanged.
      const bool converted = a.count("CFF ") > 0;
      if (error.empty() && converted) {
        auto widths = [](const std::map<std::string, Bytes>& T) {
          std::vector<uint16_t> w;
          for (const auto& m : Metrics(T)) w.push_back(m.first);
          return w;
        };
        if (b.count("CFF ") || !b.count("glyf") || !b.count("loca")) error = "not converted to TrueType outlines";
        else if (Get16(a["maxp"], 4) != Get16(b["maxp"], 4)) error = "glyph count differs";
        else if (widths(a) != widths(b)) error = "advance widths differ";
        for (auto* t : {&a, &b})
          std::erase_if(*t, [](const auto& e) { return e.first == "CFF " || e.first == "maxp"; });
      } else if (error.empty()) {
        if (Metrics(a) != Metrics(b)) error = "glyph metrics differ";
        else if (Instructions(a) != Instructions(b)) error = "glyph instructions differ";
      }
      MaskRecomputed(a);
      MaskRecomputed(b);
      for (auto* t : {&a, &b}) std::erase_if(*t, [](const auto& e) { return IsGlyphTable(e.first); });
      if (error.empty() && !converted) error = GlyphDifference(lib, font, out);
      if (error.empty()) {
        // The editor's default load options drop these three, and a font
        // without OS/2 gets a default one.
        for (const char* tag : {"LTSH", "VDMX", "hdmx"})
          if (b.count(tag)) error = std::string("table ") + tag + " was kept";
        for (const char* tag : {"LTSH", "VDMX", "hdmx"}) a.erase(tag);
        if (!a.count("OS/2")) b.erase("OS/2");
        for (const auto& [tag, bytes] : a) {
          if (!error.empty()) break;
          auto it = b.find(tag);
          if (it == b.end()) {
            error = "table " + tag + " is missing";
          } else {
            error = CompareRebuilt(tag, bytes, it->second);
          }
          if (!error.empty()) break;
        }
        if (error.empty() && a.size() != b.size()) error = "the saved font has other tables";
      }
      if (error.empty() && tsytest::WholeChecksum(saved) != 0xB1B0AFBA) error = "whole-file checksum is not 0xB1B0AFBA";
      if (error.empty()) {
        std::string tablesError;
        error = SummaryDifference(lib, out, TablesOf(saved, tablesError));
      }
      if (error.empty()) {
        const std::string again = "'" + tool + "' save '" + out + "' '" + out2 + "'";
        const int s2 = std::system(again.c_str());
        if (!WIFEXITED(s2) || WEXITSTATUS(s2) != 0)
          error = "tsytool save of the saved file failed";
        else
          error = FixedPointDifference(saved, tsytest::ReadFileBytes(out2));
      }
      if (error.empty()) {
        std::string ftError;
        const auto before = FreeTypeView(lib, font, ftError);
        const auto after = FreeTypeView(lib, out, error);
        // FreeType adds maps of its own (platform 7) from a CFF font's
        // encoding; a converted font keeps only the maps of its cmap table.
        auto beforeMaps = before.Maps;
        if (converted) std::erase_if(beforeMaps, [](const auto& m) { return m.first.first == 7; });
        if (error.empty() && beforeMaps != after.Maps) error = "FreeType maps characters differently";
        // A CFF font's names come from its charset, which the conversion
        // leaves behind; the post table decides them afterwards.
        if (error.empty() && !converted && before.GlyphNames != after.GlyphNames)
          error = "FreeType reads other glyph names";
      }
    }
    if (!error.empty()) {
      std::fprintf(stderr, "FAIL %s: %s\n", font.c_str(), error.c_str());
      ++failures;
    }
  }
  FT_Done_FreeType(lib);
  fs::remove_all(dir);
  std::printf("%zu fonts saved, %d failed\n", fonts.size(), failures);
  return failures == 0 ? 0 : 1;
}
