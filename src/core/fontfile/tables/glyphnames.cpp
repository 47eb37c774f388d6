#include "fontfile/tables/glyphnames.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "common/resources.h"
#include "fontfile/tables/post.h"

namespace tsy {

void TAdobeGlyphNames::LoadFromText(const std::string& Text) {
  FItems.clear();
  FLast.clear();
  std::istringstream in(Text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line.size() < 6 || line[4] != ';') continue;
    if (!std::all_of(line.begin(), line.begin() + 4, [](unsigned char c) { return std::isxdigit(c); })) continue;
    const std::string name = line.substr(5);
    if (name.empty()) continue;
    const uint16_t code = uint16_t(std::stoul(line.substr(0, 4), nullptr, 16));
    FLast[code] = FItems.size();
    FItems.push_back({code, name});
  }
}

bool TAdobeGlyphNames::LoadDefault() {
  std::ifstream f(ResourceFile("glyphnames.txt"), std::ios::binary);
  if (!f) return false;
  std::stringstream s;
  s << f.rdbuf();
  LoadFromText(s.str());
  return true;
}

std::string TAdobeGlyphNames::NameOfCode(uint16_t Code) const {
  auto it = FLast.find(Code);
  return it == FLast.end() ? std::string() : FItems[it->second].Name;
}

bool FindGlyphByName(const TTablePost& Post, size_t GlyphCount, const std::string& Name, size_t Start, bool Whole,
                     bool CaseSensitive, size_t& Found) {
  if (GlyphCount == 0) return false;
  if (Start >= GlyphCount) Start = 0;
  auto fold = [&](std::string s) {
    if (!CaseSensitive)
      std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
  };
  const std::string wanted = fold(Name);
  for (size_t g = Start; g < GlyphCount; ++g) {
    const std::string have = fold(Post.GetName(g));
    if (Whole ? have == wanted : have.find(wanted) != std::string::npos) {
      Found = g;
      return true;
    }
  }
  return false;
}

}  // namespace tsy
