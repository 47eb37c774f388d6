// The font side of TTrueTypeFont: which class reads each table, and the work
// done after loading and around saving.
#include "fontfile/fontexception.h"
#include "fontfile/truetypefont.h"

namespace tsy {

void TTrueTypeFont::ReadTableEntry(TReadOnlyStream& Entry, const TTag& Tag, uint32_t Length) {
  std::unique_ptr<TFontTable> table;
  switch (TableKind(Tag)) {
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
