#pragma once
// Where the caret stands, as the status bar names it: line and column
// counted from 1, the column in characters. Costs the length of the caret's
// line at most, whatever the size of the text.
#include <QtGlobal>

class QsciScintillaBase;

namespace zuno {

struct LineColumn {
    qint64 line = 1;
    qint64 column = 1;
};

LineColumn caretLineColumn(const QsciScintillaBase &editor);

} // namespace zuno
