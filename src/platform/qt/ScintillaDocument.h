#pragma once
// Small reads of a Scintilla document's bytes, shared by the edit control and
// the bookkeeping it keeps beside it (offset map, line widths).
#include <Qsci/qsciscintillabase.h>

#include <QByteArrayView>

#include <algorithm>

namespace zuno::sci {

using Base = QsciScintillaBase;

inline long send(const Base &document, unsigned int message, unsigned long wParam = 0, long lParam = 0)
{
    return document.SendScintilla(message, wParam, lParam);
}

// The document's bytes from `position`, `length` of them, in place (moving
// Scintilla's gap only where the range spans it).
inline const char *rangePointer(const Base &document, qint64 position, qint64 length)
{
    return reinterpret_cast<const char *>(send(document, Base::SCI_GETRANGEPOINTER,
                                               static_cast<unsigned long>(position), std::max<qint64>(length, 0)));
}

// All of the document's bytes, in place: valid until the text next changes.
inline QByteArrayView wholeText(const Base &document)
{
    const qint64 length = send(document, Base::SCI_GETLENGTH);
    return QByteArrayView(static_cast<const char *>(document.SendScintillaPtrResult(Base::SCI_GETCHARACTERPOINTER)),
                          length);
}

// Scintilla's first and last line of a range, as positions: the start of
// the line holding `from` and the end (before its break) of the line
// holding `to`.
inline std::pair<qint64, qint64> wholeLines(const Base &document, qint64 from, qint64 to)
{
    const long first = send(document, Base::SCI_LINEFROMPOSITION, static_cast<unsigned long>(from));
    const long last = send(document, Base::SCI_LINEFROMPOSITION, static_cast<unsigned long>(to));
    return {send(document, Base::SCI_POSITIONFROMLINE, static_cast<unsigned long>(first)),
            send(document, Base::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(last))};
}

} // namespace zuno::sci
