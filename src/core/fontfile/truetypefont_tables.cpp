// The font side of TTrueTypeFont: which class reads each table, and the work
// done after loading and around saving.
#include <algorithm>

#include "fontfile/cff/cffconvert.h"
#include "fontfile/fontexception.h"
#include "fontfile/tables/cff.h"
#include "fontfile/tables/glyf.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hhea.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/loca.h"
#include "fontfile/tables/maxp.h"
#include "fontfile/truetypefont.h"
#include "fontfile/warnings.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/gasp.h"
#include "fontfile/tables/kern.h"
#include "fontfile/tables/name.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/pclt.h"
#include "fontfile/tables/post.h"

namespace tsy {

namespace {

constexpr uint32_t kVersionOTTO = 0x4F54544F;

template <class T>
T* Typed(const TFontTables& Tables, const char* Tag) {
  return dynamic_cast<T*>(Tables.Find(Tag));
}

}  // namespace

TTableHead* TTrueTypeFont::Head() const { return Typed<TTableHead>(Tables, "head"); }
TTableHhea* TTrueTypeFont::Hhea() const { return Typed<TTableHhea>(Tables, "hhea"); }
TTableMaxp* TTrueTypeFont::Maxp() const { return Typed<TTableMaxp>(Tables, "maxp"); }
TTableLoca* TTrueTypeFont::Loca() const { return Typed<TTableLoca>(Tables, "loca"); }
TTableGlyf* TTrueTypeFont::Glyf() const { return Typed<TTableGlyf>(Tables, "glyf"); }
TTableHmtx* TTrueTypeFont::Hmtx() const { return Typed<TTableHmtx>(Tables, "hmtx"); }
TTableCmap* TTrueTypeFont::Cmap() const { return Typed<TTableCmap>(Tables, "cmap"); }
TTableOS_2* TTrueTypeFont::OS2() const { return Typed<TTableOS_2>(Tables, "OS/2"); }
TTableName* TTrueTypeFont::Name() const { return Typed<TTableName>(Tables, "name"); }
TTablePost* TTrueTypeFont::Post() const { return Typed<TTablePost>(Tables, "post"); }
TTableGasp* TTrueTypeFont::Gasp() const { return Typed<TTableGasp>(Tables, "gasp"); }
TTableKern* TTrueTypeFont::Kern() const { return Typed<TTableKern>(Tables, "kern"); }
TTablePCLT* TTrueTypeFont::PCLT() const { return Typed<TTablePCLT>(Tables, "PCLT"); }

void TTrueTypeFont::ReadTableEntry(TReadOnlyStream& Entry, const TTag& Tag, uint32_t Length) {
  // Adds the table first, then lets it read: a table that fails to read is
  // still owned (and freed) by the registry.
  auto add = [this](auto Table) {
    auto* raw = Table.get();
    Tables.Add(std::move(Table));
    return raw;
  };
  switch (TableKind(Tag)) {
    case 1: {
      TTableCmap* cmap = add(std::make_unique<TTableCmap>(Tag));
      if (const TTableMaxp* maxp = Maxp()) cmap->GlyphLimit = maxp->numGlyphs;
      cmap->LoadFromStream(Entry);
      return;
    }
    case 4: add(std::make_unique<TTableGasp>(Tag))->LoadFromStream(Entry); return;
    case 9: add(std::make_unique<TTableKern>(Tag))->LoadFromStream(Entry); return;
    case 12: add(std::make_unique<TTableName>(Tag))->LoadFromStream(Entry); return;
    case 13: add(std::make_unique<TTablePost>(Tag))->LoadFromStream(Entry); return;
    case 18: add(std::make_unique<TTableOS_2>(Tag))->LoadFromStream(Entry); return;
    case 32: add(std::make_unique<TTablePCLT>(Tag))->LoadFromStream(Entry); return;
    case 2:   // cvt
    case 3:   // fpgm
    case 14:  // prep
      add(std::make_unique<TTableHinting>(Tag))->LoadFromStreamSized(Entry, Length);
      return;
    case 6: add(std::make_unique<TTableHead>(Tag))->LoadFromStream(Entry); return;
    case 7: add(std::make_unique<TTableHhea>(Tag))->LoadFromStream(Entry); return;
    case 11: add(std::make_unique<TTableMaxp>(Tag))->LoadFromStream(Entry); return;
    case 5: add(std::make_unique<TTableGlyf>(Tag))->LoadFromStreamSized(Entry, Length); return;
    case 8: {
      TTableHmtx* hmtx = add(std::make_unique<TTableHmtx>(Tag));
      if (const TTableHhea* hhea = Hhea()) hmtx->NumberOfHMetrics = hhea->numberOfHMetrics;
      if (const TTableMaxp* maxp = Maxp()) hmtx->NumGlyphs = maxp->numGlyphs;
      hmtx->LoadFromStream(Entry);
      return;
    }
    case 10: {
      TTableLoca* loca = add(std::make_unique<TTableLoca>(Tag));
      if (const TTableHead* head = Head()) {
        loca->IndexToLocFormat = head->indexToLocFormat;
        // Any other format would leave every glyph empty, and the next save
        // would wipe the outlines: refuse the font instead.
        if (loca->IndexToLocFormat != 0 && loca->IndexToLocFormat != 1)
          throw FontException(Format("Wrong indexToLocFormat value %d", int(loca->IndexToLocFormat)));
        const int64_t count = int64_t(Length) / (loca->IndexToLocFormat == 0 ? 2 : 4) - 1;
        // A loca longer than 65536 entries only carries unused padding; one
        // too short for a single glyph holds none.
        loca->NumGlyphs = uint16_t(std::clamp<int64_t>(count, 0, 0xFFFF));
      } else if (Length > 0) {
        // Without the offset format the records cannot be found; saving
        // such a font would write every glyph empty, so say so.
        TWarningCollector::Add("loca table without a head table: the glyph data cannot be located and every glyph "
                               "loads empty.");
      }
      if (const TTableMaxp* maxp = Maxp(); maxp && maxp->numGlyphs != loca->NumGlyphs)
        TWarningCollector::AddFmt("numglyphs loca (%d) and maxp (%d) are different.", int(loca->NumGlyphs),
                                  int(maxp->numGlyphs));
      loca->LoadFromStream(Entry);
      return;
    }
    case 19:  // CFF: only a PostScript-outline font converts it; any other keeps it raw
      if (Version != kVersionOTTO) break;
      add(std::make_unique<TTableCFF>(Tag))->LoadFromStream(Entry);
      return;
    default:
      break;
  }
  if (!KeepUnknownTables) return;
  add(std::make_unique<TTableUnknown>(Tag))->LoadFromStreamSized(Entry, Length);
}

void TTrueTypeFont::FinishLoad() {
  TTableMaxp* maxp = Maxp();
  // Names for a different number of glyphs cannot be matched to the glyphs.
  if (TTablePost* post = Post(); post && maxp && post->HasGlyphNames() && post->numberOfGlyphs != maxp->numGlyphs) {
    TWarningCollector::AddFmt("Post numberOfGlyphs (%d) does not equal Maxp numGlyphs (%d).",
                              int(post->numberOfGlyphs), int(maxp->numGlyphs));
    post->SetHasGlyphNames(false);
    post->numberOfGlyphs = maxp->numGlyphs;
  }

  TTableLoca* loca = Loca();
  TTableGlyf* glyf = Glyf();
  if (loca && glyf) {
    Outlines.OnProgress = [this](int Percent) { Progress(Percent); };
    Outlines.LoadFromTables(Maxp(), loca, glyf);
    Outlines.OnProgress = nullptr;
  } else if (Version != kVersionOTTO) {
    throw FontException(Format("Font without outline information not supported (version number %d.%d).",
                               int(int16_t(Version >> 16)), int(Version & 0xFFFF)));
  } else {
    // PostScript outlines become TrueType outlines; the font is a TrueType
    // font from here on and saves as one.
    ConvertCFFOutlines(*this, [this](int Percent) { Progress(Percent); });
    loca = Loca();
    glyf = Glyf();
  }

  // Everything later needs the glyph count and the character mappings; a
  // font without them is not one this program can edit.
  if (!Maxp()) throw FontException("Maxp table missing!");
  TTableCmap* cmap = Cmap();
  if (!cmap) throw FontException("Cmap table missing!");
  if (Loca() && Glyf()) cmap->DropInvalidGlyphs(uint32_t(GlyphCount()));

  FinishSave();
}

void TTrueTypeFont::CheckSave() {
  if (GlyphCount() == 0) throw FontException("Fonts without glyphs can't be saved.");
}

void TTrueTypeFont::PrepareSave() {
  TTableLoca* loca = Loca();
  TTableGlyf* glyf = Glyf();
  // A font still holding unconverted PostScript outlines is written back as
  // it was read.
  if (loca && glyf) UpdateBeforeSave();
  Progress(20);
  if (loca && glyf) Outlines.SaveToTables(Maxp(), loca, glyf);
  Progress(22);
  Tables.RemoveEmpty();
  if (TTableHead* head = Head(); head && loca) head->indexToLocFormat = loca->IndexToLocFormat;
  Progress(24);
  TTableHhea* hhea = Hhea();
  TTableHmtx* hmtx = Hmtx();
  if (hhea && hmtx) {
    hmtx->Compact();
    hhea->numberOfHMetrics = hmtx->NumberOfHMetrics;
  }
}

void TTrueTypeFont::FinishSave() {
  if (TTableLoca* loca = Loca()) loca->ClearOffsets();
  if (TTableGlyf* glyf = Glyf()) glyf->ClearData();
}

void TTrueTypeFont::StoreCheckSumAdjustment(uint32_t Value) {
  if (TTableHead* head = Head()) head->checkSumAdjustment = Value;
}

}  // namespace tsy
