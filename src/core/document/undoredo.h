#pragma once
// The undo, redo and repeat history of one font document.
//
// The history knows nothing about fonts. A level is a named list of items; an
// item is a snapshot stream plus the owner's handler that restores it. A
// handler first records the state it is about to overwrite as an item of the
// opposite direction (AddUndoItem), then restores its own snapshot, so one
// handler serves undo, redo and repeat alike.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/undodata.h"
#include "fontfile/stream.h"

namespace tsy {

class TUndoRedoRepeatItem;

// Runs an item: Data holds the bytes the owner wrote, positioned at 0.
using TUndoRedoHandler = std::function<void(TUndoRedoRepeatItem& Item, TStream& Data)>;

class TUndoRedoRepeatItem {
public:
  explicit TUndoRedoRepeatItem(TUndoRedoHandler Handler) : FHandler(std::move(Handler)) {}

  bool Compressed() const { return FCompressed; }
  uint32_t Checksum() const { return FChecksum; }
  const TUndoRedoHandler& Handler() const { return FHandler; }
  // The owner writes its snapshot here while the level is open; after the
  // level is closed it holds the stored form.
  TMemoryStream& Data() { return FData; }
  const TMemoryStream& Data() const { return FData; }
  uint64_t StoredSize() const { return FData.Size(); }

  // Turns the written bytes into the stored form and checksums them. Running it
  // on an item that is already prepared leaves it as it is.
  void Prepare();
  bool Prepared() const { return FPrepared; }
  // The bytes the owner wrote, after the checksum test and decompression.
  std::vector<uint8_t> DecodedData() const;
  // Checks, decodes and hands the bytes to the handler. The stored form is left
  // untouched, so the item can be executed again (the repeat level relies on it).
  void Execute();

private:
  bool FCompressed = false;
  bool FPrepared = false;
  uint32_t FChecksum = 0;
  TUndoRedoHandler FHandler;
  TMemoryStream FData;
};

// One level: the items of one operation in recording order, and its name.
class TUndoRedoRepeatItemList {
public:
  static constexpr size_t kMaxNameLength = 64;  // characters

  explicit TUndoRedoRepeatItemList(const std::string& Name = {}) { SetName(Name); }

  const std::string& Name() const { return FName; }
  // Names longer than 64 characters are cut (at a character boundary).
  void SetName(const std::string& Name);

  size_t Count() const { return FItems.size(); }
  bool Empty() const { return FItems.empty(); }
  TUndoRedoRepeatItem& Items(size_t Index) { return *FItems.at(Index); }
  const TUndoRedoRepeatItem& Items(size_t Index) const { return *FItems.at(Index); }
  TUndoRedoRepeatItem& Add(TUndoRedoHandler Handler);
  void Clear() { FItems.clear(); }
  void PrepareAll();
  uint64_t StoredSize() const;

private:
  std::string FName;
  std::vector<std::unique_ptr<TUndoRedoRepeatItem>> FItems;
};

// Owning list of levels; the last one is the next to be undone (or redone).
using TUndoRedoList = std::vector<std::unique_ptr<TUndoRedoRepeatItemList>>;

class TvnxUndoRedoRepeatStreamer {
public:
  enum class THistoryState : uint8_t { Idle = 0, Recording = 1, Undoing = 2, Redoing = 3, Repeating = 4 };

  TvnxUndoRedoRepeatStreamer() = default;
  TvnxUndoRedoRepeatStreamer(const TvnxUndoRedoRepeatStreamer&) = delete;
  TvnxUndoRedoRepeatStreamer& operator=(const TvnxUndoRedoRepeatStreamer&) = delete;

  // Queries.
  bool CanUndo() const { return FState == THistoryState::Idle && !FUndoList.empty(); }
  bool CanRedo() const { return FState == THistoryState::Idle && !FRedoList.empty(); }
  bool CanRepeat() const { return FState == THistoryState::Idle && !FRepeatLevel.Empty(); }
  bool IsModified() const;
  std::string UndoCaption() const;
  std::string RedoCaption() const;
  std::string RepeatCaption() const;
  // Names of all undo levels, newest first (redo: next first). With Debugging
  // each entry carries the level's stored size in bytes after a blank.
  const std::vector<std::string>& UndoCaptions();
  const std::vector<std::string>& RedoCaptions();

  // Recording. BeginRecord and EndRecord always come in pairs, also when the
  // command between them fails.
  void BeginRecord(const std::string& Name);
  // A new empty stream for the caller to fill with a snapshot.
  TMemoryStream& AddUndoItem(TUndoRedoHandler Handler);
  // A new stream for the repeat level, or nullptr while redoing or repeating
  // (the repeat data of the operation is already there).
  TMemoryStream* AddRepeatItem(TUndoRedoHandler Handler);
  void EndRecord();

  // One step each.
  void Undo();
  void Redo();
  void Repeat();

  void Clear();
  void MarkSaved();

  int32_t MaxCount() const { return FMaxCount; }
  void SetMaxCount(int32_t Value);
  int32_t MaxSize() const { return FMaxSize; }
  void SetMaxSize(int32_t Value);
  bool Debugging() const { return FDebugging; }
  void SetDebugging(bool Value) { FDebugging = Value; }
  // Kept for the owner's settings; the history itself does not group levels.
  bool AllowGroupUndo() const { return FAllowGroupUndo; }
  void SetAllowGroupUndo(bool Value) { FAllowGroupUndo = Value; }

  THistoryState HistoryState() const { return FState; }
  int32_t SavedIndex() const { return FSavedIndex; }
  bool ForcedModified() const { return FForcedModified; }
  // The saved state was discarded (a new edit after undoing past it, or its
  // levels were trimmed away): no position matches the file until MarkSaved.
  bool SavedStateLost() const { return FSavedLost; }
  const TUndoRedoList& UndoList() const { return FUndoList; }
  const TUndoRedoList& RedoList() const { return FRedoList; }
  const TUndoRedoRepeatItemList& RepeatLevel() const { return FRepeatLevel; }
  // Total stored bytes over undo list, redo list and repeat level.
  uint64_t TotalStoredSize() const;

private:
  enum class TStepKind { Undo, Redo };
  void Step(TStepKind Kind);
  void ApplyLimits();
  void RemoveOldestUndoLevel();
  void FillCaptions(const TUndoRedoList& List);
  [[noreturn]] static void Refuse();

  TUndoRedoList FUndoList;
  TUndoRedoList FRedoList;
  TUndoRedoRepeatItemList FRepeatLevel;
  std::vector<std::string> FCaptions;
  int32_t FSavedIndex = -1;
  bool FSavedLost = false;
  bool FForcedModified = false;
  THistoryState FState = THistoryState::Idle;
  int32_t FMaxCount = 0;
  int32_t FMaxSize = 0;
  bool FDebugging = false;
  bool FAllowGroupUndo = false;
};

}  // namespace tsy
