#include "settings/windowposition.h"

#include <charconv>
#include <vector>

#include "settings/registrysettings.h"

namespace tsy {

std::string FormatWindowPosition(const TWindowPlacement& Placement, bool AllowMaximized) {
  std::string text = Placement.Visible ? "1" : "0";
  if (Placement.Maximized && AllowMaximized) return text + ",1";
  return text + ",0," + std::to_string(Placement.Left) + "," + std::to_string(Placement.Top) + "," +
         std::to_string(Placement.Width) + "," + std::to_string(Placement.Height);
}

void ApplyWindowPosition(const std::string& Text, TWindowPlacement& Placement, bool AllowMaximized) {
  std::vector<int> numbers;
  size_t start = 0;
  while (start <= Text.size()) {
    size_t end = Text.find(',', start);
    if (end == std::string::npos) end = Text.size();
    const char* first = Text.data() + start;
    const char* last = Text.data() + end;
    int value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) break;  // not a whole number: stop here
    numbers.push_back(value);
    start = end + 1;
  }
  const bool visible = !numbers.empty() && numbers[0] != 0;
  if (numbers.size() >= 2) {
    if (numbers[1] == 1 && AllowMaximized) {
      Placement.Maximized = true;
    } else {
      int* fields[] = {&Placement.Left, &Placement.Top, &Placement.Width, &Placement.Height};
      for (size_t i = 2; i < numbers.size() && i < 6; ++i) *fields[i - 2] = numbers[i];
    }
  }
  Placement.Visible = visible;
}

void SaveWindowPosition(TRegistrySettings& Settings, const TWindowPlacement& Placement, const std::string& KeyName,
                        bool AllowMaximized) {
  Settings.TryWriteString(SettingsKey(KeyName), "Position", FormatWindowPosition(Placement, AllowMaximized));
}

bool RestoreWindowPosition(TRegistrySettings& Settings, TWindowPlacement& Placement, const std::string& KeyName,
                           bool AllowMaximized) {
  const std::optional<std::string> text = Settings.PeekString(SettingsKey(KeyName), "Position");
  if (!text) return false;
  ApplyWindowPosition(*text, Placement, AllowMaximized);
  return true;
}

}  // namespace tsy
