#include "items/CodeColours.h"

#include "platform/qt/EditorWidget.h"
#include "text/Utf8Text.h"

#include <utility>

namespace zuno {

namespace {

constexpr ItemRole Roles[] = {ItemRole::SeparatedRecordStart, ItemRole::RecordStart, ItemRole::LineStart,
                              ItemRole::ValueList, ItemRole::Joined};

// One colour of the control a role.
int colourOf(ItemRole role)
{
    return int(role);
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
    : QObject(parent), m_editor(editor), m_colours(editor, int(std::size(Roles))), m_lines(lines)
{
    applyColours();
    // After every change of text, scroll or size, and after painting (the
    // lines shown are known once the control has laid them out).
    connect(&editor, &EditorWidget::viewUpdated, this, &CodeColours::update);
    connect(&editor, &EditorWidget::painted, this, &CodeColours::update);
}

void CodeColours::applyColours()
{
    const bool dark = m_editor.palette().color(QPalette::Base).lightnessF() < 0.5;
    for (const ItemRole role : Roles)
        m_colours.setColour(colourOf(role), colour(role, dark));
}

void CodeColours::setEnabled(bool enabled)
{
    m_enabled = enabled;
    m_dirty = true;
    update();
}

void CodeColours::clear()
{
    m_colours.clear(m_document, m_from, m_to);
    m_document = m_colours.document();
    m_from = m_to = 0;
    m_first = m_last = -1;
    m_coloured.clear();
}

void CodeColours::textChanged(const TextChange &change)
{
    const qint64 first = m_lines.lineAt(change.position);
    const qint64 last = m_lines.lineAt(change.position + change.insertedBytes);
    const qint64 added = m_lines.lineCount() - m_lineCount;
    if (change.wholeText || (added != 0 && (m_lineCount < 0 || m_edited.first <= m_edited.last)))
        m_dirty = true;
    else if (added != 0)
        linesMoved(change, first, added);
    m_edited = {std::min(m_edited.first, first), std::max(m_edited.last, last)};
}

// Lines came or went at `line`. The colours after the edit moved with their
// text; what was coloured is known under the lines' new numbers.
void CodeColours::linesMoved(const TextChange &change, qint64 line, qint64 added)
{
    const qint64 joined = line + change.removedLines;
    std::erase_if(m_coloured, [&](const Coloured &c) { return c.line > line && c.line <= joined; });
    for (Coloured &coloured : m_coloured) {
        if (coloured.line > joined)
            coloured.line += added;
    }
    // Above the lines shown, the view keeps to its text.
    if (line < m_first) {
        m_first += added;
        m_last += added;
    }
    m_lineCount += added;
    const qint64 bytes = change.insertedBytes - change.removedBytes;
    if (change.position < m_from)
        m_from = std::max(change.position, m_from + bytes);
    if (change.position < m_to)
        m_to = std::max(change.position, m_to + bytes);
}

void CodeColours::update()
{
    const qint64 count = m_lines.lineCount();
    const qint64 first = std::min<qint64>(m_colours.firstVisibleLine(), count - 1);
    const qint64 last = std::min<qint64>(first + m_colours.linesOnScreen() + 1, count - 1);
    const bool sameLines = first == m_first && last == m_last && m_colours.document() == m_document
                           && count == m_lineCount;
    const LineRange edited = std::exchange(m_edited, LineRange{});
    if (!m_dirty && edited.first > edited.last && sameLines)
        return;
    const bool onlyChanged = !m_dirty && sameLines && m_enabled;
    m_dirty = false;
    if (!onlyChanged)
        clear();
    m_lineCount = count;
    if (m_enabled && count > 0)
        colourLines(first, last, onlyChanged ? edited : std::optional<LineRange>());
}

void CodeColours::colourLines(qint64 first, qint64 last, std::optional<LineRange> edited)
{
    const bool onlyChanged = edited.has_value();
    m_first = first;
    m_last = last;
    qint64 line = m_lines.textLineStart(first);
    m_from = m_colours.lineStart(line);
    m_to = m_from;
    RecordLineContext context = m_lines.contextBefore(line);
    std::vector<Coloured> coloured;
    auto before = m_coloured.cbegin();
    while (line <= last) {
        const ItemMarks::TextLine text = m_lines.textLine(line);
        QList<CodeSpan> codes = lineCodes(text.text, m_lines.isRecordLayout(), context);
        while (before != m_coloured.cend() && before->line < line)
            ++before;
        const bool kept = onlyChanged && before != m_coloured.cend() && before->line == line && before->codes == codes
                          && (text.lastLine < edited->first || line > edited->last);
        const qint64 start = m_colours.lineStart(line);
        if (!kept) {
            if (onlyChanged)
                m_colours.clear(m_document, start, m_colours.lineEnd(text.lastLine));
            for (const CodeSpan &code : codes) {
                const qint64 from = utf8PositionOf(text.bytes, code.from);
                const qint64 length = utf8PositionOf(text.bytes, code.from + code.length) - from;
                m_colours.fill(colourOf(code.role), start + from, length);
            }
        }
        coloured.push_back(Coloured{line, std::move(codes)});
        line = text.lastLine + 1;
        m_to = m_colours.lineEnd(text.lastLine);
    }
    m_coloured = std::move(coloured);
}

} // namespace zuno
