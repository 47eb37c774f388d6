#pragma once
// Loading and saving single tables from and to bytes inside tests.
#include <cstdint>
#include <vector>

#include "fontfile/stream.h"
#include "fontfile/warnings.h"
#include "support/fontbuilder.h"

namespace tsytest {

template <class T>
void LoadTable(T& Table, const Bytes& B) {
  tsy::TReadOnlyStream s(B.data(), B.size());
  Table.LoadFromStream(s);
}

template <class T>
Bytes SaveTable(const T& Table) {
  tsy::TMemoryStream m;
  Table.SaveToStream(m);
  return m.Bytes();
}

inline bool HasWarning(const std::string& Part) {
  for (const auto& w : tsy::TWarningCollector::Warnings())
    if (w.find(Part) != std::string::npos) return true;
  return false;
}

}  // namespace tsytest
