// The undo, redo and repeat history, driven by a tiny document whose whole
// state is one byte string.
#include "document/undoredo.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace tsy {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(TStream& S) {
  Bytes b(static_cast<size_t>(S.Remaining()));
  S.ReadExact(b.data(), b.size());
  return b;
}

Bytes Pattern(size_t Size, uint8_t Seed = 1) {
  Bytes b(Size);
  for (size_t i = 0; i < Size; ++i) b[i] = static_cast<uint8_t>(Seed + i % 7);
  return b;
}

Bytes Noise(size_t Size, unsigned Seed = 7) {
  std::mt19937 rng(Seed);
  Bytes b(Size);
  for (auto& v : b) v = static_cast<uint8_t>(rng());
  return b;
}

// Bitwise CRC-32 register without final inversion, written independently of
// zlib so the stored checksum is checked against a second implementation.
uint32_t ReferenceCrc(const Bytes& Data) {
  uint32_t r = 0xFFFFFFFFu;
  for (uint8_t b : Data) {
    r ^= b;
    for (int k = 0; k < 8; ++k) r = (r >> 1) ^ (0xEDB88320u & (0u - (r & 1u)));
  }
  return r;
}

// A document whose state is one byte string. Its handlers follow the
// history's contract: record the opposite direction first, then restore.
struct TDoc {
  TvnxUndoRedoRepeatStreamer H;
  Bytes Value;
  int FailAfter = -1;  // the handler throws when this many calls have run
  int Calls = 0;
  size_t LastStreamPosition = 99;

  TUndoRedoHandler Restore = [this](TUndoRedoRepeatItem&, TStream& S) {
    LastStreamPosition = static_cast<size_t>(S.Position());
    if (FailAfter >= 0 && Calls++ >= FailAfter) throw std::runtime_error("handler failed");
    TMemoryStream& out = H.AddUndoItem(Restore);
    out.Write(Value.data(), Value.size());
    Value = ReadAll(S);
  };

  // Repeat data: bytes to append to the value.
  TUndoRedoHandler AppendAgain = [this](TUndoRedoRepeatItem&, TStream& S) {
    TMemoryStream& out = H.AddUndoItem(Restore);
    out.Write(Value.data(), Value.size());
    Bytes extra = ReadAll(S);
    Value.insert(Value.end(), extra.begin(), extra.end());
  };

  void Set(const std::string& Name, const Bytes& NewValue) {
    H.BeginRecord(Name);
    TMemoryStream& s = H.AddUndoItem(Restore);
    s.Write(Value.data(), Value.size());
    Value = NewValue;
    H.EndRecord();
  }

  void Append(const std::string& Name, const Bytes& Extra) {
    H.BeginRecord(Name);
    TMemoryStream& s = H.AddUndoItem(Restore);
    s.Write(Value.data(), Value.size());
    TMemoryStream* r = H.AddRepeatItem(AppendAgain);
    r->Write(Extra.data(), Extra.size());
    Value.insert(Value.end(), Extra.begin(), Extra.end());
    H.EndRecord();
  }
};

template <typename F>
std::string ErrorOf(F&& Call) {
  try {
    Call();
  } catch (const EvnxUndoRedoRepeatStreamerError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(UndoChecksum, IsTheCrc32RegisterWithoutFinalInversion) {
  const std::string check = "123456789";
  // CRC-32 of the check string is 0xCBF43926; the register holds its inverse.
  EXPECT_EQ(UndoChecksum(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0x340BC6D9u);
  EXPECT_EQ(UndoChecksum(nullptr, 0), 0xFFFFFFFFu);
  const Bytes noise = Noise(1000);
  EXPECT_EQ(UndoChecksum(noise.data(), noise.size()), ReferenceCrc(noise));
}

TEST(UndoHistory, StoredFormByItemSize) {
  struct Case {
    size_t Size;
    bool Compressed;
  };
  for (const Case c : {Case{0, false}, Case{1, false}, Case{255, false}, Case{256, true}, Case{5000, true},
                       Case{70000, true}}) {
    SCOPED_TRACE(c.Size);
    TDoc doc;
    const Bytes old = Pattern(c.Size, 3);
    doc.Value = old;
    doc.Set("Edit", Bytes{1});
    const TUndoRedoRepeatItem& item = doc.H.UndoList().back()->Items(0);
    const Bytes& stored = item.Data().Bytes();
    EXPECT_EQ(item.Compressed(), c.Compressed);
    EXPECT_EQ(item.Checksum(), ReferenceCrc(stored));
    if (c.Compressed) {
      ASSERT_GE(stored.size(), 6u);
      const uint32_t length = stored[0] | stored[1] << 8 | stored[2] << 16 | uint32_t(stored[3]) << 24;
      EXPECT_EQ(length, c.Size);
      EXPECT_EQ(stored[4], 0x78);  // zlib header: deflate, 32K window
      EXPECT_EQ(stored[5], 0x01);  // ... at the fastest level
      EXPECT_EQ(UnpackUndoData(stored.data(), stored.size()), old);
    } else {
      EXPECT_EQ(stored, old);
    }
    doc.H.Undo();
    EXPECT_EQ(doc.Value, old);
    EXPECT_EQ(doc.LastStreamPosition, 0u);
    doc.H.Redo();
    EXPECT_EQ(doc.Value, Bytes{1});
  }
}

TEST(UndoHistory, RefusedCalls) {
  TDoc doc;
  const std::string refused = "Can't perform this operation.";
  EXPECT_EQ(ErrorOf([&] { doc.H.Undo(); }), refused);
  EXPECT_EQ(ErrorOf([&] { doc.H.Redo(); }), refused);
  EXPECT_EQ(ErrorOf([&] { doc.H.Repeat(); }), refused);
  EXPECT_EQ(ErrorOf([&] { doc.H.EndRecord(); }), refused);
  EXPECT_EQ(ErrorOf([&] { doc.H.AddUndoItem(doc.Restore); }), refused);
  EXPECT_EQ(ErrorOf([&] { doc.H.AddRepeatItem(doc.Restore); }), refused);

  doc.H.BeginRecord("A");
  EXPECT_EQ(ErrorOf([&] { doc.H.BeginRecord("B"); }), refused);
  EXPECT_EQ(ErrorOf([&] { doc.H.Clear(); }), refused);
  EXPECT_FALSE(doc.H.CanUndo());  // nothing can run while recording
  doc.H.EndRecord();

  // Redo after a new edit.
  doc.Set("B", {2});
  doc.H.Undo();
  doc.Set("C", {3});
  EXPECT_EQ(ErrorOf([&] { doc.H.Redo(); }), refused);

  // AddRepeatItem while undoing; Repeat after an undo.
  std::string inner;
  doc.H.BeginRecord("E");
  doc.H.AddUndoItem([&](TUndoRedoRepeatItem&, TStream&) { inner = ErrorOf([&] { doc.H.AddRepeatItem(nullptr); }); });
  doc.H.EndRecord();
  doc.Append("D", {4});
  ASSERT_TRUE(doc.H.CanRepeat());
  doc.H.Undo();
  EXPECT_EQ(ErrorOf([&] { doc.H.Repeat(); }), refused);
  doc.H.Undo();
  EXPECT_EQ(inner, refused);
  EXPECT_EQ(doc.H.HistoryState(), TvnxUndoRedoRepeatStreamer::THistoryState::Idle);
}

TEST(UndoHistory, UndoEmptiesTheRepeatLevelAndRedoKeepsItEmpty) {
  TDoc doc;
  doc.Append("Append", {9});
  EXPECT_EQ(doc.H.RepeatCaption(), "Append");
  doc.H.Undo();
  EXPECT_FALSE(doc.H.CanRepeat());
  EXPECT_EQ(doc.H.RepeatCaption(), "");
  doc.H.Redo();
  EXPECT_FALSE(doc.H.CanRepeat());
  EXPECT_EQ(doc.H.RepeatLevel().Count(), 0u);
}

TEST(UndoHistory, RepeatThreeTimesWithCompressedRepeatData) {
  for (size_t size : {size_t(3), size_t(300)}) {
    SCOPED_TRACE(size);
    TDoc doc;
    const Bytes extra = Pattern(size, 5);
    doc.Append("Append Bytes", extra);
    for (int i = 0; i < 3; ++i) doc.H.Repeat();
    EXPECT_EQ(doc.Value.size(), 4 * size);
    ASSERT_EQ(doc.H.UndoList().size(), 4u);
    for (const auto& level : doc.H.UndoList()) EXPECT_EQ(level->Name(), "Append Bytes");
    EXPECT_EQ(doc.H.RepeatLevel().Items(0).Compressed(), size >= 256);
    EXPECT_TRUE(doc.H.CanRepeat());
    for (int i = 3; i >= 0; --i) {
      doc.H.Undo();
      EXPECT_EQ(doc.Value.size(), i * size);
    }
  }
}

// The modified state along a sequence of actions; "S" save, "E" edit,
// "U" undo, "R" redo, "C" clear. Each step lists the expected IsModified.
TEST(UndoHistory, ModifiedStateScenarios) {
  struct Case {
    const char* Steps;
    const char* Modified;  // '1' or '0' per step
  };
  const Case cases[] = {
      {"E", "1"},
      {"ESUR", "1010"},        // save, undo one step, redo: unmodified again
      {"EESUEURU", "11011111"},  // a new edit after undoing past the save loses it for good
      {"EESUEUUS", "11011110"},
      {"EEUS" "RU", "1110" "10"},
      {"C", "1"},
      {"CS", "10"},
      {"SESU", "0101"},  // saving the empty history, then leaving it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Steps);
    TDoc doc;
    const std::string steps = c.Steps;
    for (size_t i = 0; i < steps.size() && i < std::string(c.Modified).size(); ++i) {
      switch (steps[i]) {
        case 'S': doc.H.MarkSaved(); break;
        case 'E': doc.Set("Edit", {uint8_t(i)}); break;
        case 'U': doc.H.Undo(); break;
        case 'R': doc.H.Redo(); break;
        case 'C': doc.H.Clear(); break;
      }
      EXPECT_EQ(doc.H.IsModified(), c.Modified[i] == '1') << "after step " << i;
    }
  }
}

TEST(UndoHistory, MaxCountKeepsSavedPositionReachable) {
  TDoc doc;
  doc.H.SetMaxCount(3);
  doc.Set("1", {1});
  doc.Set("2", {2});
  doc.H.MarkSaved();
  doc.Set("3", {3});
  doc.Set("4", {4});
  doc.Set("5", {5});
  ASSERT_EQ(doc.H.UndoList().size(), 3u);
  EXPECT_EQ(doc.H.UndoList().front()->Name(), "3");
  EXPECT_TRUE(doc.H.IsModified());
  doc.H.Undo();
  EXPECT_TRUE(doc.H.IsModified());
  doc.H.Undo();
  EXPECT_TRUE(doc.H.IsModified());
  doc.H.Undo();
  EXPECT_FALSE(doc.H.IsModified());
  EXPECT_EQ(doc.Value, Bytes{2});
  EXPECT_FALSE(doc.H.CanUndo());
  doc.H.Redo();
  EXPECT_TRUE(doc.H.IsModified());
}

TEST(UndoHistory, MaxCountTrimmingPastTheSavedPosition) {
  TDoc doc;
  doc.H.MarkSaved();  // the empty history matches the file
  doc.Set("1", {1});
  doc.Set("2", {2});
  doc.H.SetMaxCount(1);  // the setter trims at once
  ASSERT_EQ(doc.H.UndoList().size(), 1u);
  doc.H.Undo();
  // Back at an empty undo list, but level "1" is still applied.
  EXPECT_TRUE(doc.H.IsModified());
  EXPECT_EQ(doc.Value, Bytes{1});
}

TEST(UndoHistory, MaxSizeDropsAnOperationLargerThanTheLimit) {
  TDoc doc;
  doc.H.SetMaxSize(1024);
  doc.Set("small", {1});
  doc.Value = Noise(2000);  // incompressible: stored form stays near 2000 bytes
  doc.Set("big", {2});
  EXPECT_FALSE(doc.H.CanUndo());
  EXPECT_TRUE(doc.H.UndoList().empty());
  EXPECT_EQ(doc.Value, Bytes{2});
  EXPECT_TRUE(doc.H.IsModified());
}

TEST(UndoHistory, MaxSizeTrimsOldestUndoThenFarthestRedoThenRepeat) {
  TDoc doc;
  for (int i = 0; i < 4; ++i) {
    doc.Value = Noise(200, i);
    doc.Set(std::to_string(i), {uint8_t(i)});
  }
  doc.H.Undo();
  doc.H.Undo();  // undo list "0", "1" (200 bytes each); redo list "3" (1 byte), "2" (200 bytes)
  const uint64_t total = doc.H.TotalStoredSize();
  doc.H.SetMaxSize(static_cast<int32_t>(total - 1));
  EXPECT_EQ(doc.H.UndoList().size(), 1u);
  EXPECT_EQ(doc.H.UndoList().front()->Name(), "1");
  EXPECT_EQ(doc.H.RedoList().size(), 2u);
  doc.H.SetMaxSize(1);
  EXPECT_TRUE(doc.H.UndoList().empty());
  EXPECT_TRUE(doc.H.RedoList().empty());
  EXPECT_LE(doc.H.TotalStoredSize(), 1u);
}

TEST(UndoHistory, CaptionsAndNames) {
  TDoc doc;
  EXPECT_EQ(doc.H.UndoCaption(), "");
  EXPECT_TRUE(doc.H.UndoCaptions().empty());
  const std::string longName(70, 'x');
  doc.Set("First", {1});
  doc.Set(longName, {2});
  doc.Set("Third", {3});
  EXPECT_EQ(doc.H.UndoCaption(), "Third");
  doc.H.Undo();
  EXPECT_EQ(doc.H.UndoCaption(), std::string(64, 'x'));
  EXPECT_EQ(doc.H.RedoCaption(), "Third");
  EXPECT_EQ(doc.H.UndoCaptions(), (std::vector<std::string>{std::string(64, 'x'), "First"}));
  EXPECT_EQ(doc.H.RedoCaptions(), (std::vector<std::string>{"Third"}));

  // Cutting never splits a multi-byte character: 63 ASCII + two 2-byte characters.
  TUndoRedoRepeatItemList level(std::string(63, 'a') + "\xC3\xA9\xC3\xA9");
  EXPECT_EQ(level.Name(), std::string(63, 'a') + "\xC3\xA9");

  doc.H.SetDebugging(true);
  const uint64_t size = doc.H.UndoList().back()->StoredSize();
  EXPECT_EQ(doc.H.UndoCaptions().front(), std::string(64, 'x') + " " + std::to_string(size));
}

TEST(UndoHistory, CorruptedItemFailsCleanlyAndLeavesAWorkingHistory) {
  for (size_t size : {size_t(10), size_t(600)}) {
    SCOPED_TRACE(size);
    TDoc doc;
    doc.Set("A", Pattern(size));
    doc.Set("B", {2});
    TUndoRedoRepeatItem& item = const_cast<TUndoRedoRepeatItem&>(doc.H.UndoList().back()->Items(0));
    item.Data().Bytes()[item.Data().Bytes().size() / 2] ^= 0x40;
    EXPECT_EQ(ErrorOf([&] { doc.H.Undo(); }), "CRC32 check: corrupted data encountered!");
    EXPECT_EQ(doc.H.HistoryState(), TvnxUndoRedoRepeatStreamer::THistoryState::Idle);
    EXPECT_EQ(doc.Value, Bytes{2});  // nothing ran
    EXPECT_EQ(doc.H.UndoList().size(), 2u);
    // Nothing ran, so no empty redo level is left behind to mislead the menus.
    EXPECT_FALSE(doc.H.CanRedo());
    EXPECT_TRUE(doc.H.CanUndo());
  }
}

TEST(UndoHistory, HandlerFailingDuringUndoLeavesARedoableLevel) {
  TDoc doc;
  // One level with two items: the second-recorded runs first on undo.
  doc.Value = Pattern(300, 1);
  doc.H.BeginRecord("Two Items");
  doc.H.AddUndoItem(doc.Restore).Write(doc.Value.data(), doc.Value.size());
  const Bytes middle = Pattern(400, 2);
  doc.H.AddUndoItem(doc.Restore).Write(middle.data(), middle.size());
  doc.Value = {7};
  doc.H.EndRecord();
  doc.H.MarkSaved();

  doc.FailAfter = 1;  // the first handler runs, the second throws
  EXPECT_THROW(doc.H.Undo(), std::runtime_error);
  EXPECT_EQ(doc.H.HistoryState(), TvnxUndoRedoRepeatStreamer::THistoryState::Idle);
  EXPECT_EQ(doc.Value, middle);
  // The model changed although the undo list did not move.
  EXPECT_TRUE(doc.H.IsModified());

  // The partial redo level was closed properly: redoing it restores {7}.
  doc.FailAfter = -1;
  ASSERT_TRUE(doc.H.CanRedo());
  EXPECT_TRUE(doc.H.RedoList().back()->Items(0).Prepared());
  doc.H.Redo();
  EXPECT_EQ(doc.Value, Bytes{7});
  // Undoing that partial level, then the untouched original, goes all the way back.
  doc.H.Undo();
  EXPECT_EQ(doc.Value, middle);
  doc.H.Undo();
  EXPECT_EQ(doc.Value, Pattern(300, 1));
  EXPECT_TRUE(doc.H.IsModified());
  doc.H.MarkSaved();
  EXPECT_FALSE(doc.H.IsModified());
}

TEST(UndoHistory, HandlerFailingDuringRepeatLeavesAnUndoableLevel) {
  TDoc doc;
  doc.Value = {1};
  doc.Append("Append", {2});
  // A second repeat item that fails when repeated.
  bool fail = false;
  doc.H.BeginRecord("Append Twice");
  doc.H.AddUndoItem(doc.Restore).Write(doc.Value.data(), doc.Value.size());
  doc.H.AddRepeatItem([&](TUndoRedoRepeatItem&, TStream&) {
    if (fail) throw std::runtime_error("second part failed");
  });
  doc.H.AddRepeatItem(doc.AppendAgain)->Write("\x05", 1);
  doc.Value.push_back(5);
  doc.H.EndRecord();
  fail = true;
  const size_t levels = doc.H.UndoList().size();
  EXPECT_THROW(doc.H.Repeat(), std::runtime_error);
  EXPECT_EQ(doc.Value, (Bytes{1, 2, 5, 5}));
  ASSERT_EQ(doc.H.UndoList().size(), levels + 1);
  doc.H.Undo();
  EXPECT_EQ(doc.Value, (Bytes{1, 2, 5}));
}

TEST(UndoHistory, SavedStateLostIsItsOwnFlag) {
  TDoc doc;
  doc.H.SetMaxCount(2);
  doc.Set("1", {1});
  doc.Set("2", {2});
  doc.H.MarkSaved();
  doc.H.Undo();
  doc.Set("3", {3});  // the saved state is gone
  EXPECT_TRUE(doc.H.SavedStateLost());
  // Trimming shifts positions; no later position may pass for the saved one.
  for (int i = 0; i < 5; ++i) {
    doc.Set("more", {uint8_t(10 + i)});
    EXPECT_TRUE(doc.H.IsModified());
    doc.H.Undo();
    EXPECT_TRUE(doc.H.IsModified());
    doc.H.Redo();
  }
  doc.H.MarkSaved();
  EXPECT_FALSE(doc.H.SavedStateLost());
  EXPECT_FALSE(doc.H.IsModified());
}

TEST(UndoHistory, ClearMarksModifiedUntilSaved) {
  TDoc doc;
  EXPECT_FALSE(doc.H.IsModified());
  doc.H.Clear();
  EXPECT_TRUE(doc.H.IsModified());
  EXPECT_FALSE(doc.H.CanUndo());
  doc.H.MarkSaved();
  EXPECT_FALSE(doc.H.IsModified());
}

TEST(UndoHistory, LimitsChangedWhileRecordingWaitForTheEndOfTheStep) {
  TDoc doc;
  for (int i = 0; i < 4; ++i) doc.Set("x", {uint8_t(i)});
  doc.H.BeginRecord("y");
  doc.H.SetMaxCount(1);  // must not free the level being recorded
  doc.H.AddUndoItem(doc.Restore).Write(doc.Value.data(), doc.Value.size());
  doc.Value = {9};
  doc.H.EndRecord();
  ASSERT_EQ(doc.H.UndoList().size(), 1u);
  doc.H.Undo();
  EXPECT_EQ(doc.Value, Bytes{3});
}

TEST(UndoData, HostileStoredFormsFailCleanly) {
  const Bytes good = PackUndoData(Pattern(1000).data(), 1000);
  auto withLength = [&](uint32_t length) {
    Bytes b = good;
    b[0] = uint8_t(length);
    b[1] = uint8_t(length >> 8);
    b[2] = uint8_t(length >> 16);
    b[3] = uint8_t(length >> 24);
    return b;
  };
  Bytes trailing = good;
  trailing.push_back(0);
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"empty", Bytes{}},
      {"length only", Bytes{0xE8, 0x03, 0, 0}},
      {"truncated", Bytes(good.begin(), good.end() - 5)},
      {"declared too short", withLength(999)},
      {"declared too long", withLength(1001)},
      {"declared 4 GiB", withLength(0xFFFFFFFFu)},
      {"trailing byte", trailing},
      {"not zlib", Bytes{0x2C, 0x01, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    EXPECT_THROW(UnpackUndoData(bytes.data(), bytes.size()), EvnxUndoRedoRepeatStreamerError);
  }
  EXPECT_EQ(UnpackUndoData(good.data(), good.size()), Pattern(1000));
}

}  // namespace
}  // namespace tsy
