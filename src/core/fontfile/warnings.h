#pragma once
// The warning list that font loading fills with what it found and repaired.
//
// Each thread has its own list: a collection extracted on a worker thread and
// a font opened on the main thread never clear or mix each other's findings,
// and no lock is needed. Warnings() answers for the calling thread.
#include <string>
#include <vector>

namespace tsy {

class TWarningCollector {
public:
  static void Add(const std::string& Message);
  static void AddFmt(const char* Format, ...) __attribute__((format(printf, 1, 2)));
  static void Clear();
  static const std::vector<std::string>& Warnings();
};

}  // namespace tsy
