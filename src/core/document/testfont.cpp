#include "document/testfont.h"

#include "fontfile/fontexception.h"
#include "fontfile/tables/name.h"
#include "fontfile/truetypefont.h"

namespace tsy {

std::string TestFontName(int Number) { return "TSY Test Font " + std::to_string(Number); }

namespace {

TNamePlatformList* MicrosoftNames(const TTrueTypeFont& Font) {
  const TTableName* name = Font.Name();
  if (!name) return nullptr;
  if (TNamePlatformList* p = name->FindPlatform(3, 0)) return p;
  return name->FindPlatform(3, 1);
}

const char* MissingMessage(uint16_t NameID) {
  switch (NameID) {
    case 4: return "Microsoft Naming Field FullFontName is missing";
    case 1: return "Microsoft Naming Field FontFamilyName is missing";
    case 2: return "Microsoft Naming Field FontSubfamilyName is missing";
    default: return "Microsoft Naming Field UniqueFontIdentifier is missing";
  }
}

}  // namespace

bool RenameForTest(TTrueTypeFont& Font, uint16_t SystemLanguage, const std::u16string& TestName,
                   std::vector<TRenamedRecord>& Renamed) {
  Renamed.clear();
  TNamePlatformList* names = MicrosoftNames(Font);
  if (!names) return false;
  uint16_t language = SystemLanguage;
  std::vector<TRenamedRecord> found;
  for (uint16_t id : {uint16_t(4), uint16_t(1), uint16_t(2), uint16_t(3)}) {
    std::u16string text;
    if (!names->GetName(language, id, text)) {
      language = kEnglishUS;
      if (!names->GetName(language, id, text)) throw FontException(MissingMessage(id));
    }
    if (id == 4 || id == 1) found.push_back({names->PlatformID, names->EncodingID, language, id, text});
  }
  for (const TRenamedRecord& r : found) names->FindLanguage(r.LanguageID)->SetName(r.NameID, TestName);
  Renamed = std::move(found);
  return true;
}

void RestoreTestNames(TTrueTypeFont& Font, const std::vector<TRenamedRecord>& Renamed) {
  const TTableName* name = Font.Name();
  if (!name) return;
  // Restored in reverse, so a record renamed twice ends with its first text.
  for (auto it = Renamed.rbegin(); it != Renamed.rend(); ++it)
    if (TNamePlatformList* p = name->FindPlatform(it->PlatformID, it->EncodingID))
      if (TNameLanguageList* l = p->FindLanguage(it->LanguageID)) l->SetName(it->NameID, it->OldText);
}

std::optional<std::u16string> FontInstallName(const TTrueTypeFont& Font, uint16_t SystemLanguage) {
  const TNamePlatformList* names = MicrosoftNames(Font);
  if (!names) return std::nullopt;
  std::u16string english;
  if (!names->GetName(kEnglishUS, 4, english)) return std::nullopt;
  std::u16string text;
  if (names->GetName(SystemLanguage, 4, text)) return text;
  std::u16string subfamily;
  if (names->GetName(SystemLanguage, 2, subfamily)) {
    std::u16string family;
    if (names->GetName(SystemLanguage, 1, family) || names->GetName(kEnglishUS, 1, family))
      return family + u" " + subfamily;
  }
  return english;
}

}  // namespace tsy
