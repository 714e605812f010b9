#include "items/CodeColours.h"

#include "platform/qt/EditorWidget.h"

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

// One indicator a role, after those of the line marks.
constexpr int FirstIndicator = 10;
constexpr ItemRole Roles[] = {ItemRole::SeparatedRecordStart, ItemRole::RecordStart, ItemRole::LineStart,
                              ItemRole::ValueList, ItemRole::Joined};

int indicatorOf(ItemRole role)
{
    return FirstIndicator + int(role);
}

long colourRef(const QColor &colour)
{
    return long(colour.red()) | (long(colour.green()) << 8) | (long(colour.blue()) << 16);
}

} // namespace

QColor CodeColours::colour(ItemRole role, bool darkBackground)
{
    // Five hues apart, each dark enough on a light background and light
    // enough on a dark one to stand out at 4.5 : 1 or more.
    switch (role) {
    case ItemRole::SeparatedRecordStart:
        return darkBackground ? QColor(0xF0, 0x8C, 0xE6) : QColor(0x9C, 0x1A, 0x8A);
    case ItemRole::RecordStart:
        return darkBackground ? QColor(0xFF, 0x8F, 0x80) : QColor(0xB3, 0x26, 0x1E);
    case ItemRole::LineStart:
        return darkBackground ? QColor(0x8A, 0xB4, 0xF8) : QColor(0x1A, 0x5F, 0xB4);
    case ItemRole::ValueList:
        return darkBackground ? QColor(0x81, 0xC9, 0x95) : QColor(0x1E, 0x6E, 0x2E);
    case ItemRole::Joined:
        break;
    }
    return darkBackground ? QColor(0xF5, 0xC2, 0x11) : QColor(0x85, 0x55, 0x00);
}

CodeColours::CodeColours(EditorWidget &editor, const ItemMarks &lines, QObject *parent)
    : QObject(parent), m_editor(editor), m_lines(lines)
{
    for (const ItemRole role : Roles)
        send(Sci::SCI_INDICSETSTYLE, indicatorOf(role), Sci::INDIC_TEXTFORE);
    applyColours();
    // After every change of text, scroll or size, and after painting (the
    // lines shown are known once the control has laid them out).
    connect(&editor, &Sci::SCN_UPDATEUI, this, [this](int) { update(); });
    connect(&editor, &Sci::SCN_PAINTED, this, [this] { update(); });
}

long CodeColours::send(unsigned int message, unsigned long wParam, long lParam) const
{
    return m_editor.SendScintilla(message, wParam, lParam);
}

void CodeColours::applyColours()
{
    const bool dark = m_editor.palette().color(QPalette::Base).lightnessF() < 0.5;
    for (const ItemRole role : Roles)
        send(Sci::SCI_INDICSETFORE, indicatorOf(role), colourRef(colour(role, dark)));
}

void CodeColours::setEnabled(bool enabled)
{
    m_enabled = enabled;
    m_dirty = true;
    update();
}

void CodeColours::clear()
{
    const long document = send(Sci::SCI_GETDOCPOINTER);
    if (document == m_document && m_to > m_from) {
        const qint64 length = send(Sci::SCI_GETLENGTH);
        const qint64 to = std::min(m_to, length);
        for (const ItemRole role : Roles) {
            send(Sci::SCI_SETINDICATORCURRENT, indicatorOf(role));
            send(Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(std::min(m_from, to)), long(to - std::min(m_from, to)));
        }
    }
    m_document = document;
    m_from = m_to = 0;
    m_first = m_last = -1;
}

void CodeColours::update()
{
    const qint64 count = m_lines.lineCount();
    const qint64 first = std::min<qint64>(send(Sci::SCI_GETFIRSTVISIBLELINE), count - 1);
    const qint64 last = std::min<qint64>(first + send(Sci::SCI_LINESONSCREEN) + 1, count - 1);
    if (!m_dirty && first == m_first && last == m_last && send(Sci::SCI_GETDOCPOINTER) == m_document)
        return;
    m_dirty = false;
    clear();
    if (!m_enabled || count == 0)
        return;
    m_first = first;
    m_last = last;
    qint64 line = m_lines.textLineStart(first);
    m_from = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    m_to = m_from;
    RecordLineContext context = m_lines.contextBefore(line);
    while (line <= last) {
        const ItemMarks::TextLine text = m_lines.textLine(line);
        const qint64 start = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        for (const CodeSpan &code : lineCodes(text.text, m_lines.isRecordLayout(), context)) {
            const QStringView view(text.text);
            const qint64 from = text.beyondAscii ? view.first(code.from).toUtf8().size() : code.from;
            const qint64 length = text.beyondAscii ? view.sliced(code.from, code.length).toUtf8().size() : code.length;
            send(Sci::SCI_SETINDICATORCURRENT, indicatorOf(code.role));
            send(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start + from), long(length));
        }
        line = text.lastLine + 1;
        m_to = send(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(text.lastLine));
    }
}

} // namespace zuno
