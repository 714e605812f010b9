#include "textfile/Utf8Text.h"

#include "textfile/FileStamp.h"
#include "textfile/PosixIo.h"

#include <cstring>

namespace zuno {

namespace {

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";
constexpr qsizetype Utf8BomSize = 3;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Well-formed UTF-8: no malformed, overlong or surrogate sequence, none
// beyond U+10FFFF and none cut off at the end.
bool isExactUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = p + bytes.size();
    while (p < end) {
        // Eight ASCII bytes at a time.
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80, high = 0xBF; // bounds of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0; // not overlong
            else if (lead == 0xED)
                high = 0x9F; // no surrogate
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F; // not beyond U+10FFFF
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i < length; ++i) {
            if (!isContinuation(p[i]))
                return false;
        }
        p += length;
    }
    return true;
}

// Latin-1 bytes as UTF-8.
QByteArray latin1ToUtf8(QByteArrayView bytes)
{
    qsizetype beyond = 0;
    for (const char c : bytes)
        beyond += (static_cast<unsigned char>(c) >= 0x80);
    QByteArray utf8(bytes.size() + beyond, Qt::Uninitialized);
    char *out = utf8.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            *out++ = c;
        } else {
            *out++ = char(0xC0 | (byte >> 6));
            *out++ = char(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

} // namespace

Utf8TextContent decodeToUtf8(QByteArray bytes)
{
    Utf8TextContent content;
    const bool hasBom = bytes.startsWith(Utf8Bom);
    const QByteArrayView body = QByteArrayView(bytes).sliced(hasBom ? Utf8BomSize : 0);
    if (isExactUtf8(body)) {
        content.format.encoding = hasBom ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
        if (hasBom)
            bytes.remove(0, Utf8BomSize);
        content.utf8 = std::move(bytes);
    } else {
        content.format.encoding = TextEncoding::Latin1;
        content.utf8 = latin1ToUtf8(bytes);
        bytes = QByteArray();
    }

    // A file that holds a "\r\n" separates its lines so, and every lone
    // "\r" or "\n" in it is a character of its line. A file without one
    // whose lines end in "\n" is an LF file: in memory its "\n" become
    // "\r\n".
    QByteArray &text = content.utf8;
    if (text.contains("\r\n"))
        return content;
    const qsizetype lineFeeds = text.count('\n');
    if (lineFeeds == 0)
        return content;
    content.format.lineEnding = LineEnding::Lf;
    QByteArray withCrLf(text.size() + lineFeeds, Qt::Uninitialized);
    char *out = withCrLf.data();
    for (const char c : std::as_const(text)) {
        if (c == '\n')
            *out++ = '\r';
        *out++ = c;
    }
    text = std::move(withCrLf);
    return content;
}

Result<Utf8TextContent, TextFileError> readUtf8TextFile(const QString &path)
{
    auto read = textfile::readRegularFile(path);
    if (!read.ok())
        return read.error();
    textfile::RegularFile &file = read.value();
    const FileStamp stamp = stampOf(file.info, file.bytes);
    Utf8TextContent content = decodeToUtf8(std::move(file.bytes));
    content.stamp = stamp;
    return content;
}

} // namespace zuno
