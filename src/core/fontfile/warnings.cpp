#include "fontfile/warnings.h"

#include <cstdarg>
#include <cstdio>

namespace tsy {

namespace {
std::vector<std::string>& List() {
  thread_local std::vector<std::string> list;
  return list;
}
}  // namespace

void TWarningCollector::Add(const std::string& Message) { List().push_back(Message); }

void TWarningCollector::AddFmt(const char* Format, ...) {
  va_list args;
  va_start(args, Format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, Format, copy);
  va_end(copy);
  std::string s(n > 0 ? size_t(n) : 0, '\0');
  if (n > 0) std::vsnprintf(s.data(), s.size() + 1, Format, args);
  va_end(args);
  List().push_back(std::move(s));
}

void TWarningCollector::Clear() { List().clear(); }

const std::vector<std::string>& TWarningCollector::Warnings() { return List(); }

}  // namespace tsy
