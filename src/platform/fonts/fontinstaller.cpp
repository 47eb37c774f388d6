#include "fonts/fontinstaller.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

#include "fonts/installedfonts.h"

namespace fs = std::filesystem;

namespace tsy {

std::string UserFontFolder() {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return QDir::cleanPath(data + "/fonts").toStdString();
}

namespace {

bool SameFile(const fs::path& A, const fs::path& B) {
  std::error_code ec;
  return fs::equivalent(A, B, ec) && !ec;
}

bool InFontFolder(const fs::path& File) {
  std::error_code ec;
  const fs::path folder = fs::weakly_canonical(UserFontFolder(), ec);
  const fs::path parent = fs::weakly_canonical(File.parent_path(), ec);
  return !ec && parent == folder;
}

}  // namespace

std::string InstalledFontFile(const std::string& InstallName) {
  TInstalledFonts fonts;
  for (size_t i = 0; i < fonts.Fonts.Count(); ++i)
    if (fonts.Fonts.Items(i).FontName == InstallName) return fonts.Fonts.Items(i).FileName;
  return {};
}

bool IsFontFileInstalled(const std::string& File) {
  TInstalledFonts fonts;
  for (size_t i = 0; i < fonts.Fonts.Count(); ++i) {
    const std::string& listed = fonts.Fonts.Items(i).FileName;
    if (listed == File || SameFile(listed, File)) return true;
  }
  return false;
}

bool RefreshFontCache() {
  QProcess p;
  p.start("fc-cache", {QString::fromStdString(UserFontFolder())});
  return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

std::string InstallFont(const TFontInstallRequest& Request) {
  std::error_code ec;
  const fs::path file = fs::absolute(Request.FileName, ec);
  if (ec || !fs::is_regular_file(file)) return "The font file \"" + Request.FileName + "\" does not exist.";
  const fs::path folder = UserFontFolder();
  fs::create_directories(folder, ec);
  if (ec) return "The font folder \"" + folder.string() + "\" cannot be created: " + ec.message();

  const std::string previous = Request.InstallName.empty() ? std::string() : InstalledFontFile(Request.InstallName);
  const fs::path target = folder / file.filename();
  const bool inFolder = InFontFolder(file);

  // What this install creates, to be taken back if it fails.
  fs::path created;
  if (!inFolder) {
    const bool exists = fs::exists(fs::symlink_status(target, ec));
    if (exists && !SameFile(target, file) && !(previous.size() && SameFile(target, previous)))
      return "Another font file named \"" + target.filename().string() + "\" is already installed.";
    const fs::path temporary = target.string() + ".tsy-new";
    fs::remove(temporary, ec);
    if (Request.CopyToFontFolder)
      fs::copy_file(file, temporary, fs::copy_options::overwrite_existing, ec);
    else
      fs::create_symlink(file, temporary, ec);
    if (ec) {
      fs::remove(temporary, ec);
      return "The font cannot be placed in \"" + folder.string() + "\".";
    }
    // A link onto itself would lose the file: never replace what is installed.
    if (exists && SameFile(target, file)) {
      fs::remove(temporary, ec);
    } else {
      fs::rename(temporary, target, ec);
      if (ec) {
        fs::remove(temporary, ec);
        return "The font cannot be placed in \"" + folder.string() + "\".";
      }
      created = target;
    }
  }
  const fs::path installed = inFolder ? file : target;

  RefreshFontCache();
  if (!IsFontFileInstalled(installed.string())) {
    if (!created.empty()) {
      fs::remove(created, ec);
      RefreshFontCache();
    }
    return "The font is not accepted by the system's font list.";
  }
  // The older version goes only now, and never the file just installed.
  if (!previous.empty() && InFontFolder(previous) && !SameFile(previous, installed) && !SameFile(previous, file)) {
    fs::remove(previous, ec);
    RefreshFontCache();
  }
  return {};
}

bool UninstallFont(const std::string& File) {
  const fs::path path = File;
  if (!InFontFolder(path)) return false;
  std::error_code ec;
  if (!fs::remove(path, ec) || ec) return false;
  RefreshFontCache();
  return true;
}

}  // namespace tsy
