#include "LargeBuffers.h"

// Defines __GLIBC__ where the C library is glibc.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace LargeBuffers {

void returnWhenFreed()
{
#if defined(__GLIBC__)
    // A fixed threshold also stops its growth; smaller blocks stay in the heaps as before.
    constexpr int threshold = 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, threshold);
#endif
}

} // namespace LargeBuffers
