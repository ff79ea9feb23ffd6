#pragma once

// How the process's allocator treats buffers of megabytes, such as a long project's JSON, the
// backend's answer and the texts read from it.
namespace LargeBuffers {

// From now on every such buffer goes back to the system when it is freed. glibc otherwise raises
// its threshold for mapping a buffer of its own to the size of the largest one freed so far, and
// keeps later ones of that size in its heaps once freed: each save of a long project left the
// process bigger. Call once at the start, before the threads.
void returnWhenFreed();

} // namespace LargeBuffers
