#pragma once
// The document of one open font: the font object, its undo history, the
// overview's glyph selection, the registry of open glyph edit windows and the
// commands that change the font.
//
// Every command follows one pattern: open a named undo level, write a snapshot
// of each piece of state it is about to change, change the model, close the
// level (also when the change fails), and notify. A handler restores a
// snapshot after recording the state it overwrites for the opposite
// direction, so the same handler serves undo and redo.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/editwindowlist.h"
#include "document/tableeditor.h"
#include "document/undoredo.h"
#include "fontfile/truetypefont.h"
#include "outline/selections.h"
#include "settings/platforminformation.h"

namespace tsy {

class TRegistrySettings;

class TTrueTypeFontManager {
public:
  using TNotifyEvent = std::function<void(TTrueTypeFontManager& Sender)>;
  using TFileNameEvent = std::function<void(TTrueTypeFontManager& Sender, const std::string& FileName)>;
  // The current local date and time as seconds since 1904-01-01 00:00:00.
  using TClock = std::function<int64_t()>;

  TTrueTypeFontManager();
  ~TTrueTypeFontManager();
  TTrueTypeFontManager(const TTrueTypeFontManager&) = delete;
  TTrueTypeFontManager& operator=(const TTrueTypeFontManager&) = delete;

  TTrueTypeFont& Font() { return FFont; }
  const TTrueTypeFont& Font() const { return FFont; }
  TvnxUndoRedoRepeatStreamer& History() { return FHistory; }
  const TvnxUndoRedoRepeatStreamer& History() const { return FHistory; }
  TPlatformInformation& PlatformInformation() { return FPlatformInformation; }
  const TPlatformInformation& PlatformInformation() const { return FPlatformInformation; }
  TSelectedGlyphList& SelectedGlyphs() { return FSelectedGlyphs; }
  const TSelectedGlyphList& SelectedGlyphs() const { return FSelectedGlyphs; }
  TSelectedGlyphEditWindowList& EditWindows() { return FEditWindows; }
  const TSelectedGlyphEditWindowList& EditWindows() const { return FEditWindows; }

  const std::string& FileName() const { return FFileName; }
  // Fires OnFileNameChange when the name differs from the current one.
  void SetFileName(const std::string& Name);
  bool IsModified() const { return FHistory.IsModified(); }

  TNotifyEvent OnChange;
  TFileNameEvent OnFileNameChange;
  TNotifyEvent OnBeforeUndo;
  TNotifyEvent OnAfterUndo;
  // Replaceable for tests; the default reads the system clock.
  TClock Clock;

  // Housekeeping.
  void Changed();
  // Count single steps; OnBeforeUndo before, OnAfterUndo after in every case,
  // also when a step fails (the failure then propagates).
  void Undo(int Count = 1);
  void Redo(int Count = 1);
  void Repeat(int Count = 1);

  // Overview selection.
  void SelectAllGlyphs(bool Flag);
  void InvertSelection();
  // Selects exactly the empty glyphs that are not blank characters.
  void SelectIncomplete();
  // Glyphs that a blank character (space, no-break space, ...) maps to.
  std::vector<bool> BlankGlyphs() const;

  // The platform/encoding pairs of the font's name and cmap tables.
  void FillPlatformInformation();

  // Table commands. Each returns true when it recorded an undo level.
  bool EditGrayscale(TFontTableEditor& Editor);
  bool EditPlatforms(TFontTableEditor& Editor);
  bool EditFontSettings(TFontTableEditor& Editor);
  bool EditNaming(TFontTableEditor& Editor);
  bool EditKerning(TFontTableEditor& Editor);
  bool EditPCL5(TFontTableEditor& Editor);
  bool EditPostscriptNames(TFontTableEditor& Editor);
  bool EditCharacterMappings(TFontTableEditor& Editor);
  bool EditFontTables(TFontTableEditor& Editor);
  void ShowFontInformation(TFontTableEditor& Editor);

  // Save-time commands, run just before the font is written.
  void SetLeftSideBearingAtX0();
  // Records only when the time stamp changes.
  bool UpdateModifiedDateTime();
  // Both of the above as the settings ask for them.
  void RunSaveTimeCommands(TRegistrySettings& Settings);

  // Moves glyph G horizontally by Dx without moving the composites that use
  // it (their members take back the move through their own transform). An
  // empty glyph has no points to move: its left side bearing takes the shift
  // instead (lsb - Dx), so the shift can be reversed like any other.
  void ShiftGlyph(int G, double Dx);

  // Records the separate "Glyph %s - Remove Hinting" level when glyph G has
  // instructions, and removes them. Returns whether it did.
  bool RemoveGlyphHintingIfNeeded(int G);

  // "Glyph %s - " + Suffix, %s the index in hexadecimal ("$%.4x") or decimal
  // as the ValueHexadecimal setting says.
  std::string GlyphUndoName(int G, const std::string& Suffix) const;
  std::string GlyphIndexText(int G) const;

  // The edit windows' selection frame of G recomputed from its selected
  // contours (simple glyph) or members (composite glyph); nothing selected
  // leaves it as it was. The transformation origin goes to the centre.
  void UpdateSelectionFrame(int G);
  // One of nine anchors of the frame: x at XMin, centre, XMax for 0-2 (and
  // 3-5, 6-8); y at YMax for 0-2, middle for 3-5, YMin for 6-8.
  void SetTransformOrigin(int G, int Anchor);

  // Runs Body inside a named level; the level is closed on every exit.
  template <class F>
  void RecordLevel(const std::string& Name, F&& Body) {
    FHistory.BeginRecord(Name);
    try {
      Body();
    } catch (...) {
      FHistory.EndRecord();
      throw;
    }
    FHistory.EndRecord();
  }

  // The glyphs whose outline uses G, directly or through members.
  std::vector<int32_t> GlyphUsers(int32_t G) const;
  bool HasGlyphInstructions() const;

private:
  template <class Step>
  void RunSteps(int Count, Step&& S);

  // What an undo item of a table command holds.
  enum class TSnapshotKind {
    Table,         // one table's file form; empty when the font lacks it
    Platforms,     // 32-bit offset of the name part, cmap, name
    FontSettings,  // OS/2, head, hhea and the post settings, each as a piece
  };
  enum class TNotify { None, Changed, ChangedAndWindows };

  std::vector<uint8_t> CurrentState(TSnapshotKind Kind, const std::string& Tag) const;
  void ApplyState(TSnapshotKind Kind, const std::string& Tag, const std::vector<uint8_t>& Bytes);
  void ApplyTableBytes(const std::string& Tag, const std::vector<uint8_t>& Bytes);
  TUndoRedoHandler StateHandler(TSnapshotKind Kind, const std::string& Tag, TNotify Notify);
  void RecordState(TSnapshotKind Kind, const std::string& Tag, TNotify Notify);
  // Records and applies Target when it differs from the current state.
  bool CommitState(TSnapshotKind Kind, const std::string& Tag, const std::string& UndoName,
                   const std::vector<uint8_t>& Target, TNotify Notify);
  void NotifyAfter(TNotify Notify);

  TUndoRedoHandler ReAddHandler();
  TUndoRedoHandler RemoveAgainHandler();
  TUndoRedoHandler InstructionsHandler();
  void RecordAndRemoveTable(const std::string& Tag);
  void ReAddTable(TStream& Data);
  void RemoveTableAgain(TStream& Data);
  void SwapAllInstructions(TStream& Data);
  void RestoreGlyphInstructions(TStream& Data);
  void RemoveGlyphInstructionsAgain(TStream& Data);
  void UndoShiftGlyphs(TStream& Data);
  void SwapBounds(TStream& Data);

  // Creation order; members are destroyed in reverse, so the edit-window
  // list goes before the font it was created on.
  TTrueTypeFont FFont;
  TvnxUndoRedoRepeatStreamer FHistory;
  TPlatformInformation FPlatformInformation;
  TSelectedGlyphList FSelectedGlyphs;
  TSelectedGlyphEditWindowList FEditWindows;
  std::string FFileName;
};

}  // namespace tsy
