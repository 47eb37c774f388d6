#include "common/heap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define TSY_HEAP_TUNING 1
#endif

#if defined(__SANITIZE_ADDRESS__)
#undef TSY_HEAP_TUNING
#endif
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#undef TSY_HEAP_TUNING
#endif
#endif

namespace tsy {

void PrepareHeapForLargeFonts(size_t Bytes) {
#ifdef TSY_HEAP_TUNING
  constexpr uintptr_t kHugePage = uintptr_t(2) << 20;
  // Large buffers (whole files, glyph data) stay in the main heap, and the
  // heap is not given back to the system after each large free: the next
  // load or save reuses the same pages instead of faulting in new ones.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest the C library accepts
  mallopt(M_TRIM_THRESHOLD, int(std::min<size_t>(2 * Bytes, size_t(1) << 30)));
  // The next growth of the heap's break adds the whole reserve; the block
  // that causes it, freed again, leaves all of it as the heap's top, from
  // which the following allocations are cut.
  mallopt(M_TOP_PAD, int(std::min<size_t>(Bytes, size_t(1) << 30)));
  void* block = std::malloc(size_t(1) << 20);
  mallopt(M_TOP_PAD, 16 << 20);
  if (!block) return;
  const uintptr_t begin = (uintptr_t(block) + kHugePage - 1) & ~(kHugePage - 1);
  const uintptr_t end = uintptr_t(sbrk(0)) & ~(kHugePage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  std::free(block);
#else
  (void)Bytes;
#endif
}

}  // namespace tsy
