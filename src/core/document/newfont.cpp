#include "document/newfont.h"

#include <cstdio>
#include <ctime>
#include <map>

#include "common/resources.h"
#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"
#include "fontfile/stream.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/name.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/post.h"
#include "fontfile/truetypefont.h"

namespace tsy {

namespace {

using TBytes = std::vector<uint8_t>;

void Put16(TBytes& B, uint32_t V) {
  B.push_back(uint8_t(V >> 8));
  B.push_back(uint8_t(V));
}
void Put32(TBytes& B, uint32_t V) {
  Put16(B, V >> 16);
  Put16(B, V & 0xFFFF);
}

// The header values every template carries; the rest is recomputed when the
// template is saved.
struct TTemplateValues {
  uint16_t Flags;
  int16_t FontDirectionHint;
  int16_t Ascender, Descender, LineGap;
  uint16_t NumGlyphs;
  uint16_t MaxFunctionDefs, MaxStackElements;
};

const TTemplateValues& ValuesOf(TTemplateKind Kind) {
  static const TTemplateValues unicode{11, 1, 1854, -434, 67, 653, 66, 1036};
  static const TTemplateValues symbol{9, 2, 1638, -410, 0, 226, 70, 293};
  return Kind == TTemplateKind::Unicode ? unicode : symbol;
}

// The characters of the Unicode template, in glyph order: Latin, Greek and
// Cyrillic of the common Windows code pages, punctuation, currency, letter-like
// symbols, arrows, mathematical operators and box drawing.
std::vector<uint32_t> UnicodeTemplateCharacters(size_t Count) {
  static const std::pair<uint32_t, uint32_t> ranges[] = {
      {0x0020, 0x007E}, {0x00A0, 0x017F}, {0x0192, 0x0192}, {0x01FA, 0x01FF}, {0x02C6, 0x02C7}, {0x02C9, 0x02C9},
      {0x02D8, 0x02DD}, {0x0384, 0x038A}, {0x038C, 0x038C}, {0x038E, 0x03A1}, {0x03A3, 0x03CE}, {0x0401, 0x040C},
      {0x040E, 0x044F}, {0x0451, 0x045C}, {0x045E, 0x045F}, {0x0490, 0x0491}, {0x1E80, 0x1E85}, {0x1EF2, 0x1EF3},
      {0x2013, 0x2015}, {0x2017, 0x201E}, {0x2020, 0x2022}, {0x2026, 0x2026}, {0x2030, 0x2030}, {0x2032, 0x2033},
      {0x2039, 0x203A}, {0x203C, 0x203C}, {0x203E, 0x203E}, {0x2044, 0x2044}, {0x207F, 0x207F}, {0x20A3, 0x20A4},
      {0x20A7, 0x20A7}, {0x20AC, 0x20AC}, {0x2105, 0x2105}, {0x2113, 0x2113}, {0x2116, 0x2116}, {0x2122, 0x2122},
      {0x2126, 0x2126}, {0x212E, 0x212E}, {0x215B, 0x215E}, {0x2190, 0x2195}, {0x21A8, 0x21A8}, {0x2202, 0x2202},
      {0x2206, 0x2206}, {0x220F, 0x220F}, {0x2211, 0x2212}, {0x2215, 0x2215}, {0x2219, 0x221A}, {0x221E, 0x221F},
      {0x2229, 0x2229}, {0x222B, 0x222B}, {0x2248, 0x2248}, {0x2260, 0x2261}, {0x2264, 0x2265}, {0x2302, 0x2302},
      {0x2310, 0x2310}, {0x2320, 0x2321}, {0x2500, 0x257F}};
  std::vector<uint32_t> result;
  for (const auto& [first, last] : ranges)
    for (uint32_t c = first; c <= last && result.size() < Count; ++c) result.push_back(c);
  if (result.size() != Count) throw FontException("The Unicode template lacks characters.");
  return result;
}

// The .notdef glyph: a box with a hole, outer contour clockwise.
TBytes NotdefGlyph(int16_t Top) {
  const int16_t outer[4][2] = {{128, 0}, {128, Top}, {1101, Top}, {1101, 0}};
  const int16_t inner[4][2] = {{256, 128}, {973, 128}, {973, int16_t(Top - 128)}, {256, int16_t(Top - 128)}};
  TBytes g;
  Put16(g, 2);  // numberOfContours
  Put16(g, 128), Put16(g, 0), Put16(g, 1101), Put16(g, uint16_t(Top));
  Put16(g, 3), Put16(g, 7);  // endPtsOfContours
  Put16(g, 0);               // instructionLength
  for (int i = 0; i < 8; ++i) g.push_back(0x01);  // on-curve, 16-bit deltas
  int16_t last = 0;
  auto coords = [&](int Axis) {
    last = 0;
    for (const auto* contour : {outer, inner})
      for (int i = 0; i < 4; ++i) {
        Put16(g, uint16_t(int16_t(contour[i][Axis] - last)));
        last = contour[i][Axis];
      }
  };
  coords(0);
  coords(1);
  if (g.size() % 2) g.push_back(0);
  return g;
}

TBytes BuildRawTemplate(TTemplateKind Kind) {
  const TTemplateValues& v = ValuesOf(Kind);
  const int16_t top = 1456;
  const TBytes notdef = NotdefGlyph(top);

  TBytes head;
  Put32(head, 0x00010000), Put32(head, 0x00010000), Put32(head, 0), Put32(head, TTableHead::kMagicNumber);
  Put16(head, v.Flags), Put16(head, 2048);
  for (int i = 0; i < 16; ++i) head.push_back(0);  // created, modified
  for (int i = 0; i < 4; ++i) Put16(head, 0);      // bounding box, recomputed
  Put16(head, 0), Put16(head, 9), Put16(head, uint16_t(v.FontDirectionHint)), Put16(head, 0), Put16(head, 0);

  TBytes hhea;
  Put32(hhea, 0x00010000);
  Put16(hhea, uint16_t(v.Ascender)), Put16(hhea, uint16_t(v.Descender)), Put16(hhea, uint16_t(v.LineGap));
  for (int i = 0; i < 4; ++i) Put16(hhea, 0);  // advanceWidthMax, minLSB, minRSB, xMaxExtent
  Put16(hhea, 1), Put16(hhea, 0), Put16(hhea, 0);  // caret
  for (int i = 0; i < 5; ++i) Put16(hhea, 0);      // reserved, metricDataFormat
  Put16(hhea, v.NumGlyphs);

  TBytes maxp;
  Put32(maxp, 0x00010000), Put16(maxp, v.NumGlyphs);
  for (int i = 0; i < 4; ++i) Put16(maxp, 0);  // point and contour statistics, recomputed
  Put16(maxp, 2), Put16(maxp, 16), Put16(maxp, 47), Put16(maxp, v.MaxFunctionDefs), Put16(maxp, 0);
  Put16(maxp, v.MaxStackElements);
  for (int i = 0; i < 3; ++i) Put16(maxp, 0);

  TBytes loca;
  Put16(loca, 0);
  for (int i = 0; i < v.NumGlyphs; ++i) Put16(loca, uint32_t(notdef.size() / 2));

  TBytes hmtx;
  Put16(hmtx, 1229), Put16(hmtx, 128);
  for (int i = 1; i < v.NumGlyphs; ++i) {
    // Unicode glyph 1 is the space; Symbol glyph 1 the zero-width .null.
    const uint16_t width = i > 1 ? 1139 : Kind == TTemplateKind::Unicode ? 569 : 0;
    Put16(hmtx, width), Put16(hmtx, 0);
  }

  TBytes cmap;
  Put16(cmap, 0), Put16(cmap, 1), Put16(cmap, 3), Put16(cmap, Kind == TTemplateKind::Unicode ? 1 : 0), Put32(cmap, 12);
  Put16(cmap, 4), Put16(cmap, 24), Put16(cmap, 0), Put16(cmap, 2), Put16(cmap, 2), Put16(cmap, 0), Put16(cmap, 0);
  Put16(cmap, 0xFFFF), Put16(cmap, 0), Put16(cmap, 0xFFFF), Put16(cmap, 1), Put16(cmap, 0);

  TBytes name;
  Put16(name, 0), Put16(name, 0), Put16(name, 6);

  TBytes post;
  Put32(post, 0x00030000);
  for (int i = 0; i < 7; ++i) Put32(post, 0);

  const std::vector<std::pair<const char*, const TBytes*>> tables = {
      {"cmap", &cmap}, {"glyf", &notdef}, {"head", &head}, {"hhea", &hhea}, {"hmtx", &hmtx},
      {"loca", &loca}, {"maxp", &maxp},   {"name", &name}, {"post", &post}};
  TBytes out;
  Put32(out, 0x00010000), Put16(out, uint16_t(tables.size())), Put16(out, 0), Put16(out, 0), Put16(out, 0);
  uint32_t offset = uint32_t(12 + 16 * tables.size());
  for (const auto& [tag, body] : tables) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(tag[i]));
    Put32(out, 0), Put32(out, offset), Put32(out, uint32_t(body->size()));
    offset += uint32_t((body->size() + 3) & ~size_t(3));
  }
  for (const auto& [tag, body] : tables) {
    out.insert(out.end(), body->begin(), body->end());
    while (out.size() % 4) out.push_back(0);
  }
  return out;
}

std::map<uint32_t, std::string> ParseGlyphNames(const std::vector<std::string>& Lines) {
  std::map<uint32_t, std::string> result;
  for (const std::string& line : Lines) {
    const size_t semicolon = line.find(';');
    if (line.empty() || line[0] == '#' || semicolon != 4) continue;
    const std::string digits = line.substr(0, 4);
    char* end = nullptr;
    const unsigned long code = std::strtoul(digits.c_str(), &end, 16);
    if (*end) continue;
    std::string glyph = line.substr(5);
    while (!glyph.empty() && (glyph.back() == '\r' || glyph.back() == ' ')) glyph.pop_back();
    if (!glyph.empty()) result.emplace(uint32_t(code), glyph);
  }
  return result;
}

std::string UniName(uint32_t Code) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "uni%04X", unsigned(Code));
  return buffer;
}

void SetPostNames(TTablePost& Post, const std::vector<std::string>& Names) {
  Post.SetHasGlyphNames(true);
  for (size_t i = 0; i < Names.size(); ++i)
    if (i < Post.NameCount())
      Post.SetName(i, Names[i]);
    else
      Post.AddName(Names[i]);
}

std::u16string Widen(const std::string& Text) {
  // The dialog's texts arrive as UTF-8; the name table holds UTF-16.
  std::u16string out;
  for (size_t i = 0; i < Text.size();) {
    const unsigned char c = Text[i];
    uint32_t cp = c;
    size_t len = 1;
    if (c >= 0xF0) len = 4, cp = c & 0x07;
    else if (c >= 0xE0) len = 3, cp = c & 0x0F;
    else if (c >= 0xC0) len = 2, cp = c & 0x1F;
    if (i + len > Text.size()) break;
    for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (uint8_t(Text[i + k]) & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(char16_t(cp));
    }
    i += len;
  }
  return out;
}

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

}  // namespace

std::string TemplateFontFileName(TTemplateKind Kind) {
  return ResourceFile(Kind == TTemplateKind::Unicode ? "templates/unicode.ttf" : "templates/symbol.ttf");
}

std::vector<uint8_t> BuildTemplateFont(TTemplateKind Kind, const std::vector<std::string>& GlyphNames) {
  const TTemplateValues& v = ValuesOf(Kind);
  auto raw = std::make_shared<const TBytes>(BuildRawTemplate(Kind));
  TTrueTypeFont font;
  TReadOnlyStream in(raw);
  font.LoadFromStream(in);
  font.EnsureOS2Table();

  const auto known = ParseGlyphNames(GlyphNames);
  std::vector<std::string> names{".notdef"};
  TTableCmap& cmap = *font.Cmap();
  TTableOS_2& os2 = *font.OS2();
  // Version 1 is the first to carry the code-page ranges.
  if (os2.Version() < 1) os2.SetVersion(1);
  if (Kind == TTemplateKind::Unicode) {
    const std::vector<uint32_t> chars = UnicodeTemplateCharacters(v.NumGlyphs - 1u);
    TCmapEncodingSubTable* sub = cmap.FindSubTable(3, 1);
    for (size_t i = 0; i < chars.size(); ++i) {
      sub->AddMapping(uint16_t(i + 1), chars[i]);
      const auto it = known.find(chars[i]);
      names.push_back(it != known.end() ? it->second : UniName(chars[i]));
    }
    os2.SetulCodePageRange1(1);  // Latin 1
  } else {
    names.push_back(".null");
    TCmapEncodingSubTable* sub = cmap.FindSubTable(3, 0);
    for (uint32_t code = 0xF020; code <= 0xF0FF; ++code) {
      sub->AddMapping(uint16_t(names.size()), code);
      names.push_back(UniName(code));
    }
    os2.sFamilyClass = 12 * 256;  // symbolic
    os2.SetulCodePageRange1(0x80000000u);
  }
  if (names.size() != v.NumGlyphs) throw FontException("The template's glyph names do not match its glyphs.");
  SetPostNames(*font.Post(), names);
  os2.usWeightClass = 400;
  os2.fsSelection = 64;  // regular
  os2.sTypoAscender = v.Ascender;
  os2.sTypoDescender = v.Descender;
  os2.sTypoLineGap = v.LineGap;
  os2.usWinAscent = uint16_t(v.Ascender);
  os2.usWinDescent = v.Descender;

  const uint16_t encoding = Kind == TTemplateKind::Unicode ? 1 : 0;
  TTableName& name = *font.Name();
  for (auto [platform, enc, language] :
       {std::tuple<uint16_t, uint16_t, uint16_t>{3, encoding, 1033}, {1, 0, 0}}) {
    name.Names.SetName(platform, enc, u"Untitled", 1, language);
    name.Names.SetName(platform, enc, u"Regular", 2, language);
    name.Names.SetName(platform, enc, u"Untitled", 4, language);
    name.Names.SetName(platform, enc, u"Version 1.00", 5, language);
    name.Names.SetName(platform, enc, u"Untitled", 6, language);
  }

  TMemoryStream out;
  font.SaveToStream(out);
  return out.Bytes();
}

int StyleCodeOf(const std::string& SubfamilyName) {
  if (SubfamilyName == "Bold Italic") return 3;
  if (SubfamilyName == "Bold") return 2;
  if (SubfamilyName == "Italic") return 1;
  return 0;
}

int ApplyNewFontValues(TTrueTypeFont& Font, const std::string& FamilyName, const std::string& SubfamilyName,
                       int64_t NowLongDateTime) {
  TTableHead* head = Font.Head();
  if (!head) throw FontException("The font has no head table.");
  head->created = NowLongDateTime;
  head->modified = NowLongDateTime;
  head->fontRevision = 0x00010000;

  // The core naming entries, derived the same way for every new font.
  const bool styled = !SubfamilyName.empty() && SubfamilyName != "Regular";
  const std::string fullName = styled ? FamilyName + " " + SubfamilyName : FamilyName;
  const std::string version = "1.00";
  int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  DecodeDateTime(LongDateTimeToDateTime(NowLongDateTime), year, month, day, hour, minute, second);
  char date[64];
  std::snprintf(date, sizeof date, " %d, %d", day, year);
  const std::string versionString = "Version " + version + " " + kMonths[(month - 1) % 12] + date + ", initial release";
  std::string postScript;
  for (char c : styled ? FamilyName + "-" + SubfamilyName : FamilyName) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 33 && u <= 126 && std::string("[](){}<>/%").find(c) == std::string::npos) postScript += c;
  }
  const std::u16string values[6] = {Widen(FamilyName),   Widen(SubfamilyName), Widen(fullName + ":Version " + version),
                                    Widen(fullName),     Widen(versionString), Widen(postScript)};
  if (TTableName* name = Font.Name())
    for (auto [platform, encoding, language] :
         {std::tuple<uint16_t, uint16_t, uint16_t>{3, 1, 1033}, {3, 0, 1033}, {1, 0, 0}}) {
      const TNamePlatformList* group = name->FindPlatform(platform, encoding);
      if (!group) continue;
      for (uint16_t id = 1; id <= 6; ++id) name->Names.SetName(platform, encoding, values[id - 1], id, language);
    }

  const int style = StyleCodeOf(SubfamilyName);
  TTableOS_2* os2 = Font.OS2();
  TTablePost* post = Font.Post();
  constexpr int32_t kItalicAngle = -1070203;  // -16.33 in 16.16 fixed point
  switch (style) {
    case 1:
      if (os2) os2->fsSelection = 1;
      head->macStyle = 2;
      if (post) post->italicAngle = kItalicAngle;
      break;
    case 2:
    case 3:
      if (os2) {
        os2->usWeightClass = 700;
        os2->PANOSE[2] = 8;
        os2->fsSelection = style == 2 ? 32 : 33;
      }
      head->macStyle = style == 2 ? 1 : 3;
      if (style == 3 && post) post->italicAngle = kItalicAngle;
      break;
    default:
      break;
  }
  return style;
}

}  // namespace tsy
