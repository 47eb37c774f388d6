#pragma once
// A bounded read window onto the rest of any stream, so that table readers can
// cut checked child windows (Sub) whatever stream they were handed.
#include <cstdint>
#include <vector>

#include "fontfile/stream.h"

namespace tsy {

// A window from S's position to its end. Read-only and memory streams are
// viewed in place; other streams are copied into Holder first. S is left at
// its end.
inline TReadOnlyStream TableWindow(TStream& S, std::vector<uint8_t>& Holder) {
  const uint64_t n = S.Remaining();
  if (n == 0) {
    S.Seek(S.Size());
    return TReadOnlyStream(nullptr, 0);
  }
  if (auto* ro = dynamic_cast<TReadOnlyStream*>(&S)) {
    TReadOnlyStream w = ro->Sub(ro->Position(), n);
    S.Seek(S.Size());
    return w;
  }
  if (auto* mem = dynamic_cast<TMemoryStream*>(&S)) {
    TReadOnlyStream w(mem->Memory() + mem->Position(), n);
    S.Seek(S.Size());
    return w;
  }
  Holder.resize(size_t(n));
  if (n) S.ReadExact(Holder.data(), Holder.size());
  return TReadOnlyStream(Holder.data(), Holder.size());
}

}  // namespace tsy
