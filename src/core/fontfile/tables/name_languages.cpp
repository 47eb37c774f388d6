// The language names of Windows language identifiers and Macintosh language
// codes, as the naming dialogs show them.
#include <optional>
#include <string>

#include "fontfile/tables/name.h"

namespace tsy {

namespace {

struct TheLocaleLanguageRecord {
  uint16_t LCID;
  const char* Name;
};

struct TMacintoshLanguageIDEntry {
  uint16_t ID;
  const char* Name;
};

constexpr TheLocaleLanguageRecord kLocaleLanguages[] = {
    {0x0436, "Afrikaans - South Africa"},
    {0x041C, "Albanian - Albania"},
    {0x1401, "Arabic - Algeria"},
    {0x3C01, "Arabic - Bahrain"},
    {0x0C01, "Arabic - Egypt"},
    {0x0801, "Arabic - Iraq"},
    {0x2C01, "Arabic - Jordan"},
    {0x3401, "Arabic - Kuwait"},
    {0x3001, "Arabic - Lebanon"},
    {0x1001, "Arabic - Libya"},
    {0x1801, "Arabic - Morocco"},
    {0x2001, "Arabic - Oman"},
    {0x4001, "Arabic - Qatar"},
    {0x0401, "Arabic - Saudi Arabia"},
    {0x2801, "Arabic - Syria"},
    {0x1C01, "Arabic - Tunisia"},
    {0x3801, "Arabic - U.A.E."},
    {0x2401, "Arabic - Yemen"},
    {0x042B, "Armenian - Armenia"},
    {0x044D, "Assamese - India"},
    {0x082C, "Azeri - Azerbaijan (Cyrillic)"},
    {0x042C, "Azeri - Azerbaijan (Latin)"},
    {0x042D, "Basque - Spain"},
    {0x0423, "Belarusian - Belarus"},
    {0x0445, "Bengali - India"},
    {0x0402, "Bulgarian - Bulgaria"},
    {0x0403, "Catalan - Spain"},
    {0x0C04, "Chinese - Hong Kong"},
    {0x1404, "Chinese - Macau"},
    {0x0804, "Chinese - PRC"},
    {0x1004, "Chinese - Singapore"},
    {0x0404, "Chinese - Taiwan"},
    {0x0827, "Classic Lithuanian - Lithuania"},
    {0x041A, "Croatian - Croatia"},
    {0x0405, "Czech - Czech Republic"},
    {0x0406, "Danish - Denmark"},
    {0x0813, "Dutch (Flemish) - Belgium"},
    {0x0413, "Dutch (Standard) - Netherlands"},
    {0x0C09, "English - Australia"},
    {0x2809, "English - Belize"},
    {0x1009, "English - Canada"},
    {0x2409, "English - Caribbean"},
    {0x1809, "English - Ireland"},
    {0x2009, "English - Jamaica"},
    {0x1409, "English - New Zealand"},
    {0x3409, "English - Philippines"},
    {0x1C09, "English - South Africa"},
    {0x2C09, "English - Trinidad"},
    {0x0809, "English - United Kingdom"},
    {0x0409, "English - United States"},
    {0x3009, "English - Zimbabwe"},
    {0x0425, "Estonian - Estonia"},
    {0x0438, "Faeroese - Faeroe Islands"},
    {0x0429, "Farsi - Iran"},
    {0x040B, "Finnish - Finland"},
    {0x080C, "French - Belgium"},
    {0x0C0C, "French - Canada"},
    {0x040C, "French (Standard) - France"},
    {0x140C, "French - Luxembourg"},
    {0x180C, "French - Monaco"},
    {0x100C, "French - Switzerland"},
    {0x0437, "Georgian - Georgia"},
    {0x0C07, "German - Austria"},
    {0x0407, "German (Standard) - Germany"},
    {0x1407, "German - Liechtenstein"},
    {0x1007, "German - Luxembourg"},
    {0x0807, "German - Switzerland"},
    {0x0408, "Greek - Greece"},
    {0x0447, "Gujarati - India"},
    {0x040D, "Hebrew - Israel"},
    {0x0439, "Hindi - India"},
    {0x040E, "Hungarian - Hungary"},
    {0x040F, "Icelandic - Iceland"},
    {0x0421, "Indonesian - Indonesia"},
    {0x0410, "Italian (Standard) - Italy"},
    {0x0810, "Italian - Switzerland"},
    {0x0411, "Japanese - Japan"},
    {0x044B, "Kannada - India"},
    {0x043F, "Kazak - Kazakstan"},
    {0x0457, "Konkani - India"},
    {0x0412, "Korean(Extended Wansung) - Korea"},
    {0x0426, "Latvian - Latvia"},
    {0x0427, "Lithuanian - Lithuania"},
    {0x042F, "Macedonian - Macedonia"},
    {0x083E, "Malay - Brunei Darussalam"},
    {0x043E, "Malay - Malaysia"},
    {0x044C, "Malayalam - India"},
    {0x044E, "Marathi - India"},
    {0x0414, "Norwegian - Norway (Bokmål)"},
    {0x0814, "Norwegian - Norway (Nynorsk)"},
    {0x0448, "Oriya - India"},
    {0x0415, "Polish - Poland"},
    {0x0416, "Portuguese (Brazilian) - Brazil"},
    {0x0816, "Portuguese (Standard) - Portugal"},
    {0x0446, "Punjabi - India"},
    {0x0418, "Romanian - Romania"},
    {0x0419, "Russian - Russia"},
    {0x044F, "Sanskrit - India"},
    {0x0C1A, "Serbian - Serbia (Cyrillic)"},
    {0x081A, "Serbian - Serbia (Latin)"},
    {0x041B, "Slovak - Slovakia"},
    {0x0424, "Slovene - Slovenia"},
    {0x2C0A, "Spanish - Argentina"},
    {0x400A, "Spanish - Bolivia"},
    {0x340A, "Spanish - Chile"},
    {0x240A, "Spanish - Colombia"},
    {0x140A, "Spanish - Costa Rica"},
    {0x1C0A, "Spanish - Dominican Republic"},
    {0x300A, "Spanish - Ecuador"},
    {0x440A, "Spanish - El Salvador"},
    {0x100A, "Spanish - Guatemala"},
    {0x480A, "Spanish - Honduras"},
    {0x080A, "Spanish - Mexico"},
    {0x4C0A, "Spanish - Nicaragua"},
    {0x180A, "Spanish - Panama"},
    {0x3C0A, "Spanish - Paraguay"},
    {0x280A, "Spanish - Peru"},
    {0x500A, "Spanish - Puerto Rico"},
    {0x0C0A, "Spanish - Spain (International Sort)"},
    {0x040A, "Spanish - Spain (Traditional Sort)"},
    {0x380A, "Spanish - Uruguay"},
    {0x200A, "Spanish - Venezuela"},
    {0x0441, "Swahili - Kenya"},
    {0x081D, "Swedish - Finland"},
    {0x041D, "Swedish - Sweden"},
    {0x0449, "Tamil - India"},
    {0x0444, "Tatar - Tatarstan"},
    {0x044A, "Telugu - India"},
    {0x041E, "Thai - Thailand"},
    {0x041F, "Turkish - Turkey"},
    {0x0422, "Ukrainian - Ukraine"},
    {0x0420, "Urdu - Pakistan"},
    {0x0843, "Uzbek - Uzbekistan (Cyrillic)"},
    {0x0443, "Uzbek - Uzbekistan (Latin)"},
    {0x042A, "Vietnamese - Viet Nam"},
};

constexpr TMacintoshLanguageIDEntry kMacLanguages[] = {
    {0, "English"},
    {1, "French"},
    {2, "German"},
    {3, "Italian"},
    {4, "Dutch"},
    {5, "Swedish"},
    {6, "Spanish"},
    {7, "Danish"},
    {8, "Portuguese"},
    {9, "Norwegian"},
    {10, "Hebrew"},
    {11, "Japanese"},
    {12, "Arabic"},
    {13, "Finnish"},
    {14, "Greek"},
    {15, "Icelandic"},
    {16, "Maltese"},
    {17, "Turkish"},
    {18, "Croatian"},
    {19, "Chinese (Traditional)"},
    {20, "Urdu"},
    {21, "Hindi"},
    {22, "Thai"},
    {23, "Korean"},
    {24, "Lithuanian"},
    {25, "Polish"},
    {26, "Hungarian"},
    {27, "Estonian"},
    {28, "Latvian"},
    {29, "Sami"},
    {30, "Faroese"},
    {31, "Farsi/Persian"},
    {32, "Russian"},
    {33, "Chinese (Simplified)"},
    {34, "Flemish"},
    {35, "Irish Gaelic"},
    {36, "Albanian"},
    {37, "Romanian"},
    {38, "Czech"},
    {39, "Slovak"},
    {40, "Slovenian"},
    {41, "Yiddish"},
    {42, "Serbian"},
    {43, "Macedonian"},
    {44, "Bulgarian"},
    {45, "Ukrainian"},
    {46, "Byelorussian"},
    {47, "Uzbek"},
    {48, "Kazakh"},
    {49, "Azerbaijani (Cyrillic script)"},
    {50, "Azerbaijani (Arabic script)"},
    {51, "Armenian"},
    {52, "Georgian"},
    {53, "Moldavian"},
    {54, "Kirghiz"},
    {55, "Tajiki"},
    {56, "Turkmen"},
    {57, "Mongolian (Mongolian script)"},
    {58, "Mongolian (Cyrillic script)"},
    {59, "Pashto"},
    {60, "Kurdish"},
    {61, "Kashmiri"},
    {62, "Sindhi"},
    {63, "Tibetan"},
    {64, "Nepali"},
    {65, "Sanskrit"},
    {66, "Marathi"},
    {67, "Bengali"},
    {68, "Assamese"},
    {69, "Gujarati"},
    {70, "Punjabi"},
    {71, "Oriya"},
    {72, "Malayalam"},
    {73, "Kannada"},
    {74, "Tamil"},
    {75, "Telugu"},
    {76, "Sinhalese"},
    {77, "Burmese"},
    {78, "Khmer"},
    {79, "Lao"},
    {80, "Vietnamese"},
    {81, "Indonesian"},
    {82, "Tagalong"},
    {83, "Malay (Roman script)"},
    {84, "Malay (Arabic script)"},
    {85, "Amharic"},
    {86, "Tigrinya"},
    {87, "Galla"},
    {88, "Somali"},
    {89, "Swahili"},
    {90, "Kinyarwanda/Ruanda"},
    {91, "Rundi"},
    {92, "Nyanja/Chewa"},
    {93, "Malagasy"},
    {94, "Esperanto"},
    {128, "Welsh"},
    {129, "Basque"},
    {130, "Catalan"},
    {131, "Latin"},
    {132, "Quechua"},
    {133, "Guarani"},
    {134, "Aymara"},
    {135, "Tatar"},
    {136, "Uighur"},
    {137, "Dzongkha"},
    {138, "Javanese (Roman script)"},
    {139, "Sundanese (Roman script)"},
    {140, "Galician"},
    {141, "Afrikaans"},
    {142, "Breton"},
    {143, "Inuktitut"},
    {144, "Scottish Gaelic"},
    {145, "Manx Gaelic"},
    {146, "Irish Gaelic (with dot above)"},
    {147, "Tongan"},
    {148, "Greek (polytonic)"},
    {149, "Greenlandic"},
    {150, "Azerbaijani (Roman script)"},
};

std::string Unknown(int ID) { return "Unknown [" + std::to_string(ID) + "]"; }

}  // namespace

std::string LocaleLanguageName(uint16_t LCID) {
  for (const auto& r : kLocaleLanguages)
    if (r.LCID == LCID) return r.Name;
  return Unknown(LCID);
}

std::optional<uint16_t> FindLocaleLanguage(const std::string& Language, const std::string& Territory) {
  // Entries read "Language (variant) - Territory".
  auto split = [](const std::string& Name) {
    const size_t dash = Name.find(" - ");
    std::string language = Name.substr(0, dash);
    const std::string territory = dash == std::string::npos ? std::string() : Name.substr(dash + 3);
    if (const size_t paren = language.find(" ("); paren != std::string::npos) language.resize(paren);
    return std::pair{language, territory};
  };
  std::optional<uint16_t> anyTerritory;
  for (const auto& r : kLocaleLanguages) {
    const auto [language, territory] = split(r.Name);
    if (language != Language) continue;
    if (territory == Territory) return r.LCID;
    if (!anyTerritory) anyTerritory = r.LCID;
  }
  return anyTerritory;
}

std::string MacLanguageName(uint16_t ID) {
  for (const auto& r : kMacLanguages)
    if (r.ID == ID) return r.Name;
  return Unknown(ID);
}

}  // namespace tsy
