// List layout -> Record layout: the items of a record joined on lines of at
// most 80 characters, long PL items wrapped onto continuation lines.
#include "format/Conversion.h"

#include "format/DataItem.h"
#include "text/TextScan.h"
#include "format/TextStreams.h"

#include <algorithm>
#include <vector>
#include <utility>

namespace zuno {

namespace {

// Whether the List conversion would see a PL item as the last item of the
// text `placed` (the last item put on a Record line): the text after its last
// run of two spaces, trimmed, begins with "PL:".
bool endsWithValueList(QStringView placed)
{
    QStringView last = trimSpaces(placed);
    const qsizetype separator = last.lastIndexOf(ItemSeparator);
    if (separator >= 0)
        last = trimSpaces(last.sliced(separator + ItemSeparator.size()));
    return startsWithValueListCode(last);
}

void appendValuesJoined(QString &values, QStringView more)
{
    if (needsJoiningComma(values, more))
        values += u',';
    values += more;
}

// The line being built: appended to many times a line, a piece of a few
// characters at a time, and emptied once written out (which keeps its room).
class LineBuffer {
public:
    qsizetype size() const { return m_size; }
    QStringView view() const { return QStringView(m_units.data(), m_size); }
    void append(QStringView text)
    {
        char16_t *at = room(text.size());
        std::copy(text.utf16(), text.utf16() + text.size(), at);
        m_size += text.size();
    }
    void append(char16_t unit)
    {
        *room(1) = unit;
        ++m_size;
    }
    void clear() { m_size = 0; }

private:
    char16_t *room(qsizetype length)
    {
        if (m_size + length > qsizetype(m_units.size()))
            m_units.resize(size_t(std::max<qsizetype>(2 * m_units.size(), m_size + length)));
        return m_units.data() + m_size;
    }

    std::vector<char16_t> m_units = std::vector<char16_t>(256);
    qsizetype m_size = 0;
};

// Builds the Record layout of a text into a text::Utf8Writer. The line
// being built is kept apart and written out whole once the next one begins.
template <typename Writer = text::Utf8Writer>
class RecordBuilder {
public:
    template <typename... WriterArguments>
    explicit RecordBuilder(QByteArrayView text, WriterArguments &&...writer)
        : m_reader(text), m_out(std::forward<WriterArguments>(writer)...)
    {
    }

    Result<void, ConversionFault> run()
    {
        while (m_reader.hasNext()) {
            const QStringView line = m_reader.next();
            ++m_lineNumber;
            if (!isValidDataLine(line))
                return ConversionFault::invalidItem(line, m_lineNumber);
            place(line);
            // A comparison that has found a difference needs no more.
            if (m_out.settled())
                return {};
        }
        m_out.append(m_line.view());
        return {};
    }

    Writer &out() { return m_out; }

private:
    qsizetype builtLength() const { return m_line.size(); }
    QStringView builtLine() const { return m_line.view(); }

    void startNewLine()
    {
        m_out.append(m_line.view());
        m_out.appendLineBreak();
        m_line.clear();
        m_lastItemStart = -1;
    }

    // Puts an item on the line being built, after what it holds.
    void putItem(QStringView item)
    {
        if (!item.isEmpty())
            m_lastItemStart = m_line.size();
        m_line.append(item);
    }

    void place(QStringView line)
    {
        const qsizetype built = builtLength();
        const qsizetype fitted = built + ItemSeparator.size() + line.size();
        switch (classifyLine(line)) {
        case ItemRole::SeparatedRecordStart:
            if (built > 0) {
                // The extra line break leaves an empty line before the item.
                m_line.append(LineSeparator);
                startNewLine();
            }
            putItem(line);
            break;
        case ItemRole::RecordStart:
            if (built > 0)
                startNewLine();
            putItem(line);
            break;
        case ItemRole::LineStart:
            // Also when the line being built is empty, which leaves an empty
            // line before this one.
            startNewLine();
            putItem(line);
            break;
        case ItemRole::ValueList:
            if (fitted <= RecordLineWidth) {
                // Also on an empty line being built, which then begins with
                // the two spaces.
                m_line.append(ItemSeparator);
                putItem(line);
            } else {
                splitValueList(line);
            }
            break;
        case ItemRole::Joined:
            if (built == 0) {
                putItem(line); // an empty line changes nothing
            } else if (fitted <= RecordLineWidth) {
                m_line.append(ItemSeparator);
                putItem(line); // an empty line leaves two trailing spaces
            } else {
                startNewLine();
                m_line.append(ContinuationIndent);
                putItem(line);
            }
            break;
        }
    }

    // The values of the PL lines that follow directly, appended to `values`.
    // A comma goes between the values gathered so far and those taken up,
    // unless the gathered values already end with one (the List layout cut
    // the item there) or the taken-up values begin with one: a PL line
    // written by hand without its trailing comma keeps its last value apart
    // from the next line's first. Returns a view of the joined values (of
    // `values` itself when no PL line follows).
    QStringView takeUpFollowingValues(QStringView values)
    {
        if (!m_reader.nextStartsWith(ValueListCode))
            return values;
        m_values.resize(0);
        m_values += values;
        while (m_reader.nextStartsWith(ValueListCode)) {
            const QStringView taken = m_reader.next().sliced(ValueListCode.size());
            ++m_lineNumber;
            appendValuesJoined(m_values, taken);
        }
        return m_values;
    }

    // Whether the line being built is a PL continuation line and nothing
    // else: "       PL:" and its values, no item joined after them, and no
    // trailing space that the List layout would trim away. A PL item may run
    // on from its last value.
    bool builtLineIsValueListContinuation() const
    {
        const QStringView built = builtLine();
        return built.startsWith(ValueListContinuation) && m_lastItemStart == 0
            && !built.endsWith(u' ');
    }

    // Runs `head`, the first of the item's `values`, on from the last value
    // of the PL continuation line being built, with a comma between them
    // unless one is already there.
    void runOnValues(QStringView head, QStringView values)
    {
        if (needsJoiningComma(builtLine(), values))
            m_line.append(u',');
        m_line.append(head);
    }

    // Writes values onto PL continuation lines, each "       PL:" and the
    // values up to the last comma at or before position 70 of those still to
    // place (the comma is dropped), or all of them when fewer than 70 are
    // left or none of the first 70 is a comma. Writes at least one line when
    // `atLeastOneLine`, so that a PL item without values is not lost. Ends
    // with a fresh, empty line being built.
    void writeContinuationLines(QStringView values, bool atLeastOneLine)
    {
        if (values.isEmpty() && !atLeastOneLine)
            return;
        do {
            qsizetype comma = -1;
            if (values.size() >= ContinuationSplitLimit)
                comma = values.first(ContinuationSplitLimit).lastIndexOf(u',');
            // A comma that ends the values separates nothing: it stays on the
            // line, or the List layout would lose it for good.
            if (comma == values.size() - 1)
                comma = -1;
            m_line.append(ValueListContinuation);
            if (comma >= 0) {
                m_line.append(values.first(comma));
                values = values.sliced(comma + 1);
            } else {
                m_line.append(values);
                values = {};
            }
            startNewLine();
        } while (!values.isEmpty());
    }

    // A PL item that does not fit on the line being built.
    void splitValueList(QStringView line)
    {
        const qsizetype built = builtLength();
        // The head ends at the last comma at or before position 78 - L.
        const qsizetype window = std::min<qsizetype>(HeadSplitLimit - built, line.size());
        const qsizetype comma = window > 0 ? line.first(window).lastIndexOf(u',') : -1;
        if (comma < 0) {
            placeUnsplittableValueList(line);
            return;
        }
        if (builtLineIsValueListContinuation()) {
            // The line being built is itself a PL continuation line: the
            // values before the split comma run on from its last value after
            // a comma (none when one is already there), and the split comma
            // is dropped, as on any other line.
            const QStringView values = line.sliced(ValueListCode.size());
            runOnValues(values.first(comma - ValueListCode.size()), values);
        } else {
            m_line.append(ItemSeparator);
            m_line.append(line.first(comma));
        }
        startNewLine();
        // The comma cannot be the line's last character (the line would have
        // fitted), so values remain to place.
        writeContinuationLines(takeUpFollowingValues(line.sliced(comma + 1)), false);
    }

    // A PL item that must be split but has no comma within its first 78 - L
    // characters: its first value is long, or the line being built already
    // holds 78 characters or more. The values (with those of the PL lines
    // that follow) go onto PL continuation lines of their own, starting on a
    // new line (or on the line being built when that is still empty).
    //
    // Except when the line being built ends with a PL item: the List layout
    // would take continuation lines up into that item with a comma between,
    // and the item would come back with its neighbour merged into it. Then
    // the head stays on the line being built, up to the first comma after the
    // window instead (the whole item when it has none), and the rest follows
    // on continuation lines as usual.
    void placeUnsplittableValueList(QStringView line)
    {
        const QStringView values = takeUpFollowingValues(line.sliced(ValueListCode.size()));
        const bool afterValueList =
            m_lastItemStart >= 0 && endsWithValueList(m_line.view().sliced(m_lastItemStart));
        if (!afterValueList) {
            if (builtLength() > 0)
                startNewLine();
            writeContinuationLines(values, true);
            return;
        }
        // The window holds no comma, so the first comma of the values lies
        // beyond it. A comma that ends the values separates nothing.
        qsizetype comma = values.indexOf(u',');
        if (comma == values.size() - 1)
            comma = -1;
        if (builtLineIsValueListContinuation()) {
            runOnValues(comma >= 0 ? values.first(comma) : values, values);
        } else {
            m_line.append(ItemSeparator);
            m_line.append(ValueListCode);
            m_line.append(comma >= 0 ? values.first(comma) : values);
        }
        startNewLine();
        if (comma >= 0)
            writeContinuationLines(values.sliced(comma + 1), false);
    }

    text::Utf8LineReader m_reader;
    qsizetype m_lineNumber = -1;
    Writer m_out;
    LineBuffer m_line;              // the line being built
    qsizetype m_lastItemStart = -1; // where its last non-empty item begins
    QString m_values;               // a PL item's values joined with its PL lines
};

} // namespace

ConversionResult<QByteArray> convertToRecordLayout(QByteArrayView listText)
{
    RecordBuilder builder(listText, listText.size());
    if (auto done = builder.run(); !done.ok())
        return done.error();
    return builder.out().take();
}

ConversionResult<QByteArray> convertToRecordLayoutInto(QByteArrayView listText, QByteArray room)
{
    RecordBuilder builder(listText, listText.size(), std::move(room));
    if (auto done = builder.run(); !done.ok())
        return done.error();
    return builder.out().take();
}

Result<void, ConversionFault> convertToRecordLayout(QByteArrayView listText, const ConversionSink &sink)
{
    RecordBuilder builder(listText, sink, listText.size());
    auto done = builder.run();
    if (done.ok())
        builder.out().finish();
    return done;
}

bool recordLayoutEquals(QByteArrayView listText, QByteArrayView expected)
{
    RecordBuilder<text::Utf8Comparison> builder(listText, expected);
    return builder.run().ok() && builder.out().same();
}

} // namespace zuno
