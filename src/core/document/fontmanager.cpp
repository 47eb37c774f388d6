// The document manager: owned objects, notifications, undo batches, the
// overview selection helpers, glyph shifting and the save-time commands.
#include "document/fontmanager.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <fstream>
#include <set>

#include "common/numeric.h"
#include "document/tablesnapshot.h"
#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hhea.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/name.h"
#include "settings/registrysettings.h"

namespace tsy {

namespace {

// Whether a debugger is attached: undo captions then show level sizes.
bool DebuggerAttached() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("TracerPid:", 0) == 0) return std::atoi(line.c_str() + 10) != 0;
  return false;
}

int64_t LocalSecondsSince1904() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  time_t seconds = now.tv_sec + (now.tv_nsec >= 500000000 ? 1 : 0);
  tm local{};
  localtime_r(&seconds, &local);
  // Days from 1904-01-01 to the local date, by the civil calendar.
  auto daysFromCivil = [](int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
  };
  const int64_t days = daysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) - daysFromCivil(1904, 1, 1);
  return days * 86400 + local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

TFloatRect Union(const TFloatRect& A, const TFloatRect& B) {
  return {std::min(A.XMin, B.XMin), std::min(A.YMin, B.YMin), std::max(A.XMax, B.XMax), std::max(A.YMax, B.YMax)};
}

}  // namespace

TTrueTypeFontManager::TTrueTypeFontManager()
    : Clock(LocalSecondsSince1904), FEditWindows([this](int32_t G) { return GlyphUsers(G); }) {
  FHistory.SetDebugging(DebuggerAttached());
}

// Members go in reverse order of creation: the edit-window list first, the
// font it was created on last.
TTrueTypeFontManager::~TTrueTypeFontManager() = default;

void TTrueTypeFontManager::SetFileName(const std::string& Name) {
  if (Name == FFileName) return;
  FFileName = Name;
  if (OnFileNameChange) OnFileNameChange(*this, FFileName);
}

void TTrueTypeFontManager::Changed() {
  if (OnChange) OnChange(*this);
}

template <class Step>
void TTrueTypeFontManager::RunSteps(int Count, Step&& S) {
  if (OnBeforeUndo) OnBeforeUndo(*this);
  try {
    for (int i = 0; i < Count; ++i) S();
  } catch (...) {
    if (OnAfterUndo) OnAfterUndo(*this);
    throw;
  }
  if (OnAfterUndo) OnAfterUndo(*this);
}

void TTrueTypeFontManager::Undo(int Count) {
  RunSteps(Count, [this] { FHistory.Undo(); });
}

void TTrueTypeFontManager::Redo(int Count) {
  RunSteps(Count, [this] { FHistory.Redo(); });
}

void TTrueTypeFontManager::Repeat(int Count) {
  RunSteps(Count, [this] { FHistory.Repeat(); });
}

// ---------------------------------------------------------------------------
// Overview selection

void TTrueTypeFontManager::SelectAllGlyphs(bool Flag) {
  const int n = int(FFont.GlyphCount());
  if (n == 0) return;
  std::vector<int32_t> all;
  if (Flag) {
    all.resize(size_t(n));
    for (int g = 0; g < n; ++g) all[size_t(g)] = g;
  }
  FSelectedGlyphs.Replace(std::move(all));
  Changed();
}

void TTrueTypeFontManager::InvertSelection() {
  const int n = int(FFont.GlyphCount());
  std::vector<int32_t> inverted;
  for (int g = 0; g < n; ++g)
    if (!FSelectedGlyphs.IsSelected(g)) inverted.push_back(g);
  FSelectedGlyphs.Replace(std::move(inverted));
  Changed();
}

std::vector<bool> TTrueTypeFontManager::BlankGlyphs() const {
  std::vector<bool> blank(FFont.GlyphCount(), false);
  const TTableCmap* cmap = FindTyped<TTableCmap>(FFont, "cmap");
  if (!cmap) return blank;
  auto mark = [&](const TCmapEncodingTableEntry* Entry, auto IsBlank) {
    if (!Entry || !Entry->SubTable) return;
    for (const auto& m : Entry->SubTable->Mappings.All())
      if (IsBlank(m.CharCode) && m.GlyphIndex < blank.size()) blank[m.GlyphIndex] = true;
  };
  mark(cmap->SubTables.Find(1, 0), [](uint32_t C) { return C <= 32; });
  mark(cmap->SubTables.Find(3, 1), [](uint32_t C) {
    return C == 0x0020 || C == 0x00A0 || C == 0x1680 || (C >= 0x2000 && C <= 0x2011) ||
           (C >= 0x2028 && C <= 0x202F) || (C >= 0x205F && C <= 0x2063) || C == 0x3000 || C == 0xFEFF;
  });
  return blank;
}

void TTrueTypeFontManager::SelectIncomplete() {
  const std::vector<bool> blank = BlankGlyphs();
  std::vector<int32_t> incomplete;
  for (size_t g = 0; g < FFont.GlyphCount(); ++g)
    if (FFont.Outlines.Items(g)->GetKind() == okEmpty && !blank[g]) incomplete.push_back(int32_t(g));
  FSelectedGlyphs.Replace(std::move(incomplete));
  Changed();
}

void TTrueTypeFontManager::FillPlatformInformation() {
  std::vector<TEncodingEntry> namePairs, cmapPairs;
  if (const TTableName* name = FindTyped<TTableName>(FFont, "name"))
    for (size_t i = 0; i < name->PlatformCount(); ++i)
      namePairs.push_back({name->Platform(i).PlatformID, name->Platform(i).EncodingID});
  if (const TTableCmap* cmap = FindTyped<TTableCmap>(FFont, "cmap"))
    for (size_t i = 0; i < cmap->SubTables.Count(); ++i)
      cmapPairs.push_back({cmap->SubTables.Items(i).PlatformID, cmap->SubTables.Items(i).EncodingID});
  FPlatformInformation.Build(namePairs, cmapPairs);
}

// ---------------------------------------------------------------------------
// Glyph helpers

std::vector<int32_t> TTrueTypeFontManager::GlyphUsers(int32_t G) const {
  std::set<int32_t> users;
  std::vector<int32_t> frontier{G};
  const int n = int(FFont.GlyphCount());
  while (!frontier.empty()) {
    const int32_t used = frontier.back();
    frontier.pop_back();
    for (int i = 0; i < n; ++i)
      if (i != G && FFont.Outlines.Items(size_t(i))->ReferencesGlyph(used) && users.insert(i).second)
        frontier.push_back(i);
  }
  return {users.begin(), users.end()};
}

bool TTrueTypeFontManager::HasGlyphInstructions() const { return FFont.HasGlyphInstructions(); }

std::string TTrueTypeFontManager::GlyphIndexText(int G) const {
  bool hex = true;
  if (TRegistrySettings* settings = TRegistrySettings::AccessInstance(0)) hex = settings->ValueHexadecimal();
  return hex ? Format("$%.4x", G) : Format("%d", G);
}

std::string TTrueTypeFontManager::GlyphUndoName(int G, const std::string& Suffix) const {
  return "Glyph " + GlyphIndexText(G) + " - " + Suffix;
}

void TTrueTypeFontManager::SetTransformOrigin(int G, int Anchor) {
  const TFloatRect f = FEditWindows.GetSelectionFrame(nullptr, G);
  const int column = Anchor % 3, row = Anchor / 3;
  const double x = column == 0 ? f.XMin : column == 1 ? (f.XMin + f.XMax) / 2 : f.XMax;
  const double y = row == 0 ? f.YMax : row == 1 ? (f.YMin + f.YMax) / 2 : f.YMin;
  FEditWindows.StoreTransformOrigin(nullptr, G, {x, y});
}

void TTrueTypeFontManager::UpdateSelectionFrame(int G) {
  if (!FEditWindows.HasEntry(G) || G < 0 || size_t(G) >= FFont.GlyphCount()) return;
  const TOutlineBase* outline = FFont.Outlines.Items(size_t(G));
  if (const auto* simple = dynamic_cast<const TOutlineSimple*>(outline)) {
    TContourSelection sel;
    FEditWindows.GetContours(nullptr, G, sel);
    bool any = false;
    TFloatRect frame;
    for (int k = 0; k < sel.Count(); ++k) {
      const int32_t c = sel.Items(k);
      if (c < 0 || size_t(c) >= simple->Contours.size()) continue;
      const TFloatRect r = simple->Contours[size_t(c)].GetPointBounds();
      frame = any ? Union(frame, r) : r;
      any = true;
    }
    if (any) FEditWindows.SetSelectionFrame(nullptr, G, frame);
  } else if (const auto* composite = dynamic_cast<const TOutlineComposite*>(outline)) {
    TGlyphSelection sel;
    FEditWindows.GetMembers(nullptr, G, sel);
    bool any = false;
    TFloatRect frame;
    for (int k = 0; k < sel.Count(); ++k) {
      const int32_t m = sel.Items(k);
      if (m < 0 || size_t(m) >= composite->Members.size()) continue;
      TOutlineContours contours;
      composite->AddMemberContours(contours, size_t(m), TOutlineTransform{});
      const TFloatRect r = GetPointBounds(contours);
      frame = any ? Union(frame, r) : r;
      any = true;
    }
    if (any) FEditWindows.SetMemberFrame(nullptr, G, frame);
  }
  SetTransformOrigin(G, 4);
}

void TTrueTypeFontManager::ShiftGlyph(int G, double Dx) {
  TOutlineBase* outline = FFont.Outlines.Items(size_t(G));
  if (auto* simple = dynamic_cast<TOutlineSimple*>(outline)) {
    for (TContour& c : simple->Contours)
      for (TTrueTypePoint& p : c.Points) p.X += Dx;
  } else if (auto* composite = dynamic_cast<TOutlineComposite*>(outline)) {
    for (TCompositeMember& m : composite->Members) m.OffsetX += Dx;
  } else if (TTableHmtx* hmtx = FFont.Hmtx(); hmtx && size_t(G) < hmtx->Metrics.size()) {
    // Nothing to move: the origin moves instead, as the bearing.
    hmtx->SetLeftSideBearing(G, int64_t(hmtx->LeftSideBearing(G)) - RoundHalfUp(Dx));
  }
  UpdateSelectionFrame(G);
  for (size_t i = 0; i < FFont.GlyphCount(); ++i)
    if (auto* user = dynamic_cast<TOutlineComposite*>(FFont.Outlines.Items(i)))
      for (TCompositeMember& m : user->Members)
        if (m.GlyphIndex == G) {
          // The member's points moved by Dx before its transform: take back
          // what the transform made of that move, not just Dx, so scaled and
          // mirrored members stay in place too.
          double fx = 1, fy = 1;  // how the record's offsets are scaled on use
          const bool scaled = m.ScaleX != 1 || m.ScaleY != 1 || m.Scale01 != 0 || m.Scale10 != 0;
          if (scaled && m.ScaledComponentOffset && !m.UnscaledComponentOffset) {
            fx = std::hypot(m.ScaleX, m.Scale10);
            fy = std::hypot(m.ScaleY, m.Scale01);
          }
          if (fx != 0) m.OffsetX -= m.ScaleX * Dx / fx;
          if (fy != 0) m.OffsetY -= m.Scale01 * Dx / fy;
        }
}

// ---------------------------------------------------------------------------
// Automatic removal of a glyph's hinting

bool TTrueTypeFontManager::RemoveGlyphHintingIfNeeded(int G) {
  TOutlineBase* outline = FFont.Outlines.Items(size_t(G));
  if (!outline->HasInstructions()) return false;
  RecordLevel(GlyphUndoName(G, "Remove Hinting"), [&] {
    TMemoryStream& s =
        FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { RestoreGlyphInstructions(S); });
    WriteUInt16(s, CheckedUInt16(G, "glyph index"));
    outline->WriteInstructions(s);
    outline->ClearInstructions();
  });
  return true;
}

void TTrueTypeFontManager::RestoreGlyphInstructions(TStream& Data) {
  const int g = ReadUInt16(Data);
  if (size_t(g) >= FFont.GlyphCount()) throw EStreamError(Format("Glyph index %d out of range", g));
  WriteUInt16(
      FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { RemoveGlyphInstructionsAgain(S); }),
      uint16_t(g));
  FFont.Outlines.Items(size_t(g))->ReadInstructions(Data);
  FEditWindows.GlyphChanged(g);
  Changed();
}

void TTrueTypeFontManager::RemoveGlyphInstructionsAgain(TStream& Data) {
  const int g = ReadUInt16(Data);
  if (size_t(g) >= FFont.GlyphCount()) throw EStreamError(Format("Glyph index %d out of range", g));
  TOutlineBase* outline = FFont.Outlines.Items(size_t(g));
  TMemoryStream& s =
      FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { RestoreGlyphInstructions(S); });
  WriteUInt16(s, uint16_t(g));
  outline->WriteInstructions(s);
  outline->ClearInstructions();
  FEditWindows.GlyphChanged(g);
  Changed();
}

// ---------------------------------------------------------------------------
// Save-time commands

void TTrueTypeFontManager::SetLeftSideBearingAtX0() {
  TTableHmtx* hmtx = FFont.Hmtx();
  RecordLevel("Set Left Side Bearing at x=0", [&] {
    // Bringing the boxes up to date replaces boxes a file may carry that do
    // not match the points. Those go into an item of their own, recorded
    // first so that undo restores them after the shifts are taken back:
    // undoing then gives back the font exactly as it was.
    TMemoryStream& boxes = FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { SwapBounds(S); });
    TMemoryStream& s = FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { UndoShiftGlyphs(S); });
    TMemoryStream stale;
    uint16_t staleCount = 0;
    for (size_t g = 0; g < FFont.GlyphCount(); ++g) {
      TOutlineBase* outline = FFont.Outlines.Items(g);
      const TFloatRect stored = outline->Bounds;
      outline->UpdateBounds();
      if (!(outline->Bounds == stored)) {
        WriteUInt16(stale, uint16_t(g));
        WriteFloatRect(stale, stored);
        ++staleCount;
      }
      double d = 0;
      if (hmtx && g < hmtx->Metrics.size()) d = outline->Bounds.XMin - hmtx->LeftSideBearing(int(g));
      if (d != 0) {
        ShiftGlyph(int(g), -d);
        outline->UpdateBounds();
      }
      WriteDouble(s, d);
    }
    WriteUInt16(boxes, staleCount);
    boxes.Write(stale.Memory(), size_t(stale.Size()));
  });
  Changed();
  FEditWindows.AllGlyphsChanged();
}

void TTrueTypeFontManager::SwapBounds(TStream& Data) {
  TMemoryStream& s = FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { SwapBounds(S); });
  const uint16_t n = ReadUInt16(Data);
  WriteUInt16(s, n);
  for (uint16_t k = 0; k < n; ++k) {
    const int g = ReadUInt16(Data);
    if (size_t(g) >= FFont.GlyphCount()) throw EStreamError(Format("Glyph index %d out of range", g));
    TOutlineBase* outline = FFont.Outlines.Items(size_t(g));
    WriteUInt16(s, uint16_t(g));
    WriteFloatRect(s, outline->Bounds);
    outline->Bounds = ReadFloatRect(Data);
  }
}

void TTrueTypeFontManager::UndoShiftGlyphs(TStream& Data) {
  TMemoryStream& s = FHistory.AddUndoItem([this](TUndoRedoRepeatItem&, TStream& S) { UndoShiftGlyphs(S); });
  const size_t n = std::min<size_t>(FFont.GlyphCount(), size_t(Data.Remaining() / 8));
  for (size_t g = 0; g < n; ++g) {
    const double d = ReadDouble(Data);
    WriteDouble(s, -d);
    if (d != 0) ShiftGlyph(int(g), d);
    FFont.Outlines.Items(g)->UpdateBounds();
  }
  Changed();
  FEditWindows.AllGlyphsChanged();
}

bool TTrueTypeFontManager::UpdateModifiedDateTime() {
  TTableHead* head = FFont.Head();
  if (!head) return false;
  const int64_t now = Clock ? Clock() : LocalSecondsSince1904();
  if (now == head->modified) return false;
  RecordLevel("Update Modified DateTime field", [&] {
    RecordState(TSnapshotKind::Table, "head", TNotify::None);
    head->modified = now;
  });
  return true;
}

void TTrueTypeFontManager::RunSaveTimeCommands(TRegistrySettings& Settings) {
  if (Settings.SetLeftSideBearingPointAtX0()) SetLeftSideBearingAtX0();
  if (Settings.UpdateModifiedDateTimeField()) UpdateModifiedDateTime();
}

}  // namespace tsy
