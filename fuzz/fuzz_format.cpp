// libFuzzer target for the data-format engine.
//
// The first byte chooses how the rest becomes text: even, the bytes of a file
// (decoded as a file is read); odd, any bytes made well-formed UTF-8 (each
// malformed sequence one U+FFFD). The text then goes through both
// conversions, and the results are checked against what must always hold; a
// violation aborts. Among them: a text that the round-trip check passes
// comes back from the Record layout with the same data items, values and
// commas and all, and one that it does not pass really would change.
//
// Texts are compared as bytes, or as characters decoded with every
// character kept (utf8ToText: QString::fromUtf8 would drop a leading
// U+FEFF from one side only).
#include "format/Conversion.h"
#include "format/DataItem.h"
#include "format/RoundTrip.h"
#include "textfile/TextCodec.h"
#include "format/ConversionInvariants.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

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
using zuno::test::splitLines;
using zuno::utf8ToText;

qsizetype lineCount(const QString &text)
{
    return splitLines(text).size();
}

// The check against the items that really come back, read by the tests' own
// plain reading of the List layout.
void checkRoundTrip(const QByteArray &input, const zuno::ConversionResult<QByteArray> &record)
{
    const auto trip = zuno::checkRecordRoundTrip(input);
    require(trip.ok() == record.ok(), "round trip: invalid");
    if (!record.ok()) {
        require(trip.error() == record.error(), "round trip: the fault");
        return;
    }
    require(trip.value().record == record.value(), "round trip: Record text");
    const QString text = utf8ToText(input);
    const auto back = zuno::convertToListLayout(record.value());
    const bool same = back.ok() && listDataItems(utf8ToText(back.value())) == listDataItems(text);
    require(trip.value().unchanged == same, "round trip: a value lost, merged, split or emptied");
    if (!same) {
        const qsizetype line = trip.value().change.lineNumber;
        require(line >= 0 && line < lineCount(text), "round trip: line");
        require(trip.value().change.line == splitLines(text)[line], "round trip: the line quoted");
    }
}

void checkConversion(const QByteArray &input, const zuno::ConversionResult<QByteArray> &result)
{
    if (result.ok()) {
        require(invariantCharacters(utf8ToText(result.value())) == invariantCharacters(utf8ToText(input)),
                "characters lost or moved");
    } else {
        const qsizetype line = result.error().lineNumber;
        require(line >= 0 && line < lineCount(utf8ToText(input)), "fault: line number");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const bool anyBytes = data[0] & 1;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QByteArray text = anyBytes ? utf8ToText(bytes).toUtf8() : zuno::decodeText(bytes).text;

    const auto record = zuno::convertToRecordLayout(text);
    checkConversion(text, record);
    checkRoundTrip(text, record);
    if (record.ok()) {
        const auto back = zuno::convertToListLayout(record.value());
        checkConversion(record.value(), back);
        // The comparison without building says what building and comparing
        // says.
        require(zuno::listLayoutEquals(record.value(), text) == (back.ok() && back.value() == text),
                "List layout compared in place");
    }
    checkConversion(text, zuno::convertToListLayout(text));
    return 0;
}
