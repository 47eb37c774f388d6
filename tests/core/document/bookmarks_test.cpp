// The ten program-wide bookmarks: toggling by character or index, following
// a character into another font, and the text file with damaged lines.
#include "document/bookmarks.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/document/overview_support.h"

namespace tsy {
namespace {

TEST(Bookmarks, ToggleTwiceOnAMappedGlyphClearsTheCharacterAndKeepsTheIndex) {
  auto font = tsytest::OverviewFont();
  TBookmarks b;
  b.Items(3).GlyphIndex = 2;
  b.ToggleBookmark(*font, 3, 1);
  EXPECT_EQ(b.Items(3), (TBookmark{0x41, 2}));
  EXPECT_EQ(b.BookmarkGlyph(*font, 3), 1);
  b.ToggleBookmark(*font, 3, 1);
  EXPECT_EQ(b.Items(3), (TBookmark{-1, 2}));
  EXPECT_EQ(b.BookmarkGlyph(*font, 3), 2);  // the index is still there
  // Another mapped glyph replaces the character.
  b.ToggleBookmark(*font, 3, 1);
  b.ToggleBookmark(*font, 3, 3);
  EXPECT_EQ(b.Items(3).CharCode, 0xC1);
}

TEST(Bookmarks, ToggleTwiceOnAnUnmappedGlyphSetsThenClearsTheIndex) {
  auto font = tsytest::OverviewFont();
  TBookmarks b;
  b.Items(5).CharCode = 0x41;
  b.ToggleBookmark(*font, 5, 4);
  EXPECT_EQ(b.Items(5), (TBookmark{-1, 4}));
  EXPECT_EQ(b.BookmarkGlyph(*font, 5), 4);
  b.ToggleBookmark(*font, 5, 4);
  EXPECT_EQ(b.Items(5), (TBookmark{-1, -1}));
  EXPECT_EQ(b.BookmarkGlyph(*font, 5), -1);
}

TEST(Bookmarks, ABookmarkFollowsItsCharacterAndIgnoresGlyphsTheFontLacks) {
  auto font = tsytest::OverviewFont();
  TBookmarks b;
  b.Items(0) = {0xC1, -1};
  b.Items(1) = {0x2603, 4};  // a character this font lacks: the index counts
  b.Items(2) = {-1, 5};      // past the last glyph
  b.Items(3) = {0x2603, -1};
  EXPECT_EQ(b.BookmarkGlyphs(*font), (std::array<int, 10>{3, 4, -1, -1, -1, -1, -1, -1, -1, -1}));
  // The same character sits elsewhere in another font.
  auto other = tsytest::OverviewFont();
  other->Cmap()->SubTables.Find(3, 1)->SubTable->RemoveMapping(3, 0xC1);
  other->Cmap()->SubTables.Find(3, 1)->SubTable->AddMapping(4, 0xC1);
  EXPECT_EQ(b.BookmarkGlyph(*other, 0), 4);
}

TEST(Bookmarks, TextFormRoundTripsIncludingIndexOnlyBookmarks) {
  TBookmarks b;
  b.Items(0) = {0x41, -1};
  b.Items(1) = {-1, 0x1234};
  b.Items(9) = {0x1D400, 7};
  const std::string text = b.FormatText();
  EXPECT_EQ(text.substr(0, 16), "$0041; \n; $1234\n");
  EXPECT_NE(text.find("$1d400; $0007\n"), std::string::npos);
  TBookmarks back;
  EXPECT_TRUE(back.ParseText(text).empty());
  for (int n = 0; n < TBookmarks::kCount; ++n) EXPECT_EQ(back.Items(n), b.Items(n)) << n;
}

TEST(Bookmarks, DamagedLinesAreReportedAndTheReadableOnesKept) {
  TBookmarks b;
  const std::string text =
      "$0041; \r\n"      // 1: Windows line ends are fine
      "garbage\n"        // 2: no separator
      "65;   12\n"       // 3: decimal, blanks before the index
      "$zz; $0001\n"     // 4: not a number
      "\n"               // 5: empty bookmark
      "; $1ffff\n"       // 6: an index no font has
      "-1; -1\n"         // 7: "none" written out
      "$0042; $0002\n"   // 8
      "\n\n"             // 9, 10
      "$0043; $0003\n";  // 11: one line too many
  EXPECT_EQ(b.ParseText(text), (std::vector<int>{2, 4, 6, 11}));
  EXPECT_EQ(b.Items(0), (TBookmark{0x41, -1}));
  EXPECT_EQ(b.Items(1), TBookmark{});
  EXPECT_EQ(b.Items(2), (TBookmark{65, 12}));
  EXPECT_EQ(b.Items(3), TBookmark{});
  EXPECT_EQ(b.Items(5), TBookmark{});
  EXPECT_EQ(b.Items(6), TBookmark{});
  EXPECT_EQ(b.Items(7), (TBookmark{0x42, 2}));
}

TEST(Bookmarks, FileRoundTripAndAMissingFileLeavesAllEmpty) {
  const std::string dir = tsytest::MakeTempDir();
  const std::string file = dir + "/bookmarks.txt";
  TBookmarks b;
  b.Items(4) = {0x263A, -1};
  TBookmarkLoadResult missing = LoadBookmarks(b, file);
  EXPECT_FALSE(missing.Found);
  EXPECT_FALSE(missing.Damaged());
  EXPECT_EQ(b.Items(4), TBookmark{});
  b.Items(4) = {0x263A, -1};
  SaveBookmarks(b, file);
  TBookmarks back;
  TBookmarkLoadResult loaded = LoadBookmarks(back, file);
  EXPECT_TRUE(loaded.Found);
  EXPECT_FALSE(loaded.Damaged());
  EXPECT_EQ(back.Items(4), (TBookmark{0x263A, -1}));
  // A folder in the file's place is a read problem, not a crash.
  const std::string folder = dir + "/folder.txt";
  std::filesystem::create_directory(folder);
  EXPECT_TRUE(LoadBookmarks(back, folder).Damaged());
}

}  // namespace
}  // namespace tsy
