#include "platform/qt/CaretPosition.h"

#include <Qsci/qsciscintillabase.h>

namespace zuno {

LineColumn caretLineColumn(const QsciScintillaBase &editor)
{
    using Sci = QsciScintillaBase;
    const long caret = editor.SendScintilla(Sci::SCI_GETCURRENTPOS);
    const long line = editor.SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
    const long lineStart = editor.SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long characters = editor.SendScintilla(Sci::SCI_COUNTCHARACTERS, static_cast<unsigned long>(lineStart), caret);
    return LineColumn{qint64(line) + 1, qint64(characters) + 1};
}

} // namespace zuno
