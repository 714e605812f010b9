#include "platform/LargeBlocks.h"

#include <algorithm>
#include <atomic>

#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#endif

namespace zuno {

namespace {
// A view switch holds the text, its converted form and the control's copy:
// what is kept beyond a few times the text is more than it can use.
constexpr qint64 UsesOfTheText = 6;
constexpr qint64 AlwaysKept = qint64(64) << 20;
// Blocks from this size on would come from a mapping of their own.
constexpr int KeptThreshold = 1 << 30;
// A text from this size on is large: its blocks are faulted in ahead, and
// what its loading leaves free is given back.
constexpr qint64 LargeText = qint64(8) << 20;
// The system's call that faults memory in for writing (Linux 5.14 on):
// named here for C libraries that do not name it yet.
#if defined(__GLIBC__) && !defined(MADV_POPULATE_WRITE)
constexpr int MADV_POPULATE_WRITE = 23;
#endif

std::atomic<bool> kept{false};
// A large text was loaded since the heap last gave back what it held free.
std::atomic<bool> loaded{false};
} // namespace

void keepLargeBlocksForReuse()
{
#if defined(__GLIBC__)
    // Blocks of any size come from the heap, not from a mapping of their
    // own that is unmapped when freed, and the heap is not trimmed as
    // blocks are freed: releaseKeptBlocksBeyond decides.
    mallopt(M_MMAP_THRESHOLD, KeptThreshold);
    mallopt(M_TRIM_THRESHOLD, KeptThreshold);
    kept = true;
#endif
}

void releaseKeptBlocksBeyond(qint64 textBytes)
{
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    if (qint64(info.fordblks) > std::max(AlwaysKept, UsesOfTheText * textBytes))
        malloc_trim(0);
#else
    Q_UNUSED(textBytes);
#endif
}

void faultInTheNextBlock(qint64 bytes)
{
#if defined(__GLIBC__)
    if (!kept || bytes < LargeText)
        return;
    void *block = std::malloc(size_t(bytes));
    if (!block)
        return;
    constexpr std::uintptr_t Page = 4096;
    const std::uintptr_t from = (reinterpret_cast<std::uintptr_t>(block) + Page - 1) & ~(Page - 1);
    const std::uintptr_t to = (reinterpret_cast<std::uintptr_t>(block) + std::uintptr_t(bytes)) & ~(Page - 1);
    // Where the system cannot, the block is faulted in as it is written.
    if (to > from)
        madvise(reinterpret_cast<void *>(from), to - from, MADV_POPULATE_WRITE);
    std::free(block);
#else
    Q_UNUSED(bytes);
#endif
}

void shareOneHeapAmongThreads()
{
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, 1);
#endif
}

void largeTextLoaded(qint64 textBytes)
{
    if (kept && textBytes >= LargeText)
        loaded = true;
}

void releaseFreedBlocksAfterLoading()
{
#if defined(__GLIBC__)
    if (loaded.exchange(false))
        malloc_trim(0);
#endif
}

} // namespace zuno
