#pragma once
// The items of a trimmed Record line, taken off at its runs of two spaces as
// the List layout reads them: searching from after the first colon the first
// time, then from the start of what is left; some colon must follow every
// run. The List conversion, the problem marks and the code colours all read
// a Record line through this one walk.

#include "format/DataItem.h"
#include "text/TextScan.h"

namespace zuno {

struct ItemsTaken {
    // False when a run of two spaces has no colon after it.
    bool ok = true;
    // The last item (ok), or what was left of the line at the fault.
    QStringView rest;
    // Where `rest` begins in the line.
    qsizetype restOffset = 0;
};

// Calls take(item, offset) for every item before a run of two spaces, the
// item untrimmed at its end and `offset` where it begins in `line`.
template <typename Take>
ItemsTaken takeItems(QStringView line, Take &&take)
{
    qsizetype offset = 0;
    qsizetype colon = firstColon(line);
    if (colon >= 0) {
        // `colon` is a colon after the last separator found, as long as it
        // lies after it; searching on from there keeps the whole walk linear
        // however many separators the line holds.
        qsizetype separator = scan::indexOfPair(line, u' ', u' ', colon + 1);
        while (separator >= 0) {
            const qsizetype after = separator + ItemSeparator.size();
            if (colon < after)
                colon = scan::indexOf(line, u':', after);
            if (colon < 0)
                return ItemsTaken{false, line, offset};
            take(line.first(separator), offset);
            qsizetype begin = after;
            while (begin < line.size() && line[begin] == u' ')
                ++begin;
            line = line.sliced(begin);
            offset += begin;
            colon -= begin;
            separator = scan::indexOfPair(line, u' ', u' ', 0);
        }
    }
    return ItemsTaken{true, line, offset};
}

} // namespace zuno
