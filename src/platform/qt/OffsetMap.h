#pragma once
// The program's offsets (UTF-16 units, "\r\n" counting two) against the
// positions of a Scintilla document that holds the text as UTF-8 bytes, and
// the program's lines against Scintilla's.
//
// Scintilla's line character index maps them; it is built only once the
// document holds a byte beyond ASCII (before that an offset is a position).
// A lone "\r" or "\n" ends a line of the display, but is a character of the
// program's line.
#include "platform/EditControl.h"
#include "platform/qt/ScintillaDocument.h"
#include "text/LineSet.h"

#include <vector>

namespace zuno {

class OffsetMap {
public:
    explicit OffsetMap(const QsciScintillaBase &document) : m_document(document) {}

    // A new document has been put in place: no index yet; `beyondAscii`
    // says whether its text holds a byte beyond ASCII, `loneBreaks` where
    // it holds a lone "\r" or "\n" (byte positions, in order).
    void reset(bool beyondAscii, const std::vector<qint64> &loneBreaks = {});
    // A change is in (a whole new text comes with reset()).
    void changed(const TextChange &change);

    // Length of the whole text in offsets.
    qint64 textLength() const;
    qint64 toTextOffset(qint64 position) const;
    // Offsets past the end stop at the end; one between the "\r" and "\n"
    // of a line break goes to the end of that line, one between the two
    // units of a surrogate pair to the start of its character.
    qint64 toDocumentPosition(qint64 offset) const;
    // Whether `offset` lies in the text and between two characters (not
    // inside a surrogate pair or a "\r\n"): where an edit may begin or end.
    bool isCharacterBoundary(qint64 offset) const;
    // The program's line (from 0) of an offset: only "\r\n" ends one.
    qint64 lineFromChar(qint64 offset) const;
    // The program's line (from 0) that holds Scintilla's line `line`, and
    // Scintilla's line where that program's line begins.
    qint64 textLineOf(qint64 line) const { return line - m_loneBreakLines.countBefore(line); }
    qint64 textLineStart(qint64 line) const;
    // Scintilla's lines that end with a lone "\r" or "\n", kept up to date
    // through the changes.
    const LineSet &loneBreakLines() const { return m_loneBreakLines; }

private:
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const
    {
        return m_document.SendScintilla(message, wParam, lParam);
    }
    bool usesCharacterIndex() const;
    qint64 lineCount() const { return send(QsciScintillaBase::SCI_GETLINECOUNT); }

    const QsciScintillaBase &m_document;
    bool m_beyondAscii = false;
    mutable bool m_indexAllocated = false;

    LineSet m_loneBreakLines;
    qint64 m_lineCount = 1; // Scintilla's, when the set was last brought up to date
};

} // namespace zuno
