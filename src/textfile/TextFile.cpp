#include "textfile/TextFile.h"

#include "textfile/PosixIo.h"

#include <QFileDevice>

#include <algorithm>

namespace zuno {

using namespace textfile;

namespace {
constexpr char Utf8Bom[] = "\xEF\xBB\xBF";
} // namespace

Result<TextFileContent, TextFileError> readTextFile(const QString &path)
{
    auto read = readRegularFile(path);
    if (!read.ok())
        return read.error();
    const RegularFile &file = read.value();
    TextFileContent content = decodeText(file.bytes);
    content.stamp = stampOf(file.info, file.bytes);
    return content;
}

Result<TextFileContent, TextFileError> readTextStream(QIODevice &in, qint64 limit)
{
    constexpr qint64 chunk = 1 << 20;
    QByteArray bytes;
    while (bytes.size() <= limit) {
        const QByteArray more = in.read(std::min(chunk, limit + 1 - bytes.size()));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    if (bytes.size() > limit)
        return TextFileError{tooLargeReason(true), {}};
    const auto *file = qobject_cast<QFileDevice *>(&in);
    if (!in.isReadable() || (file && file->error() != QFileDevice::NoError))
        return TextFileError{in.errorString(), {}};
    return decodeText(bytes);
}

Result<FileStamp, TextFileError> writeTextFile(const QString &path, const QString &text,
                                               const TextFileFormat &format)
{
    return saveFileBytes(path, encodeText(text, format));
}

namespace {

// A UTF-8 file with "\r\n" line breaks holds any text as the edit control
// holds it: its bytes are the text's own.
bool holdsUtf8AsItIs(const TextFileFormat &format)
{
    return format.encoding != TextEncoding::Latin1 && format.lineEnding == LineEnding::CrLf;
}

} // namespace

Result<WrittenText, TextFileError> writeUtf8TextFile(const QString &path, QByteArrayView utf8Text,
                                                     const TextFileFormat &format)
{
    if (!holdsUtf8AsItIs(format)) {
        const QString text = utf8ToText(utf8Text);
        const auto written = writeTextFile(path, text, format);
        if (!written.ok())
            return written.error();
        return WrittenText{written.value(), writtenFormat(text, format)};
    }
    QByteArray withBom;
    if (format.encoding == TextEncoding::Utf8Bom) {
        withBom = QByteArray(Utf8Bom);
        withBom.append(utf8Text);
    }
    const auto written = saveFileBytes(path, withBom.isNull() ? utf8Text : QByteArrayView(withBom));
    if (!written.ok())
        return written.error();
    return WrittenText{written.value(), format};
}

} // namespace zuno
