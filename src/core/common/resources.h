#pragma once
// Where the program's read-only data lives: <prefix>/share/tessary beside the
// running binary (the build tree carries the same layout).
#include <string>

namespace tsy {

std::string ResourceDirectory();
// Overrides the folder found from the running binary (tests, embedding).
void SetResourceDirectory(const std::string& Directory);
// ResourceDirectory() joined with a file name.
std::string ResourceFile(const std::string& Name);

}  // namespace tsy
