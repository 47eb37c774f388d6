#include "document/clipboardcommands.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "document/fontmanager.h"
#include "fontfile/primitives.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/post.h"

namespace tsy {

int32_t PasteDestination(const std::vector<int32_t>& Selection, size_t J, size_t GlyphCount) {
  int64_t d = -1;
  if (J < Selection.size())
    d = Selection[J];
  else if (Selection.size() == 1)
    d = int64_t(Selection[0]) + int64_t(J);
  return d >= 0 && uint64_t(d) < GlyphCount ? int32_t(d) : -1;
}

namespace {

std::vector<int32_t> SortedSelection(const TTrueTypeFontManager& M) {
  std::vector<int32_t> s = M.SelectedGlyphs().Glyphs();
  std::sort(s.begin(), s.end());
  s.erase(std::unique(s.begin(), s.end()), s.end());
  return s;
}

// Where the pasted data comes from, as far as the paste cares: without an
// identity (data of another program) nothing is scaled and no instructions
// are kept, since they would belong to a different font's program.
struct TPasteSource {
  bool KeepInstructions = false;
  double Scale = 1;
};

TPasteSource ReadSource(const TTrueTypeFontManager& M, const TClipboardAccess& Clip) {
  TPasteSource src;
  if (!Clip.HasFormat(clipfmt::FontIdentification)) return src;
  const TClipboardFontIdentity id = DecodeFontIdentity(Clip.Data(clipfmt::FontIdentification));
  src.KeepInstructions = id.Id == M.Font().FontIdentification;
  const TTableHead* head = M.Font().Head();
  const uint16_t ud = head ? head->unitsPerEm : 0;
  if (id.UnitsPerEm != 0 && ud != 0 && id.UnitsPerEm != ud) src.Scale = double(ud) / double(id.UnitsPerEm);
  return src;
}

struct TPlannedOutline {
  int32_t Glyph;
  std::unique_ptr<TOutlineBase> Outline;
};

struct TPlannedMetrics {
  int32_t Glyph;
  int64_t LeftSideBearing, AdvanceWidth;
};

std::vector<TPlannedOutline> PlanOutlines(const TClipboardAccess& Clip, const std::vector<int32_t>& Selection,
                                          size_t GlyphCount) {
  std::vector<TPlannedOutline> plan;
  if (!Clip.HasFormat(clipfmt::GlyphOutlines)) return plan;
  std::vector<TClipboardOutline> entries = DecodeGlyphOutlines(Clip.Data(clipfmt::GlyphOutlines));
  for (size_t j = 0; j < entries.size(); ++j) {
    const int32_t d = PasteDestination(Selection, j, GlyphCount);
    if (d < 0) break;  // destinations only grow: the rest has none either
    plan.push_back({d, std::move(entries[j].Outline)});
  }
  return plan;
}

std::vector<TPlannedMetrics> PlanMetrics(const TClipboardAccess& Clip, const std::vector<int32_t>& Selection,
                                         size_t GlyphCount, double Scale) {
  std::vector<TPlannedMetrics> plan;
  if (!Clip.HasFormat(clipfmt::GlyphMetrics)) return plan;
  const std::vector<TClipboardMetrics> entries = DecodeGlyphMetrics(Clip.Data(clipfmt::GlyphMetrics));
  for (size_t j = 0; j < entries.size(); ++j) {
    const int32_t d = PasteDestination(Selection, j, GlyphCount);
    if (d < 0) break;
    // Truncation toward zero, so -7 at half the em gives -3.
    const int64_t lsb = int64_t(std::trunc(double(entries[j].LeftSideBearing) * Scale));
    const int64_t adv = int64_t(std::trunc(double(entries[j].AdvanceWidth) * Scale));
    if (lsb < std::numeric_limits<int16_t>::min() || lsb > std::numeric_limits<int16_t>::max() || adv < 0 ||
        adv > std::numeric_limits<uint16_t>::max())
      throw EClipboardData(clipfmt::GlyphMetrics,
                           Format("the metrics for glyph %d (%lld, %lld) do not fit the font", d,
                                  static_cast<long long>(lsb), static_cast<long long>(adv)));
    plan.push_back({d, lsb, adv});
  }
  return plan;
}

// A count the stream starts with, known only once the entries are written.
class TCountPatch {
public:
  explicit TCountPatch(TStream& S) : FStream(S), FAt(S.Position()) { WriteUInt16(S, 0); }
  void Finish(size_t Count) {
    const uint64_t end = FStream.Position();
    FStream.Seek(FAt);
    WriteUInt16(FStream, CheckedUInt16(int64_t(Count), "entry count"));
    FStream.Seek(end);
  }

private:
  TStream& FStream;
  uint64_t FAt;
};

int32_t ReadGlyphIndex(const TTrueTypeFontManager& M, TStream& S) {
  const int32_t g = ReadUInt16(S);
  if (size_t(g) >= M.Font().GlyphCount()) throw EStreamError(Format("Glyph index %d out of range", g));
  return g;
}

// [count][glyph][GlyphSnapshot]...: each stored outline goes back into its
// glyph, the current one into the item of the other direction.
void SwapOutlines(TTrueTypeFontManager& M, TStream& Data) {
  const uint16_t n = ReadUInt16(Data);
  TMemoryStream& back =
      M.History().AddUndoItem([&M](TUndoRedoRepeatItem&, TStream& S) { SwapOutlines(M, S); });
  WriteUInt16(back, n);
  std::vector<int32_t> changed;
  for (uint16_t k = 0; k < n; ++k) {
    const int32_t g = ReadGlyphIndex(M, Data);
    WriteUInt16(back, uint16_t(g));
    M.Font().Outlines.WriteSnapshot(g, back);
    M.Font().Outlines.ReadSnapshot(g, Data);
    changed.push_back(g);
  }
  for (int32_t g : changed) M.EditWindows().GlyphChanged(g);
  M.Changed();
}

// [count][glyph][lsb][advance]..., 32 bits each.
void SwapMetrics(TTrueTypeFontManager& M, TStream& Data) {
  TTableHmtx* hmtx = M.Font().Hmtx();
  const uint16_t n = ReadUInt16(Data);
  TMemoryStream& back =
      M.History().AddUndoItem([&M](TUndoRedoRepeatItem&, TStream& S) { SwapMetrics(M, S); });
  WriteUInt16(back, n);
  for (uint16_t k = 0; k < n; ++k) {
    const int32_t g = ReadGlyphIndex(M, Data);
    const int32_t lsb = ReadInt32(Data), adv = ReadInt32(Data);
    if (!hmtx) throw FontException("The font has no hmtx table");
    WriteUInt16(back, uint16_t(g));
    WriteInt32(back, hmtx->LeftSideBearing(g));
    WriteInt32(back, hmtx->AdvanceWidth(g));
    hmtx->SetLeftSideBearing(g, lsb);
    hmtx->SetAdvanceWidth(g, adv);
    M.EditWindows().GlyphChanged(g);
  }
  M.Changed();
}

// [count][glyph][name]...
void SwapNames(TTrueTypeFontManager& M, TStream& Data) {
  TTablePost* post = M.Font().Post();
  const uint16_t n = ReadUInt16(Data);
  TMemoryStream& back = M.History().AddUndoItem([&M](TUndoRedoRepeatItem&, TStream& S) { SwapNames(M, S); });
  WriteUInt16(back, n);
  for (uint16_t k = 0; k < n; ++k) {
    const int32_t g = ReadGlyphIndex(M, Data);
    const std::string name = ReadShortString(Data);
    if (!post) throw FontException("The font has no post table");
    WriteUInt16(back, uint16_t(g));
    WriteShortString(back, post->GetName(size_t(g)));
    post->SetName(size_t(g), name);
  }
  M.Changed();
}

std::vector<uint8_t> CmapBytes(const TTableCmap& Cmap) {
  TMemoryStream s;
  Cmap.SaveToStream(s);
  return s.Bytes();
}

void LoadCmap(TTableCmap& Cmap, const std::vector<uint8_t>& Bytes) {
  TMemoryStream s(Bytes);
  Cmap.LoadFromStream(s);
}

// The whole cmap table in its file form.
void SwapCmap(TTrueTypeFontManager& M, TStream& Data) {
  TTableCmap* cmap = M.Font().Cmap();
  if (!cmap) throw FontException("The font has no cmap table");
  std::vector<uint8_t> stored(Data.Remaining());
  if (!stored.empty()) Data.ReadExact(stored.data(), stored.size());
  TMemoryStream& back = M.History().AddUndoItem([&M](TUndoRedoRepeatItem&, TStream& S) { SwapCmap(M, S); });
  const std::vector<uint8_t> current = CmapBytes(*cmap);
  back.Write(current.data(), current.size());
  LoadCmap(*cmap, stored);
  M.EditWindows().AllGlyphsChanged();
  M.Changed();
}

void ApplyOutlines(TTrueTypeFontManager& M, std::vector<TPlannedOutline>& Plan, const TPasteSource& Source) {
  TFontOutlines& outlines = M.Font().Outlines;
  TMemoryStream& s = M.History().AddUndoItem([&M](TUndoRedoRepeatItem&, TStream& S) { SwapOutlines(M, S); });
  TCountPatch count(s);
  size_t done = 0;
  for (TPlannedOutline& p : Plan) {
    WriteUInt16(s, uint16_t(p.Glyph));
    outlines.WriteSnapshot(p.Glyph, s);
    ++done;
    count.Finish(done);
    outlines.SetOutline(p.Glyph, std::move(p.Outline));
    if (Source.Scale != 1) outlines.ScaleOutline(p.Glyph, Source.Scale);
    if (!Source.KeepInstructions) outlines.ClearInstructions(p.Glyph);
  }
  // Composites that use a pasted glyph must see its new outline.
  outlines.ResolveReferences();
  for (const TPlannedOutline& p : Plan) M.EditWindows().GlyphChanged(p.Glyph);
}

void ApplyMetrics(TTrueTypeFontManager& M, const std::vector<TPlannedMetrics>& Plan) {
  TTableHmtx* hmtx = M.Font().Hmtx();
  if (!hmtx || Plan.empty()) return;
  TMemoryStream& s = M.History().AddUndoItem([&M](TUndoRedoRepeatItem&, TStream& S) { SwapMetrics(M, S); });
  TCountPatch count(s);
  size_t done = 0;
  for (const TPlannedMetrics& p : Plan) {
    WriteUInt16(s, uint16_t(p.Glyph));
    WriteInt32(s, hmtx->LeftSideBearing(p.Glyph));
    WriteInt32(s, hmtx->AdvanceWidth(p.Glyph));
    count.Finish(++done);
    hmtx->SetLeftSideBearing(p.Glyph, p.LeftSideBearing);
    hmtx->SetAdvanceWidth(p.Glyph, p.AdvanceWidth);
    M.EditWindows().GlyphChanged(p.Glyph);
  }
}

}  // namespace

bool CanCopyGlyphs(const TTrueTypeFontManager& Manager) { return Manager.SelectedGlyphs().Count() > 0; }

bool CanPasteGlyphData(const TTrueTypeFontManager& Manager, const TClipboardAccess& Clipboard) {
  return Manager.SelectedGlyphs().Count() > 0 && Clipboard.HasFormat(clipfmt::GlyphOutlines);
}

bool CanPasteSpecialGlyphData(const TTrueTypeFontManager& Manager, const TClipboardAccess& Clipboard) {
  return Manager.SelectedGlyphs().Count() > 0 && Clipboard.HasFormat(clipfmt::GlyphMappings);
}

void CopyGlyphs(TTrueTypeFontManager& Manager, TClipboardAccess& Clipboard) {
  const std::vector<int32_t> glyphs = SortedSelection(Manager);
  if (glyphs.empty()) return;
  const TTrueTypeFont& font = Manager.Font();
  Clipboard.Put("Glyph Data", {
                                  {clipfmt::FontIdentification, EncodeFontIdentity(font)},
                                  {clipfmt::GlyphOutlines, EncodeGlyphOutlines(font, glyphs)},
                                  {clipfmt::GlyphMetrics, EncodeGlyphMetrics(font, glyphs)},
                                  {clipfmt::GlyphNames, EncodeGlyphNames(font, glyphs)},
                                  {clipfmt::GlyphMappings, EncodeGlyphMappings(font, glyphs)},
                                  {clipfmt::GlyphSelection, EncodeGlyphSelection(glyphs)},
                              });
}

void PasteGlyphData(TTrueTypeFontManager& Manager, const TClipboardAccess& Clipboard) {
  const std::vector<int32_t> selection = SortedSelection(Manager);
  if (selection.empty()) return;
  const size_t count = Manager.Font().GlyphCount();
  // Everything is read and checked before the font changes.
  const TPasteSource source = ReadSource(Manager, Clipboard);
  std::vector<TPlannedOutline> outlines = PlanOutlines(Clipboard, selection, count);
  const std::vector<TPlannedMetrics> metrics = PlanMetrics(Clipboard, selection, count, source.Scale);

  Manager.RecordLevel("Paste Glyph Data", [&] {
    ApplyOutlines(Manager, outlines, source);
    ApplyMetrics(Manager, metrics);
  });
  Manager.Changed();
}

void PasteSpecialGlyphData(TTrueTypeFontManager& Manager, const TClipboardAccess& Clipboard,
                           const TPasteSpecialOptions& Options) {
  const std::vector<int32_t> before = SortedSelection(Manager);
  if (before.empty()) return;
  TTrueTypeFont& font = Manager.Font();
  const size_t count = font.GlyphCount();

  const TPasteSource source = ReadSource(Manager, Clipboard);
  std::vector<int32_t> sources;
  if (Clipboard.HasFormat(clipfmt::GlyphSelection))
    sources = DecodeGlyphSelection(Clipboard.Data(clipfmt::GlyphSelection));
  std::vector<int32_t> selection;
  for (size_t j = 0; j < sources.size(); ++j) {
    const int32_t d = PasteDestination(before, j, count);
    if (d < 0) break;
    selection.push_back(d);
  }

  std::vector<TPlannedOutline> outlines;
  if (Options.Outlines) outlines = PlanOutlines(Clipboard, selection, count);
  std::vector<TPlannedMetrics> metrics;
  if (Options.Metrics) metrics = PlanMetrics(Clipboard, selection, count, source.Scale);
  std::vector<TClipboardName> names;
  TTablePost* post = font.Post();
  if (Options.Names && post && post->HasGlyphNames() && Clipboard.HasFormat(clipfmt::GlyphNames))
    names = DecodeGlyphNames(Clipboard.Data(clipfmt::GlyphNames));
  std::vector<TClipboardGlyphMappings> mappings;
  TTableCmap* cmap = font.Cmap();
  if (Options.Mappings && cmap && Clipboard.HasFormat(clipfmt::GlyphMappings))
    mappings = DecodeGlyphMappings(Clipboard.Data(clipfmt::GlyphMappings));

  Manager.RecordLevel("Paste Special Glyph Data", [&] {
    Manager.SelectedGlyphs().Clear();
    for (int32_t g : selection) Manager.SelectedGlyphs().SetSelected(g, true);
    if (!outlines.empty()) ApplyOutlines(Manager, outlines, source);
    ApplyMetrics(Manager, metrics);

    if (!names.empty()) {
      TMemoryStream& s =
          Manager.History().AddUndoItem([&Manager](TUndoRedoRepeatItem&, TStream& S) { SwapNames(Manager, S); });
      TCountPatch patch(s);
      size_t done = 0;
      for (size_t j = 0; j < names.size(); ++j) {
        const int32_t d = PasteDestination(selection, j, count);
        if (d < 0) break;
        if (size_t(d) >= post->NameCount()) continue;
        WriteUInt16(s, uint16_t(d));
        WriteShortString(s, post->GetName(size_t(d)));
        patch.Finish(++done);
        post->SetName(size_t(d), names[j].Name);
      }
    }

    if (!mappings.empty()) {
      TTableCmap copy;
      const std::vector<uint8_t> original = CmapBytes(*cmap);
      LoadCmap(copy, original);
      for (size_t j = 0; j < mappings.size(); ++j) {
        const int32_t d = PasteDestination(selection, j, count);
        if (d < 0) break;
        // The cmap's own reader applies the three modes to one glyph.
        TMemoryStream entry;
        WriteUInt16(entry, uint16_t(mappings[j].Mappings.size()));
        for (const TClipboardMapping& m : mappings[j].Mappings) {
          WriteUInt16(entry, m.PlatformID);
          WriteUInt16(entry, m.EncodingID);
          WriteUInt32(entry, m.CharCode);
        }
        entry.Seek(0);
        copy.SubTables.ReadMappingsWithIDs(entry, uint16_t(d), uint32_t(count), int(Options.MappingMode));
      }
      const std::vector<uint8_t> changed = CmapBytes(copy);
      if (changed != original) {
        TMemoryStream& s =
            Manager.History().AddUndoItem([&Manager](TUndoRedoRepeatItem&, TStream& S) { SwapCmap(Manager, S); });
        s.Write(original.data(), original.size());
        LoadCmap(*cmap, changed);
        Manager.EditWindows().AllGlyphsChanged();
      }
    }
  });
  Manager.Changed();
}

std::vector<int32_t> SelectedContours(const TTrueTypeFontManager& Manager, TSelectedGlyphEditWindowList::TWindow W,
                                      int32_t G) {
  std::vector<int32_t> out;
  if (G < 0 || size_t(G) >= Manager.Font().GlyphCount()) return out;
  const auto* simple = dynamic_cast<const TOutlineSimple*>(Manager.Font().Outlines.Items(size_t(G)));
  if (!simple) return out;
  TContourSelection sel;
  Manager.EditWindows().GetContours(W, G, sel);
  for (int i = 0; i < sel.Count(); ++i) {
    const int32_t c = sel.Items(i);
    if (c >= 0 && size_t(c) < simple->Contours.size()) out.push_back(c);
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

bool CanCopyContours(const TTrueTypeFontManager& Manager, TSelectedGlyphEditWindowList::TWindow W, int32_t G) {
  return Manager.EditWindows().GetEditMode(W, G) == emContour && !SelectedContours(Manager, W, G).empty();
}

void CopyContours(const TTrueTypeFontManager& Manager, TSelectedGlyphEditWindowList::TWindow W, int32_t G,
                  TClipboardAccess& Clipboard) {
  const std::vector<int32_t> selected = SelectedContours(Manager, W, G);
  if (selected.empty()) return;
  const auto* simple = static_cast<const TOutlineSimple*>(Manager.Font().Outlines.Items(size_t(G)));
  std::vector<const TContour*> contours;
  for (int32_t c : selected) contours.push_back(&simple->Contours[size_t(c)]);
  Clipboard.Put("Glyph Contours", {{clipfmt::ContourData, EncodeContours(contours)}});
}

namespace {

int KindOf(const TTrueTypeFontManager& M, int32_t G) {
  if (G < 0 || size_t(G) >= M.Font().GlyphCount()) return -1;
  return M.Font().Outlines.Items(size_t(G))->GetKind();
}

}  // namespace

bool CanPasteContours(const TTrueTypeFontManager& Manager, int32_t G, const TClipboardAccess& Clipboard) {
  const int kind = KindOf(Manager, G);
  return (kind == okSimple || kind == okEmpty) && Clipboard.HasFormat(clipfmt::ContourData);
}

void PasteContoursFromClipboard(TTrueTypeFontManager& Manager, int32_t G, const TClipboardAccess& Clipboard) {
  if (!CanPasteContours(Manager, G, Clipboard)) return;
  const std::vector<TContour> contours = DecodeContours(Clipboard.Data(clipfmt::ContourData));
  Manager.PasteContours(G, contours);
}

void CutContoursToClipboard(TTrueTypeFontManager& Manager, TSelectedGlyphEditWindowList::TWindow W, int32_t G,
                            TClipboardAccess& Clipboard) {
  if (!CanCopyContours(Manager, W, G)) return;
  Manager.CutContours(G, [&](TTrueTypeFontManager& M, int Glyph) { CopyContours(M, W, Glyph, Clipboard); });
}

bool CanPasteGlyphsAsMembers(const TTrueTypeFontManager& Manager, int32_t G, const TClipboardAccess& Clipboard) {
  const int kind = KindOf(Manager, G);
  if (kind != okComposite && kind != okEmpty) return false;
  if (!Clipboard.HasFormat(clipfmt::FontIdentification) || !Clipboard.HasFormat(clipfmt::GlyphSelection)) return false;
  try {
    return DecodeFontIdentity(Clipboard.Data(clipfmt::FontIdentification)).Id == Manager.Font().FontIdentification;
  } catch (const EClipboardData&) {
    return false;
  }
}

void PasteGlyphsAsMembersFromClipboard(TTrueTypeFontManager& Manager, int32_t G, const TClipboardAccess& Clipboard) {
  if (!CanPasteGlyphsAsMembers(Manager, G, Clipboard)) return;
  // Indices at or beyond the glyph count name glyphs deleted since the copy.
  std::vector<int32_t> glyphs = DecodeGlyphSelection(Clipboard.Data(clipfmt::GlyphSelection));
  std::erase_if(glyphs, [&](int32_t g) { return size_t(g) >= Manager.Font().GlyphCount(); });
  if (!glyphs.empty()) Manager.PasteGlyphsAsMembers(G, glyphs);
}

}  // namespace tsy
