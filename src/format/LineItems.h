#pragma once
// The items of a trimmed Record line, taken off at its runs of two spaces as
// the List layout reads them: searching from after the first colon the first
// time, then from the start of what is left; some colon must follow every
// run. The List conversion, the problem marks and the code colours all read
// a Record line through this one walk.

#include "format/DataItem.h"
#include "text/TextScan.h"

namespace zuno {

// What takeItems leaves: `View` is a QStringView of UTF-16 units or a
// QByteArrayView of UTF-8 bytes (positions then count bytes).
template <typename View>
struct BasicItemsTaken {
    // False when a run of two spaces has no colon after it.
    bool ok = true;
    // The last item (ok), or what was left of the line at the fault.
    View rest;
    // Where `rest` begins in the line.
    qsizetype restOffset = 0;
};
using ItemsTaken = BasicItemsTaken<QStringView>;

// Calls take(item, offset) for every item before a run of two spaces, the
// item untrimmed at its end and `offset` where it begins in `line`.
template <typename View, typename Take>
BasicItemsTaken<View> takeItems(View line, Take &&take)
{
    qsizetype offset = 0;
    qsizetype colon = firstColon(line);
    if (colon >= 0) {
        // `colon` is a colon after the last separator found, as long as it
        // lies after it; searching on from there keeps the whole walk linear
        // however many separators the line holds.
        qsizetype separator = scan::indexOfPair(line, ' ', ' ', colon + 1);
        while (separator >= 0) {
            const qsizetype after = separator + ItemSeparator.size();
            if (colon < after)
                colon = scan::indexOf(line, ':', after);
            if (colon < 0)
                return BasicItemsTaken<View>{false, line, offset};
            take(line.first(separator), offset);
            qsizetype begin = after;
            while (begin < line.size() && scan::unit(line[begin]) == u' ')
                ++begin;
            line = line.sliced(begin);
            offset += begin;
            colon -= begin;
            separator = scan::indexOfPair(line, ' ', ' ', 0);
        }
    }
    return BasicItemsTaken<View>{true, line, offset};
}

} // namespace zuno
