#pragma once
// Where the settings store keeps its values: a tree of keys ("Software/Varnel/
// Tessary/5.0/Grid") holding named, typed values, as the Windows registry did.
// The program's backend is an INI file (platform layer); tests use the
// in-memory one below.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tsy {

enum class TSettingKind { DWord, String, Binary };

struct TSettingValue {
  TSettingKind Kind = TSettingKind::DWord;
  uint32_t DWord = 0;
  std::string String;          // UTF-8
  std::vector<uint8_t> Binary;

  static TSettingValue FromDWord(uint32_t V) { return {TSettingKind::DWord, V, {}, {}}; }
  static TSettingValue FromString(std::string V) { return {TSettingKind::String, 0, std::move(V), {}}; }
  static TSettingValue FromBinary(std::vector<uint8_t> V) { return {TSettingKind::Binary, 0, {}, std::move(V)}; }
  bool operator==(const TSettingValue&) const = default;
};

// Every operation raises a std::exception when the store cannot do it; the
// settings store turns that into its own message. Calls come one at a time
// (the store holds its lock around each).
class TSettingsBackend {
public:
  virtual ~TSettingsBackend() = default;
  virtual bool KeyExists(const std::string& Key) = 0;
  // Makes sure Key can take values (creating it where the store needs that).
  virtual void OpenKey(const std::string& Key) = 0;
  // The value, or nothing when it does not exist. Expected is a hint for
  // stores that do not record types: they return what the text can be read as,
  // and a value of another kind when it cannot be read as Expected.
  virtual std::optional<TSettingValue> ReadValue(const std::string& Key, const std::string& Name,
                                                 TSettingKind Expected) = 0;
  virtual void WriteValue(const std::string& Key, const std::string& Name, const TSettingValue& Value) = 0;
  virtual void DeleteValue(const std::string& Key, const std::string& Name) = 0;
  // Copies Source with all its values and subkeys to Destination.
  virtual void CopyKey(const std::string& Source, const std::string& Destination) = 0;
};

// Settings in memory, with switches that make an operation fail, for tests.
class TMemorySettingsBackend : public TSettingsBackend {
public:
  bool KeyExists(const std::string& Key) override;
  void OpenKey(const std::string& Key) override;
  std::optional<TSettingValue> ReadValue(const std::string& Key, const std::string& Name,
                                         TSettingKind Expected) override;
  void WriteValue(const std::string& Key, const std::string& Name, const TSettingValue& Value) override;
  void DeleteValue(const std::string& Key, const std::string& Name) override;
  void CopyKey(const std::string& Source, const std::string& Destination) override;

  // Direct access for tests, bypassing the failure switches.
  std::optional<TSettingValue> Peek(const std::string& Key, const std::string& Name) const;
  void Put(const std::string& Key, const std::string& Name, const TSettingValue& Value);
  size_t ValueCount() const;

  bool FailOpen = false, FailRead = false, FailWrite = false, FailDelete = false;

private:
  std::set<std::string> FKeys;
  std::map<std::string, std::map<std::string, TSettingValue>> FValues;  // key -> name -> value
};

}  // namespace tsy
