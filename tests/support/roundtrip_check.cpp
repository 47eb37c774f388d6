// Saves every TrueType and OpenType font below a folder through
// `tsytool save` and checks each result independently of our own loader:
// the same tables with the same bytes (head's checkSumAdjustment aside), a
// whole-file checksum of 0xB1B0AFBA, and FreeType loads it with the same
// character maps and glyph names. Tables the editor rebuilds on save (cmap,
// name, kern, post) are compared by their decoded content instead.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
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
  const std::string out = dir + "/out.ttf";
  int failures = 0;
  for (const std::string& font : fonts) {
    std::string error;
    const std::string cmd = "'" + tool + "' save '" + font + "' '" + out + "'";
    const int status = std::system(cmd.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      error = "tsytool save failed";
    } else {
      const Bytes in = tsytest::ReadFileBytes(font), saved = tsytest::ReadFileBytes(out);
      const auto a = TablesOf(in, error);
      const auto b = error.empty() ? TablesOf(saved, error) : decltype(a){};
      if (error.empty()) {
        for (const auto& [tag, bytes] : a) {
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
        std::string ftError;
        const auto before = FreeTypeView(lib, font, ftError);
        const auto after = FreeTypeView(lib, out, error);
        if (error.empty() && before.Maps != after.Maps) error = "FreeType maps characters differently";
        if (error.empty() && before.GlyphNames != after.GlyphNames) error = "FreeType reads other glyph names";
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
