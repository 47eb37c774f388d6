#include <cstdio>
#include <exception>

#include "cli/commands.h"
#include "fontfile/fonttable.h"
#include "fontfile/truetypefont.h"
#include "fontfile/warnings.h"

namespace tsytool {

namespace {

struct TTableInfo {
  std::string Tag, ClassName, Description;
  uint64_t Length = 0;
  std::string Values;
};

uint64_t SavedLength(const tsy::TFontTable& Table) {
  tsy::TMemoryStream m;
  Table.SaveToStream(m);
  return m.Size();
}

// numGlyphs straight from the maxp bytes.
int GlyphCount(const tsy::TTrueTypeFont& Font) {
  const tsy::TFontTable* maxp = Font.FindTable("maxp");
  if (!maxp) return -1;
  tsy::TMemoryStream m;
  maxp->SaveToStream(m);
  if (m.Size() < 6) return -1;
  m.Seek(4);
  return tsy::ReadUInt16(m);
}

}  // namespace

int RunInfo(const std::vector<std::string>& Args) {
  bool json = false;
  std::string file;
  for (const std::string& a : Args) {
    if (a == "--json")
      json = true;
    else if (file.empty())
      file = a;
    else
      throw UsageError("info takes one FONT");
  }
  if (file.empty()) throw UsageError("info needs a FONT");

  tsy::TTrueTypeFont font;
  AttachProgress(font);
  try {
    font.LoadFromFile(file);
  } catch (const std::exception& e) {
    return Fail(file, e.what());
  }

  std::vector<TTableInfo> tables;
  for (size_t i = 0; i < font.TableCount(); ++i) {
    const tsy::TFontTable* t = font.Table(i);
    tables.push_back({t->Tag(), t->ClassName(), tsy::TableDescription(t->Tag()), SavedLength(*t), DescribeTable(*t)});
  }
  const int glyphs = GlyphCount(font);
  const auto& warnings = tsy::TWarningCollector::Warnings();

  if (json) {
    std::printf("{\n  \"file\": \"%s\",\n  \"version\": \"0x%08X\",\n  \"glyphs\": %d,\n  \"tables\": [",
                JsonEscape(file).c_str(), font.Version, glyphs);
    for (size_t i = 0; i < tables.size(); ++i)
      std::printf("%s\n    {\"tag\": \"%s\", \"class\": \"%s\", \"length\": %llu, \"description\": \"%s\", "
                  "\"values\": \"%s\"}",
                  i ? "," : "", JsonEscape(tables[i].Tag).c_str(), tables[i].ClassName.c_str(),
                  (unsigned long long)tables[i].Length, JsonEscape(tables[i].Description).c_str(),
                  JsonEscape(tables[i].Values).c_str());
    std::printf("\n  ],\n  \"warnings\": [");
    for (size_t i = 0; i < warnings.size(); ++i)
      std::printf("%s\n    \"%s\"", i ? "," : "", JsonEscape(warnings[i]).c_str());
    std::printf("\n  ]\n}\n");
    return 0;
  }

  std::printf("File:     %s\n", file.c_str());
  std::printf("Version:  0x%08X\n", font.Version);
  if (glyphs >= 0)
    std::printf("Glyphs:   %d\n", glyphs);
  else
    std::printf("Glyphs:   (no maxp table)\n");
  std::printf("Tables:   %zu\n", tables.size());
  for (const TTableInfo& t : tables)
    std::printf("  %-4s  %-14s %10llu  %s\n", t.Tag.c_str(), t.ClassName.c_str(), (unsigned long long)t.Length,
                t.Description.c_str());
  for (const TTableInfo& t : tables)
    if (!t.Values.empty()) std::printf("  %-4s  %s\n", t.Tag.c_str(), t.Values.c_str());
  std::printf("Warnings: %zu\n", warnings.size());
  for (const std::string& w : warnings) std::printf("  %s\n", w.c_str());
  return 0;
}

}  // namespace tsytool
