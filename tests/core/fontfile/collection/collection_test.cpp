// Collections: the header checks, member names, extraction with progress
// and member selection.
#include <gtest/gtest.h>

#include <filesystem>

#include "fontfile/collection.h"
#include "fontfile/fontexception.h"
#include "fontfile/truetypefont.h"
#include "support/fontbuilder.h"

using namespace tsy;
using tsytest::Bytes;
using tsytest::Put16;
using tsytest::Put32;

namespace {

// A name table with one Microsoft Unicode full name.
Bytes NameTable(const std::u16string& Full) {
  Bytes b;
  Put16(b, 0), Put16(b, 1), Put16(b, 6 + 12);
  Put16(b, 3), Put16(b, 1), Put16(b, 1033), Put16(b, 4), Put16(b, uint16_t(2 * Full.size())), Put16(b, 0);
  for (char16_t c : Full) Put16(b, c);
  return b;
}

// A collection of Count members; member i is the minimal font with the name
// "Font i". Table offsets are moved to count from the file's start.
Bytes Collection(int Count, uint32_t Version = 0x00010000) {
  Bytes head;
  tsytest::PutTag(head, "ttcf");
  Put32(head, Version);
  Put32(head, uint32_t(Count));
  std::vector<Bytes> members;
  uint32_t at = 12 + 4 * uint32_t(Count);
  for (int i = 0; i < Count; ++i) {
    auto tables = tsytest::MinimalFontTables();
    const std::string n = "Font " + std::to_string(i);
    tables.push_back({"name", NameTable(std::u16string(n.begin(), n.end()))});
    Bytes f = tsytest::BuildSfnt(tables);
    for (uint16_t t = 0; t < tsytest::ReadBE16(f, 4); ++t) {
      const size_t e = 12 + 16 * size_t(t) + 8;
      const uint32_t o = tsytest::ReadBE32(f, e) + at;
      f[e] = uint8_t(o >> 24), f[e + 1] = uint8_t(o >> 16), f[e + 2] = uint8_t(o >> 8), f[e + 3] = uint8_t(o);
    }
    Put32(head, at);
    at += uint32_t(f.size());
    members.push_back(f);
  }
  for (const Bytes& m : members) head.insert(head.end(), m.begin(), m.end());
  return head;
}

}  // namespace

TEST(Collection, HeaderChecks) {
  const std::string dir = tsytest::MakeTempDir();
  auto isCollection = [&](const Bytes& B) {
    tsytest::WriteFileBytes(dir + "/c.ttc", B);
    return TTrueTypeCollection::IsCollectionFile(dir + "/c.ttc");
  };
  EXPECT_TRUE(isCollection(Collection(2)));
  EXPECT_TRUE(isCollection(Collection(1, 0x00020000)));
  EXPECT_FALSE(isCollection(Collection(1, 0x00030000)));
  Bytes huge = Collection(1);
  huge[8] = 0xFF;  // numFonts far beyond the file
  EXPECT_FALSE(isCollection(huge));
  Bytes outside = Collection(1);
  const uint32_t size = uint32_t(outside.size());
  outside[12] = uint8_t(size >> 24), outside[13] = uint8_t(size >> 16), outside[14] = uint8_t(size >> 8),
  outside[15] = uint8_t(size);
  EXPECT_FALSE(isCollection(outside));
  // A bad header is reported, not taken for an empty collection.
  TTrueTypeCollection c;
  tsytest::WriteFileBytes(dir + "/bad.ttc", Collection(1, 0x00030000));
  EXPECT_THROW(c.Extract(dir + "/bad.ttc", dir, "x"), FontException);
  EXPECT_THROW(c.ReadFontNames(dir + "/bad.ttc"), FontException);
  std::filesystem::remove_all(dir);
}

TEST(Collection, NamesAndSelectedExtractionWithProgress) {
  const std::string dir = tsytest::MakeTempDir();
  tsytest::WriteFileBytes(dir + "/c.ttc", Collection(3));
  TTrueTypeCollection c;
  c.ReadFontNames(dir + "/c.ttc");
  EXPECT_EQ(c.Names, (std::vector<std::string>{"Font 0", "Font 1", "Font 2"}));
  c.Selected = {false, false, true};
  std::vector<int> percents;
  c.OnProgress = [&](const std::string&, int P) { percents.push_back(P); };
  c.Extract(dir + "/c.ttc", dir, "Sample_");
  EXPECT_EQ(percents, (std::vector<int>{33, 66}));
  EXPECT_EQ(c.Written, (std::vector<std::string>{dir + "/Sample_2.ttf"}));
  EXPECT_FALSE(std::filesystem::exists(dir + "/Sample_0.ttf"));
  // The extracted file is a checksummed single font that loads.
  const Bytes out = tsytest::ReadFileBytes(dir + "/Sample_2.ttf");
  EXPECT_EQ(tsytest::WholeChecksum(out), 0xB1B0AFBAu);
  TTrueTypeFont f;
  EXPECT_NO_THROW(f.LoadFromFile(dir + "/Sample_2.ttf"));
  // A stop request skips the remaining members.
  c.Selected.clear();
  c.StopRequested = [] { return true; };
  c.Extract(dir + "/c.ttc", dir, "Stopped_");
  EXPECT_TRUE(c.Written.empty());
  std::filesystem::remove_all(dir);
}

TEST(Collection, MoreThanAHundredMembers) {
  const std::string dir = tsytest::MakeTempDir();
  tsytest::WriteFileBytes(dir + "/c.ttc", Collection(101));
  TTrueTypeCollection c;
  c.Extract(dir + "/c.ttc", dir, "m");
  EXPECT_EQ(c.Written.size(), 101u);
  EXPECT_TRUE(std::filesystem::exists(dir + "/m100.ttf"));
  std::filesystem::remove_all(dir);
}

TEST(Collection, MemberOpensAsAFont) {
  const Bytes b = Collection(2);
  TReadOnlyStream s(b.data(), b.size());
  const auto offsets = TTrueTypeCollection::ReadOffsets(s);
  TTrueTypeFont f;
  EXPECT_NO_THROW(f.LoadFromStream(s, offsets[1]));
  EXPECT_EQ(f.GlyphCount(), 1u);
  TTrueTypeCollectionFont m;
  m.ReadNamesOnly(s, offsets[1]);
  EXPECT_EQ(m.GetFullName(), "Font 1");
}
