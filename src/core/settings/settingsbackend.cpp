#include "settings/settingsbackend.h"

#include <stdexcept>

namespace tsy {

namespace {

bool IsSameOrBelow(const std::string& Key, const std::string& Root) {
  return Key == Root || (Key.size() > Root.size() && Key.compare(0, Root.size(), Root) == 0 && Key[Root.size()] == '/');
}

}  // namespace

bool TMemorySettingsBackend::KeyExists(const std::string& Key) {
  if (FailOpen) throw std::runtime_error("key cannot be opened");
  for (const std::string& k : FKeys)
    if (IsSameOrBelow(k, Key)) return true;
  for (const auto& [k, values] : FValues)
    if (IsSameOrBelow(k, Key)) return true;
  return false;
}

void TMemorySettingsBackend::OpenKey(const std::string& Key) {
  if (FailOpen) throw std::runtime_error("key cannot be opened");
  FKeys.insert(Key);
}

std::optional<TSettingValue> TMemorySettingsBackend::ReadValue(const std::string& Key, const std::string& Name,
                                                               TSettingKind) {
  if (FailRead) throw std::runtime_error("value cannot be read");
  return Peek(Key, Name);
}

void TMemorySettingsBackend::WriteValue(const std::string& Key, const std::string& Name, const TSettingValue& Value) {
  if (FailWrite) throw std::runtime_error("value cannot be written");
  Put(Key, Name, Value);
}

void TMemorySettingsBackend::DeleteValue(const std::string& Key, const std::string& Name) {
  if (FailDelete) throw std::runtime_error("value cannot be deleted");
  auto it = FValues.find(Key);
  if (it != FValues.end()) it->second.erase(Name);
}

void TMemorySettingsBackend::CopyKey(const std::string& Source, const std::string& Destination) {
  if (FailWrite) throw std::runtime_error("key cannot be copied");
  std::map<std::string, std::map<std::string, TSettingValue>> copied;
  for (const auto& [k, values] : FValues)
    if (IsSameOrBelow(k, Source)) copied[Destination + k.substr(Source.size())] = values;
  std::set<std::string> keys;
  for (const std::string& k : FKeys)
    if (IsSameOrBelow(k, Source)) keys.insert(Destination + k.substr(Source.size()));
  for (auto& [k, values] : copied)
    for (auto& [name, value] : values) FValues[k][name] = value;
  FKeys.insert(keys.begin(), keys.end());
  FKeys.insert(Destination);
}

std::optional<TSettingValue> TMemorySettingsBackend::Peek(const std::string& Key, const std::string& Name) const {
  auto it = FValues.find(Key);
  if (it == FValues.end()) return std::nullopt;
  auto v = it->second.find(Name);
  if (v == it->second.end()) return std::nullopt;
  return v->second;
}

void TMemorySettingsBackend::Put(const std::string& Key, const std::string& Name, const TSettingValue& Value) {
  FKeys.insert(Key);
  FValues[Key][Name] = Value;
}

size_t TMemorySettingsBackend::ValueCount() const {
  size_t n = 0;
  for (const auto& [k, values] : FValues) n += values.size();
  return n;
}

}  // namespace tsy
