#include "fontfile/collection.h"

#include <filesystem>

#include "fontfile/fontexception.h"
#include "fontfile/primitives.h"
#include "fontfile/tables/head.h"

namespace tsy {

namespace {

constexpr uint32_t kChecksumMagic = 0xB1B0AFBA;

struct TMemberEntry {
  TTag Tag;
  uint32_t Offset = 0, Length = 0;
};

std::vector<TMemberEntry> ReadDirectory(const TReadOnlyStream& File, uint64_t DirectoryOffset, uint32_t& Version) {
  const uint64_t size = File.Size();
  if (DirectoryOffset > size || size - DirectoryOffset < 12) throw FontException("This is not a valid font file.");
  TReadOnlyStream s = File.Sub(0, size);
  s.Seek(DirectoryOffset);
  Version = ReadUInt32(s);
  const uint16_t numTables = ReadUInt16(s);
  if (DirectoryOffset + 12 + 16 * uint64_t(numTables) > size) throw FontException("This is not a valid font file.");
  std::vector<TMemberEntry> dir(numTables);
  for (uint16_t i = 0; i < numTables; ++i) {
    s.Seek(DirectoryOffset + 12 + 16 * uint64_t(i));
    dir[i].Tag = ReadTag(s);
    ReadUInt32(s);
    dir[i].Offset = ReadUInt32(s);
    dir[i].Length = ReadUInt32(s);
    if (uint64_t(dir[i].Offset) + dir[i].Length > size) throw FontException("This is not a valid font file.");
  }
  return dir;
}

// The full name from a name table's bytes. A small reader of its own until
// the typed name table is merged; it follows the same choice of records.
std::string FullNameFromNameTable(const TTableUnknown& Name) {
  const auto& b = Name.Data.Bytes();
  auto u16 = [&](size_t o) -> uint32_t { return o + 2 <= b.size() ? uint32_t(b[o] << 8 | b[o + 1]) : 0; };
  const uint32_t count = u16(2), storage = u16(4);
  struct TRecord {
    uint32_t Platform, Encoding, Language, NameID, Length, Offset;
  };
  auto record = [&](uint32_t i) {
    const size_t r = 6 + 12 * size_t(i);
    return TRecord{u16(r), u16(r + 2), u16(r + 4), u16(r + 6), u16(r + 8), u16(r + 10)};
  };
  auto text = [&](const TRecord& R, bool Utf16) {
    const size_t start = size_t(storage) + R.Offset;
    if (start > b.size() || R.Length > b.size() - start) return std::string();
    std::string out;
    auto put = [&](uint32_t c) {
      if (c < 0x80) out += char(c);
      else if (c < 0x800) out += char(0xC0 | c >> 6), out += char(0x80 | (c & 0x3F));
      else out += char(0xE0 | c >> 12), out += char(0x80 | ((c >> 6) & 0x3F)), out += char(0x80 | (c & 0x3F));
    };
    if (Utf16)
      for (size_t k = 0; k + 1 < R.Length; k += 2) put(uint32_t(b[start + k] << 8 | b[start + k + 1]));
    else
      for (size_t k = 0; k < R.Length; ++k) put(b[start + k]);
    return out;
  };
  const uint32_t n = std::min<uint32_t>(count, uint32_t((b.size() >= 6 ? b.size() - 6 : 0) / 12));
  for (uint32_t encoding : {0u, 1u}) {
    bool group = false;
    for (uint32_t i = 0; i < n; ++i) {
      const TRecord r = record(i);
      if (r.Platform != 3 || r.Encoding != encoding) continue;
      group = true;
      if (r.NameID == 4 && r.Language == 1033) return text(r, true);
    }
    // The Microsoft names decide once they exist, even without a full name.
    if (group) return {};
  }
  for (uint32_t i = 0; i < n; ++i) {
    const TRecord r = record(i);
    if (r.Platform == 1 && r.Encoding == 0 && r.NameID == 4 && r.Language == 0) return text(r, false);
  }
  return {};
}

}  // namespace

void TTrueTypeCollectionFont::LoadFromStream(const TReadOnlyStream& File, uint64_t DirectoryOffset) {
  Tables.Clear();
  for (const TMemberEntry& e : ReadDirectory(File, DirectoryOffset, Version)) {
    TReadOnlyStream window = File.Sub(e.Offset, e.Length);
    std::unique_ptr<TFontTable> table;
    if (e.Tag == "head") table = std::make_unique<TTableHead>();
    else table = std::make_unique<TTableUnknown>(e.Tag);
    TFontTable* raw = table.get();
    Tables.Add(std::move(table));
    raw->LoadFromStream(window);
  }
}

void TTrueTypeCollectionFont::ReadNamesOnly(const TReadOnlyStream& File, uint64_t DirectoryOffset) {
  Tables.Clear();
  for (const TMemberEntry& e : ReadDirectory(File, DirectoryOffset, Version)) {
    if (e.Tag != "name" || Tables.Find("name")) continue;
    TReadOnlyStream window = File.Sub(e.Offset, e.Length);
    auto table = std::make_unique<TTableUnknown>("name");
    table->LoadFromStream(window);
    Tables.Add(std::move(table));
  }
}

std::string TTrueTypeCollectionFont::GetFullName() const {
  const auto* name = dynamic_cast<const TTableUnknown*>(Tables.Find("name"));
  return name ? FullNameFromNameTable(*name) : std::string();
}

void TTrueTypeCollectionFont::SaveToStream(TStream& S) {
  const uint64_t base = S.Position();
  const uint16_t count = uint16_t(Tables.Count());
  const TSearchParams sp = CalcSearchParams(count, 16);
  WriteUInt32(S, Version);
  WriteUInt16(S, count);
  WriteUInt16(S, sp.SearchRange);
  WriteUInt16(S, sp.EntrySelector);
  WriteUInt16(S, sp.RangeShift);
  if (count == 0) return;
  auto* head = dynamic_cast<TTableHead*>(Tables.Find("head"));
  if (head) head->checkSumAdjustment = 0;
  OrderLines = DefaultTableOrder();
  Tables.BuildOrder(OrderLines);
  const uint64_t dirEnd = base + 12 + 16 * uint64_t(count);
  S.Seek(base + 12);
  for (uint16_t i = 0; i < count; ++i) {
    static const uint8_t zeros[16] = {};
    S.Write(zeros, 16);
  }
  uint32_t total = 0;
  uint64_t adjustment = 0;
  for (const auto& item : Tables.Order().Items) {
    const uint64_t start = S.Position();
    item.Table->SaveToStream(S);
    const uint64_t length = S.Position() - start;
    if (length > 0xFFFFFFFFu) throw ERangeError(Format("Table %s is too large", item.Table->Tag().c_str()));
    if (item.Table == head) adjustment = start + 8;
    PadStream(S, 4, base);
    const uint64_t end = S.Position();
    const uint32_t checksum = TableChecksum(S, start, end - start);
    total += checksum;
    S.Seek(base + 12 + 16 * uint64_t(item.Index));
    WriteTag(S, item.Table->Tag());
    WriteUInt32(S, checksum);
    WriteUInt32(S, uint32_t(start - base));
    WriteUInt32(S, uint32_t(length));
    S.Seek(end);
  }
  const uint64_t after = S.Position();
  if (head) {
    total += TableChecksum(S, base, dirEnd - base);
    head->checkSumAdjustment = kChecksumMagic - total;
    S.Seek(adjustment);
    WriteUInt32(S, head->checkSumAdjustment);
  }
  S.Seek(after);
}

void TTrueTypeCollectionFont::SaveToFile(const std::string& FileName) {
  TMemoryStream m;
  SaveToStream(m);
  WriteFileAtomically(FileName, m.Bytes());
}

std::vector<uint32_t> TTrueTypeCollection::ReadOffsets(const TReadOnlyStream& File) {
  const uint64_t size = File.Size();
  TReadOnlyStream s = File.Sub(0, size);
  if (size < 12 || ReadTag(s) != "ttcf") throw FontException("This is not a TrueType collection file.");
  const uint32_t version = ReadUInt32(s);
  if (version != 0x00010000 && version != 0x00020000)
    throw FontException(Format("Unknown TrueType collection version %u.%u.", version >> 16, version & 0xFFFF));
  const uint32_t numFonts = ReadUInt32(s);
  if (12 + 4 * uint64_t(numFonts) > size)
    throw FontException(Format("The collection lists %u fonts, more than the file holds.", numFonts));
  std::vector<uint32_t> offsets(numFonts);
  for (uint32_t& o : offsets) {
    o = ReadUInt32(s);
    // Each member needs at least its 12-byte offset table.
    if (uint64_t(o) + 12 > size) throw FontException("A collection member lies outside the file.");
  }
  return offsets;
}

bool TTrueTypeCollection::IsCollectionFile(const std::string& FileName) {
  try {
    const auto bytes = ReadWholeFile(FileName);
    ReadOffsets(TReadOnlyStream(bytes));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TTrueTypeCollection::ReadFontNames(const std::string& FileName) {
  Names.clear();
  const auto bytes = ReadWholeFile(FileName);
  const TReadOnlyStream file(bytes);
  for (uint32_t offset : ReadOffsets(file)) {
    TTrueTypeCollectionFont member;
    member.ReadNamesOnly(file, offset);
    Names.push_back(member.GetFullName());
  }
}

void TTrueTypeCollection::Extract(const std::string& FileName, const std::string& Folder, const std::string& Prefix) {
  Written.clear();
  const auto bytes = ReadWholeFile(FileName);
  const TReadOnlyStream file(bytes);
  const std::vector<uint32_t> offsets = ReadOffsets(file);
  size_t selected = 0;
  for (size_t j = 0; j < offsets.size(); ++j) selected += IsSelected(j);
  if (selected == 0) return;
  const std::filesystem::path folder(Folder);
  auto stop = [&] { return StopRequested && StopRequested(); };
  auto progress = [&](const std::string& Text, int Percent) {
    if (OnProgress && !stop()) OnProgress(Text, Percent);
  };
  size_t k = 0;
  for (size_t j = 0; j < offsets.size(); ++j) {
    if (!IsSelected(j)) continue;
    const std::string target = (folder / (Prefix + std::to_string(j) + ".ttf")).string();
    const int base = int(k * 100 / selected), step = int(100 / selected);
    const std::string name = j < Names.size() ? Names[j] : std::string();
    progress("Extract TrueType Font " + name, base + step / 3);
    TTrueTypeCollectionFont member;
    if (!stop()) member.LoadFromStream(file, offsets[j]);
    progress("Saving TrueType Font File " + std::filesystem::path(target).filename().string(), base + 2 * step / 3);
    if (!stop()) {
      member.SaveToFile(target);
      Written.push_back(target);
    }
    ++k;
  }
}

}  // namespace tsy
