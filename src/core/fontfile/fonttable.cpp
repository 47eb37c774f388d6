#include "fontfile/fonttable.h"

#include <algorithm>
#include <cstring>

#include "fontfile/fontexception.h"

namespace tsy {

void TFontTable::Assign(const TFontTable& Source) {
  TMemoryStream m;
  Source.SaveToStream(m);
  m.Seek(0);
  LoadFromStream(m);
}

bool TFontTable::IsSameAs(const TFontTable& Other) const {
  TMemoryStream a, b;
  SaveToStream(a);
  Other.SaveToStream(b);
  return a.Bytes() == b.Bytes();
}

void TFontTable::CheckTag(const char* ClassName, const char* OwnTag, const std::string& Given) {
  if (Given.substr(0, 4) != OwnTag) throw FontException(Format("Creating Fonttable %s with tag %s", ClassName, Given.c_str()));
}

// ---- raw tables

void TTableUnknown::LoadFromStream(TStream& S) { Data.LoadFrom(S, S.Remaining()); }

void TTableUnknown::LoadFromStreamSized(TStream& S, int64_t Size) {
  Data.Clear();
  if (Size > 0) Data.LoadFrom(S, uint64_t(Size));
}

void TTableUnknown::SaveToStream(TStream& S) const {
  if (Data.Size() > 0) S.Write(Data.Memory(), Data.Size());
}

void TTableHinting::LoadFromStream(TStream& S) { Data.LoadFrom(S, S.Remaining()); }

void TTableHinting::LoadFromStreamSized(TStream& S, int64_t Size) {
  Data.Clear();
  if (Size > 0) Data.LoadFrom(S, uint64_t(Size));
}

void TTableHinting::SaveToStream(TStream& S) const { S.Write(Data.Memory(), Data.Size()); }

void TTableHinting::WriteCounted(TStream& S) const {
  if (Data.Size() > 65535) throw ERangeError(Format("Hinting block of %llu bytes is too large", (unsigned long long)Data.Size()));
  WriteUInt16(S, uint16_t(Data.Size()));
  S.Write(Data.Memory(), Data.Size());
}

void TTableHinting::ReadCounted(TStream& S) {
  const uint16_t n = ReadUInt16(S);
  Data.LoadFrom(S, n);
}

// ---- registry

void TFontTables::Add(std::unique_ptr<TFontTable>& Table) {
  const TTag& tag = Table->Tag();
  auto at = std::lower_bound(FItems.begin(), FItems.end(), tag,
                             [](const std::unique_ptr<TFontTable>& t, const TTag& k) { return t->Tag() < k; });
  if (at != FItems.end() && (*at)->Tag() == tag) throw FontException(Format("Table %s already exists!", tag.c_str()));
  FItems.insert(at, std::move(Table));
}

void TFontTables::Add(std::unique_ptr<TFontTable>&& Table) {
  std::unique_ptr<TFontTable> t = std::move(Table);
  Add(t);
}

TFontTable* TFontTables::Find(const std::string& Tag) const {
  auto at = std::lower_bound(FItems.begin(), FItems.end(), Tag,
                             [](const std::unique_ptr<TFontTable>& t, const std::string& k) { return t->Tag() < k; });
  return at != FItems.end() && (*at)->Tag() == Tag ? at->get() : nullptr;
}

void TFontTables::Delete(const std::string& Tag) {
  FOrder.Clear();  // the order refers to tables by pointer
  std::erase_if(FItems, [&](const std::unique_ptr<TFontTable>& t) { return t->Tag() == Tag; });
}

void TFontTables::Clear() {
  FOrder.Clear();
  FItems.clear();
}

void TFontTables::RemoveEmpty() {
  FOrder.Clear();
  std::erase_if(FItems, [](const std::unique_ptr<TFontTable>& t) { return t->IsEmpty(); });
}

void TFontTables::BuildOrder(const std::vector<std::string>& Lines) {
  FOrder.Clear();
  std::vector<bool> placed(FItems.size(), false);
  auto place = [&](size_t i) {
    placed[i] = true;
    FOrder.Items.push_back({FItems[i].get(), uint16_t(i)});
  };
  for (const std::string& line : Lines) {
    // Tags are unique in the registry, so at most one table matches a line.
    auto at = std::lower_bound(FItems.begin(), FItems.end(), line,
                               [](const std::unique_ptr<TFontTable>& t, const std::string& k) { return t->Tag() < k; });
    if (at == FItems.end() || (*at)->Tag() != line) continue;
    const size_t i = size_t(at - FItems.begin());
    if (!placed[i]) place(i);
  }
  for (size_t i = 0; i < FItems.size(); ++i)
    if (!placed[i]) place(i);
}

// ---- table kinds

namespace {

struct TTableKindRecord {
  const char* Tag;
  int Kind;
  const char* Description;
};

constexpr TTableKindRecord kTableKinds[] = {
    {"cmap", 1, "Character to glyph mapping"},
    {"cvt ", 2, "Control Value Table"},
    {"fpgm", 3, "Font program"},
    {"gasp", 4, "Grid-fitting/Scan-conversion"},
    {"glyf", 5, "Glyph data"},
    {"head", 6, "Font header"},
    {"hhea", 7, "Horizontal header"},
    {"hmtx", 8, "Horizontal metrics"},
    {"kern", 9, "Kerning"},
    {"loca", 10, "Index to location"},
    {"maxp", 11, "Maximum profile"},
    {"name", 12, "Naming table"},
    {"post", 13, "PostScript information"},
    {"prep", 14, "CVT Program"},
    {"MMSD", 16, "Multiple master supplementary data"},
    {"MMFX", 17, "Multiple master font metrics"},
    {"OS/2", 18, "OS/2 and Windows specific metrics"},
    {"CFF ", 19, "PostScript font program (compact font format)"},
    {"fvar", 20, "Apple's font variations table"},
    {"BASE", 21, "Baseline data"},
    {"GDEF", 22, "Glyph definition data"},
    {"GPOS", 23, "Glyph positioning data"},
    {"GSUB", 24, "Glyph substitution data"},
    {"JSTF", 25, "Justification data"},
    {"EBDT", 26, "Embedded bitmap data"},
    {"EBLC", 27, "Embedded bitmap location data"},
    {"EBSC", 28, "Embedded bitmap scaling data"},
    {"DSIG", 29, "Digital signature"},
    {"hdmx", 30, "Horizontal device metrics"},
    {"LTSH", 31, "Linear threshold data"},
    {"PCLT", 32, "PCL 5 data"},
    {"VDMX", 33, "Vertical device metrics"},
    {"vhea", 34, "Vertical Metrics header"},
    {"vmtx", 35, "Vertical Metrics"},
};

const TTableKindRecord* FindKind(const std::string& Tag) {
  for (const auto& r : kTableKinds)
    if (Tag == r.Tag) return &r;
  return nullptr;
}

constexpr ThePlatformRecord kPlatformNames[] = {
    {0, 0, "Unicode 1.0 semantics"},
    {0, 1, "Unicode 1.1 semantics"},
    {0, 2, "Unicode ISO 10646:1993 semantics"},
    {0, 3, "Unicode 2.0 and onwards semantics, BMP"},
    {0, 4, "Unicode 2.0 and onwards semantics, full"},
    {1, 0, "Macintosh Roman"},
    {1, 1, "Macintosh Japanese"},
    {1, 2, "Macintosh Chinese (Traditional)"},
    {1, 3, "Macintosh Korean"},
    {1, 4, "Macintosh Arabic"},
    {1, 5, "Macintosh Hebrew"},
    {1, 6, "Macintosh Greek"},
    {1, 7, "Macintosh Russian"},
    {1, 8, "Macintosh RSymbol"},
    {1, 9, "Macintosh Devanagari"},
    {1, 10, "Macintosh Gurmukhi"},
    {1, 11, "Macintosh Gujarati"},
    {1, 12, "Macintosh Oriya"},
    {1, 13, "Macintosh Bengali"},
    {1, 14, "Macintosh Tamil"},
    {1, 15, "Macintosh Telugu"},
    {1, 16, "Macintosh Kannada"},
    {1, 17, "Macintosh Malayalam"},
    {1, 18, "Macintosh Sinhalese"},
    {1, 19, "Macintosh Burmese"},
    {1, 20, "Macintosh Khmer"},
    {1, 21, "Macintosh Thai"},
    {1, 22, "Macintosh Laotian"},
    {1, 23, "Macintosh Georgian"},
    {1, 24, "Macintosh Armenian"},
    {1, 25, "Macintosh Chinese (Simplified)"},
    {1, 26, "Macintosh Tibetan"},
    {1, 27, "Macintosh Mongolian"},
    {1, 28, "Macintosh Geez"},
    {1, 29, "Macintosh Slavic"},
    {1, 30, "Macintosh Vietnamese"},
    {1, 31, "Macintosh Sindhi"},
    {1, 32, "Macintosh Uninterpreted"},
    {2, 0, "ISO 7-bit ASCII"},
    {2, 1, "ISO 10646"},
    {2, 2, "ISO 8859-1"},
    {3, 0, "Microsoft Symbol"},
    {3, 1, "Microsoft Unicode BMP only"},
    {3, 2, "Microsoft ShiftJIS"},
    {3, 3, "Microsoft PRC"},
    {3, 4, "Microsoft Big5"},
    {3, 5, "Microsoft Wansung"},
    {3, 6, "Microsoft Johab"},
    {3, 10, "Microsoft Unicode full repertoire"},
};

}  // namespace

int TableKind(const std::string& Tag) {
  const TTableKindRecord* r = FindKind(Tag);
  return r ? r->Kind : 0;
}

std::string TableDescription(const std::string& Tag) {
  const TTableKindRecord* r = FindKind(Tag);
  return r ? r->Description : "";
}

const std::vector<std::string>& DefaultTableOrder() {
  static const std::vector<std::string> order = {"head", "hhea", "maxp", "OS/2", "hmtx", "LTSH", "VDMX",
                                                 "hdmx", "cmap", "fpgm", "prep", "cvt ", "loca", "glyf",
                                                 "kern", "name", "post", "gasp", "PCLT", "DSIG"};
  return order;
}

std::string PlatformEncodingName(uint16_t PlatformID, uint16_t EncodingID) {
  if (PlatformID == 4) return std::to_string(EncodingID) + " OTF Windows NT compatibility mapping";
  for (const auto& r : kPlatformNames)
    if (r.PlatformID == PlatformID && r.EncodingID == EncodingID) return r.Name;
  return "Platform: " + std::to_string(PlatformID) + "," + std::to_string(EncodingID);
}

}  // namespace tsy
