#pragma once
// Large blocks of memory (a document's text, the text a view switch makes,
// a file read whole) stay with the process once freed, for the next large
// block to reuse, instead of going back to the system at once: memory the
// system hands over afresh is faulted in a page at a time, which on a
// virtual machine costs more than converting the text it is to hold.
#include <QtGlobal>

namespace zuno {

// Called once, before the first large block.
void keepLargeBlocksForReuse();

// Gives back to the system the freed memory the process keeps, when that
// is far more than a document of `textBytes` bytes can use again.
void releaseKeptBlocksBeyond(qint64 textBytes);

// Where large blocks are kept, the memory the next block of `bytes` bytes
// is to take is faulted in at once, by one call to the system, before it is
// taken: a block of that size is taken, faulted in and freed, and the heap
// keeps it for the next. Faulted in a page at a time as it is first
// written, the same memory costs 5 to 10% more of a large file's open.
void faultInTheNextBlock(qint64 bytes);

// While a large text is loaded, the edit control's table of line starts
// grows by copies of itself, each a sixth larger than the last: the copies
// it leaves behind fit nothing the document needs later, yet kept they
// would add a quarter of the text to the process. Within this scope a block
// of a megabyte or more is a mapping of its own, which goes back to the
// system when it is freed. Changes nothing where large blocks are not kept.
class BlocksGivenBackWhenFreed {
public:
    BlocksGivenBackWhenFreed();
    ~BlocksGivenBackWhenFreed();
    BlocksGivenBackWhenFreed(const BlocksGivenBackWhenFreed &) = delete;
    BlocksGivenBackWhenFreed &operator=(const BlocksGivenBackWhenFreed &) = delete;
};

} // namespace zuno
