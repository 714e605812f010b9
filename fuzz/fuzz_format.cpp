// libFuzzer target for the data-format engine and the text decoding.
//
// The first byte chooses how the rest becomes text: even, the bytes of a file
// (decoded as a file is read); odd, raw UTF-16 code units (lone surrogates
// and all). The text then goes through both conversions, and the results are
// checked against what must always hold; a violation aborts. Among them: a
// text that the round-trip check passes comes back from the Record layout
// with the same data items, values and commas and all, and one that it does
// not pass really would change.
#include "format/Conversion.h"
#include "format/DataItem.h"
#include "format/RoundTrip.h"
#include "platform/TextFile.h"
#include "format/ConversionInvariants.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

using zuno::test::invariantCharacters;
using zuno::test::listDataItems;

// The check against the items that really come back, read by the tests' own
// plain reading of the List layout.
void checkRoundTrip(const QString &input, const zuno::ConversionResult &record)
{
    const zuno::RecordRoundTrip trip = zuno::checkRecordRoundTrip(input);
    using Outcome = zuno::RecordRoundTrip::Outcome;
    require((trip.outcome == Outcome::Invalid) == !record.ok, "round trip: invalid");
    if (!record.ok)
        return;
    require(trip.record.text == record.text, "round trip: Record text");
    const zuno::ConversionResult back = zuno::convertToListLayout(record.text);
    const bool same = back.ok && listDataItems(back.text) == listDataItems(input);
    require((trip.outcome == Outcome::Unchanged) == same, "round trip: a value lost, merged, split or emptied");
    if (!same) {
        require(trip.lineNumber >= 0 && trip.lineNumber < zuno::splitLines(input).size(), "round trip: line");
        require(trip.message.contains(QStringLiteral("' on line ") + QString::number(trip.lineNumber) + u' '),
                "round trip: message");
    }
}

void checkConversion(const QString &input, const zuno::ConversionResult &result)
{
    if (result.ok) {
        require(result.message.isEmpty(), "message on success");
        require(invariantCharacters(result.text) == invariantCharacters(input), "characters lost or moved");
    } else {
        require(result.text.isEmpty(), "partial text on failure");
        require(result.title == u"Invalid File", "title");
        require(result.message.startsWith(u"Invalid ZUNO Data Item '")
                    || result.message.startsWith(u"Unexpected data '"),
                "message");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const bool rawUtf16 = data[0] & 1;
    ++data;
    --size;

    QString text;
    if (rawUtf16) {
        text = QString(qsizetype(size / 2), Qt::Uninitialized);
        std::memcpy(text.data(), data, (size / 2) * 2);
    } else {
        const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
        const zuno::TextFileContent content = zuno::decodeText(bytes);
        const QByteArray written = zuno::encodeText(content.text, content.format);
        require(zuno::decodeText(written).text == content.text, "text changed by saving");
        if (bytes.count("\r\n") == 0 || bytes.count("\r\n") == bytes.count('\n'))
            require(written == bytes, "bytes changed by saving");
        text = content.text;
    }

    const zuno::ConversionResult record = zuno::convertToRecordLayout(text);
    checkConversion(text, record);
    checkRoundTrip(text, record);
    if (record.ok) {
        const zuno::ConversionResult back = zuno::convertToListLayout(record.text);
        checkConversion(record.text, back);
    }
    checkConversion(text, zuno::convertToListLayout(text));
    return 0;
}
