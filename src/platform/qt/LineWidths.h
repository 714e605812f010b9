#pragma once
// The width of a document's widest line in character cells, kept up to
// date through its changes without measuring the whole text each time.
// Lines end at any "\r" or "\n", as Scintilla shows them; a tab goes to the
// next stop of eight cells, a control character takes the four cells of its
// boxed name ("NUL", "ESC"), every other character one.
#include "platform/EditControl.h"
#include "platform/qt/ScintillaDocument.h"

#include <algorithm>
#include <map>
#include <vector>

namespace zuno {

// How many lines there are of each width.
class WidthCounts {
public:
    void add(qint64 width, qint64 by);
    // One line more of `width` (the quick way, for a whole text).
    void addOne(qint64 width)
    {
        if (width < qint64(m_small.size()))
            ++m_small[size_t(width)];
        else
            add(width, 1);
    }
    // Adds (or takes away, with -1) every count of `other`.
    void add(const WidthCounts &other, int sign);
    qint64 widest() const;
    bool operator==(const WidthCounts &) const = default;

private:
    static constexpr qint64 Small = 4096;
    std::vector<qint64> m_small; // by width below Small, no zero at its end
    std::map<qint64, qint64> m_large; // no zero count
};

// Width in character cells of the longest line of a text fed to it in
// pieces of UTF-8.
// Also, where asked, where the text holds a lone "\r" or "\n" (found in
// the same pass: a text is read once as it is written).
class LineMeasure {
public:
    void feed(const char *data, qint64 size);
    qint64 widest() const { return std::max(m_widest, m_cells); }

    // Counts the lines of each width from now on ("\r\n" ends one line and
    // an empty one: the same whichever way the text is cut in lines).
    void countWidths() { m_countWidths = true; }
    // Once the whole text is fed: the counts, with its last line.
    WidthCounts &widthCounts();
    // Collects the positions of lone line-break bytes from now on.
    void findLoneBreaks() { m_findLone = true; }
    // Their positions, in order, once the whole text is fed.
    const std::vector<qint64> &loneBreaks();

private:
    void lineBreak(qint64 position, char c)
    {
        if (c == '\n' && m_pendingCr >= 0 && m_pendingCr == position - 1)
            m_pendingCr = -1; // "\r\n"
        else
            loneOrCr(position, c);
    }
    void loneOrCr(qint64 position, char c);
    void crLfLineEnd();

    qint64 m_widest = 0;
    qint64 m_cells = 0;
    bool m_countWidths = false;
    WidthCounts m_counts;
    // The empty lines counted for the "\r\n" line ends, not yet in m_counts.
    qint64 m_crLfEmpties = 0;
    bool m_findLone = false;
    qint64 m_fed = 0;
    qint64 m_pendingCr = -1; // a "\r" whose next byte is not read yet
    std::vector<qint64> m_loneBreaks;
};

class LineWidthTracker {
public:
    explicit LineWidthTracker(const QsciScintillaBase &document) : m_document(document) {}

    // A new text, measured while it was written (the widths counted).
    void reset(WidthCounts counts);
    // A change is in (a whole new text comes with reset()): the lines it
    // made are measured, and those it took away, with what stands before
    // and after it, and the counts of widths follow. True when the widest
    // line may have changed. Only a removal too large to be kept has the
    // whole text measured again, when next asked.
    bool changed(const TextChange &change);

    qint64 widestCells() const;

private:
    void feed(LineMeasure &measure, qint64 from, qint64 to) const;

    const QsciScintillaBase &m_document;
    mutable WidthCounts m_counts;
    mutable bool m_stale = false;
};

} // namespace zuno
