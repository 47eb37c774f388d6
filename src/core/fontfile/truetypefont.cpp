// The container side of TTrueTypeFont: directory, table bodies, checksums.
#include "fontfile/truetypefont.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include "common/resources.h"
#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"
#include "fontfile/tables/glyf.h"
#include "fontfile/warnings.h"

namespace tsy {

namespace {

constexpr uint32_t kChecksumMagic = 0xB1B0AFBA;
constexpr uint32_t kHeadMagic = 0x5F0F3CF5;

// Reports 0 when a load or save ends, also by an exception.
struct TProgressEnd {
  std::function<void()> Done;
  ~TProgressEnd() { Done(); }
};

struct TDirEntry {
  TTag Tag;
  uint32_t Offset = 0;
  uint32_t Length = 0;
};

}  // namespace

TTrueTypeFont::TTrueTypeFont() = default;
TTrueTypeFont::~TTrueTypeFont() = default;

void TTrueTypeFont::Clear() {
  Loaded = false;
  Outlines.Clear();
  Tables.Clear();
}

void TTrueTypeFont::Progress(int Percent) {
  if (OnProgress) OnProgress(*this, ProgressText, Percent);
}

void TTrueTypeFont::LoadFromFile(const std::string& FileName) {
  auto bytes = ReadWholeFile(FileName);
  TReadOnlyStream s(bytes);
  LoadFromStream(s);
}

void TTrueTypeFont::LoadFromStream(TStream& S) { LoadFromStream(S, 0); }

void TTrueTypeFont::LoadFromStream(TStream& S, uint64_t DirectoryOffset) {
  ProgressText = "Loading Font...";
  Progress(1);
  TProgressEnd end{[this] { Progress(0); }};
  TWarningCollector::Clear();
  Clear();
  // Two fonts loaded in the same millisecond must still differ.
  FontIdentification = std::random_device{}();

  if (S.Position() >= S.Size()) throw FontException("Stream is empty!");

  // Every table reads through a window onto the sfnt's bytes. A memory-backed
  // stream is used in place; any other stream is read into memory first.
  std::vector<uint8_t> copy;
  const uint8_t* base;
  uint64_t size;
  if (auto* ro = dynamic_cast<TReadOnlyStream*>(&S)) {
    base = ro->Memory() + ro->Position();
    size = ro->Remaining();
  } else if (auto* mem = dynamic_cast<TMemoryStream*>(&S)) {
    base = mem->Memory() + mem->Position();
    size = mem->Remaining();
  } else {
    copy.resize(S.Remaining());
    S.ReadExact(copy.data(), copy.size());
    base = copy.data();
    size = copy.size();
  }
  TReadOnlyStream sfnt(base, size);
  if (DirectoryOffset > size || size - DirectoryOffset < 12) throw FontException("This is not a valid font file.");
  sfnt.Seek(DirectoryOffset);

  Version = ReadUInt32(sfnt);
  if ((Version >> 16) != 1 || (Version & 0xFFFF) != 0)
    TWarningCollector::AddFmt("Unknown font format (version number %d.%d).", int(int16_t(Version >> 16)),
                              int(Version & 0xFFFF));
  const uint16_t numTables = ReadUInt16(sfnt);
  if (DirectoryOffset + 12 + uint64_t(16) * numTables > size) throw FontException("This is not a valid font file.");

  std::vector<TDirEntry> dir(numTables);
  sfnt.Seek(DirectoryOffset + 12);
  for (TDirEntry& e : dir) {
    e.Tag = ReadTag(sfnt);
    ReadUInt32(sfnt);  // checksum: recomputed at every save
    e.Offset = ReadUInt32(sfnt);
    e.Length = ReadUInt32(sfnt);
  }

  int read = 0;
  auto readEntry = [&](const TDirEntry& e) {
    if (e.Offset > size) throw FontException("This is not a valid font file.");
    if (uint64_t(e.Offset) + e.Length > size)
      throw EStreamError(Format("Could not read font data: table %s runs past the end of the file.", e.Tag.c_str()));
    TReadOnlyStream window = sfnt.Sub(e.Offset, e.Length);
    ReadTableEntry(window, e.Tag, e.Length);
    ++read;
    Progress(int(std::lround(double(read) / numTables * 20)));
  };

  // The header tables first: later tables are told values from them. Within
  // each pass the entries go in tag order, so every table lands at the end of
  // the sorted registry; a hostile directory of 65535 entries in reverse order
  // then costs no more than a sorted one.
  auto isHeader = [](const TTag& t) { return t == "head" || t == "hhea" || t == "maxp"; };
  std::stable_sort(dir.begin(), dir.end(), [&](const TDirEntry& a, const TDirEntry& b) {
    const bool ha = isHeader(a.Tag), hb = isHeader(b.Tag);
    return ha != hb ? ha : a.Tag < b.Tag;
  });
  for (const TDirEntry& e : dir) readEntry(e);

  FinishLoad();
  Loaded = true;
}

void TTrueTypeFont::LoadTableOrderLines() {
  const std::string file = TableOrderFileName.empty() ? ResourceFile("TableOffsetOrder.txt") : TableOrderFileName;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    TableOrderLines = DefaultTableOrder();
    return;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) return;  // unreadable: keep the previous order
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == ';') continue;
    line.resize(4, ' ');
    lines.push_back(line);
  }
  if (in.bad()) return;
  TableOrderLines = std::move(lines);
}

void TTrueTypeFont::SaveToStream(TStream& S) {
  const uint64_t start = S.Position();
  ProgressText = "Saving Font...";
  Progress(10);
  TProgressEnd end{[this] { Progress(0); }};

  PrepareSave();
  Progress(25);
  // Room for the whole file in one allocation in nearly every case: the
  // glyph data dominate, the other tables are rarely larger than a quarter
  // of them. Unwritten capacity costs no memory pages.
  if (auto* m = dynamic_cast<TMemoryStream*>(&S)) {
    uint64_t estimate = start + (1u << 20);
    for (size_t i = 0; i < Tables.Count(); ++i)
      if (auto* g = dynamic_cast<const TTableGlyf*>(Tables.Items(i))) estimate += g->Data.Size() + g->Data.Size() / 2;
    if (m->Bytes().capacity() < estimate) m->Bytes().reserve(estimate);
  }

  const size_t count = Tables.Count();
  if (count > 65535) throw ERangeError(Format("A font cannot hold %zu tables", count));
  const uint16_t numTables = uint16_t(count);
  const TSearchParams sp = CalcSearchParams(numTables, 16);
  WriteUInt32(S, Version);
  WriteUInt16(S, numTables);
  WriteUInt16(S, sp.SearchRange);
  WriteUInt16(S, sp.EntrySelector);
  WriteUInt16(S, sp.RangeShift);

  if (numTables > 0) {
    const uint64_t dirEnd = start + 12 + 16 * uint64_t(numTables);
    // Reserve the directory so the first body lands behind it.
    S.Seek(start + 12);
    for (uint16_t i = 0; i < numTables; ++i) {
      static const uint8_t zeros[16] = {};
      S.Write(zeros, 16);
    }
    LoadTableOrderLines();
    Progress(30);
    Tables.BuildOrder(TableOrderLines);

    uint32_t total = 0;
    bool headWritten = false;
    uint64_t adjustmentPos = 0;
    const auto& items = Tables.Order().Items;
    for (size_t n = 0; n < items.size(); ++n) {
      const auto& item = items[n];
      const uint64_t p = S.Position();
      item.Table->SaveToStream(S);
      const uint64_t length = S.Position() - p;
      if (length > 0xFFFFFFFFu) throw ERangeError(Format("Table %s is too large", item.Table->Tag().c_str()));
      if (item.Table->Tag() == "head") {
        if (length < 12) throw FontException("The head table is too short to be saved.");
        S.Seek(p + 8);
        WriteUInt32(S, 0);
        S.Seek(p + length);
        headWritten = true;
        adjustmentPos = p + 8;
      }
      PadStream(S, 4, start);
      const uint64_t bodyEnd = S.Position();
      const uint32_t checksum = TableChecksum(S, p, bodyEnd - p);
      total += checksum;
      S.Seek(start + 12 + 16 * uint64_t(item.Index));
      WriteTag(S, item.Table->Tag());
      WriteUInt32(S, checksum);
      WriteUInt32(S, uint32_t(p - start));
      WriteUInt32(S, uint32_t(length));
      S.Seek(bodyEnd);
      Progress(30 + int(std::lround(65.0 * double(n + 1) / double(items.size()))));
    }
    const uint64_t after = S.Position();
    if (headWritten) {
      total += TableChecksum(S, start, dirEnd - start);
      const uint32_t adjustment = kChecksumMagic - total;
      S.Seek(adjustmentPos);
      WriteUInt32(S, adjustment);
      StoreCheckSumAdjustment(adjustment);
    }
    S.Seek(after);
  }
  FinishSave();
  Progress(99);
}

void TTrueTypeFont::SaveToFile(const std::string& FileName) {
  CheckSave();
  TMemoryStream m;
  SaveToStream(m);
  WriteFileAtomically(FileName, m.Bytes());
}

bool TTrueTypeFont::IsFontFile(const std::string& FileName) {
  try {
    TFileStream f(FileName, TFileStream::TMode::Read);
    const uint64_t size = f.Size();
    if (size < 12) return false;
    ReadUInt32(f);
    const uint16_t numTables = ReadUInt16(f);
    f.Skip(6);
    if (numTables == 0 || 12 + 16 * uint64_t(numTables) > size) return false;
    for (uint16_t i = 0; i < numTables; ++i) {
      f.Seek(12 + 16 * uint64_t(i));
      const TTag tag = ReadTag(f);
      ReadUInt32(f);
      const uint32_t offset = ReadUInt32(f), length = ReadUInt32(f);
      if (uint64_t(offset) + length > size) return false;
      if (tag == "head") {
        if (uint64_t(offset) + 16 > size) return false;
        f.Seek(uint64_t(offset) + 12);
        return ReadUInt32(f) == kHeadMagic;
      }
    }
  } catch (const std::exception&) {
  }
  return false;
}

}  // namespace tsy
