#include <gtest/gtest.h>

#include "fontfile/fontexception.h"
#include "fontfile/fonttable.h"

using namespace tsy;

namespace {

std::unique_ptr<TFontTable> Raw(const std::string& Tag, std::vector<uint8_t> Bytes = {}) {
  auto t = std::make_unique<TTableUnknown>(Tag);
  t->Data.Bytes() = std::move(Bytes);
  return t;
}

std::vector<std::string> Tags(const TFontTables& T) {
  std::vector<std::string> out;
  for (size_t i = 0; i < T.Count(); ++i) out.push_back(T.Items(i)->Tag());
  return out;
}

std::vector<std::string> OrderTags(const TFontTables& T) {
  std::vector<std::string> out;
  for (const auto& item : T.Order().Items) out.push_back(item.Table->Tag());
  return out;
}

}  // namespace

TEST(FontTables, SortedByUnsignedByteOrder) {
  TFontTables t;
  for (const char* tag : {"name", "OS/2", "cmap", "head", "\xA0xyz", "CFF "}) t.Add(Raw(tag));
  EXPECT_EQ(Tags(t), (std::vector<std::string>{"CFF ", "OS/2", "cmap", "head", "name", "\xA0xyz"}));
}

TEST(FontTables, DuplicateIsRejectedAndCallerKeepsIt) {
  TFontTables t;
  t.Add(Raw("cmap"));
  std::unique_ptr<TFontTable> second = Raw("cmap", {1, 2});
  try {
    t.Add(second);
    FAIL() << "no exception";
  } catch (const FontException& e) {
    EXPECT_STREQ(e.what(), "Table cmap already exists!");
  }
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(t.Count(), 1u);
}

TEST(FontTables, FindDeleteRemoveEmpty) {
  TFontTables t;
  t.Add(Raw("glyf"));
  t.Add(Raw("head"));
  EXPECT_NE(t.Find("glyf"), nullptr);
  EXPECT_EQ(t.Find("gly"), nullptr);
  t.Delete("glyf");
  t.Delete("none");
  EXPECT_EQ(Tags(t), (std::vector<std::string>{"head"}));
  t.RemoveEmpty();  // raw tables are never empty
  EXPECT_EQ(t.Count(), 1u);
}

TEST(FontTables, BuildOrderPutsListedTagsFirst) {
  TFontTables t;
  for (const char* tag : {"OS/2", "cmap", "glyf", "head"}) t.Add(Raw(tag));
  t.BuildOrder({"glyf", "head", "glyf", "none"});
  EXPECT_EQ(OrderTags(t), (std::vector<std::string>{"glyf", "head", "OS/2", "cmap"}));
  EXPECT_EQ(t.Order().Items[0].Index, 2);  // directory slot = registry position
  t.BuildOrder({});
  EXPECT_EQ(OrderTags(t), Tags(t));
}

TEST(TableKinds, KindsDescriptionsAndPlatformNames) {
  EXPECT_EQ(TableKind("cmap"), 1);
  EXPECT_EQ(TableKind("vmtx"), 35);
  EXPECT_EQ(TableKind("GPOS"), 23);
  EXPECT_EQ(TableKind("FFTM"), 0);
  EXPECT_EQ(TableDescription("cvt "), "Control Value Table");
  EXPECT_EQ(TableDescription("cvt"), "");
  EXPECT_EQ(PlatformEncodingName(4, 7), "7 OTF Windows NT compatibility mapping");
  EXPECT_EQ(PlatformEncodingName(3, 9), "Platform: 3,9");
  EXPECT_EQ(PlatformEncodingName(3, 10), "Microsoft Unicode full repertoire");
  EXPECT_EQ(PlatformEncodingName(1, 32), "Macintosh Uninterpreted");
}

TEST(RawTables, SizedLoadsAndCountedForm) {
  const uint8_t bytes[] = {1, 2, 3, 4, 5};
  TReadOnlyStream s(bytes, 5);
  TTableUnknown u("XYZW");
  u.LoadFromStreamSized(s, 3);
  EXPECT_EQ(u.Data.Bytes(), (std::vector<uint8_t>{1, 2, 3}));
  u.LoadFromStreamSized(s, 0);
  EXPECT_EQ(u.Data.Size(), 0u);
  TReadOnlyStream short_(bytes, 2);
  EXPECT_THROW(u.LoadFromStreamSized(short_, 3), EStreamError);

  TTableHinting h("fpgm");
  h.Data.Bytes() = {9, 8, 7};
  TMemoryStream m;
  h.WriteCounted(m);
  EXPECT_EQ(m.Bytes(), (std::vector<uint8_t>{0, 3, 9, 8, 7}));
  m.Seek(0);
  TTableHinting back("fpgm");
  back.ReadCounted(m);
  EXPECT_TRUE(back.IsSameAs(h));
  h.Data.Bytes().assign(65536, 0);
  TMemoryStream big;
  EXPECT_THROW(h.WriteCounted(big), ERangeError);
  EXPECT_EQ(big.Size(), 0u);

  TTableUnknown copy("XYZW");
  copy.Assign(back);
  EXPECT_EQ(copy.Data.Bytes(), (std::vector<uint8_t>{9, 8, 7}));
}
