#pragma once
// What testing and installing a font needs from the font itself: the names
// it is tested under and restored from afterwards, and the name it is
// installed under. Files and the desktop's font list are the caller's.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tsy {

class TTrueTypeFont;

constexpr uint16_t kEnglishUS = 1033;

// "TSY Test Font " followed by the number.
std::string TestFontName(int Number);

// One name record that was renamed for a test, with its former text.
struct TRenamedRecord {
  uint16_t PlatformID = 3, EncodingID = 0, LanguageID = 0, NameID = 0;
  std::u16string OldText;
};

// Renames the full name (4) and the family name (1) of the Microsoft name
// records (encoding 0, else 1) to TestName, reading each for SystemLanguage
// and falling back to US English for it and every later lookup. The
// subfamily (2) and unique identifier (3) must exist as well. Returns false
// (and changes nothing) for a font without Microsoft name records; a missing
// name raises FontException with its message, before anything changes.
bool RenameForTest(TTrueTypeFont& Font, uint16_t SystemLanguage, const std::u16string& TestName,
                   std::vector<TRenamedRecord>& Renamed);
// Gives the renamed records their former texts back.
void RestoreTestNames(TTrueTypeFont& Font, const std::vector<TRenamedRecord>& Renamed);

// The name the font is installed under: the full name for the system
// language, else family and subfamily for it, else the US English full name;
// nothing without a US English full name.
std::optional<std::u16string> FontInstallName(const TTrueTypeFont& Font, uint16_t SystemLanguage);

}  // namespace tsy
