#include "document/bookmarks.h"

#include <cctype>
#include <filesystem>

#include "document/glyphoverview.h"
#include "fontfile/stream.h"
#include "fontfile/truetypefont.h"

namespace tsy {

namespace {

std::string Trim(const std::string& S) {
  size_t a = 0, b = S.size();
  while (a < b && std::isspace(static_cast<unsigned char>(S[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(S[b - 1]))) --b;
  return S.substr(a, b - a);
}

// Decimal or "$"-prefixed hexadecimal; -1 stands for "none" as written by
// older files. Anything else, or a value no font can hold, is unreadable.
bool ParseNumber(const std::string& Text, int64_t& Value) {
  if (Text.empty()) {
    Value = -1;
    return true;
  }
  if (Text == "-1") {
    Value = -1;
    return true;
  }
  const bool hex = Text[0] == '$';
  const size_t start = hex ? 1 : 0;
  if (start >= Text.size() || Text.size() - start > 8) return false;
  int64_t v = 0;
  for (size_t i = start; i < Text.size(); ++i) {
    const int c = static_cast<unsigned char>(Text[i]);
    int digit;
    if (std::isdigit(c))
      digit = c - '0';
    else if (hex && std::isxdigit(c))
      digit = std::tolower(c) - 'a' + 10;
    else
      return false;
    v = v * (hex ? 16 : 10) + digit;
  }
  if (v > 0xFFFFFFFFLL) return false;
  Value = v;
  return true;
}

std::string Number(int64_t V) { return V < 0 ? std::string() : FormatOverviewNumber(V, true); }

}  // namespace

std::string TBookmarks::FormatText() const {
  std::string text;
  for (const TBookmark& b : FItems) text += Number(b.CharCode) + "; " + Number(b.GlyphIndex) + "\n";
  return text;
}

std::vector<int> TBookmarks::ParseText(const std::string& Text) {
  Clear();
  std::vector<int> bad;
  size_t at = 0;
  int line = 0;
  while (at < Text.size()) {
    size_t end = Text.find('\n', at);
    if (end == std::string::npos) end = Text.size();
    const std::string raw = Trim(Text.substr(at, end - at));
    at = end + 1;
    ++line;
    if (line > kCount) {
      if (!raw.empty()) bad.push_back(line);
      continue;
    }
    if (raw.empty()) continue;
    const size_t semicolon = raw.find(';');
    int64_t code = -1, glyph = -1;
    if (semicolon == std::string::npos || !ParseNumber(Trim(raw.substr(0, semicolon)), code) ||
        !ParseNumber(Trim(raw.substr(semicolon + 1)), glyph) || glyph > 0xFFFF) {
      bad.push_back(line);
      continue;
    }
    // A bookmark of a glyph without a character has only its index: it is
    // read back as such rather than dropped.
    FItems[size_t(line - 1)] = TBookmark{code, glyph};
  }
  return bad;
}

int TBookmarks::BookmarkGlyph(const TTrueTypeFont& Font, int N) const {
  const TBookmark& b = Items(N);
  int64_t glyph = -1;
  if (b.CharCode >= 0) glyph = GlyphOfCharacter(Font, b.CharCode);
  if (glyph < 0) glyph = b.GlyphIndex;
  return glyph >= 0 && glyph < int64_t(Font.GlyphCount()) ? int(glyph) : -1;
}

std::array<int, TBookmarks::kCount> TBookmarks::BookmarkGlyphs(const TTrueTypeFont& Font) const {
  std::array<int, kCount> glyphs{};
  for (int n = 0; n < kCount; ++n) glyphs[size_t(n)] = BookmarkGlyph(Font, n);
  return glyphs;
}

void TBookmarks::ToggleBookmark(const TTrueTypeFont& Font, int N, int Glyph) {
  TBookmark& b = Items(N);
  const int64_t code = CharacterOfGlyph(Font, Glyph);
  if (code >= 0) {
    b.CharCode = b.CharCode == code ? -1 : code;
  } else {
    b.CharCode = -1;
    b.GlyphIndex = b.GlyphIndex == Glyph ? -1 : Glyph;
  }
}

TBookmarkLoadResult LoadBookmarks(TBookmarks& Bookmarks, const std::string& FileName) {
  TBookmarkLoadResult result;
  Bookmarks.Clear();
  std::error_code error;
  if (!std::filesystem::exists(FileName, error)) return result;
  result.Found = true;
  try {
    const auto bytes = ReadWholeFile(FileName);
    result.BadLines = Bookmarks.ParseText(std::string(bytes->begin(), bytes->end()));
  } catch (const std::exception& e) {
    result.Problem = e.what();
  }
  return result;
}

void SaveBookmarks(const TBookmarks& Bookmarks, const std::string& FileName) {
  const std::string text = Bookmarks.FormatText();
  WriteFileAtomically(FileName, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace tsy
