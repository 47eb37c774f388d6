#pragma once
// The program's settings backend: an INI file read and written through
// QSettings, by default $XDG_CONFIG_HOME/Varnel/Tessary.conf. Keys keep their
// registry-style paths ("Software/Varnel/Tessary/5.0/Grid/ShowGrid").
//
// INI text has no types, so values are written in forms that read back
// unambiguously for the kind asked for: DWORDs as signed decimal numbers,
// strings as text, binary values (the stored doubles) as QSettings byte
// arrays. A text read as a DWORD must be a whole decimal number in 32 bits,
// otherwise it comes back as a string and the store treats it as damaged.
#include <memory>
#include <string>

#include "settings/settingsbackend.h"

class QSettings;

namespace tsy {

class TQSettingsBackend : public TSettingsBackend {
public:
  // FileName empty: the default file.
  explicit TQSettingsBackend(const std::string& FileName = {});
  ~TQSettingsBackend() override;

  static std::string DefaultFileName();
  std::string FileName() const;

  bool KeyExists(const std::string& Key) override;
  void OpenKey(const std::string& Key) override;
  std::optional<TSettingValue> ReadValue(const std::string& Key, const std::string& Name,
                                         TSettingKind Expected) override;
  void WriteValue(const std::string& Key, const std::string& Name, const TSettingValue& Value) override;
  void DeleteValue(const std::string& Key, const std::string& Name) override;
  void CopyKey(const std::string& Source, const std::string& Destination) override;

private:
  void Flush();
  std::unique_ptr<QSettings> FSettings;
};

}  // namespace tsy
