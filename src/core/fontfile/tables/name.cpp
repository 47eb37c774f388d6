#include "fontfile/tables/name.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <tuple>

#include "fontfile/fontexception.h"
#include "fontfile/tables/macglyphs.h"
#include "fontfile/tables/tablewindow.h"
#include "fontfile/warnings.h"

namespace tsy {

namespace {

bool IsWide(uint16_t PlatformID) { return PlatformID == 0 || PlatformID == 3; }

// Strings of the 8-bit platforms go through the system's 8-bit code page,
// ISO-8859-1 here: one byte is one code unit.
std::u16string Widen(const std::string& Bytes) {
  std::u16string s;
  s.reserve(Bytes.size());
  for (unsigned char c : Bytes) s.push_back(char16_t(c));
  return s;
}

std::string Narrow(const std::u16string& Text) {
  std::string s;
  s.reserve(Text.size());
  for (char16_t c : Text) s.push_back(c <= 0xFF ? char(c) : '?');
  return s;
}

}  // namespace

// ---- the tree

void TNameLanguageList::SetName(uint16_t NameID, const std::u16string& Text) {
  if (TNameField* f = FindName(NameID)) {
    f->Text = Text;
    return;
  }
  auto f = std::make_unique<TNameField>();
  f->NameID = NameID;
  f->Text = Text;
  Fields.push_back(std::move(f));
}

TNameField* TNameLanguageList::FindName(uint16_t NameID) const {
  for (size_t i = Fields.size(); i-- > 0;)
    if (Fields[i]->NameID == NameID) return Fields[i].get();
  return nullptr;
}

bool TNameLanguageList::GetName(uint16_t NameID, std::u16string& Text) const {
  const TNameField* f = FindName(NameID);
  if (!f) return false;
  Text = f->Text;
  return true;
}

size_t TNameLanguageList::IndexOfName(uint16_t NameID) const {
  for (size_t i = Fields.size(); i-- > 0;)
    if (Fields[i]->NameID == NameID) return i;
  throw FontException("Name string not found!");
}

void TNameLanguageList::DeleteName(uint16_t NameID) { Fields.erase(Fields.begin() + long(IndexOfName(NameID))); }

TNameLanguageList* TNamePlatformList::FindLanguage(uint16_t LanguageID) const {
  for (size_t i = Languages.size(); i-- > 0;)
    if (Languages[i]->LanguageID == LanguageID) return Languages[i].get();
  return nullptr;
}

TNameLanguageList* TNamePlatformList::AddLanguage(uint16_t LanguageID) {
  if (TNameLanguageList* l = FindLanguage(LanguageID)) return l;
  Languages.push_back(std::make_unique<TNameLanguageList>(LanguageID));
  return Languages.back().get();
}

bool TNamePlatformList::GetName(uint16_t LanguageID, uint16_t NameID, std::u16string& Text) const {
  const TNameLanguageList* l = FindLanguage(LanguageID);
  return l && l->GetName(NameID, Text);
}

TNamePlatformList* TNameList::Find(uint16_t PlatformID, uint16_t EncodingID) const {
  for (size_t i = Platforms.size(); i-- > 0;)
    if (Platforms[i]->PlatformID == PlatformID && Platforms[i]->EncodingID == EncodingID) return Platforms[i].get();
  return nullptr;
}

void TNameList::SetName(uint16_t PlatformID, uint16_t EncodingID, const std::u16string& Text, uint16_t NameID,
                        uint16_t LanguageID) {
  TNamePlatformList* p = Find(PlatformID, EncodingID);
  if (!p) {
    Platforms.push_back(std::make_unique<TNamePlatformList>(PlatformID, EncodingID));
    p = Platforms.back().get();
  }
  p->AddLanguage(LanguageID)->SetName(NameID, Text);
}

// ---- the table

void TTableName::Clear() {
  Names.Platforms.clear();
  LangTags.clear();
  FRawBytes.clear();
}

TNamePlatformList* TTableName::AddPlatform(uint16_t PlatformID, uint16_t EncodingID) {
  Names.Platforms.push_back(std::make_unique<TNamePlatformList>(PlatformID, EncodingID));
  return Names.Platforms.back().get();
}

int TTableName::IndexOfPlatform(uint16_t PlatformID, uint16_t EncodingID) const {
  for (size_t i = Names.Platforms.size(); i-- > 0;)
    if (Names.Platforms[i]->PlatformID == PlatformID && Names.Platforms[i]->EncodingID == EncodingID) return int(i);
  return -1;
}

void TTableName::DeletePlatform(uint16_t PlatformID, uint16_t EncodingID) {
  const int i = IndexOfPlatform(PlatformID, EncodingID);
  if (i >= 0) Names.Platforms.erase(Names.Platforms.begin() + i);
}

void TTableName::SetPlatformEncoding(uint16_t PlatformID, uint16_t EncodingID, uint16_t NewEncodingID) {
  if (TNamePlatformList* p = FindPlatform(PlatformID, EncodingID)) p->EncodingID = NewEncodingID;
}

void TTableName::RemoveEmptyLanguages() {
  for (auto& p : Names.Platforms)
    std::erase_if(p->Languages, [](const std::unique_ptr<TNameLanguageList>& l) { return l->Fields.empty(); });
}

void TTableName::LoadFromStream(TStream& S) {
  Clear();
  std::vector<uint8_t> holder;
  TReadOnlyStream t = TableWindow(S, holder);
  const uint16_t format = ReadUInt16(t);
  if (format > 1) {
    TWarningCollector::AddFmt("(Warning level: low) FormatSelector is supposed to be zero but is %d", format);
    TWarningCollector::Add("[name] The table is kept byte for byte.");
    FRawBytes.assign(t.Memory(), t.Memory() + t.Size());
    return;
  }
  uint16_t count = ReadUInt16(t);
  const uint16_t stringOffset = ReadUInt16(t);
  if (6 + 12ull * count > t.Size()) {
    const uint16_t fit = uint16_t(t.Size() >= 6 ? (t.Size() - 6) / 12 : 0);
    TWarningCollector::AddFmt("[name] %d name records do not fit the table; %d read.", count, fit);
    count = fit;
  }
  int bad = 0;
  auto readString = [&](uint16_t Platform, uint16_t Length, uint16_t Offset, std::u16string& Text) {
    const uint64_t at = uint64_t(stringOffset) + Offset;
    uint64_t len = Length;
    if (at > t.Size() || len > t.Size() - at) {
      ++bad;
      len = at > t.Size() ? 0 : t.Size() - at;
    }
    t.Seek(at);
    if (IsWide(Platform)) {
      Text = ReadUnicodeString(t, uint32_t(len));
    } else {
      std::string b(size_t(len), '\0');
      if (len) t.Read(b.data(), b.size());
      Text = Widen(b);
    }
  };
  for (uint32_t i = 0; i < count; ++i) {
    t.Seek(6 + 12ull * i);
    const uint16_t platform = ReadUInt16(t), encoding = ReadUInt16(t), language = ReadUInt16(t),
                   nameID = ReadUInt16(t), length = ReadUInt16(t), offset = ReadUInt16(t);
    std::u16string text;
    readString(platform, length, offset, text);
    Names.SetName(platform, encoding, text, nameID, language);
  }
  if (format == 1) {
    const uint64_t tagsAt = 6 + 12ull * count;
    t.Seek(tagsAt);
    uint16_t tags = ReadUInt16(t);
    if (tagsAt + 2 + 4ull * tags > t.Size()) {
      const uint16_t fit = uint16_t(t.Size() >= tagsAt + 2 ? (t.Size() - tagsAt - 2) / 4 : 0);
      TWarningCollector::AddFmt("[name] %d language-tag records do not fit the table; %d read.", tags, fit);
      tags = fit;
    }
    for (uint32_t i = 0; i < tags; ++i) {
      t.Seek(tagsAt + 2 + 4ull * i);
      const uint16_t length = ReadUInt16(t), offset = ReadUInt16(t);
      std::u16string text;
      readString(0, length, offset, text);
      LangTags.push_back(text);
    }
  }
  if (bad)
    TWarningCollector::AddFmt("[name] %d strings lie partly or wholly outside the table; they were cut at its end.",
                              bad);
}

namespace {

struct TExtendedNameField {
  const std::u16string* Text;
  uint16_t PlatformID, EncodingID, LanguageID, NameID;
  uint32_t Length;
  uint32_t Offset = 0;
  int SharedWith = -1;  // index into the list (stable ids, not positions)
  uint32_t Position = 0;
};

}  // namespace

void TTableName::SaveToStream(TStream& S) const {
  if (!FRawBytes.empty() && Names.Platforms.empty()) {
    S.Write(FRawBytes.data(), FRawBytes.size());
    return;
  }
  std::vector<TExtendedNameField> fields;
  for (const auto& p : Names.Platforms)
    for (const auto& l : p->Languages)
      for (const auto& f : l->Fields) {
        const uint64_t len = uint64_t(f->Text.size()) * (IsWide(p->PlatformID) ? 2 : 1);
        if (len > 65535) throw ERangeError(Format("Name string of %llu bytes is too long", (unsigned long long)len));
        fields.push_back({&f->Text, p->PlatformID, p->EncodingID, l->LanguageID, f->NameID, uint32_t(len)});
      }
  const size_t n = fields.size();
  std::vector<size_t> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = i;
  if (Compress) {
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return fields[a].Length > fields[b].Length; });
    for (size_t x = 0; x < n; ++x) {
      const TExtendedNameField& fi = fields[order[x]];
      for (size_t y = x + 1; y < n; ++y) {
        TExtendedNameField& fj = fields[order[y]];
        if (fj.SharedWith >= 0 || IsWide(fi.PlatformID) != IsWide(fj.PlatformID)) continue;
        const size_t p = fi.Text->find(*fj.Text);
        if (p == std::u16string::npos) continue;
        fj.SharedWith = int(order[x]);
        fj.Position = uint32_t(p);
      }
    }
  }
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const auto& A = fields[a];
    const auto& B = fields[b];
    return std::tie(A.PlatformID, A.EncodingID, A.LanguageID, A.NameID) <
           std::tie(B.PlatformID, B.EncodingID, B.LanguageID, B.NameID);
  });
  uint64_t storage = 0;
  for (size_t i : order) {
    if (fields[i].SharedWith >= 0) continue;
    fields[i].Offset = uint32_t(storage);
    storage += fields[i].Length;
  }
  std::vector<uint64_t> tagOffsets;
  for (const auto& tag : LangTags) {
    tagOffsets.push_back(storage);
    storage += 2ull * tag.size();
  }
  if (storage > 65535 + 65535ull) throw ERangeError("name table string storage is too large");
  // A shared field's offset is resolved through the chain of fields it shares.
  auto resolve = [&](size_t i) {
    uint64_t off = 0;
    size_t cur = i;
    for (size_t guard = 0; fields[cur].SharedWith >= 0 && guard <= n; ++guard) {
      off += uint64_t(fields[cur].Position) * (IsWide(fields[cur].PlatformID) ? 2 : 1);
      cur = size_t(fields[cur].SharedWith);
    }
    return off + fields[cur].Offset;
  };
  const bool format1 = !LangTags.empty();
  const uint16_t count = CheckedUInt16(int64_t(n), "name record count");
  const uint64_t headerSize = 6 + 12ull * n + (format1 ? 2 + 4ull * LangTags.size() : 0);
  const uint16_t stringOffset = CheckedUInt16(int64_t(headerSize), "name stringOffset");
  WriteUInt16(S, format1 ? 1 : 0);
  WriteUInt16(S, count);
  WriteUInt16(S, stringOffset);
  for (size_t i : order) {
    const auto& f = fields[i];
    WriteUInt16(S, f.PlatformID);
    WriteUInt16(S, f.EncodingID);
    WriteUInt16(S, f.LanguageID);
    WriteUInt16(S, f.NameID);
    WriteUInt16(S, uint16_t(f.Length));
    WriteUInt16(S, CheckedUInt16(int64_t(resolve(i)), "name string offset"));
  }
  if (format1) {
    WriteUInt16(S, CheckedUInt16(int64_t(LangTags.size()), "name language-tag count"));
    for (size_t i = 0; i < LangTags.size(); ++i) {
      WriteUInt16(S, CheckedUInt16(int64_t(2 * LangTags[i].size()), "name language-tag length"));
      WriteUInt16(S, CheckedUInt16(int64_t(tagOffsets[i]), "name language-tag offset"));
    }
  }
  for (size_t i : order) {
    const auto& f = fields[i];
    if (f.SharedWith >= 0) continue;
    if (IsWide(f.PlatformID)) {
      for (char16_t c : *f.Text) WriteUInt16(S, uint16_t(c));
    } else {
      const std::string b = Narrow(*f.Text);
      S.Write(b.data(), b.size());
    }
  }
  for (const auto& tag : LangTags)
    for (char16_t c : tag) WriteUInt16(S, uint16_t(c));
}

// ---- text conversions

namespace {

void AppendEscape(std::string& Out, uint32_t Code) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\%04X", Code & 0xFFFF);
  Out += buf;
}

}  // namespace

std::string NameTextToEscaped(const std::u16string& Text, uint16_t PlatformID) {
  std::string out;
  for (char16_t ch : Text) {
    if (PlatformID == 1) {
      if (ch == u'\n' || ch == u'\r') {
        out.push_back(char(ch));
        continue;
      }
      // A Macintosh code whose character lies outside the 8-bit range (™, •,
      // –, curly quotes, ‰) keeps its code as an escape so that the way back
      // gives the same byte.
      const int v = MacRomanToUnicode(ch);
      if (v < 0 || v > 0xFF)
        AppendEscape(out, ch);
      else if (ch == u'\\')
        out += "\\\\";
      else
        out.push_back(char(uint8_t(v)));
    } else if (PlatformID == 3) {
      if (ch == 0 || ch > 255)
        AppendEscape(out, ch);
      else if (ch == u'\\')
        out += "\\\\";
      else
        out.push_back(char(uint8_t(ch)));
    } else {
      if (ch == u'\\')
        out += "\\\\";
      else if (ch == u'\n' || ch == u'\r' || (ch >= 0x20 && ch <= 0x7E))
        out.push_back(char(ch));
      else
        AppendEscape(out, ch);
    }
  }
  return out;
}

std::u16string EscapedToNameText(const std::string& Text, uint16_t PlatformID) {
  std::u16string out;
  bool escape = false;
  std::string digits;
  auto plain = [&](unsigned char c) {
    if (PlatformID == 1) {
      if (c == '\n' || c == '\r') {
        out.push_back(char16_t(c));
        return;
      }
      const int code = UnicodeToMacRoman(c);
      out.push_back(code < 0 ? u'?' : char16_t(code));
    } else {
      out.push_back(char16_t(c));
    }
  };
  auto isHex = [](unsigned char c) { return std::isxdigit(c) != 0; };
  for (unsigned char c : Text) {
    if (!escape) {
      if (c == '\\') {
        escape = true;
        digits.clear();
      } else {
        plain(c);
      }
      continue;
    }
    if (c == '\\') {
      out.push_back(u'\\');
      if (digits.empty()) {
        escape = false;
      } else {
        for (char d : digits) out.push_back(char16_t(d));
        digits.clear();
      }
      continue;
    }
    if (isHex(c)) {
      digits.push_back(char(c));
      if (digits.size() == 4) {
        const unsigned long v = std::stoul(digits, nullptr, 16);
        if (v != 0) out.push_back(char16_t(v));
        escape = false;
        digits.clear();
      }
      continue;
    }
    out.push_back(u'\\');
    for (char d : digits) out.push_back(char16_t(d));
    plain(c);
    escape = false;
    digits.clear();
  }
  // An escape cut short by the end of the text stays as it was typed.
  if (escape) {
    out.push_back(u'\\');
    for (char d : digits) out.push_back(char16_t(d));
  }
  return out;
}

}  // namespace tsy
