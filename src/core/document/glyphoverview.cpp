#include "document/glyphoverview.h"

#include <cstdio>

#include "fontfile/tables/cmap.h"
#include "fontfile/tables/post.h"
#include "fontfile/truetypefont.h"
#include "outline/outline.h"

namespace tsy {

std::string FormatOverviewNumber(int64_t Value, bool Hexadecimal) {
  char buffer[32];
  if (Hexadecimal)
    std::snprintf(buffer, sizeof buffer, "$%.4llx", static_cast<unsigned long long>(Value));
  else
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(Value));
  return buffer;
}

std::vector<std::string> BuildGlyphCaptions(const TTrueTypeFont& Font, int CaptionType, bool Hexadecimal) {
  const size_t count = Font.GlyphCount();
  std::vector<std::string> captions(count);
  switch (CaptionType) {
    case ctPostScriptName:
      if (const TTablePost* post = Font.Post())
        for (size_t g = 0; g < count; ++g) captions[g] = post->GetName(g);
      break;
    case ctUnicodeMappings:
    case ctMacintoshMappings:
    case ctISOMappings:
    case ctMicrosoftMappings: {
      const TTableCmap* cmap = Font.Cmap();
      if (!cmap) break;
      const uint16_t platform = uint16_t(CaptionType - 1);
      for (size_t i = 0; i < cmap->SubTables.Count(); ++i) {
        const TCmapEncodingTableEntry& entry = cmap->SubTables.Items(i);
        if (entry.PlatformID != platform || !entry.SubTable) continue;
        for (const TCharacterToGlyphIndexMapping& m : entry.SubTable->Mappings.All()) {
          if (m.GlyphIndex >= count) continue;
          std::string& caption = captions[m.GlyphIndex];
          if (!caption.empty()) caption += '-';
          caption += FormatOverviewNumber(m.CharCode, Hexadecimal);
        }
      }
      break;
    }
    case ctGlyphIndex:
      for (size_t g = 0; g < count; ++g) captions[g] = FormatOverviewNumber(int64_t(g), Hexadecimal);
      break;
    default:
      break;
  }
  return captions;
}

std::vector<uint8_t> BuildGlyphTypes(const TTrueTypeFont& Font) {
  const size_t count = Font.GlyphCount();
  std::vector<uint8_t> types(count);
  for (size_t g = 0; g < count; ++g) {
    const TOutlineBase* outline = Font.Outlines.Items(g);
    types[g] = uint8_t(outline->GetKind() * 2);
  }
  for (size_t g = 0; g < count; ++g) {
    const auto* composite = dynamic_cast<const TOutlineComposite*>(Font.Outlines.Items(g));
    if (!composite) continue;
    for (const TCompositeMember& member : composite->Members)
      if (member.GlyphIndex < count) types[member.GlyphIndex] |= 1;
  }
  return types;
}

const char* GlyphTypeName(int Type) {
  static const char* const kNames[] = {"empty",  "empty with dependancy",  "simple",
                                       "simple with dependancy", "composite", "composite with dependancy"};
  return Type >= 0 && Type < 6 ? kNames[Type] : "";
}

std::vector<bool> BuildMappedGlyphs(const TTrueTypeFont& Font) {
  const size_t count = Font.GlyphCount();
  std::vector<bool> mapped(count, false);
  if (const TTableCmap* cmap = Font.Cmap())
    for (size_t i = 0; i < cmap->SubTables.Count(); ++i) {
      const TCmapEncodingTableEntry& entry = cmap->SubTables.Items(i);
      if (!entry.SubTable) continue;
      for (const TCharacterToGlyphIndexMapping& m : entry.SubTable->Mappings.All())
        if (m.GlyphIndex < count) mapped[m.GlyphIndex] = true;
    }
  return mapped;
}

std::vector<int64_t> BuildSampleCharacters(const TTrueTypeFont& Font) {
  const size_t count = Font.GlyphCount();
  std::vector<int64_t> samples(count, -1);
  const TTableCmap* cmap = Font.Cmap();
  if (!cmap) return samples;
  std::vector<int64_t> first;
  for (size_t i = 0; i < cmap->SubTables.Count(); ++i) {
    const TCmapEncodingTableEntry& entry = cmap->SubTables.Items(i);
    if (entry.PlatformID != 3 || !entry.SubTable) continue;
    // The first mapping of each glyph within this subtable.
    first.assign(count, -1);
    for (const TCharacterToGlyphIndexMapping& m : entry.SubTable->Mappings.All())
      if (m.GlyphIndex < count && first[m.GlyphIndex] < 0) first[m.GlyphIndex] = m.CharCode;
    for (size_t g = 0; g < count; ++g)
      if (first[g] >= 0) samples[g] = first[g];
  }
  return samples;
}

int MetricsGlyph(const TTrueTypeFont& Font, int Glyph) {
  const size_t count = Font.GlyphCount();
  int g = Glyph;
  // Bounded like every walk through members, so a cycle cannot run away.
  for (int depth = 0; depth < kMaxComponentDepth && g >= 0 && size_t(g) < count; ++depth) {
    const auto* composite = dynamic_cast<const TOutlineComposite*>(Font.Outlines.Items(size_t(g)));
    if (!composite) break;
    const int member = composite->GetMetricsMember();
    if (member < 0 || size_t(member) >= count) break;
    g = member;
  }
  return g;
}

namespace {
const TCmapEncodingSubTable* SubTableOf(const TTableCmap& Cmap, uint16_t Platform, uint16_t Encoding) {
  const TCmapEncodingTableEntry* entry = Cmap.SubTables.Find(Platform, Encoding);
  return entry ? entry->SubTable.get() : nullptr;
}
}  // namespace

int64_t CharacterOfGlyph(const TTrueTypeFont& Font, int Glyph) {
  const TTableCmap* cmap = Font.Cmap();
  if (!cmap || Glyph < 0 || Glyph > 0xFFFF) return -1;
  for (uint16_t encoding : {uint16_t(10), uint16_t(1)})
    if (const TCmapEncodingSubTable* sub = SubTableOf(*cmap, 3, encoding)) {
      const int64_t c = sub->CharOf(uint16_t(Glyph));
      if (c >= 0) return c;
    }
  for (size_t i = 0; i < cmap->SubTables.Count(); ++i)
    if (const TCmapEncodingSubTable* sub = cmap->SubTables.Items(i).SubTable.get()) {
      const int64_t c = sub->CharOf(uint16_t(Glyph));
      if (c >= 0) return c;
    }
  return -1;
}

int64_t GlyphOfCharacter(const TTrueTypeFont& Font, int64_t CharCode) {
  const TTableCmap* cmap = Font.Cmap();
  if (!cmap || CharCode < 0 || CharCode > 0xFFFFFFFFLL) return -1;
  for (uint16_t encoding : {uint16_t(10), uint16_t(1)})
    if (const TCmapEncodingSubTable* sub = SubTableOf(*cmap, 3, encoding)) {
      const int32_t g = sub->GlyphOf(uint32_t(CharCode));
      if (g >= 0) return g;
    }
  for (size_t i = 0; i < cmap->SubTables.Count(); ++i)
    if (const TCmapEncodingSubTable* sub = cmap->SubTables.Items(i).SubTable.get()) {
      const int32_t g = sub->GlyphOf(uint32_t(CharCode));
      if (g >= 0) return g;
    }
  return -1;
}

}  // namespace tsy
