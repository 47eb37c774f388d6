// Truncated and corrupted tables of every kind: loading gives warnings or a
// FontException (or a range error for a value the format cannot hold), never
// a crash, a hang or a read outside the table; whatever loads can be saved or
// refuses with the same kinds of error.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <random>

#include "core/fontfile/tables/table_test_util.h"
#include "fontfile/fontexception.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/gasp.h"
#include "fontfile/tables/kern.h"
#include "fontfile/tables/name.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/pclt.h"
#include "fontfile/tables/post.h"

using namespace tsy;
using tsytest::Bytes;
using tsytest::Put16;
using tsytest::Put32;

namespace {

std::map<std::string, Bytes> TablesOf(const Bytes& B) {
  std::map<std::string, Bytes> out;
  const uint16_t n = tsytest::ReadBE16(B, 4);
  for (uint16_t i = 0; i < n; ++i) {
    const size_t e = 12 + 16 * size_t(i);
    const uint32_t off = tsytest::ReadBE32(B, e + 8), len = tsytest::ReadBE32(B, e + 12);
    out[std::string(B.begin() + long(e), B.begin() + long(e) + 4)] = Bytes(B.begin() + off, B.begin() + off + len);
  }
  return out;
}

std::unique_ptr<TFontTable> Make(const std::string& Tag) {
  if (Tag == "cmap") {
    auto t = std::make_unique<TTableCmap>();
    t->GlyphLimit = 3000;
    return t;
  }
  if (Tag == "name") return std::make_unique<TTableName>();
  if (Tag == "OS/2") return std::make_unique<TTableOS_2>();
  if (Tag == "PCLT") return std::make_unique<TTablePCLT>();
  if (Tag == "post") return std::make_unique<TTablePost>();
  if (Tag == "kern") return std::make_unique<TTableKern>();
  return std::make_unique<TTableGasp>();
}

void Survives(const std::string& Tag, const Bytes& B) {
  std::unique_ptr<TFontTable> t = Make(Tag);
  try {
    tsy::TReadOnlyStream s(B.data(), B.size());
    t->LoadFromStream(s);
    tsy::TMemoryStream out;
    t->SaveToStream(out);
  } catch (const FontException&) {
  } catch (const ERangeError&) {
  }
}

// Small subtables of every cmap format, for the formats no installed font has.
Bytes CmapOfAllFormats() {
  Bytes body;
  auto rec = [&](Bytes& dir, uint16_t p, uint16_t e, uint32_t off) {
    Put16(dir, p);
    Put16(dir, e);
    Put32(dir, off);
  };
  std::vector<Bytes> subs;
  Bytes f0;
  Put16(f0, 0), Put16(f0, 262), Put16(f0, 0);
  for (int i = 0; i < 256; ++i) f0.push_back(uint8_t(i % 7));
  subs.push_back(f0);
  Bytes f2;
  Put16(f2, 2), Put16(f2, 0), Put16(f2, 0);
  for (int h = 0; h < 256; ++h) Put16(f2, h == 0x81 ? 8 : 0);
  Put16(f2, 0), Put16(f2, 128), Put16(f2, 0), Put16(f2, 2 + 8);
  Put16(f2, 0x40), Put16(f2, 4), Put16(f2, 5), Put16(f2, 2 + 256);
  for (int i = 0; i < 132; ++i) Put16(f2, uint16_t(i));
  f2[2] = uint8_t(f2.size() >> 8), f2[3] = uint8_t(f2.size());
  subs.push_back(f2);
  Bytes f6;
  Put16(f6, 6), Put16(f6, 16), Put16(f6, 0), Put16(f6, 0x30), Put16(f6, 3), Put16(f6, 1), Put16(f6, 2), Put16(f6, 3);
  subs.push_back(f6);
  Bytes f12;
  Put16(f12, 12), Put16(f12, 0), Put32(f12, 40), Put32(f12, 0), Put32(f12, 2);
  Put32(f12, 0x1F600), Put32(f12, 0x1F610), Put32(f12, 5), Put32(f12, 0x20), Put32(f12, 0x30), Put32(f12, 100);
  subs.push_back(f12);
  Bytes f14;
  Put16(f14, 14), Put32(f14, 10), Put32(f14, 0);
  subs.push_back(f14);
  Bytes dir;
  Put16(dir, 0);
  Put16(dir, uint16_t(subs.size()));
  uint32_t off = 4 + 8 * uint32_t(subs.size());
  const std::pair<uint16_t, uint16_t> ids[] = {{1, 0}, {3, 2}, {1, 1}, {3, 10}, {0, 5}};
  for (size_t i = 0; i < subs.size(); ++i) {
    rec(dir, ids[i].first, ids[i].second, off);
    off += uint32_t(subs[i].size());
  }
  for (const Bytes& s : subs) dir.insert(dir.end(), s.begin(), s.end());
  return dir;
}

}  // namespace

TEST(HostileTables, TruncatedAndCorruptedTablesFailCleanly) {
  std::vector<std::pair<std::string, Bytes>> samples;
  samples.push_back({"cmap", CmapOfAllFormats()});
  const char* font = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
  if (std::filesystem::exists(font)) {
    for (auto& [tag, bytes] : TablesOf(tsytest::ReadFileBytes(font)))
      if (tag == "cmap" || tag == "name" || tag == "OS/2" || tag == "post" || tag == "kern" || tag == "gasp")
        samples.push_back({tag, bytes});
  }
  samples.push_back({"PCLT", Bytes(54, 0x41)});
  std::mt19937 rng(11);
  for (const auto& [tag, bytes] : samples) {
    SCOPED_TRACE(tag);
    TWarningCollector::Clear();
    // every length for small tables, evenly spaced lengths for large ones
    const size_t step = std::max<size_t>(1, bytes.size() / 120);
    for (size_t len = 0; len <= bytes.size(); len += step) Survives(tag, Bytes(bytes.begin(), bytes.begin() + long(len)));
    for (int round = 0; round < 60; ++round) {
      Bytes b = bytes;
      const int flips = 1 + int(rng() % 8);
      for (int k = 0; k < flips && !b.empty(); ++k) {
        // favour the headers, where counts and offsets live
        const size_t at = rng() % 2 ? rng() % std::min<size_t>(b.size(), 64) : rng() % b.size();
        b[at] = rng() % 2 ? uint8_t(rng()) : uint8_t(0xFF);
      }
      Survives(tag, b);
      TWarningCollector::Clear();
    }
  }
}
