#pragma once
// The OS/2 table: Windows metrics, classification and coverage bits, with
// the fields of each version.
#include <array>
#include <cstdint>
#include <string>

#include "fontfile/fonttable.h"

namespace tsy {

class TCmapMappingTable;

class TTableOS_2 : public TFontTable {
public:
  explicit TTableOS_2(const std::string& Tag = "OS/2") : TFontTable(Tag) { CheckTag("TTableOS_2", "OS/2", Tag); }
  const char* ClassName() const override { return "TTableOS_2"; }
  void LoadFromStream(TStream& S) override;
  void SaveToStream(TStream& S) const override;

  // Bytes of the file layout of a version: 78, 86, 96 for 2 to 4, 100 for 5.
  static uint32_t LayoutSize(uint16_t Version);

  uint16_t Version() const { return version; }
  // Changes the number only; fields of other versions keep their values.
  void SetVersion(uint16_t V) { version = V; }

  // Fields every version has.
  int16_t xAvgCharWidth = 0;
  uint16_t usWeightClass = 0, usWidthClass = 0, fsType = 0;
  int16_t ySubscriptXSize = 0, ySubscriptYSize = 0, ySubscriptXOffset = 0, ySubscriptYOffset = 0;
  int16_t ySuperscriptXSize = 0, ySuperscriptYSize = 0, ySuperscriptXOffset = 0, ySuperscriptYOffset = 0;
  int16_t yStrikeoutSize = 0, yStrikeoutPosition = 0;
  int16_t sFamilyClass = 0;
  std::array<uint8_t, 10> PANOSE{};
  uint32_t ulUnicodeRange1 = 0, ulUnicodeRange2 = 0, ulUnicodeRange3 = 0, ulUnicodeRange4 = 0;
  std::array<char, 4> achVendID{' ', ' ', ' ', ' '};
  uint16_t fsSelection = 0;
  uint16_t usFirstCharIndex = 0, usLastCharIndex = 0;
  int16_t sTypoAscender = 0, sTypoDescender = 0, sTypoLineGap = 0;
  uint16_t usWinAscent = 0;
  // Held as the negative of the file value so that it reads like a
  // descender: the file's 434 is -434 here. The file value may be 0..65535.
  int32_t usWinDescent = 0;

  // Version-dependent fields: FontException on a version that lacks them.
  uint32_t ulCodePageRange1() const;
  uint32_t ulCodePageRange2() const;
  int16_t sxHeight() const;
  int16_t sCapHeight() const;
  uint16_t usDefaultChar() const;
  uint16_t usBreakChar() const;
  uint16_t usMaxContext() const;
  uint16_t usLowerOpticalPointSize() const;
  uint16_t usUpperOpticalPointSize() const;
  void SetulCodePageRange1(uint32_t V);
  void SetulCodePageRange2(uint32_t V);
  void SetsxHeight(int16_t V);
  void SetsCapHeight(int16_t V);
  void SetusDefaultChar(uint16_t V);
  void SetusBreakChar(uint16_t V);
  void SetusMaxContext(uint16_t V);
  void SetusLowerOpticalPointSize(uint16_t V);
  void SetusUpperOpticalPointSize(uint16_t V);

  std::string VendorID() const { return std::string(achVendID.data(), 4); }
  void SetVendorID(const std::string& Text);

  // The Unicode coverage words for a target OS/2 version, from the Microsoft
  // Unicode subtables (3, 1) and (3, 10).
  static uint32_t UnicodeRange1(const TCmapMappingTable& Cmap, int Version);
  static uint32_t UnicodeRange2(const TCmapMappingTable& Cmap, int Version);
  static uint32_t UnicodeRange3(const TCmapMappingTable& Cmap, int Version);

private:
  template <class IO>
  void Fields(IO& io);
  void Need(int MinVersion, const char* Field) const;

  uint16_t version = 0;
  uint32_t FCodePageRange1 = 0, FCodePageRange2 = 0;
  int16_t FxHeight = 0, FCapHeight = 0;
  uint16_t FDefaultChar = 0, FBreakChar = 0, FMaxContext = 0;
  uint16_t FLowerOpticalPointSize = 0, FUpperOpticalPointSize = 0;
};

}  // namespace tsy
