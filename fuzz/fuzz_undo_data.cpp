// Feeds arbitrary bytes to the undo history as the stored form of an item.
// The first byte picks the case: bit 0 marks the data compressed, bit 1 gives
// it a checksum that matches (so decompression is reached) instead of a stale
// one. Damaged data must fail with the history's error, decode to at most the
// bound the stored size allows, and leave the history working.
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <vector>

#include "document/undoredo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const bool compressed = Data[0] & 1;
  const bool goodChecksum = Data[0] & 2;
  const uint8_t* stored = Data + 1;
  const size_t storedSize = Size - 1;
  const uint32_t checksum = tsy::UndoChecksum(stored, storedSize) ^ (goodChecksum ? 0u : 1u);
  try {
    std::vector<uint8_t> plain = tsy::DecodeStoredUndoItem(stored, storedSize, compressed, checksum);
    if (!goodChecksum) std::abort();  // a wrong checksum must never pass
    if (plain.size() > (storedSize + 1) * 1032) std::abort();
  } catch (const tsy::EvnxUndoRedoRepeatStreamerError&) {
  }

  // The same bytes planted in a recorded level: Undo fails or runs, and the
  // history is idle and usable either way.
  tsy::TvnxUndoRedoRepeatStreamer history;
  history.BeginRecord("Fuzz");
  history.AddUndoItem([](tsy::TUndoRedoRepeatItem&, tsy::TStream&) {}).Write(stored, storedSize);
  history.EndRecord();
  tsy::TMemoryStream& data = const_cast<tsy::TUndoRedoRepeatItem&>(history.UndoList().back()->Items(0)).Data();
  data.Bytes().assign(stored, stored + storedSize);
  try {
    history.Undo();
  } catch (const tsy::EvnxUndoRedoRepeatStreamerError&) {
  }
  if (history.HistoryState() != tsy::TvnxUndoRedoRepeatStreamer::THistoryState::Idle) std::abort();
  history.Clear();
  return 0;
}
