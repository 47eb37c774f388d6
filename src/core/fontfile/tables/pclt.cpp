#include "fontfile/tables/pclt.h"

#include <cstdio>
#include <vector>

#include "fontfile/tables/tablewindow.h"
#include "fontfile/warnings.h"

namespace tsy {

namespace {

std::string Fit(const std::string& Text, size_t N) {
  std::string s = Text.substr(0, N);
  s.resize(N, ' ');
  return s;
}

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

}  // namespace

void TTablePCLT::SetTypeface(const std::string& Text) { typeface = Fit(Text, 16); }
void TTablePCLT::SetFileName(const std::string& Text) { fileName = Fit(Text, 6); }

std::string TTablePCLT::CharacterComplementText() const {
  std::string s;
  char buf[3];
  for (uint8_t b : characterComplement) {
    std::snprintf(buf, sizeof buf, "%02X", b);
    s += buf;
  }
  return s;
}

void TTablePCLT::SetCharacterComplementText(const std::string& Text) {
  std::string t = Text.size() >= 16 ? Text.substr(0, 16) : std::string(16 - Text.size(), '0') + Text;
  for (size_t i = 0; i < 8; ++i) {
    const int hi = HexDigit(t[2 * i]), lo = HexDigit(t[2 * i + 1]);
    characterComplement[i] = hi < 0 || lo < 0 ? 0 : uint8_t(hi * 16 + lo);
  }
}

void TTablePCLT::LoadFromStream(TStream& S) {
  std::vector<uint8_t> holder;
  TReadOnlyStream t = TableWindow(S, holder);
  if (t.Size() < 54)
    TWarningCollector::AddFmt("[PCLT] Table has %llu bytes instead of 54; the missing fields read as 0.",
                              (unsigned long long)t.Size());
  version = ReadFixed(t);
  if (version != 0x00010000) {
    TWarningCollector::AddFmt("Unknown PCLT Table version number %d.%d (expecting 1.0).",
                              int(int16_t(uint32_t(version) >> 16)), int(uint32_t(version) & 0xFFFF));
    version = 0x00010000;
  }
  fontNumber = ReadUInt32(t);
  pitch = ReadUInt16(t);
  xHeight = ReadUInt16(t);
  style = ReadUInt16(t);
  typeFamily = ReadUInt16(t);
  capHeight = ReadUInt16(t);
  symbolSet = ReadUInt16(t);
  std::string face(16, '\0'), file(6, '\0');
  for (char& c : face) c = char(ReadUInt8(t));
  characterComplement = ReadBlock<8>(t);
  for (char& c : file) c = char(ReadUInt8(t));
  typeface = face;
  fileName = file;
  strokeWeight = ReadInt8(t);
  widthType = ReadInt8(t);
  serifStyle = ReadUInt8(t);
  reserved = ReadUInt8(t);
}

void TTablePCLT::SaveToStream(TStream& S) const {
  WriteFixed(S, 0x00010000);
  WriteUInt32(S, fontNumber);
  for (uint16_t v : {pitch, xHeight, style, typeFamily, capHeight, symbolSet}) WriteUInt16(S, v);
  const std::string face = Fit(typeface, 16), file = Fit(fileName, 6);
  S.Write(face.data(), 16);
  WriteBlock<8>(S, characterComplement);
  S.Write(file.data(), 6);
  WriteInt8(S, strokeWeight);
  WriteInt8(S, widthType);
  WriteUInt8(S, serifStyle);
  WriteUInt8(S, reserved);
}

}  // namespace tsy
