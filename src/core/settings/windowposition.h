#pragma once
// The main window's placement, kept as one text value "Position" in a subkey of
// the program's key: "1,1" for a visible maximized window, "1,0,203,188,807,573"
// for a visible normal one (visible, maximized, left, top, width, height).
#include <string>

namespace tsy {

class TRegistrySettings;

struct TWindowPlacement {
  bool Visible = false;
  bool Maximized = false;
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

std::string FormatWindowPosition(const TWindowPlacement& Placement, bool AllowMaximized);

// Applies a "Position" text to Placement. Pieces are read in order as decimal
// integers and reading stops at the first piece that is not one; what was read
// is applied. Visibility always ends as the first piece says (false when even
// that is missing).
void ApplyWindowPosition(const std::string& Text, TWindowPlacement& Placement, bool AllowMaximized);

// Write or read "Position" below the program's key in subkey KeyName. Neither
// reports a failure: a placement that cannot be stored or read changes nothing
// (restoring returns false then).
void SaveWindowPosition(TRegistrySettings& Settings, const TWindowPlacement& Placement, const std::string& KeyName,
                        bool AllowMaximized);
bool RestoreWindowPosition(TRegistrySettings& Settings, TWindowPlacement& Placement, const std::string& KeyName,
                           bool AllowMaximized);

}  // namespace tsy
