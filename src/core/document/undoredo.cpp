#include "document/undoredo.h"

#include <exception>

namespace tsy {

// ---------------------------------------------------------------------------
// Items and levels

void TUndoRedoRepeatItem::Prepare() {
  if (FPrepared) return;
  const std::vector<uint8_t>& bytes = FData.Bytes();
  if (UndoDataIsCompressed(bytes.size())) {
    std::vector<uint8_t> stored = PackUndoData(bytes.data(), bytes.size());
    FData = TMemoryStream(std::move(stored));
    FCompressed = true;
  }
  // The packed buffer was sized for the worst case and the written stream
  // grew by doubling: keep only the stored bytes, or the history would hold
  // about the uncompressed size again while MaxSize counts the stored one.
  FData.Bytes().shrink_to_fit();
  FChecksum = UndoChecksum(FData.Memory(), FData.Bytes().size());
  FPrepared = true;
}

std::vector<uint8_t> TUndoRedoRepeatItem::DecodedData() const {
  // An item that was never closed into a level has no checksum to trust.
  if (!FPrepared) throw EvnxUndoRedoRepeatStreamerError(kUndoCrcMismatch);
  return DecodeStoredUndoItem(FData.Memory(), FData.Bytes().size(), FCompressed, FChecksum);
}

void TUndoRedoRepeatItem::Execute() {
  TMemoryStream data(DecodedData());
  if (FHandler) FHandler(*this, data);
}

void TUndoRedoRepeatItemList::SetName(const std::string& Name) {
  // Cut after 64 characters, counting UTF-8 sequences as one character.
  size_t chars = 0, i = 0;
  while (i < Name.size()) {
    if ((static_cast<unsigned char>(Name[i]) & 0xC0) != 0x80) {
      if (chars == kMaxNameLength) break;
      ++chars;
    }
    ++i;
  }
  FName = Name.substr(0, i);
}

TUndoRedoRepeatItem& TUndoRedoRepeatItemList::Add(TUndoRedoHandler Handler) {
  FItems.push_back(std::make_unique<TUndoRedoRepeatItem>(std::move(Handler)));
  return *FItems.back();
}

void TUndoRedoRepeatItemList::PrepareAll() {
  for (auto& item : FItems) item->Prepare();
}

uint64_t TUndoRedoRepeatItemList::StoredSize() const {
  uint64_t total = 0;
  for (const auto& item : FItems) total += item->StoredSize();
  return total;
}

// ---------------------------------------------------------------------------
// Queries

void TvnxUndoRedoRepeatStreamer::Refuse() { throw EvnxUndoRedoRepeatStreamerError(kUndoCantPerform); }

bool TvnxUndoRedoRepeatStreamer::IsModified() const {
  if (FSavedLost) return true;
  if (static_cast<int64_t>(FUndoList.size()) - 1 == FSavedIndex) return FForcedModified;
  return true;
}

std::string TvnxUndoRedoRepeatStreamer::UndoCaption() const { return CanUndo() ? FUndoList.back()->Name() : ""; }
std::string TvnxUndoRedoRepeatStreamer::RedoCaption() const { return CanRedo() ? FRedoList.back()->Name() : ""; }
std::string TvnxUndoRedoRepeatStreamer::RepeatCaption() const { return CanRepeat() ? FRepeatLevel.Name() : ""; }

void TvnxUndoRedoRepeatStreamer::FillCaptions(const TUndoRedoList& List) {
  FCaptions.clear();
  for (auto it = List.rbegin(); it != List.rend(); ++it) {
    std::string caption = (*it)->Name();
    if (FDebugging) caption += " " + std::to_string((*it)->StoredSize());
    FCaptions.push_back(std::move(caption));
  }
}

const std::vector<std::string>& TvnxUndoRedoRepeatStreamer::UndoCaptions() {
  FCaptions.clear();
  if (CanUndo()) FillCaptions(FUndoList);
  return FCaptions;
}

const std::vector<std::string>& TvnxUndoRedoRepeatStreamer::RedoCaptions() {
  FCaptions.clear();
  if (CanRedo()) FillCaptions(FRedoList);
  return FCaptions;
}

uint64_t TvnxUndoRedoRepeatStreamer::TotalStoredSize() const {
  uint64_t total = FRepeatLevel.StoredSize();
  for (const auto& level : FUndoList) total += level->StoredSize();
  for (const auto& level : FRedoList) total += level->StoredSize();
  return total;
}

// ---------------------------------------------------------------------------
// Recording

void TvnxUndoRedoRepeatStreamer::BeginRecord(const std::string& Name) {
  if (FState != THistoryState::Idle) Refuse();
  FState = THistoryState::Recording;
  FRedoList.clear();
  FRepeatLevel.Clear();
  // The saved state lay among the redo levels just dropped: it can never be
  // reached again, whatever the undo list's length becomes.
  if (FSavedIndex >= static_cast<int64_t>(FUndoList.size())) FSavedLost = true;
  FUndoList.push_back(std::make_unique<TUndoRedoRepeatItemList>(Name));
  FRepeatLevel.SetName(Name);
}

TMemoryStream& TvnxUndoRedoRepeatStreamer::AddUndoItem(TUndoRedoHandler Handler) {
  switch (FState) {
    case THistoryState::Recording:
    case THistoryState::Redoing:
    case THistoryState::Repeating:
      if (FUndoList.empty()) Refuse();
      return FUndoList.back()->Add(std::move(Handler)).Data();
    case THistoryState::Undoing:
      if (FRedoList.empty()) Refuse();
      return FRedoList.back()->Add(std::move(Handler)).Data();
    case THistoryState::Idle:
      break;
  }
  Refuse();
}

TMemoryStream* TvnxUndoRedoRepeatStreamer::AddRepeatItem(TUndoRedoHandler Handler) {
  switch (FState) {
    case THistoryState::Recording:
      return &FRepeatLevel.Add(std::move(Handler)).Data();
    case THistoryState::Redoing:
    case THistoryState::Repeating:
      return nullptr;
    case THistoryState::Idle:
    case THistoryState::Undoing:
      break;
  }
  Refuse();
}

void TvnxUndoRedoRepeatStreamer::EndRecord() {
  if (FState != THistoryState::Recording) Refuse();
  FState = THistoryState::Idle;
  if (!FUndoList.empty()) FUndoList.back()->PrepareAll();
  FRepeatLevel.PrepareAll();
  ApplyLimits();
}

// ---------------------------------------------------------------------------
// Execution

namespace {

// Runs the items of Level from the last recorded to the first. Reports through
// Entered whether any handler was reached, since a handler that fails midway
// may already have changed the model.
void ExecuteLevel(TUndoRedoRepeatItemList& Level, bool& Entered) {
  for (size_t i = Level.Count(); i-- > 0;) {
    TUndoRedoRepeatItem& item = Level.Items(i);
    // The stored form is checked and decoded before the handler runs, so a
    // CRC or decompression failure leaves the model untouched.
    TMemoryStream data(item.DecodedData());
    Entered = true;
    if (item.Handler()) item.Handler()(item, data);
  }
}

}  // namespace

void TvnxUndoRedoRepeatStreamer::Step(TStepKind Kind) {
  const bool undo = Kind == TStepKind::Undo;
  if (undo ? !CanUndo() : !CanRedo()) Refuse();
  TUndoRedoList& from = undo ? FUndoList : FRedoList;
  TUndoRedoList& to = undo ? FRedoList : FUndoList;

  FState = undo ? THistoryState::Undoing : THistoryState::Redoing;
  if (undo) FRepeatLevel.Clear();
  TUndoRedoRepeatItemList* source = from.back().get();
  to.push_back(std::make_unique<TUndoRedoRepeatItemList>(source->Name()));
  TUndoRedoRepeatItemList* target = to.back().get();

  bool entered = false;
  try {
    ExecuteLevel(*source, entered);
  } catch (...) {
    // The level being executed stays. The opposite level holds the inverse of
    // what did run: it is closed like any other level so it can be executed
    // later, or dropped when nothing ran at all.
    FState = THistoryState::Idle;
    if (target->Empty()) {
      to.pop_back();
    } else {
      target->PrepareAll();
    }
    // The model may now match neither neighbouring position exactly.
    if (entered) FForcedModified = true;
    ApplyLimits();
    throw;
  }
  from.pop_back();
  FState = THistoryState::Idle;
  target->PrepareAll();
  ApplyLimits();
}

void TvnxUndoRedoRepeatStreamer::Undo() { Step(TStepKind::Undo); }

void TvnxUndoRedoRepeatStreamer::Redo() { Step(TStepKind::Redo); }

void TvnxUndoRedoRepeatStreamer::Repeat() {
  if (!CanRepeat()) Refuse();
  FState = THistoryState::Repeating;
  FUndoList.push_back(std::make_unique<TUndoRedoRepeatItemList>(FRepeatLevel.Name()));
  TUndoRedoRepeatItemList* target = FUndoList.back().get();
  bool entered = false;
  try {
    ExecuteLevel(FRepeatLevel, entered);
  } catch (...) {
    FState = THistoryState::Idle;
    if (target->Empty()) {
      FUndoList.pop_back();
    } else {
      target->PrepareAll();
    }
    if (entered) FForcedModified = true;
    ApplyLimits();
    throw;
  }
  FState = THistoryState::Idle;
  target->PrepareAll();
  ApplyLimits();
}

// ---------------------------------------------------------------------------
// Maintenance

void TvnxUndoRedoRepeatStreamer::Clear() {
  if (FState != THistoryState::Idle) Refuse();
  FUndoList.clear();
  FRedoList.clear();
  FRepeatLevel.Clear();
  FCaptions.clear();
  FSavedIndex = -1;
  FSavedLost = false;
  FForcedModified = true;
}

void TvnxUndoRedoRepeatStreamer::MarkSaved() {
  FSavedIndex = static_cast<int32_t>(FUndoList.size()) - 1;
  FSavedLost = false;
  FForcedModified = false;
}

void TvnxUndoRedoRepeatStreamer::SetMaxCount(int32_t Value) {
  if (Value == FMaxCount) return;
  FMaxCount = Value;
  // While a level is open or being executed the lists must not shrink under
  // it; the limits apply when that step ends.
  if (FState == THistoryState::Idle) ApplyLimits();
}

void TvnxUndoRedoRepeatStreamer::SetMaxSize(int32_t Value) {
  if (Value == FMaxSize) return;
  FMaxSize = Value;
  if (FState == THistoryState::Idle) ApplyLimits();
}

void TvnxUndoRedoRepeatStreamer::RemoveOldestUndoLevel() {
  FUndoList.erase(FUndoList.begin());
  // Trimming shifts every position down by one. Once the saved position falls
  // off the front it can never match again.
  if (FSavedIndex < -1 || --FSavedIndex < -1) {
    FSavedIndex = -2;
    FSavedLost = true;
  }
}

void TvnxUndoRedoRepeatStreamer::ApplyLimits() {
  if (FMaxSize > 0) {
    uint64_t total = TotalStoredSize();
    while (total > static_cast<uint64_t>(FMaxSize)) {
      if (!FUndoList.empty()) {
        total -= FUndoList.front()->StoredSize();
        RemoveOldestUndoLevel();
      } else if (!FRedoList.empty()) {
        total -= FRedoList.front()->StoredSize();
        FRedoList.erase(FRedoList.begin());
      } else {
        FRepeatLevel.Clear();
        total = 0;
      }
    }
  }
  if (FMaxCount > 0) {
    while (FUndoList.size() > static_cast<size_t>(FMaxCount)) RemoveOldestUndoLevel();
  }
  // A saved position among redo levels that were trimmed is out of reach.
  if (!FSavedLost && FSavedIndex >= static_cast<int64_t>(FUndoList.size() + FRedoList.size())) FSavedLost = true;
}

}  // namespace tsy
