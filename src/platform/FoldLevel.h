#pragma once
// Where a line stands in the folds of the text: how deep (0 outside every
// fold), whether a fold begins on it, and where that fold ends. QtFolds
// asks for it line by line, for the lines it shows or folds.
#include <QtGlobal>

#include <functional>

namespace zuno {

struct FoldLevel {
    int depth = 0;
    // A fold begins on the line and ends at `last`.
    bool header = false;
    qint64 last = -1;
    // The last line of the run from this one that has the same level
    // (this line itself for a header).
    qint64 same = -1;
};

// The level of a line of the control.
using FoldLevelOf = std::function<FoldLevel(qint64 line)>;

} // namespace zuno
