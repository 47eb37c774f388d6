#pragma once
// The program-wide settings store. Every read goes to the backend (no cache),
// so a value written by one window is what every other window reads next. A
// missing value reads as its default and the default is written, so after the
// first use of each option the store holds a complete, editable set.
#include <climits>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

#include "settings/settingsbackend.h"

namespace tsy {

// The one error the store raises; the message is one of the four texts below.
class ERegistrySettings : public std::runtime_error {
public:
  explicit ERegistrySettings(const std::string& message) : std::runtime_error(message) {}
};

extern const char* const kSettingsErrorOpen;    // "Error opening or creating registry key"
extern const char* const kSettingsErrorRead;    // "Error reading registry values"
extern const char* const kSettingsErrorWrite;   // "Error writing registry values"
extern const char* const kSettingsErrorDelete;  // "Error deleting registry key"

// The program's key and the previous version's, below the user's root.
extern const char* const kSettingsRootKey;     // "Software/Varnel/Tessary/5.0"
extern const char* const kSettingsOldRootKey;  // "Software/Varnel/Tessary/4.0"

class TRegistrySettings {
public:
  explicit TRegistrySettings(std::shared_ptr<TSettingsBackend> Backend);
  ~TRegistrySettings();
  TRegistrySettings(const TRegistrySettings&) = delete;
  TRegistrySettings& operator=(const TRegistrySettings&) = delete;

  // The process-wide instance: request 0 returns it (or nullptr), 1 creates it
  // on first use, 2 forgets it. The instance created here uses the backend
  // given to InstallBackend, or an in-memory one when none was installed.
  static TRegistrySettings* AccessInstance(int Request);
  static TRegistrySettings& Instance() { return *AccessInstance(1); }
  // Called once at start-up, before the first Instance().
  static void InstallBackend(std::shared_ptr<TSettingsBackend> Backend);
  // Ends the process-wide instance (program shut-down, tests).
  static void ReleaseInstance();

  // The folder the "initial folder" options start from; ends with '/'.
  // Defaults to the resources folder.
  std::string ProgramFolder() const;
  void SetProgramFolder(const std::string& Folder);

  // Generic primitives; Key is a full path ("Software/Varnel/Tessary/5.0/Grid").
  // A stored value of the wrong type, or outside [Min, Max], is damaged: the
  // default is written over it and the read raises "Error reading registry
  // values", so the next read gets the default instead of the same error.
  int32_t ReadIntegerSetting(const std::string& Key, int32_t Default, const std::string& Name,
                             int32_t Min = INT32_MIN, int32_t Max = INT32_MAX);
  bool ReadBoolSetting(const std::string& Key, bool Default, const std::string& Name);
  std::string ReadStringSetting(const std::string& Key, const std::string& Default, const std::string& Name);
  double ReadFloatSetting(const std::string& Key, double Default, const std::string& Name, double Min = -1e308,
                          double Max = 1e308);
  void WriteIntegerSetting(const std::string& Key, int32_t Value, const std::string& Name);
  void WriteBoolSetting(const std::string& Key, bool Value, const std::string& Name);
  void WriteStringSetting(const std::string& Key, const std::string& Value, const std::string& Name);
  void WriteFloatSetting(const std::string& Key, double Value, const std::string& Name);
  void DeleteSettingValue(const std::string& Key, const std::string& Name);

  // Copies the 4.0 key to the 5.0 key when only the old one exists.
  bool MigrateOldSettings();

  // One getter and setter per option.
#define TSY_BOOL(P, K, N, D) \
  bool P();                  \
  void Set##P(bool Value);
#define TSY_INT(P, K, N, D, MIN, MAX) \
  int32_t P();                        \
  void Set##P(int32_t Value);
#define TSY_STR(P, K, N, D) \
  std::string P();          \
  void Set##P(const std::string& Value);
#define TSY_REAL(P, K, N, D, MIN, MAX) \
  double P();                          \
  void Set##P(double Value);
#include "settings/settings_list.inc"
#undef TSY_BOOL
#undef TSY_INT
#undef TSY_STR
#undef TSY_REAL

  // Cell sizes of the overview: stored values below 32 (24) read as 32 (24).
  int32_t OverviewSingleWidth();
  void SetOverviewSingleWidth(int32_t Value);
  int32_t OverviewSingleHeight();
  void SetOverviewSingleHeight(int32_t Value);
  // The tracing size factor: any failure to read it yields 4.0, never an error.
  double Multiplier();
  void SetMultiplier(double Value);

  // Raw value access for the routines beside the store (window placement).
  // Missing values and every failure give nothing; nothing is written.
  std::optional<std::string> PeekString(const std::string& Key, const std::string& Name);
  // Writes a string, swallowing failures; returns whether it was written.
  bool TryWriteString(const std::string& Key, const std::string& Name, const std::string& Value);

private:
  std::optional<TSettingValue> ReadRaw(const std::string& Key, const std::string& Name, TSettingKind Kind,
                                       const TSettingValue& Default);
  void Repair(const std::string& Key, const std::string& Name, const TSettingValue& Default);
  void Write(const std::string& Key, const std::string& Name, const TSettingValue& Value, const char* Failure);

  std::shared_ptr<TSettingsBackend> FBackend;
  std::mutex FLock;
  std::string FProgramFolder;
};

// The full key path of a subkey of the program's key.
std::string SettingsKey(const std::string& SubKey);

}  // namespace tsy
