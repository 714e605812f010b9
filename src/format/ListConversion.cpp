// Record layout -> List layout: every item of every line on a line of its
// own, PL items cut over several lines joined again.
#include "format/Conversion.h"

#include "format/DataItem.h"
#include "format/LineItems.h"
#include "text/TextScan.h"
#include "format/TextStreams.h"

#include <algorithm>
#include <vector>
#include <utility>

namespace zuno {

namespace {

QStringView trimTrailingSpaces(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.first(end);
}

// Builds the List layout of a text into `Writer`: a text, or a comparison
// with an expected one.
template <typename Writer>
class ListBuilder {
public:
    template <typename... WriterArguments>
    explicit ListBuilder(QByteArrayView text, WriterArguments &&...writer)
        : m_reader(text), m_out(std::forward<WriterArguments>(writer)...)
    {
    }

    // Whether every line was converted (or the writer wanted no more); when
    // not, m_fault says why and the writer holds the items taken off before
    // it.
    bool run()
    {
        while (m_reader.hasNext()) {
            const QStringView line = trimSpaces(m_reader.next());
            ++m_lineNumber;
            if (!isValidDataLine(line)) {
                m_fault = ConversionFault::invalidItem(line, m_lineNumber);
                return false;
            }
            if (!convertLine(line))
                return false;
            if (m_out.settled())
                break;
        }
        return true;
    }

    Writer &out() { return m_out; }
    const ConversionFault &fault() const { return m_fault; }

private:
    // Adds an item made of two parts: the output becomes the item when it is
    // still empty, else a line break and the item are appended.
    void addItem(QStringView head, QStringView tail = {})
    {
        if (!m_out.isEmpty())
            m_out.appendLineBreak();
        m_out.append(head);
        m_out.append(tail);
    }

    bool convertLine(QStringView line)
    {
        const ItemsTaken taken = takeItems(line, [this](QStringView item, qsizetype) { addItem(trimSpaces(item)); });
        if (!taken.ok) {
            m_fault = {ConversionFault::Kind::UnexpectedData, taken.rest.toString(), m_lineNumber};
            return false;
        }
        line = taken.rest;

        // A last item that is a PL item takes up the following lines that
        // begin with "PL:" once trimmed, whole and unchecked, with a comma
        // before the values of each.
        if (startsWithValueListCode(line) && m_reader.nextStartsWith(ValueListCode, true)) {
            m_merged.resize(0);
            m_merged += line;
            while (m_reader.nextStartsWith(ValueListCode, true)) {
                m_merged += u',';
                m_merged += trimSpaces(m_reader.next()).sliced(ValueListCode.size());
                ++m_lineNumber;
            }
            line = m_merged;
        }

        if (m_out.isEmpty()) {
            // The first item of the text is never cut.
            m_out.append(trimSpaces(line));
        } else if (startsWithValueListCode(line)) {
            addValueList(line);
        } else if (!line.isEmpty()) {
            addItem(trimSpaces(line));
        }
        return true;
    }

    // Adds a PL item. One longer than 80 characters is cut after the last
    // comma at or before position 80: each part but the last stands on a line
    // of its own that ends with that comma, and the rest begins again with
    // "PL:". When no comma lies within the first 80 characters, the item is
    // cut after the first comma beyond them instead; when there is none, or
    // only one that ends the item, the rest stands whole on one line. Either
    // way every value comes back in order, and the Record layout takes the
    // parts up again without adding commas.
    void addValueList(QStringView line)
    {
        const qsizetype codeSize = ValueListCode.size();
        QStringView values = line.sliced(codeSize);
        while (codeSize + values.size() > ListCutLimit) {
            qsizetype comma = values.first(ListCutLimit - codeSize).lastIndexOf(u',');
            if (comma < 0) {
                comma = values.indexOf(u',', ListCutLimit - codeSize);
                if (comma < 0 || comma == values.size() - 1)
                    break;
            }
            addItem(ValueListCode, trimTrailingSpaces(values.first(comma + 1)));
            values = values.sliced(comma + 1);
        }
        addItem(ValueListCode, trimTrailingSpaces(values));
    }

    text::Utf8LineReader m_reader;
    qsizetype m_lineNumber = -1;
    Writer m_out;
    QString m_merged; // a PL item merged with its continuation lines
    ConversionFault m_fault;
};

} // namespace

ConversionResult<QByteArray> convertToListLayout(QByteArrayView recordText)
{
    ListBuilder<text::Utf8Writer> builder(recordText, recordText.size());
    if (!builder.run())
        return builder.fault();
    return builder.out().take();
}

ConversionResult<QByteArray> convertToListLayoutFollowing(QByteArrayView recordText)
{
    return convertToListLayoutInto(recordText, QByteArray(), true);
}

ConversionResult<QByteArray> convertToListLayoutInto(QByteArrayView recordText, QByteArray room, bool following)
{
    ListBuilder<text::Utf8Writer> builder(recordText, recordText.size(), std::move(room));
    if (following)
        builder.out().follow();
    if (!builder.run())
        return builder.fault();
    return builder.out().take();
}

PartialConversion<QByteArray> convertToListLayoutUpToFault(QByteArrayView recordText)
{
    ListBuilder<text::Utf8Writer> builder(recordText, recordText.size());
    const bool complete = builder.run();
    return PartialConversion<QByteArray>{builder.out().take(), complete, builder.fault()};
}

Result<void, ConversionFault> convertToListLayout(QByteArrayView recordText, const ConversionSink &sink)
{
    ListBuilder<text::Utf8Writer> builder(recordText, sink, recordText.size());
    if (!builder.run())
        return builder.fault();
    builder.out().finish();
    return {};
}

bool listLayoutEquals(QByteArrayView recordText, QByteArrayView expected)
{
    ListBuilder<text::Utf8Comparison> builder(recordText, expected);
    return builder.run() && builder.out().same();
}

} // namespace zuno
