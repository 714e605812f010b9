#include "textfile/TextCodec.h"

#include <QStringDecoder>

#include "Result.h"

namespace zuno {

namespace {

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";
constexpr qsizetype Utf8BomSize = 3;

// Decodes as UTF-8 when the bytes are well-formed UTF-8 (no malformed,
// overlong or surrogate sequences, which Qt's decoder reports), and so
// encode back to exactly the same bytes.
struct NotUtf8 {};
Result<QString, NotUtf8> decodeExactUtf8(QByteArrayView bytes)
{
    // Stateless: a sequence cut off at the end is an error too.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return NotUtf8{};
    return text;
}

bool fitsLatin1(const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() > 0xFF)
            return false;
    }
    return true;
}

bool hasLoneLineFeed(const QString &text)
{
    for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', i + 1)) {
        if (i == 0 || text[i - 1] != u'\r')
            return true;
    }
    return false;
}

} // namespace

QString utf8ToText(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

TextFileContent decodeText(const QByteArray &bytes)
{
    TextFileContent content;
    const bool hasBom = bytes.startsWith(Utf8Bom);
    const QByteArrayView body = QByteArrayView(bytes).sliced(hasBom ? Utf8BomSize : 0);
    if (auto utf8 = decodeExactUtf8(body); utf8.ok()) {
        content.text = std::move(utf8).value();
        content.format.encoding = hasBom ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
    } else {
        content.text = QString::fromLatin1(bytes);
        content.format.encoding = TextEncoding::Latin1;
    }

    // A file that holds a "\r\n" separates its lines so, and every lone
    // "\r" or "\n" in it is a character of its line. A file without one
    // whose lines end in "\n" is an LF file: in memory its "\n" become
    // "\r\n" (it holds no "\r" right before a "\n" to confuse them with).
    const QString &text = content.text;
    if (text.contains(u"\r\n"))
        return content;
    const qsizetype lineFeeds = text.count(u'\n');
    if (lineFeeds == 0)
        return content;
    content.format.lineEnding = LineEnding::Lf;
    QString withCrLf(text.size() + lineFeeds, Qt::Uninitialized);
    QChar *out = withCrLf.data();
    for (const QChar c : text) {
        if (c == u'\n')
            *out++ = u'\r';
        *out++ = c;
    }
    content.text = std::move(withCrLf);
    return content;
}

TextFileFormat writtenFormat(const QString &text, const TextFileFormat &format)
{
    TextFileFormat written = format;
    if (written.encoding == TextEncoding::Latin1 && !fitsLatin1(text))
        written.encoding = TextEncoding::Utf8;
    // Written as "\n", a line break right after a lone "\r" would become
    // "\r\n", and a lone "\n" a line break: such a text keeps "\r\n".
    if (written.lineEnding == LineEnding::Lf
        && (text.contains(u"\r\r\n") || hasLoneLineFeed(text)))
        written.lineEnding = LineEnding::CrLf;
    return written;
}

QByteArray encodeText(const QString &text, const TextFileFormat &format)
{
    const TextFileFormat written = writtenFormat(text, format);
    QString lf;
    const QString *source = &text;
    if (written.lineEnding == LineEnding::Lf && text.contains(u"\r\n")) {
        // In one pass: every "\r\n" becomes "\n" (a lone "\r" stays).
        lf.resize(text.size());
        QChar *out = lf.data();
        const qsizetype size = text.size();
        for (qsizetype i = 0; i < size; ++i) {
            if (!(text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n'))
                *out++ = text[i];
        }
        lf.resize(out - lf.constData());
        source = &lf;
    }
    switch (written.encoding) {
    case TextEncoding::Latin1:
        return source->toLatin1();
    case TextEncoding::Utf8Bom:
        return QByteArray(Utf8Bom) + source->toUtf8();
    case TextEncoding::Utf8:
        break;
    }
    return source->toUtf8();
}

} // namespace zuno
