// What the program draws over Scintilla's painting: the margins' symbols,
// drawn for the rows shown rather than kept by Scintilla on every line (its
// marker and fold-level tables take 8 and 4 bytes a line of the whole text
// once a single line uses them); and the widths the painting takes.
#include "platform/qt/EditorWidget.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zuno {

namespace {

// The rows a region covers, as boxes apart from one another, top to bottom.
std::vector<QRect> rowBands(const QRegion &region)
{
    std::vector<QRect> bands;
    for (const QRect &part : region) {
        if (!bands.empty() && part.top() <= bands.back().bottom() + 1)
            bands.back() |= part;
        else
            bands.push_back(part);
    }
    return bands;
}

} // namespace

void EditorWidget::paintEvent(QPaintEvent *event)
{
    // Scintilla paints the box around what is to be painted. Rows apart (a
    // key's own rows, and the row that a move of the rows below brought in)
    // are painted each on its own; many, the box is cheaper.
    const std::vector<QRect> bands = rowBands(event->region());
    if (bands.size() < 2 || bands.size() > 3) {
        paintPart(*event);
        return;
    }
    for (const QRect &band : bands) {
        QPaintEvent part(band);
        paintPart(part);
    }
}

void EditorWidget::paintPart(QPaintEvent &event)
{
    QsciScintillaBase::paintEvent(&event);
    if (m_overPainters.empty())
        return;
    QPainter painter(viewport());
    painter.setClipRegion(event.region());
    for (const auto &[owner, paint] : m_overPainters) {
        if (!owner)
            continue;
        painter.save();
        paint(painter, event.rect());
        painter.restore();
    }
}

void EditorWidget::forEachShownRow(int fromY, int toY, const std::function<void(const ShownRow &)> &visit) const
{
    const int height = int(std::max(1L, send(SCI_TEXTHEIGHT, 0)));
    const long top = send(SCI_GETFIRSTVISIBLELINE);
    const long lines = send(SCI_GETLINECOUNT);
    // A line's rows: one where lines do not wrap. (Asked, Scintilla lays the
    // line out, measuring its text, on every paint.)
    const bool wrapping = send(SCI_GETWRAPMODE) != SC_WRAP_NONE;
    const auto rowsOf = [&](long line) {
        return wrapping ? std::max(1L, send(SCI_WRAPCOUNT, static_cast<unsigned long>(line))) : 1L;
    };
    const long rows = send(SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(lines - 1)) + rowsOf(lines - 1);
    for (long row = top + std::max(0, fromY) / height; row < rows; ++row) {
        const int y = int(row - top) * height;
        if (y >= toY)
            break;
        const long line = send(SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(row));
        if (line < 0 || line >= lines)
            break;
        const long first = send(SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(line));
        const long last = first + rowsOf(line) - 1;
        visit(ShownRow{line, y, height, first == row, last == row});
    }
}

QRect EditorWidget::marginRect(int margin) const
{
    int left = 0;
    for (int m = 0; m < margin; ++m)
        left += int(send(SCI_GETMARGINWIDTHN, static_cast<unsigned long>(m)));
    return QRect(left, 0, int(send(SCI_GETMARGINWIDTHN, static_cast<unsigned long>(margin))), viewport()->height());
}

int EditorWidget::marginsWidth() const
{
    int width = 0;
    for (unsigned long margin = 0; margin < 5; ++margin)
        width += int(send(SCI_GETMARGINWIDTHN, margin));
    return width;
}

int EditorWidget::contentWidth() const
{
    settleChange();
    const double margins = double(send(SCI_GETMARGINLEFT) + send(SCI_GETMARGINRIGHT));
    return int(std::ceil(double(m_widths.widestCells()) * m_cellWidth + margins)) + int(send(SCI_GETCARETWIDTH));
}

// Scintilla repaints the whole window on each change of a scroll range. So
// once the text is wider than the window, its range grows and shrinks eight
// cells at a time, and typing at the end of the widest line changes it on
// one key in eight, not on each. A text that fits keeps its exact width:
// the slack never brings a scroll bar in.
void EditorWidget::updateScrollWidth()
{
    int width = std::max(1, contentWidth());
    const int step = std::max(1, int(std::lround(8 * m_cellWidth)));
    if (width > viewport()->width() - marginsWidth())
        width = (width + step - 1) / step * step;
    send(SCI_SETSCROLLWIDTH, static_cast<unsigned long>(width));
}

void EditorWidget::resizeEvent(QResizeEvent *event)
{
    QsciScintillaBase::resizeEvent(event);
    updateScrollWidth();
}

} // namespace zuno
