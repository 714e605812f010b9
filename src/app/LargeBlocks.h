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

} // namespace zuno
