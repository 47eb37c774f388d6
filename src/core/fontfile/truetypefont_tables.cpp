// The font side of TTrueTypeFont: which class reads each table, and the work
// done after loading and around saving.
#include "fontfile/fontexception.h"
#include "fontfile/truetypefont.h"

#include "fontfile/tables/cmap.h"
#include "fontfile/tables/gasp.h"
#include "fontfile/tables/kern.h"
#include "fontfile/tables/name.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/pclt.h"
#include "fontfile/tables/post.h"

namespace tsy {

namespace {

// numGlyphs of the maxp table through its file form, whichever class holds it.
int MaxpGlyphCount(const TFontTables& Tables) {
  const TFontTable* maxp = Tables.Find("maxp");
  if (!maxp) return -1;
  TMemoryStream m;
  maxp->SaveToStream(m);
  if (m.Size() < 6) return -1;
  m.Seek(4);
  return ReadUInt16(m);
}

// Adds the table first (a duplicate tag raises before any reading), then lets
// it read its own bytes.
template <class T>
T* AddAndRead(TFontTables& Tables, const TTag& Tag, TReadOnlyStream& Entry, void (*Before)(T&, const TFontTables&)) {
  auto table = std::make_unique<T>(Tag);
  T* raw = table.get();
  Tables.Add(std::move(table));
  if (Before) Before(*raw, Tables);
  raw->LoadFromStream(Entry);
  return raw;
}

}  // namespace

void TTrueTypeFont::ReadTableEntry(TReadOnlyStream& Entry, const TTag& Tag, uint32_t Length) {
  std::unique_ptr<TFontTable> table;
  switch (TableKind(Tag)) {
    case 1:  // cmap
      AddAndRead<TTableCmap>(Tables, Tag, Entry, [](TTableCmap& T, const TFontTables& All) {
        const int n = MaxpGlyphCount(All);
        if (n >= 0) T.GlyphLimit = uint32_t(n);
      });
      return;
    case 4: AddAndRead<TTableGasp>(Tables, Tag, Entry, nullptr); return;
    case 9: AddAndRead<TTableKern>(Tables, Tag, Entry, nullptr); return;
    case 12: AddAndRead<TTableName>(Tables, Tag, Entry, nullptr); return;
    case 13: AddAndRead<TTablePost>(Tables, Tag, Entry, nullptr); return;
    case 18: AddAndRead<TTableOS_2>(Tables, Tag, Entry, nullptr); return;
    case 32: AddAndRead<TTablePCLT>(Tables, Tag, Entry, nullptr); return;
    case 2:   // cvt
    case 3:   // fpgm
    case 14:  // prep
    {
      auto hinting = std::make_unique<TTableHinting>(Tag);
      TTableHinting* raw = hinting.get();
      Tables.Add(std::move(hinting));
      raw->LoadFromStreamSized(Entry, Length);
      return;
    }
    default:
      break;
  }
  if (!KeepUnknownTables) return;
  auto unknown = std::make_unique<TTableUnknown>(Tag);
  TTableUnknown* raw = unknown.get();
  Tables.Add(std::move(unknown));
  raw->LoadFromStreamSized(Entry, Length);
}

void TTrueTypeFont::FinishLoad() {}

void TTrueTypeFont::CheckSave() {}

void TTrueTypeFont::PrepareSave() {}

void TTrueTypeFont::FinishSave() {}

void TTrueTypeFont::StoreCheckSumAdjustment(uint32_t Value) {
  if (auto* head = dynamic_cast<TTableUnknown*>(Tables.Find("head")); head && head->Data.Size() >= 12) {
    head->Data.Seek(8);
    WriteUInt32(head->Data, Value);
    head->Data.Seek(0);
  }
}

}  // namespace tsy
