#pragma once
// Installing a font for the user on a Linux desktop: a font is installed when
// its file, or a link to it, lies in the user's font folder and fontconfig
// lists it. The folder is $XDG_DATA_HOME/fonts (~/.local/share/fonts).
#include <string>

namespace tsy {

// The user's font folder, without a trailing separator.
std::string UserFontFolder();

// The file fontconfig lists for a font of that full name, or empty.
std::string InstalledFontFile(const std::string& InstallName);

// Whether fontconfig lists File (or a link to it) as an installed font.
bool IsFontFileInstalled(const std::string& File);

// Rebuilds fontconfig's cache of the user font folder, so every program
// sees the change; false when fc-cache could not run.
bool RefreshFontCache();

struct TFontInstallRequest {
  std::string FileName;     // the saved font
  std::string InstallName;  // the name it is listed under
  bool CopyToFontFolder = true;
};

// Installs as the request says: a copy in the user font folder, or a link to
// the file there. An installed older version of the same name in the folder
// is replaced, but only once the new file is listed; the file being
// installed is never removed, and a failed install leaves no copy or link
// behind. Returns an error text, empty on success.
std::string InstallFont(const TFontInstallRequest& Request);

// Removes File (a copy or a link in the user font folder) and refreshes the
// cache. Files outside the folder are never deleted. False when nothing was
// removed.
bool UninstallFont(const std::string& File);

}  // namespace tsy
