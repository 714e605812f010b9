#include "platform/qt/QtMatchMarks.h"

#include "platform/qt/EditorWidget.h"
#include "platform/qt/Indicators.h"
#include "platform/qt/ScintillaDocument.h"

#include <QEvent>

#include <algorithm>

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

using indicators::MatchIndicator;

long colourRef(const QColor &colour)
{
    return long(colour.red()) | (long(colour.green()) << 8) | (long(colour.blue()) << 16);
}

} // namespace

QtMatchMarks::QtMatchMarks(EditorWidget &editor, std::function<void()> viewChanged,
                           std::function<void()> textChanged)
    : QObject(&editor), m_editor(editor)
{
    send(Sci::SCI_INDICSETSTYLE, MatchIndicator, Sci::INDIC_STRAIGHTBOX);
    send(Sci::SCI_INDICSETUNDER, MatchIndicator, 1);
    send(Sci::SCI_INDICSETALPHA, MatchIndicator, 110);
    send(Sci::SCI_INDICSETOUTLINEALPHA, MatchIndicator, 200);
    applyColours();
    editor.installEventFilter(this);
    connect(&editor, &Sci::SCN_UPDATEUI, this, [viewChanged](int) { viewChanged(); });
    connect(&editor, &EditorWidget::textChanged, this, [this, textChanged](const TextChange &) {
        ++m_version;
        textChanged();
    });
}

bool QtMatchMarks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_editor && event->type() == QEvent::PaletteChange)
        applyColours();
    return QObject::eventFilter(watched, event);
}

long QtMatchMarks::send(unsigned int message, unsigned long wParam, long lParam) const
{
    return m_editor.SendScintilla(message, wParam, lParam);
}

void QtMatchMarks::applyColours()
{
    const bool dark = m_editor.palette().color(QPalette::Base).lightnessF() < 0.5;
    send(Sci::SCI_INDICSETFORE, MatchIndicator, colourRef(dark ? QColor(0xC8, 0x8A, 0x00) : QColor(0xFF, 0xC8, 0x00)));
}

qint64 QtMatchMarks::textBytes() const
{
    return send(Sci::SCI_GETLENGTH);
}

QByteArrayView QtMatchMarks::textRange(qint64 from, qint64 to) const
{
    const qint64 length = textBytes();
    to = std::clamp<qint64>(to, 0, length);
    from = std::clamp<qint64>(from, 0, to);
    if (to == from)
        return QByteArrayView();
    return QByteArrayView(sci::rangePointer(m_editor, from, to - from), to - from);
}

Utf8Range QtMatchMarks::visibleLines() const
{
    const qint64 lines = send(Sci::SCI_GETLINECOUNT);
    const qint64 first = send(Sci::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(send(Sci::SCI_GETFIRSTVISIBLELINE)));
    const qint64 last = std::min<qint64>(first + send(Sci::SCI_LINESONSCREEN) + 1, lines - 1);
    const qint64 from = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(first));
    const qint64 to = last + 1 < lines ? send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(last + 1))
                                       : send(Sci::SCI_GETLENGTH);
    return {from, std::max(from, to)};
}

QList<Utf8Range> QtMatchMarks::markedRanges() const
{
    QList<Utf8Range> ranges;
    const qint64 length = send(Sci::SCI_GETLENGTH);
    for (qint64 at = 0; at < length;) {
        const qint64 end = send(Sci::SCI_INDICATOREND, MatchIndicator, at);
        if (end <= at)
            break;
        if (send(Sci::SCI_INDICATORVALUEAT, MatchIndicator, at) != 0)
            ranges.append({at, end});
        at = end;
    }
    return ranges;
}

void QtMatchMarks::setMatchMarks(const QList<Utf8Range> &ranges)
{
    send(Sci::SCI_SETINDICATORCURRENT, MatchIndicator);
    const long document = send(Sci::SCI_GETDOCPOINTER);
    const qint64 length = send(Sci::SCI_GETLENGTH);
    if (document == m_document && m_to > m_from) {
        const qint64 to = std::min(m_to, length);
        const qint64 from = std::min(m_from, to);
        send(Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(from), long(to - from));
    }
    m_document = document;
    m_from = m_to = 0;
    for (const Utf8Range &range : ranges) {
        const qint64 to = std::min(range.to, length);
        if (to <= range.from)
            continue;
        if (m_to == m_from)
            m_from = range.from;
        m_to = to;
        send(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(range.from), long(to - range.from));
    }
}

} // namespace zuno
