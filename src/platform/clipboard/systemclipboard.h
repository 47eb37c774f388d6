#pragma once
// The desktop clipboard under the program's formats: each format travels as
// the MIME type "application/x-tessary-..." with its exact bytes, next to
// plain text, so other running instances of the program can paste it.
#include "document/clipboardformats.h"

namespace tsy {

class TSystemClipboard : public TClipboardAccess {
public:
  void Put(const std::string& Text, const TFormats& Formats) override;
  bool HasFormat(const std::string& FormatName) const override;
  std::vector<uint8_t> Data(const std::string& FormatName) const override;
};

}  // namespace tsy
