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
class TTableCmap;

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

  // ---- Glyph commands (glyphcommands_*.cpp)
  //
  // Whole-glyph commands work on SelectedGlyphs(); per-glyph commands on the
  // selection the edit-window list holds for glyph G. A command whose
  // precondition fails (wrong outline kind, empty selection, a parameter
  // that is not a finite number) records nothing. Per-glyph commands that
  // change the outline first record the separate "Remove Hinting" level when
  // G has instructions. Their undo item holds G's whole state (outline
  // snapshot, metrics, selections), so undo and redo restore it exactly.

  enum TInsertPosition : int { ipAtTop = 0, ipAfterLast = 1, ipBeforeEachSelected = 2, ipAfterEachSelected = 3 };
  // Refuses, before changing anything, an insert that would take the font
  // beyond 65535 glyphs (FontException). Only ipAtTop can be repeated.
  void InsertGlyphs(int Count, int Position);
  void DeleteGlyphs();
  // CopyToClipboard (may be empty) runs on the selection before the glyphs
  // are deleted; the clipboard form itself is the caller's.
  using TGlyphCopyEvent = std::function<void(TTrueTypeFontManager& Sender, const TSelectedGlyphList& Glyphs)>;
  void CutGlyphs(const TGlyphCopyEvent& CopyToClipboard);
  void MakeEmpty();
  // Replaces each selected composite by its decomposition (the members'
  // placed contours), or an empty glyph when that has none.
  void MakeSimple();

  // The transformation family; all but the point and member moves work on
  // the selected contours of a simple glyph. Repeatable on the same glyph
  // and selection.
  void MovePoints(int G, double Dx, double Dy);
  void MoveContours(int G, double Dx, double Dy);
  void MoveMembers(int G, double Dx, double Dy);
  // About the transformation origin; a mirror (Sx * Sy < 0) also reverses
  // the contours, so outside and inside stay as they were.
  void StretchContours(int G, double Sx, double Sy);
  // Counter-clockwise by Angle radians (y up) about the transformation origin.
  void RotateContours(int G, double Angle);
  // x += (Oy - y) * Kx, then y += (Ox - x) * Ky (the other order for Kx < 0).
  void SkewContours(int G, double Ox, double Oy, double Kx, double Ky);
  // Moves the selected contours so that Anchor (0-8) of the frame lands on (X, Y).
  void MoveSelectionAnchorTo(int G, int Anchor, double X, double Y);

  void SetPointCoordinates(int G, double X, double Y, bool OnCurve, bool SetX, bool SetY, bool SetOnCurve);
  void SetPointsOnCurve(int G, bool OnCurve);
  void DeletePoints(int G);
  void AddPoints(int G);
  void SetFirstPoint(int G);
  void DeleteContours(int G);
  void DeleteMembers(int G);
  void ChangeContourDirection(int G);
  enum TContourOrder : int { coBringToFront = 0, coSendToBack = 1, coBringForward = 2, coSendBackward = 3 };
  void ChangeContourOrder(int G, TContourOrder Order);
  void JoinContours(int G);
  void SplitContour(int G);
  void DuplicateContours(int G, double Dx, double Dy);
  void DuplicateMembers(int G, double Dx, double Dy);

  // The bearing lines at x = A and x = B; the outline does not move.
  void ChangeBearings(int G, double A, double B);
  // Appends members for Glyphs (ascending), skipping G itself, indices
  // outside the font and glyphs that use G, so that no cycle can arise.
  void AddCompositeGlyphMembers(int G, const std::vector<int32_t>& Glyphs,
                                const std::string& Suffix = "Add Composite Glyph Member");

  enum TCleanUpOperation : int {
    cuAddOnCurveExtremes,
    cuRemoveRedundantPoints,
    cuRemoveDuplicateContours,
    cuRemoveDuplicateComponents,
    cuRemoveSmallContours,
    cuRemoveEmptyComponents,
  };
  static const char* CleanUpName(TCleanUpOperation Operation);
  // Parameters come from the settings (validation section).
  void CleanUpGlyph(int G, TCleanUpOperation Operation);
  // Selects and reverses the contours that run the wrong way.
  void CorrectContourDirections(int G);
  // For menus: whether glyph G shows the problem Operation repairs, and
  // whether it has contours that run the wrong way.
  bool GlyphHasCleanUpProblem(int G, TCleanUpOperation Operation) const;
  bool GlyphHasWrongDirections(int G) const;

  // What the property dialogs commit. Cmap (may be null: unchanged) is the
  // dialog's working copy; Name is ignored unless post stores names.
  // Returns whether a level was recorded.
  bool CommitGlyphProperties(int G, const TTableCmap* Cmap, int LeftSideBearing, int AdvanceWidth,
                             const std::string& Name);
  bool CommitCompositeGlyphProperties(int G, int MemberIndex, const TOutlineComposite& Copy);

  // Contours through the clipboard (glyphcommands_clipboard.cpp); the byte
  // forms are the caller's. "Paste Glyph Contours" appends Contours to a
  // simple or empty glyph and selects them; "Cut Contours" runs
  // CopyToClipboard on the selected contours, then deletes them in the same
  // level; "Paste Glyphs" adds Glyphs as members of a composite or empty G.
  void PasteContours(int G, const std::vector<TContour>& Contours);
  using TContourCopyEvent = std::function<void(TTrueTypeFontManager& Sender, int G)>;
  void CutContours(int G, const TContourCopyEvent& CopyToClipboard);
  void PasteGlyphsAsMembers(int G, const std::vector<int32_t>& Glyphs);

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

  // Glyph command internals.
  enum class TTransformKind : uint16_t { MovePoints, MoveContours, MoveMembers, Stretch, Rotate, Skew };
  struct TTransformParams {
    double A = 0, B = 0, C = 0, D = 0;
  };
  void CheckGlyph(int G) const;
  void TransformCommand(int G, TTransformKind Kind, const TTransformParams& P);
  // Applies the transformation to G's current selection; false when it has
  // nothing to work on or would produce non-finite coordinates.
  bool ApplyTransform(int G, TTransformKind Kind, const TTransformParams& P, bool Check);
  void RepeatTransform(TStream& Data);
  // The undo item of a per-glyph command: G's outline, metrics and selections.
  void RecordGlyphState(int G);
  void SwapGlyphState(TStream& Data);
  // Removes hinting when asked, opens the named level with G's state item,
  // runs Body, then notifies.
  template <class F>
  void GlyphLevel(int G, const std::string& Suffix, bool RemoveHinting, F&& Body);
  // Left side bearing follows a change of the outline's XMin.
  void FollowXMin(int G, double OldXMin);
  void DeleteContourIndices(int G, std::vector<int32_t> Contours);

  int InsertAdvanceWidth() const;
  int MaxGlyphReference() const;
  void InsertGlyphSlot(int Index, int AdvanceWidth, bool CheckReferences);
  void DeleteGlyphSlot(int Index);
  void RecordGlyphIndexedTables();
  std::vector<int32_t> DoInsertGlyphs(int Count, int Position, const std::vector<int32_t>& Selected);
  void RepeatInsertGlyphs(TStream& Data);
  void UndoInsertGlyphs(TStream& Data);
  void DeleteGlyphList(const std::vector<int32_t>& Glyphs);
  void RestoreComposites(TStream& Data);
  void RestoreGlyphData(TStream& Data);
  void RecreateGlyphSlots(TStream& Data);
  void DeleteGlyphsAgain(TStream& Data);
  void SwapGlyphSnapshots(TStream& Data);
  void ReplaceSelectedGlyphs(const std::string& Name, bool Decompose);

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
