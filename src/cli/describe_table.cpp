// The main values of each typed table, one line, for `tsytool info`.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/gasp.h"
#include "fontfile/tables/kern.h"
#include "fontfile/tables/name.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/pclt.h"
#include "fontfile/tables/post.h"

namespace tsytool {

namespace {

std::string Fmt(const char* F, auto... A) {
  char buf[512];
  std::snprintf(buf, sizeof buf, F, A...);
  return buf;
}

std::string Utf8(const std::u16string& S) {
  std::string out;
  for (char16_t c : S) {
    if (c < 0x80) {
      out.push_back(char(c));
    } else if (c < 0x800) {
      out.push_back(char(0xC0 | (c >> 6)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else {
      out.push_back(char(0xE0 | (c >> 12)));
      out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace

std::string DescribeTable(const tsy::TFontTable& Table) {
  using namespace tsy;
  if (auto* t = dynamic_cast<const TTableCmap*>(&Table)) {
    std::string s = Fmt("version %d, %zu subtables:", t->Version, t->SubTables.Count());
    for (size_t i = 0; i < t->SubTables.Count(); ++i) {
      const auto& e = t->SubTables.Items(i);
      s += Fmt(" (%d,%d) format %d %zu mappings%s;", e.PlatformID, e.EncodingID, e.SubTable->Format,
               e.SubTable->Mappings.Count(), e.SubTable->IsRaw() ? " kept as bytes" : "");
    }
    return s;
  }
  if (auto* t = dynamic_cast<const TTableName*>(&Table)) {
    size_t records = 0;
    std::u16string family;
    for (size_t i = 0; i < t->PlatformCount(); ++i)
      for (const auto& l : t->Platform(i).Languages) {
        records += l->Count();
        if (family.empty() && t->Platform(i).PlatformID == 3) l->GetName(4, family);
      }
    return Fmt("%zu platforms, %zu records, full name \"%s\"", t->PlatformCount(), records, Utf8(family).c_str());
  }
  if (auto* t = dynamic_cast<const TTableOS_2*>(&Table))
    return Fmt("version %d, weight %d, width %d, fsType 0x%04X, vendor \"%s\", fsSelection 0x%04X, chars %d-%d, "
               "winAscent %d, winDescent %d, unicode ranges %08X %08X %08X %08X",
               t->Version(), t->usWeightClass, t->usWidthClass, t->fsType, t->VendorID().c_str(), t->fsSelection,
               t->usFirstCharIndex, t->usLastCharIndex, t->usWinAscent, int(t->usWinDescent), t->ulUnicodeRange1,
               t->ulUnicodeRange2, t->ulUnicodeRange3, t->ulUnicodeRange4);
  if (auto* t = dynamic_cast<const TTablePCLT*>(&Table))
    return Fmt("typeface \"%s\", file name \"%s\", pitch %d, symbol set %d", t->Typeface().c_str(),
               t->FileName().c_str(), t->pitch, t->symbolSet);
  if (auto* t = dynamic_cast<const TTablePost*>(&Table))
    return Fmt("format %d.%d, italicAngle %.2f, underline %d/%d, fixed pitch %u, %zu names",
               int(int16_t(uint32_t(t->format) >> 16)), int(uint32_t(t->format) & 0xFFFF), t->italicAngle / 65536.0,
               t->underlinePosition, t->underlineThickness, t->isFixedPitch, t->NameCount());
  if (auto* t = dynamic_cast<const TTableKern*>(&Table))
    return t->KeepsOriginalBytes() ? std::string("kept as bytes (too many pairs to edit)")
                                   : Fmt("version %d, %zu pairs, coverage 0x%04X", t->Version, t->PairCount(),
                                         t->Coverage);
  if (auto* t = dynamic_cast<const TTableGasp*>(&Table)) {
    std::string s = Fmt("version %d, %zu ranges:", t->Version, t->RangeCount());
    for (size_t i = 0; i < t->RangeCount(); ++i) s += Fmt(" %d:%d", t->Range(i).MaxPPEM, t->Range(i).Behavior);
    return s;
  }
  return "";
}

}  // namespace tsytool
