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

// The editor's threads all take their blocks from the one heap. Called
// once, before the first thread. The records and problems of a large text
// are read on threads of their own: their blocks then take the memory the
// text's loading left free, already faulted in, rather than memory fresh
// from the system in a heap of each thread's own (on 200 MB, 34 MB of
// records: a tenth of the open).
void shareOneHeapAmongThreads();

// A large file's text is loaded: once its records and problems are read
// (releaseFreedBlocksAfterLoading), what the heap then holds free is given
// back to the system. The edit control's table of line starts grew as the
// text came in by copies of itself, each a sixth larger than the last; the
// copies it left fit nothing the document needs beyond its records, yet
// kept they would add a quarter of the text to the process. (They stay in
// the heap while the table grows, where each copy reuses the room of those
// before it: mapping each on its own costs a fifth more of the open in
// fresh pages.) Changes nothing for a small text, or where large blocks are
// not kept.
void largeTextLoaded(qint64 textBytes);
void releaseFreedBlocksAfterLoading();

} // namespace zuno
