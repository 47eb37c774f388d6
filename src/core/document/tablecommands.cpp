// The table commands of the document manager.
//
// Each command hands working copies to the editor, turns the edited copies
// into the snapshot form the live tables would have afterwards, and records
// only when that differs from the live tables' own snapshot. Applying a
// snapshot is the same routine for the command and for its undo handler, so
// a change and its undo can never disagree about what a snapshot means.
#include <algorithm>

#include "document/fontmanager.h"
#include "document/tablesnapshot.h"
#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/gasp.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hhea.h"
#include "fontfile/tables/kern.h"
#include "fontfile/tables/name.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/pclt.h"
#include "fontfile/tables/post.h"

namespace tsy {

// ---------------------------------------------------------------------------
// Snapshot helpers

namespace {

uint32_t SizeField(size_t Size) {
  if (Size > UINT32_MAX) throw ERangeError("Snapshot larger than 4 GB");
  return uint32_t(Size);
}

}  // namespace

std::vector<uint8_t> TableBytes(const TFontTable& Table) {
  TMemoryStream m;
  Table.SaveToStream(m);
  return m.Bytes();
}

void LoadTableBytes(TFontTable& Table, const uint8_t* Data, size_t Size) {
  TReadOnlyStream window(Data, Size);
  Table.LoadFromStream(window);
}

std::unique_ptr<TFontTable> CreateTableForTag(const std::string& Tag) {
  if (Tag == "gasp") return std::make_unique<TTableGasp>();
  if (Tag == "kern") return std::make_unique<TTableKern>();
  if (Tag == "PCLT") return std::make_unique<TTablePCLT>();
  if (Tag == "cmap") return std::make_unique<TTableCmap>();
  if (Tag == "name") return std::make_unique<TTableName>();
  if (Tag == "post") return std::make_unique<TTablePost>();
  if (Tag == "OS/2") return std::make_unique<TTableOS_2>();
  if (Tag == "head") return std::make_unique<TTableHead>();
  if (Tag == "hhea") return std::make_unique<TTableHhea>();
  if (Tag == "cvt " || Tag == "prep" || Tag == "fpgm") return std::make_unique<TTableHinting>(Tag);
  return std::make_unique<TTableUnknown>(Tag);
}

std::vector<uint8_t> ReadRest(TStream& S) {
  std::vector<uint8_t> b(size_t(S.Remaining()));
  if (!b.empty()) S.ReadExact(b.data(), b.size());
  return b;
}

void WritePiece(TStream& S, const std::vector<uint8_t>& Bytes) {
  WriteUInt32(S, SizeField(Bytes.size()));
  if (!Bytes.empty()) S.Write(Bytes.data(), Bytes.size());
}

std::vector<uint8_t> ReadPiece(TStream& S) {
  const uint32_t n = ReadUInt32(S);
  if (n > S.Remaining()) throw EStreamError("Snapshot piece longer than its stream");
  std::vector<uint8_t> b(n);
  if (n) S.ReadExact(b.data(), n);
  return b;
}

namespace {

// The post header fields the font settings edit: everything but the format,
// which decides whether glyph names are stored and belongs to the names.
constexpr size_t kPostSettingsSize = 28;

std::vector<uint8_t> PostSettingsBytes(const TTablePost& Post) {
  TMemoryStream m;
  WriteFixed(m, Post.italicAngle);
  WriteInt16(m, Post.underlinePosition);
  WriteInt16(m, Post.underlineThickness);
  WriteUInt32(m, Post.isFixedPitch);
  WriteUInt32(m, Post.minMemType42);
  WriteUInt32(m, Post.maxMemType42);
  WriteUInt32(m, Post.minMemType1);
  WriteUInt32(m, Post.maxMemType1);
  return m.Bytes();
}

void LoadPostSettings(TTablePost& Post, const std::vector<uint8_t>& Bytes) {
  if (Bytes.size() != kPostSettingsSize) throw EStreamError("Damaged post settings snapshot");
  TReadOnlyStream s(Bytes.data(), Bytes.size());
  Post.italicAngle = ReadFixed(s);
  Post.underlinePosition = ReadInt16(s);
  Post.underlineThickness = ReadInt16(s);
  Post.isFixedPitch = ReadUInt32(s);
  Post.minMemType42 = ReadUInt32(s);
  Post.maxMemType42 = ReadUInt32(s);
  Post.minMemType1 = ReadUInt32(s);
  Post.maxMemType1 = ReadUInt32(s);
}

// The snapshot of a table the font may lack: its file form, or nothing.
std::vector<uint8_t> LiveBytes(const TTrueTypeFont& Font, const std::string& Tag) {
  const TFontTable* t = Font.FindTable(Tag);
  return t ? TableBytes(*t) : std::vector<uint8_t>{};
}

// What an edited copy of Tag means for the font: its file form when the font
// has the table or the copy differs from a new table; nothing otherwise, so
// an untouched copy of an absent table creates nothing.
std::vector<uint8_t> CopyBytes(const TTrueTypeFont& Font, const std::string& Tag, const TFontTable& Copy) {
  std::vector<uint8_t> bytes = TableBytes(Copy);
  if (!Font.FindTable(Tag) && bytes == TableBytes(*CreateTableForTag(Tag))) bytes.clear();
  return bytes;
}

template <class T>
void CopyOrDefault(const TTrueTypeFont& Font, const char* Tag, T& Copy) {
  if (const TFontTable* live = Font.FindTable(Tag)) Copy.Assign(*live);
}

}  // namespace

// ---------------------------------------------------------------------------
// Snapshot kinds: what each command's undo item holds and how it is applied.

std::vector<uint8_t> TTrueTypeFontManager::CurrentState(TSnapshotKind Kind, const std::string& Tag) const {
  switch (Kind) {
    case TSnapshotKind::Table: return LiveBytes(FFont, Tag);
    case TSnapshotKind::Platforms: {
      // A 4-byte offset of the name part from the start, cmap, then name.
      const std::vector<uint8_t> cmap = LiveBytes(FFont, "cmap"), name = LiveBytes(FFont, "name");
      TMemoryStream m;
      WriteUInt32(m, SizeField(4 + cmap.size()));
      if (!cmap.empty()) m.Write(cmap.data(), cmap.size());
      if (!name.empty()) m.Write(name.data(), name.size());
      return m.Bytes();
    }
    case TSnapshotKind::FontSettings: {
      TMemoryStream m;
      WritePiece(m, LiveBytes(FFont, "OS/2"));
      WritePiece(m, LiveBytes(FFont, "head"));
      WritePiece(m, LiveBytes(FFont, "hhea"));
      const auto* post = FindTyped<TTablePost>(FFont, "post");
      WritePiece(m, post ? PostSettingsBytes(*post) : std::vector<uint8_t>{});
      return m.Bytes();
    }
  }
  return {};
}

void TTrueTypeFontManager::ApplyTableBytes(const std::string& Tag, const std::vector<uint8_t>& Bytes) {
  TFontTable* live = FFont.FindTable(Tag);
  if (Bytes.empty()) {
    if (live) FFont.RemoveTable(Tag);
    return;
  }
  if (live) {
    LoadTableBytes(*live, Bytes);
    return;
  }
  // Read first, add after: a snapshot that fails to read adds nothing.
  std::unique_ptr<TFontTable> table = CreateTableForTag(Tag);
  LoadTableBytes(*table, Bytes);
  FFont.AddTable(std::move(table));
}

void TTrueTypeFontManager::ApplyState(TSnapshotKind Kind, const std::string& Tag, const std::vector<uint8_t>& Bytes) {
  switch (Kind) {
    case TSnapshotKind::Table: ApplyTableBytes(Tag, Bytes); return;
    case TSnapshotKind::Platforms: {
      TReadOnlyStream s(Bytes.data(), Bytes.size());
      const uint32_t offset = ReadUInt32(s);
      if (Bytes.size() < 4 || offset < 4 || offset > Bytes.size())
        throw EStreamError("Damaged platform snapshot");
      ApplyTableBytes("cmap", std::vector<uint8_t>(Bytes.begin() + 4, Bytes.begin() + offset));
      ApplyTableBytes("name", std::vector<uint8_t>(Bytes.begin() + offset, Bytes.end()));
      return;
    }
    case TSnapshotKind::FontSettings: {
      TReadOnlyStream s(Bytes.data(), Bytes.size());
      const std::vector<uint8_t> os2 = ReadPiece(s), head = ReadPiece(s), hhea = ReadPiece(s), post = ReadPiece(s);
      ApplyTableBytes("OS/2", os2);
      ApplyTableBytes("head", head);
      ApplyTableBytes("hhea", hhea);
      auto* live = FindTyped<TTablePost>(FFont, "post");
      if (post.empty()) {
        if (live) FFont.RemoveTable("post");
      } else if (live) {
        LoadPostSettings(*live, post);
      } else {
        auto table = std::make_unique<TTablePost>();
        LoadPostSettings(*table, post);
        FFont.AddTable(std::move(table));
      }
      return;
    }
  }
}

TUndoRedoHandler TTrueTypeFontManager::StateHandler(TSnapshotKind Kind, const std::string& Tag, TNotify Notify) {
  return [this, Kind, Tag, Notify](TUndoRedoRepeatItem&, TStream& Data) {
    const std::vector<uint8_t> bytes = ReadRest(Data);
    const std::vector<uint8_t> current = CurrentState(Kind, Tag);
    TMemoryStream& s = FHistory.AddUndoItem(StateHandler(Kind, Tag, Notify));
    if (!current.empty()) s.Write(current.data(), current.size());
    ApplyState(Kind, Tag, bytes);
    NotifyAfter(Notify);
  };
}

void TTrueTypeFontManager::NotifyAfter(TNotify Notify) {
  if (Notify == TNotify::None) return;
  Changed();
  if (Notify == TNotify::ChangedAndWindows) FEditWindows.AllGlyphsChanged();
}

void TTrueTypeFontManager::RecordState(TSnapshotKind Kind, const std::string& Tag, TNotify Notify) {
  const std::vector<uint8_t> current = CurrentState(Kind, Tag);
  TMemoryStream& s = FHistory.AddUndoItem(StateHandler(Kind, Tag, Notify));
  if (!current.empty()) s.Write(current.data(), current.size());
}

bool TTrueTypeFontManager::CommitState(TSnapshotKind Kind, const std::string& Tag, const std::string& UndoName,
                                       const std::vector<uint8_t>& Target, TNotify Notify) {
  if (Target == CurrentState(Kind, Tag)) return false;
  RecordLevel(UndoName, [&] {
    RecordState(Kind, Tag, Notify);
    ApplyState(Kind, Tag, Target);
  });
  NotifyAfter(Notify);
  return true;
}

// ---------------------------------------------------------------------------
// The commands

bool TTrueTypeFontManager::EditGrayscale(TFontTableEditor& Editor) {
  TTableGasp copy;
  CopyOrDefault(FFont, "gasp", copy);
  if (!Editor.EditGrayscale(*this, copy)) return false;
  const std::vector<uint8_t> target = copy.RangeCount() > 0 ? TableBytes(copy) : std::vector<uint8_t>{};
  return CommitState(TSnapshotKind::Table, "gasp", "Edit Grayscale", target, TNotify::None);
}

bool TTrueTypeFontManager::EditKerning(TFontTableEditor& Editor) {
  TTableKern copy;
  CopyOrDefault(FFont, "kern", copy);
  if (!Editor.EditKerning(*this, copy)) return false;
  const std::vector<uint8_t> target = copy.IsEmpty() ? std::vector<uint8_t>{} : TableBytes(copy);
  return CommitState(TSnapshotKind::Table, "kern", "Edit Kerning", target, TNotify::None);
}

bool TTrueTypeFontManager::EditPCL5(TFontTableEditor& Editor) {
  TTablePCLT copy;
  CopyOrDefault(FFont, "PCLT", copy);
  bool include = FFont.FindTable("PCLT") != nullptr;
  if (!Editor.EditPCL5(*this, copy, include)) return false;
  const std::vector<uint8_t> target = include ? TableBytes(copy) : std::vector<uint8_t>{};
  return CommitState(TSnapshotKind::Table, "PCLT", "Edit PCL5", target, TNotify::None);
}

bool TTrueTypeFontManager::EditNaming(TFontTableEditor& Editor) {
  TTableName copy;
  CopyOrDefault(FFont, "name", copy);
  FillPlatformInformation();
  if (!Editor.EditNaming(*this, copy)) return false;
  return CommitState(TSnapshotKind::Table, "name", "Edit Naming", CopyBytes(FFont, "name", copy), TNotify::None);
}

bool TTrueTypeFontManager::EditCharacterMappings(TFontTableEditor& Editor) {
  TTableCmap copy;
  CopyOrDefault(FFont, "cmap", copy);
  FillPlatformInformation();
  if (!Editor.EditCharacterMappings(*this, copy)) return false;
  return CommitState(TSnapshotKind::Table, "cmap", "Edit Character Mappings", CopyBytes(FFont, "cmap", copy),
                     TNotify::Changed);
}

bool TTrueTypeFontManager::EditPostscriptNames(TFontTableEditor& Editor) {
  TTablePost copy;
  CopyOrDefault(FFont, "post", copy);
  bool recorded = false;
  // The overview shows the names, so it is told in every case.
  try {
    if (Editor.EditPostscriptNames(*this, copy))
      recorded = CommitState(TSnapshotKind::Table, "post", "Edit Postscript Names", CopyBytes(FFont, "post", copy),
                             TNotify::None);
  } catch (...) {
    Changed();
    throw;
  }
  Changed();
  return recorded;
}

bool TTrueTypeFontManager::EditPlatforms(TFontTableEditor& Editor) {
  TTableCmap cmap;
  TTableName name;
  CopyOrDefault(FFont, "cmap", cmap);
  CopyOrDefault(FFont, "name", name);
  FillPlatformInformation();
  if (!Editor.EditPlatforms(*this, cmap, name)) return false;
  const std::vector<uint8_t> c = CopyBytes(FFont, "cmap", cmap), n = CopyBytes(FFont, "name", name);
  TMemoryStream target;
  WriteUInt32(target, SizeField(4 + c.size()));
  if (!c.empty()) target.Write(c.data(), c.size());
  if (!n.empty()) target.Write(n.data(), n.size());
  return CommitState(TSnapshotKind::Platforms, {}, "Edit Platforms", target.Bytes(), TNotify::Changed);
}

bool TTrueTypeFontManager::EditFontSettings(TFontTableEditor& Editor) {
  TTableOS_2 os2;
  TTableHead head;
  TTableHhea hhea;
  TTablePost post;
  CopyOrDefault(FFont, "OS/2", os2);
  CopyOrDefault(FFont, "head", head);
  CopyOrDefault(FFont, "hhea", hhea);
  CopyOrDefault(FFont, "post", post);
  if (!Editor.EditFontSettings(*this, os2, head, hhea, post)) return false;
  TMemoryStream target;
  WritePiece(target, CopyBytes(FFont, "OS/2", os2));
  WritePiece(target, CopyBytes(FFont, "head", head));
  WritePiece(target, CopyBytes(FFont, "hhea", hhea));
  std::vector<uint8_t> postBytes = PostSettingsBytes(post);
  if (!FFont.FindTable("post") && postBytes == PostSettingsBytes(TTablePost())) postBytes.clear();
  WritePiece(target, postBytes);
  return CommitState(TSnapshotKind::FontSettings, {}, "Edit Font Settings", target.Bytes(),
                     TNotify::ChangedAndWindows);
}

void TTrueTypeFontManager::ShowFontInformation(TFontTableEditor& Editor) { Editor.ShowFontInformation(*this, FFileName); }

// ---------------------------------------------------------------------------
// Deleting tables and removing hinting

namespace {

void WriteShortTag(TStream& S, const std::string& Tag) {
  WriteUInt8(S, 4);
  const std::string t = (Tag + "    ").substr(0, 4);
  S.Write(t.data(), 4);
}

std::string ReadShortTag(TStream& S) {
  if (ReadUInt8(S) != 4 || S.Remaining() < 4) throw EStreamError("Damaged table tag in undo data");
  std::string t(4, ' ');
  S.ReadExact(t.data(), 4);
  return t;
}

bool IsHintingTag(const std::string& Tag) { return Tag == "cvt " || Tag == "prep" || Tag == "fpgm"; }

}  // namespace

TUndoRedoHandler TTrueTypeFontManager::ReAddHandler() {
  return [this](TUndoRedoRepeatItem&, TStream& Data) { ReAddTable(Data); };
}

TUndoRedoHandler TTrueTypeFontManager::RemoveAgainHandler() {
  return [this](TUndoRedoRepeatItem&, TStream& Data) { RemoveTableAgain(Data); };
}

TUndoRedoHandler TTrueTypeFontManager::InstructionsHandler() {
  return [this](TUndoRedoRepeatItem&, TStream& Data) { SwapAllInstructions(Data); };
}

void TTrueTypeFontManager::RecordAndRemoveTable(const std::string& Tag) {
  TFontTable* table = FFont.FindTable(Tag);
  TMemoryStream& s = FHistory.AddUndoItem(ReAddHandler());
  WriteShortTag(s, Tag);
  table->SaveToStream(s);
  FFont.RemoveTable(Tag);
}

void TTrueTypeFontManager::ReAddTable(TStream& Data) {
  const std::string tag = ReadShortTag(Data);
  std::unique_ptr<TFontTable> table;
  if (IsHintingTag(tag))
    table = std::make_unique<TTableHinting>(tag);
  else
    table = std::make_unique<TTableUnknown>(tag);
  table->LoadFromStream(Data);
  if (FFont.FindTable(tag)) FFont.RemoveTable(tag);
  FFont.AddTable(std::move(table));
  WriteShortTag(FHistory.AddUndoItem(RemoveAgainHandler()), tag);
  FEditWindows.AllGlyphsChanged();
}

void TTrueTypeFontManager::RemoveTableAgain(TStream& Data) {
  const std::string tag = ReadShortTag(Data);
  if (!FFont.FindTable(tag)) throw EStreamError(Format("Table %s is missing", tag.c_str()));
  RecordAndRemoveTable(tag);
  FEditWindows.AllGlyphsChanged();
}

void TTrueTypeFontManager::SwapAllInstructions(TStream& Data) {
  TMemoryStream& s = FHistory.AddUndoItem(InstructionsHandler());
  FFont.Outlines.WriteAllInstructions(s);
  // Clear first, so glyphs the snapshot does not list end without instructions.
  std::vector<uint8_t> bytes = ReadRest(Data);
  TReadOnlyStream r(bytes.data(), bytes.size());
  FFont.Outlines.ClearAllInstructions();
  FFont.Outlines.ReadAllInstructions(r);
  FEditWindows.AllGlyphsChanged();
}

bool TTrueTypeFontManager::EditFontTables(TFontTableEditor& Editor) {
  std::vector<std::string> tags;
  bool removeHinting = false;
  if (!Editor.EditFontTables(*this, tags, removeHinting)) return false;
  // Only tables the program keeps as raw bytes can be deleted here; each once.
  std::vector<std::string> deletable;
  for (const std::string& tag : tags)
    if (dynamic_cast<const TTableUnknown*>(FFont.FindTable(tag)) &&
        std::find(deletable.begin(), deletable.end(), tag) == deletable.end())
      deletable.push_back(tag);
  const bool hinting = removeHinting && (FFont.FindTable("cvt ") || FFont.FindTable("prep") ||
                                         FFont.FindTable("fpgm") || HasGlyphInstructions());
  if (deletable.empty() && !hinting) return false;
  RecordLevel("Delete Tables", [&] {
    if (hinting) {
      for (const char* tag : {"cvt ", "prep", "fpgm"})
        if (FFont.FindTable(tag)) RecordAndRemoveTable(tag);
      if (HasGlyphInstructions()) {
        FFont.Outlines.WriteAllInstructions(FHistory.AddUndoItem(InstructionsHandler()));
        FFont.Outlines.ClearAllInstructions();
      }
    }
    for (const std::string& tag : deletable) RecordAndRemoveTable(tag);
  });
  FEditWindows.AllGlyphsChanged();
  return true;
}

}  // namespace tsy
