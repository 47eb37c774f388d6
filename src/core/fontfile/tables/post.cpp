#include "fontfile/tables/post.h"

#include <algorithm>
#include <unordered_map>

#include "fontfile/fontexception.h"
#include "fontfile/tables/macglyphs.h"
#include "fontfile/tables/tablewindow.h"
#include "fontfile/warnings.h"

namespace tsy {

namespace {

constexpr int32_t kFormat1 = 0x00010000, kFormat2 = 0x00020000, kFormat25 = 0x00025000, kFormat3 = 0x00030000,
                  kFormat4 = 0x00040000;
constexpr uint32_t kMaxCustomNames = 32768 - 258;

std::string Cut(const std::string& Name) { return Name.size() > 255 ? Name.substr(0, 255) : Name; }

int Major(int32_t F) { return int(int16_t(uint32_t(F) >> 16)); }
int Minor(int32_t F) { return int(uint32_t(F) & 0xFFFF); }

}  // namespace

void TTablePost::ReadHeader(TStream& S) {
  format = ReadFixed(S);
  italicAngle = ReadFixed(S);
  underlinePosition = ReadInt16(S);
  underlineThickness = ReadInt16(S);
  isFixedPitch = ReadUInt32(S);
  minMemType42 = ReadUInt32(S);
  maxMemType42 = ReadUInt32(S);
  minMemType1 = ReadUInt32(S);
  maxMemType1 = ReadUInt32(S);
}

void TTablePost::WriteHeader(TStream& S) const {
  WriteFixed(S, format);
  WriteFixed(S, italicAngle);
  WriteInt16(S, underlinePosition);
  WriteInt16(S, underlineThickness);
  WriteUInt32(S, isFixedPitch);
  WriteUInt32(S, minMemType42);
  WriteUInt32(S, maxMemType42);
  WriteUInt32(S, minMemType1);
  WriteUInt32(S, maxMemType1);
}

void TTablePost::LoadFromStream(TStream& S) {
  Names.clear();
  FCustomSpelling.clear();
  numberOfGlyphs = 0;
  std::vector<uint8_t> holder;
  TReadOnlyStream t = TableWindow(S, holder);
  if (t.Size() < 32) TWarningCollector::AddFmt("[post] Table of %llu bytes is shorter than its header.",
                                               (unsigned long long)t.Size());
  ReadHeader(t);
  auto noNames = [&] {
    format = kFormat2;
    Names.clear();
    numberOfGlyphs = 0;
  };
  if (Minor(format) != 0) {
    if (format == kFormat25)
      TWarningCollector::AddFmt("Unsupported Post Space Saving Table FormatType %d.%d", Major(format), Minor(format));
    else
      TWarningCollector::AddFmt("Unknown Post FormatType %d.%d", Major(format), Minor(format));
    noNames();
    return;
  }
  switch (format) {
    case kFormat1:
      for (int i = 0; i < kStandardMacGlyphCount; ++i) Names.push_back(StandardMacGlyph(i).Name);
      numberOfGlyphs = kStandardMacGlyphCount;
      format = kFormat2;
      break;
    case kFormat2: ReadFormat2(t); break;
    case kFormat3: break;
    case kFormat4:
      TWarningCollector::AddFmt("[Apple for use with QuickDraw GX] Unsupported Post FormatType %d.%d", Major(format),
                                Minor(format));
      noNames();
      break;
    default:
      TWarningCollector::AddFmt("Unknown Post FormatType %d.%d", Major(format), Minor(format));
      noNames();
      break;
  }
}

void TTablePost::ReadFormat2(TStream& S) {
  numberOfGlyphs = ReadUInt16(S);
  const uint64_t indexAt = S.Position();
  const uint64_t stringsAt = indexAt + 2ull * numberOfGlyphs;
  if (stringsAt > S.Size())
    TWarningCollector::AddFmt("[post] The %d glyph name indices run past the end of the table; the missing ones "
                              "read as empty names.",
                              numberOfGlyphs);
  // The custom strings are read in order as far as the indices need them;
  // reading stops at the table's end.
  std::vector<std::string> custom;
  uint64_t next = stringsAt;
  bool warnedEnd = false;
  Names.reserve(numberOfGlyphs);
  for (uint32_t k = 0; k < numberOfGlyphs; ++k) {
    uint16_t index = 0;
    if (indexAt + 2ull * k + 2 <= S.Size()) {
      S.Seek(indexAt + 2ull * k);
      index = ReadUInt16(S);
    } else {
      Names.emplace_back();
      continue;
    }
    if (index < kStandardMacGlyphCount) {
      Names.emplace_back(StandardMacGlyph(index).Name);
      continue;
    }
    if (index >= 32768) {
      Names.emplace_back();
      continue;
    }
    const uint32_t wanted = index - kStandardMacGlyphCount;
    while (custom.size() <= wanted && next < S.Size()) {
      S.Seek(next);
      const uint8_t len = ReadUInt8(S);
      const uint64_t avail = std::min<uint64_t>(len, S.Size() - (next + 1));
      std::string s(size_t(avail), '\0');
      if (avail) S.Read(s.data(), s.size());
      custom.push_back(std::move(s));
      next += 1 + len;
    }
    if (wanted < custom.size()) {
      Names.push_back(custom[wanted]);
      if (StandardNameIndex(custom[wanted]) >= 0) {
        FCustomSpelling.resize(Names.size());
        FCustomSpelling.back() = true;
      }
    } else {
      if (!warnedEnd)
        TWarningCollector::AddFmt("[post] Glyph %u names custom string %u, which lies past the end of the table; "
                                  "such glyphs get empty names.",
                                  k, wanted);
      warnedEnd = true;
      Names.emplace_back();
    }
  }
}

void TTablePost::SaveToStream(TStream& S) const {
  if (Minor(format) != 0) {
    if (format == kFormat25)
      throw FontException(Format("Unsupported Post Space Saving Table FormatType %d.%d", Major(format), Minor(format)));
    throw FontException(Format("Unknown Post FormatType %d.%d", Major(format), Minor(format)));
  }
  switch (format) {
    case kFormat2:
      WriteHeader(S);
      WriteFormat2(S);
      break;
    case kFormat3: WriteHeader(S); break;
    case kFormat1: throw FontException(Format("Saving not supported: Post FormatType %d.%d", Major(format), Minor(format)));
    case kFormat4:
      throw FontException(Format("[Apple for use with QuickDraw GX] Unsupported Post FormatType %d.%d", Major(format),
                                 Minor(format)));
    default: throw FontException(Format("Unknown Post FormatType %d.%d", Major(format), Minor(format)));
  }
}

void TTablePost::WriteFormat2(TStream& S) const {
  const uint16_t n = CheckedUInt16(int64_t(Names.size()), "post numberOfGlyphs");
  WriteUInt16(S, n);
  std::vector<const std::string*> strings;
  // A name used by several glyphs is stored once: fonts with many glyphs of
  // one custom name would otherwise run out of custom indices.
  std::unordered_map<std::string, uint16_t> stored;
  uint32_t dropped = 0;
  for (size_t i = 0; i < Names.size(); ++i) {
    const std::string& name = Names[i];
    const int standard = IsCustomSpelling(i) ? -1 : StandardNameIndex(name);
    if (standard >= 0) {
      WriteUInt16(S, uint16_t(standard));
      continue;
    }
    auto it = stored.find(name);
    if (it != stored.end()) {
      WriteUInt16(S, it->second);
      continue;
    }
    if (strings.size() >= kMaxCustomNames) {
      ++dropped;
      WriteUInt16(S, 0);
      continue;
    }
    const uint16_t index = uint16_t(kStandardMacGlyphCount + strings.size());
    stored.emplace(name, index);
    strings.push_back(&name);
    WriteUInt16(S, index);
  }
  if (dropped)
    TWarningCollector::AddFmt("[post] More than %u different custom glyph names; %u glyphs are saved as .notdef.",
                              kMaxCustomNames, dropped);
  for (const std::string* s : strings) WriteShortString(S, Cut(*s));
}

void TTablePost::SetHasGlyphNames(bool On) {
  if (On == HasGlyphNames()) return;
  if (On) {
    format = kFormat2;
    ResetNames();
  } else {
    format = kFormat3;
    Names.clear();
    FCustomSpelling.clear();
  }
}

void TTablePost::ResetNames() {
  Names.assign(numberOfGlyphs, std::string());
  FCustomSpelling.clear();
}

void TTablePost::SetName(size_t Index, const std::string& Name) {
  if (Index >= Names.size())
    throw FontException(
        Format("SetPostScriptName Index %d, Value %s, while count is %d", int(Index), Name.c_str(), int(Names.size())));
  Names[Index] = Cut(Name);
  if (Index < FCustomSpelling.size()) FCustomSpelling[Index] = false;
}

void TTablePost::AddName(const std::string& Name) { Names.push_back(Cut(Name)); }

void TTablePost::DeleteName(size_t Index) {
  if (!HasGlyphNames() || Index >= Names.size()) return;
  Names.erase(Names.begin() + long(Index));
  if (Index < FCustomSpelling.size()) FCustomSpelling.erase(FCustomSpelling.begin() + long(Index));
  if (numberOfGlyphs > 0) --numberOfGlyphs;
}

void TTablePost::InsertName(size_t Index) {
  if (!HasGlyphNames()) return;
  if (Index < FCustomSpelling.size()) FCustomSpelling.insert(FCustomSpelling.begin() + long(Index), false);
  Names.insert(Names.begin() + long(std::min(Index, Names.size())), std::string());
  numberOfGlyphs = CheckedUInt16(int64_t(numberOfGlyphs) + 1, "post numberOfGlyphs");
}

void TTablePost::SwapNames(size_t A, size_t B) {
  if (!HasGlyphNames() || A >= Names.size() || B >= Names.size()) return;
  std::swap(Names[A], Names[B]);
  if (FCustomSpelling.size() < Names.size()) FCustomSpelling.resize(Names.size());
  const bool a = FCustomSpelling[A];
  FCustomSpelling[A] = FCustomSpelling[B];
  FCustomSpelling[B] = a;
}

void TTablePost::AssignHeader(const TTablePost& Other) {
  TMemoryStream m;
  Other.WriteHeader(m);
  m.Seek(0);
  ReadHeader(m);
}

bool TTablePost::SameHeader(const TTablePost& Other) const {
  TMemoryStream a, b;
  WriteHeader(a);
  Other.WriteHeader(b);
  return a.Bytes() == b.Bytes();
}

}  // namespace tsy
