#include <exception>
#include <memory>

#include "cli/commands.h"
#include "document/openfont.h"
#include "fontfile/truetypefont.h"
#include "settings/registrysettings.h"
#include "settings/settingsbackend.h"

namespace tsytool {

int RunSave(const std::vector<std::string>& Args) {
  if (Args.size() != 2) throw UsageError("save needs IN and OUT");
  // The editor's defaults, without touching any stored settings.
  tsy::TRegistrySettings settings(std::make_shared<tsy::TMemorySettingsBackend>());
  tsy::TTrueTypeFont font;
  AttachProgress(font);
  try {
    tsy::LoadFontWithSettings(font, Args[0], settings);
  } catch (const std::exception& e) {
    return Fail(Args[0], e.what());
  }
  try {
    tsy::PrepareFontForSave(font, settings);
    font.SaveToFile(Args[1]);
  } catch (const std::exception& e) {
    return Fail(Args[1], e.what());
  }
  return 0;
}

}  // namespace tsytool
