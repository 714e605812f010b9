#pragma once
// Where the caret stands, as the status bar names it: line and column
// counted from 1, the line as Go To Line and the messages count it (only
// "\r\n" ends one), the column in characters from that line's start (a lone
// "\r" or "\n" counting one). Costs the length of the caret's line at most,
// whatever the size of the text.
#include <QtGlobal>

namespace zuno {

class EditorWidget;

struct LineColumn {
    qint64 line = 1;
    qint64 column = 1;
};

LineColumn caretLineColumn(const EditorWidget &editor);

} // namespace zuno
