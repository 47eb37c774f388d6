#include "common/resources.h"

#include <filesystem>
#include <mutex>

namespace tsy {

namespace {
std::mutex gLock;
std::string gOverride;
}  // namespace

std::string ResourceDirectory() {
  {
    std::lock_guard<std::mutex> guard(gLock);
    if (!gOverride.empty()) return gOverride;
  }
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "share/tessary";
  return (exe.parent_path().parent_path() / "share" / "tessary").string();
}

void SetResourceDirectory(const std::string& Directory) {
  std::lock_guard<std::mutex> guard(gLock);
  gOverride = Directory;
}

std::string ResourceFile(const std::string& Name) {
  return (std::filesystem::path(ResourceDirectory()) / Name).string();
}

}  // namespace tsy
