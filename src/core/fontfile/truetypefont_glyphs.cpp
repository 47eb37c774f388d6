// Font-wide operations of TTrueTypeFont: hinting, the default OS/2 table,
// adding, deleting and exchanging glyphs, and the queries the windows ask.
#include <algorithm>
#include <array>
#include <string>

#include "fontfile/fontexception.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/glyphnames.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/kern.h"
#include "fontfile/tables/maxp.h"
#include "fontfile/tables/name.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/post.h"
#include "fontfile/truetypefont.h"
#include "fontfile/warnings.h"

namespace tsy {

namespace {

// Tables that name glyphs by index (or hold per-glyph records in glyph
// order). Held as raw bytes, they cannot follow a renumbering of the glyphs.
// vhea goes with vmtx: its metric count describes vmtx.
constexpr std::array kGlyphIndexedTags = {
    "BASE", "CBDT", "CBLC", "COLR", "EBDT", "EBLC", "EBSC", "GDEF", "GPOS", "GSUB", "HVAR", "JSTF", "LTSH",
    "MATH", "SVG ", "VDMX", "VORG", "VVAR", "ankr", "bdat", "bloc", "bsln", "gvar", "hdmx", "just", "kerx",
    "lcar", "mort", "morx", "opbd", "prop", "sbix", "vhea", "vmtx", "Zapf"};

}  // namespace

void TTrueTypeFont::RemoveHinting() {
  Outlines.ClearAllInstructions();
  RemoveTable("cvt ");
  RemoveTable("prep");
  RemoveTable("fpgm");
}

void TTrueTypeFont::EnsureOS2Table() {
  if (FindTable("OS/2")) return;
  auto os2 = std::make_unique<TTableOS_2>();
  os2->SetVersion(0);
  os2->xAvgCharWidth = 904;
  os2->usWeightClass = 400;
  os2->usWidthClass = 5;
  os2->fsType = 0;
  os2->ySubscriptXSize = 1434;
  os2->ySubscriptYSize = 1331;
  os2->ySubscriptXOffset = 0;
  os2->ySubscriptYOffset = 283;
  os2->ySuperscriptXSize = 1434;
  os2->ySuperscriptYSize = 1331;
  os2->ySuperscriptXOffset = 0;
  os2->ySuperscriptYOffset = 977;
  os2->yStrikeoutSize = 102;
  os2->yStrikeoutPosition = 530;
  os2->sFamilyClass = 0;
  os2->SetVendorID("");
  os2->fsSelection = 0;
  os2->usFirstCharIndex = 0;
  os2->usLastCharIndex = 0;
  os2->sTypoAscender = 1491;
  os2->sTypoDescender = -431;
  os2->sTypoLineGap = 307;
  os2->usWinAscent = 1854;
  os2->usWinDescent = -434;
  AddTable(std::move(os2));
}

std::vector<std::string> TTrueTypeFont::GlyphIndexedRawTables() const {
  std::vector<std::string> tags;
  for (const char* tag : kGlyphIndexedTags)
    if (TFontTable* t = FindTable(tag); t && dynamic_cast<TTableUnknown*>(t)) tags.push_back(t->Tag());
  return tags;
}

std::vector<std::string> TTrueTypeFont::DropGlyphIndexedTables() {
  std::vector<std::string> dropped;
  for (const char* tag : kGlyphIndexedTags) {
    // A typed table keeps itself in step with the glyphs; only raw bytes are
    // beyond repair.
    if (TFontTable* t = FindTable(tag); t && dynamic_cast<TTableUnknown*>(t)) {
      dropped.push_back(t->Tag());
      RemoveTable(tag);
    }
  }
  if (!dropped.empty()) {
    std::string list;
    for (const std::string& tag : dropped) list += (list.empty() ? "" : ", ") + tag;
    TWarningCollector::AddFmt("Tables %s removed: they refer to glyphs by index and would no longer match the "
                              "changed glyph order.",
                              list.c_str());
  }
  return dropped;
}

void TTrueTypeFont::DeleteGlyph(int Index) {
  Outlines.DeleteOutline(Index);
  if (TTableMaxp* maxp = Maxp()) maxp->numGlyphs = uint16_t(GlyphCount());
  DropGlyphIndexedTables();
}

void TTrueTypeFont::InsertEmptyGlyph(int Index) {
  Outlines.InsertEmptyOutline(Index);
  if (TTableMaxp* maxp = Maxp()) maxp->numGlyphs = uint16_t(GlyphCount());
  DropGlyphIndexedTables();
}

void TTrueTypeFont::SwapGlyphs(int A, int B) {
  // Checked before anything moves, so a bad index changes nothing.
  const int count = int(GlyphCount());
  if (A < 0 || A >= count || B < 0 || B >= count)
    throw std::out_of_range(Format("Glyph index %d or %d out of range (0..%d)", A, B, count - 1));
  if (A == B) return;
  Outlines.ExchangeOutlines(A, B);
  if (TTablePost* post = Post()) post->SwapNames(size_t(A), size_t(B));
  if (TTableHmtx* hmtx = Hmtx(); hmtx && size_t(std::max(A, B)) < hmtx->Metrics.size()) hmtx->SwapMetrics(A, B);
  if (TTableKern* kern = Kern()) kern->SwapGlyphs(uint16_t(A), uint16_t(B));
  if (TTableCmap* cmap = Cmap()) cmap->SwapGlyphs(uint16_t(A), uint16_t(B));
  DropGlyphIndexedTables();
}

void TTrueTypeFont::SetHmtxCompression(bool On) {
  if (TTableHmtx* hmtx = Hmtx()) hmtx->Compress = On;
}

void TTrueTypeFont::SetNameCompression(bool On) {
  if (TTableName* name = Name()) name->Compress = On;
}

bool TTrueTypeFont::IsMonospaced() const {
  const TTableOS_2* os2 = OS2();
  return !os2 || os2->PANOSE[3] == 9;  // bProportion 9: monospaced
}

int TTrueTypeFont::StyleFlags() const {
  const TTableOS_2* os2 = OS2();
  if (!os2) return 0;
  return ((os2->fsSelection & 0x0001) ? 1 : 0) | ((os2->fsSelection & 0x0020) ? 2 : 0);
}

bool TTrueTypeFont::HasGlyphInstructions() const {
  for (size_t i = 0; i < GlyphCount(); ++i)
    if (Outlines.Items(i)->HasInstructions()) return true;
  return false;
}

namespace {

// The weights of the OpenType format for OS/2 versions 0 to 2: a to z, then
// the space; they add up to 1000.
constexpr std::array<int, 27> kAverageWidthWeights = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3,  6,  35, 20, 56,
                                                      56, 17, 4,  49, 56,  71, 31, 10, 18, 3,  18, 2,  166};

}  // namespace

int TTrueTypeFont::CalcWeightedAverageCharWidth(bool& AllMapped) const {
  const TTableCmap* cmap = Cmap();
  const TCmapEncodingTableEntry* unicode = cmap ? cmap->SubTables.Find(3, 1) : nullptr;
  if (!unicode)
    throw FontException(
        "Could not calculated Average Character Width. The Microsoft Unicode mapping platform is missing.");
  const TTableHmtx* hmtx = Hmtx();
  int64_t sum = 0;
  AllMapped = true;
  for (size_t i = 0; i < kAverageWidthWeights.size(); ++i) {
    const uint32_t code = i < 26 ? uint32_t('a' + i) : uint32_t(' ');
    const int32_t glyph = unicode->SubTable->GlyphOf(code);
    if (glyph < 0) {
      AllMapped = false;
      return 0;
    }
    const int64_t width = hmtx && size_t(glyph) < hmtx->Metrics.size() ? hmtx->Metrics[size_t(glyph)].AdvanceWidth : 0;
    sum += width * kAverageWidthWeights[i];
  }
  return int(sum / 1000);
}

int TTrueTypeFont::CalcAverageCharWidth(int OS2Version) const {
  const TTableHmtx* hmtx = Hmtx();
  const int mean = hmtx ? hmtx->AverageWidth() : 0;
  const TTableCmap* cmap = Cmap();
  const bool hasUnicode = cmap && cmap->SubTables.Find(3, 1);
  const bool hasSymbol = cmap && cmap->SubTables.Find(3, 0);
  if (OS2Version < 3 && hasUnicode) {
    bool allMapped = false;
    const int weighted = CalcWeightedAverageCharWidth(allMapped);
    return allMapped ? weighted : mean;
  }
  if (OS2Version < 3 && !hasSymbol) return mean;
  return hmtx ? hmtx->AverageNonZeroWidth() : 0;
}

bool TTrueTypeFont::FindGlyphByName(const std::string& GlyphName, size_t Start, bool Whole, bool CaseSensitive,
                                    size_t& Found) const {
  const TTablePost* post = Post();
  if (!post) return false;
  return tsy::FindGlyphByName(*post, GlyphCount(), GlyphName, Start, Whole, CaseSensitive, Found);
}

}  // namespace tsy
