#pragma once
// The name table as a tree: platform-and-encoding groups holding language
// groups holding the strings by name ID. Strings are UTF-16 in memory; those
// of platforms other than 0 and 3 hold one byte per code unit.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fontfile/fonttable.h"

namespace tsy {

struct TNameField {
  uint16_t NameID = 0;
  std::u16string Text;
};

class TNameLanguageList {
public:
  explicit TNameLanguageList(uint16_t LanguageID = 0) : LanguageID(LanguageID) {}
  uint16_t LanguageID;
  std::vector<std::unique_ptr<TNameField>> Fields;

  void SetName(uint16_t NameID, const std::u16string& Text);
  TNameField* FindName(uint16_t NameID) const;
  bool GetName(uint16_t NameID, std::u16string& Text) const;
  size_t IndexOfName(uint16_t NameID) const;  // FontException when absent
  void DeleteName(uint16_t NameID);           // FontException when absent
  size_t Count() const { return Fields.size(); }
};

class TNamePlatformList {
public:
  TNamePlatformList(uint16_t PlatformID, uint16_t EncodingID) : PlatformID(PlatformID), EncodingID(EncodingID) {}
  uint16_t PlatformID;
  uint16_t EncodingID;
  std::vector<std::unique_ptr<TNameLanguageList>> Languages;

  TNameLanguageList* FindLanguage(uint16_t LanguageID) const;
  TNameLanguageList* AddLanguage(uint16_t LanguageID);  // find or append
  void DeleteLanguage(size_t Index) { Languages.erase(Languages.begin() + long(Index)); }
  bool GetName(uint16_t LanguageID, uint16_t NameID, std::u16string& Text) const;
  size_t Count() const { return Languages.size(); }
};

class TNameList {
public:
  std::vector<std::unique_ptr<TNamePlatformList>> Platforms;
  void SetName(uint16_t PlatformID, uint16_t EncodingID, const std::u16string& Text, uint16_t NameID,
               uint16_t LanguageID);
  TNamePlatformList* Find(uint16_t PlatformID, uint16_t EncodingID) const;
};

class TTableName : public TFontTable {
public:
  explicit TTableName(const std::string& Tag = "name") : TFontTable(Tag) { CheckTag("TTableName", "name", Tag); }
  const char* ClassName() const override { return "TTableName"; }
  void LoadFromStream(TStream& S) override;
  void SaveToStream(TStream& S) const override;

  void Clear();
  TNamePlatformList* AddPlatform(uint16_t PlatformID, uint16_t EncodingID);
  TNamePlatformList* FindPlatform(uint16_t PlatformID, uint16_t EncodingID) const { return Names.Find(PlatformID, EncodingID); }
  int IndexOfPlatform(uint16_t PlatformID, uint16_t EncodingID) const;
  void DeletePlatform(uint16_t PlatformID, uint16_t EncodingID);
  size_t PlatformCount() const { return Names.Platforms.size(); }
  TNamePlatformList& Platform(size_t Index) const { return *Names.Platforms.at(Index); }
  void SetPlatformEncoding(uint16_t PlatformID, uint16_t EncodingID, uint16_t NewEncodingID);
  void RemoveEmptyLanguages();

  TNameList Names;
  bool Compress = true;
  // The language-tag strings of a format 1 table (language IDs 0x8000 and up
  // refer to them); a table with tags is written as format 1.
  std::vector<std::u16string> LangTags;

private:
  // The bytes of a table in a format this program cannot read, written back
  // unchanged as long as no name has been added.
  std::vector<uint8_t> FRawBytes;
};

// The 8-bit text with escapes that the naming dialogs edit, and back.
std::string NameTextToEscaped(const std::u16string& Text, uint16_t PlatformID);
std::u16string EscapedToNameText(const std::string& Text, uint16_t PlatformID);

std::string LocaleLanguageName(uint16_t LCID);
// The Windows language identifier of a language and territory given by
// their English names ("English", "United States"); a territory the table
// does not know gives the language's first entry.
std::optional<uint16_t> FindLocaleLanguage(const std::string& Language, const std::string& Territory);
std::string MacLanguageName(uint16_t ID);

}  // namespace tsy
