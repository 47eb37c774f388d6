// Loading and saving the sfnt container: directory, body order, padding,
// checksums, the order file, embedded sfnts, atomic saves and hostile files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "common/resources.h"
#include "fontfile/fontexception.h"
#include "fontfile/truetypefont.h"
#include "fontfile/warnings.h"
#include "support/fontbuilder.h"

using namespace tsy;
using namespace tsytest;
namespace fs = std::filesystem;

namespace {

struct DirEntry {
  std::string Tag;
  uint32_t Checksum, Offset, Length;
};

std::vector<DirEntry> Directory(const Bytes& B, size_t Start = 0) {
  std::vector<DirEntry> out;
  const uint16_t n = ReadBE16(B, Start + 4);
  for (uint16_t i = 0; i < n; ++i) {
    const size_t e = Start + 12 + 16 * size_t(i);
    out.push_back({std::string(B.begin() + long(e), B.begin() + long(e) + 4), ReadBE32(B, e + 4),
                   ReadBE32(B, e + 8), ReadBE32(B, e + 12)});
  }
  return out;
}

Bytes Body(const Bytes& B, const DirEntry& E, size_t Start = 0) {
  return Bytes(B.begin() + long(Start + E.Offset), B.begin() + long(Start + E.Offset + E.Length));
}

// The minimal font plus a few tables held as raw bytes, one of odd length.
std::vector<FixtureTable> FontWithRawTables() {
  auto tables = MinimalFontTables();
  tables.push_back({"DSIG", {0, 0, 0, 1, 0, 0, 0, 0}});
  tables.push_back({"zzzz", {1, 2, 3, 4, 5}});
  tables.push_back({"GSUB", {9, 9, 9}});
  return tables;
}

Bytes Save(TTrueTypeFont& Font) {
  TMemoryStream m;
  Font.SaveToStream(m);
  return m.Bytes();
}

void Load(TTrueTypeFont& Font, const Bytes& B) {
  TReadOnlyStream s(B.data(), B.size());
  Font.LoadFromStream(s);
}

// Keeps the order file of the build tree out of the tests.
class Container : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = MakeTempDir();
    SetResourceDirectory(Dir);
  }
  void TearDown() override {
    SetResourceDirectory("");
    fs::remove_all(Dir);
  }
  std::string Dir;
};

}  // namespace

TEST_F(Container, EmptyStreamIsRejectedBeforeReading) {
  TTrueTypeFont font;
  const uint8_t b[4] = {0, 1, 0, 0};
  TReadOnlyStream s(b, 4);
  s.Seek(4);
  try {
    font.LoadFromStream(s);
    FAIL();
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Stream is empty!");
  }
  EXPECT_FALSE(font.Loaded);
}

TEST_F(Container, UnknownVersionWarnsAndLoads) {
  TTrueTypeFont font;
  Load(font, BuildSfnt(FontWithRawTables(), 0x00020000));
  EXPECT_TRUE(font.Loaded);
  const auto& w = TWarningCollector::Warnings();
  EXPECT_NE(std::find(w.begin(), w.end(), "Unknown font format (version number 2.0)."), w.end());
  EXPECT_EQ(ReadBE32(Save(font), 0), 0x00020000u);  // written back as read
}

TEST_F(Container, SaveWritesDirectoryInTagOrderAndBodiesInPreferredOrder) {
  TTrueTypeFont font;
  Load(font, BuildSfnt(FontWithRawTables()));
  const Bytes out = Save(font);
  const auto dir = Directory(out);

  std::vector<std::string> tags;
  for (const auto& e : dir) tags.push_back(e.Tag);
  EXPECT_TRUE(std::is_sorted(tags.begin(), tags.end()));
  EXPECT_EQ(tags.front(), "DSIG");  // upper case sorts first

  auto byTag = [&](const std::string& t) { return *std::find_if(dir.begin(), dir.end(), [&](auto& e) { return e.Tag == t; }); };
  EXPECT_EQ(byTag("head").Offset, 12u + 16u * dir.size());  // head's body comes first
  EXPECT_LT(byTag("maxp").Offset, byTag("cmap").Offset);
  EXPECT_LT(byTag("post").Offset, byTag("DSIG").Offset);
  EXPECT_LT(byTag("DSIG").Offset, byTag("GSUB").Offset);  // unlisted tables follow in tag order
  EXPECT_LT(byTag("GSUB").Offset, byTag("zzzz").Offset);

  // Raw tables come back byte for byte; lengths are unpadded, bodies padded.
  EXPECT_EQ(byTag("zzzz").Length, 5u);
  EXPECT_EQ(Body(out, byTag("zzzz")), (Bytes{1, 2, 3, 4, 5}));
  EXPECT_EQ(Body(out, byTag("GSUB")), (Bytes{9, 9, 9}));
  for (const auto& e : dir) {
    EXPECT_EQ(e.Offset % 4, 0u) << e.Tag;
    for (uint32_t i = e.Length; i % 4; ++i) EXPECT_EQ(out.at(e.Offset + i), 0) << e.Tag;
  }
  EXPECT_EQ(out.size() % 4, 0u);
}

TEST_F(Container, ChecksumsAndAdjustment) {
  TTrueTypeFont font;
  Load(font, BuildSfnt(FontWithRawTables()));
  const Bytes out = Save(font);
  EXPECT_EQ(WholeChecksum(out), 0xB1B0AFBAu);
  for (const auto& e : Directory(out)) {
    Bytes body = Body(out, e);
    if (e.Tag == "head") std::fill(body.begin() + 8, body.begin() + 12, 0);
    EXPECT_EQ(e.Checksum, WholeChecksum(body)) << e.Tag;
  }
  // Saving again gives the same bytes: the stored adjustment does not leak into the sums.
  EXPECT_EQ(Save(font), out);
}

TEST_F(Container, OrderFileWithCommentsShortTagsAndCrLf) {
  WriteFileBytes(Dir + "/TableOffsetOrder.txt", [] {
    const std::string text = "; bodies we want first\r\nglyf\r\ncvt\r\n";
    return Bytes(text.begin(), text.end());
  }());
  auto tables = FontWithRawTables();
  tables.push_back({"cvt ", {0, 1, 0, 2}});
  TTrueTypeFont font;
  Load(font, BuildSfnt(tables));
  const Bytes out = Save(font);
  std::vector<DirEntry> dir = Directory(out);
  std::sort(dir.begin(), dir.end(), [](auto& a, auto& b) { return a.Offset < b.Offset; });
  // An empty glyf starts where cvt does; what matters is that both lead.
  std::vector<std::string> first{dir[0].Tag, dir[1].Tag};
  std::sort(first.begin(), first.end());
  EXPECT_EQ(first, (std::vector<std::string>{"cvt ", "glyf"}));
  EXPECT_EQ(font.TableOrderLines, (std::vector<std::string>{"glyf", "cvt "}));
}

TEST_F(Container, SfntInsideALargerStream) {
  const Bytes sfnt = BuildSfnt(FontWithRawTables());
  Bytes file(208, 0xEE);
  file.insert(file.end(), sfnt.begin(), sfnt.end());
  TTrueTypeFont font;
  TReadOnlyStream s(file.data(), file.size());
  s.Seek(208);
  font.LoadFromStream(s);
  EXPECT_TRUE(font.Loaded);

  // Writing at an odd position pads and sums relative to the sfnt's start.
  TMemoryStream m;
  m.Write("xyz", 3);
  font.SaveToStream(m);
  const Bytes out(m.Bytes().begin() + 3, m.Bytes().end());
  EXPECT_EQ(out, Save(font));
  EXPECT_EQ(WholeChecksum(out), 0xB1B0AFBAu);
}

TEST_F(Container, UnknownTablesCanBeSkipped) {
  TTrueTypeFont font;
  font.KeepUnknownTables = false;
  auto tables = FontWithRawTables();
  tables.push_back({"prep", {0xB0, 0x01}});
  Load(font, BuildSfnt(tables));
  EXPECT_EQ(font.FindTable("DSIG"), nullptr);
  EXPECT_EQ(font.FindTable("zzzz"), nullptr);
  EXPECT_NE(dynamic_cast<TTableHinting*>(font.FindTable("prep")), nullptr);
}

TEST_F(Container, ProgressRunsAndEndsAtZeroEvenOnFailure) {
  std::vector<int> seen;
  TTrueTypeFont font;
  font.SetProgressHandler([&](TTrueTypeFont&, const std::string&, int p) { seen.push_back(p); });
  Load(font, BuildSfnt(FontWithRawTables()));
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), 1);
  EXPECT_EQ(seen.back(), 0);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end() - 1));

  seen.clear();
  Bytes broken = BuildSfnt(FontWithRawTables());
  broken.resize(broken.size() - 8);
  EXPECT_ANY_THROW(Load(font, broken));
  EXPECT_EQ(seen.back(), 0);
}

TEST_F(Container, HostileDirectories) {
  const Bytes good = BuildSfnt(FontWithRawTables());
  struct Case {
    const char* What;
    Bytes File;
  };
  std::vector<Case> cases;
  {
    Bytes b = good;  // first table's offset far past the end
    b[12 + 8] = 0x7F;
    cases.push_back({"offset past the end", b});
  }
  {
    Bytes b = good;  // a length that overflows 32-bit offset + length
    for (int i = 0; i < 4; ++i) b[12 + 12 + i] = 0xFF;
    cases.push_back({"length wraps", b});
  }
  {
    Bytes b = good;  // head, read in the first pass, points outside
    const auto dir = Directory(good);
    const size_t headIndex = size_t(std::find_if(dir.begin(), dir.end(), [](auto& e) { return e.Tag == "head"; }) - dir.begin());
    b[12 + 16 * headIndex + 8] = 0x40;
    cases.push_back({"head outside", b});
  }
  {
    Bytes b = good;  // the directory claims more entries than the file holds
    b[4] = 0xFF;
    b[5] = 0xFF;
    cases.push_back({"65535 entries in a small file", b});
  }
  {
    Bytes b = good;  // two entries with one tag
    b[12 + 16 + 0] = b[12 + 0];
    b[12 + 16 + 1] = b[12 + 1];
    b[12 + 16 + 2] = b[12 + 2];
    b[12 + 16 + 3] = b[12 + 3];
    cases.push_back({"duplicate tag", b});
  }
  for (const Case& c : cases) {
    TTrueTypeFont font;
    try {
      Load(font, c.File);
      ADD_FAILURE() << c.What << ": loaded";
    } catch (const FontException&) {
    } catch (const EStreamError&) {
    }
    EXPECT_FALSE(font.Loaded) << c.What;
  }
}

TEST_F(Container, ManyTablesAndOverlaps) {
  // 65535 zero-length raw tables listed in reverse tag order.
  auto manyTables = [](int Distinct) {
    Bytes b;
    Put32(b, 0x00010000);
    Put16(b, 65535);
    Put16(b, 0), Put16(b, 0), Put16(b, 0);
    for (int i = 65534; i >= 0; --i) {
      const int k = i % Distinct;
      b.push_back('z');
      b.push_back(uint8_t('a' + k / (26 * 26)));
      b.push_back(uint8_t('a' + k / 26 % 26));
      b.push_back(uint8_t('a' + k % 26));
      Put32(b, 0), Put32(b, 0), Put32(b, 0);
    }
    return b;
  };
  TTrueTypeFont many;
  many.KeepUnknownTables = true;
  try {
    Load(many, manyTables(65535));
    // Every table loads; the directory's search parameters no longer fit.
    EXPECT_EQ(many.TableCount(), 65535u);
    EXPECT_THROW(Save(many), ERangeError);
  } catch (const FontException&) {
    // Without glyph tables the font side may refuse the font: fine too.
  }
  TTrueTypeFont dup;
  EXPECT_THROW(Load(dup, manyTables(17576)), FontException);

  // Overlapping tables each read their own window.
  Bytes o;
  Put32(o, 0x00010000);
  Put16(o, 2);
  Put16(o, 0), Put16(o, 0), Put16(o, 0);
  PutTag(o, "aaaa"), Put32(o, 0), Put32(o, 44), Put32(o, 8);
  PutTag(o, "bbbb"), Put32(o, 0), Put32(o, 48), Put32(o, 4);
  for (int i = 0; i < 8; ++i) o.push_back(uint8_t(i));
  TTrueTypeFont font;
  TReadOnlyStream s(o.data(), o.size());
  // No glyph tables: the container part is what is checked here, so read the
  // tables directly rather than through a full load.
  try {
    font.LoadFromStream(s);
  } catch (const FontException&) {
  }
  if (auto* a = dynamic_cast<TTableUnknown*>(font.FindTable("aaaa"))) {
    EXPECT_EQ(a->Data.Bytes(), (Bytes{0, 1, 2, 3, 4, 5, 6, 7}));
    auto* bb = dynamic_cast<TTableUnknown*>(font.FindTable("bbbb"));
    ASSERT_NE(bb, nullptr);
    EXPECT_EQ(bb->Data.Bytes(), (Bytes{4, 5, 6, 7}));
  } else {
    ADD_FAILURE() << "overlapping tables were not read";
  }
}

TEST_F(Container, TruncationGivesAnErrorNeverACrash) {
  const std::string real = "/usr/share/fonts/truetype/freefont/FreeMonoBold.ttf";
  if (!fs::exists(real)) GTEST_SKIP() << "fonts-freefont-ttf is not installed";
  const Bytes full = ReadFileBytes(real);
  const auto dir = Directory(full);
  // Every length through the directory and a little beyond, both sides of
  // every table boundary, and a stride through the rest.
  std::vector<size_t> lengths;
  for (size_t n = 0; n < 12 + 16 * dir.size() + 64; ++n) lengths.push_back(n);
  for (const auto& e : dir)
    for (size_t n : {size_t(e.Offset), size_t(e.Offset) + 1, size_t(e.Offset + e.Length) - 1, size_t(e.Offset + e.Length)})
      lengths.push_back(n);
  for (size_t n = 0; n < full.size(); n += 251) lengths.push_back(n);
  for (size_t n : lengths) {
    if (n >= full.size()) continue;
    TTrueTypeFont font;
    TReadOnlyStream s(full.data(), n);
    try {
      font.LoadFromStream(s);
      // A cut inside the padding after the last table loses nothing.
      TMemoryStream out;
      font.SaveToStream(out);
    } catch (const FontException&) {
    } catch (const EStreamError&) {
    } catch (const ERangeError&) {
    }
  }
}

TEST_F(Container, SaveToFileReplacesAtomically) {
  const std::string target = Dir + "/font.ttf";
  WriteFileBytes(target, Bytes{'o', 'l', 'd'});
  chmod(target.c_str(), 0640);

  TTrueTypeFont font;
  Load(font, BuildSfnt(FontWithRawTables()));
  font.SaveToFile(target);
  EXPECT_EQ(ReadFileBytes(target), Save(font));
  struct stat st{};
  stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the replaced file's permissions are kept

  // A save that cannot complete leaves the old file and no stray new one.
  const Bytes before = ReadFileBytes(target);
  font.AddTable(std::make_unique<TTableUnknown>("huge"));
  static_cast<TTableUnknown*>(font.FindTable("huge"))->Data.Bytes().assign(8, 0);
  font.RemoveTable("head");
  auto bad = std::make_unique<TTableUnknown>("head");
  bad->Data.Bytes() = {1, 2, 3};  // too short to carry checkSumAdjustment
  font.AddTable(std::move(bad));
  EXPECT_ANY_THROW(font.SaveToFile(target));
  EXPECT_EQ(ReadFileBytes(target), before);
  size_t files = 0;
  for (const auto& e : fs::directory_iterator(Dir)) files += e.path().filename() != "font.ttf";
  EXPECT_EQ(files, 0u);

  EXPECT_ANY_THROW(font.SaveToFile(Dir + "/no/such/folder/font.ttf"));
}

TEST_F(Container, IsFontFile) {
  const std::string ok = Dir + "/ok.ttf", badMagic = Dir + "/magic.ttf", pastEnd = Dir + "/past.ttf",
                    empty = Dir + "/empty.ttf";
  const Bytes good = BuildSfnt(FontWithRawTables());
  WriteFileBytes(ok, good);
  Bytes m = good;
  const auto dir = Directory(good);
  for (const auto& e : dir)
    if (e.Tag == "head") m[e.Offset + 12] ^= 0xFF;
  WriteFileBytes(badMagic, m);
  Bytes p = good;
  p[12 + 8] = 0x7F;  // the first entry (before head) lies outside
  WriteFileBytes(pastEnd, p);
  WriteFileBytes(empty, {});
  EXPECT_TRUE(TTrueTypeFont::IsFontFile(ok));
  EXPECT_FALSE(TTrueTypeFont::IsFontFile(badMagic));
  EXPECT_FALSE(TTrueTypeFont::IsFontFile(pastEnd));
  EXPECT_FALSE(TTrueTypeFont::IsFontFile(empty));
  EXPECT_FALSE(TTrueTypeFont::IsFontFile(Dir + "/missing.ttf"));
}

TEST(Warnings, EachThreadHasItsOwnList) {
  TWarningCollector::Clear();
  TWarningCollector::Add("main");
  std::thread worker([] {
    TWarningCollector::Clear();
    TWarningCollector::AddFmt("worker %d", 1);
    EXPECT_EQ(TWarningCollector::Warnings(), (std::vector<std::string>{"worker 1"}));
  });
  worker.join();
  EXPECT_EQ(TWarningCollector::Warnings(), (std::vector<std::string>{"main"}));
}
