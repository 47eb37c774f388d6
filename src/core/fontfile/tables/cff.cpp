#include "fontfile/tables/cff.h"

#include <algorithm>
#include <cmath>

#include "fontfile/fontexception.h"

namespace tsy {

namespace {

constexpr int kEscape = 1200;

// Top DICT operators this reader knows; CID-keyed fonts add 12 30 to 12 38.
bool TopDictOperator(int Op) {
  return (Op >= 0 && Op <= 5) || (Op >= 13 && Op <= 18) || (Op >= kEscape && Op <= kEscape + 8) ||
         (Op >= kEscape + 20 && Op <= kEscape + 23) || (Op >= kEscape + 30 && Op <= kEscape + 38);
}

bool PrivateDictOperator(int Op) {
  return (Op >= 6 && Op <= 11) || (Op >= 19 && Op <= 21) || (Op >= kEscape + 9 && Op <= kEscape + 14) ||
         (Op >= kEscape + 17 && Op <= kEscape + 19);
}

[[noreturn]] void WrongOperator(int Op) {
  if (Op >= kEscape) throw FontException(Format("Wrong DICT bytes %d %d", 12, Op - kEscape));
  throw FontException(Format("Wrong DICT byte %d", Op));
}

}  // namespace

TTableCFF::TTableCFF(const std::string& Tag) : TFontTable(Tag) { CheckTag("TTableCFF", "CFF ", Tag); }

void TTableCFF::ReadPrivate(TCFFSpan Span, TCFFSubroutines& Subrs, bool Keep) {
  const TCFFData& data = Glyphs.Data;
  data.CheckRange(Span.Offset, Span.Length, "Private DICT");
  int64_t subrs = -1;
  DecodeCFFDict(data, Span, [&](const TCFFDictEntry& E) {
    if (!PrivateDictOperator(E.Operator)) WrongOperator(E.Operator);
    switch (E.Operator) {
      case 19: subrs = CFFDictOffset(E.Operand(0), data.Size(), "Subrs offset"); break;
      case 20: if (Keep) defaultWidthX = E.Operand(0); break;
      case 21: if (Keep) nominalWidthX = E.Operand(0); break;
      case kEscape + 9: if (Keep) BlueScale = E.Operand(0); break;
      default: break;
    }
  });
  if (subrs >= 0) {
    // Counted from the start of the Private DICT.
    uint64_t pos = uint64_t(Span.Offset) + uint64_t(subrs);
    Subrs.Items = data.ReadIndex(pos, "local subroutine INDEX");
    Subrs.ComputeBias(CharstringType);
  }
}

void TTableCFF::ReadCharset(uint32_t Offset) {
  // Only accented glyphs need the charset; one that cannot be read leaves
  // them unresolved instead of failing the whole font.
  const TCFFData& data = Glyphs.Data;
  const size_t n = Glyphs.CharStrings.size();
  std::vector<uint16_t>& sids = Glyphs.GlyphSIDs;
  sids.clear();
  if (Offset == 0) {  // ISOAdobe: glyph i has string id i
    for (size_t g = 0; g < n && g <= 228; ++g) sids.push_back(uint16_t(g));
    return;
  }
  if (Offset <= 2 || n == 0) return;  // the expert charsets name no standard-encoding glyph
  try {
    uint64_t pos = Offset;
    const uint8_t format = data.Byte(pos++);
    sids.push_back(0);
    while (sids.size() < n) {
      if (format == 0) {
        sids.push_back(uint16_t(data.Number(pos, 2)));
        pos += 2;
      } else if (format == 1 || format == 2) {
        const uint32_t first = data.Number(pos, 2);
        const uint32_t left = data.Number(pos + 2, format == 1 ? 1 : 2);
        pos += format == 1 ? 3 : 4;
        for (uint32_t k = 0; k <= left && sids.size() < n; ++k) sids.push_back(uint16_t(first + k));
      } else {
        sids.clear();
        return;
      }
    }
  } catch (const FontException&) {
    sids.clear();
  }
}

void TTableCFF::ReadFDSelect(uint32_t Offset, size_t FontDicts) {
  const TCFFData& data = Glyphs.Data;
  const size_t n = Glyphs.CharStrings.size();
  std::vector<uint8_t>& fds = Glyphs.FDSelect;
  fds.assign(n, 0);
  uint64_t pos = Offset;
  const uint8_t format = data.Byte(pos++);
  if (format == 0) {
    data.CheckRange(pos, n, "FDSelect");
    for (size_t g = 0; g < n; ++g) fds[g] = data.Data()[pos + g];
  } else if (format == 3) {
    const uint32_t ranges = data.Number(pos, 2);
    pos += 2;
    data.CheckRange(pos, uint64_t(ranges) * 3 + 2, "FDSelect");
    uint32_t first = data.Number(pos, 2);
    if (ranges == 0 || first != 0) throw FontException("[TTableCFF] The FDSelect ranges do not start at glyph 0.");
    for (uint32_t r = 0; r < ranges; ++r) {
      const uint8_t fd = data.Byte(pos + 2);
      const uint32_t next = data.Number(pos + 3, 2);
      if (next <= first) throw FontException("[TTableCFF] The FDSelect ranges are not in order.");
      for (uint32_t g = first; g < next && g < n; ++g) fds[g] = fd;
      first = next;
      pos += 3;
    }
    if (first < n) throw FontException("[TTableCFF] The FDSelect ranges do not cover every glyph.");
  } else {
    throw FontException(Format("[TTableCFF] Unknown FDSelect format %d.", int(format)));
  }
  for (uint8_t fd : fds)
    if (fd >= FontDicts) throw FontException(Format("[TTableCFF] A glyph names the missing font dict %d.", int(fd)));
}

void TTableCFF::LoadFromStream(TStream& S) {
  FBytes.assign(S.Remaining(), 0);
  S.ReadExact(FBytes.data(), FBytes.size());
  Glyphs = TCFFGlyphSubroutines{};
  GlobalSubrs = TCFFSubroutines{};
  CharstringType = 2;
  TCFFData& data = Glyphs.Data;
  data = TCFFData(FBytes.data(), FBytes.size());
  Glyphs.GlobalSubrs = &GlobalSubrs;
  Glyphs.OperatorBudget = (int64_t(1) << 25) + 16 * int64_t(FBytes.size());
  Glyphs.PointBudget = (int64_t(1) << 22) + 16 * int64_t(FBytes.size());

  if (FBytes.size() < 4) throw FontException(Format("[%s] Invalid table.", ClassName()));
  const uint8_t major = FBytes[0], headerSize = FBytes[2], offSize = FBytes[3];
  if (major != 1 || headerSize < 4 || offSize > 4) throw FontException(Format("[%s] Invalid table.", ClassName()));

  uint64_t pos = headerSize;
  data.ReadIndex(pos, "Name INDEX");
  const std::vector<TCFFSpan> topDicts = data.ReadIndex(pos, "Top DICT INDEX");
  data.ReadIndex(pos, "String INDEX");
  GlobalSubrs.Items = data.ReadIndex(pos, "global subroutine INDEX");

  int64_t charset = 0, charStrings = -1, fdArray = -1, fdSelect = -1;
  TCFFSpan privateSpan{};
  bool hasPrivate = false;
  if (!topDicts.empty()) {
    DecodeCFFDict(data, topDicts[0], [&](const TCFFDictEntry& E) {
      if (!TopDictOperator(E.Operator)) WrongOperator(E.Operator);
      switch (E.Operator) {
        case kEscape + 6: CharstringType = int(std::lround(std::clamp(E.Operand(0), -1e6, 1e6))); break;
        case 15: charset = CFFDictOffset(E.Operand(0), data.Size(), "charset offset"); break;
        case 17: charStrings = CFFDictOffset(E.Operand(0), data.Size(), "CharStrings offset"); break;
        case 18:
          privateSpan.Length = CFFDictOffset(E.Operand(0), data.Size(), "Private DICT size");
          privateSpan.Offset = CFFDictOffset(E.Operand(1), data.Size(), "Private DICT offset");
          hasPrivate = true;
          break;
        case kEscape + 30: Glyphs.CIDKeyed = true; break;  // ROS
        case kEscape + 36: fdArray = CFFDictOffset(E.Operand(0), data.Size(), "FDArray offset"); break;
        case kEscape + 37: fdSelect = CFFDictOffset(E.Operand(0), data.Size(), "FDSelect offset"); break;
        default: break;
      }
    });
  }
  GlobalSubrs.ComputeBias(CharstringType);
  Glyphs.LocalSubrs.ComputeBias(CharstringType);
  if (hasPrivate) ReadPrivate(privateSpan, Glyphs.LocalSubrs, true);
  if (charStrings >= 0) {
    uint64_t p = uint64_t(charStrings);
    Glyphs.CharStrings = data.ReadIndex(p, "CharStrings INDEX");
  }

  if (Glyphs.CIDKeyed) {
    if (fdArray < 0 || fdSelect < 0)
      throw FontException("[TTableCFF] A CID-keyed font without FDArray or FDSelect.");
    uint64_t p = uint64_t(fdArray);
    const std::vector<TCFFSpan> fontDicts = data.ReadIndex(p, "FDArray");
    if (fontDicts.empty() || fontDicts.size() > 256)
      throw FontException(Format("[TTableCFF] A CID-keyed font with %zu font dicts.", fontDicts.size()));
    Glyphs.FDLocalSubrs.resize(fontDicts.size());
    for (TCFFSubroutines& s : Glyphs.FDLocalSubrs) s.ComputeBias(CharstringType);
    for (size_t i = 0; i < fontDicts.size(); ++i) {
      TCFFSpan priv{};
      bool found = false;
      DecodeCFFDict(data, fontDicts[i], [&](const TCFFDictEntry& E) {
        if (!TopDictOperator(E.Operator)) WrongOperator(E.Operator);
        if (E.Operator == 18) {
          priv.Length = CFFDictOffset(E.Operand(0), data.Size(), "Private DICT size");
          priv.Offset = CFFDictOffset(E.Operand(1), data.Size(), "Private DICT offset");
          found = true;
        }
      });
      if (found) ReadPrivate(priv, Glyphs.FDLocalSubrs[i], i == 0);
    }
    ReadFDSelect(uint32_t(fdSelect), fontDicts.size());
  } else {
    ReadCharset(uint32_t(charset));
  }
}

}  // namespace tsy
