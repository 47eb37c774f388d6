// Saves every TrueType and OpenType font below a folder through
// `tsytool save` and checks each result independently of our own loader:
// the same tables with the same bytes (head's checkSumAdjustment aside), a
// whole-file checksum of 0xB1B0AFBA, and FreeType loads it with the same
// character map.
#include <ft2build.h>
#include FT_FREETYPE_H

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

std::vector<std::pair<FT_ULong, FT_UInt>> CharMap(FT_Library Lib, const std::string& Path, std::string& Error) {
  std::vector<std::pair<FT_ULong, FT_UInt>> map;
  FT_Face face;
  if (FT_New_Face(Lib, Path.c_str(), 0, &face) != 0) {
    Error = "FreeType cannot load it";
    return map;
  }
  FT_UInt gid;
  for (FT_ULong c = FT_Get_First_Char(face, &gid); gid != 0; c = FT_Get_Next_Char(face, c, &gid))
    map.emplace_back(c, gid);
  FT_Done_Face(face);
  return map;
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
      if (error.empty() && a != b) error = "tables differ";
      if (error.empty() && tsytest::WholeChecksum(saved) != 0xB1B0AFBA) error = "whole-file checksum is not 0xB1B0AFBA";
      if (error.empty()) {
        std::string ftError;
        const auto before = CharMap(lib, font, ftError);
        const auto after = CharMap(lib, out, error);
        if (error.empty() && before != after) error = "FreeType maps characters differently";
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
