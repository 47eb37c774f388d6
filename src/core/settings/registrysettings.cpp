#include "settings/registrysettings.h"

#include <bit>
#include <cmath>

#include "common/resources.h"
#include "fontfile/fontexception.h"

namespace tsy {

const char* const kSettingsErrorOpen = "Error opening or creating registry key";
const char* const kSettingsErrorRead = "Error reading registry values";
const char* const kSettingsErrorWrite = "Error writing registry values";
const char* const kSettingsErrorDelete = "Error deleting registry key";
const char* const kSettingsRootKey = "Software/Varnel/Tessary/5.0";
const char* const kSettingsOldRootKey = "Software/Varnel/Tessary/4.0";

std::string SettingsKey(const std::string& SubKey) { return std::string(kSettingsRootKey) + "/" + SubKey; }

namespace {

std::mutex gInstanceLock;
TRegistrySettings* gInstance = nullptr;
std::unique_ptr<TRegistrySettings> gOwned;
std::shared_ptr<TSettingsBackend> gInstalledBackend;

TSettingValue DoubleValue(double Value) {
  const uint64_t bits = std::bit_cast<uint64_t>(Value);
  std::vector<uint8_t> b(8);
  for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(bits >> (8 * i));  // little-endian
  return TSettingValue::FromBinary(std::move(b));
}

std::optional<double> DoubleOf(const TSettingValue& V) {
  if (V.Kind != TSettingKind::Binary || V.Binary.size() != 8) return std::nullopt;
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= uint64_t(V.Binary[i]) << (8 * i);
  return std::bit_cast<double>(bits);
}

}  // namespace

// ---------------------------------------------------------------------------
// The instance

TRegistrySettings::TRegistrySettings(std::shared_ptr<TSettingsBackend> Backend) : FBackend(std::move(Backend)) {
  if (!FBackend) FBackend = std::make_shared<TMemorySettingsBackend>();
}

TRegistrySettings::~TRegistrySettings() {
  std::lock_guard<std::mutex> guard(gInstanceLock);
  if (gInstance == this) gInstance = nullptr;
}

TRegistrySettings* TRegistrySettings::AccessInstance(int Request) {
  std::lock_guard<std::mutex> guard(gInstanceLock);
  switch (Request) {
    case 0:
      return gInstance;
    case 1:
      if (!gInstance) {
        gOwned = std::make_unique<TRegistrySettings>(gInstalledBackend);
        gInstance = gOwned.get();
      }
      return gInstance;
    case 2:
      gInstance = nullptr;
      return nullptr;
    default:
      throw std::runtime_error(Format("Illegal request %d in AccessInstance", Request));
  }
}

void TRegistrySettings::InstallBackend(std::shared_ptr<TSettingsBackend> Backend) {
  std::lock_guard<std::mutex> guard(gInstanceLock);
  gInstalledBackend = std::move(Backend);
}

void TRegistrySettings::ReleaseInstance() {
  std::unique_ptr<TRegistrySettings> owned;
  {
    std::lock_guard<std::mutex> guard(gInstanceLock);
    owned = std::move(gOwned);
  }
  owned.reset();  // the destructor forgets the instance
}

std::string TRegistrySettings::ProgramFolder() const {
  std::string folder = FProgramFolder.empty() ? ResourceDirectory() : FProgramFolder;
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

void TRegistrySettings::SetProgramFolder(const std::string& Folder) { FProgramFolder = Folder; }

// ---------------------------------------------------------------------------
// Primitives (the caller holds FLock)

std::optional<TSettingValue> TRegistrySettings::ReadRaw(const std::string& Key, const std::string& Name,
                                                        TSettingKind Kind, const TSettingValue& Default) {
  try {
    FBackend->OpenKey(Key);
  } catch (const std::exception&) {
    throw ERegistrySettings(kSettingsErrorOpen);
  }
  try {
    std::optional<TSettingValue> v = FBackend->ReadValue(Key, Name, Kind);
    if (!v) FBackend->WriteValue(Key, Name, Default);
    return v;
  } catch (const std::exception&) {
    throw ERegistrySettings(kSettingsErrorRead);
  }
}

void TRegistrySettings::Repair(const std::string& Key, const std::string& Name, const TSettingValue& Default) {
  // A damaged value would fail every later read too; the default takes its
  // place. If even that write fails, the read error below still reports it.
  try {
    FBackend->WriteValue(Key, Name, Default);
  } catch (const std::exception&) {
  }
}

void TRegistrySettings::Write(const std::string& Key, const std::string& Name, const TSettingValue& Value,
                              const char* Failure) {
  std::lock_guard<std::mutex> guard(FLock);
  try {
    FBackend->OpenKey(Key);
  } catch (const std::exception&) {
    throw ERegistrySettings(kSettingsErrorOpen);
  }
  try {
    FBackend->WriteValue(Key, Name, Value);
  } catch (const std::exception&) {
    throw ERegistrySettings(Failure);
  }
}

int32_t TRegistrySettings::ReadIntegerSetting(const std::string& Key, int32_t Default, const std::string& Name,
                                              int32_t Min, int32_t Max) {
  std::lock_guard<std::mutex> guard(FLock);
  const TSettingValue def = TSettingValue::FromDWord(static_cast<uint32_t>(Default));
  const std::optional<TSettingValue> v = ReadRaw(Key, Name, TSettingKind::DWord, def);
  if (!v) return Default;
  const int32_t value = static_cast<int32_t>(v->DWord);
  if (v->Kind != TSettingKind::DWord || value < Min || value > Max) {
    Repair(Key, Name, def);
    throw ERegistrySettings(kSettingsErrorRead);
  }
  return value;
}

bool TRegistrySettings::ReadBoolSetting(const std::string& Key, bool Default, const std::string& Name) {
  std::lock_guard<std::mutex> guard(FLock);
  const TSettingValue def = TSettingValue::FromDWord(Default ? 1 : 0);
  const std::optional<TSettingValue> v = ReadRaw(Key, Name, TSettingKind::DWord, def);
  if (!v) return Default;
  if (v->Kind != TSettingKind::DWord) {
    Repair(Key, Name, def);
    throw ERegistrySettings(kSettingsErrorRead);
  }
  return v->DWord != 0;
}

std::string TRegistrySettings::ReadStringSetting(const std::string& Key, const std::string& Default,
                                                 const std::string& Name) {
  std::lock_guard<std::mutex> guard(FLock);
  const TSettingValue def = TSettingValue::FromString(Default);
  const std::optional<TSettingValue> v = ReadRaw(Key, Name, TSettingKind::String, def);
  if (!v) return Default;
  if (v->Kind != TSettingKind::String) {
    Repair(Key, Name, def);
    throw ERegistrySettings(kSettingsErrorRead);
  }
  return v->String;
}

double TRegistrySettings::ReadFloatSetting(const std::string& Key, double Default, const std::string& Name, double Min,
                                           double Max) {
  std::lock_guard<std::mutex> guard(FLock);
  const TSettingValue def = DoubleValue(Default);
  const std::optional<TSettingValue> v = ReadRaw(Key, Name, TSettingKind::Binary, def);
  if (!v) return Default;
  const std::optional<double> value = DoubleOf(*v);
  if (!value || !std::isfinite(*value) || *value < Min || *value > Max) {
    Repair(Key, Name, def);
    throw ERegistrySettings(kSettingsErrorRead);
  }
  return *value;
}

void TRegistrySettings::WriteIntegerSetting(const std::string& Key, int32_t Value, const std::string& Name) {
  Write(Key, Name, TSettingValue::FromDWord(static_cast<uint32_t>(Value)), kSettingsErrorWrite);
}

void TRegistrySettings::WriteBoolSetting(const std::string& Key, bool Value, const std::string& Name) {
  Write(Key, Name, TSettingValue::FromDWord(Value ? 1 : 0), kSettingsErrorWrite);
}

void TRegistrySettings::WriteStringSetting(const std::string& Key, const std::string& Value, const std::string& Name) {
  Write(Key, Name, TSettingValue::FromString(Value), kSettingsErrorWrite);
}

void TRegistrySettings::WriteFloatSetting(const std::string& Key, double Value, const std::string& Name) {
  Write(Key, Name, DoubleValue(Value), kSettingsErrorWrite);
}

void TRegistrySettings::DeleteSettingValue(const std::string& Key, const std::string& Name) {
  std::lock_guard<std::mutex> guard(FLock);
  try {
    FBackend->OpenKey(Key);
  } catch (const std::exception&) {
    throw ERegistrySettings(kSettingsErrorOpen);
  }
  try {
    FBackend->DeleteValue(Key, Name);
  } catch (const std::exception&) {
    throw ERegistrySettings(kSettingsErrorDelete);
  }
}

std::optional<std::string> TRegistrySettings::PeekString(const std::string& Key, const std::string& Name) {
  std::lock_guard<std::mutex> guard(FLock);
  try {
    if (!FBackend->KeyExists(Key)) return std::nullopt;
    std::optional<TSettingValue> v = FBackend->ReadValue(Key, Name, TSettingKind::String);
    if (!v || v->Kind != TSettingKind::String) return std::nullopt;
    return v->String;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool TRegistrySettings::TryWriteString(const std::string& Key, const std::string& Name, const std::string& Value) {
  std::lock_guard<std::mutex> guard(FLock);
  try {
    FBackend->OpenKey(Key);
    FBackend->WriteValue(Key, Name, TSettingValue::FromString(Value));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// ---------------------------------------------------------------------------
// Migration

bool TRegistrySettings::MigrateOldSettings() {
  std::lock_guard<std::mutex> guard(FLock);
  bool copy = false;
  try {
    copy = FBackend->KeyExists(kSettingsOldRootKey) && !FBackend->KeyExists(kSettingsRootKey);
  } catch (const std::exception&) {
    throw ERegistrySettings(kSettingsErrorOpen);
  }
  if (!copy) return false;
  try {
    FBackend->CopyKey(kSettingsOldRootKey, kSettingsRootKey);
  } catch (const std::exception&) {
    throw ERegistrySettings(kSettingsErrorWrite);
  }
  return true;
}

// ---------------------------------------------------------------------------
// One getter and setter per option

#define TSY_BOOL(P, K, N, D)                                                                 \
  bool TRegistrySettings::P() { return ReadBoolSetting(SettingsKey(K), D, N); }             \
  void TRegistrySettings::Set##P(bool Value) { WriteBoolSetting(SettingsKey(K), Value, N); }
#define TSY_INT(P, K, N, D, MIN, MAX)                                                               \
  int32_t TRegistrySettings::P() { return ReadIntegerSetting(SettingsKey(K), D, N, MIN, MAX); }     \
  void TRegistrySettings::Set##P(int32_t Value) { WriteIntegerSetting(SettingsKey(K), Value, N); }
#define TSY_STR(P, K, N, D)                                                                              \
  std::string TRegistrySettings::P() { return ReadStringSetting(SettingsKey(K), D, N); }                 \
  void TRegistrySettings::Set##P(const std::string& Value) { WriteStringSetting(SettingsKey(K), Value, N); }
#define TSY_REAL(P, K, N, D, MIN, MAX)                                                            \
  double TRegistrySettings::P() { return ReadFloatSetting(SettingsKey(K), D, N, MIN, MAX); }      \
  void TRegistrySettings::Set##P(double Value) { WriteFloatSetting(SettingsKey(K), Value, N); }
#include "settings/settings_list.inc"
#undef TSY_BOOL
#undef TSY_INT
#undef TSY_STR
#undef TSY_REAL

// The overview cannot lay out cells smaller than this; the options dialog
// offers sizes up to 200.
int32_t TRegistrySettings::OverviewSingleWidth() {
  return std::max(32, ReadIntegerSetting(SettingsKey("Interface Settings"), 62, "OverviewSingleWidth", INT32_MIN, 200));
}
void TRegistrySettings::SetOverviewSingleWidth(int32_t Value) {
  WriteIntegerSetting(SettingsKey("Interface Settings"), Value, "OverviewSingleWidth");
}
int32_t TRegistrySettings::OverviewSingleHeight() {
  return std::max(24,
                  ReadIntegerSetting(SettingsKey("Interface Settings"), 55, "OverviewSingleHeight", INT32_MIN, 200));
}
void TRegistrySettings::SetOverviewSingleHeight(int32_t Value) {
  WriteIntegerSetting(SettingsKey("Interface Settings"), Value, "OverviewSingleHeight");
}

double TRegistrySettings::Multiplier() {
  try {
    return ReadFloatSetting(SettingsKey("ImportImage"), 4.0, "Multiplier", 1.0, 100.0);
  } catch (const std::exception&) {
    return 4.0;
  }
}
void TRegistrySettings::SetMultiplier(double Value) { WriteFloatSetting(SettingsKey("ImportImage"), Value, "Multiplier"); }

}  // namespace tsy
