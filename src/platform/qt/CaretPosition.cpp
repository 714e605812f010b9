#include "platform/qt/CaretPosition.h"

#include "platform/qt/EditorWidget.h"

namespace zuno {

LineColumn caretLineColumn(const EditorWidget &editor)
{
    using Sci = QsciScintillaBase;
    const long caret = editor.SendScintilla(Sci::SCI_GETCURRENTPOS);
    const long line = editor.SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
    const qint64 first = editor.textLineStart(line);
    const long lineStart = editor.SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(first));
    const long characters = editor.SendScintilla(Sci::SCI_COUNTCHARACTERS, static_cast<unsigned long>(lineStart), caret);
    return LineColumn{editor.textLineOf(line) + 1, qint64(characters) + 1};
}

} // namespace zuno
