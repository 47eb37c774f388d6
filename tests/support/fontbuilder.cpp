#include "support/fontbuilder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tsytest {

void Put16(Bytes& B, uint32_t V) {
  B.push_back(uint8_t(V >> 8));
  B.push_back(uint8_t(V));
}

void Put32(Bytes& B, uint32_t V) {
  Put16(B, V >> 16);
  Put16(B, V & 0xFFFF);
}

void PutTag(Bytes& B, const char* Tag) {
  for (int i = 0; i < 4; ++i) B.push_back(uint8_t(Tag[i]));
}

Bytes Concat(std::initializer_list<Bytes> Parts) {
  Bytes out;
  for (const Bytes& p : Parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes BuildSfnt(const std::vector<FixtureTable>& Tables, uint32_t Version) {
  Bytes out;
  Put32(out, Version);
  Put16(out, uint32_t(Tables.size()));
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, 0);
  uint32_t offset = uint32_t(12 + 16 * Tables.size());
  for (const FixtureTable& t : Tables) {
    PutTag(out, t.Tag.c_str());
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, uint32_t(t.Body.size()));
    offset += uint32_t((t.Body.size() + 3) & ~size_t(3));
  }
  for (const FixtureTable& t : Tables) {
    out.insert(out.end(), t.Body.begin(), t.Body.end());
    while (out.size() % 4) out.push_back(0);
  }
  return out;
}

Bytes MinimalHead() {
  Bytes h;
  Put32(h, 0x00010000);  // 0: version
  Put32(h, 0x00010000);  // 4: fontRevision
  Put32(h, 0x12345678);  // 8: checkSumAdjustment (stale on purpose)
  Put32(h, 0x5F0F3CF5);  // 12: magicNumber
  Put16(h, 0);           // 16: flags
  Put16(h, 1000);        // 18: unitsPerEm
  for (int i = 0; i < 16; ++i) h.push_back(0);  // 20: created, modified
  for (int i = 0; i < 4; ++i) Put16(h, 0);      // 36: xMin yMin xMax yMax
  Put16(h, 0);                                  // 44: macStyle
  Put16(h, 8);                                  // 46: lowestRecPPEM
  Put16(h, 2);                                  // 48: fontDirectionHint
  Put16(h, 0);                                  // 50: indexToLocFormat
  Put16(h, 0);                                  // 52: glyphDataFormat
  return h;
}

std::vector<FixtureTable> MinimalFontTables() {
  Bytes hhea;
  Put32(hhea, 0x00010000);                     // 0: version
  Put16(hhea, 800);                            // 4: ascender
  Put16(hhea, uint16_t(-200));                 // 6: descender
  Put16(hhea, 0);                              // 8: lineGap
  Put16(hhea, 500);                            // 10: advanceWidthMax
  for (int i = 0; i < 3; ++i) Put16(hhea, 0);  // 12: minLSB, minRSB, xMaxExtent
  Put16(hhea, 1);                              // 18: caretSlopeRise
  for (int i = 0; i < 7; ++i) Put16(hhea, 0);  // 20: caretSlopeRun, caretOffset, reserved x4, metricDataFormat
  Put16(hhea, 1);                              // 34: numberOfHMetrics

  Bytes maxp;
  Put32(maxp, 0x00010000);                      // 0: version 1.0
  Put16(maxp, 1);                               // 4: numGlyphs
  for (int i = 0; i < 13; ++i) Put16(maxp, 0);  // 6..31: the statistics
  maxp[14 + 1] = 1;                             // maxZones = 1

  Bytes loca;
  Put16(loca, 0);
  Put16(loca, 0);

  Bytes hmtx;
  Put16(hmtx, 500);  // advanceWidth
  Put16(hmtx, 0);    // lsb

  Bytes cmap;
  Put16(cmap, 0);   // version
  Put16(cmap, 1);   // numTables
  Put16(cmap, 3);   // platform: Windows
  Put16(cmap, 1);   // encoding: Unicode BMP
  Put32(cmap, 12);  // offset
  Put16(cmap, 4);   // format 4
  Put16(cmap, 24);  // length
  Put16(cmap, 0);   // language
  Put16(cmap, 2);   // segCountX2
  Put16(cmap, 2);   // searchRange
  Put16(cmap, 0);   // entrySelector
  Put16(cmap, 0);   // rangeShift
  Put16(cmap, 0xFFFF);  // endCode
  Put16(cmap, 0);       // reservedPad
  Put16(cmap, 0xFFFF);  // startCode
  Put16(cmap, 1);       // idDelta
  Put16(cmap, 0);       // idRangeOffset

  Bytes post;
  Put32(post, 0x00030000);                     // format 3
  for (int i = 0; i < 7; ++i) Put32(post, 0);  // italicAngle .. maxMemType1

  return {{"cmap", cmap}, {"glyf", {}},   {"head", MinimalHead()}, {"hhea", hhea},
          {"hmtx", hmtx}, {"loca", loca}, {"maxp", maxp},          {"post", post}};
}

uint32_t ReadBE32(const Bytes& B, size_t Offset) {
  return uint32_t(B.at(Offset)) << 24 | uint32_t(B.at(Offset + 1)) << 16 | uint32_t(B.at(Offset + 2)) << 8 |
         uint32_t(B.at(Offset + 3));
}

uint16_t ReadBE16(const Bytes& B, size_t Offset) { return uint16_t(B.at(Offset) << 8 | B.at(Offset + 1)); }

uint32_t WholeChecksum(const Bytes& B) {
  uint32_t sum = 0;
  for (size_t i = 0; i < B.size(); i += 4) {
    uint32_t w = 0;
    for (size_t k = 0; k < 4; ++k) w = (w << 8) | (i + k < B.size() ? B[i + k] : 0);
    sum += w;
  }
  return sum;
}

Bytes ReadFileBytes(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + Path);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& Path, const Bytes& B) {
  std::ofstream out(Path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(B.data()), std::streamsize(B.size()));
  if (!out) throw std::runtime_error("cannot write " + Path);
}

std::string MakeTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string tmpl = std::string(base && *base ? base : "/tmp") + "/tsytest-XXXXXX";
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  return tmpl;
}

}  // namespace tsytest
