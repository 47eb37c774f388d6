#pragma once
// Helpers shared by the outline source files; not part of the model's API.
#include <cstdint>
#include <vector>

#include "outline/outline.h"

namespace tsy {

// Counts nesting through composite members on this thread; Allowed is false
// once the nesting passes kMaxComponentDepth.
struct TMemberDepthGuard {
  TMemberDepthGuard();
  ~TMemberDepthGuard();
  TMemberDepthGuard(const TMemberDepthGuard&) = delete;
  TMemberDepthGuard& operator=(const TMemberDepthGuard&) = delete;
  const bool Allowed;
};

// Minimum and maximum of all point coordinates; zeros without points.
TFloatRect PointExtents(const TOutlineContours& Contours);

// A view of the bytes from S's position to its end: in place for memory
// streams, copied into Scratch otherwise.
struct TRecordBytes {
  const uint8_t* Data = nullptr;
  size_t Size = 0;
};
TRecordBytes RecordBytes(TStream& S, std::vector<uint8_t>& Scratch);

}  // namespace tsy
