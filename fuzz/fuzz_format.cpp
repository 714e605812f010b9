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
#include "textfile/TextFile.h"
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
void checkRoundTrip(const QString &input, const zuno::ConversionResult<QString> &record)
{
    const auto trip = zuno::checkRecordRoundTrip(input);
    require(trip.ok() == record.ok(), "round trip: invalid");
    if (!record.ok())
        return;
    require(trip.value().record == record.value(), "round trip: Record text");
    const auto back = zuno::convertToListLayout(record.value());
    const bool same = back.ok() && listDataItems(back.value()) == listDataItems(input);
    require(trip.value().unchanged == same, "round trip: a value lost, merged, split or emptied");
    if (!same) {
        const qsizetype line = trip.value().change.lineNumber;
        require(line >= 0 && line < zuno::splitLines(input).size(), "round trip: line");
        require(trip.value().change.line == zuno::splitLines(input)[line], "round trip: the line quoted");
    }
}

void checkConversion(const QString &input, const zuno::ConversionResult<QString> &result)
{
    if (result.ok()) {
        require(invariantCharacters(result.value()) == invariantCharacters(input), "characters lost or moved");
    } else {
        const qsizetype line = result.error().lineNumber;
        require(line >= 0 && line < zuno::splitLines(input).size(), "fault: line number");
    }
}

// The conversions from and to UTF-8 answer what those of UTF-16 answer.
void checkUtf8(const QString &input)
{
    const QByteArray utf8 = input.toUtf8();
    if (QString::fromUtf8(utf8) != input)
        return; // lone surrogates: no UTF-8 text holds them
    const auto sameAnswer = [](const auto &wide, const auto &narrow) {
        if (wide.ok() != narrow.ok())
            return false;
        return wide.ok() ? wide.value() == QString::fromUtf8(narrow.value()) : wide.error() == narrow.error();
    };
    require(sameAnswer(zuno::convertToRecordLayout(input), zuno::convertToRecordLayout(QByteArrayView(utf8))),
            "UTF-8: Record conversion");
    require(sameAnswer(zuno::convertToListLayout(input), zuno::convertToListLayout(QByteArrayView(utf8))),
            "UTF-8: List conversion");
    const auto wide = zuno::checkRecordRoundTrip(input);
    const auto narrow = zuno::checkRecordRoundTrip(QByteArrayView(utf8));
    require(wide.ok() == narrow.ok(), "UTF-8: round trip");
    if (wide.ok()) {
        require(wide.value().unchanged == narrow.value().unchanged, "UTF-8: round trip outcome");
        require(wide.value().change.lineNumber == narrow.value().change.lineNumber, "UTF-8: round trip line");
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

    const auto record = zuno::convertToRecordLayout(text);
    checkConversion(text, record);
    checkRoundTrip(text, record);
    if (record.ok())
        checkConversion(record.value(), zuno::convertToListLayout(record.value()));
    checkConversion(text, zuno::convertToListLayout(text));
    checkUtf8(text);
    return 0;
}
