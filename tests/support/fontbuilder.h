#pragma once
// Builds small sfnt files inside tests, table by table, with the bytes of
// each table written out by the test itself.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace tsytest {

using Bytes = std::vector<uint8_t>;

// Big-endian byte helpers for annotated fixtures.
void Put16(Bytes& B, uint32_t V);
void Put32(Bytes& B, uint32_t V);
void PutTag(Bytes& B, const char* Tag);
Bytes Concat(std::initializer_list<Bytes> Parts);

struct FixtureTable {
  std::string Tag;
  Bytes Body;
};

// An sfnt with the tables in the given directory order, bodies padded to 4
// bytes, placed after the directory in the same order. Checksums are left 0:
// the loader never trusts them.
Bytes BuildSfnt(const std::vector<FixtureTable>& Tables, uint32_t Version = 0x00010000);

// A 54-byte head table with the magic number, unitsPerEm 1000.
Bytes MinimalHead();

// The tables of a valid one-glyph font (an empty .notdef): head, hhea, maxp,
// loca (short), glyf (empty), hmtx, cmap (format 4 with only the end
// segment) and post (format 3). Tests add the tables they are about.
std::vector<FixtureTable> MinimalFontTables();

uint32_t WholeChecksum(const Bytes& B);
uint32_t ReadBE32(const Bytes& B, size_t Offset);
uint16_t ReadBE16(const Bytes& B, size_t Offset);

Bytes ReadFileBytes(const std::string& Path);
void WriteFileBytes(const std::string& Path, const Bytes& B);
// A fresh empty folder under the system's temporary folder.
std::string MakeTempDir();

}  // namespace tsytest
