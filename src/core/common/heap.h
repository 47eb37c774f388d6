#pragma once
// Process-wide tuning of the C heap for the font model's allocation pattern:
// a large font decodes into hundreds of thousands of small blocks (one point
// list per contour), and on virtual machines each 4 KiB page fault is costly.
#include <cstddef>

namespace tsy {

// Grows the heap by Bytes at once and asks the kernel to back it with huge
// pages where transparent huge pages are offered on request. Untouched
// memory costs nothing; freed blocks stay in the heap for reuse. Call once,
// early, from a program's main. Does nothing where unsupported (other C
// libraries, sanitizer builds).
void PrepareHeapForLargeFonts(size_t Bytes = size_t(256) << 20);

}  // namespace tsy
