// Freed large blocks stay with the process until a document far smaller
// than they are is loaded, except what a large text's loading leaves free.
#include "platform/LargeBlocks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

qint64 residentBytes()
{
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return qint64(resident) * ::sysconf(_SC_PAGESIZE);
}

constexpr qint64 Block = qint64(200) << 20;

// A block of `Block` bytes written and freed.
void writeAndFree()
{
    char *block = static_cast<char *>(std::malloc(size_t(Block)));
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, size_t(Block));
    // Written for real: the compiler may not leave the block out.
    asm volatile("" : : "r"(block) : "memory");
    std::free(block);
}

TEST(LargeBlocks, AreKeptForReuseUntilFarMoreThanTheDocumentNeeds)
{
    zuno::keepLargeBlocksForReuse();
    const qint64 before = residentBytes();
    writeAndFree();
    EXPECT_GT(residentBytes() - before, Block / 2);
    // Kept after a small text is loaded...
    zuno::largeTextLoaded(qint64(1) << 20);
    zuno::releaseFreedBlocksAfterLoading();
    EXPECT_GT(residentBytes() - before, Block / 2);
    // ...given back after a large one.
    zuno::largeTextLoaded(qint64(50) << 20);
    zuno::releaseFreedBlocksAfterLoading();
    EXPECT_LT(residentBytes() - before, Block / 2);
    writeAndFree();

    // A document of 50 MB may use them again.
    zuno::releaseKeptBlocksBeyond(qint64(50) << 20);
    EXPECT_GT(residentBytes() - before, Block / 2);

    // An empty one may not.
    zuno::releaseKeptBlocksBeyond(0);
    EXPECT_LT(residentBytes() - before, Block / 2);
}

// The memory of a large block to come is resident before the block is
// taken, and the block taken then is that memory: writing it faults in
// nothing more.
TEST(LargeBlocks, TheNextBlockIsFaultedInAhead)
{
    constexpr qint64 Ahead = qint64(64) << 20;
    zuno::keepLargeBlocksForReuse();
    zuno::releaseKeptBlocksBeyond(0);
    const qint64 before = residentBytes();
    zuno::faultInTheNextBlock(Ahead);
    const qint64 faultedIn = residentBytes() - before;
    EXPECT_GT(faultedIn, Ahead * 3 / 4);
    char *block = static_cast<char *>(std::malloc(size_t(Ahead)));
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, size_t(Ahead));
    asm volatile("" : : "r"(block) : "memory");
    EXPECT_LT(residentBytes() - before - faultedIn, Ahead / 4);
    std::free(block);
}

// Blocks a thread takes come from the memory the window's thread freed, not
// from memory fresh from the system.
TEST(LargeBlocks, ThreadsTakeWhatTheWindowsThreadFreed)
{
    constexpr qint64 Piece = 16 << 10;
    zuno::keepLargeBlocksForReuse();
    zuno::shareOneHeapAmongThreads();
    writeAndFree();
    const qint64 before = residentBytes();
    std::vector<void *> taken;
    std::thread([&] {
        for (qint64 bytes = 0; bytes < Block / 2; bytes += Piece) {
            taken.push_back(std::malloc(size_t(Piece)));
            std::memset(taken.back(), 1, size_t(Piece));
        }
    }).join();
    EXPECT_LT(residentBytes() - before, Block / 8);
    for (void *block : taken)
        std::free(block);
}

} // namespace
