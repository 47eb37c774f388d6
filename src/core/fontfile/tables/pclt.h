#pragma once
// The PCLT table: PCL 5 printer data, 54 bytes.
#include <array>
#include <cstdint>
#include <string>

#include "fontfile/fonttable.h"

namespace tsy {

class TTablePCLT : public TFontTable {
public:
  explicit TTablePCLT(const std::string& Tag = "PCLT") : TFontTable(Tag) { CheckTag("TTablePCLT", "PCLT", Tag); }
  const char* ClassName() const override { return "TTablePCLT"; }
  void LoadFromStream(TStream& S) override;
  void SaveToStream(TStream& S) const override;

  // Filled with spaces or cut to 16 and 6 characters.
  void SetTypeface(const std::string& Text);
  void SetFileName(const std::string& Text);
  const std::string& Typeface() const { return typeface; }
  const std::string& FileName() const { return fileName; }
  // The 8 bytes as 16 hexadecimal digits.
  std::string CharacterComplementText() const;
  void SetCharacterComplementText(const std::string& Text);

  int32_t version = 0x00010000;
  uint32_t fontNumber = 0;
  uint16_t pitch = 0, xHeight = 0, style = 0, typeFamily = 0, capHeight = 0, symbolSet = 0;
  std::array<uint8_t, 8> characterComplement{};
  int8_t strokeWeight = 0, widthType = 0;
  uint8_t serifStyle = 0, reserved = 0;

private:
  std::string typeface = std::string(16, ' ');
  std::string fileName = std::string(6, ' ');
};

}  // namespace tsy
