// Feeds arbitrary bytes to the clipboard readers as data another program
// left under one of our format names. The first byte picks the format. A
// reader either gives values the program can use (finite coordinates,
// entries that fit the data) or fails with the clipboard error.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "document/clipboardformats.h"

namespace {

bool Finite(const tsy::TContour& C) {
  for (const auto& p : C.Points)
    if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const std::vector<uint8_t> bytes(Data + 1, Data + Size);
  try {
    switch (Data[0] % 7) {
      case 0: tsy::DecodeFontIdentity(bytes); break;
      case 1:
        for (const auto& e : tsy::DecodeGlyphOutlines(bytes)) {
          if (e.Outline->GetKind() == tsy::okComposite) std::abort();
          if (auto* s = dynamic_cast<const tsy::TOutlineSimple*>(e.Outline.get()))
            for (const auto& c : s->Contours)
              if (!Finite(c)) std::abort();
        }
        break;
      case 2:
        if (tsy::DecodeGlyphMetrics(bytes).size() * 10 > bytes.size()) std::abort();
        break;
      case 3: tsy::DecodeGlyphNames(bytes); break;
      case 4: tsy::DecodeGlyphMappings(bytes); break;
      case 5: {
        const auto s = tsy::DecodeGlyphSelection(bytes);
        for (size_t i = 1; i < s.size(); ++i)
          if (s[i - 1] >= s[i]) std::abort();
        break;
      }
      case 6:
        for (const auto& c : tsy::DecodeContours(bytes))
          if (!Finite(c)) std::abort();
        break;
    }
  } catch (const tsy::EClipboardData&) {
  }
  return 0;
}
