#include "textfile/TextCodec.h"

#include <QStringDecoder>

#include <cstring>
#include <future>

namespace zuno {

namespace {

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";
constexpr qsizetype Utf8BomSize = 3;

// Whether the 64 bytes at p are all ASCII.
bool asciiBlock(const unsigned char *p)
{
    quint64 w[8];
    std::memcpy(w, p, sizeof w);
    return !(((w[0] | w[1]) | (w[2] | w[3]) | (w[4] | w[5]) | (w[6] | w[7])) & 0x8080808080808080ULL);
}

// The length of the well-formed sequence at p (at most `left` bytes), or 0.
int sequenceLength(const unsigned char *p, qsizetype left)
{
    const unsigned char lead = p[0];
    const auto continuation = [&](int i) { return i < left && (p[i] & 0xC0) == 0x80; };
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !continuation(1) || !continuation(2))
            return 0;
        // No overlong forms, no surrogates.
        if ((lead == 0xE0 && p[1] < 0xA0) || (lead == 0xED && p[1] > 0x9F))
            return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !continuation(1) || !continuation(2) || !continuation(3))
            return 0;
        if ((lead == 0xF0 && p[1] < 0x90) || (lead == 0xF4 && p[1] > 0x8F))
            return 0;
        return 4;
    }
    return 0;
}

QByteArray latin1ToUtf8(QByteArrayView bytes)
{
    qsizetype high = 0;
    for (const char c : bytes)
        high += static_cast<unsigned char>(c) >> 7;
    QByteArray text(bytes.size() + high, Qt::Uninitialized);
    char *out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            *out++ = c;
        } else {
            *out++ = char(0xC0 | (byte >> 6));
            *out++ = char(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

// Whether every character of the UTF-8 text is within Latin-1.
bool fitsLatin1(QByteArrayView text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) > 0xC3)
            return false;
    }
    return true;
}

QByteArray utf8ToLatin1(QByteArrayView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0xC2 && byte <= 0xC3 && i + 1 < text.size())
            *out++ = char(((byte & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
        else
            *out++ = char(byte);
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

bool hasLoneLineFeed(QByteArrayView text)
{
    for (qsizetype i = text.indexOf('\n'); i >= 0; i = text.indexOf('\n', i + 1)) {
        if (i == 0 || text[i - 1] != '\r')
            return true;
    }
    return false;
}

} // namespace

namespace {
bool isUtf8InOneGo(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        // Long runs of ASCII a block at a time.
        constexpr qsizetype block = 64;
        if (size - i >= block && asciiBlock(p + i)) {
            i += block;
            continue;
        }
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const int length = sequenceLength(p + i, size - i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}
} // namespace

bool isUtf8(QByteArrayView bytes)
{
    // Reading a large text from memory is what its check costs: its two
    // halves are checked at once, the second on a thread of its own. The
    // halves meet at the start of a character, so that each is UTF-8
    // exactly when the whole is; four continuation bytes in a row are never
    // UTF-8.
    constexpr qsizetype InHalves = qsizetype(8) << 20;
    if (bytes.size() < InHalves)
        return isUtf8InOneGo(bytes);
    qsizetype half = bytes.size() / 2;
    for (int back = 0; back < 4 && (static_cast<unsigned char>(bytes[half]) & 0xC0) == 0x80; ++back)
        --half;
    if ((static_cast<unsigned char>(bytes[half]) & 0xC0) == 0x80)
        return false;
    auto second = std::async(std::launch::async, [bytes, half] { return isUtf8InOneGo(bytes.sliced(half)); });
    const bool first = isUtf8InOneGo(bytes.first(half));
    return second.get() && first;
}

namespace {
// The length of the sequence a lead byte begins, or 0 for a byte that
// begins none.
int leadLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}
} // namespace

void Utf8Check::add(QByteArrayView piece)
{
    const auto *p = reinterpret_cast<const unsigned char *>(piece.data());
    qsizetype size = piece.size();
    if (!m_valid)
        return;
    if (m_carried > 0) {
        // The rest of the sequence cut at the end of the last piece.
        const int length = leadLength(m_carry[0]);
        while (m_carried < length && size > 0) {
            m_carry[m_carried++] = *p++;
            --size;
        }
        if (m_carried < length)
            return;
        m_valid = sequenceLength(m_carry, length) == length;
        m_carried = 0;
        if (!m_valid)
            return;
    }
    // A sequence begun in the last three bytes and not finished in them
    // waits for the next piece.
    qsizetype cut = size;
    for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
        const unsigned char byte = p[size - back];
        if ((byte & 0xC0) == 0x80)
            continue;
        if (leadLength(byte) > back)
            cut = size - back;
        break;
    }
    m_valid = isUtf8(QByteArrayView(p, cut));
    m_carried = int(size - cut);
    std::memcpy(m_carry, p + cut, size_t(m_carried));
}

TextFileContent decodeText(QByteArray bytes)
{
    TextFileContent content;
    const bool hasBom = bytes.startsWith(Utf8Bom);
    const QByteArrayView body = QByteArrayView(bytes).sliced(hasBom ? Utf8BomSize : 0);
    if (isUtf8(body)) {
        content.format.encoding = hasBom ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
        if (hasBom)
            bytes.remove(0, Utf8BomSize);
        content.text = std::move(bytes);
    } else {
        content.format.encoding = TextEncoding::Latin1;
        content.text = latin1ToUtf8(bytes);
    }

    // A file that holds a "\r\n" separates its lines so, and every lone
    // "\r" or "\n" in it is a character of its line. A file without one
    // whose lines end in "\n" is an LF file: in memory its "\n" become
    // "\r\n" (it holds no "\r" right before a "\n" to confuse them with).
    const QByteArray &text = content.text;
    if (text.contains("\r\n"))
        return content;
    const qsizetype lineFeeds = text.count('\n');
    if (lineFeeds == 0)
        return content;
    content.format.lineEnding = LineEnding::Lf;
    QByteArray withCrLf(text.size() + lineFeeds, Qt::Uninitialized);
    char *out = withCrLf.data();
    for (const char c : text) {
        if (c == '\n')
            *out++ = '\r';
        *out++ = c;
    }
    content.text = std::move(withCrLf);
    return content;
}

TextFileFormat writtenFormat(QByteArrayView text, const TextFileFormat &format)
{
    TextFileFormat written = format;
    if (written.encoding == TextEncoding::Latin1 && !fitsLatin1(text))
        written.encoding = TextEncoding::Utf8;
    // Written as "\n", a line break right after a lone "\r" would become
    // "\r\n", and a lone "\n" a line break: such a text keeps "\r\n".
    if (written.lineEnding == LineEnding::Lf && (text.contains("\r\r\n") || hasLoneLineFeed(text)))
        written.lineEnding = LineEnding::CrLf;
    return written;
}

QByteArray encodeText(QByteArrayView text, const TextFileFormat &format)
{
    const TextFileFormat written = writtenFormat(text, format);
    QByteArray lf;
    if (written.lineEnding == LineEnding::Lf && text.contains("\r\n")) {
        // In one pass: every "\r\n" becomes "\n" (a lone "\r" stays).
        lf.resize(text.size());
        char *out = lf.data();
        const qsizetype size = text.size();
        for (qsizetype i = 0; i < size; ++i) {
            if (!(text[i] == '\r' && i + 1 < size && text[i + 1] == '\n'))
                *out++ = text[i];
        }
        lf.truncate(out - lf.constData());
        text = lf;
    }
    switch (written.encoding) {
    case TextEncoding::Latin1:
        return utf8ToLatin1(text);
    case TextEncoding::Utf8Bom: {
        QByteArray withBom(Utf8Bom);
        withBom.append(text);
        return withBom;
    }
    case TextEncoding::Utf8:
        break;
    }
    return lf.isNull() ? text.toByteArray() : lf;
}

} // namespace zuno
