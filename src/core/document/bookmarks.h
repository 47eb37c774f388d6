#pragma once
// Ten glyph bookmarks shared by every open font. A bookmark remembers a
// character where the glyph has one, so it leads to the same character in
// any font, and a glyph index for glyphs without a character.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tsy {

class TTrueTypeFont;

struct TBookmark {
  int64_t CharCode = -1;    // -1: none
  int64_t GlyphIndex = -1;  // -1: none
  bool operator==(const TBookmark&) const = default;
};

class TBookmarks {
public:
  static constexpr int kCount = 10;

  TBookmark& Items(int N) { return FItems.at(size_t(N)); }
  const TBookmark& Items(int N) const { return FItems.at(size_t(N)); }
  void Clear() { FItems.fill(TBookmark{}); }

  // The text file form: one line per bookmark, bookmark 0 first, each line
  // the character code, "; " and the glyph index, each "$%.4x" or empty.
  std::string FormatText() const;
  // Reads line i into bookmark i; numbers are decimal or "$"-prefixed
  // hexadecimal. A line that cannot be read leaves its bookmark empty and
  // its 1-based number is returned, as is any line past the tenth that holds
  // text; everything readable is kept.
  std::vector<int> ParseText(const std::string& Text);

  // The glyph bookmark N leads to in Font: the glyph of its character, else
  // its glyph index; -1 when neither names a glyph of the font.
  int BookmarkGlyph(const TTrueTypeFont& Font, int N) const;
  // Bookmark N for Glyph: a glyph with a character sets the bookmark's
  // character (or clears it when it already holds that character); a glyph
  // without one clears the character and sets or clears the glyph index.
  void ToggleBookmark(const TTrueTypeFont& Font, int N, int Glyph);
  // For each bookmark its glyph in Font (-1 when none).
  std::array<int, kCount> BookmarkGlyphs(const TTrueTypeFont& Font) const;

private:
  std::array<TBookmark, kCount> FItems;
};

// The file beside the program's other user files. Load returns false when
// the file exists but could not be read at all (Problems then holds the
// reason); damaged lines are listed in BadLines with the rest kept.
struct TBookmarkLoadResult {
  bool Found = false;
  std::vector<int> BadLines;
  std::string Problem;  // a read error, or empty
  bool Damaged() const { return !BadLines.empty() || !Problem.empty(); }
};
TBookmarkLoadResult LoadBookmarks(TBookmarks& Bookmarks, const std::string& FileName);
// Written beside the old file and renamed over it; raises EStreamError.
void SaveBookmarks(const TBookmarks& Bookmarks, const std::string& FileName);

}  // namespace tsy
