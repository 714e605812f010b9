// Record layout -> List layout: every item of every line on a line of its
// own, PL items cut over several lines joined again.
#include "format/Conversion.h"
#include "format/ListByUnits.h"

#include "format/DataItem.h"
#include "format/LineItems.h"
#include "format/TextStreams.h"
#include "text/TextScan.h"
#include "text/Utf8Text.h"

#include <algorithm>
#include <type_traits>
#include <utility>
#include <vector>

namespace zuno {

namespace {

// What the conversion writes and looks for, in the units of the text it
// reads: UTF-16 (QStringView) or UTF-8 bytes (QByteArrayView).
template <typename View>
struct Units;

template <>
struct Units<QStringView> {
    using Char = QChar;
    static constexpr QStringView valueListCode = ValueListCode;
    static constexpr QStringView comma = u",";
    static QString toText(QStringView text) { return text.toString(); }
};

template <>
struct Units<QByteArrayView> {
    using Char = char;
    static constexpr QByteArrayView valueListCode = QByteArrayView("PL:");
    static constexpr QByteArrayView comma = QByteArrayView(",");
    static QString toText(QByteArrayView text) { return utf8ToText(text); }
};

// A text joined from views, which keeps its room from one use to the next.
template <typename View>
class Joined {
public:
    void clear() { m_size = 0; }
    void append(View text)
    {
        if (m_size + text.size() > qsizetype(m_units.size()))
            m_units.resize(size_t(std::max(2 * qsizetype(m_units.size()), m_size + text.size())));
        std::copy(text.data(), text.data() + text.size(), m_units.data() + m_size);
        m_size += text.size();
    }
    View view() const { return View(m_units.data(), m_size); }

private:
    std::vector<typename Units<View>::Char> m_units = std::vector<typename Units<View>::Char>(256);
    qsizetype m_size = 0;
};

template <typename View>
View trimTrailingSpaces(View text)
{
    qsizetype end = text.size();
    while (end > 0 && scan::unit(text[end - 1]) == u' ')
        --end;
    return text.first(end);
}

// Builds the List layout of a text, read by `Reader` (Utf8LineReader, as
// UTF-16, or Utf8ByteLineReader, as UTF-8 bytes), into `Writer`: a text, or
// a comparison with an expected one.
template <typename Reader, typename Writer>
class ListBuilder {
    using View = decltype(std::declval<Reader &>().next());
    using Words = Units<View>;

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
            const View line = trimSpaces(m_reader.next());
            ++m_lineNumber;
            if (!line.isEmpty() && firstColon(line) < 0) {
                m_fault = {ConversionFault::Kind::InvalidItem, Words::toText(line), m_lineNumber};
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
    template <typename ItemView>
    void addItem(ItemView head, ItemView tail = {})
    {
        const bool lineBreak = !m_out.isEmpty();
        if constexpr (std::is_same_v<ItemView, QByteArrayView>) {
            m_out.appendItem(lineBreak, head, tail);
        } else {
            if (lineBreak)
                m_out.appendLineBreak();
            m_out.append(head);
            m_out.append(tail);
        }
    }

    bool convertLine(View line)
    {
        const auto taken = takeItems(line, [this](View item, qsizetype) { addItem(trimSpaces(item)); });
        if (!taken.ok) {
            m_fault = {ConversionFault::Kind::UnexpectedData, Words::toText(taken.rest), m_lineNumber};
            return false;
        }
        line = taken.rest;

        // A last item that is a PL item takes up the following lines that
        // begin with "PL:" once trimmed, whole and unchecked, with a comma
        // before the values of each.
        if (startsWithValueListCode(line) && m_reader.nextStartsWith(ValueListCode, true)) {
            m_merged.clear();
            m_merged.append(line);
            while (m_reader.nextStartsWith(ValueListCode, true)) {
                m_merged.append(Words::comma);
                m_merged.append(trimSpaces(m_reader.next()).sliced(ValueListCode.size()));
                ++m_lineNumber;
            }
            line = m_merged.view();
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
    //
    // Positions count characters as UTF-16 units: on UTF-8 bytes, an item
    // beyond ASCII is cut as its UTF-16 text.
    template <typename ItemView>
    void addValueList(ItemView line)
    {
        if constexpr (std::is_same_v<ItemView, QByteArrayView>) {
            if (line.size() > ListCutLimit && !m_reader.allAscii()
                && scan::hasByteBeyondAscii(line.data(), line.size())) {
                m_units = utf8ToText(line);
                addValueList(QStringView(m_units));
                return;
            }
        }
        const qsizetype codeSize = ValueListCode.size();
        const ItemView code = Units<ItemView>::valueListCode;
        ItemView values = line.sliced(codeSize);
        while (codeSize + values.size() > ListCutLimit) {
            qsizetype comma = scan::lastIndexOf(values, u',', ListCutLimit - codeSize);
            if (comma < 0) {
                comma = scan::indexOf(values, ',', ListCutLimit - codeSize);
                if (comma < 0 || comma == values.size() - 1)
                    break;
            }
            addItem(code, trimTrailingSpaces(values.first(comma + 1)));
            values = values.sliced(comma + 1);
        }
        addItem(code, trimTrailingSpaces(values));
    }

    Reader m_reader;
    qsizetype m_lineNumber = -1;
    Writer m_out;
    Joined<View> m_merged; // a PL item merged with its continuation lines
    QString m_units;               // a PL item beyond ASCII, as UTF-16
    ConversionFault m_fault;
};

// Most texts are read as UTF-8 bytes.
template <typename Writer>
using ByteListBuilder = ListBuilder<text::Utf8ByteLineReader, Writer>;

} // namespace

ConversionResult<QByteArray> convertToListLayout(QByteArrayView recordText)
{
    ByteListBuilder<text::Utf8Writer> builder(recordText, recordText.size());
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
    ByteListBuilder<text::Utf8Writer> builder(recordText, recordText.size(), std::move(room));
    if (following)
        builder.out().follow();
    if (!builder.run())
        return builder.fault();
    return builder.out().take();
}

PartialConversion<QByteArray> convertToListLayoutUpToFault(QByteArrayView recordText)
{
    ByteListBuilder<text::Utf8Writer> builder(recordText, recordText.size());
    const bool complete = builder.run();
    return PartialConversion<QByteArray>{builder.out().take(), complete, builder.fault()};
}

Result<void, ConversionFault> convertToListLayout(QByteArrayView recordText, const ConversionSink &sink)
{
    ByteListBuilder<text::Utf8Writer> builder(recordText, sink, recordText.size());
    if (!builder.run())
        return builder.fault();
    builder.out().finish();
    return {};
}

bool listLayoutEquals(QByteArrayView recordText, QByteArrayView expected)
{
    ByteListBuilder<text::Utf8Comparison> builder(recordText, expected);
    return builder.run() && builder.out().same();
}

} // namespace zuno

namespace zuno {

ConversionResult<QByteArray> convertToListLayoutByUnits(QByteArrayView recordText)
{
    ListBuilder<text::Utf8LineReader, text::Utf8Writer> builder(recordText, recordText.size());
    if (!builder.run())
        return builder.fault();
    return builder.out().take();
}

} // namespace zuno
