#include "platform/LargeBlocks.h"

#include <algorithm>
#include <atomic>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zuno {

namespace {
// A view switch holds the text, its converted form and the control's copy:
// what is kept beyond a few times the text is more than it can use.
constexpr qint64 UsesOfTheText = 6;
constexpr qint64 AlwaysKept = qint64(64) << 20;
// Blocks from this size on come from a mapping of their own: kept ones
// never do, given-back ones do from a megabyte on.
constexpr int KeptThreshold = 1 << 30;
constexpr int GivenBackThreshold = 1 << 20;

std::atomic<bool> kept{false};
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

BlocksGivenBackWhenFreed::BlocksGivenBackWhenFreed()
{
#if defined(__GLIBC__)
    if (kept)
        mallopt(M_MMAP_THRESHOLD, GivenBackThreshold);
#endif
}

BlocksGivenBackWhenFreed::~BlocksGivenBackWhenFreed()
{
#if defined(__GLIBC__)
    if (kept)
        mallopt(M_MMAP_THRESHOLD, KeptThreshold);
#endif
}

} // namespace zuno
